#pragma once
// The comment history of a document (the column Comentarios of Documentos), which users
// of several computers append to at once. The column is a `text` column, which the
// database neither compares nor joins, and the data-access component tells nothing of
// the rows a statement changed: only GetData, Execute and ErrDescription are used.
//
// So an entry is written over the history it was joined to only while the stored
// history still has the size it had when it was read (a history only ever grows), and
// the row is read back to learn the outcome: the stored history begins with what was
// written, or another user's entry came first and the entry is joined to what is
// stored now and written again. No entry is lost and none is written twice. A write whose
// history cannot be read back is told as sent and not confirmed, never as not stored.
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace vk {
class DataAccess;
}

namespace vk::consult {

// One entry as the history keeps it: who, when, then the text and two line breaks.
std::wstring CommentEntry(const std::wstring& user, DATE when, const std::wstring& text);

// The text that tells a document is gone.
std::wstring DocumentGoneText(long documentId);

// What became of an appended entry: stored (`history` is the history as stored now: the
// entry, and any entry another user appended after it), or sent and not confirmed: the
// write was accepted, or raised, and the history could not be read back (`reason`), so
// the entry may well be stored (`history` is then the history as sent).
struct AppendOutcome {
  bool confirmed = false;
  std::wstring history;
  std::wstring reason;
};

// Appends `entry` to the history of document `documentId` on the database of `key`.
// Raises a VbError with the reason when the entry was not stored: the document is gone,
// the component refuses the write, or other users' entries keep coming first.
AppendOutcome AppendToHistory(const DataAccess& data, const std::wstring& key, long documentId,
                              const std::wstring& entry);

}  // namespace vk::consult
