#include "dataaccess/file_identity.h"

#include <winternl.h>

#include "base/system_error_text.h"
#include "dataaccess/data_error.h"

namespace vk::data {

namespace {

[[noreturn]] void CannotIdentify(const std::wstring& path, DWORD error) {
  throw DataError{L"No se pudo comprobar el archivo de la base de datos \"" + path + L"\": " + SystemErrorText(error)};
}

}  // namespace

uint64_t FileNumberOfHandle(HANDLE file, const std::wstring& path) {
  IO_STATUS_BLOCK io{};
  FILE_INTERNAL_INFORMATION info{};
  const NTSTATUS status = NtQueryInformationFile(file, &io, &info, sizeof info, FileInternalInformation);
  if (!NT_SUCCESS(status)) CannotIdentify(path, RtlNtStatusToDosError(status));
  return static_cast<uint64_t>(info.IndexNumber.QuadPart);
}

std::optional<uint64_t> FileNumberAtPath(const std::wstring& path) {
  // Backup semantics let a folder that took the name open too: it is then another file.
  HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    CannotIdentify(path, error);
  }
  struct Closer {
    HANDLE file;
    ~Closer() { CloseHandle(file); }
  } closer{file};
  return FileNumberOfHandle(file, path);
}

}  // namespace vk::data
