// The audit screen's frame: controls at their design places, the layout from the
// host's size, the header's expand and collapse, the two toolbars, the report menu,
// the column layout dialog and the steps of MakeForm.
#include "consult/log_screen.h"

#include "base/steps.h"
#include "consult/grid_layout_dialog.h"
#include "screen_kit/grid_dictionary.h"
#include "screen_kit/message_box.h"
#include "screen_kit/screen_toolbar.h"

namespace vk::consult {
namespace {

constexpr double kDesignWidth = DocumentScreen::kDesignWidth, kDesignHeight = DocumentScreen::kDesignHeight;

}  // namespace

FDocumentosLogGeneral::FDocumentosLogGeneral()
    : DocumentScreen(L"FDocumentosLogGeneral", L"Log de Eventos del Sistema") {
  BuildControls();
}

FDocumentosLogGeneral::~FDocumentosLogGeneral() = default;

void FDocumentosLogGeneral::BuildControls() {
  using namespace hosted;
  c_.TBarMain = &Add<Toolbar>(ControlAt(L"TBarMain", 50, 45, kDesignWidth - 300, 390));
  c_.VkHeader = &Add<Frame>(ControlAt(L"VkHeader", 200, 635, kDesignWidth - 600, 1755), L"Datos Principales Para Búsqueda");
  Container* header = c_.VkHeader;
  // The left labels start nearer the edge so that "Sub Categoria" clears its combo.
  const double comboWidth = 3637, rightLeft = kDesignWidth - 600 - comboWidth - 200;
  c_.lblCategoriaId = &Add<Label>(ControlAt(L"lblCategoriaId", 100, 450, 1200, 255, header), L"Categoría");
  c_.cboCategoriaId = &Add<ComboBox>(ControlAt(L"cboCategoriaId", 1400, 390, comboWidth, 315, header));
  c_.lblSubCategoriaId = &Add<Label>(ControlAt(L"lblSubCategoriaId", 100, 840, 1200, 255, header), L"Sub Categoria");
  c_.cboSubCategoriaId = &Add<ComboBox>(ControlAt(L"cboSubCategoriaId", 1400, 780, comboWidth, 315, header));
  c_.lblGerenciaId = &Add<Label>(ControlAt(L"lblGerenciaId", 100, 1230, 1200, 255, header), L"Gerencia");
  c_.cboGerenciaId = &Add<ComboBox>(ControlAt(L"cboGerenciaId", 1400, 1170, comboWidth, 315, header));
  c_.lblUsuarioId = &Add<Label>(ControlAt(L"lblUsuarioId", rightLeft - 1200, 450, 1200, 255, header), L"Usuario");
  c_.cboUsuarioId = &Add<ComboBox>(ControlAt(L"cboUsuarioId", rightLeft, 390, comboWidth, 315, header));
  c_.lblDesdeHasta = &Add<Label>(ControlAt(L"lblDesdeHasta", rightLeft - 1200, 840, 1200, 255, header), L"Desde/Hasta");
  c_.dtpFechaDesde = &Add<DatePicker>(ControlAt(L"dtpFechaDesde", rightLeft, 780, 1755, 315, header));
  c_.dtpFechaHasta =
      &Add<DatePicker>(ControlAt(L"dtpFechaHasta", rightLeft + comboWidth - 1755, 780, 1755, 315, header));
  c_.lblDocumentoId = &Add<Label>(ControlAt(L"lblDocumentoId", rightLeft - 1200, 1230, 1200, 255, header), L"Documento");
  c_.cboDocumentoId = &Add<ComboBox>(ControlAt(L"cboDocumentoId", rightLeft, 1170, comboWidth, 315, header));
  c_.Line1 = &Add<Line>(ControlAt(L"Line1", 0, 0, 0, 0, header), LinePoints{100, 1620, kDesignWidth - 700, 1620});
  c_.Line1->SetBorderColor(0x80000010);  // the button shadow: a groove across the header

  c_.VkContainerData = &Add<Frame>(ControlAt(L"VkContainerData", 200, 2545, kDesignWidth - 600, 5340),
                                   L"Detalle de Eventos Registrados en el Sistema");
  c_.TBarDetail = &Add<Toolbar>(ControlAt(L"TBarDetail", 100, 330, kDesignWidth - 800, 390, c_.VkContainerData));
  c_.GRDetail = &Add<grid::GridControl>(ControlAt(L"GRDetail", 200, 990, kDesignWidth - 1000, 4250, c_.VkContainerData));
  c_.STBar = &Add<CommonStatusBar>(ControlAt(L"STBar", 0, kDesignHeight - 300, kDesignWidth, 300));
  c_.STBar->setAlign(Align::Bottom);

  // Either picker may hold no date: neither then bounds the search.
  c_.dtpFechaDesde->SetCheckNull(true);
  c_.dtpFechaHasta->SetCheckNull(true);

  Toolbar& main = *c_.TBarMain;
  AddToolbarButtons(main, {{L"BTN_KIL", L"Salir"},
                           kDivider,
                           {L"BTN_CLE", L"Limpiar Pantalla"},
                           kDivider,
                           {L"BTN_FIN", L"Buscar Eventos Registrados"},
                           kDivider,
                           {L"BTN_REP", L""},
                           kDivider});
  Toolbar& detail = *c_.TBarDetail;
  AddToolbarButtons(detail, {kDivider, {L"EXP_XLS", L""}, kDivider, {L"CFG_GRD", L""}, kDivider});

  c_.VkHeader->Expand.Connect([this] { VkHeaderExpand(); });
  c_.VkHeader->Collapse.Connect([this] { VkHeaderCollapse(); });
  main.ButtonClick.Connect([this](ToolbarClick& click) { TBarMain_ButtonClick(click); });
  detail.ButtonClick.Connect([this](ToolbarClick& click) { TBarDetail_ButtonClick(click); });
}

// --- the steps of MakeForm ---

bool FDocumentosLogGeneral::MakeForm() {
  mReady = false;
  mReady = DocumentScreen::MakeForm();
  return mReady;
}

void FDocumentosLogGeneral::UnloadScreen() {
  if (auto dialog = layoutDialog_.lock()) IgnoreErrors([&] { dialog->Unload(); });
  DocumentScreen::UnloadScreen();
}

bool FDocumentosLogGeneral::FillScreen() {
  if (!CreateDataObject()) return false;
  mSQL = L"Select * From DocumentosLog";
  if (!InitGrid()) return false;
  if (!LoadCombos()) return false;
  c_.VkHeader->SetExpandSwitch(true);
  c_.VkHeader->SetExpandState(1);
  ClearForm();
  return true;
}

// --- layout ---

void FDocumentosLogGeneral::PlaceControls() {
  const double W = scaleWidth(), H = scaleHeight();
  Controls& c = c_;
  PlaceMainToolbar(*c.TBarMain, W);
  RunEachStep({
      [&] { c.VkHeader->setWidth(W - 600); },
      [&] { c.VkHeader->setTop(c.TBarMain->height() + 245); },
      [&] { c.VkHeader->setLeft(200); },
      [&] { c.cboCategoriaId->setWidth((c.VkHeader->width() - 2 * c.lblCategoriaId->width() - 1200) / 2); },
      [&] { c.cboSubCategoriaId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.cboGerenciaId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.cboUsuarioId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.cboDocumentoId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.cboUsuarioId->setLeft(c.VkHeader->width() - c.cboUsuarioId->width() - 200); },
      [&] { c.dtpFechaDesde->setLeft(c.cboUsuarioId->left()); },
      [&] { c.cboDocumentoId->setLeft(c.cboUsuarioId->left()); },
      [&] { c.lblUsuarioId->setLeft(c.cboUsuarioId->left() - c.lblUsuarioId->width()); },
      [&] { c.lblDesdeHasta->setLeft(c.lblUsuarioId->left()); },
      [&] { c.lblDocumentoId->setLeft(c.lblUsuarioId->left()); },
      [&] { c.dtpFechaHasta->setLeft(c.cboUsuarioId->left() + c.cboUsuarioId->width() - c.dtpFechaHasta->width()); },
      [&] {
        c.Line1->SetX1(100);
        c.Line1->SetX2(c.VkHeader->width() - 100);
      },
      [&] { c.VkContainerData->setWidth(c.VkHeader->width()); },
      [&] { c.VkContainerData->setLeft(c.VkHeader->left()); },
      [&] { c.VkContainerData->setTop(c.VkHeader->height() + c.TBarMain->height() + 400); },
      [&] {
        c.VkContainerData->setHeight(H - c.TBarMain->height() - c.VkHeader->height() - c.STBar->height() - 645);
      },
      [&] { c.TBarDetail->setWidth(c.VkContainerData->width() - 200); },
      [&] { c.GRDetail->setTop(c.TBarDetail->height() + 600); },
      [&] { c.GRDetail->setLeft(200); },
      [&] { c.GRDetail->setWidth(c.VkContainerData->width() - 400); },
      [&] { c.GRDetail->setHeight(c.VkContainerData->height() - c.TBarDetail->height() - 700); },
  });
  FitColumnsToShares(*c.GRDetail);
}

void FDocumentosLogGeneral::VkHeaderExpand() {
  if (mReady) Layout();
}

void FDocumentosLogGeneral::VkHeaderCollapse() {
  if (mReady) Layout();
}

// --- toolbars ---

void FDocumentosLogGeneral::TBarMain_ButtonClick(hosted::ToolbarClick& click) {
  if (click.key == L"BTN_KIL") {
    busy_.Close();  // while a command runs, honoured when it stops
    return;
  }
  Command([&] {
    if (click.key == L"BTN_CLE") {
      // A close that came while the question was open wins over the answer.
      if (ShowMessage(L"Desea Limpiar los datos de la Ventana?", msg::QuestionYesNo, L"Ostrela") == msg::Yes &&
          StillWanted())
        ClearForm();
    } else if (click.key == L"BTN_FIN") {
      SearchLog();
    } else if (click.key == L"BTN_REP") {
      OpenReportMenu(click);
    }
  });
}

void FDocumentosLogGeneral::OpenReportMenu(hosted::ToolbarClick& click) {
  PopUpFromKey(*this, *c_.TBarMain, click, ReportMenu(), [this](UINT chosen) {
    if (chosen == kReportView) mnuReportView_Click();
    if (chosen == kReportPrint) mnuReportPrint_Click();
  });
}

void FDocumentosLogGeneral::TBarDetail_ButtonClick(hosted::ToolbarClick& click) {
  Command([&] {
    if (click.key == L"EXP_XLS") ExportGrid();
    else if (click.key == L"CFG_GRD") ShowGridLayout();
  });
}

void FDocumentosLogGeneral::ShowGridLayout() {
  // Applied captions, visibility and alignments stay on the grid until the screen
  // closes; widths last until the next layout gives every column its share again.
  auto dialog = Form::Load<FGridLayout>();
  layoutDialog_ = dialog;
  dialog->mTable = L"Log de Eventos del Sistema";
  dialog->mGrid = c_.GRDetail;
  dialog->ShowForm();
  dialog->Unload();
  layoutDialog_.reset();
}

}  // namespace vk::consult
