// The mail stand-in reaching into the screens.
#include "screen_kit/shared_state.h"
#include "base/utf8.h"
