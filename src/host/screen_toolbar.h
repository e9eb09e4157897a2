#pragma once
// The document screens' toolbar buttons: each key gets a small drawn icon (the maker's
// pictures are not ours to copy) and its tool tip; "BTN_REP" has no tool tip and the
// caption " ", as the screens' design gives it.
#include <string>

#include "hosted/toolbar.h"

namespace vk {

void AddToolbarButton(hosted::Toolbar& toolbar, const std::wstring& key, const std::wstring& toolTip);

}  // namespace vk
