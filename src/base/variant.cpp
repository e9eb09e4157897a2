#include "base/variant.h"

#include <oleauto.h>

#include <cmath>
#include <cwctype>
#include <limits>
#include <utility>

#include "base/vb_error.h"

namespace vk {

namespace {

void Check(HRESULT hr) {
  if (SUCCEEDED(hr)) return;
  if (hr == DISP_E_OVERFLOW) Raise(err::Overflow);
  if (hr == E_OUTOFMEMORY) Raise(err::OutOfMemory);
  Raise(err::TypeMismatch);
}

bool NeedsPlain(const VARIANT& v) {
  return (v.vt & VT_BYREF) || v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN;
}

std::wstring_view BstrView(BSTR s) { return s ? std::wstring_view(s, SysStringLen(s)) : std::wstring_view(); }

// Dereferences VT_BYREF and fetches an object's default value, so the conversions
// below only meet plain values. Raises 91 for Nothing.
Variant Plain(const VARIANT& v) {
  if (v.vt & VT_BYREF) {
    Variant copy;
    Check(VariantCopyInd(copy.put(), const_cast<VARIANT*>(&v)));
    return Plain(copy.get());
  }
  if (v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) {
    if (!v.punkVal) Raise(err::ObjectNotSet);
    IDispatch* dispatch = nullptr;
    if (v.vt == VT_DISPATCH) {
      dispatch = v.pdispVal;
      dispatch->AddRef();
    } else if (FAILED(v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
      Raise(err::TypeMismatch);
    }
    DISPPARAMS none{};
    Variant value;
    HRESULT hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                  &none, value.put(), nullptr, nullptr);
    dispatch->Release();
    if (FAILED(hr)) Raise(err::ObjectDoesNotSupport);
    return Plain(value.get());
  }
  return Variant(v);
}

std::wstring_view Trim(std::wstring_view s) {
  while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
  while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

double TextToDouble(std::wstring_view text) {
  std::wstring s(Trim(text));
  if (s.empty()) Raise(err::TypeMismatch);
  double out = 0;
  Check(VarR8FromStr(const_cast<wchar_t*>(s.c_str()), LOCALE_USER_DEFAULT, 0, &out));
  return out;
}

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
  wchar_t buffer[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16) <= 1) return fallback;
  return buffer;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days from 1899-12-30 to a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + 25569;  // 25569: 1970-01-01 as an OLE day
}

void CivilFromDays(long days, int& y, int& m, int& d) {
  long z = days - 25569 + 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

SYSTEMTIME ToSystemTime(const DateParts& p) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(p.year);
  st.wMonth = static_cast<WORD>(p.month);
  st.wDay = static_cast<WORD>(p.day);
  st.wHour = static_cast<WORD>(p.hour);
  st.wMinute = static_cast<WORD>(p.minute);
  st.wSecond = static_cast<WORD>(p.second);
  return st;
}

Variant::Variant(bool value) {
  VariantInit(&v_);
  v_.vt = VT_BOOL;
  v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(long value) {
  VariantInit(&v_);
  v_.vt = VT_I4;
  v_.lVal = value;
}

Variant::Variant(double value) {
  VariantInit(&v_);
  v_.vt = VT_R8;
  v_.dblVal = value;
}

Variant::Variant(std::wstring_view text) {
  VariantInit(&v_);
  v_.vt = VT_BSTR;
  v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

Variant::Variant(IDispatch* object) {
  VariantInit(&v_);
  v_.vt = VT_DISPATCH;
  v_.pdispVal = object;
  if (object) object->AddRef();
}

Variant::Variant(const VARIANT& other) {
  VariantInit(&v_);
  Check(VariantCopy(&v_, const_cast<VARIANT*>(&other)));
}

Variant::Variant(const Variant& other) : Variant(other.v_) {}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(v_, other.v_);
  return *this;
}

Variant Variant::Null() {
  Variant v;
  v.v_.vt = VT_NULL;
  return v;
}

Variant Variant::FromDate(DATE date) {
  Variant v;
  v.v_.vt = VT_DATE;
  v.v_.date = date;
  return v;
}

Variant Variant::Array(const std::vector<Variant>& items, long lbound) {
  SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), lbound};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
  if (!array) Raise(err::OutOfMemory);
  for (size_t i = 0; i < items.size(); ++i) {
    LONG index = lbound + static_cast<LONG>(i);
    HRESULT hr = SafeArrayPutElement(array, &index, const_cast<VARIANT*>(&items[i].v_));
    if (FAILED(hr)) {
      SafeArrayDestroy(array);
      Check(hr);
    }
  }
  Variant v;
  v.v_.vt = VT_ARRAY | VT_VARIANT;
  v.v_.parray = array;
  return v;
}

Variant Variant::Attach(VARIANT& owned) {
  Variant v;
  v.v_ = owned;
  VariantInit(&owned);
  return v;
}

VARIANT* Variant::put() {
  VariantClear(&v_);
  return &v_;
}

VARIANT Variant::detach() {
  VARIANT out = v_;
  VariantInit(&v_);
  return out;
}

bool Variant::isNumeric() const {
  switch (v_.vt & ~VT_BYREF) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: case VT_BOOL:
      return true;
    default:
      return false;
  }
}

IDispatch* Variant::object() const {
  if (v_.vt == VT_DISPATCH) return v_.pdispVal;
  if (v_.vt == (VT_DISPATCH | VT_BYREF) && v_.ppdispVal) return *v_.ppdispVal;
  return nullptr;
}

std::wstring Variant::toText() const {
  if (NeedsPlain(v_)) return Plain(v_).toText();
  switch (v_.vt) {
    case VT_EMPTY: return {};
    case VT_NULL: Raise(err::InvalidUseOfNull);
    case VT_BSTR: return v_.bstrVal ? std::wstring(v_.bstrVal, SysStringLen(v_.bstrVal)) : L"";
    case VT_BOOL: return v_.boolVal ? L"True" : L"False";
    case VT_DATE: return DateToText(v_.date);
    default: break;
  }
  if (isArray() || v_.vt == VT_ERROR) Raise(err::TypeMismatch);
  Variant text;
  Check(VariantChangeTypeEx(text.put(), const_cast<VARIANT*>(&v_), LOCALE_USER_DEFAULT, 0, VT_BSTR));
  return text.toText();
}

double Variant::toDouble() const {
  if (NeedsPlain(v_)) return Plain(v_).toDouble();
  switch (v_.vt) {
    case VT_EMPTY: return 0;
    case VT_NULL: Raise(err::InvalidUseOfNull);
    case VT_BSTR: return TextToDouble(BstrView(v_.bstrVal));
    case VT_BOOL: return v_.boolVal ? -1 : 0;
    case VT_DATE: return v_.date;
    case VT_I4: return v_.lVal;
    case VT_R8: return v_.dblVal;
    default: break;
  }
  if (isArray() || v_.vt == VT_ERROR) Raise(err::TypeMismatch);
  Variant number;
  Check(VariantChangeTypeEx(number.put(), const_cast<VARIANT*>(&v_), LOCALE_USER_DEFAULT, 0, VT_R8));
  return number.v_.dblVal;
}

long Variant::toLong() const {
  if (NeedsPlain(v_)) return Plain(v_).toLong();
  if (v_.vt == VT_I4) return v_.lVal;
  return RoundToLong(toDouble());
}

bool Variant::toBool() const {
  if (NeedsPlain(v_)) return Plain(v_).toBool();
  if (v_.vt == VT_BOOL) return v_.boolVal != VARIANT_FALSE;
  if (v_.vt == VT_BSTR) {
    const std::wstring_view text = Trim(BstrView(v_.bstrVal));
    if (EqualsNoCase(text, L"True")) return true;
    if (EqualsNoCase(text, L"False")) return false;
  }
  return toDouble() != 0;
}

DATE Variant::toDate() const {
  if (NeedsPlain(v_)) return Plain(v_).toDate();
  switch (v_.vt) {
    case VT_DATE: return v_.date;
    case VT_EMPTY: return 0;
    case VT_NULL: Raise(err::InvalidUseOfNull);
    case VT_BSTR: {
      // The regional order decides, as for the platform; texts known to be day
      // first go through ParseDayFirstDate instead.
      std::wstring text(Trim(BstrView(v_.bstrVal)));
      DATE out = 0;
      Check(VarDateFromStr(const_cast<wchar_t*>(text.c_str()), LOCALE_USER_DEFAULT, 0, &out));
      return out;
    }
    default:
      return toDouble();
  }
}

long Variant::lbound() const {
  if (!isArray() || (v_.vt & VT_BYREF)) Raise(err::TypeMismatch);
  LONG bound = 0;
  Check(SafeArrayGetLBound(v_.parray, 1, &bound));
  return bound;
}

long Variant::ubound() const {
  if (!isArray() || (v_.vt & VT_BYREF)) Raise(err::TypeMismatch);
  LONG bound = 0;
  Check(SafeArrayGetUBound(v_.parray, 1, &bound));
  return bound;
}

Variant Variant::at(long index) const {
  if (index < lbound() || index > ubound()) Raise(err::SubscriptOutOfRange);
  const VARTYPE element = v_.vt & VT_TYPEMASK;
  Variant out;
  LONG i = index;
  if (element == VT_VARIANT) {
    Check(SafeArrayGetElement(v_.parray, &i, out.put()));
    return out;
  }
  // A typed array: the element goes into a Variant of the same type.
  VARIANT* slot = out.put();
  slot->vt = element;
  void* target = element == VT_BSTR ? static_cast<void*>(&slot->bstrVal)
                 : element == VT_DISPATCH ? static_cast<void*>(&slot->pdispVal)
                                          : static_cast<void*>(&slot->llVal);
  HRESULT hr = SafeArrayGetElement(v_.parray, &i, target);
  if (FAILED(hr)) {
    slot->vt = VT_EMPTY;
    Check(hr);
  }
  return out;
}

bool IsNumeric(const Variant& v) {
  if (v.isNumeric() || v.isEmpty()) return true;
  if (!v.isText()) return false;
  try {
    TextToDouble(v.toText());
    return true;
  } catch (const VbError&) {
    return false;
  }
}

bool IsDate(const Variant& v) {
  if (v.isDate()) return true;
  if (!v.isText()) return false;
  try {
    v.toDate();
    return true;
  } catch (const VbError&) {
    return false;
  }
}

long RoundToLong(double value) {
  if (std::isnan(value)) Raise(err::Overflow);
  const double rounded = std::nearbyint(value);  // the default mode rounds half to even
  if (rounded < static_cast<double>(std::numeric_limits<long>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<long>::max())) {
    Raise(err::Overflow);
  }
  return static_cast<long>(rounded);
}

DateParts SplitDate(DATE date) {
  // OLE dates before 1899-12-30 keep the time as a positive fraction of a negative day.
  double day = std::trunc(date);
  double fraction = std::fabs(date - day);
  long seconds = std::lround(fraction * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    day += date < 0 ? -1 : 1;
  }
  DateParts p;
  CivilFromDays(static_cast<long>(day), p.year, p.month, p.day);
  p.hour = static_cast<int>(seconds / 3600);
  p.minute = static_cast<int>(seconds / 60 % 60);
  p.second = static_cast<int>(seconds % 60);
  return p;
}

DATE MakeDate(int year, int month, int day, int hour, int minute, int second) {
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
      hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    Raise(err::InvalidProcedureCall);
  }
  const double days = static_cast<double>(DaysFromCivil(year, month, day));
  const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
  return days < 0 ? days - time : days + time;
}

namespace {

std::wstring DayText(const SYSTEMTIME& st) {
  wchar_t buffer[128];
  return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128) > 0 ? buffer : L"";
}

std::wstring TimeText(const SYSTEMTIME& st) {
  wchar_t buffer[128];
  return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 128) > 0 ? buffer : L"";
}

// What a date's text depends on: its day (after the seconds are rounded), its second of
// that day, and whether it has a date part at all.
struct DateTextKey {
  long day;
  long second;
  bool hasDay;
};

DateTextKey KeyOf(DATE date) {
  // As SplitDate rounds: dates before 1899-12-30 keep the time as a positive fraction.
  double day = std::trunc(date);
  long second = std::lround(std::fabs(date - day) * 86400.0);
  if (second >= 86400) {
    second -= 86400;
    day += date < 0 ? -1 : 1;
  }
  return {static_cast<long>(day), second, std::trunc(date) != 0};
}

// Writes into `out` the date part when there is a day and the time part when there is a
// time or no day, as CStr does; `day` and `time` give the parts' texts.
template <class Day, class Time>
void ComposeDateText(const DateTextKey& key, std::wstring& out, Day day, Time time) {
  out.clear();
  if (key.hasDay) out = day();
  // A value with no date part is a time of day, midnight included.
  if (key.second != 0 || !key.hasDay) {
    const std::wstring& clock = time();
    if (!clock.empty()) {
      if (!out.empty()) out += L' ';
      out += clock;
    }
  }
}

}  // namespace

std::wstring DateToText(DATE date) {
  std::wstring out;
  const SYSTEMTIME st = ToSystemTime(SplitDate(date));
  ComposeDateText(KeyOf(date), out, [&] { return DayText(st); }, [&] { return TimeText(st); });
  return out;
}

const std::wstring& DateTextCache::Text(DATE date) {
  const DateTextKey key = KeyOf(date);
  ComposeDateText(
      key, text_,
      [&]() -> const std::wstring& {
        auto [at, added] = days_.try_emplace(key.day);
        if (added) at->second = DayText(ToSystemTime(SplitDate(date)));
        return at->second;
      },
      [&]() -> const std::wstring& {
        auto [at, added] = times_.try_emplace(key.second);
        if (added) at->second = TimeText(ToSystemTime(SplitDate(date)));
        return at->second;
      });
  return text_;
}

std::optional<DATE> ParseDayFirstDate(std::wstring_view text) {
  text = Trim(text);
  size_t pos = 0;
  auto number = [&](int maxDigits, int& out) {
    int digits = 0;
    out = 0;
    while (pos < text.size() && digits < maxDigits && std::iswdigit(text[pos])) {
      out = out * 10 + (text[pos] - L'0');
      ++pos;
      ++digits;
    }
    return digits;
  };
  int day = 0, month = 0, year = 0;
  if (!number(2, day) || pos >= text.size()) return std::nullopt;
  const wchar_t separator = text[pos];
  if (separator != L'/' && separator != L'-' && separator != L'.') return std::nullopt;
  ++pos;
  if (!number(2, month) || pos >= text.size() || text[pos] != separator) return std::nullopt;
  ++pos;
  const int yearDigits = number(4, year);
  if (yearDigits != 2 && yearDigits != 4) return std::nullopt;
  if (yearDigits == 2) year += year < 30 ? 2000 : 1900;  // the platform's two-digit window
  int hour = 0, minute = 0, second = 0;
  if (pos < text.size()) {
    if (!std::iswspace(text[pos])) return std::nullopt;
    while (pos < text.size() && std::iswspace(text[pos])) ++pos;
    if (!number(2, hour) || pos >= text.size() || text[pos] != L':') return std::nullopt;
    ++pos;
    if (!number(2, minute)) return std::nullopt;
    if (pos < text.size() && text[pos] == L':') {
      ++pos;
      if (!number(2, second)) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;
  }
  try {
    return MakeDate(year, month, day, hour, minute, second);
  } catch (const VbError&) {
    return std::nullopt;
  }
}

std::wstring FormatDate(DATE date, std::wstring_view pattern) {
  const DateParts p = SplitDate(date);
  auto two = [](int n) {
    wchar_t b[8];
    swprintf(b, 8, L"%02d", n);
    return std::wstring(b);
  };
  std::wstring out;
  bool afterHour = false;
  for (size_t i = 0; i < pattern.size();) {
    const wchar_t c = static_cast<wchar_t>(std::towlower(pattern[i]));
    size_t run = 1;
    while (i + run < pattern.size() && std::towlower(pattern[i + run]) == c) ++run;
    switch (c) {
      case L'd': out += run >= 2 ? two(p.day) : std::to_wstring(p.day); break;
      case L'y': out += run >= 3 ? std::to_wstring(p.year) : two(p.year % 100); break;
      case L'm':
        if (afterHour) out += run >= 2 ? two(p.minute) : std::to_wstring(p.minute);
        else out += run >= 2 ? two(p.month) : std::to_wstring(p.month);
        break;
      case L'n': out += run >= 2 ? two(p.minute) : std::to_wstring(p.minute); break;
      case L'h': out += run >= 2 ? two(p.hour) : std::to_wstring(p.hour); break;
      case L's': out += run >= 2 ? two(p.second) : std::to_wstring(p.second); break;
      case L'/': for (size_t k = 0; k < run; ++k) out += RegionalDateSeparator(); break;
      case L':': for (size_t k = 0; k < run; ++k) out += RegionalTimeSeparator(); break;
      default: out.append(pattern.substr(i, run)); break;
    }
    if (c == L'h') afterHour = true;
    else if (c != L':' && !std::iswspace(c)) afterHour = false;
    i += run;
  }
  return out;
}

std::wstring RegionalDateSeparator() { return LocaleText(LOCALE_SDATE, L"/"); }
std::wstring RegionalTimeSeparator() { return LocaleText(LOCALE_STIME, L":"); }

}  // namespace vk
