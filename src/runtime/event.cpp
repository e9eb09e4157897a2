#include "runtime/event.h"

namespace vk {

namespace {

thread_local int threadMuteCount = 0;
thread_local int handlerDepth = 0;
// Objects waiting for the outermost handler to return. A pointer, not a vector,
// so that nothing of it is destroyed at thread exit after COM has gone.
thread_local std::vector<std::shared_ptr<void>>* pendingRelease = nullptr;

}  // namespace

bool EventBase::muted() const { return muteCount_ > 0 || threadMuteCount > 0; }

MuteEvents::MuteEvents() { ++threadMuteCount; }

MuteEvents::~MuteEvents() {
  if (events_.empty()) {
    --threadMuteCount;
    return;
  }
  for (EventBase* e : events_) --e->muteCount_;
}

HandlerScope::HandlerScope() { ++handlerDepth; }

HandlerScope::~HandlerScope() {
  if (--handlerDepth > 0 || !pendingRelease) return;
  // Freeing may run more handlers (an unload event), which may defer more objects:
  // keep going until the list stays empty.
  ++handlerDepth;
  while (pendingRelease && !pendingRelease->empty()) {
    std::vector<std::shared_ptr<void>> batch;
    batch.swap(*pendingRelease);
    batch.clear();
  }
  --handlerDepth;
  delete pendingRelease;
  pendingRelease = nullptr;
}

int HandlerScope::Depth() { return handlerDepth; }

void ReleaseWhenHandlersReturn(std::shared_ptr<void> object) {
  if (handlerDepth == 0) return;  // the caller's reference was the last one wanted
  if (!pendingRelease) pendingRelease = new std::vector<std::shared_ptr<void>>();
  pendingRelease->push_back(std::move(object));
}

}  // namespace vk
