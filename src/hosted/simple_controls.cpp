#include "hosted/simple_controls.h"

#include "runtime/vb_error.h"

namespace vk::hosted {
namespace {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

void CommandButton::OnCreated() { CreateInner(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, caption_.c_str()); }
std::wstring CommandButton::Caption() const { return WindowText(inner()); }
void CommandButton::SetCaption(const std::wstring& caption) { SetWindowTextW(inner(), caption.c_str()); }
void CommandButton::OnCommand(WORD code, WORD, HWND) {
  if (code == BN_CLICKED && Click) Click();
}

void Label::OnCreated() { CreateInner(L"STATIC", SS_LEFT | SS_NOPREFIX, caption_.c_str()); }
std::wstring Label::Caption() const { return WindowText(inner()); }
void Label::SetCaption(const std::wstring& caption) { SetWindowTextW(inner(), caption.c_str()); }

void CheckBox::OnCreated() { CreateInner(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, caption_.c_str()); }
int CheckBox::Value() const { return SendMessageW(inner(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void CheckBox::SetValue(int value) {
  if (value != 0 && value != 1) Raise(err::InvalidPropertyValue, L"CheckBox.Value");
  if (value == Value()) return;
  SendMessageW(inner(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (Click) Click();
}
std::wstring CheckBox::Caption() const { return WindowText(inner()); }
void CheckBox::OnCommand(WORD code, WORD, HWND) {
  if (code == BN_CLICKED && Click) Click();
}

}  // namespace vk::hosted
