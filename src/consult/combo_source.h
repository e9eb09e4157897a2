#pragma once
// How every screen fills its combo boxes: each combo's Tag holds either a SELECT whose
// first column is the key and second the description, run on the application key, or
// a fixed list separated by "|". The combos are visited in the form's order; a Tag
// without "|" is always taken for SQL.
#include <functional>
#include <optional>

#include "host/data_access.h"
#include "runtime/form.h"

namespace vk {

// Loads every combo of the form. Each read becomes the screen's `current` recordset;
// `yield` runs after each read and after each fill and stops the loader when it
// returns false. False at the first combo that fails or when stopped; the combos after
// it stay as they were.
bool LoadCombosFromTags(Form& form, const DataAccess& data, std::optional<Recordset>& current,
                        const std::function<bool()>& yield);

}  // namespace vk
