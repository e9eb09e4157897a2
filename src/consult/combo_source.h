#pragma once
// How the list and audit screens fill their combo boxes: each combo's Tag holds either a
// SELECT whose first column is the key and second the description, run on the
// application key, or a fixed list separated by "|" (capture::LoadComboSource). The
// combos are visited in the form's order.
#include "capture/catalogue_combos.h"
#include "host/data_access.h"
#include "runtime/form.h"

namespace vk {

// Loads every combo of the form; `yield` runs after each read and after each fill and
// stops the loader when it returns false. A query that gives nothing leaves its combo
// empty and the loader goes on. False at the first combo that raises or when stopped;
// the combos after it stay as they were.
bool LoadCombosFromTags(Form& form, const DataAccess& data, const capture::ScreenYield& yield);

}  // namespace vk
