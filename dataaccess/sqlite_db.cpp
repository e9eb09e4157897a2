#include "dataaccess/sqlite_db.h"

#include <windows.h>
#include <sqlite3.h>

#include <cmath>
#include <optional>

#include "dataaccess/rowset.h"
#include "dataaccess/sql_dialect.h"
#include "dataaccess/stored_date.h"

namespace vk::data {

namespace {

// ADO's default command timeout.
unsigned timeLimitMs = 30000;
// Virtual-machine steps between two looks at the clock.
constexpr int kProgressSteps = 1000;
// Distinct statements kept prepared; past this the cache starts again.
constexpr size_t kStatementCacheSize = 128;
// SQL Server counts days from 1900-01-01, which is day 2 of the platform's dates.
constexpr double kSqlServerDayZero = 2;

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

// Cast(x As DateTime) and Cast(x As Date) as SQL Server converts: a date text (ISO or
// month/day/year) or a day count from 1900 becomes the stored form; a text that is no
// date fails the statement rather than become another value.
void DateCastFunction(sqlite3_context* context, int, sqlite3_value** args) {
  const bool dayOnly = sqlite3_user_data(context) != nullptr;
  std::wstring stored;
  switch (sqlite3_value_type(args[0])) {
    case SQLITE_NULL:
      sqlite3_result_null(context);
      return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: {
      double date = sqlite3_value_double(args[0]) + kSqlServerDayZero;
      if (!(date >= -657434 && date < 2958466)) {  // years 100 to 9999
        sqlite3_result_error(context, "Cast: el número está fuera del rango de las fechas", -1);
        return;
      }
      stored = StoredFromOleDate(date);
      break;
    }
    default: {
      const char* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
      auto date = StoredDateFromText(Wide(text ? text : ""), DateOrder::MonthDayYear);
      if (!date) {
        std::string message = std::string("Cast: '") + (text ? text : "") + "' no es una fecha";
        sqlite3_result_error(context, message.c_str(), -1);
        return;
      }
      stored = *date;
    }
  }
  if (dayOnly) stored.replace(11, 8, L"00:00:00");
  sqlite3_result_text(context, Narrow(stored).c_str(), -1, SQLITE_TRANSIENT);
}

// A long path reaches the file system only with the verbatim prefix.
std::wstring FileSystemPath(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\", 0) == 0) return path;
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;
}

std::wstring Lowered(std::wstring_view name) {
  std::wstring out(name);
  for (wchar_t& c : out) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
  }
  return out;
}

}  // namespace

std::unique_ptr<Database> Database::Open(const std::wstring& path) {
  std::unique_ptr<Database> db(new Database);
  db->path_ = path;
  db->Connect();
  return db;
}

void Database::Connect() {
  const std::wstring file = FileSystemPath(path_);
  DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw DataError{L"No existe la base de datos \"" + path_ + L"\""};
  try {
    int rc = sqlite3_open_v2(Utf8Of(file, L"La ruta de la base de datos").c_str(), &db_, SQLITE_OPEN_READWRITE,
                             "win32-longpath");
    if (rc != SQLITE_OK) Fail(L"No se pudo abrir \"" + path_ + L"\"");
    HANDLE handle = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_WIN32_GET_HANDLE, &handle) != SQLITE_OK) Fail(path_);
    heldFile_ = HeldFile(handle, file);
    sqlite3_busy_timeout(db_, static_cast<int>(timeLimitMs));
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_progress_handler(db_, kProgressSteps, &Database::Progress, this);
    sqlite3_create_function_v2(db_, "GetDate", 0, SQLITE_UTF8, nullptr, GetDateFunction, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db_, "RaiseError", 1, SQLITE_UTF8, nullptr, RaiseErrorFunction, nullptr, nullptr,
                               nullptr);
    static int dayOnly = 1;
    sqlite3_create_function_v2(db_, "QdDateTime", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, DateCastFunction,
                               nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db_, "QdDate", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, &dayOnly, DateCastFunction,
                               nullptr, nullptr, nullptr);
    // The catalogue as SQL Server names it; this also proves the file is a database.
    Exec(
        "CREATE TEMP VIEW IF NOT EXISTS SysObjects AS "
        "SELECT name COLLATE NOCASE AS Name, CASE type WHEN 'table' THEN 'U' ELSE 'V' END AS XType "
        "FROM main.sqlite_master WHERE type IN ('table','view') AND name NOT LIKE 'sqlite%'");
  } catch (const DataError&) {
    Close();
    throw;
  }
}

void Database::Close() {
  ClearCache();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  dateColumns_.clear();
  dateColumnsVersion_ = -1;
}

Database::~Database() { Close(); }

void Database::SetTimeLimit(unsigned milliseconds) { timeLimitMs = milliseconds; }

unsigned Database::TimeLimit() { return timeLimitMs; }

void Database::StartCall() {
  timedOut_ = false;
  const HeldFile::AtPath named = heldFile_.Look();
  if (!db_ || named != HeldFile::AtPath::Held) {
    // Statements and date columns go with the connection they were read through.
    Close();
    if (named == HeldFile::AtPath::Nothing)
      throw DataError{L"La base de datos \"" + path_ +
                      L"\" ya no existe (se borró o se movió); no se leyó ni cambió nada"};
    Connect();
  }
  deadline_ = GetTickCount64() + timeLimitMs;
  sqlite3_busy_timeout(db_, static_cast<int>(timeLimitMs));
}

int Database::Progress(void* self) {
  auto* db = static_cast<Database*>(self);
  if (db->deadline_ == 0 || GetTickCount64() < db->deadline_) return 0;
  db->timedOut_ = true;
  return 1;  // SQLite stops the statement with SQLITE_INTERRUPT
}

void Database::ClearCache() {
  for (auto& [text, stmt] : statements_) sqlite3_finalize(stmt);
  statements_.clear();
  for (auto& [name, prepared] : bodies_) {
    for (sqlite3_stmt* stmt : prepared.statements) sqlite3_finalize(stmt);
  }
  bodies_.clear();
}

std::wstring Database::LastError() const {
  std::wstring message = db_ ? std::wstring(static_cast<const wchar_t*>(sqlite3_errmsg16(db_))) : L"";
  if (message.empty() || message == L"not an error") message = L"error desconocido";
  return message;
}

void Database::Fail(const std::wstring& context) const {
  throw DataError{context.empty() ? LastError() : context + L": " + LastError()};
}

sqlite3_stmt* Database::Prepare(const std::string& sql) {
  if (auto found = statements_.find(sql); found != statements_.end()) {
    sqlite3_reset(found->second);
    sqlite3_clear_bindings(found->second);
    return found->second;
  }
  const char* rest = sql.c_str();
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(db_, rest, -1, SQLITE_PREPARE_PERSISTENT, &stmt, &rest) != SQLITE_OK) Fail();
  if (!stmt) throw DataError{L"La sentencia está vacía"};
  try {
    if (sqlite3_stmt* second = PrepareNext(rest)) {
      sqlite3_finalize(second);
      throw DataError{L"Se esperaba una sola sentencia"};
    }
  } catch (const DataError&) {
    sqlite3_finalize(stmt);
    throw;
  }
  if (statements_.size() >= kStatementCacheSize) {
    for (auto& [text, old] : statements_) sqlite3_finalize(old);
    statements_.clear();
  }
  statements_.emplace(sql, stmt);
  return stmt;
}

sqlite3_stmt* Database::PrepareNext(const char*& rest, const std::wstring& context) {
  while (*rest) {
    sqlite3_stmt* stmt = nullptr;
    // The text ends in a NUL, so SQLite reads it in place and only as far as one
    // statement: a command of many statements costs in proportion to its length.
    if (sqlite3_prepare_v3(db_, rest, -1, 0, &stmt, &rest) != SQLITE_OK) Fail(context);
    if (stmt) return stmt;
  }
  return nullptr;
}

const std::vector<sqlite3_stmt*>& Database::PrepareBody(const std::wstring& name, const std::string& body) {
  if (auto found = bodies_.find(name); found != bodies_.end()) {
    if (found->second.text == body) return found->second.statements;
    for (sqlite3_stmt* stmt : found->second.statements) sqlite3_finalize(stmt);
    bodies_.erase(found);
  }
  const std::wstring context = L"Procedimiento " + name;
  CommandOutline outline = OutlineCommand(Wide(body));
  if (!outline.transactionControl.empty())
    throw DataError{context + L": el cuerpo no puede usar " + outline.transactionControl +
                    L"; cada llamada corre en una sola transacción"};
  std::vector<sqlite3_stmt*> list;
  try {
    const char* rest = body.c_str();
    while (sqlite3_stmt* stmt = PrepareNext(rest, context)) list.push_back(stmt);
  } catch (const DataError&) {
    for (sqlite3_stmt* s : list) sqlite3_finalize(s);
    throw;
  }
  return bodies_.emplace(name, PreparedBody{body, std::move(list)}).first->second.statements;
}

void Database::Exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

void Database::CheckFileBeforeCommit() {
  if (heldFile_.Look() != HeldFile::AtPath::Held)
    throw DataError{L"La base de datos \"" + path_ +
                    L"\" se reemplazó o se borró mientras corría el comando; no cambió nada"};
}

void Database::Rollback() {
  deadline_ = 0;
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Database::IsDateColumn(std::wstring_view name) {
  ReadDateColumns();
  return dateColumns_.count(Lowered(name)) > 0;
}

void Database::ReadDateColumns() {
  sqlite3_stmt* version = Prepare("PRAGMA schema_version");
  int current = sqlite3_step(version) == SQLITE_ROW ? sqlite3_column_int(version, 0) : -1;
  sqlite3_reset(version);
  if (current == dateColumnsVersion_ && current != -1) return;
  dateColumns_.clear();
  dateColumnsVersion_ = current;
  // A name is a date column only when no table or view declares it as anything else.
  std::unordered_map<std::wstring, bool> allDates;
  sqlite3_stmt* columns = nullptr;
  const char* sql =
      "SELECT p.name, p.type FROM main.sqlite_master m, pragma_table_info(m.name) p "
      "WHERE m.type IN ('table','view') AND p.type <> ''";
  if (sqlite3_prepare_v2(db_, sql, -1, &columns, nullptr) != SQLITE_OK) return;
  while (sqlite3_step(columns) == SQLITE_ROW) {
    std::wstring column = Lowered(static_cast<const wchar_t*>(sqlite3_column_text16(columns, 0)));
    short type = AdoTypeOfDeclared(reinterpret_cast<const char*>(sqlite3_column_text(columns, 1)));
    bool date = type == ado::Date || type == ado::DBTimeStamp;
    auto [entry, added] = allDates.emplace(column, date);
    if (!added) entry->second = entry->second && date;
  }
  sqlite3_finalize(columns);
  for (const auto& [column, date] : allDates) {
    if (date) dateColumns_.insert(column);
  }
}

StatementReset::~StatementReset() { sqlite3_reset(stmt_); }

Transaction::Transaction(Database& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (open_) db_.Rollback();
}

void Transaction::Commit() {
  db_.CheckFileBeforeCommit();
  db_.Exec("COMMIT");
  open_ = false;
}

void StepToEnd(Database& db, sqlite3_stmt* stmt, const std::wstring& context) {
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) db.Fail(context);
}

}  // namespace vk::data
