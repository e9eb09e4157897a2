#include "screen_kit/message_box.h"

#include "screen_kit/fvk_msg_box.h"

namespace vk {

MessageBoxHandler& CurrentMessageBox() {
  static thread_local MessageBoxHandler handler = ShowVkMsgBox;
  return handler;
}

long ShowMessage(const std::wstring& text, long buttons, const std::wstring& title) {
  return CurrentMessageBox()(text, buttons, title);
}

}  // namespace vk
