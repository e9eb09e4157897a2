#pragma once
// Events as plain C++ callbacks, raised synchronously on the caller's thread, also
// when code (not the user) changes a value: a screen that selects a combo item in
// code sees the same selection-changed event a click would raise.
//
//   Event<int, std::wstring> ButtonClick;            // in the control
//   toolbar.ButtonClick.Connect([&](int i, std::wstring key) { ... });   // in the screen
//   { MuteEvents quiet; combo.SelectKey(L"7"); }     // nothing is raised in this block
//
// A handler may unload its own form, or the control raising the event: the handlers
// are copied before the first call, and Raise touches nothing of the event after it.
// Exceptions from a handler reach the code that raised the event; window procedures
// and timer callbacks catch them at their edge.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace vk {

class EventBase {
 public:
  bool muted() const;  // muted by itself or by a thread-wide MuteEvents

 protected:
  EventBase() = default;
  EventBase(const EventBase&) = delete;
  EventBase& operator=(const EventBase&) = delete;

 private:
  friend class MuteEvents;
  int muteCount_ = 0;
};

// While one lives, the named events (or, with no arguments, every event of this
// thread) raise nothing. Guards nest.
class MuteEvents {
 public:
  MuteEvents();
  template <class... E>
  explicit MuteEvents(EventBase& first, E&... rest) : events_{&first, &rest...} {
    for (EventBase* e : events_) ++e->muteCount_;
  }
  MuteEvents(const MuteEvents&) = delete;
  MuteEvents& operator=(const MuteEvents&) = delete;
  ~MuteEvents();

 private:
  std::vector<EventBase*> events_;  // empty: the whole thread
};

// Counts the handlers running on this thread. Forms unloaded while the count is
// above zero are freed only when it falls back to zero (see form.h).
class HandlerScope {
 public:
  HandlerScope();
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
  ~HandlerScope();
  static int Depth();
};

// Keeps an object alive until no handler runs on this thread any more; frees it at
// once when none runs now.
void ReleaseWhenHandlersReturn(std::shared_ptr<void> object);

template <class... Args>
class Event : public EventBase {
 public:
  using Handler = std::function<void(Args...)>;

  Event() = default;

  // Returns a token for Disconnect.
  int Connect(Handler handler) {
    slots_.push_back({nextToken_, std::make_shared<Handler>(std::move(handler))});
    return nextToken_++;
  }
  void Disconnect(int token) {
    std::erase_if(slots_, [token](const Slot& s) { return s.token == token; });
  }
  void Clear() { slots_.clear(); }
  bool connected() const { return !slots_.empty(); }

  // Calls every handler in connection order, unless muted.
  void Raise(Args... args) const {
    if (slots_.empty() || muted()) return;
    HandlerScope scope;
    if (slots_.size() == 1) {  // the usual case, without a copy of the list
      std::shared_ptr<Handler> only = slots_.front().handler;
      (*only)(args...);
      return;
    }
    std::vector<std::shared_ptr<Handler>> handlers;
    handlers.reserve(slots_.size());
    for (const Slot& s : slots_) handlers.push_back(s.handler);
    for (const auto& h : handlers) (*h)(args...);
  }

  // The handlers, for a control that copies them onto a clone.
  void CopyHandlersFrom(const Event& other) {
    for (const Slot& s : other.slots_) Connect(*s.handler);
  }

 private:
  struct Slot {
    int token;
    std::shared_ptr<Handler> handler;
  };
  std::vector<Slot> slots_;
  int nextToken_ = 1;
};

}  // namespace vk
