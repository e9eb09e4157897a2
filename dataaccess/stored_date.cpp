#include "dataaccess/stored_date.h"

#include <cmath>
#include <cstdio>

namespace vk::data {

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = static_cast<int>(yoe) + static_cast<int>(era) * 400 + (m <= 2);
}

constexpr long kOleEpochFrom1970 = 25569;  // 1970-01-01 is day 25569 of the platform's calendar

bool Digits(std::string_view s, size_t at, size_t count, int& value) {
  if (at + count > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

}  // namespace

bool IsCalendarDate(int year, int month, int day) {
  static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > days[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return !(month == 2 && day == 29 && !leap);
}

std::optional<double> OleDateFromStored(std::string_view s) {
  int y, mo, d, h = 0, mi = 0, se = 0;
  if (!Digits(s, 0, 4, y) || s.size() < 10 || s[4] != '-' || !Digits(s, 5, 2, mo) || s[7] != '-' ||
      !Digits(s, 8, 2, d))
    return std::nullopt;
  if (s.size() > 10) {
    if ((s[10] != ' ' && s[10] != 'T') || !Digits(s, 11, 2, h) || s.size() < 16 || s[13] != ':' ||
        !Digits(s, 14, 2, mi))
      return std::nullopt;
    if (s.size() > 16 && (s[16] != ':' || !Digits(s, 17, 2, se))) return std::nullopt;
  }
  if (!IsCalendarDate(y, mo, d) || h > 23 || mi > 59 || se > 59) return std::nullopt;
  double days = static_cast<double>(DaysFromCivil(y, mo, d) + kOleEpochFrom1970);
  double fraction = (h * 3600 + mi * 60 + se) / 86400.0;
  // Before the epoch the platform counts days backwards and the time forwards.
  return days >= 0 ? days + fraction : days - fraction;
}

std::wstring StoredFromOleDate(double date) {
  double whole = std::trunc(date);
  double fraction = std::fabs(date - whole);
  long seconds = std::lround(fraction * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += date >= 0 ? 1 : -1;
  }
  int y;
  unsigned m, d;
  CivilFromDays(static_cast<long>(whole) - kOleEpochFrom1970, y, m, d);
  wchar_t text[32];
  swprintf(text, 32, L"%04d-%02u-%02u %02ld:%02ld:%02ld", y, m, d, seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace vk::data
