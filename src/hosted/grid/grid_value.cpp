#include "hosted/grid/grid_value.h"

#include <cwchar>
#include <utility>

namespace vk::grid {
namespace {

// The digits of a whole number, as the platform writes it (no grouping).
void WholeNumberText(long value, std::wstring& out) {
  wchar_t digits[16];
  wchar_t* end = digits + 16;
  wchar_t* p = end;
  unsigned long magnitude = value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  do {
    *--p = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) *--p = L'-';
  out.assign(p, end);
}

}  // namespace

GridValue::GridValue(const VARIANT& v) {
  VariantInit(&v_);
  VariantCopy(&v_, const_cast<VARIANT*>(&v));
}

GridValue::GridValue(const wchar_t* text) : GridValue(std::wstring(text ? text : L"")) {}

GridValue::GridValue(const std::wstring& text) {
  VariantInit(&v_);
  V_VT(&v_) = VT_BSTR;
  V_BSTR(&v_) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

GridValue::GridValue(long number) {
  VariantInit(&v_);
  V_VT(&v_) = VT_I4;
  V_I4(&v_) = number;
}

GridValue::GridValue(double number) {
  VariantInit(&v_);
  V_VT(&v_) = VT_R8;
  V_R8(&v_) = number;
}

GridValue GridValue::Bool(bool value) {
  GridValue g;
  V_VT(&g.v_) = VT_BOOL;
  V_BOOL(&g.v_) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return g;
}

GridValue GridValue::Date(DATE value) {
  GridValue g;
  V_VT(&g.v_) = VT_DATE;
  V_DATE(&g.v_) = value;
  return g;
}

GridValue GridValue::Null() {
  GridValue g;
  V_VT(&g.v_) = VT_NULL;
  return g;
}

GridValue GridValue::Attach(VARIANT& owned) {
  GridValue g;
  g.v_ = owned;
  V_VT(&owned) = VT_EMPTY;
  return g;
}

GridValue::GridValue(const GridValue& other) : GridValue(other.v_) {}

GridValue::GridValue(GridValue&& other) noexcept {
  v_ = other.v_;
  V_VT(&other.v_) = VT_EMPTY;
}

GridValue& GridValue::operator=(GridValue other) noexcept {
  std::swap(v_, other.v_);
  return *this;
}

bool GridValue::IsNumeric() const {
  switch (type()) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4:
    case VT_UI8: case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL:
    case VT_BOOL: case VT_DATE:
      return true;
    default:
      return false;
  }
}

std::wstring GridValue::Text() const {
  std::wstring out;
  TextInto(out);
  return out;
}

void GridValue::TextInto(std::wstring& out) const {
  out.clear();
  switch (type()) {
    case VT_EMPTY:
    case VT_NULL:
      return;
    case VT_BSTR:
      if (V_BSTR(&v_)) out.assign(V_BSTR(&v_), SysStringLen(V_BSTR(&v_)));
      return;
    case VT_BOOL:
      out = V_BOOL(&v_) ? L"True" : L"False";
      return;
    // Whole numbers have no regional form: the common cells skip the conversion.
    case VT_I4:
      WholeNumberText(V_I4(&v_), out);
      return;
    case VT_I2:
      WholeNumberText(V_I2(&v_), out);
      return;
    default:
      break;
  }
  VARIANT t;
  VariantInit(&t);
  // The user's locale, as the platform's own conversion to text does.
  if (FAILED(VariantChangeTypeEx(&t, const_cast<VARIANT*>(&v_), LOCALE_USER_DEFAULT, 0, VT_BSTR))) return;
  out.assign(V_BSTR(&t), SysStringLen(V_BSTR(&t)));
  VariantClear(&t);
}

bool GridValue::ToDouble(double& out) const {
  if (type() == VT_EMPTY || type() == VT_NULL) return false;
  if (type() == VT_R8) { out = V_R8(&v_); return true; }
  if (type() == VT_I4) { out = V_I4(&v_); return true; }
  VARIANT t;
  VariantInit(&t);
  if (FAILED(VariantChangeTypeEx(&t, const_cast<VARIANT*>(&v_), LOCALE_USER_DEFAULT, 0, VT_R8))) return false;
  out = V_R8(&t);
  return true;
}

bool GridValue::ChangeType(VARTYPE vt, GridValue& out) const {
  GridValue t;
  if (FAILED(VariantChangeTypeEx(&t.v_, const_cast<VARIANT*>(&v_), LOCALE_USER_DEFAULT, 0, vt))) return false;
  out = std::move(t);
  return true;
}

bool ValuesMatch(const GridValue& a, const GridValue& b) {
  if (a.IsNull() || b.IsNull() || a.IsEmpty() || b.IsEmpty()) return a.type() == b.type();
  if (a.type() == VT_BSTR && b.type() == VT_BSTR) return a.Text() == b.Text();
  double x = 0, y = 0;
  if (a.ToDouble(x) && b.ToDouble(y)) return x == y;
  return a.Text() == b.Text();
}

int CompareValues(const GridValue& a, const GridValue& b, bool asText) {
  const bool aBlank = a.IsEmpty() || a.IsNull();
  const bool bBlank = b.IsEmpty() || b.IsNull();
  if (aBlank || bBlank) return aBlank == bBlank ? 0 : (aBlank ? -1 : 1);
  if (!asText) {
    double x = 0, y = 0;
    if ((a.IsNumeric() || a.type() == VT_BSTR) && a.ToDouble(x) && b.ToDouble(y))
      return x < y ? -1 : (x > y ? 1 : 0);
  }
  const std::wstring s = a.Text(), t = b.Text();
  const int c = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, s.c_str(), static_cast<int>(s.size()),
                               t.c_str(), static_cast<int>(t.size()));
  return c == CSTR_LESS_THAN ? -1 : (c == CSTR_GREATER_THAN ? 1 : 0);
}

}  // namespace vk::grid
