#pragma once
// A capture screen that borrows from its sibling wing.
#include "consult/list_screen.h"
#include "screen_kit/document_screen.h"
