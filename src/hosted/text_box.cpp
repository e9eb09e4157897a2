#include "hosted/text_box.h"

#include <commctrl.h>

#include "base/vb_error.h"
#include "hosted/recordset_rows.h"

namespace vk::hosted {
namespace {

// Remembers Backspace and Delete so that completion does not put back what the
// user just removed.
LRESULT CALLBACK EditKeys(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR flag) {
  if (msg == WM_KEYDOWN) *reinterpret_cast<bool*>(flag) = (wp == VK_BACK || wp == VK_DELETE);
  if (msg == WM_CHAR && wp == VK_BACK) *reinterpret_cast<bool*>(flag) = true;
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

COLORREF TranslateOleColor(unsigned long oleColor) {
  if (oleColor & 0x80000000UL) return GetSysColor(static_cast<int>(oleColor & 0xFF));
  return static_cast<COLORREF>(oleColor & 0xFFFFFF);
}

void TextBox::OnCreated() {
  MakeEdit(L"");
  if (backColor_ != 0x80000005) SetBackColor(backColor_);
}

std::unique_ptr<Control> TextBox::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<TextBox>(form, args);
  copy->fieldName_ = fieldName_;
  copy->backColor_ = backColor_;
  copy->alignment_ = alignment_;
  copy->valueListEnabled_ = valueListEnabled_;
  copy->values_ = values_;
  copy->Change.CopyHandlersFrom(Change);
  return copy;
}

void TextBox::MakeEdit(const std::wstring& text) {
  static const DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
  if (inner_) {
    RemoveWindowSubclass(inner_, EditKeys, 1);
    DestroyWindow(inner_);
  }
  // The edit control takes its alignment only when it is made, so a change makes it anew.
  CreateInner(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | kAlign[alignment_], text.c_str(), WS_EX_CLIENTEDGE);
  SetWindowSubclass(inner_, EditKeys, 1, reinterpret_cast<DWORD_PTR>(&deleting_));
}

std::wstring TextBox::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(inner())) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(inner(), text.data(), static_cast<int>(text.size()))));
  return text;
}

void TextBox::SetText(const std::wstring& text) {
  // EN_CHANGE follows and raises Change.
  settingText_ = true;
  SetWindowTextW(inner(), text.c_str());
  settingText_ = false;
}

void TextBox::SetBackColor(unsigned long oleColor) {
  backColor_ = oleColor;
  brush_.reset(CreateSolidBrush(TranslateOleColor(oleColor)));
  InvalidateRect(inner(), nullptr, TRUE);
}

void TextBox::SetAlignment(int alignment) {
  if (alignment < 0 || alignment > 2) Raise(err::InvalidPropertyValue, L"TextBox.Alignment");
  if (alignment == alignment_) return;
  alignment_ = alignment;
  const bool enabled = IsWindowEnabled(inner()) != FALSE;
  std::wstring text = Text();
  MakeEdit(text);
  EnableWindow(inner(), enabled);
}

void TextBox::LoadValueList(IDispatch* recordset) {
  std::vector<std::wstring> values;
  for (auto& row : RecordsetRows(recordset, 1)) values.push_back(row.empty() ? std::wstring() : row[0]);
  values_ = std::move(values);
}

void TextBox::Complete() {
  if (!valueListEnabled_ || deleting_) return;
  std::wstring typed = Text();
  if (typed.empty()) return;
  for (const auto& value : values_) {
    if (value.size() > typed.size() &&
        CompareStringOrdinal(value.c_str(), static_cast<int>(typed.size()), typed.c_str(),
                             static_cast<int>(typed.size()), TRUE) == CSTR_EQUAL) {
      completing_ = true;
      SetWindowTextW(inner(), (typed + value.substr(typed.size())).c_str());
      completing_ = false;
      SendMessageW(inner(), EM_SETSEL, typed.size(), -1);
      return;
    }
  }
}

void TextBox::OnCommand(WORD code, WORD, HWND) {
  // The completion's own change is part of the keystroke that caused it.
  if (code != EN_CHANGE || completing_) return;
  if (!settingText_ && GetFocus() == inner()) Complete();
  deleting_ = false;
  Change.Raise(index());
}

bool TextBox::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if ((msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) || !brush_) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  SetBkColor(dc, TranslateOleColor(backColor_));
  result = reinterpret_cast<LRESULT>(brush_.get());
  return true;
}

}  // namespace vk::hosted
