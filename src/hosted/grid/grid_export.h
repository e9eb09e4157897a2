#pragma once
// The grid's export: its visible columns and data rows, in the order shown, as a
// spreadsheet file (format 3) or a delimited text file (format 2).
#include <string>
#include <vector>

#include "hosted/grid/date_text_pieces.h"
#include "hosted/grid/export_table.h"
#include "hosted/grid/grid_model.h"

namespace vk::grid {

inline constexpr int kExportDelimited = 2;
inline constexpr int kExportSpreadsheet = 3;

// The grid as the writers read it. The texts of value lists, days and times of day are
// pieces that repeat (see TextPiece): a value list's with the table, a day's or a time's
// at its first use. A value list is read by key, and a column that repeats one text (a
// log's user) looks it up once. The grid must not change while the table lives.
class GridExportTable : public ExportTable {
 public:
  explicit GridExportTable(const GridModel& model);
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::wstring Caption(int column) const override;
  float ColumnWidth(int column) const override;
  ExportCell Cell(int row, int column) const override;
  void ReadRow(int row, ExportRow& out, ExportText text) const override;

 private:
  struct Column {
    const GridColumn* column;
    size_t slot;
    std::vector<TextPiece> items;  // each value item's text as a piece
    // The last text looked up in the value list, and its item.
    std::wstring lastText = {};
    const ValueItem* lastItem = nullptr;
    bool hasLast = false;
  };
  const ValueItem* FindItem(Column& column, const GridValue& value) const;
  void ReadCell(Column& column, const GridValue& v, ShownCell& cell, std::wstring& made, ExportText text) const;

  const GridModel& model_;
  mutable std::vector<Column> columns_;  // the visible ones; their look-ups are remembered
  std::vector<int> rows_;                // data rows in the order shown
  mutable DateTextPieces dates_;
  static constexpr int kTrueId = 0, kFalseId = 1;
};

// ExportData(file, format, what[, separator]): `what` 2 is the rows and columns shown
// with the captions, the only layout offered. Raises for an unknown format or a file
// that cannot be written.
void ExportData(const GridModel& model, const std::wstring& file, int format, int what,
                const std::wstring& separator = L",");

}  // namespace vk::grid
