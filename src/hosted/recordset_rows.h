#pragma once
// The rows of a recordset the controls are handed (the combo box's list, the text
// box's value list), read late-bound as ADO wants them walked.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace vk::hosted {

// The first `columns` fields of each row as texts (fewer when the recordset has fewer);
// walked with RecordCount, MoveFirst, EOF, MoveNext and Fields(i).Value. Null and Empty
// read as "". A null recordset has no rows; a failing call raises the callee's error.
std::vector<std::vector<std::wstring>> RecordsetRows(IDispatch* recordset, long columns);

}  // namespace vk::hosted
