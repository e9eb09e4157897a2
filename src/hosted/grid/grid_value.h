#pragma once
// A cell value of the grid: an owned VARIANT with the few conversions the grid needs
// (text as shown, comparison for sorting, coercion to a column's data type).
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace vk::grid {

// The source name of the grid's errors.
inline constexpr const wchar_t* kGridSource = L"VkGrid";

class GridValue {
 public:
  // Empty is set in place and only a value that holds something is cleared: a fill
  // moves millions of values, and each call into the automation library counts.
  GridValue() { V_VT(&v_) = VT_EMPTY; }
  GridValue(const VARIANT& v);  // copies
  explicit GridValue(const wchar_t* text);
  explicit GridValue(const std::wstring& text);
  explicit GridValue(long number);
  explicit GridValue(double number);
  static GridValue Bool(bool value);
  static GridValue Date(DATE value);
  static GridValue Null();
  // Takes over a VARIANT the caller owns (no copy); the source is left Empty.
  static GridValue Attach(VARIANT& owned);
  GridValue(const GridValue& other);
  GridValue(GridValue&& other) noexcept;
  GridValue& operator=(GridValue other) noexcept;
  ~GridValue() {
    if (V_VT(&v_) != VT_EMPTY) VariantClear(&v_);
  }

  const VARIANT& get() const { return v_; }
  // A text value's characters in place (empty for other values). The length comes from
  // the BSTR's own prefix: SysStringLen would be a call into the automation library for
  // every cell an export or a search reads.
  std::wstring_view TextView() const {
    if (type() != VT_BSTR || !V_BSTR(&v_)) return {};
    return {V_BSTR(&v_), reinterpret_cast<const UINT*>(V_BSTR(&v_))[-1] / sizeof(wchar_t)};
  }
  VARTYPE type() const { return V_VT(&v_); }
  bool IsEmpty() const { return type() == VT_EMPTY; }
  bool IsNull() const { return type() == VT_NULL; }
  bool IsNumeric() const;
  // The value as text the way the platform writes it (a date in the regional short form,
  // True/False for Booleans); empty for Empty and Null.
  std::wstring Text() const;
  // The same into `out`, whose buffer is reused (a reader of every cell).
  void TextInto(std::wstring& out) const;
  // The value as a double when it is a number or a text that reads as one.
  bool ToDouble(double& out) const;
  // A copy of the value in the given VARTYPE; false when it does not convert.
  bool ChangeType(VARTYPE vt, GridValue& out) const;

 private:
  VARIANT v_;
};

// Equality as value lists match a stored value: numbers of any type by value, a number
// and a text when the text reads as that number, texts exactly.
bool ValuesMatch(const GridValue& a, const GridValue& b);

// Ordering for a sort: -1, 0 or 1. Empty and Null sort first; numbers and dates by value
// when both sides are numeric; otherwise by text without regard to case.
int CompareValues(const GridValue& a, const GridValue& b, bool asText);

}  // namespace vk::grid
