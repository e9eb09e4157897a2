// The maintenance screen's frame: controls at their design places, the layout from the
// host's size, the toolbar with its states by mode, the large view's commands, the
// report menu, the reset of the controls and the steps of MakeForm.
#include "capture/abm_screen.h"

#include <windows.h>

#include <algorithm>

#include "base/steps.h"
#include "capture/capture_pictures.h"
#include "runtime/font.h"
#include "runtime/property_bag.h"
#include "screen_kit/clear_controls.h"
#include "screen_kit/message_box.h"
#include "screen_kit/screen_toolbar.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/view_commands.h"

namespace vk::capture {
namespace {

constexpr double kDesignWidth = DocumentScreen::kDesignWidth, kDesignHeight = DocumentScreen::kDesignHeight;
constexpr double kToolbarHeight = 435, kStatusBarHeight = 360;
// Where the layout puts the frames at the design size.
constexpr double kMainWidth = kDesignWidth - 600, kMainTop = kToolbarHeight + 150;
constexpr double kMainHeight = kDesignHeight - kToolbarHeight - kStatusBarHeight - 545;
constexpr double kViewWidth = kMainHeight * 75 / 100, kParameterLeft = kViewWidth + 200 + 400;
constexpr double kComboTops[] = {540, 900, 1260, 1620};
constexpr double kComboLeft = 2220, kComboWidth = 4215, kLabelLeft = 135, kLabelWidth = 1650;
// The catalogue entry right of the image: the gap, the captions, the picker buttons and
// combos wide enough for their items, and the margin.
constexpr double kEntryWidth = 400 + kLabelWidth + 50 + 240 + 100 + kComboEditorWidth + 600;

// The record buttons, at fixed places on the toolbar.
constexpr int kSaveButton = 3, kValidateButton = 4, kDeleteButton = 5;

}  // namespace

FDocumentosABM::FDocumentosABM() : DocumentScreen(L"FDocumentosABM", L"Mantenimiento de Documentos") {
  AmbientProperties ambient;
  ambient.fontName = L"Verdana";  // the captions' design font
  setAmbient(ambient);
  BuildControls();
}

FDocumentosABM::~FDocumentosABM() = default;

void FDocumentosABM::BuildControls() {
  using namespace hosted;
  c_.TBarMain = &Add<Toolbar>({.name = L"TBarMain", .left = 60, .top = 60, .width = kDesignWidth - 300,
                               .height = kToolbarHeight});
  c_.VkImageMain = &Add<Frame>(
      {.name = L"VkImageMain", .left = 200, .top = kMainTop, .width = kMainWidth, .height = kMainHeight},
      L"Imagen Seleccionada");
  Container* main = c_.VkImageMain;
  c_.PSelection = &Add<VkImage>({.name = L"PSelection", .left = 200, .top = 500, .width = kViewWidth,
                                 .height = kMainHeight - 800, .container = main});
  c_.PSelection->ReadProperties(PropertyBag{});

  // The four catalogue rows: the combo, its caption and its picker button.
  struct CatalogueRow {
    Catalogue kind;
    const wchar_t *combo, *label, *caption, *picker;
    ComboBox** comboControl;
    Label** labelControl;
    PictureBox** pickerControl;
  };
  const CatalogueRow rows[] = {
      {Catalogue::Categoria, L"cboCategoriaId", L"lblCategoriaId", L"Categoría", L"PCategoriaId",
       &c_.cboCategoriaId, &c_.lblCategoriaId, &c_.PCategoriaId},
      {Catalogue::SubCategoria, L"cboSubCategoriaId", L"lblSubCategoriaId", L"Sub-Categoría", L"PSubCategoriaId",
       &c_.cboSubCategoriaId, &c_.lblSubCategoriaId, &c_.PSubCategoriaId},
      {Catalogue::Gerencia, L"cboGerenciaId", L"lblGerenciaId", L"Gerencia", L"PGerenciaId", &c_.cboGerenciaId,
       &c_.lblGerenciaId, &c_.PGerenciaId},
      {Catalogue::TipoDocumento, L"cboTipoDocumentoId", L"lblTipoDocumentoId", L"Tipo Documento", L"PTipoDocumentoId",
       &c_.cboTipoDocumentoId, &c_.lblTipoDocumentoId, &c_.PTipoDocumentoId},
  };
  for (int i = 0; i < 4; ++i)
    *rows[i].comboControl = &Add<ComboBox>({.name = rows[i].combo, .left = kComboLeft, .top = kComboTops[i],
                                            .width = kComboWidth, .height = 315, .container = main});
  for (int i = 0; i < 4; ++i)
    *rows[i].labelControl = &Add<Label>({.name = rows[i].label, .left = kLabelLeft, .top = kComboTops[i] + 60,
                                         .width = kLabelWidth, .height = 240, .container = main},
                                        rows[i].caption);
  for (int i = 0; i < 4; ++i) {
    PictureBox& picker = Add<PictureBox>({.name = rows[i].picker, .left = kLabelLeft + kLabelWidth + 50,
                                          .top = kComboTops[i] + 38, .width = 240, .height = 240, .container = main});
    picker.SetPicture(DrawPickerPicture());
    picker.Click.Connect([this, which = rows[i].kind](int) { PickerButton_Click(which); });
    *rows[i].pickerControl = &picker;
  }
  combos_ = {c_.cboCategoriaId, c_.cboSubCategoriaId, c_.cboGerenciaId, c_.cboTipoDocumentoId};

  const double parameterTop = kComboTops[3] + 600, parameterHeight = kMainHeight - parameterTop - 1100;
  const double parameterWidth = kMainWidth - kParameterLeft - 600;
  c_.VkDataParameter = &Add<Frame>({.name = L"VkDataParameter", .left = kParameterLeft, .top = parameterTop,
                                    .width = parameterWidth, .height = parameterHeight, .container = main});
  c_.VkDataTemp = &Add<Frame>({.name = L"VkDataTemp", .left = kParameterLeft, .top = parameterTop,
                               .width = parameterWidth, .height = parameterHeight, .visible = false,
                               .container = main});
  c_.VkDataParameter->SetHeaderShown(false);  // a frame without a caption
  c_.VkDataTemp->SetHeaderShown(false);
  editors_.emplace(*this, FieldEditors::Frames{*c_.VkDataParameter, *c_.VkDataTemp, *c_.cboTipoDocumentoId, nullptr},
                   kMaintenanceGeometry, record_, [this] { return mData ? &*mData : nullptr; });
  editors_->CampoWritten.Connect([this](int n, const std::wstring& value) { c_.PSelection->setCampo(n, value); });
  // After the type's editors are placed they show the record's fields: what a save
  // would store, on a load as after the user's choice of another type.
  c_.cboTipoDocumentoId->Change.Connect([this](int) { editors_->FillFromRecord(); });

  const double barTop = parameterTop + parameterHeight + 150;
  const double entryLeft = kParameterLeft + kLabelWidth + 50 + 240 + 100, entryWidth = kMainWidth - entryLeft - 600;
  c_.txtCBarra = &Add<TextBox>(
      {.name = L"txtCBarra", .left = entryLeft, .top = barTop, .width = 1755, .height = 315, .container = main});
  c_.lblCBarra = &Add<Label>({.name = L"lblCBarra", .left = kParameterLeft, .top = barTop + 50,
                              .width = kLabelWidth, .height = 240, .container = main},
                             L"C.Barra");
  c_.txtReferenciaId = &Add<TextBox>({.name = L"txtReferenciaId", .left = entryLeft, .top = barTop + 415,
                                      .width = entryWidth, .height = 315, .container = main});
  c_.lblReferenciaId = &Add<Label>({.name = L"lblReferenciaId", .left = kParameterLeft, .top = barTop + 440,
                                    .width = kLabelWidth, .height = 240, .container = main},
                                   L"Referencia");
  const double dateLeft = entryLeft + entryWidth - kNullableDateEditorWidth;
  // Wide enough for a date with its check box and drop-down button.
  c_.dtpFecha = &Add<DatePicker>({.name = L"dtpFecha", .left = dateLeft, .top = barTop,
                                  .width = kNullableDateEditorWidth, .height = 315, .container = main});
  c_.lblFecha = &Add<Label>({.name = L"lblFecha", .left = dateLeft - 930, .top = barTop + 50, .width = 930,
                             .height = 240, .container = main},
                            L"Fecha");
  // A document stored without a date shows none, and keeps none unless the user sets one.
  c_.dtpFecha->SetCheckNull(true);
  c_.dtpFecha->setTabIndex(c_.txtReferenciaId->tabIndex());  // Tab: bar code, date, reference

  c_.STBar = &Add<controls::VkStatusBar>({.name = L"STBar", .top = kDesignHeight - kStatusBarHeight,
                                          .width = kDesignWidth, .height = kStatusBarHeight});
  PropertyBag design{{L"BackColor", long(kButtonFace)}};
  WriteFontProperty(design, L"Font", CreateOleFont({.name = L"Verdana"}).get(), FontDescription{});
  c_.STBar->ReadProperties(design);  // docks it to the bottom edge
  c_.ctxHookMenu1 = &Add<MenuHook>({.name = L"ctxHookMenu1"});

  BuildToolbar();
  KeepRecordKeys(combos_, record_);
  c_.TBarMain->ButtonClick.Connect([this](ToolbarClick& click) { TBarMain_ButtonClick(click); });
}

void FDocumentosABM::BuildToolbar() {
  hosted::Toolbar& bar = *c_.TBarMain;
  AddToolbarButtons(bar, {{L"BTN_KIL", L"Salir"}, kDivider, {L"BTN_SAV", L"Grabar Documento"},
                          {L"BTN_VAL", L"Validar Catalogación"}, {L"BTN_DEL", L"Eliminar Imágen"}, kDivider,
                          {L"BTN_FIN", L"Buscar Documentos"}, kDivider});
  AddViewButtons(bar);
}

// --- the steps of MakeForm ---

bool FDocumentosABM::FillScreen() {
  if (!CreateDataObject()) return false;
  const ScreenYield yield = [this] { return ServeMessages(); };
  editors_->BuildFieldEditors(*mData, yield);
  if (!StillWanted()) return false;  // closed while the editors were built
  LoadCombos(*this, *mData, combos_, yield);
  if (!StillWanted()) return false;  // closed while the lists loaded
  InitStatusBar();
  ClearForm();
  return true;
}

bool FDocumentosABM::InitStatusBar() { return false; }  // the bar keeps its design settings

// --- layout ---

void FDocumentosABM::PlaceControls() {
  const double W = scaleWidth(), H = scaleHeight();
  Controls& c = c_;
  PlaceMainToolbar(*c.TBarMain, W);
  // Across first: the entry rows below the editors' frame depend on how wide the
  // combos' column comes out.
  RunEachStep({
      [&] { c.VkImageMain->setWidth(W - 600); },
      [&] { c.VkImageMain->setTop(c.TBarMain->height() + 150); },
      [&] { c.VkImageMain->setLeft(200); },
      [&] { c.VkImageMain->setHeight(H - c.TBarMain->height() - c.STBar->height() - 545); },
      [&] { c.PSelection->setTop(500); },
      [&] { c.PSelection->setLeft(200); },
      [&] { c.PSelection->setHeight(c.VkImageMain->height() - 800); },
      // The image is three quarters as wide as the frame is high, as long as that leaves
      // the combos wide enough for their items.
      [&] {
        c.PSelection->setWidth(std::min(c.VkImageMain->height() * 75 / 100,
                                        c.VkImageMain->width() - c.PSelection->left() - kEntryWidth));
      },
      [&] { c.VkDataParameter->setTop(c.cboTipoDocumentoId->top() + 600); },
      [&] { c.VkDataParameter->setLeft(c.PSelection->width() + c.PSelection->left() + 400); },
      [&] { c.VkDataParameter->setWidth(c.VkImageMain->width() - c.VkDataParameter->left() - 600); },
      [&] { c.lblCategoriaId->setLeft(c.VkDataParameter->left()); },
      [&] { c.lblSubCategoriaId->setLeft(c.lblCategoriaId->left()); },
      [&] { c.lblGerenciaId->setLeft(c.lblCategoriaId->left()); },
      [&] { c.lblTipoDocumentoId->setLeft(c.lblCategoriaId->left()); },
      [&] { c.lblCBarra->setLeft(c.lblCategoriaId->left()); },
      [&] { c.lblReferenciaId->setLeft(c.lblCategoriaId->left()); },
      [&] { c.PCategoriaId->setLeft(c.lblCategoriaId->left() + c.lblCategoriaId->width() + 50); },
      [&] { c.PSubCategoriaId->setLeft(c.PCategoriaId->left()); },
      [&] { c.PGerenciaId->setLeft(c.PCategoriaId->left()); },
      [&] { c.PTipoDocumentoId->setLeft(c.PCategoriaId->left()); },
      [&] { c.cboCategoriaId->setLeft(c.PCategoriaId->left() + c.PCategoriaId->width() + 100); },
      [&] { c.cboSubCategoriaId->setLeft(c.cboCategoriaId->left()); },
      [&] { c.cboGerenciaId->setLeft(c.cboCategoriaId->left()); },
      [&] { c.cboTipoDocumentoId->setLeft(c.cboCategoriaId->left()); },
      [&] { c.txtReferenciaId->setLeft(c.cboCategoriaId->left()); },
      [&] { c.cboCategoriaId->setWidth(c.VkImageMain->width() - c.cboCategoriaId->left() - 600); },
      [&] { c.cboSubCategoriaId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.cboGerenciaId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.cboTipoDocumentoId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.txtReferenciaId->setWidth(c.cboCategoriaId->width()); },
      [&] { c.txtCBarra->setLeft(c.cboCategoriaId->left()); },
      // The date's right edge meets the combos'.
      [&] { c.dtpFecha->setLeft(c.cboCategoriaId->left() + c.cboCategoriaId->width() - c.dtpFecha->width()); },
      [&] { c.lblFecha->setLeft(c.dtpFecha->left() - c.lblFecha->width()); },
  });
  // The bar code, the date's caption and the date share a row where the combos' column
  // holds the three; otherwise the date takes its own row under the bar code, captioned
  // in the captions' column, and the editors' frame gives up that row.
  const bool dateRow = c.txtCBarra->left() + c.txtCBarra->width() + kControlGap > c.lblFecha->left();
  const double rowPitch = c.txtCBarra->height() + 100;
  RunEachStep({
      [&] {
        c.VkDataParameter->setHeight(FieldEditors::WholeRowsHeight(
            c.VkImageMain->height() - c.VkDataParameter->top() - 1100 - (dateRow ? rowPitch : 0)));
      },
      [&] { c.lblCBarra->setTop(c.VkDataParameter->height() + c.VkDataParameter->top() + 200); },
      [&] { c.txtCBarra->setTop(c.VkDataParameter->height() + c.VkDataParameter->top() + 150); },
      [&] { c.dtpFecha->setTop(c.txtCBarra->top() + (dateRow ? rowPitch : 0)); },
      [&] { c.lblFecha->setTop(c.lblCBarra->top() + (dateRow ? rowPitch : 0)); },
      [&] {
        if (dateRow) c.dtpFecha->setLeft(c.cboCategoriaId->left());
      },
      [&] {
        if (dateRow) c.lblFecha->setLeft(c.lblCategoriaId->left());
      },
      [&] { c.lblReferenciaId->setTop(c.lblFecha->top() + c.lblCBarra->height() + 150); },
      [&] { c.txtReferenciaId->setTop(c.dtpFecha->top() + c.txtCBarra->height() + 100); },
  });
  // The placed editors follow the frame's new width.
  editors_->FitColumns();
}

// --- controls' reset and the toolbar's states ---

void FDocumentosABM::ClearForm() {
  {
    // Code never writes into the record: every change event stays quiet. (The type
    // combo's first item has no key, so its placement would place nothing anyway.)
    MuteEvents quiet;
    // The document date is not one of the controls reset here.
    ClearControlsByKind(*this, c_.dtpFecha);
  }
  SetToolbarState();
}

bool FDocumentosABM::SetToolbarState() {
  return IgnoreErrors([&] {
    auto set = [this](int index, bool enabled) { EnableToolbarButton(*c_.TBarMain, index, enabled); };
    for (int index : {kSaveButton, kValidateButton, kDeleteButton}) set(index, false);
    if (mode() == L"VAL") {
      set(kValidateButton, true);
    } else if (mode() == L"ADM") {
      set(kSaveButton, true);
      if (Shared().gIsAdmin) set(kDeleteButton, true);
    }
  });
}

// --- commands ---

void FDocumentosABM::TBarMain_ButtonClick(hosted::ToolbarClick& click) {
  if (click.key == L"BTN_KIL") {
    busy_.Close();  // while a command runs, honoured when it stops
    return;
  }
  if (IsViewKey(click.key)) {
    // The view fits its viewer again after each display key.
    ViewCommand([&] {
      if (!RunViewCommand(*c_.TBarMain, click, *c_.PSelection)) OpenInViewer(*c_.PSelection);
    });
    return;
  }
  Command([&] { RunCommand(click); });
}

void FDocumentosABM::RunCommand(hosted::ToolbarClick& click) {
  const std::wstring& key = click.key;
  if (key == L"BTN_SAV") {
    SaveDocument();
  } else if (key == L"BTN_VAL") {
    if (ShowMessage(L"Desea Validar el Documento?", msg::QuestionYesNo, L"Ostrela") == msg::Yes && StillWanted())
      ValidateDocument();
  } else if (key == L"BTN_DEL") {
    // With no document there is nothing to ask about: the failure text at once.
    if (currentDocumentId() == 0 ||
        (ShowMessage(L"Desea Eliminar el Documento?", msg::QuestionYesNo, L"Ostrela") == msg::Yes && StillWanted())) {
      DeleteDocument();
      ShowNoDocument();
    }
  } else if (key == L"BTN_FIN") {
    FindDocument();
  } else if (key == L"BTN_REP") {
    PopUpFromKey(*this, *c_.TBarMain, click, ReportMenu(), [this](UINT chosen) {
      if (chosen == kReportView) mnuReportView_Click();
      if (chosen == kReportPrint) mnuReportPrint_Click();
    });
  }
}

void FDocumentosABM::PickerButton_Click(Catalogue which) {
  Command([&] { PickCatalogueKey(combos_, which); });  // the combo's change carries the key into the record
}

}  // namespace vk::capture
