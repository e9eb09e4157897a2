// What a command may and may not do: texts SQLite would read otherwise than the
// translator (an unpaired surrogate, a NUL), "?" values, transaction control, dates,
// and the time limit; a refused command leaves the data as it was.
#include "data_fixture.h"

#include <sqlite3.h>

#include <thread>

#include "dataaccess/sqlite_db.h"

namespace vk::test {
namespace {

using CommandTest = DataTest;

// A string Variant that may hold a NUL.
VARIANT Bstr(const std::wstring& text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return v;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST_F(CommandTest, TextSqliteWouldReadDifferentlyIsRefusedAndRunsNothing) {
  const std::wstring lone(1, static_cast<wchar_t>(0xDC00));
  // Two quote-doubled values; the surrogate would swallow the quote that closes the first.
  const std::wstring deleteAll =
      L"Delete From Documentos Where ReferenciaId = 'x" + lone + L"' And CBarra = ' Or 1=1 --';";
  const std::wstring withNul = std::wstring(L"Update Documentos Set IsEnabled = 1 Where DocumentoId = 1") +
                               L'\0' + L"; Delete From Documentos";
  struct Case {
    const char* what;
    std::wstring command;
    const wchar_t* reason;
  };
  const Case cases[] = {
      {"an unpaired surrogate", deleteAll, L"U+DC00"},
      {"a lone high surrogate at the end",
       L"Update Documentos Set Campo01 = '" + std::wstring(1, wchar_t(0xD83D)) + L"'", L"U+D83D"},
      {"a NUL", withNul, L"nulo"},
  };
  for (const Case& c : cases) {
    DispResult r =
        CallByName(data_.get(), L"Execute", {Text(kApp), Bstr(c.command), Null(), Long(0), Long(1), Long(0)});
    EXPECT_FALSE(IsTrue(r)) << c.what;
    EXPECT_NE(ErrDescription().find(c.reason), std::wstring::npos) << c.what << ": " << Narrow(ErrDescription());
    EXPECT_FALSE(GetData(kApp, Bstr(L"Select * From Documentos Where ReferenciaId = 'x" + lone +
                                      L"' Or CBarra = ' Or 1=1 --'")))
        << c.what;
  }
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos Where IsEnabled = 1 Or Campo01 Is Null"), 2);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 3);

  // A key with a NUL names no other key's database.
  DispResult read = CallByName(data_.get(), L"GetData", {Bstr(std::wstring(kApp) + L'\0' + kSec), Text(L"Select 1"),
                                                         Null(), Bool(true), Long(0), Long(1), Long(0)});
  EXPECT_EQ(TypeOf(read), VT_DISPATCH);
  EXPECT_FALSE(ObjectOf(read));
  EXPECT_NE(ErrDescription().find(L"nulo"), std::wstring::npos);

  // Values: a lone surrogate is refused, a pair (outside the first plane) is kept.
  const std::wstring face = L"cara \U0001F600";
  const wchar_t* update = L"Update Documentos Set Campo01 = ? Where DocumentoId = 1";
  EXPECT_FALSE(Execute(kApp, update, Array({Bstr(L"a" + lone)}), 1));
  EXPECT_NE(ErrDescription().find(L"parámetro 1"), std::wstring::npos);
  ASSERT_TRUE(Execute(kApp, update, Array({Bstr(face)}), 1))
      << Narrow(ErrDescription());
  ASSERT_TRUE(Sql(kApp, (L"Update Documentos Set Campo02 = '" + face + L"' Where DocumentoId = 1").c_str()));
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select Campo01, Campo02 From Documentos Where DocumentoId = 1");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo01")), face);
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo02")), face);
}

TEST_F(CommandTest, QuestionMarksTakeTheValuesInOrder) {
  ASSERT_TRUE(Execute(kApp,
                      L"Update Documentos Set Campo06 = ?, Campo07 = ? Where DocumentoId = ?; "
                      L"Update Documentos Set Campo08 = ?, Campo09 = ?, Fecha = ?, Campo10 = ? Where DocumentoId = 1",
                      Array({Text(L"given"), Long(5), Long(1), Double(2.5), Bool(true), Date(2020, 1, 2), Null()}), 1))
      << Narrow(ErrDescription());
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select * From Documentos Where DocumentoId = 1");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo06")), L"given");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo07")), L"5");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo08")), L"2.5");
  EXPECT_EQ(TextOf(Field(rs.get(), L"Campo09")), L"1");
  EXPECT_EQ(TypeOf(Field(rs.get(), L"Campo10")), VT_NULL);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos Where Fecha = '2020-01-02 00:00:00'"), 1);

  // A count that does not match, or a marker that does not bind by position, runs nothing.
  struct Case {
    const char* what;
    const wchar_t* command;
    std::vector<VARIANT> values;
  };
  Case cases[] = {
      {"too few", L"Delete From Documentos; Update Documentos Set Campo06 = ?", {}},
      {"too many", L"Delete From Documentos Where DocumentoId = ?", {Long(1), Long(2)}},
      {"values for none", L"Delete From Documentos", {Long(1)}},
      {"a named marker", L"Delete From Documentos Where DocumentoId = :id", {}},
      {"a numbered marker", L"Delete From Documentos Where DocumentoId = ?1", {Long(1)}},
  };
  for (Case& c : cases) {
    EXPECT_FALSE(Execute(kApp, c.command, Array(std::move(c.values)), 1)) << c.what;
    EXPECT_FALSE(ErrDescription().empty()) << c.what;
  }
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 3);
  // A read has no values to give, so a marker fails it.
  EXPECT_FALSE(GetData(kApp, L"Select * From Documentos Where DocumentoId = ?"));
  EXPECT_NE(ErrDescription().find(L"?"), std::wstring::npos);
}

TEST_F(CommandTest, TheComponentOffersItsThreeMembersAndNoOther) {
  // As the component it stands in for: a caller learns what a command changed by
  // reading the rows back, never from a count the component keeps.
  auto known = [&](const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 0;
    return data_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  };
  for (const wchar_t* member : {L"GetData", L"Execute", L"ErrDescription", L"errdescription"})
    EXPECT_EQ(known(member), S_OK) << Narrow(member);
  for (const wchar_t* member : {L"RecordsAffected", L"RecordCount", L"Fields"})
    EXPECT_EQ(known(member), DISP_E_UNKNOWNNAME) << Narrow(member);
  EXPECT_TRUE(Sql(kApp, L"Update Documentos Set Campo06 = 'x'"));
  DispResult affected = CallByName(data_.get(), L"RecordsAffected");
  EXPECT_EQ(affected.hr, DISP_E_UNKNOWNNAME);
}

TEST_F(CommandTest, ACommandStaysOneTransaction) {
  const wchar_t* refused[] = {
      L"Delete From Documentos; Commit",
      L"Delete From Documentos; Rollback; Delete From Gerencias",
      L"Begin; Delete From Documentos",
      L"Delete From Documentos; End Transaction",
      L"Savepoint a; Delete From Documentos; Release a",
      L"Delete From Documentos -- fin\n;commit;",
  };
  for (const wchar_t* command : refused) {
    EXPECT_FALSE(Sql(kApp, command)) << Narrow(command);
    EXPECT_NE(ErrDescription().find(L"transacción"), std::wstring::npos) << Narrow(command);
  }
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 3);

  // A trigger's Begin and End belong to its statement.
  EXPECT_TRUE(Sql(kApp, L"Create Trigger Gerencias_Nueva After Insert On Gerencias Begin "
                        L"Update Gerencias Set IsEnabled = Case When New.GerenciaId = 'T1' Then 0 Else 1 End "
                        L"Where GerenciaId = New.GerenciaId; End; "
                        L"Insert Into Gerencias (GerenciaId, Gerencia) Values ('T1', 'Prueba')"))
      << Narrow(ErrDescription());
  EXPECT_EQ(Count(kApp, L"Select IsEnabled From Gerencias Where GerenciaId = 'T1'"), 0);

  // So does a procedure's body: one that would commit is refused before it runs.
  ASSERT_TRUE(Sql(kApp, L"Insert Into Procedures (Name, ParameterTypes, Body) Values ('Prueba_Confirma', '', "
                        L"'Delete From Documentos; Commit; Select RaiseError(''no'');')"));
  EXPECT_FALSE(Execute(kApp, L"Prueba_Confirma", Array({}), 4));
  EXPECT_NE(ErrDescription().find(L"Commit"), std::wstring::npos);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 3);
}

TEST_F(CommandTest, DatesAreDatesOnlyWhereTheSchemaSaysSo) {
  // A short date is a date beside a column the database declares as one, and text elsewhere.
  ASSERT_TRUE(Sql(kApp, L"Update Documentos Set Campo09 = '1/2/2020', Fecha = '1/2/2020' Where DocumentoId = 1"));
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos D Where Campo09 = '1/2/2020' And D.[Fecha] <= '1/2/2020'"),
            1);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos Where Fecha = '2020-01-02 00:00:00'"), 1);

  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select Cast('2021-02-03' As DateTime) As A, Cast('12/31/2020 10:30' As Date) "
                                       L"As B, Cast(FechaAlta As DateTime) As C From Documentos Where DocumentoId = 1");
  ASSERT_TRUE(rs) << Narrow(ErrDescription());
  for (const wchar_t* field : {L"A", L"B", L"C"}) EXPECT_EQ(TypeOf(Field(rs.get(), field)), VT_DATE) << field;
  SYSTEMTIME a{}, b{};
  DispResult first = Field(rs.get(), L"A"), second = Field(rs.get(), L"B");
  VariantTimeToSystemTime(V_DATE(&first.value), &a);
  VariantTimeToSystemTime(V_DATE(&second.value), &b);
  EXPECT_EQ((std::vector<int>{a.wYear, a.wMonth, a.wDay, b.wYear, b.wMonth, b.wDay, b.wHour}),
            (std::vector<int>{2021, 2, 3, 2020, 12, 31, 0}));
  EXPECT_FALSE(GetData(kApp, L"Select Cast('2021-02-30' As DateTime) As A"));
  EXPECT_NE(ErrDescription().find(L"2021-02-30"), std::wstring::npos);

  ASSERT_TRUE(Sql(kApp, L"Update Documentos Set Fecha = '2021-02-30' Where DocumentoId = 1"));
  DispResult stored = Field(GetData(kApp, L"Select Fecha From Documentos Where DocumentoId = 1").get(), L"Fecha");
  EXPECT_EQ(TypeOf(stored), VT_BSTR);
  EXPECT_EQ(TextOf(stored), L"2021-02-30");
}

TEST_F(CommandTest, ACallStopsAtTheTimeLimitAndChangesNothing) {
  data::Database::SetTimeLimit(300);
  const wchar_t* endless = L"With Recursive N(X) As (Select 1 Union All Select X + 1 From N) Select Count(*) From N";
  EXPECT_FALSE(GetData(kApp, endless));
  EXPECT_NE(ErrDescription().find(L"tiempo límite de 300 ms"), std::wstring::npos) << Narrow(ErrDescription());
  EXPECT_FALSE(Sql(kApp, (L"Delete From Documentos; " + std::wstring(endless)).c_str()));
  EXPECT_NE(ErrDescription().find(L"tiempo límite"), std::wstring::npos);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Documentos"), 3);
}

TEST_F(CommandTest, AWriterWaitsForAnotherWritersLock) {
  data::Database::SetTimeLimit(10000);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(data::Narrow(PathOf(kApp)).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO Gerencias (GerenciaId, Gerencia) VALUES ('QQ', 'Otra')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  // The other clerk finishes a moment later; ours queues behind it instead of failing.
  std::thread finish([other] {
    Sleep(300);
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  });
  EXPECT_TRUE(Sql(kApp, L"Update Documentos Set IsEnabled = 1 Where DocumentoId = 1")) << Narrow(ErrDescription());
  finish.join();
  sqlite3_close(other);
  EXPECT_EQ(Count(kApp, L"Select Count(*) From Gerencias Where GerenciaId = 'QQ'"), 1);
  com::ComPtr<IDispatch> rs = GetData(kApp, L"Select IsEnabled From Documentos Where DocumentoId = 1");
  EXPECT_TRUE(IsTrue(Field(rs.get(), L"IsEnabled")));
}

}  // namespace
}  // namespace vk::test
