#pragma once
// Stored procedures kept in the database, in table Procedures: a name, one letter
// per parameter giving its type (I whole number, F number, T text, D date,
// B Boolean) and a body of SQL statements that name the parameters ?1, ?2, ...
// A call checks the count and each value's type, then runs the whole body in one
// transaction: a failing statement leaves nothing written. A body that would begin,
// end or mark a transaction of its own is refused before it runs.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "dataaccess/sql_dialect.h"
#include "dataaccess/sqlite_db.h"

namespace vk::data {

// Throws DataError with the reason when the procedure does not run to its end.
void RunProcedure(Database& db, const std::wstring& name, const std::vector<VARIANT>& parameters,
                  DateOrder shortDateOrder);

}  // namespace vk::data
