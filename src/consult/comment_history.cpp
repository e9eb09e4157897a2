#include "consult/comment_history.h"

#include <optional>

#include "base/steps.h"
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

// The history as stored; nothing when the document is gone. Raises when it cannot be read.
std::optional<StoredHistory> ReadHistory(const DataAccess& data, const std::wstring& key, const std::wstring& id) {
  auto stored = data.GetData(
      key, L"Select DataLength(Comentarios) As Size, Comentarios From Documentos Where DocumentoId = " + id);
  if (!stored) Refused(data);
  if (stored->IsEOF()) return std::nullopt;
  return StoredHistory{stored->FieldLong(L"Size"), stored->FieldText(L"Comentarios")};
}

[[noreturn]] void Gone(long documentId) { throw VbError{err::NoCurrentRecord, L"", DocumentGoneText(documentId)}; }

}  // namespace

std::wstring CommentEntry(const std::wstring& user, DATE when, const std::wstring& text) {
  return user + L" - Fecha : [ " + DateToText(when) + L"]\r\n" + text + L"\r\n\r\n";
}

std::wstring DocumentGoneText(long documentId) {
  return L"El documento " + std::to_wstring(documentId) + L" ya no existe";
}

AppendOutcome AppendToHistory(const DataAccess& data, const std::wstring& key, long documentId,
                              const std::wstring& entry) {
  const std::wstring id = std::to_wstring(documentId);
  std::optional<StoredHistory> read = ReadHistory(data, key, id);
  if (!read) Gone(documentId);
  StoredHistory present = std::move(*read);
  for (int attempt = 1;; ++attempt) {
    const std::wstring history = present.text + entry;
    bool accepted = false;
    VbError raised;
    // A component may raise after its write went in: only a plain refusal is a failure.
    const bool answered = IgnoreErrors(
        [&] {
          accepted = data.ExecuteSql(key, L"Update Documentos Set Comentarios = '" + SqlText(history) +
                                              L"' Where DocumentoId = " + id +
                                              L" And Coalesce(DataLength(Comentarios), 0) = " +
                                              std::to_wstring(present.size));
        },
        &raised);
    if (answered && !accepted) Refused(data);
    VbError unread;
    if (!IgnoreErrors([&] { read = ReadHistory(data, key, id); }, &unread))
      return {false, history, answered ? unread.description : raised.description + L" - " + unread.description};
    if (!read) Gone(documentId);
    StoredHistory& now = *read;
    if (now.text.starts_with(history)) return {true, now.text, L""};
    if (!answered) throw raised;
    if (now.size == present.size && now.text == present.text)
      throw VbError{err::InternalError, L"", L"La base de datos no guardó el comentario del documento " + id};
    if (attempt == kAppendAttempts)
      throw VbError{err::InternalError, L"", L"Los comentarios del documento " + id + L" cambian sin cesar"};
    present = std::move(now);
  }
}

}  // namespace vk::consult
