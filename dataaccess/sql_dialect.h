#pragma once
// The statements callers send are written for SQL Server. SQLite lacks a few of its
// constructs; this is the one place that rewrites them, token by token, so string
// literals and identifiers pass through untouched:
//   Select [Distinct] Top n ...        -> Select [Distinct] ... Limit n (after the select's
//                                         last word, before any comment that ends it)
//   Convert(DateTime, 'text', style)   -> 'yyyy-mm-dd hh:mm:ss' (the sortable stored form)
//   Cast(x As DateTime | Date)         -> QdDateTime(x) | QdDate(x) (functions of the connection)
//   Delete Table Where ...             -> Delete From Table Where ...
//   DataLength(x)                      -> Length(x) (a text's size: its characters, as SQL
//                                         Server counts the bytes of a single-byte text)
//   Fecha >= '7/12/2026'               -> Fecha >= '2026-07-12 00:00:00' (a short date compared
//                                         with or assigned to a column declared as a date, read
//                                         in the user's order as SQL Server converts it)
// GetDate() and SysObjects are served by the connection (a function and a view).
// Not handled: Top inside the first member of a Union (SQLite puts the limit on the whole).
// Blanks are the ASCII ones SQLite knows; every other character reads as SQLite reads it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vk::data {

// Order of day, month and year in the user's short-date format.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct DialectOptions {
  DateOrder shortDateOrder = DateOrder::MonthDayYear;
  // Whether a column name (brackets or quotes removed) is declared as a date. Without
  // it no short-date literal is rewritten.
  std::function<bool(std::wstring_view)> isDateColumn;
};

// What a command holds, split into statements where SQLite splits it (a trigger's
// body stays inside its statement).
struct CommandOutline {
  size_t statements = 0;            // statements with something to run
  size_t markers = 0;               // "?" parameter markers outside literals and comments
  std::wstring transactionControl;  // the first word of a statement that begins, ends or
                                    // marks a transaction ("Commit"); empty when none does
};
CommandOutline OutlineCommand(std::wstring_view sql);

// The text SQLite runs; with `outline`, also the outline of the text as given.
std::wstring TranslateSql(std::wstring_view sql, const DialectOptions& options = {},
                          CommandOutline* outline = nullptr);

// The stored form "yyyy-mm-dd hh:mm:ss" of a date text: ISO ("2026-12-07",
// "2026-12-07 10:30[:15]", "2026-12-07T10:30:15") or a short date with slashes in the
// given order, two- or four-digit year. Nothing when the text is not a valid date.
std::optional<std::wstring> StoredDateFromText(std::wstring_view text, DateOrder order);

}  // namespace vk::data
