#pragma once
// The delimited-text export: captions, then one line per row, fields as shown, joined
// by the separator. A field holding the separator, a quote or a line break is quoted,
// with its quotes doubled. UTF-8 with a byte-order mark, lines ended by CR LF.
#include <string>

#include "hosted/grid/export_table.h"

namespace vk::grid {

std::wstring QuoteField(const std::wstring& field, const std::wstring& separator);
// Writes the file a chunk at a time, as the rows are read.
void WriteDelimited(const std::wstring& path, const ExportTable& table, const std::wstring& separator);

}  // namespace vk::grid
