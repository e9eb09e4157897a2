#pragma once
// Puts back what a DC held when the guard ends: every GDI object our painting selects
// goes through one of these.
//
//   SelectGuard font(dc, font_);  DrawTextW(dc, ...);
#include <windows.h>

namespace vk {

class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vk
