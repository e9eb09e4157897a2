#include "hosted/combo_box.h"

#include "hosted/recordset_rows.h"
#include "runtime/vb_error.h"

namespace vk::hosted {
namespace {

std::wstring Trim(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

std::wstring ComboKeyOf(const std::wstring& text) { return Trim(text.substr(0, text.find(L'-'))); }

void ComboBox::OnCreated() {
  CreateInner(L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP);
  Replace({});
}

void ComboBox::OnResized(int width, int) {
  // The inner combo keeps its own height; its drop-down list opens below it.
  if (inner_) MoveWindow(inner_, 0, 0, width, 200, TRUE);
}

void ComboBox::Replace(const std::vector<std::wstring>& items) {
  SendMessageW(inner(), CB_RESETCONTENT, 0, 0);
  extraItem_ = 0;
  SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  for (const auto& item : items) SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(inner(), CB_SETCURSEL, 0, 0);
}

void ComboBox::LoadRecordSetAPI(IDispatch* recordset) {
  std::vector<std::wstring> items;
  for (auto& row : RecordsetRows(recordset, 2)) {
    items.push_back(row.size() > 1 ? row[0] + L" - " + row[1] : row.empty() ? std::wstring() : row[0]);
  }
  Replace(items);
  fixedList_ = false;
}

void ComboBox::LoadArray(const std::wstring& entries) {
  std::vector<std::wstring> items;
  size_t start = 0;
  while (!entries.empty()) {
    size_t bar = entries.find(L'|', start);
    items.push_back(entries.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  Replace(items);
  fixedList_ = true;
}

int ComboBox::FindKey(const std::wstring& key) const {
  const std::wstring wanted = Trim(key);
  // A fixed list's entries are their own keys, dashes and all ("1-A" and "1-B" differ).
  if (fixedList_) {
    for (int i = 1; i < ListCount(); ++i) {
      if (Trim(List(i)) == wanted) return i;
    }
  }
  for (int i = 1; i < ListCount(); ++i) {
    if (ComboKeyOf(List(i)) == wanted) return i;
  }
  return 0;
}

void ComboBox::SelectKey(const std::wstring& key) {
  SendMessageW(inner(), CB_SETCURSEL, static_cast<WPARAM>(FindKey(key)), 0);
  RaiseChange();
}

void ComboBox::SelectStoredKey(const std::wstring& key) {
  if (extraItem_ > 0) {
    SendMessageW(inner(), CB_DELETESTRING, static_cast<WPARAM>(extraItem_), 0);
    extraItem_ = 0;
  }
  int found = FindKey(key);
  if (found == 0 && !Trim(key).empty()) {
    found = static_cast<int>(SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Trim(key).c_str())));
    extraItem_ = found;
  }
  SendMessageW(inner(), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  RaiseChange();
}

int ComboBox::ListIndex() const { return static_cast<int>(SendMessageW(inner(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) Raise(err::InvalidPropertyValue, L"ComboBox.ListIndex");
  SendMessageW(inner(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  RaiseChange();
}

int ComboBox::ListCount() const { return static_cast<int>(SendMessageW(inner(), CB_GETCOUNT, 0, 0)); }

std::wstring ComboBox::List(int index) const {
  LRESULT length = SendMessageW(inner(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) Raise(err::InvalidPropertyValue, L"ComboBox.List");
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(inner(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::wstring ComboBox::Text() const {
  int index = ListIndex();
  return index < 0 ? std::wstring() : List(index);
}

void ComboBox::RaiseChange() { Change.Raise(index()); }

std::unique_ptr<Control> ComboBox::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<ComboBox>(form, args);
  copy->fieldName_ = fieldName_;
  copy->Change.CopyHandlersFrom(Change);
  return copy;
}

void ComboBox::OnCommand(WORD code, WORD, HWND) {
  if (code == CBN_SELCHANGE) RaiseChange();
}

}  // namespace vk::hosted
