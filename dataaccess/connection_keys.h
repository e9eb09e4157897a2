#pragma once
// Where a connection key's database lives: the registry value
// HKEY_CURRENT_USER\Software\QdPoolConnection\Connections\<key> (a path, REG_SZ or
// REG_EXPAND_SZ, of any length), or, only when there is no such value,
// <folder of this DLL>\data\<key>.db.
#include <string>

namespace vk::data {

inline constexpr wchar_t kConnectionsKey[] = L"Software\\QdPoolConnection\\Connections";

// Throws DataError for a key that cannot name a database (empty, or with characters
// that would reach outside the data folder), and for a registry value that exists but
// cannot be used (another type, empty, unreadable), naming the value and the reason.
std::wstring DatabasePathOfKey(const std::wstring& key, const std::wstring& defaultFolder);

}  // namespace vk::data
