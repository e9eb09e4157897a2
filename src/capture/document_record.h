#pragma once
// The working copy of one Documentos row that each capture screen keeps, and what
// both saves send from it: the observation text and the 24 values of the stored
// procedures Documentos_Add (cataloguing) and Documentos_Update (maintenance).
//
//   capture::DocumentRecord record;               // a member of the screen
//   record = capture::ReadDocumentRow(*rs);       // the maintenance load (row read whole)
//   static_cast<capture::CatalogEntry&>(record) = thumbnailEntry;   // cataloguing
//   if (!capture::ExecuteDocumentProcedure(*data_, capture::kDocumentosAdd, record)) ...
//
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "capture/catalog_entry.h"
#include "host/data_access.h"
#include "runtime/variant.h"

namespace vk::capture {

inline constexpr wchar_t kDocumentosAdd[] = L"Documentos_Add";
inline constexpr wchar_t kDocumentosUpdate[] = L"Documentos_Update";

struct DocumentRecord : CatalogEntry {
  long DocumentoId = 0;
  std::wstring Observacion;          // built afresh by every save
  bool AppendObservacion = false;    // sent as the 22nd value; every save sets it
};

// The logon name, " - Fecha : [ ", the date and time now as the regional settings write
// them, "]", CR LF, 34 hyphens, CR LF, "Documento Ingresado al Sistema", CR LF CR LF.
std::wstring ObservacionText();

// The 24 values both procedures take, as a zero-based array copied from the record:
// the record from DocumentoId to ReferenciaId, the observation, the flag, the logon
// name and today as "yyyy-mm-dd". A later change of the record does not reach it.
Variant DocumentParameters(const DocumentRecord& record);

// What both saves do: a fresh observation and the flag into the record, then the
// procedure (kDocumentosAdd or kDocumentosUpdate) on the application database with the
// record's 24 values. True when the data-access component reports success.
bool ExecuteDocumentProcedure(const DataAccess& data, const std::wstring& procedure, DocumentRecord& record);

// The current row of a Documentos recordset, read whole: DocumentoId and the entry
// (Null gives "", 0 or no date). Raises when a column is missing or will not convert,
// so a caller never keeps half a row.
DocumentRecord ReadDocumentRow(const Recordset& row);

}  // namespace vk::capture
