#pragma once
// The audit grid's export: the names it writes under and the safe replacement of the
// chosen file (the command itself is a member of the screen, in log_export.cpp).
#include <functional>
#include <string>

namespace vk::consult {

// The chosen folder and name, with ".Xls" added unless the name already ends in ".xls"
// (any case): "informe" gives "informe.Xls", "informe.xlsx" "informe.xlsx.Xls".
std::wstring ExportFileName(const std::wstring& folder, const std::wstring& name);

// Where the delimited text goes when the spreadsheet cannot be written: the whole name
// upper-cased with only its final ".XLS" replaced by ".csv" ("C:\a.xls\b.Xls" gives
// "C:\A.XLS\B.csv").
std::wstring FallbackFileName(const std::wstring& exportName);

// Has `write` write a temporary file in the target's folder and puts it in place of
// `target` only once it succeeded; a read-only target is refused before anything is
// written. On any failure the target is as it was, the
// temporary file is gone and a VbError gives the reason.
void ReplaceFileWith(const std::wstring& target, const std::function<void(const std::wstring& temporary)>& write);

}  // namespace vk::consult
