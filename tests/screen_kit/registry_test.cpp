// CRegistry on a scratch key under HKEY_CURRENT_USER, and the regional separators.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>
#include <tuple>
#include <vector>

#include "base/vb_error.h"
#include "screen_kit/registry.h"
#include "screen_kit/shared_state.h"
#include "support/error_of.h"

namespace {

using namespace vk;

const wchar_t kScratch[] = L"Software\\VkRegistryTest";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    reg_.SetClassKey(CRegistry::kCurrentUser);
    reg_.SetSectionKey(kScratch);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
  }
  void Store(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  DWORD StoredType(const wchar_t* name) {
    DWORD type = 0;
    return RegQueryValueExW(key_, name, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS ? type : 0xFFFF;
  }

  HKEY key_ = nullptr;
  CRegistry reg_;
};

TEST_F(RegistryTest, ReadsEachStoredType) {
  Store(L"text", REG_SZ, L"abc", 8);
  Store(L"empty", REG_SZ, L"", 0);
  Store(L"multi", REG_MULTI_SZ, L"a\0b\0", 10);
  long number = 0x01020304;
  Store(L"dword", REG_DWORD, &number, 4);
  Store(L"big", REG_DWORD_BIG_ENDIAN, &number, 4);
  const BYTE bytes[] = {1, 2, 250};
  Store(L"bin", REG_BINARY, bytes, 3);
  SetEnvironmentVariableW(L"VK_REG_TEST", L"expanded");
  Store(L"exp", REG_EXPAND_SZ, L"x%VK_REG_TEST%y", 32);

  reg_.SetValueKey(L"text");
  EXPECT_EQ(reg_.Value().toText(), L"abc");
  EXPECT_EQ(reg_.ValueType(), REG_SZ);
  reg_.SetValueKey(L"empty");
  EXPECT_EQ(reg_.Value().toText(), L"");
  reg_.SetValueKey(L"multi");
  EXPECT_EQ(reg_.Value().toText(), std::wstring(L"a\0b\0", 4));
  reg_.SetValueKey(L"dword");
  EXPECT_EQ(reg_.Value().toLong(), 0x01020304);
  EXPECT_EQ(reg_.ValueType(), REG_DWORD);
  reg_.SetValueKey(L"big");
  EXPECT_EQ(reg_.Value().toLong(), 0x04030201);
  // A number stored with fewer than four bytes is read as far as it goes, never past it.
  const BYTE two[] = {0x02, 0x01};
  for (auto [type, size, read] : {std::tuple{REG_DWORD, 2, 0x0102}, {REG_DWORD, 0, 0}, {REG_DWORD_BIG_ENDIAN, 2, 0x02010000}}) {
    Store(L"short", type, two, size);
    reg_.SetValueKey(L"short");
    EXPECT_EQ(reg_.Value().toLong(), read) << type << " of " << size << " bytes";
  }
  reg_.SetValueKey(L"exp");
  EXPECT_EQ(reg_.Value().toText(), L"xexpandedy");
  reg_.SetValueKey(L"bin");
  Variant read = reg_.Value();
  ASSERT_EQ(read.vt(), VT_ARRAY | VT_UI1);
  EXPECT_EQ(read.ubound(), 2);
  EXPECT_EQ(read.at(2).toLong(), 250);
}

TEST_F(RegistryTest, MissingValueGivesDefaultAndKeepsTheType) {
  reg_.SetValueType(REG_BINARY);
  reg_.SetValueKey(L"nothing here");
  EXPECT_TRUE(reg_.Value().isEmpty());
  EXPECT_EQ(reg_.ValueType(), REG_BINARY);
  reg_.SetDefault(Variant(L"fallback"));
  EXPECT_EQ(reg_.Value().toText(), L"fallback");
  reg_.SetSectionKey(L"Software\\VkRegistryTest\\missing");
  EXPECT_EQ(reg_.Value().toText(), L"fallback");
}

TEST_F(RegistryTest, TheTypeAlwaysDescribesTheValueReturned) {
  // Another writer makes the value come and go, also between the probe and the read: a
  // read that then fails gives the default and leaves ValueType as it was.
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    const DWORD nine = 9;
    while (!stop) {
      RegSetValueExW(key_, L"flicker", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nine), sizeof nine);
      RegDeleteValueW(key_, L"flicker");
    }
  });
  reg_.SetValueKey(L"flicker");
  for (int i = 0; i < 400; ++i) {
    reg_.SetValueType(REG_BINARY);
    const Variant value = reg_.Value();
    EXPECT_EQ(reg_.ValueType(), value.isEmpty() ? REG_BINARY : REG_DWORD);
  }
  stop = true;
  writer.join();
}

TEST_F(RegistryTest, TextWriteChoosesExpandableByItsPercentSigns) {
  struct Case { const wchar_t* text; long asked; DWORD stored; };
  const Case cases[] = {
      {L"%1", REG_EXPAND_SZ, REG_SZ},
      {L"a%%b", REG_EXPAND_SZ, REG_SZ},
      {L"%ab%", REG_SZ, REG_EXPAND_SZ},
      {L"%TEMP%", REG_SZ, REG_EXPAND_SZ},
      {L"plain", REG_SZ, REG_SZ},
  };
  for (const Case& c : cases) {
    reg_.SetValueKey(c.text);
    reg_.SetValueType(c.asked);
    reg_.SetValue(Variant(c.text));
    EXPECT_EQ(StoredType(c.text), c.stored) << c.text;
  }
  // The stored text is whole, terminating NUL included.
  wchar_t back[16] = {};
  DWORD size = sizeof back;
  RegQueryValueExW(key_, L"plain", nullptr, nullptr, reinterpret_cast<BYTE*>(back), &size);
  EXPECT_EQ(size, 12u);
  EXPECT_STREQ(back, L"plain");
}

TEST_F(RegistryTest, NumbersBytesAndRefusals) {
  reg_.SetValueKey(L"n");
  reg_.SetValueType(REG_DWORD);
  reg_.SetValue(Variant(L"5"));  // a text is not written, and nothing is raised
  EXPECT_EQ(StoredType(L"n"), 0xFFFFu);
  reg_.SetValue(Variant(7L));
  EXPECT_EQ(reg_.Value().toLong(), 7);

  reg_.SetValueKey(L"bytes");
  reg_.SetValueType(REG_BINARY);
  const BYTE raw[] = {0, 9, 255};
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 3);
  memcpy(array->pvData, raw, 3);
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_ARRAY | VT_UI1;
  V_ARRAY(&v) = array;
  reg_.SetValue(Variant::Attach(v));
  Variant back = reg_.Value();
  ASSERT_EQ(back.ubound(), 2);
  EXPECT_EQ(back.at(1).toLong(), 9);
  EXPECT_EQ(back.at(2).toLong(), 255);

  try {
    reg_.SetValue(Variant(L"not bytes"));
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.description, L"");
  }
  reg_.SetValueType(REG_LINK);
  try {
    reg_.SetValue(Variant(L"x"));
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, static_cast<long>(0x800469A9));
    EXPECT_EQ(e.source, L"MorvalZIVI01.cRegistry");
    EXPECT_EQ(e.description, L"Failed to set registry value Key: '-2147483647',Section: 'Software\\VkRegistryTest',"
                             L"Key: 'bytes' to value: 'x'");
  }
}

TEST_F(RegistryTest, KeysAndEnumeration) {
  std::vector<std::wstring> names;
  long count = -1;
  reg_.SetSectionKey(L"Software\\VkRegistryTest\\none");
  EXPECT_FALSE(reg_.KeyExists());
  EXPECT_TRUE(reg_.EnumerateValues(names, count));
  EXPECT_EQ(count, 0);
  try {
    reg_.DeleteKey();
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.description, L"Failed to delete registry Key: '-2147483647',Section: 'Software\\VkRegistryTest\\none");
  }
  EXPECT_TRUE(reg_.CreateKey());
  EXPECT_TRUE(reg_.KeyExists());
  reg_.SetSectionKey(kScratch);
  Store(L"one", REG_SZ, L"1", 4);
  Store(L"two", REG_SZ, L"2", 4);
  EXPECT_TRUE(reg_.EnumerateValues(names, count));
  EXPECT_EQ(count, 2);
  EXPECT_EQ(names.size(), 2u);
  EXPECT_TRUE(reg_.EnumerateSections(names, count));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(names[0], L"none");
  reg_.SetValueKey(L"one");
  EXPECT_TRUE(reg_.DeleteValue());
  EXPECT_THROW(reg_.DeleteValue(), VbError);
  reg_.SetSectionKey(L"Software\\VkRegistryTest\\none");
  EXPECT_TRUE(reg_.DeleteKey());
}

TEST_F(RegistryTest, FailuresNameTheirKeysInTheirTexts) {
  // The description of error 26001 that a call on a registry at this place raises.
  auto failure = [](long root, const std::wstring& section, const wchar_t* value, auto call) {
    CRegistry r;
    r.SetClassKey(root);
    r.SetSectionKey(section);
    r.SetValueKey(value);
    const VbError e = test::RaisedBy([&] { call(r); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.source, L"MorvalZIVI01.cRegistry");
    return e.description;
  };
  const std::wstring gone = L"Software\\VkRegistryTest\\gone", scratch = kScratch;
  const long user = CRegistry::kCurrentUser;
  EXPECT_EQ(failure(0, gone, L"", [](CRegistry& r) { r.CreateKey(); }), L"Failed to create registry Key: '" + gone);
  EXPECT_EQ(failure(user, gone, L"v", [](CRegistry& r) { r.DeleteValue(); }),
            L"Failed to open key '-2147483647',Section: '" + gone + L"' for delete access");
  EXPECT_EQ(failure(user, scratch, L"v", [](CRegistry& r) { r.DeleteValue(); }),
            L"Failed to delete registry Key: '-2147483647',Section: '" + scratch + L"',Key: 'v");
  EXPECT_EQ(failure(0, scratch, L"v", [](CRegistry& r) { r.SetValueType(REG_DWORD), r.SetValue(Variant(5L)); }),
            L"Failed to set registry value Key: '0',Section: '" + scratch + L"',Key: 'v' to value: '5'");
}

TEST_F(RegistryTest, AdditionalAssociationsRefuseBadListsAndMissingClasses) {
  reg_.SetClassKey(CRegistry::kCurrentUser);
  try {
    reg_.CreateAdditionalEXEAssociations(L"Software\\VkRegistryTest", Variant::Array({L"verb", L"text"}));
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, static_cast<long>(0x800469AC));
  }
  try {
    reg_.CreateAdditionalEXEAssociations(L"Software\\VkRegistryTest\\nope", Variant::Array({L"v", L"t", L"c"}));
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, static_cast<long>(0x800469AD));
  }
}

std::wstring ClassesText(const std::wstring& path) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), L"", RRF_RT_REG_SZ, nullptr, value, &size)) return L"<missing>";
  return value;
}

TEST(Associations, WriteEveryVerbUnderBothRoots) {
  CRegistry reg;
  reg.CreateEXEAssociation(L"  C:\\Apps\\visor.exe ", L"VkTest.Doc", L"Documento de prueba", L"vktst", L"", true,
                           L"", true, L"Nuevo", false, L"", 2);
  EXPECT_EQ(ClassesText(L".vktst"), L"VkTest.Doc");
  EXPECT_EQ(ClassesText(L"VkTest.Doc"), L"Documento de prueba");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\open"), L"&Open");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\open\\command"), L"\"C:\\Apps\\visor.exe\" \"%1\"");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\print\\command"), L"\"C:\\Apps\\visor.exe\" /p \"%1\"");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\new"), L"Nuevo");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\add"), L"<missing>");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\DefaultIcon"), L"\"C:\\Apps\\visor.exe\",2");
  EXPECT_EQ(reg.ClassKey(), CRegistry::kLocalMachine);
  HKEY machine = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\VkTest.Doc\\shell\\new", 0, KEY_READ, &machine),
            ERROR_SUCCESS);
  RegCloseKey(machine);

  reg.SetClassKey(CRegistry::kClassesRoot);
  // A triple whose verb is Null is skipped; the next one is written.
  reg.CreateAdditionalEXEAssociations(L"VkTest.Doc", Variant::Array({Variant::Null(), L"&Nada", L"nada.exe", L"edit",
                                                                     L"&Editar", L"visor.exe /e \"%1\""}));
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\edit"), L"&Editar");
  EXPECT_EQ(ClassesText(L"VkTest.Doc\\shell\\edit\\command"), L"visor.exe /e \"%1\"");

  RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VkTest.Doc");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, L".vktst");
}

TEST(Endian, SwapsFourBytes) {
  EXPECT_EQ(SwapEndian(0x01020304), 0x04030201);
  EXPECT_EQ(SwapEndian(static_cast<long>(0xFF000000)), 0xFF);
}

// One value of the user's international settings, put back as it was (or removed when
// there was none) however the test ends, so no later test depends on this one.
struct SavedSetting {
  explicit SavedSetting(const wchar_t* valueName) : name(valueName), saved(512) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    DWORD size = static_cast<DWORD>(saved.size());
    had = RegQueryValueExW(key, name, nullptr, &type, saved.data(), &size) == ERROR_SUCCESS;
    saved.resize(size);
  }
  ~SavedSetting() {
    if (had) RegSetValueExW(key, name, 0, type, saved.data(), static_cast<DWORD>(saved.size()));
    else RegDeleteValueW(key, name);
    RegCloseKey(key);
  }
  void Set(const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  const wchar_t* name;
  std::vector<BYTE> saved;
  HKEY key = nullptr;
  DWORD type = REG_SZ;
  bool had = false;
};

TEST(InternationalSettings, ReadsBothSeparatorsAndLeavesMissingOnesEmpty) {
  SavedSetting decimal(L"sDecimal"), list(L"sList");
  decimal.Set(L",");
  RegDeleteValueW(list.key, list.name);
  EXPECT_TRUE(LoadInternationalSettings());
  EXPECT_EQ(Shared().gDecimalSeparator.toText(), L",");
  EXPECT_TRUE(Shared().gListSeparator.isEmpty());

  list.Set(L";");
  EXPECT_TRUE(LoadInternationalSettings());
  EXPECT_EQ(Shared().gListSeparator.toText(), L";");
}

}  // namespace
