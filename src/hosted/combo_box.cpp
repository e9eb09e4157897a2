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

void ComboBox::Replace(const std::vector<Item>& items) {
  SendMessageW(inner(), CB_RESETCONTENT, 0, 0);
  SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  keys_.assign(1, std::wstring());
  for (const auto& item : items) {
    SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    keys_.push_back(item.key);
  }
  SendMessageW(inner(), CB_SETCURSEL, 0, 0);
}

void ComboBox::LoadRecordSetAPI(IDispatch* recordset) {
  std::vector<Item> items;
  for (auto& row : RecordsetRows(recordset, 2)) {
    if (row.empty()) {
      items.push_back({});
      continue;
    }
    items.push_back({Trim(row[0]), row.size() > 1 ? row[0] + L" - " + row[1] : row[0]});
  }
  Replace(items);
}

void ComboBox::LoadArray(const std::wstring& entries) {
  std::vector<Item> items;
  size_t start = 0;
  while (!entries.empty()) {
    size_t bar = entries.find(L'|', start);
    std::wstring entry = entries.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
    items.push_back({ComboKeyOf(entry), std::move(entry)});
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  Replace(items);
}

std::wstring ComboBox::ItemKey(int index) const {
  const std::wstring text = List(index);  // raises outside the list
  // An item the fills did not make has only its text to go by.
  return static_cast<size_t>(index) < keys_.size() ? keys_[static_cast<size_t>(index)] : ComboKeyOf(text);
}

std::wstring ComboBox::Key() const {
  const int index = ListIndex();
  return index < 0 ? std::wstring() : ItemKey(index);
}

void ComboBox::SelectKey(const std::wstring& key) {
  const std::wstring wanted = Trim(key);
  int found = 0;
  for (int i = 1; i < ListCount() && found == 0; ++i) {
    if (ItemKey(i) == wanted) found = i;
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
