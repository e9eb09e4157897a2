#include "hosted/file_system.h"

#include <algorithm>
#include <vector>

#include "base/system_error_text.h"
#include "base/vb_error.h"
#include "runtime/gdi_object.h"

namespace vk::hosted {
namespace {

constexpr long kDiskFull = 61;
const wchar_t kMove[] = L"FileSystem.MoveFile";

[[noreturn]] void RaiseFor(DWORD error, const wchar_t* source) {
  long number = err::PathNotFound;
  switch (error) {
    case ERROR_FILE_NOT_FOUND: number = err::FileNotFound; break;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: number = err::FileAlreadyExists; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: number = kDiskFull; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: number = err::PermissionDenied; break;
    default: break;  // a missing path, a bad name and the rest
  }
  throw VbError{number, source, SystemErrorText(error)};
}

DWORD ErrorOf(BOOL done) { return done ? 0 : GetLastError(); }

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

DWORD RealRename(const std::wstring& from, const std::wstring& to) {
  return ErrorOf(MoveFileExW(from.c_str(), to.c_str(), 0));  // without REPLACE_EXISTING
}

DWORD RealCopy(const std::wstring& from, const std::wstring& to) {
  return ErrorOf(CopyFileW(from.c_str(), to.c_str(), FALSE));
}

DWORD RealRemove(const std::wstring& path) { return ErrorOf(DeleteFileW(path.c_str())); }

DWORD RealRemoveOpen(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  return ErrorOf(SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition));
}

// Our own file (a copy, a temporary file) goes whatever the attributes it was copied
// with: a read-only scan's copy is read-only too.
DWORD RemoveOurFile(const FileTransfer& transfer, const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return transfer.remove(path);
}

// The copy of a move that could not take its source away goes again, and must: the
// file may not live twice. A copy that stays raises 70 with both files named.
void RemoveCopy(const FileTransfer& transfer, const std::wstring& source, const std::wstring& copy,
                const std::wstring& why) {
  const DWORD error = RemoveOurFile(transfer, copy);
  if (!error && !FileExists(copy)) return;
  throw VbError{err::PermissionDenied, kMove,
                why + L"; su copia " + copy + L" no se pudo quitar (" +
                    (error ? SystemErrorText(error) : std::wstring(L"sigue allí")) + L"): el archivo " + source +
                    L" está dos veces"};
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring NameOf(const std::wstring& path) { return path.substr(FolderOf(path).size()); }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Names of ours a take tries, one after the other, past files left under them.
constexpr int kTakenNameAttempts = 100;
// What a file name may hold: 255 UTF-16 units on Windows, 255 bytes on a Linux disk
// under Wine.
constexpr size_t kNameLimit = 255;

struct CloseFile {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using OwnedFile = OwnedHandle<HANDLE, CloseFile>;

// An existing file opened; empty, with the system's error as the last error, when it
// cannot be.
OwnedFile OpenExisting(const std::wstring& path, DWORD access, DWORD sharing) {
  const HANDLE file = CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
  return OwnedFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// What the open file is: its volume, index, creation time, size and last write.
std::optional<FileIdentity> IdentityOfHandle(HANDLE file, bool* readOnly = nullptr) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
  if (readOnly) *readOnly = info.dwFileAttributes & FILE_ATTRIBUTE_READONLY;
  auto join = [](DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; };
  return FileIdentity{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                      join(info.ftCreationTime.dwHighDateTime, info.ftCreationTime.dwLowDateTime),
                      {join(info.nFileSizeHigh, info.nFileSizeLow),
                       join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)}};
}

// True while a file taken for a move is what it was when taken: its volume, creation
// time, size and last write (a rename may give it another index on a FAT volume).
bool Unchanged(const std::optional<FileIdentity>& now, const FileIdentity& taken) {
  return now && now->volume == taken.volume && now->created == taken.created && now->stamp == taken.stamp;
}

VbError ChangedSinceLoaded(const std::wstring& path) {
  return {err::PathFileAccessError, kMove, L"el archivo " + path + L" cambió después de cargarlo; vuelva a buscarlo"};
}

// A file taken for a move: renamed within the folder it was found in to a name nobody
// else uses, its own name, where it was found, and what it was then.
struct TakenFile {
  std::wstring home;   // its own name
  std::wstring found;  // where the move found it: its own name, or where an earlier move left it
  std::wstring taken;  // where it is while it moves
  FileIdentity identity;
  bool readOnly = false;
};

// True when the move found the file in its own folder: a refusal then says it is still
// there, and never so of a file found elsewhere (one a save puts back from the store).
bool FoundInItsFolder(const TakenFile& file) { return FolderOf(file.found) == FolderOf(file.home); }

// Names the file by its own name; says it is still in its own folder when the move found
// it there.
VbError HeldByAnotherProgram(const TakenFile& file) {
  return {err::PermissionDenied, kMove,
          L"el archivo " + file.home + L" está abierto en otro programa; ciérrelo y vuelva a grabar" +
              (FoundInItsFolder(file) ? L" (el archivo sigue en su carpeta)" : L"")};
}

// A read-only file cannot leave for another volume. Worded from where the move found
// it: its own folder, bound for the store, or elsewhere, bound for `destination`'s
// folder (the move's reason then says where it stays).
VbError ReadOnlyAcrossVolumes(const TakenFile& file, const std::wstring& destination) {
  const std::wstring text = L"el archivo " + file.home + L" es de sólo lectura y no se puede quitar de ";
  if (FoundInItsFolder(file))
    return {err::PermissionDenied, kMove,
            text + L"su carpeta para llevarlo al almacén, que está en otro volumen (el archivo sigue en su carpeta)"};
  std::wstring folder = FolderOf(destination);
  if (!folder.empty()) folder.pop_back();  // without its last separator
  return {err::PermissionDenied, kMove,
          text + L"donde está para llevarlo a la carpeta " + folder + L", que está en otro volumen"};
}

size_t Utf8Length(std::wstring_view text) {
  return text.empty() ? 0
                      : static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                                nullptr, 0, nullptr, nullptr));
}

// "scan.jpg" becomes "scan~vk<process>-<number>.jpg": a name of ours that the folder scan
// still finds. It fits wherever the scan's own name fits: within the limits of a name and
// of a path (MAX_PATH), or within the scan's own lengths where they pass them; the end of
// the name before the extension gives way to the mark.
std::wstring TakenName(const std::wstring& path, unsigned long number) {
  wchar_t mark[40];
  swprintf(mark, 40, L"~vk%lx-%lx", GetCurrentProcessId(), number);
  const size_t nameStart = FolderOf(path).size(), dot = path.rfind(L'.');
  const size_t at = dot == std::wstring::npos || dot < nameStart ? path.size() : dot;
  const std::wstring_view own = std::wstring_view(path).substr(nameStart);
  const size_t units = std::max(own.size(), kNameLimit), bytes = std::max(Utf8Length(own), kNameLimit),
               pathUnits = std::max(path.size(), static_cast<size_t>(MAX_PATH - 1));
  std::wstring stem = path.substr(nameStart, at - nameStart);
  const std::wstring tail = mark + path.substr(at);
  auto fits = [&] {
    const std::wstring name = stem + tail;
    return name.size() <= units && Utf8Length(name) <= bytes && nameStart + name.size() <= pathUnits;
  };
  while (!stem.empty() && !fits()) {
    stem.pop_back();
    if (!stem.empty() && IS_HIGH_SURROGATE(stem.back())) stem.pop_back();  // never half a character
  }
  return path.substr(0, nameStart) + stem + tail;
}

// Renames the open file itself, never over an existing one: 0 or the system's error.
DWORD RenameOpenFile(HANDLE file, const std::wstring& to) {
  const DWORD nameBytes = static_cast<DWORD>(to.size() * sizeof(wchar_t));
  std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = nameBytes;
  std::copy(to.begin(), to.end(), rename->FileName);
  return ErrorOf(SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size())));
}

// Takes the file for the move through one handle: what it is is read, and it is renamed,
// from the file itself, so no file but the one read can be taken (a name resolves
// without case under Wine, and a page may be saved under it at any moment). Another
// file than the one tracked is left where it is, and 75 is raised. A file left under a
// name of ours (by a host killed part-way) keeps it: the next name is taken. When no
// such file is where it was looked for, `file.at` is emptied.
TakenFile TakeForMove(TrackedFile& file) {
  static LONG count = 0;
  TakenFile taken{file.home, file.at, L"", {}, false};
  const OwnedFile handle = OpenExisting(file.at, DELETE | FILE_READ_ATTRIBUTES, kShareAll);
  DWORD error = handle ? 0 : GetLastError();
  if (!error) {
    const std::optional<FileIdentity> identity = IdentityOfHandle(handle.get(), &taken.readOnly);
    if (file.identity && identity != file.identity) {
      file.at.clear();
      throw ChangedSinceLoaded(taken.found);
    }
    if (identity) taken.identity = *identity;
    error = identity ? 0 : GetLastError();
  }
  // Under its own name, in the folder it is in: a name left by an earlier move does not grow.
  const std::wstring named = FolderOf(file.at) + NameOf(file.home);
  for (int attempt = 1; !error; ++attempt) {
    taken.taken = TakenName(named, static_cast<unsigned long>(InterlockedIncrement(&count)));
    const DWORD renamed = RenameOpenFile(handle.get(), taken.taken);
    if (!renamed) break;
    const bool nameHeld = renamed == ERROR_ALREADY_EXISTS || renamed == ERROR_FILE_EXISTS;
    if (!nameHeld || attempt == kTakenNameAttempts) error = renamed;
  }
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
    file.at.clear();
    RaiseFor(error, kMove);
  }
  if (error == ERROR_SHARING_VIOLATION) throw HeldByAnotherProgram(taken);
  if (error)
    throw VbError{err::PermissionDenied, kMove,
                  L"no se pudo tomar el archivo de su carpeta de origen (" + SystemErrorText(error) + L")"};
  return taken;
}

// A move that failed gives the file back its own name, or else the name it was found
// under, never over a file that has taken the name meanwhile; failing both, it stays
// under our name. Answers where it is; nothing when it is no longer under our name.
std::wstring PutBack(const FileTransfer& transfer, const TakenFile& file) {
  if (!FileExists(file.taken)) return {};
  if (!transfer.rename(file.taken, file.home)) return file.home;
  if (file.found != file.home && !transfer.rename(file.taken, file.found)) return file.found;
  return file.taken;
}

// The copy is what was taken, whole: the file, read as it is now (through `guard` when
// one is held), is still what it was when taken, and the copy has its size. A program
// that rewrote it in place meanwhile would otherwise have its page filed torn, or
// deleted with the file.
bool CopiedWhole(const TakenFile& file, const OwnedFile& guard, const std::optional<FileIdentity>& copy) {
  const std::optional<FileIdentity> now = guard ? IdentityOfHandle(guard.get()) : IdentityOf(file.taken);
  return Unchanged(now, file.identity) && copy && copy->stamp.size == file.identity.stamp.size;
}

// Deletes the file taken, once its copy is in place: only while no other program has it
// open (one that writes into it would lose its page with it, and Windows keeps an open
// file until it is closed) and it is still what was copied, through one handle that
// keeps every other program out from the look to the delete.
void RemoveTaken(const FileTransfer& transfer, const TakenFile& file) {
  OwnedFile only = OpenExisting(file.taken, DELETE | FILE_READ_ATTRIBUTES, 0);
  if (!only) {
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) throw HeldByAnotherProgram(file);
    RaiseFor(error, kMove);
  }
  if (!Unchanged(IdentityOfHandle(only.get()), file.identity)) throw ChangedSinceLoaded(file.home);
  const DWORD error = transfer.removeOpen(only.get());
  only.reset();
  if (error) RaiseFor(error, kMove);
  // Under Wine the delete of a file on a read-only mount, or of a link into one,
  // answers success and the file stays (under our name, which nobody else uses).
  if (FileExists(file.taken))
    throw VbError{err::PermissionDenied, kMove,
                  L"el archivo sigue en la carpeta de origen después de moverlo (una carpeta de sólo lectura, o un "
                  L"vínculo que no se puede quitar)"};
}

// A move between volumes, whole or not at all: the copy grows under a temporary name
// beside the destination and takes the destination's name only once complete and
// checked, so a disk that fills part-way leaves no fragment that would block the name
// later, and a scan rewritten meanwhile is not filed. While it is copied no program can
// open the scan for writing, unless one had it open so already. Only the file taken is
// deleted, and only once nobody else holds it.
std::optional<FileIdentity> CopyAcrossVolumes(const FileTransfer& transfer, const TakenFile& file,
                                              const std::wstring& destination) {
  // Windows keeps a read-only file where it is: its copy could never be the only one.
  if (file.readOnly) throw ReadOnlyAcrossVolumes(file, destination);
  OwnedFile guard = OpenExisting(file.taken, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE);
  std::wstring folder = FolderOf(destination);
  if (folder.empty()) folder = L".";
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempFileNameW(folder.c_str(), L"vk", 0, temp)) RaiseFor(GetLastError(), kMove);
  DWORD error = transfer.copy(file.taken, temp);
  std::optional<FileIdentity> copy;
  if (!error) {
    copy = IdentityOf(temp);  // under our own name, before it takes the destination's
    error = copy ? 0 : GetLastError();
  }
  if (!error && !CopiedWhole(file, guard, copy)) {
    RemoveOurFile(transfer, temp);
    throw ChangedSinceLoaded(file.home);
  }
  if (!error) error = transfer.rename(temp, destination);
  if (error) {
    RemoveOurFile(transfer, temp);
    RaiseFor(error, kMove);
  }
  guard.reset();  // the delete wants the file to itself
  try {
    RemoveTaken(transfer, file);
  } catch (VbError& failure) {
    RemoveCopy(transfer, file.home, destination, failure.description);
    throw;
  }
  return copy;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FileStamp> StampOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return FileStamp{(static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                   (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                       data.ftLastWriteTime.dwLowDateTime};
}

bool ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  const OwnedFile file = OpenExisting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (!file) return false;
  LARGE_INTEGER size{};
  bool read = GetFileSizeEx(file.get(), &size) && size.QuadPart <= 0x7FFFFFFF;
  if (read) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    read = bytes.empty() || (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                             got == bytes.size());
  }
  if (!read) bytes.clear();
  return read;
}

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
  // Attributes only, shared in every way: nobody's open, rename or delete is refused.
  const OwnedFile file = OpenExisting(path, FILE_READ_ATTRIBUTES, kShareAll);
  return file ? IdentityOfHandle(file.get()) : std::nullopt;
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr)) RaiseFor(GetLastError(), L"FileSystem.CreateFolder");
}

std::optional<FileIdentity> MoveFileNoReplace(TrackedFile& file, const std::wstring& destination) {
  const FileTransfer& transfer = FileTransferSeam::Current();
  std::optional<TakenFile> taken;
  try {
    if (!FileExists(file.at)) {
      file.at.clear();
      Raise(err::FileNotFound, kMove);
    }
    if (FileExists(destination) || FolderExists(destination)) RaiseFor(ERROR_FILE_EXISTS, kMove);
    taken = TakeForMove(file);
    // A rename takes the file itself away: it cannot leave its source behind.
    const DWORD error = transfer.rename(taken->taken, destination);
    std::optional<FileIdentity> moved = taken->identity;
    if (error == ERROR_NOT_SAME_DEVICE) moved = CopyAcrossVolumes(transfer, *taken, destination);
    else if (error) RaiseFor(error, kMove);
    file.at = destination;
    file.identity = moved;
    return moved;
  } catch (VbError& failure) {
    // Where the file is comes from the put-back itself, never from a look at a name.
    if (taken) file.at = PutBack(transfer, *taken);
    if (!file.at.empty() && file.at != file.home)
      failure.description += L"; el archivo " + file.home + L" quedó como " + file.at;
    throw;
  }
}

void CopyFileReplacing(const std::wstring& source, const std::wstring& destination) {
  if (!FileExists(source)) Raise(err::FileNotFound, L"FileSystem.CopyFile");
  if (!CopyFileW(source.c_str(), destination.c_str(), FALSE)) RaiseFor(GetLastError(), L"FileSystem.CopyFile");
}

void VisitFolder(const std::wstring& folder, const std::function<void(const std::wstring& name, bool isFolder)>& visit) {
  if (folder.empty()) return;
  WIN32_FIND_DATAW data;
  // The basic information only (no short names) and large reads: a store's folders
  // hold thousands of files.
  HANDLE find = FindFirstFileExW(WithSeparator(folder).append(L"*").c_str(), FindExInfoBasic, &data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring_view name = data.cFileName;
    if (name != L"." && name != L"..") visit(data.cFileName, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

std::vector<FolderFile> FolderFiles(const std::wstring& folder) {
  if (!FolderExists(folder)) Raise(err::PathNotFound, L"FileSystem.GetFolder");
  const std::wstring base = WithSeparator(folder);
  std::vector<FolderFile> files;
  VisitFolder(base, [&](const std::wstring& name, bool isFolder) {
    if (!isFolder) files.push_back({name, base + name});
  });
  std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) {
    int order = CompareStringOrdinal(a.name.c_str(), -1, b.name.c_str(), -1, TRUE);
    return order == CSTR_EQUAL ? a.name < b.name : order == CSTR_LESS_THAN;
  });
  return files;
}

}  // namespace vk::hosted

namespace vk {

template <>
hosted::FileTransfer hosted::FileTransferSeam::Real() {
  return {hosted::RealRename, hosted::RealCopy, hosted::RealRemove, hosted::RealRemoveOpen};
}

}  // namespace vk
