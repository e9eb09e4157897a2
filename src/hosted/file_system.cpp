#include "hosted/file_system.h"

#include <windows.h>

#include <algorithm>

#include "runtime/vb_error.h"

namespace vk::hosted {
namespace {

[[noreturn]] void RaiseFor(DWORD error, const wchar_t* source) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: Raise(err::FileNotFound, source);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: Raise(err::PathNotFound, source);
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: Raise(err::FileAlreadyExists, source);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: Raise(err::PermissionDenied, source);
    default: Raise(err::PathNotFound, source);
  }
}

}  // namespace

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr)) RaiseFor(GetLastError(), L"FileSystem.CreateFolder");
}

void MoveFileNoReplace(const std::wstring& source, const std::wstring& destination) {
  if (!FileExists(source)) Raise(err::FileNotFound, L"FileSystem.MoveFile");
  // Without MOVEFILE_REPLACE_EXISTING an existing destination fails and stays whole.
  if (!MoveFileExW(source.c_str(), destination.c_str(), MOVEFILE_COPY_ALLOWED)) {
    RaiseFor(GetLastError(), L"FileSystem.MoveFile");
  }
}

void CopyFileReplacing(const std::wstring& source, const std::wstring& destination) {
  if (!FileExists(source)) Raise(err::FileNotFound, L"FileSystem.CopyFile");
  if (!CopyFileW(source.c_str(), destination.c_str(), FALSE)) RaiseFor(GetLastError(), L"FileSystem.CopyFile");
}

std::vector<FolderFile> FolderFiles(const std::wstring& folder) {
  if (!FolderExists(folder)) Raise(err::PathNotFound, L"FileSystem.GetFolder");
  std::wstring base = folder;
  if (base.back() != L'\\' && base.back() != L'/') base += L'\\';
  std::vector<FolderFile> files;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((base + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      files.push_back({data.cFileName, base + data.cFileName});
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  std::sort(files.begin(), files.end(), [](const FolderFile& a, const FolderFile& b) {
    int order = CompareStringOrdinal(a.name.c_str(), -1, b.name.c_str(), -1, TRUE);
    return order == CSTR_EQUAL ? a.name < b.name : order == CSTR_LESS_THAN;
  });
  return files;
}

}  // namespace vk::hosted
