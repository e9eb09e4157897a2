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
  for (int n = 1; n <= 10; ++n) staged.Campo(n) = column(CampoColumn(n), 6 + n).toText();
  staged.Fecha = column(L"Fecha", 17).toDate();
  staged.CBarra = column(L"CBarra", 18).toText();
  staged.ReferenciaId = column(L"ReferenciaId", 19).toText();
  return staged;
}

}  // namespace vk::capture
