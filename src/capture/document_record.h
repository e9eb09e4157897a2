#pragma once
// The working copy of one Documentos row that each capture screen keeps, and what
// both saves send from it: the observation text and the 24 values of the stored
// procedures Documentos_Add (cataloguing) and Documentos_Update (maintenance).
//
//   capture::DocumentRecord record;               // a member of the screen
//   record = capture::ReadDocumentRow(*rs);       // the maintenance load (row read whole)
//   static_cast<CatalogEntry&>(record) = thumbnailEntry;   // cataloguing
//   if (!capture::ExecuteDocumentProcedure(*data_, capture::kDocumentosAdd, record)) ...
//
#include <windows.h>
#include <oaidl.h>

#include <bitset>
#include <string>

#include "base/variant.h"
#include "screen_kit/catalog_entry.h"
#include "screen_kit/data_access.h"

namespace vk::capture {

inline constexpr wchar_t kDocumentosAdd[] = L"Documentos_Add";
inline constexpr wchar_t kDocumentosUpdate[] = L"Documentos_Update";

inline constexpr int kDocumentParameterCount = 24;

struct DocumentRecord : CatalogEntry {
  long DocumentoId = 0;
  std::wstring Observacion;          // built afresh by every save
  bool AppendObservacion = false;    // sent as the 22nd value; every save sets it
  // The columns that were Null when the row was read, by their place among the 24
  // values: a save sends each as Null again while it still holds the empty text or 0
  // it was read as, so a save without edits stores what it loaded.
  std::bitset<kDocumentParameterCount> NullWhenRead;
};

// What both saves say when a document could not be stored: their failure text, the
// reason, and the document's name between brackets.
inline constexpr wchar_t kSaveFailedText[] = L"Se Produjo un Error al Grabar el Detalle del Documento : ";
std::wstring SaveFailureText(const std::wstring& reason, const std::wstring& documento);

// The logon name, " - Fecha : [ ", the date and time now as the regional settings write
// them, "]", CR LF, 34 hyphens, CR LF, "Documento Ingresado al Sistema", CR LF CR LF.
std::wstring ObservacionText();

// The 24 values both procedures take, as a zero-based array copied from the record in
// the order of the column table (document_record.cpp): the record from DocumentoId to
// ReferenciaId, the observation, the flag, the logon name and today as "yyyy-mm-dd". A
// Fecha of 0 (no date) goes as Null, and so does a column that was Null when read and
// is still empty. A later change of the record does not reach the array.
Variant DocumentParameters(const DocumentRecord& record);

// What both saves do: a fresh observation and the flag into the record, then the
// procedure (kDocumentosAdd or kDocumentosUpdate) on the application database with the
// record's 24 values. True when the data-access component reports success.
bool ExecuteDocumentProcedure(const DataAccess& data, const std::wstring& procedure, DocumentRecord& record);

// The current row of a Documentos recordset, read whole by the same column table:
// DocumentoId and the entry (Null gives "", 0 or no date, noted in NullWhenRead). Raises when a column is missing
// or will not convert, so a caller never keeps half a row.
DocumentRecord ReadDocumentRow(const Recordset& row);

}  // namespace vk::capture
