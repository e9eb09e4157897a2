// The statements callers write for SQL Server, as SQLite receives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "dataaccess/sql_dialect.h"

namespace {

using vk::data::CommandOutline;
using vk::data::DateOrder;
using vk::data::DialectOptions;
using vk::data::OutlineCommand;
using vk::data::StoredDateFromText;
using vk::data::TranslateSql;

struct Case {
  const char* what;
  const wchar_t* in;
  const wchar_t* out;
};

// The date columns of the sample schema, as a connection names them.
DialectOptions WithDateColumns(DateOrder order = DateOrder::MonthDayYear) {
  DialectOptions options;
  options.shortDateOrder = order;
  options.isDateColumn = [](std::wstring_view name) {
    for (std::wstring_view date : {L"fecha", L"fechaalta"}) {
      if (name.size() == date.size() && std::equal(name.begin(), name.end(), date.begin(),
                                                   [](wchar_t a, wchar_t b) { return std::towlower(a) == b; }))
        return true;
    }
    return false;
  };
  return options;
}

class Translation : public ::testing::TestWithParam<Case> {};

TEST_P(Translation, RewritesOnlyWhatSqliteLacks) {
  EXPECT_EQ(TranslateSql(GetParam().in, WithDateColumns()), GetParam().out) << GetParam().what;
}

const Case kCases[] = {
    {"top with order",
     L"Select Top 5 * From Documentos Order By DocumentoId Desc",
     L"Select * From Documentos Order By DocumentoId Desc Limit 5"},
    {"top with distinct", L"Select Distinct Top 3 Usuario From DocumentosLog",
     L"Select Distinct Usuario From DocumentosLog Limit 3"},
    {"top in parentheses", L"Select Top (10) Nombre From T", L"Select Nombre From T Limit 10"},
    {"top over a derived table with alias (the picker's statement)",
     L"Select Top 500 * From ( Select * From Documentos ) A  Order By DocumentoId Desc",
     L"Select * From ( Select * From Documentos ) A  Order By DocumentoId Desc Limit 500"},
    {"top inside a derived table",
     L"Select * From ( Select Top 2 * From Documentos Order By Fecha ) A Where IsEnabled = 1",
     L"Select * From ( Select * From Documentos Order By Fecha Limit 2 ) A Where IsEnabled = 1"},
    {"top inside and outside",
     L"Select Top 1 * From ( Select Top 2 Id From T Order By Id ) A Order By Id Desc",
     L"Select * From ( Select Id From T Order By Id Limit 2 ) A Order By Id Desc Limit 1"},
    {"top in a sub-query of an In list",
     L"Select * From T Where Id In ( Select Top 3 Id From U Order By Id ) And X = 1",
     L"Select * From T Where Id In ( Select Id From U Order By Id Limit 3 ) And X = 1"},
    {"top before a statement end", L"Select Top 4 * From T;", L"Select * From T Limit 4;"},
    {"top before a line comment at the end", L"Select Top 4 * From T -- newest", L"Select * From T Limit 4 -- newest"},
    {"top before a block comment, blanks and a semicolon", L"Select Top 4 * From T /* c */ \r\n ; ",
     L"Select * From T Limit 4 /* c */ \r\n ; "},
    {"top in a sub-query ending in a comment", L"Select * From ( Select Top 2 * From T -- c\n) A",
     L"Select * From ( Select * From T Limit 2 -- c\n) A"},
    {"convert a month/day/year date",
     L"Select * From DocumentosLog Where Fecha >= Convert(DateTime, '12/31/2026', 101)",
     L"Select * From DocumentosLog Where Fecha >= '2026-12-31 00:00:00'"},
    {"convert an ISO date (the audit filter's form)",
     L"Select * From DocumentosLog Where 1 = 1 And Fecha < Convert(DateTime, '2027-01-01', 101)",
     L"Select * From DocumentosLog Where 1 = 1 And Fecha < '2027-01-01 00:00:00'"},
    {"convert without a style, blanks and lower case", L"Where Fecha = convert ( datetime , '2026-02-03' )",
     L"Where Fecha = '2026-02-03 00:00:00'"},
    {"convert of what is not a date stays", L"Where X = Convert(DateTime, 'mañana', 101)",
     L"Where X = Convert(DateTime, 'mañana', 101)"},
    {"convert to another type stays", L"Select Convert(Varchar, 5)", L"Select Convert(Varchar, 5)"},
    {"the size of a text column", L"Select DataLength(Comentarios) As Size From Documentos Where "
     L"Coalesce(DataLength ( Comentarios ), 0) = 3 And DataLength = 'DataLength('",
     L"Select Length(Comentarios) As Size From Documentos Where "
     L"Coalesce(Length ( Comentarios ), 0) = 3 And DataLength = 'DataLength('"},
    {"delete without from", L"Delete Documentos Where DocumentoId = 7",
     L"Delete From Documentos Where DocumentoId = 7"},
    {"delete with from stays", L"Delete From Documentos Where DocumentoId = 7",
     L"Delete From Documentos Where DocumentoId = 7"},
    {"delete of a bracketed name", L"delete [Documentos] where DocumentoId = 1",
     L"delete From [Documentos] where DocumentoId = 1"},
    {"short date compared with a value",
     L"Select * From ( Select * From Documentos ) A Where FechaAlta >= '6/7/2026'",
     L"Select * From ( Select * From Documentos ) A Where FechaAlta >= '2026-06-07 00:00:00'"},
    {"short date in a pattern stays", L"Where Campo01 Like '%6/7/2026%'", L"Where Campo01 Like '%6/7/2026%'"},
    {"short date assigned to a text column stays", L"Update Documentos Set Campo09 = '1/2/2020'",
     L"Update Documentos Set Campo09 = '1/2/2020'"},
    {"short date compared with a text column stays", L"Where Campo01 = '12/05/2020'", L"Where Campo01 = '12/05/2020'"},
    {"short date before the date column, bracketed", L"Where '6/7/2026' <= A.[Fecha]",
     L"Where '2026-06-07 00:00:00' <= A.[Fecha]"},
    {"cast to a date", L"Select Cast(FechaAlta As DateTime), cast( '2021-02-03' as date ) From T",
     L"Select QdDateTime(FechaAlta ), QdDate( '2021-02-03'  ) From T"},
    {"cast of a cast, with a select inside",
     L"Select Cast(Cast((Select Top 1 Fecha As F From T) As Varchar(20)) As SmallDateTime)",
     L"Select QdDateTime(Cast((Select Fecha As F From T Limit 1) As Varchar(20)) )"},
    {"cast to another type stays", L"Select Cast(X As Integer)", L"Select Cast(X As Integer)"},
    {"a replaced date never joins the literals beside it", L"Select 'a'Convert(DateTime, '1/2/2020')'b'",
     L"Select 'a' '2020-01-02 00:00:00' 'b'"},
    {"words inside literals stay",
     L"Update Documentos Set Comentarios = 'Select Top 5 -- Delete T Where' Where DocumentoId = 1",
     L"Update Documentos Set Comentarios = 'Select Top 5 -- Delete T Where' Where DocumentoId = 1"},
    {"doubled quotes stay doubled", L"Select * From Users Where UserName = 'o''brien'",
     L"Select * From Users Where UserName = 'o''brien'"},
    {"a column named like a keyword", L"Select TopLevel, Deleted From T", L"Select TopLevel, Deleted From T"},
    {"sysobjects and getdate are served by the connection",
     L"Select * From SysObjects Where Name = 'V_DocumentosExternos' And GetDate() > 0",
     L"Select * From SysObjects Where Name = 'V_DocumentosExternos' And GetDate() > 0"},
};

INSTANTIATE_TEST_SUITE_P(Dialect, Translation, ::testing::ValuesIn(kCases));

TEST(Dialect, ShortDatesFollowTheUsersOrder) {
  EXPECT_EQ(TranslateSql(L"Where FechaAlta >= '6/7/2026'", WithDateColumns(DateOrder::DayMonthYear)),
            L"Where FechaAlta >= '2026-07-06 00:00:00'");
  EXPECT_EQ(TranslateSql(L"Where FechaAlta < '2026/7/6'", WithDateColumns(DateOrder::YearMonthDay)),
            L"Where FechaAlta < '2026-07-06 00:00:00'");
}

TEST(Dialect, MalformedTextPassesThroughForTheDatabaseToRefuse) {
  const wchar_t* inputs[] = {
      L"", L"   ", L"Select Top", L"Select Top 5", L"Select Top ( 5 * From T", L"Select Top 5 * From (",
      L")))", L"(((Select Top 2 a", L"Convert(", L"Convert(DateTime, '1/2/2026'", L"Delete", L"Delete ;",
      L"'unterminated", L"Where X = '1/2/2026", L"[unclosed", L"-- only a comment", L"/* open comment",
      L"Select 'a''' , '''b' From T Where Y >= '12/31/1999'",
  };
  for (const wchar_t* in : inputs) {
    std::wstring out = TranslateSql(in);
    EXPECT_LE(out.size(), std::wstring(in).size() + 32) << std::wstring(in).size();
  }
  EXPECT_EQ(TranslateSql(L"Select 'a''' , '''b' From T"), L"Select 'a''' , '''b' From T");
  // The limit goes where the unclosed select ends, never inside what is left open,
  // and SQLite reports the error.
  EXPECT_EQ(TranslateSql(L"Select Top 5 * From ("), L"Select * From ( Limit 5");
  EXPECT_EQ(TranslateSql(L"Select Top 5"), L"Select Limit 5");
  EXPECT_EQ(TranslateSql(L"Select Top 5 'open -- x"), L"Select Limit 5 'open -- x");
  EXPECT_EQ(TranslateSql(L"Select Top 5 A From [open"), L"Select A From Limit 5 [open");
}

TEST(Dialect, CommandsAreOutlinedAsSqliteSplitsThem) {
  struct OutlineCase {
    const wchar_t* sql;
    size_t statements;
    size_t markers;
    const wchar_t* control;
  };
  const OutlineCase cases[] = {
      {L"", 0, 0, L""},
      {L" ; -- nada\n ;", 0, 0, L""},
      {L"Update T Set A = ? Where B = '?' -- ?\n; Delete T Where C = ?", 2, 2, L""},
      {L"Delete T; commit", 2, 0, L"commit"},
      {L"Select 1; END", 2, 0, L"END"},
      {L"Insert Into T Values ('Begin; Commit')", 1, 0, L""},
      {L"Create Temp Trigger X After Insert On T Begin Update T Set A = Case When 1 Then 2 End; "
       L"Delete From U; End; Select ?",
       2, 1, L""},
  };
  for (const OutlineCase& c : cases) {
    CommandOutline outline = OutlineCommand(c.sql);
    EXPECT_EQ(outline.statements, c.statements) << std::wstring(c.sql).size();
    EXPECT_EQ(outline.markers, c.markers) << std::wstring(c.sql).size();
    EXPECT_EQ(outline.transactionControl, c.control) << std::wstring(c.sql).size();
  }
}

struct DateCase {
  const wchar_t* text;
  DateOrder order;
  const wchar_t* stored;  // nullptr: not a date
};

TEST(Dialect, DateTextsReadInTheirOwnForm) {
  const DateCase cases[] = {
      {L"2026-12-07", DateOrder::MonthDayYear, L"2026-12-07 00:00:00"},
      {L"2026-12-07 10:30", DateOrder::MonthDayYear, L"2026-12-07 10:30:00"},
      {L"2026-12-07T10:30:15.250", DateOrder::MonthDayYear, L"2026-12-07 10:30:15"},
      {L"12/7/2026", DateOrder::MonthDayYear, L"2026-12-07 00:00:00"},
      {L"12/7/2026 23:59:59", DateOrder::MonthDayYear, L"2026-12-07 23:59:59"},
      {L"7/12/2026", DateOrder::DayMonthYear, L"2026-12-07 00:00:00"},
      {L"7/12/26", DateOrder::DayMonthYear, L"2026-12-07 00:00:00"},
      {L"2/29/2024", DateOrder::MonthDayYear, L"2024-02-29 00:00:00"},
      {L"2/29/2026", DateOrder::MonthDayYear, nullptr},
      {L"13/1/2026", DateOrder::MonthDayYear, nullptr},
      {L"2026-13-01", DateOrder::MonthDayYear, nullptr},
      {L"2026-12-07 24:00", DateOrder::MonthDayYear, nullptr},
      {L"1/2/203", DateOrder::MonthDayYear, nullptr},
      {L"ayer", DateOrder::MonthDayYear, nullptr},
      {L"", DateOrder::MonthDayYear, nullptr},
      {L"2026-12-07 basura", DateOrder::MonthDayYear, nullptr},
      {L"2021-02-30", DateOrder::MonthDayYear, nullptr},
  };
  for (const DateCase& c : cases) {
    auto stored = StoredDateFromText(c.text, c.order);
    if (c.stored) {
      ASSERT_TRUE(stored.has_value()) << c.text;
      EXPECT_EQ(*stored, c.stored) << c.text;
    } else {
      EXPECT_FALSE(stored.has_value()) << c.text;
    }
  }
}

}  // namespace
