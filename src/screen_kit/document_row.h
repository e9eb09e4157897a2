#pragma once
// Whether a document still has its row: the one read every screen makes before acting
// on a document another user may have deleted, or whose id another clerk may have taken.
namespace vk {

class DataAccess;

// True when a Documentos row holds `documentId`. Raises a VbError with the data
// object's reason when the row cannot be read.
bool DocumentRowExists(const DataAccess& data, long documentId);

}  // namespace vk
