#pragma once
#include <string>

namespace vk {

// Shows the component's own modal message box and returns the box's result code.
long ShowVkMsgBox(const std::wstring& text, long buttons, const std::wstring& title);

}  // namespace vk
