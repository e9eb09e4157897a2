#pragma once
// Test set-up for the data-access component: fresh databases built from the
// project's schema and sample data in a folder of their own under %TEMP%, and a
// QdProcedure object created in this process that serves them.
#include <gtest/gtest.h>
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "support/com_test.h"

namespace vk::test {

// The text of a script of the db folder.
std::wstring DbScript(const std::string& name);

// Runs SQL scripts (files of the db folder, by name) and extra SQL into a new database.
void BuildDatabase(const std::wstring& path, const std::vector<std::string>& scripts, const std::string& extra = {});

// A Variant owned by the holder.
class Var {
 public:
  Var() { VariantInit(&v_); }
  explicit Var(VARIANT v) : v_(v) {}
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(&v_); }
  VARIANT* get() { return &v_; }
  const VARIANT& operator*() const { return v_; }
  VARTYPE type() const { return V_VT(&v_); }

 private:
  VARIANT v_;
};

// Readings of a call's result (they accept the temporary a call returns).
long LongOf(const DispResult& r);  // -99999 when it is not a number
std::wstring TextOf(const DispResult& r);
bool IsTrue(const DispResult& r);
VARTYPE TypeOf(const DispResult& r);
com::ComPtr<IDispatch> ObjectOf(const DispResult& r);

VARIANT Null();
VARIANT Bool(bool value);
VARIANT Double(double value);
VARIANT Date(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0);
VARIANT Array(std::vector<VARIANT> items);  // takes the items over
VARIANT Object(IDispatch* object);          // adds a reference

class DataTest : public ::testing::Test {
 protected:
  // Keys of the two databases each test gets.
  static constexpr const wchar_t* kApp = L"App";
  static constexpr const wchar_t* kSec = L"Sec";
  // The component's own time limit, which a test may shorten (it is put back after each).
  static constexpr unsigned kDefaultTimeLimitMs = 30000;

  void SetUp() override;
  void TearDown() override;

  std::wstring DataFolder() const { return folder_ + L"\\data"; }
  std::wstring PathOf(const wchar_t* key) const { return DataFolder() + L"\\" + key + L".db"; }

  // GetData with the constant arguments callers pass; null when it failed.
  com::ComPtr<IDispatch> GetData(const wchar_t* key, const wchar_t* sql);
  com::ComPtr<IDispatch> GetData(const wchar_t* key, VARIANT command);
  bool Execute(const wchar_t* key, const wchar_t* command, VARIANT parameters, long kind);
  bool Sql(const wchar_t* key, const wchar_t* sql) { return Execute(key, sql, Null(), 1); }
  std::wstring ErrDescription();

  // The value of rs(name) on the current row, or the call's failure.
  DispResult Field(IDispatch* rs, const wchar_t* name);
  long Count(const wchar_t* key, const wchar_t* sql);  // the first field of the first row

  ComApartment com_;
  std::wstring folder_;
  com::ComPtr<IDispatch> data_;
};

}  // namespace vk::test
