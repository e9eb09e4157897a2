#pragma once
// What the screens use of the scripting file-system object: folder checks, folder
// creation, moving and copying files, and a folder's files in name order. Failures
// raise VbError with the scripting runtime's numbers (53 file not found, 58 file
// already exists, 70 permission denied, 76 path not found).
#include <string>
#include <vector>

namespace vk::hosted {

struct FolderFile {
  std::wstring name;  // without folder
  std::wstring path;  // folder, backslash, name
};

bool FolderExists(const std::wstring& path);
// True when a file (not a folder) of that path exists.
bool FileExists(const std::wstring& path);
// Creates one folder; its parent must exist. An existing folder raises 58.
void CreateFolder(const std::wstring& path);
// Moves a file; an existing destination raises 58 and is left as it was.
void MoveFileNoReplace(const std::wstring& source, const std::wstring& destination);
// Copies a file over an existing destination.
void CopyFileReplacing(const std::wstring& source, const std::wstring& destination);
// The files of a folder (not its sub-folders), ordered by name without regard to case.
// A missing folder raises 76.
std::vector<FolderFile> FolderFiles(const std::wstring& folder);

}  // namespace vk::hosted
