#pragma once
// The spreadsheet export: one worksheet in the Excel 97 binary format (BIFF8) inside a
// compound document. The first row holds the captions; numbers and dates are written
// as numbers (dates with a date format), Booleans as Booleans, the rest as shared
// strings. A worksheet of this format holds 65,536 rows and 256 columns: a larger
// table raises instead of losing rows.
#include <cstdint>
#include <vector>

#include "hosted/grid/export_table.h"

namespace vk::grid {

// Raises unless a sheet holds that many data rows and columns (with the captions' row).
void CheckSpreadsheetFits(int rows, int columns);
std::vector<uint8_t> BuildWorkbookStream(const ExportTable& table, const std::wstring& sheetName);
void WriteSpreadsheet(const std::wstring& path, const ExportTable& table);

}  // namespace vk::grid
