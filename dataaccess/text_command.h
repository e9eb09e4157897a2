#pragma once
// A command of SQL text (Execute with kind 1): one or more statements in the SQL
// Server dialect, run as one transaction, its "?" markers bound in order to the
// caller's values as ADO binds them. Refused before anything runs: an empty command,
// a statement that begins, ends or marks a transaction (the command would no longer
// be one), and a count of values that does not match the markers.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "dataaccess/sql_dialect.h"
#include "dataaccess/sqlite_db.h"

namespace vk::data {

// Throws DataError with the reason when the command does not run to its end; it then
// leaves nothing written.
void RunTextCommand(Database& db, const std::wstring& text, const std::vector<VARIANT>& parameters,
                    const DialectOptions& dialect);

// The refusal of a read or a statement whose "?" markers got no values.
[[noreturn]] void FailUnboundMarkers(size_t markers, size_t values);

}  // namespace vk::data
