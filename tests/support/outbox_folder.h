#pragma once
// A scratch outbox for the mail stand-in: while it lives, the registry value
// HKCU\Software\OutlookStandIn\Outbox names a fresh temporary folder, whose call log
// and messages can be read back.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vk::test {

class ScopedOutbox {
 public:
  ScopedOutbox() {
    folder_ = std::filesystem::temp_directory_path() / ("vk_outbox_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    const std::wstring path = folder_.wstring();
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Outbox", REG_SZ, path.c_str(),
                    static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  }
  ~ScopedOutbox() {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"Outbox");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  ScopedOutbox(const ScopedOutbox&) = delete;
  ScopedOutbox& operator=(const ScopedOutbox&) = delete;

  std::wstring folder() const { return folder_.wstring(); }

  // The call log's lines, as written (UTF-8).
  std::vector<std::string> LogLines() const {
    std::istringstream log(Read(folder_ / "outlook-calls.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
  }

  // The messages written, each whole.
  std::vector<std::string> Mails() const {
    std::vector<std::string> mails;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      if (entry.path().extension() == ".eml") mails.push_back(Read(entry.path()));
    return mails;
  }

 private:
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static constexpr wchar_t kKey[] = L"Software\\OutlookStandIn";
  std::filesystem::path folder_;
};

}  // namespace vk::test
