#include "capture/document_record.h"

#include <vector>

#include "base/clock.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::capture {

std::wstring SaveFailureText(const std::wstring& reason, const std::wstring& documento) {
  return kSaveFailedText + reason + L" [ " + documento + L" ]";
}

std::wstring ObservacionText() {
  return GetUserNameNT() + L" - Fecha : [ " + DateToText(ValidDate(Now())) + L"]\r\n" + std::wstring(34, L'-') +
         L"\r\nDocumento Ingresado al Sistema\r\n\r\n";
}

Variant DocumentParameters(const DocumentRecord& record) {
  std::vector<Variant> values{record.DocumentoId, record.CategoriaId, record.SubCategoriaId, record.GerenciaId,
                              record.TipoDocumentoId, record.Documento, record.Path};
  for (int n = 1; n <= kCampoCount; ++n) values.emplace_back(record.Campo(n));
  values.push_back(record.Fecha == 0 ? Variant::Null() : Variant::FromDate(ValidDate(record.Fecha)));
  values.emplace_back(record.CBarra);
  values.emplace_back(record.ReferenciaId);
  values.emplace_back(record.Observacion);
  values.emplace_back(record.AppendObservacion);
  values.emplace_back(GetUserNameNT());
  values.emplace_back(FormatDate(Now(), L"yyyy-mm-dd"));
  for (size_t place = 0; place < values.size(); ++place) {
    const Variant& value = values[place];
    const bool empty = value.isText() ? value.toText().empty() : value.isNumeric() && value.toDouble() == 0;
    if (record.NullWhenRead.test(place) && empty) values[place] = Variant::Null();
  }
  return Variant::Array(values, 0);
}

bool ExecuteDocumentProcedure(const DataAccess& data, const std::wstring& procedure, DocumentRecord& record) {
  record.Observacion = ObservacionText();
  record.AppendObservacion = true;
  return data.ExecuteProcedure(Shared().gApplicationName, procedure, DocumentParameters(record));
}

DocumentRecord ReadDocumentRow(const Recordset& row) {
  DocumentRecord staged;
  // Each column once, by its place among the 24 values; Null reads as Empty ("", 0).
  auto column = [&](const std::wstring& name, int place) {
    Variant value = row.Field(name);
    if (!value.isNull()) return value;
    staged.NullWhenRead.set(place);
    return Variant();
  };
  staged.DocumentoId = column(L"DocumentoId", 0).toLong();
  staged.CategoriaId = column(L"CategoriaId", 1).toText();
  staged.SubCategoriaId = column(L"SubCategoriaId", 2).toText();
  staged.GerenciaId = column(L"GerenciaId", 3).toText();
  staged.TipoDocumentoId = column(L"TipoDocumentoId", 4).toLong();
  staged.Documento = column(L"Documento", 5).toText();
  staged.Path = column(L"Path", 6).toText();
  for (int n = 1; n <= kCampoCount; ++n) staged.Campo(n) = column(CampoName(n), 6 + n).toText();
  staged.Fecha = column(L"Fecha", 17).toDate();
  staged.CBarra = column(L"CBarra", 18).toText();
  staged.ReferenciaId = column(L"ReferenciaId", 19).toText();
  return staged;
}

}  // namespace vk::capture
