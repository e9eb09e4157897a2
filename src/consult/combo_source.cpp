#include "consult/combo_source.h"

#include "host/shared_state.h"
#include "hosted/combo_box.h"
#include "runtime/steps.h"

namespace vk {

bool LoadCombosFromTags(Form& form, const DataAccess& data, std::optional<Recordset>& current,
                        const std::function<bool()>& yield) {
  for (hosted::ComboBox* combo : form.ControlsOf<hosted::ComboBox>()) {
    bool stopped = false;
    const bool loaded = IgnoreErrors([&] {
      const std::wstring& tag = combo->tag();
      if (tag.find(L'|') != std::wstring::npos) {
        combo->LoadArray(tag);
        return;
      }
      current = data.GetData(Shared().gApplicationName, tag);
      if (!yield()) {
        stopped = true;
        return;
      }
      combo->LoadRecordSetAPI(current ? current->get() : nullptr);
      stopped = !yield();
    });
    if (!loaded || stopped) return false;
  }
  return true;
}

}  // namespace vk
