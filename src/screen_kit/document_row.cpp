#include "screen_kit/document_row.h"

#include <windows.h>

#include <utility>

#include "base/vb_error.h"
#include "screen_kit/data_access.h"
#include "screen_kit/shared_state.h"

namespace vk {
namespace {

// "Select <what> From <rowSource> Where DocumentoId = <id>", read; raises with the data
// object's reason when it cannot be.
Recordset RowsHolding(const DataAccess& data, std::wstring_view what, std::wstring_view rowSource, long documentId) {
  std::optional<Recordset> rows =
      data.GetData(Shared().gApplicationName, L"Select " + std::wstring(what) + L" From " + std::wstring(rowSource) +
                                                   L" Where DocumentoId = " + std::to_wstring(documentId));
  if (!rows) throw VbError{err::InternalError, L"", data.ErrDescription()};
  return std::move(*rows);
}

}  // namespace

std::vector<std::wstring> RowPaths(const DataAccess& data, std::wstring_view rowSource, long documentId) {
  const Recordset rows = RowsHolding(data, L"Path", rowSource, documentId);
  std::vector<std::wstring> paths;
  for (; !rows.IsEOF(); rows.MoveNext()) paths.push_back(rows.FieldText(L"Path"));
  return paths;
}

std::optional<std::wstring> DocumentRowPath(const DataAccess& data, long documentId) {
  std::vector<std::wstring> paths = RowPaths(data, L"Documentos", documentId);
  if (paths.empty()) return std::nullopt;
  return std::move(paths.front());
}

bool RowHoldsId(const DataAccess& data, std::wstring_view rowSource, long documentId) {
  return !RowsHolding(data, L"Top 1 DocumentoId", rowSource, documentId).IsEOF();
}

bool DocumentRowExists(const DataAccess& data, long documentId) { return RowHoldsId(data, L"Documentos", documentId); }

bool SameStoredPath(std::wstring_view a, std::wstring_view b) {
  auto trimmed = [](std::wstring_view path) {
    while (!path.empty() && path.back() == L' ') path.remove_suffix(1);
    return path;
  };
  a = trimmed(a);
  b = trimmed(b);
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace vk
