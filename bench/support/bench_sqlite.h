#pragma once
// Plain SQLite for the benchmarks' floors: a failed call ends the run, and the
// database scripts are read from the project's db folder (VK_DB_DIR, set by the
// benchmark's CMakeLists.txt).
#include <windows.h>
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

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

// The text of one script of the db folder (empty when it cannot be read).
inline std::string ReadScript(const char* name) {
  std::ifstream in(std::string(VK_DB_DIR) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
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

}  // namespace vk::bench
