// regsvr32 round trip on the product DLL: every key there after /s, gone after /u.
#include <gtest/gtest.h>

#include "MorvalZIVI01.h"
#include "support/com_test.h"

namespace {

using vk::test::ClassesKeyExists;

std::wstring GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  StringFromGUID2(guid, text, 64);
  return text;
}

std::wstring DllPath() { return vk::test::BinFolder() + L"\\MorvalZIVI01.dll"; }

DWORD Regsvr32(const wchar_t* flags) {
  return vk::test::RunAndWait(L"regsvr32.exe " + std::wstring(flags) + L" \"" + DllPath() + L"\"");
}

std::wstring ReadDefault(const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return value;
}

TEST(Registration, UnregisterRemovesEverythingAndRegisterRestoresIt) {
  const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_CObject);
  const std::wstring typeLibKey = L"TypeLib\\" + GuidText(LIBID_MorvalZIVI01);
  const std::wstring interfaceKey = L"Interface\\" + GuidText(IID__CObject);

  ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
  EXPECT_FALSE(ClassesKeyExists(clsidKey));
  EXPECT_FALSE(ClassesKeyExists(L"MorvalZIVI01.CObject"));
  EXPECT_FALSE(ClassesKeyExists(typeLibKey));
  EXPECT_FALSE(ClassesKeyExists(interfaceKey));

  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  EXPECT_EQ(ReadDefault(L"MorvalZIVI01.CObject\\Clsid"), GuidText(CLSID_CObject));
  EXPECT_EQ(ReadDefault(clsidKey + L"\\ProgID"), L"MorvalZIVI01.CObject");
  EXPECT_EQ(ReadDefault(clsidKey + L"\\TypeLib"), GuidText(LIBID_MorvalZIVI01));
  EXPECT_EQ(ReadDefault(clsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  std::wstring server = ReadDefault(clsidKey + L"\\InprocServer32");
  EXPECT_EQ(CompareStringOrdinal(server.c_str(), -1, DllPath().c_str(), -1, TRUE), CSTR_EQUAL) << server;
  EXPECT_TRUE(ClassesKeyExists(typeLibKey + L"\\1.0"));
  EXPECT_TRUE(ClassesKeyExists(interfaceKey));
}

TEST(Registration, RegisteredClassIsCreatableByProgId) {
  vk::test::ComApartment com;
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"MorvalZIVI01.CObject", &clsid));
  EXPECT_EQ(clsid, CLSID_CObject);
  vk::ComPtr<IDispatch> object;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void()));
}

}  // namespace
