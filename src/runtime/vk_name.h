#pragma once
// Findable windows: every control's outer window and every form carries the window
// property "VkName", a global atom of its name ("txtCBarra", "VkTextBox(3)" for an
// element of a control array). A global atom can be read from another process, so
// an outside driver finds a screen's controls the same way our tests do.
#include <windows.h>

#include <string>
#include <string_view>

namespace vk {

inline constexpr wchar_t kVkNameProperty[] = L"VkName";

// The text an element is known by: the name, with "(index)" for array elements.
std::wstring VkNameText(std::wstring_view name, int index);

// Puts the name on the window (replacing an earlier one); RemoveVkName takes it off
// and releases the atom. Both do nothing for a null window.
void SetVkName(HWND hwnd, std::wstring_view name, int index = -1);
void RemoveVkName(HWND hwnd);

// The window's name, "" when it has none.
std::wstring VkNameOf(HWND hwnd);

// A toolbar's buttons are found by key the same way: its window carries "VkKey<n>"
// (n the button's 1-based index) holding a global atom of button n's key. A driver
// presses button n by sending the toolbar's window WM_COMMAND with n as the command
// and the inner toolbar window as lParam, as the toolbar itself does.
void SetVkButtonKey(HWND toolbar, int index, std::wstring_view key);
std::wstring VkButtonKeyOf(HWND toolbar, int index);  // "" when button index has no key
void RemoveVkButtonKeys(HWND toolbar, int count);     // buttons 1 to count

// The first window below root (root itself included, depth first in z-order) whose
// name is `name` (compared without case); nullptr when there is none.
HWND FindVkWindow(HWND root, std::wstring_view name);

}  // namespace vk
