#include "dataaccess/parameters.h"

#include <sqlite3.h>

#include <cmath>

#include "dataaccess/data_error.h"
#include "dataaccess/stored_date.h"
#include "dataaccess/utf8.h"

namespace vk::data {

namespace {

std::wstring Position(size_t index) { return L"el parámetro " + std::to_wstring(index + 1); }

[[noreturn]] void WrongType(const std::wstring& context, size_t index, const wchar_t* expected) {
  throw DataError{context + L": " + Position(index) + L" debe ser " + expected};
}

constexpr double kLargestWhole = 9.0e15;  // whole numbers a double holds exactly

bool IsWhole(double value) { return value == std::floor(value) && std::fabs(value) <= kLargestWhole; }

void BindText(sqlite3_stmt* stmt, int slot, BSTR text, const std::wstring& context, size_t index) {
  std::string utf8 = Utf8Of({text ? text : L"", text ? SysStringLen(text) : 0u}, context + L": " + Position(index));
  sqlite3_bind_text(stmt, slot, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void BindStoredDate(sqlite3_stmt* stmt, int slot, const std::wstring& stored) {
  sqlite3_bind_text(stmt, slot, Narrow(stored).c_str(), -1, SQLITE_TRANSIENT);
}

// A value of a text command's "?": its own type decides how it is stored.
void BindAsGiven(sqlite3_stmt* stmt, int slot, VARIANT& value, const std::wstring& context, size_t index) {
  switch (V_VT(&value)) {
    case VT_BSTR:
      BindText(stmt, slot, V_BSTR(&value), context, index);
      return;
    case VT_BOOL:
      sqlite3_bind_int(stmt, slot, V_BOOL(&value) ? 1 : 0);
      return;
    case VT_DATE:
      BindStoredDate(stmt, slot, StoredFromOleDate(V_DATE(&value)));
      return;
    default:
      // Whole numbers stay whole, so a text column keeps "5" and not "5.0".
      if (FAILED(VariantChangeType(&value, &value, 0, VT_R8))) WrongType(context, index, L"un valor simple");
      if (IsWhole(V_R8(&value))) sqlite3_bind_int64(stmt, slot, static_cast<sqlite3_int64>(V_R8(&value)));
      else sqlite3_bind_double(stmt, slot, V_R8(&value));
      return;
  }
}

}  // namespace

void BindValue(sqlite3_stmt* stmt, int slot, const VARIANT& given, wchar_t type, const std::wstring& context,
               size_t index, DateOrder order) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(&given)))) WrongType(context, index, L"un valor");
  struct Clear { VARIANT* v; ~Clear() { VariantClear(v); } } clear{&value};
  VARTYPE vt = V_VT(&value);
  if (vt == VT_NULL || vt == VT_EMPTY) {
    sqlite3_bind_null(stmt, slot);
    return;
  }
  if (vt == VT_DISPATCH || vt == VT_UNKNOWN || (vt & VT_ARRAY) || vt == VT_ERROR)
    WrongType(context, index, L"un valor simple");
  switch (type) {
    case kAsGiven:
      BindAsGiven(stmt, slot, value, context, index);
      return;
    case L'I': {
      if (FAILED(VariantChangeType(&value, &value, 0, VT_R8)) || !IsWhole(V_R8(&value)))
        WrongType(context, index, L"un número entero");
      sqlite3_bind_int64(stmt, slot, static_cast<sqlite3_int64>(V_R8(&value)));
      return;
    }
    case L'F':
      if (FAILED(VariantChangeType(&value, &value, 0, VT_R8))) WrongType(context, index, L"un número");
      sqlite3_bind_double(stmt, slot, V_R8(&value));
      return;
    case L'B':
      if (FAILED(VariantChangeType(&value, &value, 0, VT_BOOL))) WrongType(context, index, L"un valor lógico");
      sqlite3_bind_int(stmt, slot, V_BOOL(&value) ? 1 : 0);
      return;
    case L'D': {
      if (vt == VT_DATE) {
        BindStoredDate(stmt, slot, StoredFromOleDate(V_DATE(&value)));
      } else if (vt == VT_BSTR) {
        auto date = StoredDateFromText(V_BSTR(&value) ? V_BSTR(&value) : L"", order);
        if (!date) WrongType(context, index, L"una fecha");
        BindStoredDate(stmt, slot, *date);
      } else {
        WrongType(context, index, L"una fecha");
      }
      return;
    }
    default:
      if (FAILED(VariantChangeType(&value, &value, VARIANT_ALPHABOOL, VT_BSTR))) WrongType(context, index, L"un texto");
      BindText(stmt, slot, V_BSTR(&value), context, index);
      return;
  }
}

std::vector<VARIANT> ParameterList(const VARIANT* given) {
  std::vector<VARIANT> out;
  if (!given || V_VT(given) == VT_NULL || V_VT(given) == VT_EMPTY || V_VT(given) == VT_ERROR) return out;
  if (V_VT(given) != (VT_ARRAY | VT_VARIANT) || !V_ARRAY(given) || SafeArrayGetDim(V_ARRAY(given)) != 1)
    throw DataError{L"Los parámetros deben ser una lista de valores"};
  SAFEARRAY* array = V_ARRAY(given);
  LONG low = 0, high = -1;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  for (LONG i = low; i <= high; ++i) {
    VARIANT item;
    VariantInit(&item);
    SafeArrayGetElement(array, &i, &item);
    out.push_back(item);
  }
  return out;
}

}  // namespace vk::data
