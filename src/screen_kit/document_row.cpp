#include "screen_kit/document_row.h"

#include <optional>
#include <string>

#include "base/vb_error.h"
#include "screen_kit/data_access.h"
#include "screen_kit/shared_state.h"

namespace vk {

bool DocumentRowExists(const DataAccess& data, long documentId) {
  std::optional<Recordset> row = data.GetData(
      Shared().gApplicationName, L"Select DocumentoId From Documentos Where DocumentoId = " + std::to_wstring(documentId));
  if (!row) throw VbError{err::InternalError, L"", data.ErrDescription()};
  return !row->IsEOF();
}

}  // namespace vk
