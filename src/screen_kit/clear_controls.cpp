#include "screen_kit/clear_controls.h"

#include "base/clock.h"
#include "base/steps.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/rich_text.h"
#include "hosted/text_box.h"
#include "screen_kit/shared_functions.h"

namespace vk {

void ClearControlsByKind(Form& form, const Control* keep) {
  for (Control* control : form.Controls()) {
    if (control == keep) continue;
    // The kinds are tested one after the other, as independent steps.
    RunEachStep({
        [&] {
          if (auto* box = dynamic_cast<hosted::TextBox*>(control))
            box->SetText(box->FieldName() == L"Usuario" ? GetUserNameNT() : L"");
        },
        [&] {
          if (auto* combo = dynamic_cast<hosted::ComboBox*>(control)) combo->SetListIndex(0);
        },
        [&] {
          if (auto* picker = dynamic_cast<hosted::DatePicker*>(control)) picker->SetValue(Today());
        },
        [&] {
          if (auto* editor = dynamic_cast<hosted::RichTextEditor*>(control)) editor->SetTextRTF(L"");
        },
    });
  }
}

}  // namespace vk
