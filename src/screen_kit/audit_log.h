#pragma once
// The audit trail: the action log (who did what to which document, from which
// component and computer) and the per-document read log. Both take the next id
// themselves, draw again when another writer took it before their insert, and report
// only whether the stored procedure succeeded.
#include <functional>
#include <string>

namespace vk {

class DataAccess;

// Action types the callers use.
namespace action {
inline constexpr long Error = 1, Catalogued = 2, Modified = 3;
}

// The stored text of an action type.
std::wstring ActionText(long actionType);

bool LogAcciones_Add(long detailMode, long actionType, const std::wstring& subject, const std::wstring& message,
                     const std::wstring& extra);

// Whether a reading may still be logged, asked of the writer's own data object right
// before each write of it: a reading is logged only under a number that names what was
// read, and another document may take that number at any moment. Raises as the data
// object does when it cannot tell.
using ReadingStillLoggable = std::function<bool(const DataAccess&)>;

// `loggable`, when given, is asked right before each write; false writes nothing and
// answers false.
bool DocumentosLog_Add(double documentId, const std::wstring& unused, const ReadingStillLoggable& loggable = {});

}  // namespace vk
