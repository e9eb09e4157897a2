// The picker's statement, condition and page arithmetic, and the blank-date rule its
// grid applies to every cell.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "base/variant.h"
#include "screen_kit/fsearch_query.h"
#include "screen_kit/shared_functions.h"

namespace {

using namespace vk;
using namespace vk::picker;

TEST(CutOrderBy, CutsFromTheFirstOrderByInAnyCase) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Select * From Documentos Order By Fecha", L"Select * From Documentos "},
      {L"Select * From Documentos order by Fecha", L"Select * From Documentos "},
      {L"Select * From T Order By a, b ORDER BY c", L"Select * From T "},
      {L"Select * From T Order  By a", L"Select * From T Order  By a"},
      {L"Select * From T Order\r\nBy a", L"Select * From T Order\r\nBy a"},
      {L"Select * From T", L"Select * From T"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(CutOrderBy(in), out) << in;
  // The blank before the clause stays: two blanks before the closing parenthesis.
  EXPECT_EQ(FinalSentence(CutOrderBy(L"Select * From Documentos Order By Fecha"), L"", OrderByClause(L"DocumentoId")),
            L"Select Top 500 * From ( Select * From Documentos  ) A  Order By DocumentoId Desc");
}

TEST(Mentions, LooksAnywhereWithoutRegardToCase) {
  EXPECT_TRUE(Mentions(L"Select UsuarioId From T", L"USUARIO"));
  EXPECT_TRUE(Mentions(L"Select * From T Where fechaalta > 0", L"FECHAALTA"));
  EXPECT_FALSE(Mentions(L"Select * From Documentos", L"USUARIO"));
  EXPECT_FALSE(Mentions(L"Select * From Documentos", L"FECHAALTA"));
}

TEST(SixMonthsBefore, CalendarMonthsWithTheDayClamped) {
  const std::tuple<DATE, DATE> cases[] = {
      {MakeDate(2026, 12, 7), MakeDate(2026, 6, 7)},
      {MakeDate(2026, 3, 15), MakeDate(2025, 9, 15)},
      {MakeDate(2026, 8, 31), MakeDate(2026, 2, 28)},
      {MakeDate(2028, 8, 30), MakeDate(2028, 2, 29)},
      {MakeDate(2026, 6, 30), MakeDate(2025, 12, 30)},
  };
  for (const auto& [today, back] : cases) EXPECT_EQ(SixMonthsBefore(today), back) << DateToText(today);
}

// The filters of one case; the date is always the 7th of December 2026.
Filters Make(bool ownUser, bool lastSixMonths, std::wstring user, std::wstring freeText,
             std::optional<std::vector<std::wstring>> fields, std::vector<FilterRow> rows) {
  Filters f;
  f.ownUser = ownUser;
  f.lastSixMonths = lastSixMonths;
  f.user = std::move(user);
  f.today = MakeDate(2026, 12, 7);
  f.freeText = std::move(freeText);
  f.fields = std::move(fields);
  f.rows = std::move(rows);
  return f;
}

TEST(BuildWhere, BoxesFreeTextAndFilterRowsJoinedByAnd) {
  const std::vector<std::wstring> two = {L"CategoriaId", L"Nombre"};
  const std::vector<std::wstring> one = {L"N"};
  const std::tuple<const char*, Filters, std::wstring> cases[] = {
      {"nothing", Make(false, false, L"", L"", two, {}), L""},
      {"own user", Make(true, false, L"jdoe", L"", two, {}), L"Where Usuario = 'jdoe'"},
      {"six months", Make(false, true, L"", L"", two, {}), L"Where FechaAlta >= Convert(DateTime, '06/07/2026', 101)"},
      {"both boxes", Make(true, true, L"jdoe", L"", two, {}),
       L"Where Usuario = 'jdoe' And FechaAlta >= Convert(DateTime, '06/07/2026', 101)"},
      {"quote in the user", Make(true, false, L"o'neil", L"", two, {}), L"Where Usuario = 'o''neil'"},
      {"free text", Make(false, false, L"", L"abc", two, {}),
       L"Where ( CategoriaId Like '%abc%' Or Nombre Like '%abc%' ) "},
      {"free text with a quote", Make(false, false, L"", L"d'a", one, {}), L"Where ( N Like '%d''a%' ) "},
      {"free text after a box", Make(true, false, L"u", L"x", one, {}), L"Where Usuario = 'u' And ( N Like '%x%' ) "},
      {"free text and filter row", Make(false, false, L"", L"abc", two, {{L"Nombre", L"xyz"}}),
       L"Where ( CategoriaId Like '%abc%' Or Nombre Like '%abc%' )  And ( Nombre Like '%xyz%' ) "},
      {"filter rows alone", Make(false, false, L"", L"", two, {{L"CategoriaId", L""}, {L"Nombre", L"x"}, {L"Otro", L"y'"}}),
       L"Where Nombre Like '%x%' Or Otro Like '%y''%'"},
      {"empty filter rows", Make(false, false, L"", L"", two, {{L"CategoriaId", L""}, {L"Nombre", L""}}), L""},
      {"free text without a result", Make(true, false, L"u", L"x", std::nullopt, {{L"Nombre", L"y"}}),
       L"Where Usuario = 'u'"},
  };
  for (const auto& [what, filters, where] : cases) EXPECT_EQ(BuildWhere(filters), where) << what;
}

TEST(FinalSentence, TopFiveHundredNewestKeyFirst) {
  EXPECT_EQ(FinalSentence(L"Select * From T", L"Where Usuario = 'u'", OrderByClause(L"Id")),
            L"Select Top 500 * From ( Select * From T ) A Where Usuario = 'u' Order By Id Desc");
}

TEST(Paging, CountsSpansAndClamps) {
  const std::tuple<long, long, long> counts[] = {{45, 20, 3}, {40, 20, 2}, {20, 20, 1}, {21, 20, 2},
                                                 {0, 20, 1},  {500, 10, 50}, {500, 100, 5}};
  for (const auto& [total, size, pages] : counts) EXPECT_EQ(PageCount(total, size), pages) << total << "/" << size;
  const std::tuple<long, long, long, long> spans[] = {{1, 20, 1, 20}, {2, 20, 21, 20}, {3, 20, 41, 5}};
  for (const auto& [page, size, first, rows] : spans) {
    PageSpan s = PageOf(page, size, 45);
    EXPECT_EQ(s.firstRecord, first);
    EXPECT_EQ(s.rows, rows);
  }
  EXPECT_EQ(ClampPage(25, 5), 5);
  EXPECT_EQ(ClampPage(0, 5), 1);
  EXPECT_EQ(ClampPage(3, 5), 3);
  EXPECT_EQ(JoinKeys({L"9", L"8", L"7"}), L"9|8|7");
  EXPECT_EQ(JoinKeys({}), L"");
}

TEST(BlankIfNoDate, BareMidnightsEmptyAndNullBecomeEmptyText) {
  EXPECT_EQ(BlankIfNoDate(Variant()).toText(), L"");
  EXPECT_TRUE(BlankIfNoDate(Variant()).isText());
  EXPECT_TRUE(BlankIfNoDate(Variant::Null()).isText());
  // Times without a date, as this machine writes them: midnight is "12:00:00 AM" with a
  // 12-hour clock, "00:00:00" with a 24-hour one ("0:00:00" without the leading zero
  // stays), noon "12:00:00 PM" or "12:00:00"; six in the morning never reads as midnight.
  for (const Variant& time : {Variant::FromDate(0), Variant::FromDate(0.5), Variant::FromDate(0.25)}) {
    const std::wstring text = CStr(time);
    const bool midnight = text.rfind(L"12:00", 0) == 0 || text.rfind(L"00:00", 0) == 0;
    EXPECT_EQ(BlankIfNoDate(time).isText(), midnight) << text;
  }
  EXPECT_EQ(BlankIfNoDate(Variant::FromDate(0.25)).toDate(), 0.25);
  EXPECT_EQ(BlankIfNoDate(Variant(L"00:00:00")).toText(), L"");
  EXPECT_EQ(BlankIfNoDate(Variant(L"12:00:00")).toText(), L"");
  const Variant dated = Variant::FromDate(MakeDate(2026, 3, 2));
  EXPECT_TRUE(BlankIfNoDate(dated).isDate());
  EXPECT_EQ(BlankIfNoDate(Variant(42L)).toLong(), 42);
  EXPECT_EQ(BlankIfNoDate(Variant(L"CategoriaId")).toText(), L"CategoriaId");
}

}  // namespace
