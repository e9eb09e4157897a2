#include "screen_kit/message_box.h"

#include "screen_kit/fvk_msg_box.h"

namespace vk {

template <>
MessageBoxHandler Seam<MessageBoxHandler>::Real() {
  return ShowVkMsgBox;
}

long ShowMessage(const std::wstring& text, long buttons, const std::wstring& title) {
  return Seam<MessageBoxHandler>::Current()(text, buttons, title);
}

}  // namespace vk
