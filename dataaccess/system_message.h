#pragma once
// The system's text for a Win32 error code, for a failure's reason.
#include <windows.h>

#include <string>

namespace vk::data {

// The text without its line break; "error <code>" when the system has none.
std::wstring SystemMessage(DWORD code);

}  // namespace vk::data
