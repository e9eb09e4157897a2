#pragma once
// Binding a caller's Variant to a statement's parameter. A stored procedure declares
// each parameter's type by a letter (I whole number, F number, T text, D date,
// B Boolean) and a value that cannot be one is refused; a text command's "?" takes
// the value as it comes (a text, a number, a Boolean as 1 or 0, a date in the stored
// form), as ADO passes it. Null and Empty bind Null. Texts reach SQLite as checked UTF-8.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "dataaccess/sql_dialect.h"

struct sqlite3_stmt;

namespace vk::data {

// The type letter of a value bound as it comes.
inline constexpr wchar_t kAsGiven = L'\0';

// Binds `given` to slot `slot`; `context` and `index` (0-based) name the value in the
// DataError thrown when it is refused.
void BindValue(sqlite3_stmt* stmt, int slot, const VARIANT& given, wchar_t type, const std::wstring& context,
               size_t index, DateOrder order);

// The values of a parameter list: one Variant holding an array of Variants, or Null,
// Empty or missing for none. The caller clears them (VariantsClear).
std::vector<VARIANT> ParameterList(const VARIANT* given);

// Clears the Variants of a list when it leaves scope.
struct VariantsClear {
  std::vector<VARIANT>& values;
  ~VariantsClear() {
    for (VARIANT& v : values) VariantClear(&v);
  }
};

}  // namespace vk::data
