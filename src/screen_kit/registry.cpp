#include "screen_kit/registry.h"

#include <algorithm>
#include <cstring>

#include "base/steps.h"
#include "base/vb_error.h"
#include "screen_kit/shared_state.h"

namespace vk {
namespace {

const wchar_t kSource[] = L"MorvalZIVI01.cRegistry";
constexpr long kRegistryError = 26001;
constexpr long kValueWriteFailed = static_cast<long>(0x800469A9);
constexpr long kEnumerateFailed = static_cast<long>(0x800469AA);
constexpr long kBadItemList = static_cast<long>(0x800469AC);
constexpr long kClassMissing = static_cast<long>(0x800469AD);
constexpr REGSAM kWriteAccess = 0x3F;  // the six specific key rights, not KEY_ALL_ACCESS

[[noreturn]] void Fail(long number, std::wstring description) {
  throw VbError{number, kSource, std::move(description)};
}

// A key opened by the registry class, closed on every path.
class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() { if (key_) RegCloseKey(key_); }
  HKEY* put() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

Variant ByteArray(const BYTE* data, size_t size) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
  if (!array) Raise(err::OutOfMemory);
  if (size) {
    void* target = nullptr;
    SafeArrayAccessData(array, &target);
    memcpy(target, data, size);
    SafeArrayUnaccessData(array);
  }
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_ARRAY | VT_UI1;
  V_ARRAY(&v) = array;
  return Variant::Attach(v);
}

bool IsByteArray(const VARIANT& v) {
  const VARIANT& value = (V_VT(&v) == (VT_BYREF | VT_VARIANT)) ? *V_VARIANTREF(&v) : v;
  return (V_VT(&value) & ~VT_BYREF) == (VT_ARRAY | VT_UI1);
}

SAFEARRAY* ArrayOf(const VARIANT& v) {
  const VARIANT& value = (V_VT(&v) == (VT_BYREF | VT_VARIANT)) ? *V_VARIANTREF(&v) : v;
  return (V_VT(&value) & VT_BYREF) ? *V_ARRAYREF(&value) : V_ARRAY(&value);
}

// A text with a "%" and another "%" at least two characters further names an
// environment reference and is stored expandable.
bool NamesEnvironmentReference(const std::wstring& text) {
  size_t first = text.find(L'%');
  return first != std::wstring::npos && text.find(L'%', first + 2) != std::wstring::npos;
}

std::wstring TextForMessage(const Variant& value) {
  try {
    return value.toText();
  } catch (const VbError&) {
    return {};
  }
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace

long SwapEndian(long value) {
  auto u = static_cast<unsigned long>(value);
  return static_cast<long>(((u & 0xFF) << 24) | ((u & 0xFF00) << 8) | ((u >> 8) & 0xFF00) | (u >> 24));
}

std::wstring ExpandEnvStr(const std::wstring& text) {
  DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::wstring out(needed, L'\0');
  DWORD written = ExpandEnvironmentStringsW(text.c_str(), out.data(), needed);
  if (written == 0 || written > needed) return text;
  out.resize(written - 1);  // without the terminating NUL
  return out;
}

HKEY CRegistry::Root() const {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<unsigned long>(classKey_)));
}

bool CRegistry::KeyExists() const {
  OpenKey key;
  return RegOpenKeyExW(Root(), sectionKey_.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

bool CRegistry::CreateKey() {
  OpenKey key;
  SECURITY_ATTRIBUTES security{};
  if (RegCreateKeyExW(Root(), sectionKey_.c_str(), 0, const_cast<LPWSTR>(L""), REG_OPTION_NON_VOLATILE,
                      kWriteAccess, &security, key.put(), nullptr) != ERROR_SUCCESS)
    Fail(kRegistryError, L"Failed to create registry Key: '" + sectionKey_);
  return true;
}

bool CRegistry::DeleteKey() {
  if (RegDeleteKeyW(Root(), sectionKey_.c_str()) != ERROR_SUCCESS)
    Fail(kRegistryError, L"Failed to delete registry Key: '" + std::to_wstring(classKey_) + L"',Section: '" +
                             sectionKey_);
  return true;
}

bool CRegistry::DeleteValue() {
  OpenKey key;
  const std::wstring where = std::to_wstring(classKey_) + L"',Section: '" + sectionKey_;
  if (RegOpenKeyExW(Root(), sectionKey_.c_str(), 0, kWriteAccess, key.put()) != ERROR_SUCCESS)
    Fail(kRegistryError, L"Failed to open key '" + where + L"' for delete access");
  if (RegDeleteValueW(key.get(), valueKey_.c_str()) != ERROR_SUCCESS)
    Fail(kRegistryError, L"Failed to delete registry Key: '" + where + L"',Key: '" + valueKey_);
  return true;
}

Variant CRegistry::Value() {
  OpenKey key;
  RegOpenKeyExW(Root(), sectionKey_.c_str(), 0, KEY_QUERY_VALUE, key.put());
  DWORD type = 0;
  DWORD size = 0;
  LONG rc = RegQueryValueExW(key.get(), valueKey_.c_str(), nullptr, &type, nullptr, &size);
  if (!key.get() || (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)) return default_;

  // The value may change between the probe and the read: a value that grew is read
  // again with room for it; one that went leaves the type as it was.
  std::vector<BYTE> data;
  DWORD read = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    data.assign(size + sizeof(wchar_t), 0);  // room for a NUL the value may lack
    read = size;
    rc = RegQueryValueExW(key.get(), valueKey_.c_str(), nullptr, &type, data.data(), &read);
    if (rc != ERROR_MORE_DATA) break;
    size = read;
  }
  if (rc != ERROR_SUCCESS) return default_;
  valueType_ = static_cast<long>(type);
  switch (type) {
    case REG_SZ:
    case REG_MULTI_SZ:
    case REG_EXPAND_SZ: {
      // The data without its last NUL: a multi-string keeps a NUL after each string.
      size_t chars = read / sizeof(wchar_t);
      std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), chars);
      if (!text.empty() && text.back() == L'\0') text.pop_back();
      return type == REG_EXPAND_SZ ? Variant(ExpandEnvStr(text)) : Variant(text);
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
      // A number stored with fewer than four bytes is read as far as it goes.
      DWORD number = 0;
      memcpy(&number, data.data(), std::min<DWORD>(read, sizeof number));
      const long value = static_cast<long>(number);
      return Variant(type == REG_DWORD ? value : SwapEndian(value));
    }
    default:
      return ByteArray(data.data(), read);
  }
}

void CRegistry::RaiseValueWrite(long number, const Variant& value) const {
  Fail(number, L"Failed to set registry value Key: '" + std::to_wstring(classKey_) + L"',Section: '" +
                   sectionKey_ + L"',Key: '" + valueKey_ + L"' to value: '" + TextForMessage(value) + L"'");
}

void CRegistry::SetValue(const Variant& vValue) {
  OpenKey key;
  SECURITY_ATTRIBUTES security{};
  if (RegCreateKeyExW(Root(), sectionKey_.c_str(), 0, const_cast<LPWSTR>(L""), REG_OPTION_NON_VOLATILE,
                      kWriteAccess, &security, key.put(), nullptr) != ERROR_SUCCESS)
    RaiseValueWrite(kRegistryError, vValue);

  LONG rc = ERROR_INVALID_DATA;
  switch (valueType_) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      const std::wstring text = vValue.toText();
      const DWORD type = NamesEnvironmentReference(text) ? REG_EXPAND_SZ : REG_SZ;
      rc = RegSetValueExW(key.get(), valueKey_.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
      break;
    }
    case REG_BINARY: {
      if (!IsByteArray(vValue.get())) Fail(kRegistryError, L"");
      SAFEARRAY* array = ArrayOf(vValue.get());
      LONG lower = 0, upper = -1;
      SafeArrayGetLBound(array, 1, &lower);
      SafeArrayGetUBound(array, 1, &upper);
      void* bytes = nullptr;
      SafeArrayAccessData(array, &bytes);
      rc = RegSetValueExW(key.get(), valueKey_.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(bytes),
                          static_cast<DWORD>(upper - lower + 1));
      SafeArrayUnaccessData(array);
      break;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
      // Only whole numbers of 16 or 32 bits are written; anything else is let go.
      VARTYPE vt = vValue.vt() & ~VT_BYREF;
      if (vt != VT_I2 && vt != VT_I4) return;
      DWORD number = static_cast<DWORD>(vValue.toLong());
      rc = RegSetValueExW(key.get(), valueKey_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                          sizeof number);
      break;
    }
  }
  if (rc != ERROR_SUCCESS) RaiseValueWrite(kValueWriteFailed, vValue);
}

bool CRegistry::EnumerateValues(std::vector<std::wstring>& names, long& count) const {
  names.clear();
  count = 0;
  OpenKey key;
  if (RegOpenKeyExW(Root(), sectionKey_.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return true;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return true;
  std::vector<wchar_t> buffer(longest + 1);
  for (DWORD index = 0;; ++index) {
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegEnumValueW(key.get(), index, buffer.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(buffer.data(), size);
    ++count;
  }
  return true;
}

bool CRegistry::EnumerateSections(std::vector<std::wstring>& names, long& count) const {
  names.clear();
  count = 0;
  try {
    OpenKey key;
    if (RegOpenKeyExW(Root(), sectionKey_.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, key.put()) != ERROR_SUCCESS)
      return true;
    wchar_t buffer[256];
    for (DWORD index = 0; RegEnumKeyW(key.get(), index, buffer, 255) == ERROR_SUCCESS; ++index) {
      buffer[255] = L'\0';
      names.emplace_back(buffer);
      ++count;
    }
  } catch (const VbError& e) {
    Fail(kEnumerateFailed, e.description);
  }
  return true;
}

void CRegistry::SetClassValue(const std::wstring& text) {
  const std::wstring section = sectionKey_;
  classKey_ = kClassesRoot;
  SetValue(text);
  classKey_ = kLocalMachine;
  sectionKey_ = L"SOFTWARE\\Classes\\" + section;
  SetValue(text);
  sectionKey_ = section;
}

void CRegistry::CreateEXEAssociation(const std::wstring& programPath, const std::wstring& className,
                                     const std::wstring& classDescription, const std::wstring& extension,
                                     const std::wstring& openText, bool withPrint, const std::wstring& printText,
                                     bool withNew, const std::wstring& newText, bool withAdd,
                                     const std::wstring& addText, long iconIndex) {
  std::wstring path = programPath;
  path.erase(0, path.find_first_not_of(L' '));
  path.erase(path.find_last_not_of(L' ') + 1);
  if (path.empty() || path.front() != L'"') path.insert(0, L"\"");
  if (path.size() < 2 || path.back() != L'"') path += L'"';

  valueType_ = REG_SZ;
  valueKey_.clear();
  auto write = [&](const std::wstring& section, const std::wstring& text) {
    sectionKey_ = section;
    SetClassValue(text);
  };
  auto verb = [&](const wchar_t* name, const std::wstring& caption, const std::wstring& fallback,
                  const wchar_t* flag) {
    const std::wstring key = className + L"\\shell\\" + name;
    write(key, caption.empty() ? fallback : caption);
    write(key + L"\\command", path + L" " + (flag ? std::wstring(flag) + L" " : L"") + Quoted(L"%1"));
  };
  write(L"." + extension, className);
  write(className, classDescription);
  verb(L"open", openText, L"&Open", nullptr);
  if (withPrint) verb(L"print", printText, L"&Print", L"/p");
  if (withAdd) verb(L"add", addText, L"&Install " + extension, L"/a");
  if (withNew) verb(L"new", newText, L"&New", L"/n");
  if (iconIndex > -1) write(className + L"\\DefaultIcon", path + L"," + std::to_wstring(iconIndex));
}

void CRegistry::CreateAdditionalEXEAssociations(const std::wstring& sClassName, const Variant& vItems) {
  long items = 0;
  try {
    items = vItems.ubound() - vItems.lbound() + 1;
  } catch (const VbError&) {
    items = 0;
  }
  if (items <= 0 || items % 3 != 0)
    Fail(kBadItemList, L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
  sectionKey_ = sClassName;
  if (!KeyExists()) Fail(kClassMissing, L"Error - attempt to create additional associations before class defined.");
  valueType_ = REG_SZ;
  valueKey_.clear();
  const long first = vItems.lbound();
  for (long i = 0; i < items; i += 3) {
    // A failing write, a verb or text that is no text included, is skipped and the
    // next one follows.
    auto verbKey = [&] { return sClassName + L"\\shell\\" + vItems.at(first + i).toText(); };
    RunEachStep({
        [&] {
          sectionKey_ = verbKey();
          SetClassValue(vItems.at(first + i + 1).toText());
        },
        [&] {
          sectionKey_ = verbKey() + L"\\command";
          SetClassValue(vItems.at(first + i + 2).toText());
        },
    });
  }
}

bool LoadInternationalSettings() {
  // What was stored before a failure stays.
  return FalseOnError([] {
    CRegistry registry;
    registry.SetClassKey(CRegistry::kCurrentUser);
    registry.SetSectionKey(L"Control Panel\\International");
    registry.SetValueKey(L"sDecimal");
    Shared().gDecimalSeparator = registry.Value();
    registry.SetValueKey(L"sList");
    Shared().gListSeparator = registry.Value();
    return true;
  });
}

}  // namespace vk
