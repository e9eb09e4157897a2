#include "hosted/combo_box.h"

#include "base/vb_error.h"
#include "hosted/recordset_rows.h"

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
  extraItem_ = 0;
  SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
  for (const auto& item : items) SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
  items_.assign(1, Item{});
  items_.insert(items_.end(), items.begin(), items.end());
  SendMessageW(inner(), CB_SETCURSEL, 0, 0);
}

void ComboBox::LoadRecordSetAPI(IDispatch* recordset) {
  std::vector<Item> items;
  for (auto& row : RecordsetRows(recordset, 2)) {
    if (row.empty()) {
      items.push_back({});
    } else if (row.size() == 1) {
      items.push_back({row[0], Trim(row[0]), L""});
    } else {
      items.push_back({row[0] + L" - " + row[1], Trim(row[0]), Trim(row[1])});
    }
  }
  Replace(items);
  fixedList_ = false;
}

void ComboBox::LoadArray(const std::wstring& entries) {
  std::vector<Item> items;
  size_t start = 0;
  while (!entries.empty()) {
    size_t bar = entries.find(L'|', start);
    std::wstring text = entries.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
    const size_t dash = text.find(L'-');
    std::wstring description = dash == std::wstring::npos ? L"" : Trim(text.substr(dash + 1));
    items.push_back({text, ComboKeyOf(text), std::move(description)});
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  Replace(items);
  fixedList_ = true;
}

int ComboBox::FindKey(const std::wstring& key) const {
  const std::wstring wanted = Trim(key);
  const int count = static_cast<int>(items_.size());
  // A fixed list's entries are their own keys, dashes and all ("1-A" and "1-B" differ).
  if (fixedList_) {
    for (int i = 1; i < count; ++i) {
      if (Trim(items_[static_cast<size_t>(i)].text) == wanted) return i;
    }
  }
  for (int i = 1; i < count; ++i) {
    if (items_[static_cast<size_t>(i)].key == wanted) return i;
  }
  return 0;
}

const ComboBox::Item& ComboBox::At(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) Raise(err::InvalidPropertyValue, L"ComboBox.List");
  return items_[static_cast<size_t>(index)];
}

const std::wstring& ComboBox::ItemKey(int index) const { return At(index).key; }
const std::wstring& ComboBox::ItemDescription(int index) const { return At(index).description; }

std::wstring ComboBox::SelectedKey() const {
  const int index = ListIndex();
  return index < 0 ? std::wstring() : ItemKey(index);
}

std::wstring ComboBox::SelectedDescription() const {
  const int index = ListIndex();
  return index < 0 ? std::wstring() : ItemDescription(index);
}

void ComboBox::SelectKey(const std::wstring& key) {
  SendMessageW(inner(), CB_SETCURSEL, static_cast<WPARAM>(FindKey(key)), 0);
  RaiseChange();
}

void ComboBox::SelectStoredKey(const std::wstring& key) {
  if (extraItem_ > 0) {
    SendMessageW(inner(), CB_DELETESTRING, static_cast<WPARAM>(extraItem_), 0);
    items_.erase(items_.begin() + extraItem_);
    extraItem_ = 0;
  }
  int found = FindKey(key);
  const std::wstring stored = Trim(key);
  if (found == 0 && !stored.empty()) {
    found = static_cast<int>(SendMessageW(inner(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(stored.c_str())));
    items_.push_back(Item{stored, stored, L""});
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
