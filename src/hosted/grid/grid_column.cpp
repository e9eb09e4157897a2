#include "hosted/grid/grid_column.h"

#include "runtime/vb_error.h"

namespace vk::grid {

void GridColumn::AddValueItem(GridValue value, std::wstring display) {
  ValueItems.push_back({std::move(value), std::move(display)});
}

std::wstring GridColumn::DisplayText(const GridValue& value) const {
  for (const auto& item : ValueItems)
    if (ValuesMatch(item.Value, value)) return item.Display;
  return value.Text();
}

GridValue GridColumn::ValueForDisplay(const std::wstring& text) const {
  for (const auto& item : ValueItems)
    if (item.Display == text) return item.Value;
  return GridValue(text);
}

GridValue GridColumn::Coerce(GridValue value) const {
  if (value.IsEmpty() || value.IsNull()) return value;
  GridValue out;
  switch (DataType) {
    case kTypeBoolean:
      if (value.type() == VT_BOOL) return value;
      // A number or "True"/"False"; the filter grid's ticks start as the number 1.
      if (value.ChangeType(VT_BOOL, out)) return out;
      break;
    case kTypeDate:
      if (value.type() == VT_DATE) return value;
      if (value.type() == VT_BSTR && value.Text().empty()) return GridValue();
      if (value.ChangeType(VT_DATE, out)) return out;
      break;
    case kTypeText:
      // MaxLength bounds what the user types; a longer stored text is kept whole.
      if (value.type() == VT_BSTR) return value;
      if (value.ChangeType(VT_BSTR, out)) return out;
      break;
    default:
      return value;
  }
  throw VbError{err::TypeMismatch, kGridSource,
                L"The value cannot be shown in column " + Key + L": " + value.Text()};
}

ColumnCollection::ColumnCollection() {
  columns_.push_back(std::make_unique<GridColumn>(L"", -1));
  columns_[0]->Width = 330.0f;
}

GridColumn& ColumnCollection::Item(int position) {
  if (position < 0 || position >= Count())
    throw VbError{err::SubscriptOutOfRange, kGridSource,
                  L"No column at position " + std::to_wstring(position)};
  return *columns_[position];
}

const GridColumn& ColumnCollection::Item(int position) const {
  return const_cast<ColumnCollection*>(this)->Item(position);
}

GridColumn& ColumnCollection::Item(const std::wstring& key) {
  const int pos = Find(key);
  if (pos < 0) throw VbError{err::SubscriptOutOfRange, kGridSource, L"No column with the key " + key};
  return *columns_[pos];
}

int ColumnCollection::Find(const std::wstring& key) const {
  for (int i = 1; i < Count(); ++i)
    if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, columns_[i]->Key.c_str(), -1, key.c_str(), -1) ==
        CSTR_EQUAL)
      return i;
  return -1;
}

GridColumn& ColumnCollection::Add(const std::wstring& key) {
  if (key.empty()) throw VbError{err::InvalidProcedureCall, kGridSource, L"A column needs a key"};
  if (Find(key) >= 0) throw VbError{err::InvalidProcedureCall, kGridSource, L"The key is already used: " + key};
  columns_.push_back(std::make_unique<GridColumn>(key, nextSlot_++));
  columns_.back()->Caption = key;
  return *columns_.back();
}

void ColumnCollection::Remove(int position) {
  if (position <= 0 || position >= Count())
    throw VbError{err::SubscriptOutOfRange, kGridSource,
                  L"No data column at position " + std::to_wstring(position)};
  columns_.erase(columns_.begin() + position);
}

void ColumnCollection::Clear() {
  columns_.resize(1);
}

}  // namespace vk::grid
