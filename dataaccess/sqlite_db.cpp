#include "dataaccess/sqlite_db.h"

#include <windows.h>
#include <sqlite3.h>

#include <cwctype>

namespace vk::data {

namespace {

// How long a statement waits for another process's lock before it fails.
constexpr int kBusyTimeoutMs = 1000;
// Distinct statements kept prepared; past this the cache starts again.
constexpr size_t kStatementCacheSize = 128;

void GetDateFunction(sqlite3_context* context, int, sqlite3_value**) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  int n = snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                   now.wHour, now.wMinute, now.wSecond);
  sqlite3_result_text(context, text, n, SQLITE_TRANSIENT);
}

// RaiseError('text') fails the statement with that text, as a procedure body's
// way of refusing work (SQL Server's RAISERROR).
void RaiseErrorFunction(sqlite3_context* context, int, sqlite3_value** args) {
  const char* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
  sqlite3_result_error(context, text ? text : "error", -1);
}

bool OnlyBlanks(const wchar_t* text) {
  if (!text) return true;
  for (; *text; ++text) {
    if (!std::iswspace(*text) && *text != L';') return false;
  }
  return true;
}

}  // namespace

std::wstring Widen(const char* utf8, int bytes) {
  if (!utf8) return {};
  if (bytes < 0) bytes = static_cast<int>(strlen(utf8));
  if (bytes == 0) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, bytes, out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::unique_ptr<Database> Database::Open(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw DataError{L"No existe la base de datos \"" + path + L"\""};
  std::unique_ptr<Database> db(new Database);
  db->path_ = path;
  int rc = sqlite3_open_v2(Narrow(path).c_str(), &db->db_, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) db->Fail(L"No se pudo abrir \"" + path + L"\"");
  sqlite3_busy_timeout(db->db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db->db_, 1);
  sqlite3_create_function_v2(db->db_, "GetDate", 0, SQLITE_UTF8, nullptr, GetDateFunction, nullptr, nullptr,
                             nullptr);
  sqlite3_create_function_v2(db->db_, "RaiseError", 1, SQLITE_UTF8, nullptr, RaiseErrorFunction, nullptr,
                             nullptr, nullptr);
  // The catalogue as SQL Server names it; this also proves the file is a database.
  db->Exec(
      "CREATE TEMP VIEW IF NOT EXISTS SysObjects AS "
      "SELECT name COLLATE NOCASE AS Name, CASE type WHEN 'table' THEN 'U' ELSE 'V' END AS XType "
      "FROM main.sqlite_master WHERE type IN ('table','view') AND name NOT LIKE 'sqlite%'");
  return db;
}

Database::~Database() {
  ClearCache();
  if (db_) sqlite3_close_v2(db_);
}

void Database::ClearCache() {
  for (auto& [text, stmt] : statements_) sqlite3_finalize(stmt);
  statements_.clear();
  for (auto& [name, list] : bodies_) {
    for (sqlite3_stmt* stmt : list) sqlite3_finalize(stmt);
  }
  bodies_.clear();
}

void Database::Fail(const std::wstring& context) const {
  std::wstring message = db_ ? std::wstring(static_cast<const wchar_t*>(sqlite3_errmsg16(db_))) : L"";
  if (message.empty() || message == L"not an error") message = L"error desconocido";
  throw DataError{context.empty() ? message : context + L": " + message};
}

sqlite3_stmt* Database::Prepare(const std::wstring& sql) {
  if (auto found = statements_.find(sql); found != statements_.end()) {
    sqlite3_reset(found->second);
    sqlite3_clear_bindings(found->second);
    return found->second;
  }
  sqlite3_stmt* stmt = nullptr;
  const void* tail = nullptr;
  int bytes = static_cast<int>((sql.size() + 1) * sizeof(wchar_t));
  if (sqlite3_prepare16_v3(db_, sql.c_str(), bytes, SQLITE_PREPARE_PERSISTENT, &stmt, &tail) != SQLITE_OK)
    Fail();
  if (!stmt) throw DataError{L"La sentencia está vacía"};
  if (!OnlyBlanks(static_cast<const wchar_t*>(tail))) {
    sqlite3_finalize(stmt);
    throw DataError{L"Se esperaba una sola sentencia"};
  }
  if (statements_.size() >= kStatementCacheSize) {
    for (auto& [text, old] : statements_) sqlite3_finalize(old);
    statements_.clear();
  }
  statements_.emplace(sql, stmt);
  return stmt;
}

const std::vector<sqlite3_stmt*>& Database::PrepareBody(const std::wstring& name, const std::wstring& body) {
  if (auto found = bodies_.find(name); found != bodies_.end()) return found->second;
  std::vector<sqlite3_stmt*> list;
  const wchar_t* rest = body.c_str();
  while (!OnlyBlanks(rest)) {
    sqlite3_stmt* stmt = nullptr;
    const void* tail = nullptr;
    if (sqlite3_prepare16_v3(db_, rest, -1, SQLITE_PREPARE_PERSISTENT, &stmt, &tail) != SQLITE_OK) {
      for (sqlite3_stmt* s : list) sqlite3_finalize(s);
      Fail(L"Procedimiento " + name);
    }
    if (stmt) list.push_back(stmt);
    rest = static_cast<const wchar_t*>(tail);
  }
  return bodies_.emplace(name, std::move(list)).first->second;
}

void Database::Exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

StatementReset::~StatementReset() { sqlite3_reset(stmt_); }

Transaction::Transaction(Database& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  db_.Exec("COMMIT");
  open_ = false;
}

void ExecText(Database& db, const std::wstring& sql) {
  const wchar_t* rest = sql.c_str();
  bool any = false;
  while (!OnlyBlanks(rest)) {
    sqlite3_stmt* stmt = nullptr;
    const void* tail = nullptr;
    if (sqlite3_prepare16_v2(db.handle(), rest, -1, &stmt, &tail) != SQLITE_OK) db.Fail();
    rest = static_cast<const wchar_t*>(tail);
    if (!stmt) continue;
    any = true;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      std::wstring message = static_cast<const wchar_t*>(sqlite3_errmsg16(db.handle()));
      sqlite3_finalize(stmt);
      throw DataError{message};
    }
    sqlite3_finalize(stmt);
  }
  if (!any) throw DataError{L"La sentencia está vacía"};
}

}  // namespace vk::data
