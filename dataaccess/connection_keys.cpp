#include "dataaccess/connection_keys.h"

#include <windows.h>

#include <cwctype>
#include <optional>

#include "base/system_error_text.h"
#include "dataaccess/data_error.h"

namespace vk::data {

namespace {

std::wstring TypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return L"REG_NONE";
    case REG_BINARY: return L"REG_BINARY";
    case REG_DWORD: return L"REG_DWORD";
    case REG_MULTI_SZ: return L"REG_MULTI_SZ";
    case REG_QWORD: return L"REG_QWORD";
    default: return std::to_wstring(type);
  }
}

[[noreturn]] void Unusable(const std::wstring& key, const std::wstring& reason) {
  throw DataError{L"El valor del registro HKEY_CURRENT_USER\\" + std::wstring(kConnectionsKey) + L"\\" + key +
                  L" no se puede usar: " + reason};
}

struct KeyCloser {
  HKEY key;
  ~KeyCloser() { RegCloseKey(key); }
};

std::wstring Expanded(const std::wstring& key, const std::wstring& text) {
  DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  std::wstring out(size, L'\0');
  if (size == 0 || ExpandEnvironmentStringsW(text.c_str(), out.data(), size) == 0)
    Unusable(key, L"no se pudieron sustituir sus variables de entorno");
  out.resize(size - 1);
  return out;
}

// The path the registry gives the key; nothing when it has no value there.
std::optional<std::wstring> RegisteredPath(const std::wstring& key) {
  HKEY connections = nullptr;
  LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, kConnectionsKey, 0, KEY_QUERY_VALUE, &connections);
  if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
  if (rc != ERROR_SUCCESS) Unusable(key, SystemErrorText(static_cast<DWORD>(rc)));
  KeyCloser closer{connections};
  DWORD type = 0;
  DWORD bytes = 0;
  rc = RegQueryValueExW(connections, key.c_str(), nullptr, &type, nullptr, &bytes);
  if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
  std::wstring value;
  while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      Unusable(key, L"es de tipo " + TypeName(type) + L" y debe ser un texto (REG_SZ) con la ruta");
    value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    rc = RegQueryValueExW(connections, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &bytes);
    if (rc == ERROR_SUCCESS) break;  // ERROR_MORE_DATA: it grew in between; read it again
  }
  if (rc != ERROR_SUCCESS) Unusable(key, SystemErrorText(static_cast<DWORD>(rc)));
  value.resize(bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  if (value.find(L'\0') != std::wstring::npos) Unusable(key, L"contiene un carácter nulo");
  if (type == REG_EXPAND_SZ) value = Expanded(key, value);
  if (value.find_first_not_of(L" \t") == std::wstring::npos) Unusable(key, L"está vacío");
  return value;
}

}  // namespace

std::wstring DatabasePathOfKey(const std::wstring& key, const std::wstring& defaultFolder) {
  if (key.empty()) throw DataError{L"Falta la clave de conexión"};
  for (wchar_t c : key) {
    if (!(std::iswalnum(c) || c == L'_' || c == L'-' || c == L' '))
      throw DataError{L"La clave de conexión \"" + key + L"\" no es válida"};
  }
  if (auto path = RegisteredPath(key)) return *path;
  return defaultFolder + L"\\data\\" + key + L".db";
}

}  // namespace vk::data
