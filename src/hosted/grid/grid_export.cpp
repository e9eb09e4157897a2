#include "hosted/grid/grid_export.h"

#include <stdexcept>

#include "base/vb_error.h"
#include "hosted/grid/biff_writer.h"
#include "hosted/grid/delimited_writer.h"

namespace vk::grid {

namespace {

const GridValue kBlank;

// Compared here: the library's wmemcmp is a call per cell for a few characters.
bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace

GridExportTable::GridExportTable(const GridModel& model) : model_(model) {
  int nextPiece = kFalseId + 1;
  for (int p = 1; p < model.Columns().Count(); ++p) {
    const GridColumn& column = model.Columns().Item(p);
    if (column.Hidden) continue;
    Column& shown = columns_.emplace_back(Column{&column, static_cast<size_t>(column.Slot()), {}});
    shown.items.reserve(column.ValueItems.size());
    for (const ValueItem& item : column.ValueItems) shown.items.push_back({item.Display, nextPiece++});
  }
  dates_ = DateTextPieces(nextPiece);
  const int shown = model.DisplayRowCount();
  rows_.reserve(static_cast<size_t>(model.DataRowCount()));
  for (int d = 0; d < shown; ++d) {
    const RowRef row = model.DisplayRow(d);
    if (row.Kind == kDataRow) rows_.push_back(row.Index);
  }
}

std::wstring GridExportTable::Caption(int column) const { return columns_.at(column).column->Caption; }

float GridExportTable::ColumnWidth(int column) const { return columns_.at(column).column->Width; }

void GridExportTable::ReadRow(int row, ExportRow& out, ExportText text) const {
  const std::vector<GridValue>& values = model_.RowSlots(rows_.at(row));
  if (out.cells.size() != columns_.size()) {
    out.cells.resize(columns_.size());
    out.made.resize(columns_.size());
  }
  ShownCell* cell = out.cells.data();
  std::wstring* made = out.made.data();
  for (Column& column : columns_)
    ReadCell(column, column.slot < values.size() ? values[column.slot] : kBlank, *cell++, *made++, text);
}

const ValueItem* GridExportTable::FindItem(Column& column, const GridValue& value) const {
  if (value.type() != VT_BSTR) return column.column->FindValueItem(value);
  // A text finds the same item every time.
  const std::wstring_view text = value.TextView();
  if (column.hasLast && SameText(text, column.lastText)) return column.lastItem;
  column.lastItem = column.column->FindValueItem(value);
  column.lastText.assign(text);
  column.hasLast = true;
  return column.lastItem;
}

void GridExportTable::ReadCell(Column& column, const GridValue& v, ShownCell& cell, std::wstring& made,
                               ExportText text) const {
  const VARTYPE type = v.type();
  cell.number = 0;
  cell.pieceCount = 0;
  if (type == VT_EMPTY || type == VT_NULL) {
    cell.kind = ExportCell::kBlank;
    return;
  }
  cell.kind = ExportCell::kText;
  if (!column.items.empty()) {
    if (const ValueItem* item = FindItem(column, v)) {
      // The shown text stands for the value.
      cell.pieces[0] = column.items[static_cast<size_t>(item - column.column->ValueItems.data())];
      cell.pieceCount = 1;
      return;
    }
  }
  switch (type) {
    case VT_BSTR:
      cell.pieces[0] = {v.TextView(), -1};
      cell.pieceCount = 1;
      return;
    case VT_I4:
      cell.kind = ExportCell::kNumber;
      cell.number = V_I4(&v.get());
      break;
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
  cell.pieceCount = 1;
  if (cell.kind == ExportCell::kDate && cell.number >= 1) {
    // A date's text is the value's own (CStr) text, made once per day and time of day.
    cell.pieceCount = dates_.Split(V_DATE(&v.get()), cell.pieces, made);
  } else if (cell.kind == ExportCell::kBool) {
    cell.pieces[0] = cell.number != 0 ? TextPiece{L"True", kTrueId} : TextPiece{L"False", kFalseId};
  } else {
    v.TextInto(made);
    cell.pieces[0] = {made, -1};
  }
}

ExportCell GridExportTable::Cell(int row, int column) const {
  const size_t at = static_cast<size_t>(column);
  if (at >= columns_.size()) throw std::out_of_range("no such column");
  ExportRow cells;
  ReadRow(row, cells, ExportText::kAll);
  const ShownCell& shown = cells.cells[at];
  return {shown.kind, JoinedText(shown), shown.number};
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
