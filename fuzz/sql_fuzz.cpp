// libFuzzer target for the statement translator of the data-access stand-in. For any
// text it must not crash, and what SQLite will read must keep the caller's meaning:
// every string literal comes out unchanged (or, where a date is rewritten, as the
// stored form of that date), there are as many statements after as before (the
// semicolons that separate them) and as many "?" markers. Literals and semicolons are
// found by a scanner of SQLite's own lexical rules, written apart from the
// translator's. Stored dates must read back as the same day.
//
// Input: the first byte picks the short-date order and whether the date columns
// ("Fecha", "FechaAlta") are known; then each byte below 0xF0 is one character and a
// byte from 0xF0 up takes the next two as one raw UTF-16 unit (surrogates included).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dataaccess/sql_dialect.h"
#include "dataaccess/stored_date.h"

namespace {

using vk::data::DateOrder;

struct Scan {
  std::vector<std::wstring> literals;  // with their quotes
  size_t separators = 0;               // semicolons outside literals, names and comments
};

// SQLite's lexical rules for what can hide a quote or a semicolon.
Scan ScanLikeSqlite(std::wstring_view s) {
  Scan scan;
  size_t i = 0;
  while (i < s.size()) {
    wchar_t c = s[i];
    if (c == L'-' && i + 1 < s.size() && s[i + 1] == L'-') {
      while (i < s.size() && s[i] != L'\n') ++i;
    } else if (c == L'/' && i + 1 < s.size() && s[i + 1] == L'*') {
      size_t end = s.find(L"*/", i + 2);
      i = end == std::wstring_view::npos ? s.size() : end + 2;
    } else if (c == L'\'') {
      size_t j = i + 1;
      while (j < s.size() && !(s[j] == L'\'' && !(j + 1 < s.size() && s[j + 1] == L'\''))) j += s[j] == L'\'' ? 2 : 1;
      j = j < s.size() ? j + 1 : s.size();
      scan.literals.emplace_back(s.substr(i, j - i));
      i = j;
    } else if (c == L'"' || c == L'`' || c == L'[') {
      wchar_t close = c == L'[' ? L']' : c;
      size_t end = s.find(close, i + 1);
      i = end == std::wstring_view::npos ? s.size() : end + 1;
    } else {
      if (c == L';') ++scan.separators;
      ++i;
    }
  }
  return scan;
}

std::wstring Content(const std::wstring& literal) {
  std::wstring inner = literal.size() >= 2 ? literal.substr(1, literal.size() - 2) : std::wstring();
  std::wstring out;
  for (size_t i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == L'\'' && i + 1 < inner.size() && inner[i + 1] == L'\'') ++i;
  }
  return out;
}

// An output literal that differs from its input may only be that input's date, stored.
bool IsItsStoredDate(const std::wstring& in, const std::wstring& out) {
  if (in.size() < 2 || in.back() != L'\'') return false;  // an unclosed literal is never read as a date
  for (DateOrder order : {DateOrder::MonthDayYear, DateOrder::DayMonthYear, DateOrder::YearMonthDay}) {
    auto stored = vk::data::StoredDateFromText(Content(in), order);
    if (stored && L'\'' + *stored + L'\'' == out) return true;
  }
  return false;
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
  }
  return true;
}

void CheckStoredDate(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size < 19 ? size : 19);
  if (auto date = vk::data::OleDateFromStored(text); date && text.size() == 19) {
    std::wstring back = vk::data::StoredFromOleDate(*date);
    if (back != std::wstring(text.begin(), text.end())) std::abort();  // another day or time
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  CheckStoredDate(data + 1, size - 1);
  vk::data::DialectOptions options;
  options.shortDateOrder = static_cast<DateOrder>(data[0] % 3);
  if (data[0] & 4) {
    options.isDateColumn = [](std::wstring_view name) {
      return EqualsIgnoringCase(name, L"Fecha") || EqualsIgnoringCase(name, L"FechaAlta");
    };
  }
  std::wstring sql;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] < 0xF0) {
      sql += static_cast<wchar_t>(data[i]);
    } else if (i + 2 < size) {
      sql += static_cast<wchar_t>(data[i + 1] | data[i + 2] << 8);
      i += 2;
    }
  }
  vk::data::CommandOutline before;
  const std::wstring out = vk::data::TranslateSql(sql, options, &before);

  const Scan in = ScanLikeSqlite(sql);
  const Scan translated = ScanLikeSqlite(out);
  if (in.separators != translated.separators) std::abort();
  if (in.literals.size() != translated.literals.size()) std::abort();
  for (size_t k = 0; k < in.literals.size(); ++k) {
    if (in.literals[k] != translated.literals[k] && !IsItsStoredDate(in.literals[k], translated.literals[k]))
      std::abort();
  }
  // No "?" comes or goes, so the caller's values still meet the same markers.
  if (vk::data::OutlineCommand(out).markers != before.markers) std::abort();
  return 0;
}
