#include "consult/screen_conventions.h"

#include "capture/catalogue_combos.h"

#include "host/shared_functions.h"
#include "host/shared_state.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/rich_text.h"
#include "hosted/text_box.h"
#include "runtime/clock.h"
#include "runtime/event.h"
#include "runtime/steps.h"

namespace vk::consult {

bool LoadCombosFromTags(const Form& form, const DataAccess& data, const std::function<bool()>& yield) {
  try {
    for (hosted::ComboBox* combo : form.ControlsOf<hosted::ComboBox>())
      if (capture::LoadComboSource(*combo, combo->tag(), data, yield) != capture::SourceLoad::Loaded) return false;
    return true;
  } catch (const VbError&) {
    return false;
  } catch (const std::exception&) {
    return false;
  }
}

void ClearControls(const Form& form) {
  MuteEvents quiet;
  for (Control* control : form.Controls()) {
    if (auto* box = dynamic_cast<hosted::TextBox*>(control))
      IgnoreErrors([&] { box->SetText(box->FieldName() == L"Usuario" ? GetUserNameNT() : L""); });
    if (auto* combo = dynamic_cast<hosted::ComboBox*>(control)) IgnoreErrors([&] { combo->SetListIndex(0); });
    if (auto* picker = dynamic_cast<hosted::DatePicker*>(control))
      IgnoreErrors([&] { picker->SetValueText(FormatDate(Today(), L"dd/mm/yyyy")); });
    if (auto* editor = dynamic_cast<hosted::RichTextEditor*>(control)) IgnoreErrors([&] { editor->SetTextRTF(L""); });
  }
}

}  // namespace vk::consult
