#pragma once
// The data-access object, "QdPoolConnection.QdProcedure":
//   GetData(key, command, Null, True, 0, 1, 0)  -> a recordset, or Nothing on failure
//   Execute(key, command, parameters, 0, kind, 0) -> True on success; kind 4 runs a
//                                                    stored procedure, kind 1 SQL text
//   ErrDescription                                -> the text of the last failure
// and nothing else, as the component it stands in for: a caller learns what a command
// changed by reading the rows back.
// No call raises to its caller: a failure, memory's included, is Nothing or False and
// a text. The object takes its connections from the process's pool (connection_pool.h)
// at a key's first use and keeps them for its lifetime. A call stops after the time
// limit (30 s, ADO's command timeout), and waits as long for another's lock.
#include <exception>
#include <map>
#include <memory>
#include <string>

#include "com/com_object.h"
#include "dataaccess/connection_pool.h"
#include "dataaccess/named_dispatch.h"
#include "dataaccess/sql_dialect.h"
#include "dataaccess/sqlite_db.h"

namespace vk::data {

// {7E1C3A52-5B0D-4C6E-9F1A-2D8B6C4E0A31}
inline constexpr CLSID CLSID_QdProcedure = {0x7e1c3a52, 0x5b0d, 0x4c6e, {0x9f, 0x1a, 0x2d, 0x8b, 0x6c, 0x4e, 0x0a, 0x31}};

class QdProcedure : public com::ComObject<QdProcedure, NamedDispatch<QdProcedure>> {
 public:
  static constexpr const wchar_t* kSource = L"QdPoolConnection.QdProcedure";
  static std::span<const Member> Members();
  QdProcedure();
  HRESULT Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result);

  // The folder whose data\ sub-folder holds the databases of keys the registry
  // does not name (this DLL's folder).
  static void SetDefaultFolder(std::wstring folder);

 private:
  IDispatch* GetData(const VARIANT& key, const VARIANT& command);
  bool Execute(const VARIANT& key, const VARIANT& command, const VARIANT* parameters, long kind);
  Database& Connect(const VARIANT& key);
  DialectOptions DialectOf(Database& db) const;
  // The text of a failure for ErrDescription: the time limit's when it stopped the call.
  std::wstring Reason(const DataError& error) const;
  // The text of any other failure of a call: memory running out, or the library's.
  static std::wstring Reason(const std::exception& error);

  ConnectionPool::Hold poolHold_;  // first in, last out: outlives the connections below
  std::map<std::wstring, std::shared_ptr<Database>> connections_;
  std::wstring lastError_;
  Database* current_ = nullptr;  // the database of the call running or run last
  DialectOptions dialect_;
};

// The user's short-date order, from the regional settings.
DateOrder UserShortDateOrder();

}  // namespace vk::data
