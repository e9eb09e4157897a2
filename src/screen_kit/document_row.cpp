#include "screen_kit/document_row.h"

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

}  // namespace vk
