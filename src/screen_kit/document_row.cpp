#include "screen_kit/document_row.h"

#include <windows.h>

#include "base/vb_error.h"
#include "screen_kit/data_access.h"
#include "screen_kit/shared_state.h"

namespace vk {

std::optional<std::wstring> DocumentRowPath(const DataAccess& data, long documentId) {
  std::optional<Recordset> row = data.GetData(
      Shared().gApplicationName, L"Select Path From Documentos Where DocumentoId = " + std::to_wstring(documentId));
  if (!row) throw VbError{err::InternalError, L"", data.ErrDescription()};
  if (row->IsEOF()) return std::nullopt;
  return row->FieldText(L"Path");
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
