#include "consult/comment_history.h"

#include "base/variant.h"
#include "base/vb_error.h"
#include "screen_kit/data_access.h"
#include "screen_kit/sql_text.h"

namespace vk::consult {
namespace {

// How often an entry is joined again to a history that other users' entries reached
// first. Each time one of theirs was written, so a busy document still moves on.
constexpr int kAppendAttempts = 10;

// The history as stored, with its size as the database counts it.
struct StoredHistory {
  long size = 0;
  std::wstring text;
};

[[noreturn]] void Refused(const DataAccess& data) { throw VbError{err::InternalError, L"", data.ErrDescription()}; }

StoredHistory ReadHistory(const DataAccess& data, const std::wstring& key, const std::wstring& id, long documentId) {
  auto stored = data.GetData(
      key, L"Select DataLength(Comentarios) As Size, Comentarios From Documentos Where DocumentoId = " + id);
  if (!stored) Refused(data);
  if (stored->IsEOF()) throw VbError{err::NoCurrentRecord, L"", DocumentGoneText(documentId)};
  return {stored->FieldLong(L"Size"), stored->FieldText(L"Comentarios")};
}

}  // namespace

std::wstring CommentEntry(const std::wstring& user, DATE when, const std::wstring& text) {
  return user + L" - Fecha : [ " + DateToText(when) + L"]\r\n" + text + L"\r\n\r\n";
}

std::wstring DocumentGoneText(long documentId) {
  return L"El documento " + std::to_wstring(documentId) + L" ya no existe";
}

std::wstring AppendToHistory(const DataAccess& data, const std::wstring& key, long documentId,
                             const std::wstring& entry) {
  const std::wstring id = std::to_wstring(documentId);
  StoredHistory present = ReadHistory(data, key, id, documentId);
  for (int attempt = 1;; ++attempt) {
    const std::wstring history = present.text + entry;
    if (!data.ExecuteSql(key, L"Update Documentos Set Comentarios = '" + SqlText(history) +
                                  L"' Where DocumentoId = " + id + L" And Coalesce(DataLength(Comentarios), 0) = " +
                                  std::to_wstring(present.size)))
      Refused(data);
    StoredHistory now = ReadHistory(data, key, id, documentId);
    if (now.text.starts_with(history)) return now.text;
    if (now.size == present.size && now.text == present.text)
      throw VbError{err::InternalError, L"", L"La base de datos no guardó el comentario del documento " + id};
    if (attempt == kAppendAttempts)
      throw VbError{err::InternalError, L"", L"Los comentarios del documento " + id + L" cambian sin cesar"};
    present = std::move(now);
  }
}

}  // namespace vk::consult
