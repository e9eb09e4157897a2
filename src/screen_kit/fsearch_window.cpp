// The picker's window: its controls at their design places, the fade-in, dragging the
// borderless window, the two tabs, maximising, closing, the layout from the window
// size and the busy animation.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/steps.h"
#include "runtime/app_path.h"
#include "runtime/do_events.h"
#include "runtime/gdi_object.h"
#include "runtime/property_bag.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/shared_functions.h"

namespace vk {
namespace {

constexpr OleColor kWindowBlue = 0x0098432E;  // the margin left and below the container

// Sizes computed from a window smaller than the design are held at 0.
double Size(double twips) { return std::max(0.0, twips); }

struct LineLook {
  const DesignLine* line;
  OleColor color;
};

void DrawLines(HWND window, std::initializer_list<LineLook> lines) {
  HDC dc = GetDC(window);
  for (const LineLook& l : lines) {
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, OleColorToRgb(l.color)));
    SelectGuard drawn(dc, pen.get());
    MoveToEx(dc, TwipsToPixels(l.line->x1), TwipsToPixels(l.line->y1), nullptr);
    LineTo(dc, TwipsToPixels(l.line->x2), TwipsToPixels(l.line->y2));
  }
  ReleaseDC(window, dc);
}

// The frames paint themselves and the design's lines go over them.
LRESULT CALLBACK FrameLinesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR data) noexcept {
  const auto& c = *reinterpret_cast<const FSearch::Controls*>(data);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, FrameLinesProc, id);
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  if (message != WM_PAINT) return result;
  if (id == 1) DrawLines(window, {{&c.Line1, 0x0098432E}, {&c.Line2, 0x00D6B4A0}});
  if (id == 2) DrawLines(window, {{&c.LineC1, 0x00BCD3CD}, {&c.LineC2, 0x00BCD3CD}});
  return result;
}

// The design's colours: the blue container with its light header, white pages, labels
// and check boxes in blue, paging buttons in dark blue, and the tabs.
constexpr OleColor kWhite = 0x00FFFFFF, kLabelBlue = 0x00C65D21, kButtonBlue = 0x007B2D02;

void ApplyDesignLook(FSearch::Controls& c) {
  c.VkContainer->SetColors({.headerLight = 0x00ECDCD3, .headerDark = 0x00DABAA8, .bodyLight = 0x00F8F2EF,
                            .bodyDark = 0x00F1E5DD, .border = 0x00D6B4A0});
  c.VkContainer->SetTheme(3);
  for (hosted::Frame* page : {c.VkSearch01, c.VkSearch02}) {
    page->SetHeaderShown(false);
    page->SetColors({kWhite, kWhite, kWhite, kWhite, kWhite});
    page->SetTheme(3);
  }
  c.Label4->SetFontBold(true);
  for (hosted::Label* label : {c.Label4, c.lblPaginas, c.lblDivision, c.lblPageSize}) label->SetBackColor(kWhite);
  for (hosted::Label* label : {c.Label4, c.lblPaginas}) label->SetForeColor(kLabelBlue);
  for (hosted::CheckBox* box : c.chkFilter) {
    box->SetBackColor(0x00F1E5DD);
    box->SetForeColor(kLabelBlue);
  }
  for (hosted::CommandButton* button : {c.cmdFirst, c.cmdPrevious, c.cmdNext, c.cmdLast})
    button->SetForeColor(kButtonBlue);
  c.TContainer->SetColors({.active = 0x00FBFDFB, .inactiveTop = 0x00FFFFFF, .inactiveBottom = 0x00EAF0F0,
                           .border = 0x009B9C91, .strip = 0x00F8F2EF, .disabled = 0x8000000F,
                           .disabledText = 0x00A0A0A0});
}

}  // namespace

FSearch::FSearch()
    : Form({.name = L"FSearch", .caption = L"Consulta", .scaleWidth = 13170, .scaleHeight = 8130,
            .borderless = true}) {
  AmbientProperties ambient;
  ambient.backColor = kWindowBlue;
  ambient.fontName = L"Verdana";
  setAmbient(ambient);
  BuildControls();
}

FSearch::~FSearch() = default;

void FSearch::BuildControls() {
  using namespace hosted;
  c_.VkContainer = &Add<Frame>(ControlAt(L"VkContainer", 60, 0, 13110, 8085), L"Buscador");
  Container* box = c_.VkContainer;
  c_.IType2 = &Add<PictureBox>(ControlAt(L"IType2", 180, 540, 510, 510, box));
  c_.IType = &Add<controls::VkAnimatedGif>(ControlAt(L"IType", 180, 540, 510, 510, box));
  c_.IType->setVisible(false);  // the still picture shows until the animation starts

  // The pages come before the tab control so that they lie above its body.
  c_.VkSearch01 = &Add<Frame>(ControlAt(L"VkSearch01", 1140, 840, 11670, 5880, box));
  c_.VkSearch02 = &Add<Frame>(ControlAt(L"VkSearch02", 1140, 840, 11670, 5880, box));
  Container* results = c_.VkSearch01;
  c_.Label4 = &Add<Label>(ControlAt(L"Label4", 120, 60, 10365, 240, results), L"Buscador Rápido de Información");
  c_.txtSortKey = &Add<TextBox>(ControlAt(L"txtSortKey", 120, 300, 11385, 285, results));
  c_.GRDetail = &Add<grid::GridControl>(ControlAt(L"GRDetail", 120, 900, 11430, 4365, results));
  c_.cmdFirst = &Add<CommandButton>(ControlAt(L"cmdFirst", 120, 5520, 555, 285, results), L"<<");
  c_.cmdPrevious = &Add<CommandButton>(ControlAt(L"cmdPrevious", 720, 5520, 600, 285, results), L"<");
  c_.lblPaginas = &Add<Label>(ControlAt(L"lblPaginas", 2820, 5580, 825, 240, results), L"Página");
  c_.txtPageNumber = &Add<TextBox>(ControlAt(L"txtPageNumber", 3600, 5520, 645, 285, results));
  c_.lblDivision = &Add<Label>(ControlAt(L"lblDivision", 4320, 5520, 150, 285, results), L"/");
  c_.txtPageCount = &Add<TextBox>(ControlAt(L"txtPageCount", 4500, 5520, 645, 285, results));
  c_.lblPageSize = &Add<Label>(ControlAt(L"lblPageSize", 6420, 5565, 2085, 240, results), L"Registros Por Pagina");
  c_.cboPageSize = &Add<ComboBox>(ControlAt(L"cboPageSize", 8535, 5520, 915, 315, results));
  c_.cmdNext = &Add<CommandButton>(ControlAt(L"cmdNext", 10395, 5520, 555, 285, results), L">");
  c_.cmdLast = &Add<CommandButton>(ControlAt(L"cmdLast", 10980, 5520, 555, 285, results), L">>");
  c_.GRFilter = &Add<grid::GridControl>(ControlAt(L"GRFilter", 120, 120, 11430, 5565, c_.VkSearch02));

  c_.TContainer = &Add<TabControl>(ControlAt(L"TContainer", 1020, 480, 11910, 6375, box),
                                   std::vector<std::wstring>{L"  &Resultado   ", L"   &Filtro Avanzado   "});
  c_.chkFilter[0] = &Add<CheckBox>(ControlAt(L"chkFilter", 1860, 6960, 4250, 330, box, 0), L"Solo con mi Usuario de Ostrela");
  c_.chkFilter[1] = &Add<CheckBox>(ControlAt(L"chkFilter", 8460, 6960, 3705, 330, box, 1), L"Alta en los Ultimos 6 Meses");
  c_.cmdFilterClear = &Add<CommandButton>(ControlAt(L"cmdFilterClear", 1080, 7560, 1605, 330, box), L"&Limpiar Filtros");
  c_.cmdFilterApply = &Add<CommandButton>(ControlAt(L"cmdFilterApply", 2700, 7560, 1605, 330, box), L"&Aplicar Filtros");
  c_.cmdCancelar = &Add<CommandButton>(ControlAt(L"cmdCancelar", 10560, 7560, 1185, 330, box), L"&Cancelar");
  c_.cmdAceptar = &Add<CommandButton>(ControlAt(L"cmdAceptar", 11760, 7560, 1185, 330, box), L"&Aceptar");
  c_.cmdMaximizar = &Add<CommandButton>(ControlAt(L"cmdMaximizar", 12480, 60, 300, 270, box), L"-");
  c_.cmdQuit = &Add<CommandButton>(ControlAt(L"cmdQuit", 12780, 60, 300, 270, box), L"X");
  c_.Line1 = {660, 7380, 13020, 7380};
  c_.Line2 = {900, 420, 900, 7740};
  c_.LineC1 = {0, 720, 11700, 720};
  c_.LineC2 = {0, 5400, 11700, 5400};

  c_.cboPageSize->LoadArray(L"10|20|40|60|80|100");
  setDefaultButton(c_.cmdAceptar);
  setCancelButton(c_.cmdCancelar);
  ApplyDesignLook(c_);

  // Events.
  auto command = [this](void (FSearch::*handler)()) {
    return [this, handler](int) { Command([this, handler] { (this->*handler)(); }); };
  };
  c_.cmdFirst->Click.Connect(command(&FSearch::cmdFirst_Click));
  c_.cmdPrevious->Click.Connect(command(&FSearch::cmdPrevious_Click));
  c_.cmdNext->Click.Connect(command(&FSearch::cmdNext_Click));
  c_.cmdLast->Click.Connect(command(&FSearch::cmdLast_Click));
  c_.cboPageSize->Change.Connect(command(&FSearch::cboPageSize_Click));
  c_.cmdFilterApply->Click.Connect(command(&FSearch::cmdFilterApply_Click));
  c_.cmdFilterClear->Click.Connect(command(&FSearch::cmdFilterClear_Click));
  c_.cmdAceptar->Click.Connect(command(&FSearch::cmdAceptar_Click));
  c_.cmdCancelar->Click.Connect(command(&FSearch::cmdQuit_Click));
  c_.cmdQuit->Click.Connect(command(&FSearch::cmdQuit_Click));
  c_.cmdMaximizar->Click.Connect(command(&FSearch::cmdMaximizar_Click));
  c_.GRDetail->DblClick.Connect([this] { Command([this] { GRDetail_DblClick(); }); });
  c_.GRDetail->HeadClick.Connect([this](int position) { Command([this, position] { GRDetail_HeadClick(position); }); });
  c_.TContainer->Click.Connect([this] { TContainer_Click(); });
  MouseDown.Connect([this](int b, int s, double x, double y) { Form_MouseDown(b, s, x, y); });
  c_.VkContainer->MouseDown.Connect([this](int b, int s, double x, double y) { Form_MouseDown(b, s, x, y); });
  Resize.Connect([this] { Form_Resize(); });
  Unloading.Connect([this](bool& cancel) {
    if (filling_) cancel = true;  // never free the window under a running fill
    else Form_Unload();
  });
  tmrFade_.Tick.Connect([this] { tmrFade_Timer(); });
}

void FSearch::OnLoad() {
  data_ = DataAccess::Create();
  for (hosted::TextBox* box : {c_.txtPageNumber, c_.txtPageCount})
    SendMessageW(box->inner(), EM_SETREADONLY, TRUE, 0);
  SetWindowSubclass(c_.VkContainer->hwnd(), FrameLinesProc, 1, reinterpret_cast<DWORD_PTR>(&c_));
  SetWindowSubclass(c_.VkSearch01->hwnd(), FrameLinesProc, 2, reinterpret_cast<DWORD_PTR>(&c_));
  SetWindowSubclass(c_.VkSearch02->hwnd(), FrameLinesProc, 3, reinterpret_cast<DWORD_PTR>(&c_));
  // The animation's stored properties: no file name, so its first paint loads the file
  // that StartAnimation names.
  c_.IType->ReadProperties(PropertyBag{{L"BackColor", Variant(long(0x80000005))}, {L"BorderStyle", Variant(1L)}});
  // The still picture: the animation's first frame, until the animation starts.
  IgnoreErrors([this] { c_.IType2->LoadPicture(AppPath() + L"\\Vk_OstrelaGIF01.gif"); });
  alpha_ = 10;
  tmrFade_.setEnabled(true);
}

bool FSearch::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_ERASEBKGND) return false;
  RECT r;
  GetClientRect(hwnd(), &r);
  GdiObject<HBRUSH> blue(CreateSolidBrush(OleColorToRgb(kWindowBlue)));
  FillRect(reinterpret_cast<HDC>(wParam), &r, blue.get());
  result = 1;
  return true;
}

void FSearch::Form_Unload() { data_.reset(); }

void FSearch::tmrFade_Timer() {
  if (FadeInStep(hwnd(), alpha_, 20)) tmrFade_.setEnabled(false);
}

void FSearch::Form_MouseDown(int button, int, double, double) {
  if (button != 1 || !c_.VkContainer->visible()) return;
  DragWindowByBody(hwnd(), true);
}

void FSearch::TContainer_Click() {
  c_.VkSearch01->setVisible(false);
  c_.VkSearch02->setVisible(false);
  const int tab = c_.TContainer->Tab();
  if (tab == 0) c_.VkSearch01->setVisible(true);
  else if (tab == 1) c_.VkSearch02->setVisible(true);
}

void FSearch::cmdMaximizar_Click() {
  setWindowState(windowState() != WindowState::Maximized ? WindowState::Maximized : WindowState::Normal);
}

void FSearch::cmdQuit_Click() { Unload(); }

void FSearch::Form_Resize() {
  const double W = width(), H = height();
  auto& c = c_;
  c.VkContainer->Move(c.VkContainer->left(), c.VkContainer->top(), Size(W - 60), Size(H - 50));
  const double CW = c.VkContainer->width(), CH = c.VkContainer->height();
  c.cmdQuit->setLeft(CW - c.cmdQuit->width() - 50);
  c.cmdMaximizar->setLeft(CW - c.cmdQuit->width() - c.cmdMaximizar->width() - 60);
  c.TContainer->Move(c.TContainer->left(), c.TContainer->top(), Size(CW - c.TContainer->left() - 200), Size(CH - 1700));
  const double checkTop = c.TContainer->top() + c.TContainer->height() + 50;
  c.chkFilter[0]->Move(c.TContainer->left() + 1000, checkTop, c.chkFilter[0]->width(), c.chkFilter[0]->height());
  c.chkFilter[1]->Move(c.TContainer->left() + c.TContainer->width() - c.chkFilter[1]->width() - 1000, checkTop,
                       c.chkFilter[1]->width(), c.chkFilter[1]->height());
  c.Line1.y1 = CH - c.cmdFilterClear->height() - 400;
  c.Line1.y2 = c.Line1.y1;
  c.Line1.x2 = CW - 200;
  c.Line2.y2 = c.Line1.y1 + 300;
  const double bottomTop = CH - c.cmdFilterClear->height() - 200;
  for (auto* button : {c.cmdFilterClear, c.cmdFilterApply, c.cmdCancelar, c.cmdAceptar}) button->setTop(bottomTop);
  c.cmdAceptar->setLeft(CW - c.cmdAceptar->width() - 200);
  c.cmdCancelar->setLeft(c.cmdAceptar->left() - c.cmdCancelar->width() - 20);
  for (auto* page : {c.VkSearch01, c.VkSearch02})
    page->Move(page->left(), page->top(), Size(CW - c.VkSearch01->left() - 300), Size(CH - 2200));
  const double PW = c.VkSearch01->width(), PH = c.VkSearch01->height();
  c.txtSortKey->setWidth(Size(PW - c.txtSortKey->left() - 100));
  c.LineC1.x2 = PW;
  c.LineC2.x2 = PW;
  c.LineC2.y1 = PH - c.cmdFirst->height() - 200;
  c.LineC2.y2 = c.LineC2.y1;
  const double pagingTop = PH - c.cmdFirst->height() - 50;
  for (Control* p : std::initializer_list<Control*>{c.cmdFirst, c.cmdPrevious, c.txtPageNumber, c.txtPageCount,
                                                    c.cboPageSize, c.cmdNext, c.cmdLast})
    p->setTop(pagingTop);
  for (auto* label : {c.lblPaginas, c.lblDivision, c.lblPageSize}) label->setTop(pagingTop + 50);
  c.GRDetail->Move(c.GRDetail->left(), c.GRDetail->top(), c.txtSortKey->width(),
                   Size(c.LineC2.y1 - c.GRDetail->top() - 200));
  c.cmdLast->setLeft(c.GRDetail->left() + c.GRDetail->width() - c.cmdLast->width());
  c.cmdNext->setLeft(c.cmdLast->left() - c.cmdNext->width() - 40);
  c.lblPaginas->setLeft(c.cmdPrevious->left() + 2000);
  c.txtPageNumber->setLeft(c.lblPaginas->left() + c.lblPaginas->width() + 50);
  c.lblDivision->setLeft(c.txtPageNumber->left() + c.txtPageNumber->width() + 50);
  c.txtPageCount->setLeft(c.lblDivision->left() + c.lblDivision->width() + 50);
  c.cboPageSize->setLeft(c.cmdNext->left() - c.cboPageSize->width() - 2000);
  c.lblPageSize->setLeft(c.cboPageSize->left() - c.lblPageSize->width());
  c.GRFilter->Move(c.GRFilter->left(), c.GRFilter->top(), Size(c.VkSearch02->width() - c.GRFilter->left() - 200),
                   Size(c.VkSearch02->height() - c.GRFilter->top() - 200));
  DoEvents();
}

void FSearch::StartAnimation() {
  IgnoreErrors([this] {
    c_.IType->setVisible(true);
    c_.IType2->setVisible(false);
    c_.IType->put_strGifFileName(AppPath() + L"\\Vk_OstrelaGIF01.gif");
    c_.IType->put_UserDelay(100);
    c_.IType->StartTimer();
  });
}

}  // namespace vk
