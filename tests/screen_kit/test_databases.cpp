#include "test_databases.h"

#include <windows.h>

#include "screen_kit/data_access.h"
#include "support/com_test.h"

namespace vk::test {
namespace {

const wchar_t kConnections[] = L"Software\\QdPoolConnection\\Connections";

void PointKey(const std::wstring& key, const std::wstring& path) {
  HKEY connections = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kConnections, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &connections, nullptr);
  RegSetValueExW(connections, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(connections);
}

void ForgetKey(const std::wstring& key) {
  HKEY connections = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kConnections, 0, KEY_ALL_ACCESS, &connections) != ERROR_SUCCESS) return;
  RegDeleteValueW(connections, key.c_str());
  RegCloseKey(connections);
}

std::wstring KeyPath(const std::wstring& key) {
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kConnections, key.c_str(), RRF_RT_REG_SZ, nullptr, value, &size))
    return {};
  return value;
}

}  // namespace

TestDatabases::TestDatabases(std::wstring applicationKey) : applicationKey_(std::move(applicationKey)) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + applicationKey_ + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder_.c_str(), nullptr);
  const std::wstring data = BinFolder() + L"\\data\\";
  CopyFileW((data + L"Ostrela.db").c_str(), (folder_ + L"\\app.db").c_str(), FALSE);
  CopyFileW((data + L"VkS.db").c_str(), (folder_ + L"\\vks.db").c_str(), FALSE);
  PointKey(applicationKey_, folder_ + L"\\app.db");
  savedSecurityPath_ = KeyPath(L"VkS");
  PointKey(L"VkS", folder_ + L"\\vks.db");
}

TestDatabases::~TestDatabases() {
  ForgetKey(applicationKey_);
  if (savedSecurityPath_.empty()) ForgetKey(L"VkS");
  else PointKey(L"VkS", savedSecurityPath_);
  DeleteFileW((folder_ + L"\\app.db").c_str());
  DeleteFileW((folder_ + L"\\vks.db").c_str());
  RemoveDirectoryW(folder_.c_str());
}

std::wstring TestDatabases::PathOf(const std::wstring& key) const {
  return folder_ + (key == applicationKey_ ? L"\\app.db" : L"\\vks.db");
}

bool TestDatabases::Sql(const std::wstring& key, const std::wstring& sql, std::wstring* error) const {
  auto data = DataAccess::Create();
  if (!data) return false;
  bool ok = data->ExecuteSql(key, sql);
  if (!ok && error) *error = data->ErrDescription();
  return ok;
}

}  // namespace vk::test
