#include "hosted/grid/date_text_pieces.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "runtime/variant.h"

namespace vk::grid {

namespace {

constexpr long kSecondsPerDay = 86400;
constexpr long kTableDays = 1 << 16;  // from 30/12/1899 to 1/6/2079: marked in a table

// The two parts DateToText joins, the regional short date and the time, into `buffer`
// of kPartLength characters; the text's length, 0 when the platform cannot show it.
constexpr int kPartLength = 128;

size_t DayText(DATE day, wchar_t* buffer) {
  const SYSTEMTIME st = ToSystemTime(SplitDate(day));
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, kPartLength);
  return n > 0 ? static_cast<size_t>(n - 1) : 0;
}

size_t TimeText(long second, wchar_t* buffer) {
  DateParts p;
  p.hour = static_cast<int>(second / 3600);
  p.minute = static_cast<int>(second / 60 % 60);
  p.second = static_cast<int>(second % 60);
  const SYSTEMTIME st = ToSystemTime(p);
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, kPartLength);
  return n > 0 ? static_cast<size_t>(n - 1) : 0;
}

}  // namespace

bool DateTextPieces::Key(const DATE& date, long& day, long& second) {
  uint64_t bits;
  std::memcpy(&bits, &date, sizeof bits);
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  if ((bits >> 63) != 0 || exponent < 0 || exponent > 30) return false;
  // The whole days and the fraction of a day, F / 2^k, from the mantissa.
  const int k = 52 - exponent;
  const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  day = static_cast<long>(mantissa >> k);
  second = 0;
  const uint64_t fraction = mantissa & ((uint64_t{1} << k) - 1);
  if (fraction == 0) return true;
  // The platform rounds fraction * 86400 to a double, then to the nearest second, half
  // away from zero. 86400 = 675 * 2^7, so the product is F * 675 / 2^(k-7), whose
  // numerator (below 2^62) is exact here and is rounded to 53 bits, half to even.
  uint64_t product = fraction * 675;
  int shift = k - 7;
  const int length = std::bit_width(product);
  if (length > 53) {
    const int drop = length - 53;
    const uint64_t rest = product & ((uint64_t{1} << drop) - 1), half = uint64_t{1} << (drop - 1);
    product >>= drop;
    if (rest > half || (rest == half && (product & 1))) ++product;
    shift -= drop;
  }
  second = static_cast<long>(product >> shift);
  if (((product >> (shift - 1)) & 1) != 0) ++second;  // the first bit below the point: half or more
  if (second == kSecondsPerDay) {  // rounded up into the next day
    second = 0;
    ++day;
  }
  return true;
}

void DateTextPieces::Uses::Add(const DATE& date) {
  long day, second;
  if (!Key(date, day, second)) return;
  if (days_.empty()) {
    days_.assign(kTableDays, 0);
    seconds_.assign(kSecondsPerDay, 0);
  }
  if (day < kTableDays)
    days_[static_cast<size_t>(day)] = 1;
  else
    farDays_.insert(day);
  seconds_[static_cast<size_t>(second)] = 1;
}

int DateTextPieces::Make(const Uses& uses, int firstId) {
  if (uses.days_.empty()) return firstId;
  // What to make: the days used, then the times (a positive second, or -day for a day
  // past the table).
  std::vector<long> days(uses.farDays_.begin(), uses.farDays_.end()), seconds;
  long first = kTableDays, last = -1;
  for (long d = 0; d < kTableDays; ++d)
    if (uses.days_[static_cast<size_t>(d)]) {
      first = std::min(first, d);
      last = d;
      days.push_back(d);
    }
  for (long s = 1; s < kSecondsPerDay; ++s)
    if (uses.seconds_[static_cast<size_t>(s)]) seconds.push_back(s);
  texts_.reserve(days.size() + seconds.size());
  wchar_t text[kPartLength + 1];
  for (long d : days) texts_.emplace_back(text, DayText(d, text));
  for (long second : seconds) {
    // After the day, with the space between them.
    const size_t length = TimeText(second, text + 1);
    text[0] = L' ';
    texts_.emplace_back(text, length ? length + 1 : 0);
  }
  pieces_.reserve(texts_.size());
  for (const std::wstring& text : texts_) pieces_.push_back({text, firstId++});
  firstDay_ = first;
  dayPieces_.assign(static_cast<size_t>(std::max(0L, last - first + 1)), -1);
  timePieces_.assign(kSecondsPerDay, -1);
  for (size_t i = 0; i < days.size(); ++i) {
    if (days[i] < kTableDays)
      dayPieces_[static_cast<size_t>(days[i] - first)] = static_cast<int>(i);
    else
      farDayPieces_[days[i]] = static_cast<int>(i);
  }
  for (size_t i = 0; i < seconds.size(); ++i)
    timePieces_[static_cast<size_t>(seconds[i])] = static_cast<int>(days.size() + i);
  return firstId;
}

int DateTextPieces::DayPiece(long day) const {
  if (day >= firstDay_ && day - firstDay_ < static_cast<long>(dayPieces_.size()))
    return dayPieces_[static_cast<size_t>(day - firstDay_)];
  const auto found = farDayPieces_.find(day);
  return found == farDayPieces_.end() ? -1 : found->second;
}

int DateTextPieces::Split(const DATE& date, TextPiece out[2], std::wstring& made) const {
  long day, second;
  const int dayPiece = Key(date, day, second) ? DayPiece(day) : -1;
  const int timePiece = dayPiece >= 0 && second != 0 ? timePieces_[static_cast<size_t>(second)] : -1;
  // A day the platform cannot show leaves the time without the space: made whole.
  if (dayPiece < 0 || (second != 0 && timePiece < 0) || pieces_[static_cast<size_t>(dayPiece)].text.empty()) {
    made = DateToText(date);
    out[0] = {made, -1};
    return 1;
  }
  out[0] = pieces_[static_cast<size_t>(dayPiece)];
  if (second == 0) return 1;
  out[1] = pieces_[static_cast<size_t>(timePiece)];
  return 2;
}

}  // namespace vk::grid
