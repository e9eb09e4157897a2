#include "screen_kit/fsearch_query.h"

#include <algorithm>
#include <cwctype>

#include "base/variant.h"
#include "screen_kit/sql_text.h"

namespace vk::picker {
namespace {

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// "a Like '%x%' Or b Like '%x%'" for the given columns and texts.
std::wstring LikeList(const std::vector<FilterRow>& terms) {
  std::wstring list;
  for (const FilterRow& t : terms) {
    if (!list.empty()) list += L" Or ";
    list += t.column + L" Like '%" + SqlText(t.text) + L"%'";
  }
  return list;
}

// Joins a grouped list to what the condition holds already.
void AppendGroup(std::wstring& where, const std::wstring& list, bool grouped) {
  if (list.empty()) return;
  if (where.empty()) where = grouped ? L"Where ( " + list + L" ) " : L"Where " + list;
  else where += L" And ( " + list + L" ) ";
}

}  // namespace

std::wstring CutOrderBy(const std::wstring& sentence) {
  const size_t at = Upper(sentence).find(L"ORDER BY");
  return at == std::wstring::npos ? sentence : sentence.substr(0, at);
}

bool Mentions(const std::wstring& sentence, const std::wstring& upperWord) {
  return Upper(sentence).find(upperWord) != std::wstring::npos;
}

DATE SixMonthsBefore(DATE today) {
  DateParts d = SplitDate(today);
  int month = d.month - 6, year = d.year;
  if (month < 1) {
    month += 12;
    --year;
  }
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int last = kDays[month - 1];
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) last = 29;
  return MakeDate(year, month, std::min(d.day, last));
}

std::wstring BuildWhere(const Filters& f) {
  std::wstring where;
  const std::wstring user = L"Usuario = '" + SqlText(f.user) + L"'";
  const DateParts back = SplitDate(SixMonthsBefore(f.today));
  auto two = [](int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); };
  const std::wstring date = L"FechaAlta >= Convert(DateTime, '" + two(back.month) + L"/" + two(back.day) + L"/" +
                            std::to_wstring(back.year) + L"', 101)";
  if (f.ownUser && f.lastSixMonths) where = L"Where " + user + L" And " + date;
  else if (f.ownUser) where = L"Where " + user;
  else if (f.lastSixMonths) where = L"Where " + date;

  if (!f.freeText.empty()) {
    if (!f.fields) return where;  // no result to take the fields from: stop here
    std::vector<FilterRow> terms;
    for (const std::wstring& field : *f.fields) terms.push_back({field, f.freeText});
    AppendGroup(where, LikeList(terms), true);
  }
  std::vector<FilterRow> filled;
  for (const FilterRow& row : f.rows)
    if (!row.text.empty()) filled.push_back(row);
  AppendGroup(where, LikeList(filled), false);
  return where == L"Where " ? L"" : where;
}

std::wstring OrderByClause(const std::wstring& keyField) { return L"Order By " + keyField + L" Desc"; }

std::wstring FinalSentence(const std::wstring& sentence, const std::wstring& where, const std::wstring& orderBy) {
  return L"Select Top " + std::to_wstring(kMaxRows) + L" * From ( " + sentence + L" ) A " + where + L" " + orderBy;
}

long PageCount(long total, long pageSize) {
  if (pageSize <= 0 || total <= pageSize) return 1;
  return (total + pageSize - 1) / pageSize;
}

PageSpan PageOf(long page, long pageSize, long total) {
  PageSpan span;
  span.firstRecord = (page - 1) * pageSize + 1;
  span.rows = std::max(0L, std::min(pageSize, total - (page - 1) * pageSize));
  return span;
}

long ClampPage(long page, long pageCount) { return std::clamp(page, 1L, std::max(1L, pageCount)); }

std::wstring JoinKeys(const std::vector<std::wstring>& keys) {
  std::wstring joined;
  for (size_t i = 0; i < keys.size(); ++i) joined += (i ? L"|" : L"") + keys[i];
  return joined;
}

}  // namespace vk::picker
