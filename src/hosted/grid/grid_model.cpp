#include "hosted/grid/grid_model.h"

#include <algorithm>
#include <numeric>

#include "base/vb_error.h"

namespace vk::grid {

namespace {
[[noreturn]] void OutOfRange(const std::wstring& what) {
  throw VbError{err::SubscriptOutOfRange, kGridSource, what};
}

// A cell reduced once to what a sort compares: the comparison runs n log n times, so
// texts become the locale's sort keys (case ignored) and compare as bytes.
struct SortKey {
  bool blank = true;
  bool number = false;
  double d = 0;
  std::string s;
};

std::string TextSortKey(const std::wstring& text) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::string key(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    LCMapStringW(LOCALE_USER_DEFAULT, flags, text.c_str(), static_cast<int>(text.size()),
                 reinterpret_cast<LPWSTR>(key.data()), n);
  return key;
}

SortKey MakeKey(const GridValue& v, bool asText) {
  SortKey k;
  k.blank = v.IsEmpty() || v.IsNull();
  k.number = !k.blank && !asText && (v.IsNumeric() || v.type() == VT_BSTR) && v.ToDouble(k.d);
  if (!k.blank && !k.number) k.s = TextSortKey(v.Text());
  return k;
}

int CompareKeys(const SortKey& x, const SortKey& y) {
  if (x.blank || y.blank) return x.blank == y.blank ? 0 : (x.blank ? -1 : 1);
  if (x.number && y.number) return x.d < y.d ? -1 : (x.d > y.d ? 1 : 0);
  if (x.number != y.number) return x.number ? -1 : 1;  // numbers before texts
  const int c = x.s.compare(y.s);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
}  // namespace

GridValue GridModel::Peek(int dataRow, int position) const {
  return rows_.Read(static_cast<size_t>(dataRow), static_cast<size_t>(columns_.Item(position).Slot()));
}

void GridModel::Changed() {
  if (!SuspendPaint && OnChanged) OnChanged();
}

void GridModel::CheckDataRow(int dataRow) const {
  if (dataRow < 0 || dataRow >= DataRowCount()) OutOfRange(L"No data row " + std::to_wstring(dataRow));
}

int GridModel::DataPosition(int dataField) const {
  const int position = dataField + 1;
  if (dataField < 0 || position >= columns_.Count()) OutOfRange(L"No data field " + std::to_wstring(dataField));
  return position;
}

void GridModel::SetDataRowCount(int count) {
  if (count < 0) throw VbError{err::InvalidPropertyValue, kGridSource, L"A row count cannot be negative"};
  rows_.Resize(static_cast<size_t>(count));
  InvalidateDisplay();
  Changed();
}

void GridModel::RemoveAllRows() {
  rows_.Clear();
  current_ = RowRef{};
  InvalidateDisplay();
  Changed();
}

void GridModel::SetValue(int dataRow, int dataField, GridValue value) {
  SetCellValue(dataRow, DataPosition(dataField), std::move(value));
}

GridValue GridModel::CellValue(int dataRow, int position) const {
  CheckDataRow(dataRow);
  columns_.Item(position);  // raises for a position out of range
  if (position == 0) return {};
  return Peek(dataRow, position);
}

GridValue GridModel::CellValue(int dataRow, const std::wstring& key) const {
  const int position = columns_.Find(key);
  if (position < 0) OutOfRange(L"No column with the key " + key);
  return CellValue(dataRow, position);
}

void GridModel::SetCellValue(int dataRow, int position, GridValue value) {
  CheckDataRow(dataRow);
  GridColumn& column = columns_.Item(position);
  if (position == 0) throw VbError{err::InvalidProcedureCall, kGridSource, L"The head column holds no values"};
  GridValue stored = column.Coerce(std::move(value));
  rows_.Write(static_cast<size_t>(dataRow), static_cast<size_t>(column.Slot()), std::move(stored),
              static_cast<size_t>(columns_.SlotCount()));
  // A grouped column's value moves the row to another group.
  if (!groupColumns_.empty()) InvalidateDisplay();
  Changed();
}

void GridModel::SetCellValue(int dataRow, const std::wstring& key, GridValue value) {
  const int position = columns_.Find(key);
  if (position < 0) OutOfRange(L"No column with the key " + key);
  SetCellValue(dataRow, position, std::move(value));
}

std::wstring GridModel::CellText(int dataRow, int position) const {
  return columns_.Item(position).DisplayText(CellValue(dataRow, position));
}

// --- shown rows ---

void GridModel::BuildDisplay() const {
  if (!displayDirty_) return;
  displayDirty_ = false;
  display_.clear();
  groups_.clear();
  const int n = DataRowCount();
  displayOfData_.assign(static_cast<size_t>(n), -1);
  std::vector<int> positions;
  for (const auto& key : groupColumns_) {
    const int p = columns_.Find(key);
    if (p > 0) positions.push_back(p);
  }
  if (positions.empty() || SuspendGrouping) {
    display_.reserve(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) {
      displayOfData_[r] = r;
      display_.push_back({kDataRow, r});
    }
    return;
  }
  // Rows ordered by their group values; within a group they keep their order.
  std::vector<std::vector<SortKey>> keys(positions.size());
  for (size_t l = 0; l < positions.size(); ++l) {
    keys[l].reserve(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r) keys[l].push_back(MakeKey(Peek(r, positions[l]), false));
  }
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    for (const auto& k : keys) {
      const int c = CompareKeys(k[a], k[b]);
      if (c != 0) return c < 0;
    }
    return false;
  });
  display_.reserve(static_cast<size_t>(n) + 16);
  std::vector<int> open(positions.size(), -1);  // group index open at each level
  for (size_t i = 0; i < order.size(); ++i) {
    const int r = order[i];
    size_t changedAt = positions.size();
    for (size_t l = 0; l < positions.size(); ++l) {
      if (open[l] < 0 || CompareKeys(keys[l][order[i - 1]], keys[l][r]) != 0) {
        changedAt = l;
        break;
      }
    }
    for (size_t l = changedAt; l < positions.size(); ++l) {
      GroupInfo g;
      g.Level = static_cast<int>(l) + 1;
      g.Column = positions[l];
      g.Value = Peek(r, positions[l]);
      g.FirstDisplay = static_cast<int>(display_.size());
      open[l] = static_cast<int>(groups_.size());
      display_.push_back({g.Level, open[l]});
      groups_.push_back(std::move(g));
    }
    for (int g : open) ++groups_[g].RowCount;
    displayOfData_[r] = static_cast<int>(display_.size());
    display_.push_back({kDataRow, r});
  }
}

int GridModel::DisplayRowCount() const {
  BuildDisplay();
  return static_cast<int>(display_.size());
}

RowRef GridModel::DisplayRow(int displayRow) const {
  BuildDisplay();
  if (displayRow < 0 || displayRow >= static_cast<int>(display_.size()))
    OutOfRange(L"No row " + std::to_wstring(displayRow));
  return display_[displayRow];
}

int GridModel::DisplayRowOf(int dataRow) const {
  BuildDisplay();
  if (dataRow < 0 || dataRow >= DataRowCount()) return -1;
  return displayOfData_[dataRow];
}

const GroupInfo& GridModel::Group(int group) const {
  BuildDisplay();
  if (group < 0 || group >= static_cast<int>(groups_.size())) OutOfRange(L"No group " + std::to_wstring(group));
  return groups_[group];
}

std::wstring GridModel::GroupText(int group) const {
  const GroupInfo& g = Group(group);
  const GridColumn& column = columns_.Item(g.Column);
  std::wstring shown = column.DisplayText(g.Value);
  if (shown.empty()) shown = L"(vacío)";
  return column.Caption + L": " + shown + L" (" + std::to_wstring(g.RowCount) + L")";
}

// --- current row ---

int GridModel::CurrentDisplayRow() const {
  if (current_.Index < 0) return -1;
  BuildDisplay();
  if (current_.Kind == kDataRow) return DisplayRowOf(current_.Index);
  if (current_.Index >= static_cast<int>(groups_.size())) return -1;
  return groups_[current_.Index].FirstDisplay;
}

RowRef GridModel::CurrentRow() const {
  if (!HasCurrentRow()) throw VbError{err::ObjectNotSet, kGridSource, L"The grid has no current row"};
  return current_;
}

void GridModel::SetCurrentDisplayRow(int displayRow) {
  const RowRef target = DisplayRow(displayRow);
  const bool moved = current_.Kind != target.Kind || current_.Index != target.Index;
  current_ = target;
  Changed();
  if (moved && OnRowSelected) OnRowSelected();
}

void GridModel::SetCurrentDataRow(int dataRow) {
  CheckDataRow(dataRow);
  const int shown = DisplayRowOf(dataRow);
  if (shown < 0) OutOfRange(L"Row not shown");
  SetCurrentDisplayRow(shown);
}

// --- sorting and grouping ---

void GridModel::Sort(int position) {
  GridColumn& column = columns_.Item(position);
  if (position == 0) return;
  const bool descending = column.SortOrder == kSortDescending;
  bool asText = column.SortType == kSortText;
  if (column.SortType == kSortDefault) asText = column.DataType == kTypeText;
  const int n = DataRowCount();
  std::vector<SortKey> keys;
  keys.reserve(static_cast<size_t>(n));
  for (int r = 0; r < n; ++r) keys.push_back(MakeKey(Peek(r, position), asText));
  auto less = [&](int a, int b) { return CompareKeys(keys[a], keys[b]) < 0; };
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  if (descending)
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
  else
    std::stable_sort(order.begin(), order.end(), less);
  std::vector<int> newIndex(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) newIndex[order[i]] = i;
  rows_.Reorder(order);
  if (current_.Kind == kDataRow && current_.Index >= 0 && current_.Index < n) current_.Index = newIndex[current_.Index];
  InvalidateDisplay();
  Changed();
}

void GridModel::RemoveAllGroups() {
  groupColumns_.clear();
  if (current_.Kind != kDataRow) current_ = RowRef{};
  InvalidateDisplay();
  Changed();
}

void GridModel::AddGroup(const std::wstring& key) {
  if (columns_.Find(key) < 0) OutOfRange(L"No column with the key " + key);
  groupColumns_.push_back(key);
  if (current_.Kind != kDataRow) current_ = RowRef{};
  InvalidateDisplay();
  Changed();
}

// --- styles ---

void GridModel::AddFormatCondition(const std::wstring& column, int op, const GridValue& value,
                                   const std::wstring& style) {
  if (columns_.Find(column) < 0) OutOfRange(L"No column with the key " + column);
  if (op < FormatCondition::kEqual || op > FormatCondition::kGreater)
    throw VbError{err::InvalidProcedureCall, kGridSource, L"Unknown comparison"};
  styles_.Item(style);
  conditions_.push_back({column, op, value, style});
  Changed();
}

bool GridModel::ConditionHolds(const FormatCondition& c, int dataRow) const {
  const int position = columns_.Find(c.Column);
  if (position < 0) return false;
  const GridValue v = CellValue(dataRow, position);
  switch (c.Op) {
    case FormatCondition::kEqual: return ValuesMatch(v, c.Value);
    case FormatCondition::kNotEqual: return !ValuesMatch(v, c.Value);
    case FormatCondition::kLess: return CompareValues(v, c.Value, false) < 0;
    case FormatCondition::kGreater: return CompareValues(v, c.Value, false) > 0;
  }
  return false;
}

GridStyle GridModel::CellStyle(int dataRow, int position) const {
  GridStyle out(L"");
  if (const GridStyle* normal = styles_.Find(L"Normal")) out.OverlayFrom(*normal);
  out.OverlayFrom(columns_.Item(position).Style());
  // The conditions read the row; a style asked for no row (sizes, the print) has none.
  if (!SuspendConditions && dataRow >= 0 && dataRow < DataRowCount())
    for (const auto& c : conditions_)
      if (ConditionHolds(c, dataRow))
        if (const GridStyle* s = styles_.Find(c.StyleName)) out.OverlayFrom(*s);
  return out;
}

GridStyle GridModel::HeadingStyle(int position) const {
  GridStyle out(L"");
  if (const GridStyle* normal = styles_.Find(L"Normal")) out.OverlayFrom(*normal);
  if (const GridStyle* heading = styles_.Find(L"Heading")) out.OverlayFrom(*heading);
  // A column's alignment applies to its caption too.
  if (position > 0 && columns_.Item(position).Style().TextAlignment)
    out.TextAlignment = columns_.Item(position).Style().TextAlignment;
  return out;
}

GridStyle GridModel::GroupStyle() const {
  GridStyle out(L"");
  if (const GridStyle* normal = styles_.Find(L"Normal")) out.OverlayFrom(*normal);
  if (const GridStyle* group = styles_.Find(L"GroupHeader")) out.OverlayFrom(*group);
  return out;
}

void GridModel::SetDisplaySwitches(bool on) {
  SuspendPaint = SuspendGrouping = SuspendConditions = on;
  InvalidateDisplay();
  if (!on) Changed();
}

void GridModel::Refresh(int) {
  InvalidateDisplay();
  Changed();
}

}  // namespace vk::grid
