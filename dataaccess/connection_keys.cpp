#include "dataaccess/connection_keys.h"

#include <windows.h>

#include <cwctype>

#include "dataaccess/sqlite_db.h"

namespace vk::data {

std::wstring DatabasePathOfKey(const std::wstring& key, const std::wstring& defaultFolder) {
  if (key.empty()) throw DataError{L"Falta la clave de conexión"};
  for (wchar_t c : key) {
    if (!(std::iswalnum(c) || c == L'_' || c == L'-' || c == L' '))
      throw DataError{L"La clave de conexión \"" + key + L"\" no es válida"};
  }
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kConnectionsKey, key.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) ==
          ERROR_SUCCESS &&
      value[0])
    return value;
  return defaultFolder + L"\\data\\" + key + L".db";
}

}  // namespace vk::data
