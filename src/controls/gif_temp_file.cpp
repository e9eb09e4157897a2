#include "controls/gif_temp_file.h"

namespace vk::controls {

namespace {

// Closes a file handle when it goes out of scope.
struct FileHandle {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  bool Close() {
    bool ok = CloseHandle(handle) != 0;
    handle = INVALID_HANDLE_VALUE;
    return ok;
  }
};

// How many fresh names to try before giving up on a full or contested folder.
constexpr int kAttempts = 16;

}  // namespace

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) return {};
  return std::wstring(buffer, n);
}

std::wstring MakeTempFileName(const std::wstring& folder, const std::wstring& prefix,
                              const std::wstring& extension) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, buffer) == 0) return {};
  std::wstring name(buffer);
  DeleteFileW(name.c_str());
  if (!extension.empty() && name.size() >= 3) name.replace(name.size() - 3, 3, extension);
  return name;
}

std::wstring WriteNewTempFile(const std::wstring& prefix, const std::wstring& extension,
                              const std::vector<uint8_t>& bytes) {
  const std::wstring folder = TempFolder();
  if (folder.empty()) return {};
  return WriteNewFile([&] { return MakeTempFileName(folder, prefix, extension); }, bytes);
}

std::wstring WriteNewFile(const std::function<std::wstring()>& makeName,
                          const std::vector<uint8_t>& bytes) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::wstring path = makeName();
    if (path.empty()) return {};
    FileHandle file;
    file.handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file.handle == INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
      return {};
    }
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(file.handle, bytes.data(), DWORD(bytes.size()),
                                          &written, nullptr) != 0 &&
                                written == bytes.size());
    ok = file.Close() && ok;
    if (!ok) {
      DeleteFileW(path.c_str());
      return {};
    }
    return path;
  }
  return {};
}

}  // namespace vk::controls
