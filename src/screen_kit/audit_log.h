#pragma once
// The audit trail: the action log (who did what to which document, from which
// component and computer) and the per-document read log. Both take the next id
// themselves, draw again when another writer took it before their insert, and report
// only whether the stored procedure succeeded.
#include <string>

namespace vk {

// Action types the callers use.
namespace action {
inline constexpr long Error = 1, Catalogued = 2, Modified = 3;
}

// The stored text of an action type.
std::wstring ActionText(long actionType);

bool LogAcciones_Add(long detailMode, long actionType, const std::wstring& subject, const std::wstring& message,
                     const std::wstring& extra);

bool DocumentosLog_Add(double documentId, const std::wstring& unused);

}  // namespace vk
