#pragma once
// ShowMessage: every message of the component goes through the component's own
// modal box. Styles: buttons in bits 0-2, icon in bits 4-6 (36 = Yes/No question,
// 64 = OK information). Results are the box's own codes: Abort 0, Cancel 1 (also the
// close button), Ignore 2, No 3, OK 4, Retry 5, Yes 6, Print 7; closed otherwise 0.
#include <functional>
#include <string>

namespace vk {

namespace msg {
inline constexpr long Abort = 0, Cancel = 1, Quit = 1, Ignore = 2, No = 3, OK = 4, Retry = 5, Yes = 6, Print = 7;
inline constexpr long QuestionYesNo = 36, Information = 64;
}  // namespace msg

long ShowMessage(const std::wstring& text, long buttons, const std::wstring& title);

// Who answers ShowMessage: the real box by default; tests put a recorder here.
using MessageBoxHandler = std::function<long(const std::wstring& text, long buttons, const std::wstring& title)>;
MessageBoxHandler& CurrentMessageBox();

class ScopedMessageBox {
 public:
  explicit ScopedMessageBox(MessageBoxHandler handler) : saved_(CurrentMessageBox()) {
    CurrentMessageBox() = std::move(handler);
  }
  ~ScopedMessageBox() { CurrentMessageBox() = std::move(saved_); }
  ScopedMessageBox(const ScopedMessageBox&) = delete;
  ScopedMessageBox& operator=(const ScopedMessageBox&) = delete;

 private:
  MessageBoxHandler saved_;
};

}  // namespace vk
