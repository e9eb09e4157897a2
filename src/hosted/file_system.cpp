#include "hosted/file_system.h"

#include <algorithm>

#include "base/system_error_text.h"
#include "base/vb_error.h"

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

// The copy of a move that could not take its source away goes again, and must: the
// file may not live twice. A copy that stays raises 70 with both files named.
void RemoveCopy(const FileTransfer& transfer, const std::wstring& source, const std::wstring& copy,
                const std::wstring& why) {
  const DWORD error = transfer.remove(copy);
  if (!error && !FileExists(copy)) return;
  throw VbError{err::PermissionDenied, kMove,
                why + L"; su copia " + copy + L" no se pudo quitar (" +
                    (error ? SystemErrorText(error) : std::wstring(L"sigue allí")) + L"): el archivo " + source +
                    L" está dos veces"};
}

// A move between volumes, whole or not at all: the copy grows under a temporary name
// beside the destination and takes the destination's name only once complete, so a
// disk that fills part-way leaves no fragment that would block the name later. The
// source's identity is taken before the copy: after its delete, only that very file
// still in the source folder means the delete did nothing.
void CopyAcrossVolumes(const FileTransfer& transfer, const std::wstring& source, const std::wstring& destination) {
  if (FileExists(destination) || FolderExists(destination)) RaiseFor(ERROR_FILE_EXISTS, kMove);
  const std::optional<FileIdentity> original = IdentityOf(source);
  if (!original) RaiseFor(GetLastError(), kMove);
  const size_t slash = destination.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : destination.substr(0, slash);
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempFileNameW(folder.c_str(), L"vk", 0, temp)) RaiseFor(GetLastError(), kMove);
  DWORD error = transfer.copy(source, temp);
  if (!error) error = transfer.rename(temp, destination);
  if (error) {
    DeleteFileW(temp);
    RaiseFor(error, kMove);
  }
  error = transfer.remove(source);
  if (error) {
    RemoveCopy(transfer, source, destination, SystemErrorText(error));
    RaiseFor(error, kMove);
  }
  // Under Wine the delete of a file on a read-only mount, or of a link into one,
  // answers success and the file stays.
  if (IdentityOf(source) == original) {
    const std::wstring why =
        L"el archivo sigue en la carpeta de origen después de moverlo (una carpeta de sólo lectura, o un vínculo "
        L"que no se puede quitar)";
    RemoveCopy(transfer, source, destination, why);
    throw VbError{err::PermissionDenied, kMove, why};
  }
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
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool read = GetFileSizeEx(file, &size) && size.QuadPart <= 0x7FFFFFFF;
  if (read) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    read = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                             got == bytes.size());
  }
  CloseHandle(file);
  if (!read) bytes.clear();
  return read;
}

std::optional<FileIdentity> IdentityOf(const std::wstring& path) {
  // Attributes only, shared in every way: nobody's open, rename or delete is refused.
  HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool read = GetFileInformationByHandle(file, &info);
  const DWORD error = GetLastError();
  CloseHandle(file);
  if (!read) {
    SetLastError(error);
    return std::nullopt;
  }
  auto join = [](DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; };
  return FileIdentity{info.dwVolumeSerialNumber, join(info.nFileIndexHigh, info.nFileIndexLow),
                      {join(info.nFileSizeHigh, info.nFileSizeLow),
                       join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)}};
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr)) RaiseFor(GetLastError(), L"FileSystem.CreateFolder");
}

void MoveFileNoReplace(const std::wstring& source, const std::wstring& destination) {
  if (!FileExists(source)) Raise(err::FileNotFound, kMove);
  const FileTransfer& transfer = FileTransferSeam::Current();
  // A rename takes the file itself away: it cannot leave its source behind.
  const DWORD error = transfer.rename(source, destination);
  if (error == ERROR_NOT_SAME_DEVICE) return CopyAcrossVolumes(transfer, source, destination);
  if (error) RaiseFor(error, kMove);
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
  return {hosted::RealRename, hosted::RealCopy, hosted::RealRemove};
}

}  // namespace vk
