// regsvr32 round trip of QdPoolConnection.dll, then the registered class created by
// its ProgID reading the sample databases that the build put beside it.
#include <gtest/gtest.h>

#include "data_fixture.h"
#include "dataaccess/qd_procedure.h"

namespace vk::test {
namespace {

std::wstring DllPath() { return BinFolder() + L"\\QdPoolConnection.dll"; }
DWORD Regsvr32(const wchar_t* flags) { return test::Regsvr32(L"QdPoolConnection.dll", flags); }

TEST(DataAccessRegistration, UnregisterRemovesTheClassAndRegisterRestoresIt) {
  const std::wstring clsidKey = L"CLSID\\" + GuidText(data::CLSID_QdProcedure);
  ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
  EXPECT_FALSE(ClassesKeyExists(clsidKey));
  EXPECT_FALSE(ClassesKeyExists(L"QdPoolConnection.QdProcedure"));

  ASSERT_EQ(Regsvr32(L"/s"), 0u);
  EXPECT_EQ(ClassesValue(L"QdPoolConnection.QdProcedure\\Clsid"), GuidText(data::CLSID_QdProcedure));
  EXPECT_EQ(ClassesValue(clsidKey + L"\\ProgID"), L"QdPoolConnection.QdProcedure");
  EXPECT_EQ(ClassesValue(clsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  std::wstring server = ClassesValue(clsidKey + L"\\InprocServer32");
  EXPECT_EQ(CompareStringOrdinal(server.c_str(), -1, DllPath().c_str(), -1, TRUE), CSTR_EQUAL);
}

TEST(DataAccessRegistration, TheRegisteredClassReadsBothSampleDatabases) {
  ComApartment com;
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"QdPoolConnection.QdProcedure", &clsid));
  com::ComPtr<IDispatch> data;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, data.put_void()));

  wchar_t user[256] = {};
  DWORD size = 256;
  GetUserNameW(user, &size);
  struct Case {
    const wchar_t* key;
    std::wstring sql;
    const wchar_t* field;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"Ostrela", L"Select * From AplicationParameters Where ParameterId = 'HKEY_DOCUMENTOS_PATH_ORIGEN'",
       L"ParameterValue", L"C:\\Ostrela\\Origen\\[UserNameNT]"},
      {L"VkS", L"Select * From Users Where UserName = '" + std::wstring(user) + L"'", L"UserLevel", L"0"},
      {L"VkS", L"Select * From Users Where UserName = 'usuario1'", L"UserLevel", L"1"},
  };
  for (const Case& c : cases) {
    DispResult rs = CallByName(data.get(), L"GetData",
                               {Text(c.key), Text(c.sql.c_str()), Null(), Bool(true), Long(0), Long(1), Long(0)});
    com::ComPtr<IDispatch> recordset = ObjectOf(rs);
    ASSERT_TRUE(recordset) << TextOf(CallByName(data.get(), L"ErrDescription"));
    com::ComPtr<IDispatch> field = ObjectOf(CallByName(recordset.get(), L"Fields", {Text(c.field)}));
    EXPECT_EQ(TextOf(CallByName(field.get(), L"Value")), c.expected);
  }
}

}  // namespace
}  // namespace vk::test
