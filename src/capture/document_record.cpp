#include "capture/document_record.h"

#include <vector>

#include "host/shared_functions.h"
#include "host/shared_state.h"
#include "runtime/clock.h"

namespace vk::capture {

std::wstring ObservacionText() {
  return GetUserNameNT() + L" - Fecha : [ " + DateToText(ValidDate(Now())) + L"]\r\n" + std::wstring(34, L'-') +
         L"\r\nDocumento Ingresado al Sistema\r\n\r\n";
}

Variant DocumentParameters(const DocumentRecord& record) {
  std::vector<Variant> values{record.DocumentoId, record.CategoriaId, record.SubCategoriaId, record.GerenciaId,
                              record.TipoDocumentoId, record.Documento, record.Path};
  for (int n = 1; n <= kCampoCount; ++n) values.emplace_back(record.Campo(n));
  values.push_back(Variant::FromDate(ValidDate(record.Fecha)));
  values.emplace_back(record.CBarra);
  values.emplace_back(record.ReferenciaId);
  values.emplace_back(record.Observacion);
  values.emplace_back(record.AppendObservacion);
  values.emplace_back(GetUserNameNT());
  values.emplace_back(FormatDate(Now(), L"yyyy-mm-dd"));
  return Variant::Array(values, 0);
}

bool ExecuteDocumentProcedure(const DataAccess& data, const std::wstring& procedure, DocumentRecord& record) {
  record.Observacion = ObservacionText();
  record.AppendObservacion = true;
  return data.ExecuteProcedure(Shared().gApplicationName, procedure, DocumentParameters(record));
}

DocumentRecord ReadDocumentRow(const Recordset& row) {
  DocumentRecord staged;
  staged.DocumentoId = row.FieldLong(L"DocumentoId");
  staged.CategoriaId = row.FieldText(L"CategoriaId");
  staged.SubCategoriaId = row.FieldText(L"SubCategoriaId");
  staged.GerenciaId = row.FieldText(L"GerenciaId");
  staged.TipoDocumentoId = row.FieldLong(L"TipoDocumentoId");
  staged.Documento = row.FieldText(L"Documento");
  staged.Path = row.FieldText(L"Path");
  for (int n = 1; n <= kCampoCount; ++n) staged.Campo(n) = row.FieldText(CampoName(n));
  staged.Fecha = row.FieldDate(L"Fecha");
  staged.CBarra = row.FieldText(L"CBarra");
  staged.ReferenciaId = row.FieldText(L"ReferenciaId");
  return staged;
}

}  // namespace vk::capture
