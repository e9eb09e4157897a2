#pragma once
// A value type that reaches up into the window runtime.
#include "runtime/form.h"
