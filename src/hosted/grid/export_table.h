#pragma once
// What the export writers read: a table of captions and cells as the grid shows them.
#include <windows.h>

#include <string>

namespace vk::grid {

// Whether a writer reads the shown text of numbers, dates and Booleans too (a delimited
// file) or only their values (a spreadsheet).
enum class ExportText { kAll, kTextsOnly };

struct ExportCell {
  enum Kind { kBlank, kText, kNumber, kDate, kBool } kind = kBlank;
  std::wstring text;   // as shown (every kind but kBlank; texts only with kTextsOnly)
  double number = 0;   // kNumber, kDate (an OLE date), kBool (0 or 1)
};

class ExportTable {
 public:
  virtual ~ExportTable() = default;
  virtual int ColumnCount() const = 0;
  virtual int RowCount() const = 0;
  virtual std::wstring Caption(int column) const = 0;
  virtual float ColumnWidth(int column) const = 0;  // twips
  virtual ExportCell Cell(int row, int column) const = 0;
  // The same into a cell the caller reuses, so that a writer walking every cell keeps
  // one text buffer instead of making one per cell.
  virtual void FillCell(int row, int column, ExportCell& cell, ExportText = ExportText::kAll) const {
    cell = Cell(row, column);
  }
};

// Writes bytes to a file, replacing it; raises the platform's file errors (path not
// found, permission denied...) with the file's name in the text.
void WriteWholeFile(const std::wstring& path, const void* data, size_t size);

}  // namespace vk::grid
