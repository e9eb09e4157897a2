#include "hosted/grid/export_table.h"

namespace vk::grid {

// Each cell through Cell(), its text kept in the row.
void ExportTable::ReadRow(int row, ExportRow& out, ExportText) const {
  const auto columns = static_cast<size_t>(ColumnCount());
  out.cells.resize(columns);
  out.made.resize(columns);
  for (size_t c = 0; c < columns; ++c) {
    ExportCell cell = Cell(row, static_cast<int>(c));
    out.made[c] = std::move(cell.text);
    out.cells[c] = {cell.kind, cell.number, 1, {{out.made[c]}, {}}};
  }
}

std::wstring JoinedText(const ShownCell& cell) {
  std::wstring text;
  for (int p = 0; p < cell.pieceCount; ++p) text += cell.pieces[p].text;
  return text;
}

}  // namespace vk::grid
