#include "hosted/grid/export_file.h"

#include "base/vb_error.h"
#include "hosted/grid/grid_value.h"

namespace vk::grid {

bool IsReadOnlyFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

void RefuseReadOnlyFile(const std::wstring& path) {
  if (!IsReadOnlyFile(path)) return;
  throw VbError{err::PermissionDenied, kGridSource, StandardErrorText(err::PermissionDenied) + L": " + path};
}

ExportFile::ExportFile(std::wstring path) : path_(std::move(path)) {
  RefuseReadOnlyFile(path_);
  file_ = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    long number = err::PathNotFound;
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) number = err::PermissionDenied;
    throw VbError{number, kGridSource, StandardErrorText(number) + L": " + path_};
  }
}

ExportFile::~ExportFile() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  // A half-written file is worse than none.
  CloseHandle(file_);
  DeleteFileW(path_.c_str());
}

void ExportFile::Write(const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD wrote = 0;
    const DWORD chunk = size > (1u << 24) ? (1u << 24) : static_cast<DWORD>(size);
    if (!WriteFile(file_, p, chunk, &wrote, nullptr) || wrote != chunk)
      throw VbError{61, kGridSource, L"Disk full or write failed: " + path_};
    p += chunk;
    size -= chunk;
  }
}

void ExportFile::Commit() {
  const bool closed = CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  if (!closed) {
    DeleteFileW(path_.c_str());
    throw VbError{61, kGridSource, L"Disk full or write failed: " + path_};
  }
}

void WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
  ExportFile file(path);
  file.Write(data, size);
  file.Commit();
}

}  // namespace vk::grid
