#include "hosted/grid/export_table.h"

namespace vk::grid {

namespace {

// Each cell through the table's Cell(), its text kept in the row.
class CellReader : public RowReader {
 public:
  explicit CellReader(const ExportTable& table) : table_(table) {}
  void Read(int row, ExportRow& out, ExportText) override {
    const auto columns = static_cast<size_t>(table_.ColumnCount());
    out.cells.resize(columns);
    out.made.resize(columns);
    for (size_t c = 0; c < columns; ++c) {
      ExportCell cell = table_.Cell(row, static_cast<int>(c));
      out.made[c] = std::move(cell.text);
      out.cells[c] = {cell.kind, cell.number, 1, {{out.made[c]}, {}}};
    }
  }

 private:
  const ExportTable& table_;
};

}  // namespace

std::unique_ptr<RowReader> ExportTable::Reader() const { return std::make_unique<CellReader>(*this); }

std::wstring JoinedText(const ShownCell& cell) {
  std::wstring text;
  for (int p = 0; p < cell.pieceCount; ++p) text += cell.pieces[p].text;
  return text;
}

}  // namespace vk::grid
