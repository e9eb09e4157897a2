// The cataloguing screen's frame: controls at their design places, the layout from
// the host's size, the toolbar and its states by mode, the reset of the controls, the
// pickers and the steps of MakeForm.
#include "capture/index_screen.h"

#include <windows.h>

#include "base/clock.h"
#include "base/steps.h"
#include "capture/capture_pictures.h"
#include "runtime/redraw_pause.h"
#include "screen_kit/clear_controls.h"
#include "screen_kit/message_box.h"
#include "screen_kit/screen_toolbar.h"
#include "screen_kit/view_commands.h"

namespace vk::capture {
namespace {

// The toolbar buttons SetToolbarState manages, by their fixed index.
constexpr int kSaveButton = 3, kValidateButton = 4;
constexpr int kImageButtons[] = {8, 9, 10, 11, 12, 14, 15};

}  // namespace

FDocumentosIndex::FDocumentosIndex() : DocumentScreen(L"FDocumentosIndex", L"Catalogación de Documentos") {
  AmbientProperties ambient;
  ambient.fontName = L"Verdana";
  setAmbient(ambient);
  BuildControls();
  BuildToolbar();
  ConnectEvents();
}

void FDocumentosIndex::BuildControls() {
  using namespace hosted;
  Controls& c = c_;
  c.TBarMain = &Add<Toolbar>(ControlAt(L"TBarMain", 60, 60, 11340, 435));
  c.VkImageFrame = &Add<Frame>(ControlAt(L"VkImageFrame", 60, 540, 4635, 7515), L"Imagen Seleccionada");
  c.PSelection = &Add<VkImage>(ControlAt(L"PSelection", 60, 420, 4515, 7035, c.VkImageFrame));
  c.PSelection->ReadProperties(PropertyBag{});

  c.VkImageMain = &Add<Frame>(ControlAt(L"VkImageMain", 4740, 540, 6675, 4755), L"Imagen Seleccionada");
  Container* main = c.VkImageMain;
  c.cboCategoriaId = &Add<ComboBox>(ControlAt(L"cboCategoriaId", 2280, 540, 4215, 315, main));
  c.cboSubCategoriaId = &Add<ComboBox>(ControlAt(L"cboSubCategoriaId", 2280, 900, 4215, 315, main));
  c.cboGerenciaId = &Add<ComboBox>(ControlAt(L"cboGerenciaId", 2280, 1260, 4215, 315, main));
  c.cboTipoDocumentoId = &Add<ComboBox>(ControlAt(L"cboTipoDocumentoId", 2280, 1620, 4215, 315, main));
  c.lblCategoriaId = &Add<Label>(ControlAt(L"lblCategoriaId", 195, 600, 1650, 240, main), L"Categoría");
  c.lblSubCategoriaId = &Add<Label>(ControlAt(L"lblSubCategoriaId", 195, 960, 1650, 240, main), L"Sub-Categoría");
  c.lblGerenciaId = &Add<Label>(ControlAt(L"lblGerenciaId", 195, 1320, 1650, 240, main), L"Gerencia");
  c.lblTipoDocumentoId = &Add<Label>(ControlAt(L"lblTipoDocumentoId", 195, 1680, 1650, 240, main), L"Tipo Documento");
  c.PCategoriaId = &Add<PictureBox>(ControlAt(L"PCategoriaId", 1980, 600, 240, 240, main));
  c.PSubCategoriaId = &Add<PictureBox>(ControlAt(L"PSubCategoriaId", 1980, 960, 240, 240, main));
  c.PGerenciaId = &Add<PictureBox>(ControlAt(L"PGerenciaId", 1980, 1320, 240, 240, main));
  c.PTipoDocumentoId = &Add<PictureBox>(ControlAt(L"PTipoDocumentoId", 1980, 1680, 240, 240, main));
  for (PictureBox* picker : {c.PCategoriaId, c.PSubCategoriaId, c.PGerenciaId, c.PTipoDocumentoId})
    picker->SetPicture(DrawPickerPicture());

  c.VkDataParameter = &Add<Frame>(ControlAt(L"VkDataParameter", 180, 2040, 6315, 1815, main));
  c.VkDataParameter->SetHeaderShown(false);
  c.cmdAceptar = &Add<CommandButton>(ControlAt(L"cmdAceptar", 5160, 1380, 1035, 315, c.VkDataParameter), L"&Aceptar");
  c.VkDataTemp = &Add<Frame>(ControlAt(L"VkDataTemp", 180, 2040, 1815, 1635, main));
  c.VkDataTemp->setVisible(false);
  c.VkDataTemp->SetHeaderShown(false);
  // The editor arrays' design elements go into VkDataTemp here, in the design order.
  editors_.emplace(*this, FieldEditors::Frames{*c.VkDataParameter, *c.VkDataTemp, *c.cboTipoDocumentoId, c.cmdAceptar},
                   kCataloguingGeometry, record_, [this] { return mData ? &*mData : nullptr; });
  c.txtCBarra = &Add<TextBox>(ControlAt(L"txtCBarra", 2265, 3960, 1755, 285, main));
  c.lblCBarra = &Add<Label>(ControlAt(L"lblCBarra", 180, 4020, 1650, 240, main), L"C.Barra");
  c.txtReferenciaId = &Add<TextBox>(ControlAt(L"txtReferenciaId", 2280, 4320, 4215, 285, main));
  c.lblReferenciaId = &Add<Label>(ControlAt(L"lblReferenciaId", 195, 4380, 1650, 240, main), L"Referencia");
  c.dtpFecha = &Add<DatePicker>(ControlAt(L"dtpFecha", 5040, 3960, 1455, 315, main));
  c.lblFecha = &Add<Label>(ControlAt(L"lblFecha", 4080, 4020, 930, 240, main), L"Fecha");

  c.VkImageSlide = &Add<Frame>(ControlAt(L"VkImageSlide", 4740, 5340, 6675, 2715), L"Imagenes");
  c.cmdPrevious = &Add<PictureBox>(ControlAt(L"cmdPrevious", 1920, 60, 255, 255, c.VkImageSlide));
  c.cmdNext = &Add<PictureBox>(ControlAt(L"cmdNext", 2220, 60, 255, 255, c.VkImageSlide));
  c.cmdPrevious->SetPicture(DrawArrowPicture(false));
  c.cmdNext->SetPicture(DrawArrowPicture(true));
  c.VkImageSlideInt = &Add<Frame>(ControlAt(L"VkImageSlideInt", 60, 480, 6495, 2115, c.VkImageSlide));
  c.VkImageSlideInt->SetHeaderShown(false);
  Container* strip = c.VkImageSlideInt;
  VkImage& firstSlide = Add<VkImage>(ControlAt(L"PSlide", 210, 60, 1875, 1995, strip, 0));
  firstSlide.ReadProperties(PropertyBag{});  // the design state every later thumbnail starts from
  PictureBox& firstIcon = Add<PictureBox>(ControlAt(L"PSlideState", 1800, 60, 285, 285, strip, 0));
  slides_.push_back({&firstSlide, &firstIcon, SlideState::Empty, {}});
  c.PState01 = &Add<PictureBox>(ControlAt(L"PState01", 0, 0, 285, 285, strip));
  c.PState02 = &Add<PictureBox>(ControlAt(L"PState02", 0, 0, 285, 285, strip));
  c.PState03 = &Add<PictureBox>(ControlAt(L"PState03", 0, 0, 285, 285, strip));
  c.PState01->SetPicture(DrawStatePicture(StatePicture::Loaded));
  c.PState02->SetPicture(DrawStatePicture(StatePicture::Accepted));
  c.PState03->SetPicture(DrawStatePicture(StatePicture::Catalogued));
  failureMark_.reset(DrawStatePicture(StatePicture::Unreadable));
  for (PictureBox* icon : {c.PState01, c.PState02, c.PState03}) icon->setVisible(false);

  c.VkProgressBar = &Add<ProgressBar>(ControlAt(L"VkProgressBar", 180, 8160, 11175, 230));
  c.VkProgressBar->setVisible(false);  // shown while a find or a save runs
  c.STBar = &Add<controls::VkStatusBar>(ControlAt(L"STBar", 0, 8070, 11475, 360));
  c.STBar->ReadProperties(PropertyBag{{L"Theme", Variant(0L)}});  // docks itself to the bottom
  c.ctxHookMenu1 = &Add<MenuHook>(ControlAt(L"ctxHookMenu1", 0, 0, 0, 0));

  combos_ = {c.cboCategoriaId, c.cboSubCategoriaId, c.cboGerenciaId, c.cboTipoDocumentoId};
  // Tab: bar code, date, reference, then the accept command.
  c.dtpFecha->setTabIndex(c.txtReferenciaId->tabIndex());
  c.cmdAceptar->setTabIndex(c.txtReferenciaId->tabIndex() + 1);
}

void FDocumentosIndex::BuildToolbar() {
  hosted::Toolbar& bar = *c_.TBarMain;
  AddToolbarButtons(bar, {{L"BTN_KIL", L"Salir"}, kDivider, {L"BTN_SAV", L"Grabar Documento"},
                          {L"BTN_VAL", L"Validar Catalogación"}, kDivider, {L"BTN_FIN", L"Buscar Documentos"},
                          kDivider});
  AddViewButtons(bar);
}

void FDocumentosIndex::ConnectEvents() {
  Controls& c = c_;
  c.TBarMain->ButtonClick.Connect([this](hosted::ToolbarClick& click) { TBarMain_ButtonClick(click); });
  c.PCategoriaId->Click.Connect([this](int) { PickKey(Catalogue::Categoria); });
  c.PSubCategoriaId->Click.Connect([this](int) { PickKey(Catalogue::SubCategoria); });
  c.PGerenciaId->Click.Connect([this](int) { PickKey(Catalogue::Gerencia); });
  c.PTipoDocumentoId->Click.Connect([this](int) { PickKey(Catalogue::TipoDocumento); });
  c.cmdAceptar->Click.Connect([this](int) { cmdAceptar_Click(); });
  c.cmdPrevious->Click.Connect([this](int) { cmdPrevious_Click(); });
  c.cmdNext->Click.Connect([this](int) { cmdNext_Click(); });
  // The user's edits in a field editor reach the large view too.
  editors_->CampoWritten.Connect([this](int n, const std::wstring& value) { c_.PSelection->setCampo(n, value); });
  // Connected on element 0: every state icon the scan loads takes the handler with it.
  slides_[0].icon->Click.Connect([this](int index) { PSlideState_Click(index); });
}

VkImage& FDocumentosIndex::PSlide(int index) const {
  if (index < 0 || index >= SlideCount()) Raise(err::ControlArrayElementMissing, L"PSlide");
  return *slides_[static_cast<size_t>(index)].image;
}

hosted::PictureBox& FDocumentosIndex::PSlideState(int index) const {
  if (index < 0 || index >= SlideCount()) Raise(err::ControlArrayElementMissing, L"PSlideState");
  return *slides_[static_cast<size_t>(index)].icon;
}

FDocumentosIndex::SlideState FDocumentosIndex::slideState(int index) const {
  if (index < 0 || index >= SlideCount()) Raise(err::ControlArrayElementMissing, L"PSlide");
  return slides_[static_cast<size_t>(index)].state;
}

// --- the steps of MakeForm ---

bool FDocumentosIndex::FillScreen() {
  if (!CreateDataObject()) return false;
  const ScreenYield yield = [this] { return ServeMessages(); };
  editors_->BuildFieldEditors(*mData, yield);  // a definition that fails leaves the others
  if (!StillWanted()) return false;
  if (!LoadCombos(*this, *mData, combos_, yield)) return false;
  if (!LoadSlides()) return false;
  InitStatusBar();
  ClearForm();
  return true;
}

// --- the controls' reset and the toolbar's states ---

void FDocumentosIndex::ClearForm() {
  IgnoreErrors([&] {
    {
      // Code setting values: nothing writes back. The document date is the system's
      // picker, which the reset leaves alone.
      MuteEvents quiet;
      ClearControlsByKind(*this, c_.dtpFecha);
    }
    // The type's own reset places (no type: no editors, no accept), as its live change does.
    editors_->cboTipoDocumentoId_Change();
  });
  SetToolbarState();
}

void FDocumentosIndex::StartAfresh() {
  ShowNothing();
  ClearForm();
  RunEachStep({
      [&] {
        MuteEvents quiet(c_.dtpFecha->Change);
        c_.dtpFecha->SetValue(Today());
      },
      [&] {
        RedrawPause pause(c_.VkImageSlideInt->hwnd());  // the strip is drawn once, after every move
        PlaceSlides();
      },
      [&] { c_.VkProgressBar->setVisible(false); },
      [&] { c_.VkProgressBar->SetValue(0); },
  });
}

bool FDocumentosIndex::SetToolbarState() {
  return IgnoreErrors([&] {
    auto set = [this](int index, bool enabled) { EnableToolbarButton(*c_.TBarMain, index, enabled); };
    set(kSaveButton, false);
    set(kValidateButton, false);
    for (int index : kImageButtons) set(index, false);
    const bool save = mode() == L"CAT" || mode() == L"ADM";
    const bool validate = mode() == L"VAL" || mode() == L"ADM";
    const bool images = mode() == L"REV" || save;
    if (save) set(kSaveButton, true);
    if (validate) set(kValidateButton, true);
    if (images)
      for (int index : kImageButtons) set(index, true);
  });
}

// --- layout ---

void FDocumentosIndex::PlaceControls() {
  const double W = scaleWidth(), H = scaleHeight();
  Controls& c = c_;
  PlaceMainToolbar(*c.TBarMain, W);
  RunEachStep({
      [&] { c.VkImageMain->setLeft(W - c.VkImageMain->width() - 300); },
      [&] { c.VkImageMain->setTop(c.TBarMain->height() + 150); },
      [&] {
        c.VkImageMain->setHeight(H - c.TBarMain->height() - c.VkImageSlide->height() - c.STBar->height() - 545);
      },
      [&] { c.VkImageSlide->setLeft(c.VkImageMain->left()); },
      [&] { c.VkImageSlide->setTop(H - c.VkImageSlide->height() - c.STBar->height() - 200); },
      [&] { c.VkImageSlideInt->setLeft(100); },
      [&] { c.VkImageSlideInt->setWidth(c.VkImageSlide->width() - 250); },
      [&] { c.VkImageFrame->setLeft(200); },
      [&] { c.VkImageFrame->setTop(c.VkImageMain->top()); },
      [&] { c.VkImageFrame->setHeight(H - c.TBarMain->height() - c.STBar->height() - 345); },
      [&] { c.VkImageFrame->setWidth(c.VkImageMain->left() - 300); },
      [&] { c.PSelection->setTop(500); },
      [&] { c.PSelection->setLeft(200); },
      [&] { c.PSelection->setHeight(c.VkImageFrame->height() - 800); },
      [&] { c.PSelection->setWidth(c.VkImageFrame->width() - 400); },
      [&] { c.VkDataParameter->setTop(c.cboTipoDocumentoId->top() + 600); },
      // Room below for the bar code's and the reference's rows, and only whole rows of
      // editors shown.
      [&] {
        const double entryRows = 150 + c.txtCBarra->height() + 100 + c.txtReferenciaId->height() + 150;
        c.VkDataParameter->setHeight(
            FieldEditors::WholeRowsHeight(c.VkImageMain->height() - c.VkDataParameter->top() - entryRows));
      },
      [&] { c.lblCBarra->setTop(c.VkDataParameter->top() + c.VkDataParameter->height() + 200); },
      [&] { c.txtCBarra->setTop(c.VkDataParameter->top() + c.VkDataParameter->height() + 150); },
      [&] { c.lblReferenciaId->setTop(c.lblCBarra->top() + c.lblCBarra->height() + 150); },
      [&] { c.txtReferenciaId->setTop(c.txtCBarra->top() + c.txtCBarra->height() + 100); },
      [&] { c.dtpFecha->setTop(c.txtCBarra->top()); },
      [&] { c.lblFecha->setTop(c.lblCBarra->top()); },
      [&] { c.cmdAceptar->setTop(c.VkDataParameter->height() - c.cmdAceptar->height() - 200); },
      [&] { c.VkProgressBar->setTop(c.STBar->top() + 80); },
      [&] { c.VkProgressBar->setLeft(100); },
      [&] { c.VkProgressBar->setWidth(c.STBar->width() - 300); },
      [&] { c.cmdPrevious->setLeft(c.VkImageSlide->width() / 2 - 250); },
      [&] { c.cmdNext->setLeft(c.cmdPrevious->left() + c.cmdPrevious->width() + 50); },
      [&] { editors_->FitColumns(); },
  });
  PlaceSlides();
}

void FDocumentosIndex::PlaceSlides() {
  // The thumbnails side by side from Left 0 (undoing any scrolling), each state icon
  // on its thumbnail's top right corner and above it.
  for (size_t i = 0; i < slides_.size(); ++i) {
    VkImage& slide = *slides_[i].image;
    hosted::PictureBox& icon = *slides_[i].icon;
    RunEachStep({
        [&] {
          const double left = i == 0 ? 0 : slides_[i - 1].image->left() + slides_[i - 1].image->width() + 200;
          slide.Move(left, 150, slide.width(), 1900);
        },
        [&] { icon.Move(slide.left() + slide.width() - icon.width(), slide.top(), icon.width(), icon.height()); },
        [&] { SetWindowPos(icon.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); },
    });
  }
}

// --- commands ---

void FDocumentosIndex::TBarMain_ButtonClick(hosted::ToolbarClick& click) {
  if (click.key == L"BTN_KIL") {
    busy_.Close();  // while a command runs, honoured when it stops
    return;
  }
  if (IsViewKey(click.key)) {
    ViewCommand([&] { RunViewKey(*c_.TBarMain, click, *c_.PSelection); });
    return;
  }
  Command([&] {
    hosted::Toolbar& bar = *c_.TBarMain;
    const std::wstring key = click.key;
    if (key == L"BTN_SAV") {
      CatalogDocuments();
    } else if (key == L"BTN_FIN") {
      if (LoadImages() && StillWanted())
        ShowMessage(L"Las Imágenes a Catalogar se hay Incorporado con Éxito", msg::Information, L"Ostrela");
      if (loaded()) c_.VkProgressBar->setVisible(false);
    } else if (key == L"BTN_REP") {
      // The report menu's two items have no report behind them yet; its loop yields.
      PopUpFromKey(*this, bar, click, ReportMenu(), [](UINT) {});
    }
  });
}

void FDocumentosIndex::PickKey(Catalogue which) {
  Command([&] { PickCatalogueKey(combos_, which); });  // the picker is modal: a close waits for it
}

void FDocumentosIndex::PSlideState_Click(int index) {
  if (busy()) return;
  HandlerScope running;
  ShowSlide(index);
}

}  // namespace vk::capture
