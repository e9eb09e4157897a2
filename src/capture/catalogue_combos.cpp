#include "capture/catalogue_combos.h"

#include <cwctype>

#include "host/fsearch.h"
#include "host/shared_functions.h"
#include "host/shared_state.h"
#include "runtime/do_events.h"
#include "runtime/mouse_pointer.h"
#include "runtime/steps.h"
#include "runtime/vb_error.h"

namespace vk::capture {
namespace {

const wchar_t* Source(Catalogue which) {
  switch (which) {
    case Catalogue::Categoria: return kCategoriaSource;
    case Catalogue::SubCategoria: return kSubCategoriaSource;
    case Catalogue::Gerencia: return kGerenciaSource;
    case Catalogue::TipoDocumento: return kTipoDocumentoSource;
  }
  return L"";
}

constexpr Catalogue kAll[] = {Catalogue::Categoria, Catalogue::SubCategoria, Catalogue::Gerencia,
                              Catalogue::TipoDocumento};

bool IsCatalogueCombo(const CatalogueCombos& combos, const hosted::ComboBox* combo) {
  for (Catalogue which : kAll) {
    if (&combos.combo(which) == combo) return true;
  }
  return false;
}

}  // namespace

hosted::ComboBox& CatalogueCombos::combo(Catalogue which) const {
  hosted::ComboBox* combo = nullptr;
  switch (which) {
    case Catalogue::Categoria: combo = cboCategoriaId; break;
    case Catalogue::SubCategoria: combo = cboSubCategoriaId; break;
    case Catalogue::Gerencia: combo = cboGerenciaId; break;
    case Catalogue::TipoDocumento: combo = cboTipoDocumentoId; break;
  }
  if (!combo) Raise(err::ObjectNotSet, L"CatalogueCombos");
  return *combo;
}

const wchar_t* KeyColumn(Catalogue which) {
  switch (which) {
    case Catalogue::Categoria: return L"CategoriaId";
    case Catalogue::SubCategoria: return L"SubCategoriaId";
    case Catalogue::Gerencia: return L"GerenciaId";
    case Catalogue::TipoDocumento: return L"TipoDocumentoId";
  }
  return L"";
}

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

bool LoadCombos(Form& screen, const DataAccess& screenData, const CatalogueCombos& combos, const ScreenYield& yield) {
  return FalseOnError([&] {
    const DataAccess data = screenData;  // ours for the whole fill, whatever the screen does meanwhile
    for (Catalogue which : kAll) combos.combo(which).setTag(Source(which));
    for (hosted::ComboBox* combo : screen.ControlsOf<hosted::ComboBox>()) {
      // A combo without a source (the field editors' template) has nothing to load.
      if (combo->tag().empty()) continue;
      const SourceLoad loaded = LoadComboSource(*combo, combo->tag(), data, yield);
      if (loaded == SourceLoad::Stopped) return false;
      if (loaded == SourceLoad::Failed && IsCatalogueCombo(combos, combo)) return false;
    }
    return true;
  });
}

Variant PickCatalogueKey(const CatalogueCombos& combos, Catalogue which) {
  Variant picked;
  const bool done = IgnoreErrors([&] {
    hosted::ComboBox& combo = combos.combo(which);
    picked = PickKey(combo.tag(), KeyColumn(which));
    if (!picked.isEmpty() && !picked.isNull() && !CStr(picked).empty()) {
      MousePointerScope busy(pointer::Hourglass);
      combo.SelectKey(CStr(picked));
    }
  });
  return done ? picked : Variant();
}

void KeepRecordKeys(const CatalogueCombos& combos, DocumentRecord& record) {
  auto follow = [](hosted::ComboBox& combo, std::wstring& key) {
    combo.Change.Connect([&combo, &key](int) { IgnoreErrors([&] { key = combo.SelectedKey(); }); });
  };
  follow(combos.combo(Catalogue::Categoria), record.CategoriaId);
  follow(combos.combo(Catalogue::SubCategoria), record.SubCategoriaId);
  follow(combos.combo(Catalogue::Gerencia), record.GerenciaId);
}

std::optional<long> WholeNumber(std::wstring_view text) {
  const std::wstring trimmed = Trim(std::wstring(text));
  const bool hasSign = !trimmed.empty() && (trimmed[0] == L'-' || trimmed[0] == L'+');
  const size_t first = hasSign ? 1 : 0;
  if (first == trimmed.size() || trimmed.size() - first > 10) return std::nullopt;
  long long value = 0;
  for (size_t i = first; i < trimmed.size(); ++i) {
    if (!std::iswdigit(trimmed[i])) return std::nullopt;
    value = value * 10 + (trimmed[i] - L'0');
  }
  if (hasSign && trimmed[0] == L'-') value = -value;
  if (value < -2147483648LL || value > 2147483647LL) return std::nullopt;
  return static_cast<long>(value);
}

}  // namespace vk::capture
