#pragma once
// DoEvents: lets the thread's queued messages run in the middle of a long loop
// (loading thumbnails, saving a batch, filling a page), so clicks and timers are
// served while the loop goes on.
//
// A DoEvents called while another one is running on the same thread returns at once:
// a handler reached from inside the pump that itself yields must not pump again
// underneath the first, or events would be served out of order and a loop could
// re-enter itself without end.
//
// Forms unloaded by messages served inside DoEvents are freed only after it returns
// (and after the outermost handler, see event.h).
namespace vk {

// Serves every message waiting now; returns the number served (0 when re-entered).
int DoEvents();
bool InDoEvents();

}  // namespace vk
