#pragma once
// The reset every screen makes of its controls, visiting them in the form's order,
// each by itself with its errors ignored: text boxes to the empty text (or the logon
// name when their FieldName is "Usuario"), combo boxes to their first item, date
// pickers to today, rich-text editors to no text. Other controls keep their state, and
// so does `keep` (a screen's document date, which is not reset with the rest).
#include "runtime/form.h"

namespace vk {

void ClearControlsByKind(Form& form, const Control* keep = nullptr);

}  // namespace vk
