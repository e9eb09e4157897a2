#pragma once
// A scratch outbox for the mail stand-in: while it lives, the registry value
// HKCU\Software\OutlookStandIn\Outbox names a fresh temporary folder; its call log and
// .eml files can be read back. Tests that use it take the CTest resource lock "outbox".
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vk::test {

class ScopedOutbox {
 public:
  ScopedOutbox() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"vk_outbox_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
              std::to_wstring(GetTickCount());
    CreateDirectoryW(folder_.c_str(), nullptr);
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Outbox", REG_SZ, folder_.c_str(),
                    static_cast<DWORD>((folder_.size() + 1) * sizeof(wchar_t)));
  }
  ~ScopedOutbox() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"Outbox");
    for (const std::wstring& name : Files(L"*")) DeleteFileW((folder_ + L"\\" + name).c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  ScopedOutbox(const ScopedOutbox&) = delete;
  ScopedOutbox& operator=(const ScopedOutbox&) = delete;

  const std::wstring& folder() const { return folder_; }

  // The call log's lines (UTF-8 as written).
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(folder_ + L"\\outlook-calls.log"), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  // The names of the outbox's files matching a pattern ("*.eml"), in name order.
  std::vector<std::wstring> Files(const wchar_t* pattern) const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder_ + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string ReadFile(const std::wstring& name) const {
    std::ifstream in(std::filesystem::path(folder_ + L"\\" + name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  static constexpr wchar_t kKey[] = L"Software\\OutlookStandIn";
  std::wstring folder_;
};

}  // namespace vk::test
