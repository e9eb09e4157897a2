#pragma once
// The floor of reading rows: every field of a stepped statement made into the Variant a
// late-bound caller is handed (a date, stored as text, as a date), then cleared.
#include <windows.h>
#include <oleauto.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "dataaccess/stored_date.h"

namespace vk::bench {

// Which columns of a prepared statement are declared DATETIME.
inline std::vector<bool> DateColumns(sqlite3_stmt* stmt) {
  const int columns = sqlite3_column_count(stmt);
  std::vector<bool> isDate(static_cast<size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    const char* declared = sqlite3_column_decltype(stmt, c);
    isDate[static_cast<size_t>(c)] = declared && std::string(declared) == "DATETIME";
  }
  return isDate;
}

// Makes, and clears again, the Variant of every field of the statement's current row.
inline void MakeRowVariants(sqlite3_stmt* stmt, const std::vector<bool>& isDate) {
  for (int c = 0; c < static_cast<int>(isDate.size()); ++c) {
    VARIANT v;
    VariantInit(&v);
    switch (sqlite3_column_type(stmt, c)) {
      case SQLITE_NULL: V_VT(&v) = VT_NULL; break;
      case SQLITE_INTEGER: V_VT(&v) = VT_I4; V_I4(&v) = sqlite3_column_int(stmt, c); break;
      case SQLITE_FLOAT: V_VT(&v) = VT_R8; V_R8(&v) = sqlite3_column_double(stmt, c); break;
      default:
        if (isDate[static_cast<size_t>(c)]) {
          V_VT(&v) = VT_DATE;
          V_DATE(&v) =
              vk::data::OleDateFromStored(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))).value_or(0);
        } else {
          V_VT(&v) = VT_BSTR;
          V_BSTR(&v) = SysAllocString(static_cast<const wchar_t*>(sqlite3_column_text16(stmt, c)));
        }
    }
    VariantClear(&v);
  }
}

}  // namespace vk::bench
