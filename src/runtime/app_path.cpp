#include "runtime/app_path.h"

#include "com/module.h"

namespace vk {

std::wstring AppPath() { return com::ModuleFolder(); }

}  // namespace vk
