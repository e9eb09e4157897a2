#pragma once
// The catalogue combos both capture screens carry (category, sub-category,
// department, document type), the loader that fills every combo of a screen from its
// Tag, the four picker buttons beside them and the maintenance screen's change
// handlers. A combo's Tag is its source: a SELECT whose rows fill it ("key - text"
// items) or a fixed list of entries separated by "|".
//
//   capture::CatalogueCombos combos{cboCategoriaId, cboSubCategoriaId, cboGerenciaId, cboTipoDocumentoId};
//   if (!capture::LoadCombos(*this, *data_, combos, YieldWhileLoaded(*this))) ...   // MakeForm
//   PCategoriaId->Click.Connect([this](int) {                                               // a picker button
//     picked_ = capture::PickCatalogueKey(combos_, capture::Catalogue::Categoria);
//   });
//   capture::KeepRecordKeys(combos_, record_);   // maintenance: the record follows the user's choice
//
// Code that shows a stored record in the combos mutes the three keys' Change events and
// selects with SelectStoredKey, so a key that is no longer enabled stays in the record
// and shows as an extra item; the type combo's Change stays live (it places the fields).
#include <string>

#include "base/variant.h"
#include "capture/document_record.h"
#include "hosted/combo_box.h"
#include "runtime/form.h"
#include "screen_kit/combo_source.h"
#include "screen_kit/data_access.h"

namespace vk::capture {

// The Tags of the four catalogue combos: each lists the enabled rows of its table in
// key order.
inline constexpr wchar_t kCategoriaSource[] =
    L"Select CategoriaId , Categoria From TipoCategorias Where IsEnabled = 1 Order By CategoriaId";
inline constexpr wchar_t kSubCategoriaSource[] =
    L"Select SubCategoriaId , SubCategoria From TipoSubCategorias Where IsEnabled = 1 Order By SubCategoriaId";
inline constexpr wchar_t kGerenciaSource[] =
    L"Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1 Order By GerenciaId";
inline constexpr wchar_t kTipoDocumentoSource[] =
    L"Select TipoDocumentoId , TipoDocumento From TipoDocumentos Where IsEnabled = 1 Order By TipoDocumentoId";

enum class Catalogue { Categoria, SubCategoria, Gerencia, TipoDocumento };

struct CatalogueCombos {
  hosted::ComboBox* cboCategoriaId = nullptr;
  hosted::ComboBox* cboSubCategoriaId = nullptr;
  hosted::ComboBox* cboGerenciaId = nullptr;
  hosted::ComboBox* cboTipoDocumentoId = nullptr;

  hosted::ComboBox& combo(Catalogue which) const;
};

// "CategoriaId", "SubCategoriaId", "GerenciaId" or "TipoDocumentoId".
const wchar_t* KeyColumn(Catalogue which);

// Sets the four Tags, then fills every combo box of the screen that has a source, in
// the screen's control order (the field editors' combos a second time). False when a
// catalogue combo's query fails, on a run-time error or when a yield said to stop;
// combos already filled stay filled. An editor combo whose query fails is left empty.
bool LoadCombos(Form& screen, const DataAccess& data, const CatalogueCombos& combos, const ScreenYield& yield);

// A picker button's click: opens the search picker over the combo's Tag with the key
// column, and selects the chosen key in the combo (raising its Change). Returns the
// picked value, Empty when nothing was chosen or the picker failed; the picker is
// unloaded and the pointer restored in every case. No message.
Variant PickCatalogueKey(const CatalogueCombos& combos, Catalogue which);

// The maintenance screen's change handlers: the record's CategoriaId, SubCategoriaId
// and GerenciaId follow the key of their combo's chosen item, whole as it was loaded
// ("AD-1" stays "AD-1"). The record outlives the combos.
void KeepRecordKeys(const CatalogueCombos& combos, DocumentRecord& record);

}  // namespace vk::capture
