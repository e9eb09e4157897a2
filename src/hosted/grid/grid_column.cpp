#include "hosted/grid/grid_column.h"

#include <algorithm>
#include <cmath>

#include "base/vb_error.h"

namespace vk::grid {

void GridColumn::AddValueItem(GridValue value, std::wstring display) {
  ValueItems.push_back({std::move(value), std::move(display)});
}

namespace {

// Keeps the first item for a key.
template <class Map, class Key>
void First(Map& map, const Key& key, int item) {
  map.emplace(key, item);
}

template <class Map, class Key>
int Lookup(const Map& map, const Key& key) {
  const auto found = map.find(key);
  return found == map.end() ? -1 : found->second;
}

// The earlier of two item numbers, -1 standing for none.
int Earlier(int a, int b) { return a < 0 ? b : (b < 0 ? a : std::min(a, b)); }

}  // namespace

void GridColumn::NumberMap::Seal() {
  table_.clear();
  if (map_.empty()) return;
  double low = map_.begin()->first, high = low;
  for (const auto& [key, item] : map_) {
    if (key != std::floor(key)) return;  // NaN and fractions: the hash serves
    low = std::min(low, key);
    high = std::max(high, key);
  }
  // Gaps of up to about twice the items (ids of deleted records) still pay for a table.
  const double span = high - low + 1;
  if (span > 2.0 * static_cast<double>(map_.size()) + 1024 || low < -2e9 || high > 2e9) return;
  first_ = static_cast<long>(low);
  table_.assign(static_cast<size_t>(span), -1);
  for (const auto& [key, item] : map_) table_[static_cast<size_t>(key - low)] = item;
  map_.clear();
}

int GridColumn::NumberMap::Find(double key) const {
  if (!table_.empty()) {
    // A whole number in range is its own slot; the conversion is checked by going back.
    const double offset = key - first_;
    if (!(offset >= 0 && offset < static_cast<double>(table_.size()))) return -1;
    const auto slot = static_cast<size_t>(offset);
    return static_cast<double>(slot) == offset ? table_[slot] : -1;
  }
  if (map_.empty()) return -1;
  const auto found = map_.find(key);
  return found == map_.end() ? -1 : found->second;
}


const GridColumn::ValueIndex& GridColumn::Index() const {
  if (index_.items == ValueItems.size()) return index_;
  index_ = ValueIndex{};
  for (size_t i = 0; i < ValueItems.size(); ++i) {
    const GridValue& v = ValueItems[i].Value;
    const int item = static_cast<int>(i);
    double d = 0;
    if (v.IsNull()) {
      if (index_.firstNull < 0) index_.firstNull = item;
    } else if (v.IsEmpty()) {
      if (index_.firstEmpty < 0) index_.firstEmpty = item;
    } else if (v.type() == VT_BSTR) {
      First(index_.texts, v.Text(), item);
      if (v.ToDouble(d)) index_.numberTexts.Add(d, item);
    } else {
      if (v.ToDouble(d)) index_.numbers.Add(d, item);
      First(index_.otherTexts, v.Text(), item);
    }
  }
  index_.numbers.Seal();
  index_.numberTexts.Seal();
  index_.items = ValueItems.size();
  return index_;
}

const ValueItem* GridColumn::FindValueItem(const GridValue& value) const {
  if (ValueItems.empty()) return nullptr;
  const ValueIndex& index = Index();
  int found = -1;
  double d = 0;
  // The same rules as ValuesMatch: blanks match their own kind, two texts their exact
  // text, a text and a number by value when both read as numbers, by text otherwise.
  if (value.IsNull()) {
    found = index.firstNull;
  } else if (value.IsEmpty()) {
    found = index.firstEmpty;
  } else if (value.type() == VT_BSTR) {
    const std::wstring_view text = value.TextView();
    found = Lookup(index.texts, text);
    // Items that are no texts match by number or by their text (a list of texts only,
    // the usual case, needs no conversion).
    if (!index.numbers.empty() || !index.otherTexts.empty()) {
      if (value.ToDouble(d)) found = Earlier(found, index.numbers.Find(d));
      else found = Earlier(found, Lookup(index.otherTexts, text));
    }
  } else if (value.type() == VT_I4) {
    // Ids, the usual key: found without a conversion to a double.
    const long key = V_I4(&value.get());
    found = Earlier(index.numbers.Find(key), index.numberTexts.Find(key));
  } else if (value.ToDouble(d)) {
    found = Earlier(index.numbers.Find(d), index.numberTexts.Find(d));
    // A date also matches a text item that shows it and reads as no number.
    if (value.type() == VT_DATE && !index.texts.empty()) found = Earlier(found, Lookup(index.texts, value.Text()));
  } else {
    const std::wstring text = value.Text();
    found = Earlier(Lookup(index.texts, text), Lookup(index.otherTexts, text));
  }
  return found < 0 ? nullptr : &ValueItems[static_cast<size_t>(found)];
}

std::wstring GridColumn::DisplayText(const GridValue& value) const {
  if (const ValueItem* item = FindValueItem(value)) return item->Display;
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
