#include "screen_kit/shared_state.h"

namespace vk {

SharedState& Shared() {
  static thread_local SharedState state;
  return state;
}

}  // namespace vk
