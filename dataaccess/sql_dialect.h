#pragma once
// The statements callers send are written for SQL Server. SQLite lacks a few of its
// constructs; this is the one place that rewrites them, token by token, so string
// literals and identifiers pass through untouched:
//   Select [Distinct] Top n ...        -> Select [Distinct] ... Limit n (end of that select)
//   Convert(DateTime, 'text', style)   -> 'yyyy-mm-dd hh:mm:ss' (the sortable stored form)
//   Delete Table Where ...             -> Delete From Table Where ...
//   column >= '7/12/2026'              -> column >= '2026-07-12' (a short-date text compared
//                                         with a value, as SQL Server converts it implicitly)
// GetDate() and SysObjects are served by the connection (a function and a view).
// Not handled: Top inside the first member of a Union (SQLite puts the limit on the whole).
#include <optional>
#include <string>
#include <string_view>

namespace vk::data {

// Order of day, month and year in the user's short-date format.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct DialectOptions {
  DateOrder shortDateOrder = DateOrder::MonthDayYear;
};

std::wstring TranslateSql(std::wstring_view sql, const DialectOptions& options = {});

// The stored form "yyyy-mm-dd hh:mm:ss" of a date text: ISO ("2026-12-07",
// "2026-12-07 10:30[:15]", "2026-12-07T10:30:15") or a short date with slashes in the
// given order, two- or four-digit year. Nothing when the text is not a valid date.
std::optional<std::wstring> StoredDateFromText(std::wstring_view text, DateOrder order);

}  // namespace vk::data
