#pragma once
// The grid's export: its visible columns and data rows, in the order shown, as a
// spreadsheet file (format 3) or a delimited text file (format 2).
#include <memory>
#include <string>
#include <vector>

#include "hosted/grid/date_text_pieces.h"
#include "hosted/grid/export_table.h"
#include "hosted/grid/grid_model.h"

namespace vk::grid {

inline constexpr int kExportDelimited = 2;
inline constexpr int kExportSpreadsheet = 3;

// The grid as the writers read it. The texts of value lists, days and times of day are
// pieces that repeat (see TextPiece), made with the table: its readers only read it. A
// value list is read by key, and a column that repeats one text (a log's user) looks it
// up once. The grid must not change while the table lives.
class GridExportTable : public ExportTable {
 public:
  // `reading` says whether the writer reads the texts of dates (it then makes them here).
  explicit GridExportTable(const GridModel& model, ExportText reading = ExportText::kAll);
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::wstring Caption(int column) const override;
  float ColumnWidth(int column) const override;
  ExportCell Cell(int row, int column) const override;
  std::unique_ptr<RowReader> Reader() const override;

 private:
  class GridReader;
  struct Column {
    const GridColumn* column;
    std::vector<TextPiece> items;  // each value item's text as a piece
  };

  const GridModel& model_;
  std::vector<Column> columns_;  // the visible ones
  std::vector<int> rows_;        // data rows in the order shown
  DateTextPieces dates_;
  static constexpr int kTrueId = 0, kFalseId = 1;
};

// ExportData(file, format, what[, separator]): `what` 2 is the rows and columns shown
// with the captions, the only layout offered. Raises for an unknown format or a file
// that cannot be written.
void ExportData(const GridModel& model, const std::wstring& file, int format, int what,
                const std::wstring& separator = L",");

}  // namespace vk::grid
