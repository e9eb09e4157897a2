#include "screen_kit/combo_source.h"

#include "base/steps.h"
#include "runtime/do_events.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk {

ScreenYield YieldWhileLoaded(Form& form) {
  return [&form] {
    DoEvents();
    return form.loaded();
  };
}

bool IsStatementSource(const std::wstring& tag) {
  // "Select A | B From T" is a statement all the same (a concatenation in its text).
  const std::wstring trimmed = Trim(tag);
  if (trimmed.size() >= 7 && CompareStringOrdinal(trimmed.c_str(), 7, L"Select ", 7, TRUE) == CSTR_EQUAL) return true;
  return tag.find(L'|') == std::wstring::npos;
}

SourceLoad LoadComboSource(hosted::ComboBox& combo, const std::wstring& source, const DataAccess& data,
                           const ScreenYield& yield) {
  if (!IsStatementSource(source)) {
    combo.LoadArray(source);
    return SourceLoad::Loaded;
  }
  std::optional<Recordset> rows = data.GetData(Shared().gApplicationName, source);
  const bool answered = rows.has_value();
  if (!yield()) return SourceLoad::Stopped;
  combo.LoadRecordSetAPI(answered ? rows->get() : nullptr);
  rows.reset();
  if (!yield()) return SourceLoad::Stopped;
  return answered ? SourceLoad::Loaded : SourceLoad::Failed;
}

bool LoadCombosFromTags(Form& form, const DataAccess& data, const ScreenYield& yield) {
  for (hosted::ComboBox* combo : form.ControlsOf<hosted::ComboBox>()) {
    SourceLoad loaded = SourceLoad::Stopped;
    if (!IgnoreErrors([&] { loaded = LoadComboSource(*combo, combo->tag(), data, yield); }) ||
        loaded == SourceLoad::Stopped)
      return false;
  }
  return true;
}

}  // namespace vk
