#pragma once
// The grid's export: its visible columns and data rows, in the order shown, as a
// spreadsheet file (format 3) or a delimited text file (format 2).
#include <string>
#include <vector>

#include "hosted/grid/export_table.h"
#include "hosted/grid/grid_model.h"
#include "runtime/variant.h"

namespace vk::grid {

inline constexpr int kExportDelimited = 2;
inline constexpr int kExportSpreadsheet = 3;

class GridExportTable : public ExportTable {
 public:
  explicit GridExportTable(const GridModel& model);
  int ColumnCount() const override { return static_cast<int>(positions_.size()); }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::wstring Caption(int column) const override;
  float ColumnWidth(int column) const override;
  ExportCell Cell(int row, int column) const override;
  void FillCell(int row, int column, ExportCell& cell, ExportText text = ExportText::kAll) const override;

 private:
  const GridModel& model_;
  std::vector<int> positions_;  // visible data columns
  std::vector<int> rows_;       // data rows in the order shown
  mutable DateTextCache dates_;  // a log repeats its days and times
};

// ExportData(file, format, what[, separator]): `what` 2 is the rows and columns shown
// with the captions, the only layout offered. Raises for an unknown format or a file
// that cannot be written.
void ExportData(const GridModel& model, const std::wstring& file, int format, int what,
                const std::wstring& separator = L",");

}  // namespace vk::grid
