#include "consult/combo_source.h"

#include "hosted/combo_box.h"
#include "runtime/steps.h"

namespace vk {

bool LoadCombosFromTags(Form& form, const DataAccess& data, const capture::ScreenYield& yield) {
  for (hosted::ComboBox* combo : form.ControlsOf<hosted::ComboBox>()) {
    capture::SourceLoad loaded = capture::SourceLoad::Stopped;
    if (!IgnoreErrors([&] { loaded = capture::LoadComboSource(*combo, combo->tag(), data, yield); }) ||
        loaded == capture::SourceLoad::Stopped)
      return false;
  }
  return true;
}

}  // namespace vk
