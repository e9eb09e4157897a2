#include "data_fixture.h"

#include <sqlite3.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "dataaccess/qd_procedure.h"
#include "dataaccess/sqlite_db.h"

namespace vk::test {

namespace {

std::string ReadScript(const std::string& name) {
  std::ifstream in(std::string(VK_DB_DIR) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void DeleteTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::wstring DbScript(const std::string& name) { return Wide(ReadScript(name).c_str()); }

void BuildDatabase(const std::wstring& path, const std::vector<std::string>& scripts, const std::string& extra) {
  DeleteFileW(path.c_str());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(data::Narrow(path).c_str(), &db), SQLITE_OK);
  std::string all;
  for (const std::string& name : scripts) {
    std::string text = ReadScript(name);
    ASSERT_FALSE(text.empty()) << name;
    all += text + "\n";
  }
  all += extra;
  char* error = nullptr;
  int rc = sqlite3_exec(db, all.c_str(), nullptr, nullptr, &error);
  std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
}

long LongOf(const DispResult& r) {
  VARIANT n;
  VariantInit(&n);
  if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(&r.value), 0, VT_I4))) return -99999;
  return V_I4(&n);
}

std::wstring TextOf(const DispResult& r) {
  VARIANT t;
  VariantInit(&t);
  if (FAILED(VariantChangeType(&t, const_cast<VARIANT*>(&r.value), 0, VT_BSTR))) return L"<not text>";
  std::wstring out = V_BSTR(&t) ? V_BSTR(&t) : L"";
  VariantClear(&t);
  return out;
}

bool IsTrue(const DispResult& r) { return V_VT(&r.value) == VT_BOOL && V_BOOL(&r.value) == VARIANT_TRUE; }

VARTYPE TypeOf(const DispResult& r) { return V_VT(&r.value); }

com::ComPtr<IDispatch> ObjectOf(const DispResult& r) {
  return V_VT(&r.value) == VT_DISPATCH ? com::ComPtr<IDispatch>(V_DISPATCH(&r.value)) : com::ComPtr<IDispatch>();
}

VARIANT Null() {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_NULL;
  return v;
}

VARIANT Bool(bool value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT Double(double value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_R8;
  V_R8(&v) = value;
  return v;
}

VARIANT Date(int y, int m, int d, int hh, int mm, int ss) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(m);
  t.wDay = static_cast<WORD>(d);
  t.wHour = static_cast<WORD>(hh);
  t.wMinute = static_cast<WORD>(mm);
  t.wSecond = static_cast<WORD>(ss);
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DATE;
  SystemTimeToVariantTime(&t, &V_DATE(&v));
  return v;
}

VARIANT Array(std::vector<VARIANT> items) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(items.size()));
  for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
    SafeArrayPutElement(array, &i, &items[i]);
    VariantClear(&items[i]);
  }
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&v) = array;
  return v;
}

VARIANT Object(IDispatch* object) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  if (object) object->AddRef();
  return v;
}

namespace {

std::wstring ScratchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"qdtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
  DeleteTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// The two databases, built once per test program from the scripts (each test gets
// copies) and removed when the program ends.
struct Templates {
  std::wstring folder = ScratchFolder(L"templates");
  Templates() {
    BuildDatabase(folder + L"\\App.db", {"application_schema.sql", "application_data.sql"});
    BuildDatabase(folder + L"\\Sec.db", {"security_schema.sql", "security_data.sql"});
  }
  ~Templates() { DeleteTree(folder); }
};

const std::wstring& TemplateFolder() {
  static const Templates templates;
  return templates.folder;
}

}  // namespace

void DataTest::SetUp() {
  static std::atomic<int> counter{0};
  folder_ = ScratchFolder(std::to_wstring(++counter));
  CreateDirectoryW(DataFolder().c_str(), nullptr);
  for (const wchar_t* key : {kApp, kSec}) {
    ASSERT_TRUE(CopyFileW((TemplateFolder() + L"\\" + key + L".db").c_str(), PathOf(key).c_str(), FALSE));
  }
  data::QdProcedure::SetDefaultFolder(folder_);
  data_ = com::ComPtr<IDispatch>::Attach(data::QdProcedure::Create());
}

void DataTest::TearDown() {
  data_.reset();
  data::Database::SetTimeLimit(kDefaultTimeLimitMs);
  DeleteTree(folder_);
}

com::ComPtr<IDispatch> DataTest::GetData(const wchar_t* key, const wchar_t* sql) { return GetData(key, Text(sql)); }

com::ComPtr<IDispatch> DataTest::GetData(const wchar_t* key, VARIANT command) {
  DispResult r = CallByName(data_.get(), L"GetData",
                            {Text(key), command, Null(), Bool(true), Long(0), Long(1), Long(0)});
  EXPECT_HRESULT_SUCCEEDED(r.hr) << r.description;
  EXPECT_EQ(V_VT(&r.value), VT_DISPATCH);
  if (V_VT(&r.value) != VT_DISPATCH) return {};
  return com::ComPtr<IDispatch>(V_DISPATCH(&r.value));
}

bool DataTest::Execute(const wchar_t* key, const wchar_t* command, VARIANT parameters, long kind) {
  DispResult r = CallByName(data_.get(), L"Execute",
                            {Text(key), Text(command), parameters, Long(0), Long(kind), Long(0)});
  EXPECT_HRESULT_SUCCEEDED(r.hr) << r.description;
  EXPECT_EQ(V_VT(&r.value), VT_BOOL);
  return V_VT(&r.value) == VT_BOOL && V_BOOL(&r.value) == VARIANT_TRUE;
}

std::wstring DataTest::ErrDescription() {
  DispResult r = CallByName(data_.get(), L"ErrDescription");
  return V_VT(&r.value) == VT_BSTR && V_BSTR(&r.value) ? V_BSTR(&r.value) : L"";
}

DispResult DataTest::Field(IDispatch* rs, const wchar_t* name) {
  DispResult field = CallByName(rs, L"Fields", {Text(name)});
  if (FAILED(field.hr)) return field;
  return CallByName(ObjectOf(field).get(), L"Value");
}

long DataTest::Count(const wchar_t* key, const wchar_t* sql) {
  com::ComPtr<IDispatch> rs = GetData(key, sql);
  if (!rs) return -1;
  com::ComPtr<IDispatch> first = ObjectOf(CallByName(rs.get(), L"Fields", {Long(0)}));
  return first ? LongOf(CallByName(first.get(), L"Value")) : -1;
}

}  // namespace vk::test
