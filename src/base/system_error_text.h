#pragma once
// The system's text for a Win32 error code, for a failure's reason.
#include <string>

namespace vk {

// Without its line end; "error <code>" when the system has no text for it.
std::wstring SystemErrorText(unsigned long error);

}  // namespace vk
