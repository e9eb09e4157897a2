#include "host/fvk_msg_box.h"

namespace vk {

long ShowVkMsgBox(const std::wstring&, long, const std::wstring&) { return 0; }

}  // namespace vk
