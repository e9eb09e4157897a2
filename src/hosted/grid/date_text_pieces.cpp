#include "hosted/grid/date_text_pieces.h"

#include <bit>
#include <cstring>

#include "base/variant.h"

namespace vk::grid {

namespace {

constexpr long kSecondsPerDay = 86400;
constexpr long kTableDays = 1 << 16;  // from 30/12/1899 to 1/6/2079: found in a table

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

int DateTextPieces::Add(std::wstring text) {
  const std::wstring& kept = texts_.emplace_back(std::move(text));
  pieces_.push_back({kept, nextId_++});
  return static_cast<int>(pieces_.size() - 1);
}

int DateTextPieces::DayPiece(long day) {
  int* piece;
  if (day < kTableDays) {
    if (dayPieces_.empty()) dayPieces_.assign(kTableDays, -1);
    piece = &dayPieces_[static_cast<size_t>(day)];
  } else {
    piece = &farDayPieces_.try_emplace(day, -1).first->second;
  }
  if (*piece < 0) {
    wchar_t text[kPartLength];
    *piece = Add(std::wstring(text, DayText(day, text)));
  }
  return *piece;
}

int DateTextPieces::TimePiece(long second) {
  if (timePieces_.empty()) timePieces_.assign(kSecondsPerDay, -1);
  int& piece = timePieces_[static_cast<size_t>(second)];
  if (piece < 0) {
    // After the day, with the space between them.
    wchar_t text[kPartLength + 1];
    const size_t length = TimeText(second, text + 1);
    text[0] = L' ';
    piece = Add(std::wstring(text, length ? length + 1 : 0));
  }
  return piece;
}

int DateTextPieces::Split(const DATE& date, TextPiece out[2], std::wstring& made) {
  long day, second;
  const int dayPiece = Key(date, day, second) ? DayPiece(day) : -1;
  // A day the platform cannot show leaves the time without the space: made whole.
  if (dayPiece < 0 || pieces_[static_cast<size_t>(dayPiece)].text.empty()) {
    made = DateToText(date);
    out[0] = {made, -1};
    return 1;
  }
  out[0] = pieces_[static_cast<size_t>(dayPiece)];
  if (second == 0) return 1;
  out[1] = pieces_[static_cast<size_t>(TimePiece(second))];
  return 2;
}

}  // namespace vk::grid
