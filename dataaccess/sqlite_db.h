#pragma once
// One open SQLite database: the connection, the functions and view that stand in
// for SQL Server's (GetDate, RaiseError, SysObjects), and a cache of prepared
// statements so a caller that repeats a statement does not compile it again.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vk::data {

// A failure with the text the caller reads from ErrDescription.
struct DataError {
  std::wstring message;
};

class Database {
 public:
  // Opens an existing database file for reading and writing; never creates one.
  static std::unique_ptr<Database> Open(const std::wstring& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* handle() const { return db_; }
  const std::wstring& path() const { return path_; }

  // A statement for exactly one SQL statement, reset and with no bindings. The
  // database owns it; it stays valid until the next Prepare.
  sqlite3_stmt* Prepare(const std::wstring& sql);

  // The statements of a stored procedure body, prepared once per connection.
  const std::vector<sqlite3_stmt*>& PrepareBody(const std::wstring& name, const std::wstring& body);

  // Runs SQL with no result rows; throws DataError.
  void Exec(const char* sql);

  // The database's own message for its last failure, with the statement's text.
  [[noreturn]] void Fail(const std::wstring& context = {}) const;

 private:
  Database() = default;
  void ClearCache();

  sqlite3* db_ = nullptr;
  std::wstring path_;
  std::unordered_map<std::wstring, sqlite3_stmt*> statements_;
  std::unordered_map<std::wstring, std::vector<sqlite3_stmt*>> bodies_;
};

// Resets a cached statement when it leaves scope, so a failed read never keeps
// the database's read lock.
class StatementReset {
 public:
  explicit StatementReset(sqlite3_stmt* stmt) : stmt_(stmt) {}
  StatementReset(const StatementReset&) = delete;
  StatementReset& operator=(const StatementReset&) = delete;
  ~StatementReset();

 private:
  sqlite3_stmt* stmt_;
};

// A transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

// Runs every statement of a text in turn, keeping no rows; throws DataError.
void ExecText(Database& db, const std::wstring& sql);

std::wstring Widen(const char* utf8, int bytes = -1);
std::string Narrow(const std::wstring& text);

}  // namespace vk::data
