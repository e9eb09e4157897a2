#pragma once
// Lets one owner object watch the messages of windows it does not own.
//
// Each hook is a comctl32 subclass (SetWindowSubclass) whose reference data is a record
// of two message tables: the owner hears the messages of the "before" table before the
// window's previous procedure runs and those of the "after" table after it. A before
// callback that sets `handled` skips the previous procedure and the after callback and
// returns its own result. Message number kAllMessages in a table means every message.
//
// A window hooked twice gets a second hook in front of the first; look-ups, AddMsg and
// Stop find the newer one first. Every hook is stopped when the subclasser ends, so the
// owner (which must outlive its subclasser) is never called after it is gone. A hook may
// be stopped from inside a callback: the message being routed then finishes without
// further callbacks, and the hook's record lives until that routing has returned.
// A window destroyed while hooked takes its hook with it: the hook is removed at the
// window's WM_NCDESTROY and its record's slot is free again at once.
#include <windows.h>

#include <memory>
#include <vector>

namespace vk::controls {

// Which side of the previous procedure a message is heard on (bit values).
enum class When : int { After = 1, Before = 2, Both = 3 };

inline constexpr UINT kAllMessages = static_cast<UINT>(-1);

// What the owner implements to hear the messages it registered.
class SubclassOwner {
 public:
  // bBefore: called before the previous procedure. bHandled (before only): skip the
  // previous procedure and the after call. lReturn: the message's result, as the
  // previous procedure left it for an after call.
  virtual void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd,
                              UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~SubclassOwner() = default;
};

class WindowSubclasser {
 public:
  explicit WindowSubclasser(SubclassOwner& owner) : owner_(owner) {}
  ~WindowSubclasser();
  WindowSubclasser(const WindowSubclasser&) = delete;
  WindowSubclasser& operator=(const WindowSubclasser&) = delete;

  // Hooks the window; returns the index of its record.
  int Start(HWND hwnd);
  // Register / unregister a message (kAllMessages: every message / clear the table).
  // They raise error 9 (subscript out of range) for a window this owner has not hooked.
  void AddMsg(HWND hwnd, UINT uMsg, When when);
  void DelMsg(HWND hwnd, UINT uMsg, When when);
  // Unhooks the newest hook of the window (error 9 when there is none).
  void Stop(HWND hwnd);
  // Unhooks every window, newest record first; never fails (a window may be gone).
  void StopAll() noexcept;

  bool IsHooked(HWND hwnd) const { return Find(hwnd) >= 0; }
  // Hooks in place (records in use).
  int HookCount() const;
  // Entries scanned in one table: -1 for every message, 0 for none. Freed entries stay
  // as holes that the next AddMsg reuses, so deleting a message keeps the count.
  int Count(HWND hwnd, When when) const;

  struct Record;  // one hook; defined in the .cpp

 private:
  int Find(HWND hwnd) const;
  int FindOrRaise(HWND hwnd) const;
  void StopAt(int index) noexcept;
  static void CallOwner(Record& rec, bool before, bool& handled, LRESULT& result, HWND hwnd,
                        UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR refData) noexcept;

  SubclassOwner& owner_;
  std::vector<Record*> records_;  // null slots are free for reuse; never shrinks
};

}  // namespace vk::controls
