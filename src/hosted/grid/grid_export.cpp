#include "hosted/grid/grid_export.h"

#include "hosted/grid/biff_writer.h"
#include "hosted/grid/delimited_writer.h"
#include "runtime/vb_error.h"

namespace vk::grid {

GridExportTable::GridExportTable(const GridModel& model) : model_(model) {
  for (int p = 1; p < model.Columns().Count(); ++p)
    if (!model.Columns().Item(p).Hidden) positions_.push_back(p);
  const int shown = model.DisplayRowCount();
  rows_.reserve(static_cast<size_t>(model.DataRowCount()));
  for (int d = 0; d < shown; ++d) {
    const RowRef row = model.DisplayRow(d);
    if (row.Kind == kDataRow) rows_.push_back(row.Index);
  }
}

std::wstring GridExportTable::Caption(int column) const {
  return model_.Columns().Item(positions_.at(column)).Caption;
}

float GridExportTable::ColumnWidth(int column) const {
  return model_.Columns().Item(positions_.at(column)).Width;
}

ExportCell GridExportTable::Cell(int row, int column) const {
  ExportCell cell;
  FillCell(row, column, cell);
  return cell;
}

void GridExportTable::FillCell(int row, int column, ExportCell& cell, ExportText text) const {
  const GridColumn& c = model_.Columns().Item(positions_.at(column));
  const GridValue& v = model_.CellRef(rows_.at(row), positions_[column]);
  cell.number = 0;
  cell.text.clear();
  cell.kind = ExportCell::kBlank;
  if (v.IsEmpty() || v.IsNull()) return;
  cell.kind = ExportCell::kText;
  if (const ValueItem* item = c.FindValueItem(v)) {
    cell.text = item->Display;  // the shown text stands for the value
    return;
  }
  switch (v.type()) {
    case VT_BSTR: {
      const BSTR shown = V_BSTR(&v.get());
      if (shown) cell.text.assign(shown, SysStringLen(shown));
      return;
    }
    case VT_BOOL:
      cell.kind = ExportCell::kBool;
      cell.number = V_BOOL(&v.get()) ? 1 : 0;
      break;
    case VT_DATE:
      cell.kind = ExportCell::kDate;
      cell.number = V_DATE(&v.get());
      break;
    default:
      if (v.IsNumeric() && v.ToDouble(cell.number)) cell.kind = ExportCell::kNumber;
  }
  if (text == ExportText::kTextsOnly && cell.kind != ExportCell::kText) return;
  // A date's text is the value's own (CStr) text, made once per day and time of day.
  if (cell.kind == ExportCell::kDate && cell.number >= 1) cell.text = dates_.Text(cell.number);
  else cell.text = v.Text();
}

void ExportData(const GridModel& model, const std::wstring& file, int format, int what,
                const std::wstring& separator) {
  if (file.empty()) throw VbError{err::FileNotFound, kGridSource, L"No file name to export to"};
  if (what != 2) throw VbError{err::InvalidProcedureCall, kGridSource, L"Unknown export layout " + std::to_wstring(what)};
  const GridExportTable table(model);
  if (format == kExportSpreadsheet)
    WriteSpreadsheet(file, table);
  else if (format == kExportDelimited)
    WriteDelimited(file, table, separator.empty() ? L"," : separator);
  else
    throw VbError{err::InvalidProcedureCall, kGridSource, L"Unknown export format " + std::to_wstring(format)};
}

}  // namespace vk::grid
