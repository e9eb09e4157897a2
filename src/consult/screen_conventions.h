#pragma once
// Two conventions every screen of the system follows.
//
// ComboSource: a combo box's Tag holds either a SELECT (first column the key, second
// the description), read on the application key and handed to the combo, or a fixed
// list separated by "|". A Tag without "|" is always taken for SQL, so a screen sets
// every Tag before it loads. The window's queued messages run after each read and
// each fill, so the loader checks through `stillHere` that its screen and data object
// survived them and stops quietly otherwise.
//
// ClearForm: every control is reset by its kind (text boxes empty, or the logon name
// for the field "Usuario"; combos to their first item; date pickers to today; rich text
// empty), each by itself with its failure ignored and with every event muted, so the
// reset never writes back into a record. Other controls (check boxes) keep their state.
#include <functional>
#include <optional>

#include "host/data_access.h"
#include "runtime/form.h"

namespace vk::consult {

// Loads every combo box of the form, in control order; false at the first combo that
// fails (those after it stay unloaded) or when the screen went meanwhile. Each read
// becomes `current`, the screen's current recordset.
bool LoadCombosFromTags(const Form& form, const DataAccess& data, std::optional<Recordset>& current,
                        const std::function<bool()>& stillHere);

void ClearControls(const Form& form);

}  // namespace vk::consult
