#pragma once
// Where a connection key's database lives: the registry value
// HKEY_CURRENT_USER\Software\QdPoolConnection\Connections\<key> (a path), or else
// <folder of this DLL>\data\<key>.db.
#include <string>

namespace vk::data {

inline constexpr wchar_t kConnectionsKey[] = L"Software\\QdPoolConnection\\Connections";

// Throws DataError for a key that cannot name a database (empty, or with characters
// that would reach outside the data folder).
std::wstring DatabasePathOfKey(const std::wstring& key, const std::wstring& defaultFolder);

}  // namespace vk::data
