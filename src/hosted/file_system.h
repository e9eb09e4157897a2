#pragma once
// What the screens use of the scripting file-system object: folder checks, folder
// creation, moving and copying files, and a folder's files in name order. Failures
// raise VbError with the scripting runtime's numbers (53 file not found, 58 file
// already exists, 61 disk full, 70 permission denied, 76 path not found) and the
// system's own reason as the description.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/seam.h"

namespace vk::hosted {

struct FolderFile {
  std::wstring name;  // without folder
  std::wstring path;  // folder, backslash, name
};

// A file's size and last write: what tells that a path still holds the same file.
struct FileStamp {
  unsigned long long size = 0;
  unsigned long long lastWrite = 0;  // FILETIME ticks
  bool operator==(const FileStamp&) const = default;
};

bool FolderExists(const std::wstring& path);
// Reads a whole file (one that others may be writing); false, and no bytes, when it
// cannot be opened or read whole.
bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes);
// True when a file (not a folder) of that path exists.
bool FileExists(const std::wstring& path);
// The stamp of a file (not a folder); nothing when there is no such file.
std::optional<FileStamp> StampOf(const std::wstring& path);
// Creates one folder; its parent must exist. An existing folder raises 58.
void CreateFolder(const std::wstring& path);
// A file as the file system knows it, whatever its name: its volume, file index and
// creation time, with its size and last write. A file index given again to a new file
// (as FAT volumes do) comes with another creation time: another file.
struct FileIdentity {
  DWORD volume = 0;
  unsigned long long index = 0;
  unsigned long long created = 0;  // FILETIME ticks
  FileStamp stamp;
  bool operator==(const FileIdentity&) const = default;
};
// The identity of the file a path names now; nothing when none can be read (no file).
std::optional<FileIdentity> IdentityOf(const std::wstring& path);

// A file kept track of while it is filed: its own name, where it is now and what it is.
struct TrackedFile {
  std::wstring home;  // its own name, where a move that fails gives it back
  // Where it is now: `home`, unless a move that could not give it its name back left it
  // elsewhere; empty once a move found no such file where it looked.
  std::wstring at;
  std::optional<FileIdentity> identity;  // only this very file moves; nothing: whatever `at` names
};

// Moves the file at `file.at`; an existing destination raises 58 and is left as it was.
// The file is first taken for the move: renamed within the folder it is in to a name of
// ours made from its own (keeping its extension, so a move cut short leaves it findable
// there, and fitting wherever its own name fits; a file left under that name is stepped
// over), so a page saved under its name meanwhile is another file and is never touched.
// When `file.identity` is given and the file `at` leads to is not that file (another one
// under the name, or under a name that differs only in case, which Wine resolves alike),
// nothing is moved and 75 is raised. Across volumes the file taken is copied beside the
// destination under a temporary name while no program may open it for writing (unless
// one had it open so already); the copy takes the destination's name only when the file
// is still what it was when taken and the copy has its size (75 otherwise, as the file
// changed), and the file taken is deleted only while no other program has it open (70
// otherwise) and it is still unchanged: only the file taken is ever deleted. A read-only
// file does not leave its folder for another volume (70).
// A move that fails leaves no file that was not there before it and gives the file back
// its own name, or else the name it was found under, never over a file that has taken
// the name meanwhile; `file.at` then says where it is, and the reason names the file by
// its own name and, when it is elsewhere, says where. A copy that cannot be removed after
// its source would not go raises 70 naming both files. A move that is done sets `file.at`
// to the destination and `file.identity` to the file now there (a copy is another file,
// read under names of ours only), and answers it.
std::optional<FileIdentity> MoveFileNoReplace(TrackedFile& file, const std::wstring& destination);
// Copies a file over an existing destination.
void CopyFileReplacing(const std::wstring& source, const std::wstring& destination);
// The files of a folder (not its sub-folders), ordered by name without regard to case.
// A missing folder raises 76.
std::vector<FolderFile> FolderFiles(const std::wstring& folder);
// Calls `visit` with the name of each file and sub-folder of a folder (not "." and
// ".."), in the order the system lists them: one listing, nothing sorted. A folder
// that is missing or cannot be read visits nothing.
void VisitFolder(const std::wstring& folder, const std::function<void(const std::wstring& name, bool isFolder)>& visit);

// The platform's ways of putting a file in another place, replaceable so that a test
// can stand for another volume, a disk that fills part-way or a folder whose deletes
// do nothing. Each answers 0 or the system's error code. A substitute holds for every
// thread.
struct FileTransfer {
  // Renames, never over an existing file; ERROR_NOT_SAME_DEVICE across volumes.
  std::function<DWORD(const std::wstring& from, const std::wstring& to)> rename;
  // Copies over the file `to`; a failure may leave part of the copy there.
  std::function<DWORD(const std::wstring& from, const std::wstring& to)> copy;
  // Deletes a file (one of ours); may answer 0 while the file stays.
  std::function<DWORD(const std::wstring& path)> remove;
  // Marks a file open with DELETE access to go when the handle is closed; may answer 0
  // while the file stays (Wine on a read-only mount).
  std::function<DWORD(HANDLE file)> removeOpen;
};
using FileTransferSeam = Seam<FileTransfer, SeamReach::Process>;
using ScopedFileTransfer = FileTransferSeam::Scope;

}  // namespace vk::hosted

namespace vk {
template <>
hosted::FileTransfer hosted::FileTransferSeam::Real();
}  // namespace vk
