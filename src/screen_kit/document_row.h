#pragma once
// Whether a document still has its row: the one read every screen makes before acting
// on a document another user may have deleted, or whose id another clerk may have taken.
// The row's stored path comes with it, in the same read: a row under the same id with
// another path is another document.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

class DataAccess;

// The Paths the rows of `rowSource` (Documentos, or the external documents' view) hold
// under `documentId` ("" for a Null one), as many as there are rows. Raises a VbError
// with the data object's reason when the rows cannot be read.
std::vector<std::wstring> RowPaths(const DataAccess& data, std::wstring_view rowSource, long documentId);

// The Path of the Documentos row that holds `documentId` ("" for a Null one), or
// nothing when no row holds it. Raises a VbError with the data object's reason when the
// row cannot be read.
std::optional<std::wstring> DocumentRowPath(const DataAccess& data, long documentId);

// True when a row of `rowSource` (Documentos, or the read log DocumentosLog) holds
// `documentId`; raises as RowPaths does.
bool RowHoldsId(const DataAccess& data, std::wstring_view rowSource, long documentId);

// True when a Documentos row holds `documentId`; raises as DocumentRowPath does.
bool DocumentRowExists(const DataAccess& data, long documentId);

// True when two stored paths name the same file as Windows reads a path: without regard
// to case, trailing blanks ignored (a database may hand text back padded or folded).
bool SameStoredPath(std::wstring_view a, std::wstring_view b);

}  // namespace vk
