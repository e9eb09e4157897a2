#pragma once
// The audit screen's query and grid: the statement built from the filters, the
// grid's ten columns with their value lists, and the log row as the grid shows it.
#include <optional>
#include <string>

#include <windows.h>
#include <oaidl.h>

namespace vk::consult {

// What the filters ask for; an unset key or date filters nothing. Keys are pasted as
// quoted texts, their quotes doubled; the document's key as a number.
struct LogFilters {
  std::optional<std::wstring> categoriaId, subCategoriaId, gerenciaId, usuario, documentoId;
  std::optional<DATE> desde, hasta;  // both days included
};

// "Select * From DocumentosLog Where 1 = 1" and one condition per filter set.
std::wstring BuildLogQuery(const LogFilters& filters);

// One column of the audit grid, in the grid's order.
struct LogColumn {
  const wchar_t* key;  // the log field it shows, also the column's key
  const wchar_t* caption;
  int widthPercent;
  int alignment;
  const wchar_t* valueList;  // SELECT of stored value and shown text, or nullptr
  bool securityDatabase;     // the value list reads the security database ("VkS")
};
inline constexpr int kLogColumnCount = 10;
extern const LogColumn kLogColumns[kLogColumnCount];

}  // namespace vk::consult
