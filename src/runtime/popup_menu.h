#pragma once
// Pop-up menus shown at a point and answered synchronously: the call returns the
// chosen item's id, or 0 when the menu was dismissed.
#include <windows.h>

#include <string>
#include <vector>

namespace vk {

struct MenuItem {
  UINT id = 0;  // 0 with an empty caption: a separator
  std::wstring caption{};
  bool enabled = true;
  bool checked = false;
  std::vector<MenuItem> children{};  // a submenu when not empty
};

// Shows the menu at (x, y) twips of the window's client area and waits for the choice.
UINT PopupMenu(HWND window, const std::vector<MenuItem>& items, double xTwips, double yTwips);

}  // namespace vk
