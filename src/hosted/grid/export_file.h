#pragma once
// The file an export writes, in one piece or in many: made (replacing one of that name)
// when opened, and removed again unless the writer commits it, so that a failure never
// leaves half a file behind.
#include <windows.h>

#include <string>

namespace vk::grid {

class ExportFile {
 public:
  // Raises the platform's file errors (path not found, permission denied, a read-only
  // file) with the file's name in the text.
  explicit ExportFile(std::wstring path);
  ExportFile(const ExportFile&) = delete;
  ExportFile& operator=(const ExportFile&) = delete;
  ~ExportFile();  // removes an uncommitted file

  // Raises 61 when the disk is full or the write fails.
  void Write(const void* data, size_t size);
  void Commit();  // closes the finished file

 private:
  std::wstring path_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Whether `path` is a file with the read-only attribute.
bool IsReadOnlyFile(const std::wstring& path);

// Raises 70 (permission denied, with the file's name) when `path` is a read-only file.
// Windows refuses to replace or write such a file; Wine lets a process rename over it
// and, run as root, write it, so the attribute is checked here.
void RefuseReadOnlyFile(const std::wstring& path);

// A whole file at once through ExportFile.
void WriteWholeFile(const std::wstring& path, const void* data, size_t size);

}  // namespace vk::grid
