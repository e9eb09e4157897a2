#pragma once
// The search picker's statement, filters and paging as plain functions, so the rules
// can be checked without a window: cutting the caller's ORDER BY, the condition made
// from the two boxes, the free text and the filter grid, the statement sent, and the
// page arithmetic.
#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

namespace vk::picker {

inline constexpr long kMaxRows = 500;
inline constexpr long kFirstPageSize = 20;

// The sentence without everything from its first "ORDER BY" (found in the upper-cased
// text, one blank between the words) on.
std::wstring CutOrderBy(const std::wstring& sentence);

// Whether the upper-cased sentence contains `upperWord` ("USUARIO", "FECHAALTA").
bool Mentions(const std::wstring& sentence, const std::wstring& upperWord);

// The date six calendar months before `today` (the day clamped to the month's end).
DATE SixMonthsBefore(DATE today);

// One row of the filter grid: the column it names and the text that column must contain.
struct FilterRow {
  std::wstring column;
  std::wstring text;
};

struct Filters {
  bool ownUser = false;        // chkFilter(0) ticked
  bool lastSixMonths = false;  // chkFilter(1) ticked
  std::wstring user;           // the Windows logon name
  DATE today = 0;
  std::wstring freeText;
  // The fields of the current result; nullopt when there is none, which ends the
  // condition after the two boxes as soon as a free text needs the fields.
  std::optional<std::vector<std::wstring>> fields;
  std::vector<FilterRow> rows;
};

// The Where clause ("" when no filter is set). Every text pasted between quotes has
// its quotes doubled.
std::wstring BuildWhere(const Filters& filters);

// "Order By <key> Desc".
std::wstring OrderByClause(const std::wstring& keyField);

// "Select Top 500 * From ( <sentence> ) A <where> <order by>".
std::wstring FinalSentence(const std::wstring& sentence, const std::wstring& where, const std::wstring& orderBy);

// 1 when the total fits one page, otherwise the total divided by the size, rounded up.
long PageCount(long total, long pageSize);

// The first record (from 1) and the number of rows of a page.
struct PageSpan {
  long firstRecord = 1;
  long rows = 0;
};
PageSpan PageOf(long page, long pageSize, long total);

// The page brought within 1..pageCount.
long ClampPage(long page, long pageCount);

// Key values joined by "|".
std::wstring JoinKeys(const std::vector<std::wstring>& keys);

}  // namespace vk::picker
