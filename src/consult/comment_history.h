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
// stored now and written again. No entry is lost and none is written twice.
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

// Appends `entry` to the history of document `documentId` on the database of `key` and
// answers the history as stored now (the entry, and any entry another user appended
// after it). Raises a VbError with the reason when the document is gone, the component
// refuses a call, or other users' entries keep coming first.
std::wstring AppendToHistory(const DataAccess& data, const std::wstring& key, long documentId,
                             const std::wstring& entry);

}  // namespace vk::consult
