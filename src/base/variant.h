#pragma once
// vk::Variant: an owning VARIANT with the conversions the screens rely on.
//
// The conversions follow the classic automation rules where the screens depend on
// them: Empty reads as "" and 0, Null refuses to become a text or a number (error 94),
// a date becomes text in the regional short form (with the time only when it is not
// midnight) and CDate reads a text in the regional order, so the two round-trip;
// CLng rounds half to even. Texts the screens write day first ("31/12/2024",
// "05-1-2025") are read with ParseDayFirstDate whatever the regional order.
//
// Not handled: currency and decimal arithmetic beyond conversion to double, arrays
// of more than one dimension.
#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/vb_error.h"

namespace vk {

class Variant {
 public:
  Variant() { VariantInit(&v_); }  // Empty
  Variant(bool value);
  Variant(int value) : Variant(static_cast<long>(value)) {}
  Variant(long value);
  Variant(double value);
  Variant(const wchar_t* text) : Variant(std::wstring_view(text ? text : L"")) {}
  Variant(const std::wstring& text) : Variant(std::wstring_view(text)) {}
  Variant(std::wstring_view text);
  Variant(IDispatch* object);  // AddRefs; a null pointer makes the object "Nothing"
  explicit Variant(const VARIANT& other);  // deep copy

  static Variant Null();
  static Variant FromDate(DATE date);
  // A one-dimensional array of Variants, lower bound lbound.
  static Variant Array(const std::vector<Variant>& items, long lbound = 0);
  // Takes over a VARIANT the caller owns (no copy); the source is left Empty.
  static Variant Attach(VARIANT& owned);

  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant() { VariantClear(&v_); }

  VARTYPE vt() const { return v_.vt; }
  bool isEmpty() const { return v_.vt == VT_EMPTY; }
  bool isNull() const { return v_.vt == VT_NULL; }
  bool isText() const { return v_.vt == VT_BSTR; }
  bool isDate() const { return v_.vt == VT_DATE; }
  bool isObject() const { return v_.vt == VT_DISPATCH || v_.vt == VT_UNKNOWN; }
  bool isArray() const { return (v_.vt & VT_ARRAY) != 0; }
  bool isNumeric() const;  // a number or a Boolean, not a text
  // Nothing: an object slot that holds no object.
  bool isNothing() const { return isObject() && v_.punkVal == nullptr; }

  const VARIANT& get() const { return v_; }
  // Clears and hands out the slot for an out-parameter.
  VARIANT* put();
  // Gives the VARIANT to the caller, who must VariantClear it; this one becomes Empty.
  VARIANT detach();

  // Conversions; each raises VbError 94 on Null, 13 when the value cannot convert,
  // 6 when it does not fit.
  std::wstring toText() const;  // CStr
  long toLong() const;          // CLng
  double toDouble() const;      // CDbl
  bool toBool() const;          // CBool
  DATE toDate() const;          // CDate
  IDispatch* object() const;    // the object, not AddRef'd; nullptr when not an object

  // Array access; raises 13 on a non-array and 9 outside the bounds.
  long lbound() const;
  long ubound() const;
  Variant at(long index) const;

 private:
  VARIANT v_;
};

// The classic functions by their usual names, for code that reads like the screens.
inline std::wstring CStr(const Variant& v) { return v.toText(); }
inline long CLng(const Variant& v) { return v.toLong(); }
inline double CDbl(const Variant& v) { return v.toDouble(); }
inline bool CBool(const Variant& v) { return v.toBool(); }
inline DATE CDate(const Variant& v) { return v.toDate(); }
bool IsNumeric(const Variant& v);
bool IsDate(const Variant& v);

// Rounds half to even, as CLng does; raises 6 outside the 32-bit range.
long RoundToLong(double value);

// Date parts and building; DATE is the OLE automation date (days since 30/12/1899).
struct DateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};
DateParts SplitDate(DATE date);
DATE MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// The parts as the platform's date and time formatting takes them.
SYSTEMTIME ToSystemTime(const DateParts& parts);

// The date in the regional short form, followed by the time when it is not midnight
// (only the time when the date part is 0), as CStr writes a date.
std::wstring DateToText(DATE date);

// DateToText for many dates in a row (an export of thousands): the text of each day and
// of each time of day is made once and kept. The regional formats are those of the
// first use; make a new cache when they may have changed.
class DateTextCache {
 public:
  // Valid until the next call.
  const std::wstring& Text(DATE date);

 private:
  std::wstring text_;
  std::unordered_map<long, std::wstring> days_;   // by day number
  std::unordered_map<long, std::wstring> times_;  // by second of the day
};

// Reads "d/m/yyyy", "dd-m-yyyy", "dd.mm.yy" (optionally followed by a time "hh:nn[:ss]")
// day first; nullopt when the text is not such a date or names no real day.
std::optional<DATE> ParseDayFirstDate(std::wstring_view text);

// Formats a date with a pattern of d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss
// (case-insensitive; m after h means minutes), "/" the regional date separator,
// ":" the regional time separator; any other character is copied.
std::wstring FormatDate(DATE date, std::wstring_view pattern);

// The regional settings of the user that conversions read.
std::wstring RegionalDateSeparator();
std::wstring RegionalTimeSeparator();

}  // namespace vk
