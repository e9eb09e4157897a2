#include "screen_kit/document_row.h"

#include <windows.h>

#include <utility>

#include "base/vb_error.h"
#include "screen_kit/data_access.h"
#include "screen_kit/shared_state.h"

namespace vk {

std::vector<std::wstring> RowPaths(const DataAccess& data, std::wstring_view rowSource, long documentId) {
  std::optional<Recordset> rows =
      data.GetData(Shared().gApplicationName, L"Select Path From " + std::wstring(rowSource) +
                                                   L" Where DocumentoId = " + std::to_wstring(documentId));
  if (!rows) throw VbError{err::InternalError, L"", data.ErrDescription()};
  std::vector<std::wstring> paths;
  for (; !rows->IsEOF(); rows->MoveNext()) paths.push_back(rows->FieldText(L"Path"));
  return paths;
}

std::optional<std::wstring> DocumentRowPath(const DataAccess& data, long documentId) {
  std::vector<std::wstring> paths = RowPaths(data, L"Documentos", documentId);
  if (paths.empty()) return std::nullopt;
  return std::move(paths.front());
}

bool DocumentRowExists(const DataAccess& data, long documentId) {
  return DocumentRowPath(data, documentId).has_value();
}

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
