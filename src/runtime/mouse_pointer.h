#pragma once
// The thread's mouse pointer, as the screens set it around long work: 0 default,
// 11 hourglass, 13 arrow and hourglass. Every window of the component answers
// WM_SETCURSOR through ApplyMousePointer, so the pointer shows over all of them.
#include <windows.h>

namespace vk {

namespace pointer {
inline constexpr int Default = 0;
inline constexpr int Arrow = 1;
inline constexpr int SizeNWSE = 8;
inline constexpr int Hourglass = 11;
inline constexpr int ArrowHourglass = 13;
inline constexpr int Custom = 99;  // a control's own mouse icon
}  // namespace pointer

// The system cursor of a pointer value (1 arrow, 2 cross, 3 I-beam, 4 icon, 5 size,
// 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E, 10 up arrow, 11 hourglass,
// 12 no drop, 13 arrow and hourglass, 14 arrow and question mark, 15 size all);
// null for 0 (the window's own) and any other value.
HCURSOR CursorFor(int pointer);

int MousePointer();
// Sets the pointer and shows it at once when the mouse is over one of our windows.
void SetMousePointer(int pointer);

// For WM_SETCURSOR: sets the cursor and returns true when the thread's pointer is
// not the default; false lets the window choose its own cursor.
bool ApplyMousePointer(HWND hwnd, LPARAM lParam);


// Sets the pointer for a block and puts back the one before.
class MousePointerScope {
 public:
  explicit MousePointerScope(int pointer) : previous_(MousePointer()) { SetMousePointer(pointer); }
  MousePointerScope(const MousePointerScope&) = delete;
  MousePointerScope& operator=(const MousePointerScope&) = delete;
  ~MousePointerScope() { SetMousePointer(previous_); }

 private:
  int previous_;
};

}  // namespace vk
