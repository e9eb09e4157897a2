#include "capture/document_record.h"

#include <iterator>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/clock.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::capture {
namespace {

Variant LogonName() { return GetUserNameNT(); }
Variant TodayText() { return FormatDate(Now(), L"yyyy-mm-dd"); }

// Where one of the 24 values lives; its type says how it is sent and read back. The
// last kind comes from the session, not from the record.
using DocumentValue = std::variant<long DocumentRecord::*, std::wstring DocumentRecord::*,
                                   DATE DocumentRecord::*, bool DocumentRecord::*, Variant (*)()>;

struct DocumentColumn {
  const wchar_t* name;  // the Documentos column a row read fills it from; nullptr: only sent
  DocumentValue value;
};

// The 24 values of Documentos_Add and Documentos_Update, in the procedures' order.
constexpr DocumentColumn kDocumentColumns[] = {
    {L"DocumentoId", &DocumentRecord::DocumentoId},
    {L"CategoriaId", &DocumentRecord::CategoriaId},
    {L"SubCategoriaId", &DocumentRecord::SubCategoriaId},
    {L"GerenciaId", &DocumentRecord::GerenciaId},
    {L"TipoDocumentoId", &DocumentRecord::TipoDocumentoId},
    {L"Documento", &DocumentRecord::Documento},
    {L"Path", &DocumentRecord::Path},
    {L"Campo01", &DocumentRecord::Campo01},
    {L"Campo02", &DocumentRecord::Campo02},
    {L"Campo03", &DocumentRecord::Campo03},
    {L"Campo04", &DocumentRecord::Campo04},
    {L"Campo05", &DocumentRecord::Campo05},
    {L"Campo06", &DocumentRecord::Campo06},
    {L"Campo07", &DocumentRecord::Campo07},
    {L"Campo08", &DocumentRecord::Campo08},
    {L"Campo09", &DocumentRecord::Campo09},
    {L"Campo10", &DocumentRecord::Campo10},
    {L"Fecha", &DocumentRecord::Fecha},
    {L"CBarra", &DocumentRecord::CBarra},
    {L"ReferenciaId", &DocumentRecord::ReferenciaId},
    {nullptr, &DocumentRecord::Observacion},
    {nullptr, &DocumentRecord::AppendObservacion},
    {nullptr, &LogonName},
    {nullptr, &TodayText},
};
static_assert(std::size(kDocumentColumns) == kDocumentParameterCount);

// A Fecha of 0 (no date) goes as Null.
Variant SentValue(const DocumentRecord& record, const DocumentValue& value) {
  return std::visit(
      [&](auto field) -> Variant {
        using Field = decltype(field);
        if constexpr (std::is_same_v<Field, Variant (*)()>) {
          return field();
        } else if constexpr (std::is_same_v<Field, DATE DocumentRecord::*>) {
          return record.*field == 0 ? Variant::Null() : Variant::FromDate(ValidDate(record.*field));
        } else {
          return Variant(record.*field);
        }
      },
      value);
}

void ReadValue(DocumentRecord& record, const DocumentValue& value, const Variant& read) {
  std::visit(
      [&](auto field) {
        using Field = decltype(field);
        if constexpr (std::is_same_v<Field, long DocumentRecord::*>) record.*field = read.toLong();
        if constexpr (std::is_same_v<Field, std::wstring DocumentRecord::*>) record.*field = read.toText();
        if constexpr (std::is_same_v<Field, DATE DocumentRecord::*>) record.*field = read.toDate();
        // the flag and the session's values have no column to come back from
      },
      value);
}

}  // namespace

std::wstring SaveFailureText(const std::wstring& reason, const std::wstring& documento) {
  return kSaveFailedText + reason + L" [ " + documento + L" ]";
}

std::wstring ObservacionText() {
  return GetUserNameNT() + L" - Fecha : [ " + DateToText(ValidDate(Now())) + L"]\r\n" + std::wstring(34, L'-') +
         L"\r\nDocumento Ingresado al Sistema\r\n\r\n";
}

Variant DocumentParameters(const DocumentRecord& record) {
  std::vector<Variant> values;
  for (const DocumentColumn& column : kDocumentColumns) values.push_back(SentValue(record, column.value));
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
  // Each column once, in the procedures' order; Null reads as Empty ("", 0).
  for (size_t place = 0; place < std::size(kDocumentColumns); ++place) {
    const DocumentColumn& column = kDocumentColumns[place];
    if (!column.name) continue;
    Variant value = row.Field(column.name);
    if (value.isNull()) {
      staged.NullWhenRead.set(place);
      value = Variant();
    }
    ReadValue(staged, column.value, value);
  }
  return staged;
}

}  // namespace vk::capture
