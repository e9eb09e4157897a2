#include "capture/document_record.h"

#include <vector>

#include "host/shared_functions.h"
#include "host/shared_state.h"
#include "runtime/clock.h"
#include "runtime/vb_error.h"

namespace vk::capture {
namespace {

constexpr std::wstring CatalogEntry::*kCampos[] = {
    &CatalogEntry::Campo01, &CatalogEntry::Campo02, &CatalogEntry::Campo03, &CatalogEntry::Campo04,
    &CatalogEntry::Campo05, &CatalogEntry::Campo06, &CatalogEntry::Campo07, &CatalogEntry::Campo08,
    &CatalogEntry::Campo09, &CatalogEntry::Campo10,
};

std::wstring CatalogEntry::*CampoMember(int n) {
  if (n < 1 || n > 10) Raise(err::SubscriptOutOfRange, L"CatalogEntry.Campo");
  return kCampos[n - 1];
}

// The column of Campo n: "Campo01" ... "Campo10".
std::wstring CampoColumn(int n) { return (n < 10 ? L"Campo0" : L"Campo") + std::to_wstring(n); }

}  // namespace

std::wstring& CatalogEntry::Campo(int n) { return this->*CampoMember(n); }
const std::wstring& CatalogEntry::Campo(int n) const { return this->*CampoMember(n); }

std::wstring ObservacionText() {
  return GetUserNameNT() + L" - Fecha : [ " + DateToText(ValidDate(Now())) + L"]\r\n" + std::wstring(34, L'-') +
         L"\r\nDocumento Ingresado al Sistema\r\n\r\n";
}

Variant DocumentParameters(const DocumentRecord& record) {
  std::vector<Variant> values{record.DocumentoId, record.CategoriaId, record.SubCategoriaId, record.GerenciaId,
                              record.TipoDocumentoId, record.Documento, record.Path};
  for (int n = 1; n <= 10; ++n) values.emplace_back(record.Campo(n));
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
  for (int n = 1; n <= 10; ++n) staged.Campo(n) = row.FieldText(CampoColumn(n));
  staged.Fecha = row.FieldDate(L"Fecha");
  staged.CBarra = row.FieldText(L"CBarra");
  staged.ReferenciaId = row.FieldText(L"ReferenciaId");
  return staged;
}

}  // namespace vk::capture
