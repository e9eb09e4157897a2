#pragma once
// ShowMessage: every message of the component goes through the component's own
// modal box. Styles: buttons in bits 0-2, icon in bits 4-6 (36 = Yes/No question,
// 64 = OK information). Results are the box's own codes: Abort 0, Cancel 1 (also the
// close button), Ignore 2, No 3, OK 4, Retry 5, Yes 6, Print 7; closed otherwise 0.
#include <functional>
#include <string>

#include "base/seam.h"

namespace vk {

namespace msg {
inline constexpr long Abort = 0, Cancel = 1, Quit = 1, Ignore = 2, No = 3, OK = 4, Retry = 5, Yes = 6, Print = 7;
inline constexpr long QuestionYesNo = 36, Information = 64;
}  // namespace msg

long ShowMessage(const std::wstring& text, long buttons, const std::wstring& title);

// Who answers ShowMessage: the real box by default; tests put a recorder here.
using MessageBoxHandler = std::function<long(const std::wstring& text, long buttons, const std::wstring& title)>;
template <>
MessageBoxHandler Seam<MessageBoxHandler>::Real();
using ScopedMessageBox = Seam<MessageBoxHandler>::Scope;

}  // namespace vk
