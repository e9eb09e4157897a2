#pragma once
// What the export writers read: a table of captions and cells as the grid shows them.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vk::grid {

// Whether a writer reads the shown text of numbers, dates and Booleans too (a delimited
// file) or only their values (a spreadsheet).
enum class ExportText { kAll, kTextsOnly };

struct ExportCell {
  enum Kind { kBlank, kText, kNumber, kDate, kBool } kind = kBlank;
  std::wstring text;   // as shown (every kind but kBlank; texts only with kTextsOnly)
  double number = 0;   // kNumber, kDate (an OLE date), kBool (0 or 1)
};

// A part of a shown text. One with an id repeats (a value list's text, a day, a time of
// day): for one table the same id stands for the same text, so that a writer converts
// each such text once. -1: a text of this cell only.
struct TextPiece {
  std::wstring_view text;
  int id = -1;
};

// A cell as ReadRow hands it: its text is its pieces one after the other, seen in place
// (no copy per cell).
struct ShownCell {
  ExportCell::Kind kind = ExportCell::kBlank;
  double number = 0;
  int pieceCount = 0;
  TextPiece pieces[2];
};

// One row as ReadRow fills it: the cells, and a text per column for texts made for the
// row (numbers as shown), reused from row to row.
struct ExportRow {
  std::vector<ShownCell> cells;
  std::vector<std::wstring> made;
};

class ExportTable {
 public:
  virtual ~ExportTable() = default;
  virtual int ColumnCount() const = 0;
  virtual int RowCount() const = 0;
  virtual std::wstring Caption(int column) const = 0;
  virtual float ColumnWidth(int column) const = 0;  // twips
  virtual ExportCell Cell(int row, int column) const = 0;
  // Every cell of a row, by default through Cell(); their views stay valid until the
  // next call and while the table lives.
  virtual void ReadRow(int row, ExportRow& out, ExportText text) const;
};

// A cell's text as one string (the pieces joined).
std::wstring JoinedText(const ShownCell& cell);

}  // namespace vk::grid
