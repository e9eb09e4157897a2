#include "hosted/simple_controls.h"

#include <commctrl.h>

#include "base/vb_error.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"

namespace vk::hosted {
std::unique_ptr<Control> CommandButton::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<CommandButton>(form, args, Caption());
  copy->Click.CopyHandlersFrom(Click);
  return copy;
}

std::unique_ptr<Control> Label::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<Label>(form, args, Caption());
  copy->autoSize_ = autoSize_;  // the clone keeps the size it was made with until its caption changes
  return copy;
}

std::unique_ptr<Control> CheckBox::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<CheckBox>(form, args, Caption());
  copy->Click.CopyHandlersFrom(Click);
  return copy;
}

void CommandButton::OnCreated() { CreateInner(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, caption_.c_str()); }
std::wstring CommandButton::Caption() const { return caption_; }
void CommandButton::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  if (inner_) SetWindowTextW(inner_, caption.c_str());
}
void CommandButton::OnCommand(WORD code, WORD, HWND) {
  if (code == BN_CLICKED) Click.Raise(index());
}

void CommandButton::OnLookChanged() {
  if (inner_ && ForeColor()) SendMessageW(inner_, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
}

bool CommandButton::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
  if (item.hwndItem != inner_) return false;
  RECT face = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  SelectGuard font(item.hDC, Font());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                           : OleColorToRgb(ForeColor().value_or(kButtonText)));
  RECT text = item.rcItem;
  if (pushed) OffsetRect(&text, 1, 1);
  DrawTextW(item.hDC, caption_.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(item.hDC, &focus);
  }
  result = TRUE;
  return true;
}

void Label::OnCreated() { CreateInner(L"STATIC", SS_LEFT | SS_NOPREFIX, caption_.c_str()); }
std::wstring Label::Caption() const { return caption_; }
void Label::SetCaption(const std::wstring& caption) {
  caption_ = caption;
  if (inner_) SetWindowTextW(inner_, caption.c_str());
  if (autoSize_) FitCaption();
}
void Label::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  if (autoSize_) FitCaption();
}
void Label::OnLookChanged() {
  if (autoSize_) FitCaption();  // a bold caption is wider
}
void Label::FitCaption() {
  // Measured with the font the inner control draws with, so the caption is never cut.
  HDC dc = GetDC(nullptr);
  SIZE text{};
  TEXTMETRICW metrics{};
  {
    SelectGuard font(dc, Font());
    GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    GetTextMetricsW(dc, &metrics);
  }
  ReleaseDC(nullptr, dc);
  Move(left(), top(), PixelsToTwips(text.cx), PixelsToTwips(metrics.tmHeight));
}

void CheckBox::OnCreated() { CreateInner(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, caption_.c_str()); }
int CheckBox::Value() const { return SendMessageW(inner(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void CheckBox::SetValue(int value) {
  if (value != 0 && value != 1) Raise(err::InvalidPropertyValue, L"CheckBox.Value");
  if (value == Value()) return;
  SendMessageW(inner(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  Click.Raise(index());
}
std::wstring CheckBox::Caption() const { return caption_; }
void CheckBox::OnCommand(WORD code, WORD, HWND) {
  if (code == BN_CLICKED) Click.Raise(index());
}

void CommonStatusBar::OnCreated() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  // Placed by its owner (the form aligns it), not by the parent's size.
  CreateInner(STATUSCLASSNAMEW, SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE);
}

}  // namespace vk::hosted
