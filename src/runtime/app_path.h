#pragma once
// The application folder: the folder of the module that holds the component's
// code (the DLL, or the program a test links it into), without a trailing backslash.
#include <string>

namespace vk {

std::wstring AppPath();

}  // namespace vk
