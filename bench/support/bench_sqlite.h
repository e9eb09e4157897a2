#pragma once
// Plain SQLite for the benchmarks' floors: a failed call ends the run, and the
// database scripts are read from the project's db folder (VK_DB_DIR, set by the
// benchmark's CMakeLists.txt).
#include <windows.h>
#include <oleauto.h>
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "base/utf8.h"

#ifndef VK_DB_DIR
#error "VK_DB_DIR must name the db folder"
#endif

namespace vk::bench {

// Ends the process with code 2 when rc is not a success.
inline void Check(int rc, sqlite3* db, const char* what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    ExitProcess(2);
  }
}

// Runs SQL text of one or more statements; a failure ends the run.
inline void Exec(sqlite3* db, const std::string& sql, const char* what) {
  Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, what);
}

// The text of one script of the db folder (empty when it cannot be read).
inline std::string ReadScript(const char* name) {
  std::ifstream in(std::string(VK_DB_DIR) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Opens (or makes) the database at `path` and runs the application's schema script.
inline sqlite3* OpenWithSchema(const std::wstring& path) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(Utf8(path).c_str(), &db), db, "open");
  Exec(db, ReadScript("application_schema.sql"), "schema");
  return db;
}

// A folder of its own under %TEMP% with the data\ sub-folder where the data-access
// component looks for a key's database; returns the folder.
inline std::wstring ScratchDataFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateDirectoryW((folder + L"\\data").c_str(), nullptr);
  return folder;
}

// Steps a prepared statement to its end, making every field of every row a VARIANT
// as a recordset's reader must at least, and resets it. Returns the rows read.
inline long StepIntoVariants(sqlite3* db, sqlite3_stmt* s) {
  long rows = 0;
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < sqlite3_column_count(s); ++c) {
      VARIANT v;
      VariantInit(&v);
      switch (sqlite3_column_type(s, c)) {
        case SQLITE_INTEGER: v.vt = VT_I4; v.lVal = sqlite3_column_int(s, c); break;
        case SQLITE_FLOAT: v.vt = VT_R8; v.dblVal = sqlite3_column_double(s, c); break;
        case SQLITE_TEXT:
          v.vt = VT_BSTR;
          v.bstrVal = SysAllocString(static_cast<const wchar_t*>(sqlite3_column_text16(s, c)));
          break;
        default: v.vt = VT_NULL; break;
      }
      VariantClear(&v);
    }
  }
  Check(rc, db, "step");
  sqlite3_reset(s);
  return rows;
}

// Plain SQLite reading a statement as a recordset's reader must at least: opens the
// database, steps the statement to its end and makes every field of every row a
// VARIANT. Returns the rows read.
inline long ReadAllIntoVariants(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db), db, "open");
  sqlite3_stmt* s = nullptr;
  Check(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db, "prepare");
  const long rows = StepIntoVariants(db, s);
  sqlite3_finalize(s);
  sqlite3_close(db);
  return rows;
}

}  // namespace vk::bench
