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

struct ServedClass {
  const CLSID* clsid;
  const IID* iid;
  const wchar_t* progId;
};

const ServedClass kClasses[] = {
    {&CLSID_CObject, &IID__CObject, L"MorvalZIVI01.CObject"},
    {&CLSID_CToolTipBaloon, &IID__CToolTipBaloon, L"MorvalZIVI01.CToolTipBaloon"},
};

TEST(Registration, UnregisterRemovesEverythingAndRegisterRestoresIt) {
  const std::wstring typeLibKey = L"TypeLib\\" + GuidText(LIBID_MorvalZIVI01);

  ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
  EXPECT_FALSE(ClassesKeyExists(typeLibKey));
  for (const ServedClass& c : kClasses) {
    SCOPED_TRACE(c.progId);
    EXPECT_FALSE(ClassesKeyExists(L"CLSID\\" + GuidText(*c.clsid)));
    EXPECT_FALSE(ClassesKeyExists(c.progId));
    EXPECT_FALSE(ClassesKeyExists(L"Interface\\" + GuidText(*c.iid)));
  }

  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  EXPECT_TRUE(ClassesKeyExists(typeLibKey + L"\\1.0"));
  for (const ServedClass& c : kClasses) {
    SCOPED_TRACE(c.progId);
    const std::wstring clsidKey = L"CLSID\\" + GuidText(*c.clsid);
    EXPECT_EQ(ReadDefault(std::wstring(c.progId) + L"\\Clsid"), GuidText(*c.clsid));
    EXPECT_EQ(ReadDefault(clsidKey + L"\\ProgID"), c.progId);
    EXPECT_EQ(ReadDefault(clsidKey + L"\\TypeLib"), GuidText(LIBID_MorvalZIVI01));
    EXPECT_EQ(ReadDefault(clsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    std::wstring server = ReadDefault(clsidKey + L"\\InprocServer32");
    EXPECT_EQ(CompareStringOrdinal(server.c_str(), -1, DllPath().c_str(), -1, TRUE), CSTR_EQUAL) << server;
    EXPECT_TRUE(ClassesKeyExists(L"Interface\\" + GuidText(*c.iid)));
  }
}

TEST(Registration, RegisteredClassesAreCreatableByProgId) {
  vk::test::ComApartment com;
  for (const ServedClass& c : kClasses) {
    SCOPED_TRACE(c.progId);
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(c.progId, &clsid));
    EXPECT_EQ(clsid, *c.clsid);
    vk::com::ComPtr<IDispatch> object;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void()));
  }
}

}  // namespace
