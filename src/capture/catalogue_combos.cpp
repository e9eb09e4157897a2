#include "capture/catalogue_combos.h"

#include "base/steps.h"
#include "base/vb_error.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

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

}  // namespace vk::capture
