#pragma once
// Two conventions every screen of the system follows.
//
// ComboSource: a combo box's Tag holds either a SELECT (first column the key, second
// the description), read on the application key and handed to the combo, or a fixed
// list separated by "|" (capture::LoadComboSource loads one). A screen sets every Tag
// before it loads. The window's queued messages run after each read and each fill
// (the yield), which answers whether the screen and its data object survived them;
// the loader stops quietly otherwise.
//
// ClearForm: every control is reset by its kind (text boxes empty, or the logon name
// for the field "Usuario"; combos to their first item; date pickers to today; rich text
// empty), each by itself with its failure ignored and with every event muted, so the
// reset never writes back into a record. Other controls (check boxes) keep their state.
#include <functional>

#include "host/data_access.h"
#include "runtime/form.h"

namespace vk::consult {

// Loads every combo box of the form, in control order; false at the first combo that
// fails (those after it stay unloaded) or when a yield said to stop.
bool LoadCombosFromTags(const Form& form, const DataAccess& data, const std::function<bool()>& yield);

void ClearControls(const Form& form);

}  // namespace vk::consult
