#include "outlook/outbox.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cwchar>

#include "base/utf8.h"
#include "base/vb_error.h"
#include "com/module.h"

namespace vk::outlook {
namespace {

std::wstring ConfiguredOutbox() {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\OutlookStandIn", L"Outbox", RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return {};
  return value;
}

bool AppendBytes(const std::wstring& path, const std::string& bytes, DWORD disposition) {
  HANDLE file = CreateFileW(path.c_str(), disposition == OPEN_ALWAYS ? FILE_APPEND_DATA : GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace

std::wstring OutboxFolder() {
  std::wstring folder = ConfiguredOutbox();
  if (folder.empty()) folder = com::ModuleFolder() + L"\\outbox";
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return folder;
}

void LogCall(const std::wstring& line) {
  AppendBytes(OutboxFolder() + L"\\outlook-calls.log", Utf8(line) + "\r\n", OPEN_ALWAYS);
}

std::wstring WriteToOutbox(const std::string& bytes) {
  static std::atomic<int> counter{0};
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::wstring folder = OutboxFolder();
  // Several messages in one second get the next free number.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t name[64];
    swprintf(name, 64, L"\\mail-%04u%02u%02u-%02u%02u%02u-%03d.eml", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond, ++counter % 1000);
    const std::wstring path = folder + name;
    if (AppendBytes(path, bytes, CREATE_NEW)) return path;
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  throw VbError{err::PathNotFound, L"Outlook.MailItem", L"The message cannot be written into " + folder};
}

}  // namespace vk::outlook
