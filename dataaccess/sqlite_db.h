#pragma once
// One open SQLite database: the connection, the functions and view that stand in
// for SQL Server's (GetDate, RaiseError, QdDateTime and QdDate for Cast, SysObjects),
// a cache of prepared statements so a caller that repeats a statement does not
// compile it again, the names of its date columns, and the time limit of each call.
// SQL reaches SQLite as UTF-8 (see utf8.h).
//
// The file: a connection outlives the calls made on it, and under Wine nothing stops
// a program outside it from renaming another file over the database or deleting it
// (SQLite's share mode is Windows's to enforce): the connection would go on reading and
// writing a file that no longer has the name, and a caller's work would vanish. So each
// call first looks at which file the path names (one lookup of its file number): it
// reopens the path when that is another file, and fails, holding nothing, when there is
// none. A command looks again before it commits, as it may have waited for a lock.
// Not covered: a file replaced during the commit itself (after that last look); and,
// when it is replaced while a command runs, the rollback journal SQLite names after
// the path, which a program writing the new file meanwhile would share.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dataaccess/data_error.h"
#include "dataaccess/file_identity.h"
#include "dataaccess/utf8.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vk::data {

class Database {
 public:
  // Opens an existing database file for reading and writing; never creates one.
  static std::unique_ptr<Database> Open(const std::wstring& path);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  sqlite3* handle() const { return db_; }
  const std::wstring& path() const { return path_; }

  // How long one call may run, and wait for another connection's lock, before it
  // fails: ADO's command timeout, 30 seconds. Tests shorten it.
  static void SetTimeLimit(unsigned milliseconds);
  static unsigned TimeLimit();
  // Starts one call (a read or a command): its clock, and the file (see above). Throws
  // DataError when the path names no file, or one that cannot be opened.
  void StartCall();
  // Throws DataError when the path no longer names the file the connection holds.
  void CheckFileBeforeCommit();
  // Whether the time limit stopped the call started last.
  bool TimedOut() const { return timedOut_; }

  // A statement for exactly one SQL statement, reset and with no bindings. The
  // database owns it; it stays valid until the next Prepare.
  sqlite3_stmt* Prepare(const std::string& sql);

  // The next statement of a text of several, moving `rest` past it; null when only
  // blanks and comments are left. The caller finalizes it.
  sqlite3_stmt* PrepareNext(const char*& rest, const std::wstring& context = {});

  // The statements of a stored procedure body, prepared once per connection and again
  // when the body changed (the connection outlives the objects that use it).
  const std::vector<sqlite3_stmt*>& PrepareBody(const std::wstring& name, const std::string& body);

  // Runs SQL with no result rows; throws DataError.
  void Exec(const char* sql);
  // Ends the open transaction, undoing its writes, whatever the clock says.
  void Rollback();

  // The database's own message for its last failure.
  std::wstring LastError() const;
  [[noreturn]] void Fail(const std::wstring& context = {}) const;

  // Whether a column of that name (any case) is declared as a date in every table or
  // view that has one.
  bool IsDateColumn(std::wstring_view name);

 private:
  Database() = default;
  // Opens path_ and sets the connection up; holds nothing when that fails.
  void Connect();
  // Closes the connection with its statements and what was read through it.
  void Close();
  void ClearCache();
  void ReadDateColumns();
  static int Progress(void* self);

  sqlite3* db_ = nullptr;
  std::wstring path_;
  HeldFile heldFile_;  // the file the connection holds (file_identity.h)
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
  struct PreparedBody {
    std::string text;
    std::vector<sqlite3_stmt*> statements;
  };
  std::unordered_map<std::wstring, PreparedBody> bodies_;
  std::unordered_set<std::wstring> dateColumns_;
  int dateColumnsVersion_ = -1;  // the schema version they were read at
  uint64_t deadline_ = 0;        // tick count the running call must end by; 0: none
  bool timedOut_ = false;
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

// A transaction that rolls back unless committed. It waits for another
// connection's write lock up to the time limit.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

// Steps a statement to its end, keeping no rows; throws DataError with the context.
void StepToEnd(Database& db, sqlite3_stmt* stmt, const std::wstring& context = {});

}  // namespace vk::data
