#pragma once
// What the grid holds, without its window: columns, styles, data rows of cells, the
// current row, sorting, grouping into group rows and format conditions. Data rows are
// counted from 0; the rows on screen (group rows among them) are the "display rows".
#include <functional>
#include <string>
#include <vector>

#include "hosted/grid/grid_column.h"
#include "hosted/grid/grid_style.h"
#include "hosted/grid/grid_value.h"
#include "hosted/grid/packed_rows.h"

namespace vk::grid {

// Row kinds: 0 a data row, 1.. a group row of that grouping level.
inline constexpr int kDataRow = 0;

struct RowRef {
  int Kind = kDataRow;
  int Index = -1;  // the data row for a data row, the group's number for a group row
};

// Rows whose cell in Column compares to Value take the style StyleName.
struct FormatCondition {
  enum Operator : int { kEqual = 0, kNotEqual = 1, kLess = 2, kGreater = 3 };
  std::wstring Column;
  int Op = kEqual;
  GridValue Value;
  std::wstring StyleName;
};

struct GroupInfo {
  int Level = 1;
  int Column = 0;       // position of the grouped column
  GridValue Value;      // the value its rows share
  int FirstDisplay = 0; // display row of the group row
  int RowCount = 0;     // data rows in the group
};

class GridModel {
 public:
  GridModel() = default;
  GridModel(const GridModel&) = delete;
  GridModel& operator=(const GridModel&) = delete;

  ColumnCollection& Columns() { return columns_; }
  const ColumnCollection& Columns() const { return columns_; }
  StyleCollection& Styles() { return styles_; }
  const StyleCollection& Styles() const { return styles_; }

  // --- rows and cells ---
  int DataRowCount() const { return static_cast<int>(rows_.Count()); }
  void SetDataRowCount(int count);  // keeps the rows below it, adds blank ones
  void RemoveAllRows();
  // The fill call: data row and data field both from 0 (field 0 is column position 1).
  // Values are taken by value: a caller that hands over a temporary writes no copy.
  void SetValue(int dataRow, int dataField, GridValue value);
  GridValue CellValue(int dataRow, int position) const;
  GridValue CellValue(int dataRow, const std::wstring& key) const;
  // A data row's stored values by column slot (GridColumn::Slot()), without checks; a
  // slot past the end is blank. For readers of every cell, row by row (the export);
  // valid until the next call on the rows.
  const std::vector<GridValue>& RowSlots(int dataRow) const { return rows_.ReadRow(static_cast<size_t>(dataRow)); }
  // Bytes held for the data rows, for the benchmarks.
  size_t HeldBytes() const { return rows_.HeldBytes(); }
  void SetCellValue(int dataRow, int position, GridValue value);
  void SetCellValue(int dataRow, const std::wstring& key, GridValue value);
  std::wstring CellText(int dataRow, int position) const;  // as shown

  // --- rows as shown (group rows among the data rows) ---
  int DisplayRowCount() const;
  RowRef DisplayRow(int displayRow) const;
  int DisplayRowOf(int dataRow) const;  // -1 when not shown
  const GroupInfo& Group(int group) const;
  std::wstring GroupText(int group) const;

  // --- current row ---
  bool HasCurrentRow() const { return CurrentDisplayRow() >= 0; }
  RowRef CurrentRow() const;  // raises when there is none
  int CurrentDisplayRow() const;  // -1 when there is none
  void SetCurrentDisplayRow(int displayRow);  // raises the current-row change
  void SetCurrentDataRow(int dataRow);

  // --- sorting and grouping ---
  // Sorts the data rows by the column at `position` in its SortOrder (ascending when
  // none) and by its SortType.
  void Sort(int position);
  void RemoveAllGroups();
  void AddGroup(const std::wstring& key);
  int GroupCount() const { return static_cast<int>(groupColumns_.size()); }

  // --- styles of rows ---
  std::vector<FormatCondition>& FormatConditions() { return conditions_; }
  void AddFormatCondition(const std::wstring& column, int op, const GridValue& value, const std::wstring& style);
  // The resolved style of a data cell: Normal, the column's, the conditions' in order.
  GridStyle CellStyle(int dataRow, int position) const;
  GridStyle HeadingStyle(int position) const;
  GridStyle GroupStyle() const;

  // --- display switches made around a fill, and the refresh calls ---
  bool SuspendPaint = false, SuspendGrouping = false, SuspendConditions = false;
  void SetDisplaySwitches(bool on);
  void Refresh(int how = 1);
  bool Redraw = true;
  // A read-only grid takes no input in any cell, whatever its columns say.
  bool ReadOnly = false;
  // Tells the window that columns or styles may be about to change (their properties are
  // plain fields): it repaints and lays out once the current message is done.
  void Touch() { Changed(); }

  // Told when what is shown changes (the window repaints) or the current row moves.
  std::function<void()> OnChanged;
  std::function<void()> OnRowSelected;

 private:
  void CheckDataRow(int dataRow) const;
  GridValue Peek(int dataRow, int position) const;  // no checks
  int DataPosition(int dataField) const;
  void Changed();
  void InvalidateDisplay() { displayDirty_ = true; }
  void BuildDisplay() const;
  bool ConditionHolds(const FormatCondition& c, int dataRow) const;

  ColumnCollection columns_;
  StyleCollection styles_;
  PackedRows rows_;
  std::vector<std::wstring> groupColumns_;
  std::vector<FormatCondition> conditions_;
  RowRef current_;  // Index -1: no current row

  // The shown rows, rebuilt when rows or groups change.
  mutable bool displayDirty_ = true;
  mutable std::vector<RowRef> display_;
  mutable std::vector<int> displayOfData_;
  mutable std::vector<GroupInfo> groups_;
};

}  // namespace vk::grid
