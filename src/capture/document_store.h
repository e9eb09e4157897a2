#pragma once
// The document store: a folder tree under the destination root of the shared state
// where every catalogued file lives, at
//   root \ category padded to 5 \ sub-category padded to 5 \ id padded to 20 . ext
// ("0"-filled after trimming, never cut; ext is the last three characters of the
// source name in their own case; the root is used as stored). All file work goes
// through the file-system layer (hosted/file_system.h).
#include <optional>
#include <string>
#include <vector>

#include "capture/document_record.h"
#include "hosted/file_system.h"

namespace vk::capture {

std::wstring CategoryFolder(const std::wstring& root, const std::wstring& categoriaId);
std::wstring SubCategoryFolder(const std::wstring& root, const std::wstring& categoriaId,
                               const std::wstring& subCategoriaId);
std::wstring DocumentStorePath(const std::wstring& root, const std::wstring& categoriaId,
                               const std::wstring& subCategoriaId, long documentoId, const std::wstring& documento);
// The stored path of the record's category, sub-category, id and source name under the
// shared state's destination root.
std::wstring DocumentStorePath(const DocumentRecord& record);

// True when the root can hold a store: a full path (a drive or UNC path) of a folder
// that exists.
bool StoreRootUsable(const std::wstring& root);

// What became of a move into the store.
enum class StoreMove {
  Moved,
  PathTaken,    // a file or folder has the stored path already: it is never overwritten
  AnotherFile,  // the source's name leads to another file than the one keyed for
  Refused,    // anything else
};

// Moves the file at `file.at` into the store at DocumentStorePath(record), creating the
// category and sub-category folders when missing. Refused, having moved and created
// nothing, when the root is empty, relative (not a drive or UNC path) or missing, when
// a folder or file name of the path would hold \ / : * ? " < > | or be "." or "..", or
// when there is no file at `file.at`; PathTaken only when the stored path itself exists
// and the file is where the move found it or under its own name. When `file.identity` is
// given, only that very file is moved: another one where it is looked for is AnotherFile.
// A move that fails part-way (a store folder that cannot be made, a copy to another
// volume that runs out of space, a source that cannot go) leaves no new file, and `file`
// says where the file is (hosted::MoveFileNoReplace); the system's reason goes into
// `reason` when asked for (empty for the refusals above). No message.
StoreMove MoveDocumentFile(const DocumentRecord& record, hosted::TrackedFile& file, std::wstring* reason = nullptr);

// The ids the store's files hold, wherever they lie: a file named by a 20-digit id,
// with any extension, in any sub-category folder of any category folder of the root.
// Read once per save pass (one listing of the root, of each category folder and of each
// sub-category folder: some 5 microseconds a stored file under Wine) and kept current by
// the pass as it files, so a candidate id costs no look at the disk.
class StoredIds {
 public:
  static StoredIds Read(const std::wstring& root);
  bool Holds(long id) const;
  void Add(long id);

 private:
  std::vector<long> ids_;  // ascending: four bytes a stored file
};

// Copies a file into the folder of the TEMP variable under BuildTempFileName's name
// with the extension "TMP"; the copy's path, or "" on any failure.
std::wstring CopyToTemp(const std::wstring& source);

}  // namespace vk::capture
