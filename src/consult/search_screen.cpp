#include "consult/search_screen.h"

#include "base/steps.h"
#include "consult/list_query.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::consult {
namespace {

constexpr double kHeaderTop = 520, kHeaderHeight = 1250;
constexpr double kListTop = kHeaderTop + kHeaderHeight + 100;
constexpr double kHeaderWidth = 10975;  // the design width less the margins

// The key a filter combo stands for, as its item was loaded (a key with a dash stays
// whole): "" when nothing is chosen.
std::wstring KeyOf(const hosted::ComboBox& combo) {
  return combo.Text().empty() ? std::wstring() : combo.SelectedKey();
}

}  // namespace

FDocumentosSearchS::FDocumentosSearchS() : ListScreen(L"FDocumentosSearchS") {
  BuildMainToolbar({{L"BTN_KIL", L"Salir"},
                    {L"BTN_FIN", L"Buscar Documentos"},
                    {L"BTN_VIE", L"Ver Imagenes"},
                    {L"BTN_REP", L""}});
  BuildFilterPanel();
  BuildListAndPreview(kListTop, 200 + kHeaderWidth * 65 / 100 + 100, 5980);
}

void FDocumentosSearchS::BuildFilterPanel() {
  using namespace hosted;
  f_.VkHeader = &Add<Frame>(ControlAt(L"VkHeader", 200, kHeaderTop, kHeaderWidth, kHeaderHeight), L"Parámetros de Búsqueda");
  Container* panel = f_.VkHeader;
  constexpr double row1 = 380, row2 = 800, high = 315;
  // Three columns of a label and its filter (the text filters with their exact-match box).
  constexpr double label1 = 150, field1 = 1650, label2 = 3800, field2 = 5150, label3 = 7650, field3 = 8550;
  Add<Label>(ControlAt(L"lblCategoriaId", label1, row1 + 45, 1450, 240, panel), L"Categoría");
  f_.cboCategoriaId = &Add<ComboBox>(ControlAt(L"cboCategoriaId", field1, row1, 2000, high, panel));
  Add<Label>(ControlAt(L"lblSubCategoriaId", label2, row1 + 45, 1300, 240, panel), L"Sub-Categoría");
  f_.cboSubCategoriaId = &Add<ComboBox>(ControlAt(L"cboSubCategoriaId", field2, row1, 2000, high, panel));
  Add<Label>(ControlAt(L"lblGerenciaId", label3, row1 + 45, 850, 240, panel), L"Gerencia");
  f_.cboGerenciaId = &Add<ComboBox>(ControlAt(L"cboGerenciaId", field3, row1, 2300, high, panel));
  Add<Label>(ControlAt(L"lblTipoDocumentoId", label1, row2 + 45, 1450, 240, panel), L"Tipo Documento");
  f_.cboTipoDocumentoId = &Add<ComboBox>(ControlAt(L"cboTipoDocumentoId", field1, row2, 2000, high, panel));
  Add<Label>(ControlAt(L"lblReferenciaId", label2, row2 + 45, 1300, 240, panel), L"Referencia");
  f_.txtReferenciaId = &Add<TextBox>(ControlAt(L"txtReferenciaId", field2, row2, 1950, high, panel));
  f_.chkReferenciaId = &Add<CheckBox>(ControlAt(L"chkReferenciaId", field2 + 2000, row2 + 15, 300, 285, panel));
  Add<Label>(ControlAt(L"lblCBarra", label3, row2 + 45, 850, 240, panel), L"C.Barra");
  f_.txtCBarra = &Add<TextBox>(ControlAt(L"txtCBarra", field3, row2, 1950, high, panel));
  f_.chkCBarra = &Add<CheckBox>(ControlAt(L"chkCBarra", field3 + 2000, row2 + 15, 300, 285, panel));
  f_.cboCategoriaId->SetFieldName(L"CategoriaId");
  f_.cboSubCategoriaId->SetFieldName(L"SubCategoriaId");
  f_.cboGerenciaId->SetFieldName(L"GerenciaId");
  f_.cboTipoDocumentoId->SetFieldName(L"TipoDocumentoId");
  f_.txtReferenciaId->SetFieldName(L"ReferenciaId");
  f_.txtCBarra->SetFieldName(L"CBarra");
}

void FDocumentosSearchS::SetComboTags() {
  const SharedState& shared = Shared();
  f_.cboCategoriaId->setTag(
      shared.gIsAdmin ? L"Select CategoriaId , Categoria From TipoCategorias Where IsEnabled = 1 Order By CategoriaId"
                      : L"Select CategoriaId , Categoria From TipoCategorias Where CategoriaId In ( " +
                            shared.gCategorias + L" ) And IsEnabled = 1 Order By CategoriaId");
  f_.cboSubCategoriaId->setTag(
      L"Select SubCategoriaId , SubCategoria From TipoSubCategorias Where IsEnabled = 1 Order By SubCategoriaId");
  f_.cboGerenciaId->setTag(L"Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1 Order By GerenciaId");
  f_.cboTipoDocumentoId->setTag(
      L"Select TipoDocumentoId , TipoDocumento From V_TipoDocumentos Where IsEnabled = 1 Order By TipoDocumentoId");
}

void FDocumentosSearchS::AfterClear() { c_.GRDetail->SetDisplaySwitches(false); }

ListStatement FDocumentosSearchS::DocumentStatement() {
  const SharedState& shared = Shared();
  probe_ = mData->GetData(shared.gApplicationName, L"Select * From SysObjects Where Name = 'V_DocumentosExternos'");
  // Only a view that is there takes part: an empty answer never empties the search.
  const bool withExternal = probe_ && probe_->RecordCount() > 0;
  SearchFilters filters;
  filters.categoriaId = KeyOf(*f_.cboCategoriaId);
  filters.subCategoriaId = KeyOf(*f_.cboSubCategoriaId);
  filters.gerenciaId = KeyOf(*f_.cboGerenciaId);
  filters.tipoDocumentoId = KeyOf(*f_.cboTipoDocumentoId);
  filters.referenciaId = f_.txtReferenciaId->Text();
  filters.referenciaExact = f_.chkReferenciaId->Value() == 1;
  filters.cBarra = f_.txtCBarra->Text();
  filters.cBarraExact = f_.chkCBarra->Value() == 1;
  return {SearchStatement(Reader{GetUserNameNT(), shared.gIsAdmin, shared.gCategorias}, withExternal, filters),
          withExternal};
}

void FDocumentosSearchS::OnMainKey(const std::wstring& key) {
  if (key != L"BTN_VIE") return;
  preview_ = !preview_;
  Form_Resize();
}

void FDocumentosSearchS::LayoutListWidth(double width) {
  RunEachStep({
      [&] { f_.VkHeader->setLeft(200); },
      [&] { f_.VkHeader->setWidth(width - 500); },
      [&] { c_.VkContainer->setLeft(200); },
      [&] { c_.VkContainer->setWidth(preview_ ? f_.VkHeader->width() * 65 / 100 : f_.VkHeader->width()); },
      [&] { c_.VkImageMain->setVisible(preview_); },
  });
}

void FDocumentosSearchS::LayoutPreviewFrame(double width) {
  hosted::Frame& list = *c_.VkContainer;
  hosted::Frame& preview = *c_.VkImageMain;
  RunEachStep({
      [&] { preview.setLeft(list.width() + list.left() + 100); },
      [&] { preview.setWidth(width - preview.left() - 300); },
      [&] { preview.setHeight(list.height()); },
  });
}

}  // namespace vk::consult
