#include "screen_kit/vk_image.h"

#include <algorithm>

#include "base/clock.h"
#include "base/steps.h"
#include "runtime/gdi_object.h"
#include "runtime/redraw_pause.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"

namespace vk {

namespace {

// Zoom 0, the load value, means that no zoom was chosen: the image's own size. The
// screens write an unchanged 0 back (zoom out before any load), which the viewer
// would refuse.
double ViewerZoom(double zoom) { return zoom == 0 ? 1.0 : zoom; }

// A white page with "PDF" across its middle, in the control's design font.
void PaintPdfMark(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
  const int side = std::min(client.right - client.left, client.bottom - client.top);
  GdiObject<HFONT> font(CreateFontW(-std::clamp(side / 4, 8, 96), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH, L"Tahoma"));
  SelectGuard useFont(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(176, 0, 0));
  RECT text = client;
  DrawTextW(dc, L"PDF", 3, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

VkImage::VkImage(Form& form, ControlArgs args) : UserControl(form, args) {
  viewer_ = &AddConstituent<hosted::ImageViewer>({.name = L"iImage", .width = args.width, .height = args.height});
  // The viewer's own design setting. A thumbnail's first load then decodes once, at
  // the fitted size it ends at, instead of at zoom 1 and again fitted.
  viewer_->SetFitToWindow(true);
}

std::unique_ptr<Control> VkImage::Clone(Form& form, const ControlArgs& args) const {
  return CloneFromDesign<VkImage>(form, args);
}

void VkImage::setIsPDF(bool value) {
  isPDF_ = value;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);  // the mark shows where the viewer is hidden
}

void VkImage::setFitMode(bool value) {
  fitMode_ = value;
  if (!isPDF_) viewer_->SetFitToWindow(value);
}

void VkImage::setZoom(double value) {
  zoom_ = value;
  if (!isPDF_) viewer_->SetZoom(ViewerZoom(value));
}

void VkImage::Resize() {
  viewer_->Move(0, 0, PixelsToTwips(clientWidth()), PixelsToTwips(clientHeight()));
}

bool VkImage::LoadDocument() {
  Resize();
  const RedrawPause paint(hwnd());
  viewer_->setVisible(false);
  if (isPDF_) return false;  // a PDF is never drawn inside the control
  viewer_->setVisible(true);
  viewer_->SetFilePath(entry_.Path);
  viewer_->Load();
  viewer_->SetFitToWindow(false);
  viewer_->SetZoom(ViewerZoom(zoom_));
  return false;
}

void VkImage::ShowNoFile() {
  setIsPDF(false);
  entry_.Documento.clear();
  entry_.Path.clear();
  IgnoreErrors([this] { LoadDocument(); });  // no file: raises, and leaves the viewer empty
}

void VkImage::Paint(HDC dc, const RECT& client) {
  if (isPDF_) {
    PaintPdfMark(dc, client);
    return;
  }
  FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
}

void VkImage::OnReadProperties(const PropertyBag& bag) {
  fitMode_ = CBool(bag.Read(L"FitMode", true));  // stored only: the viewer follows at the next Let
  entry_.CategoriaId = CStr(bag.Read(L"CategoriaId", L""));
  entry_.SubCategoriaId = CStr(bag.Read(L"SubCategoriaId", L""));
  entry_.GerenciaId = CStr(bag.Read(L"GerenciaId", L""));
  entry_.TipoDocumentoId = CLng(bag.Read(L"TipoDocumentoId", 0L));
  entry_.Documento = CStr(bag.Read(L"Documento", L""));
  entry_.Path = CStr(bag.Read(L"Path", L""));
  for (int n = 1; n <= kCampoCount; ++n) entry_.Campo(n) = CStr(bag.Read(CampoName(n), L""));
  entry_.Fecha = CDate(bag.Read(L"Fecha", Variant::FromDate(Now())));
  entry_.ReferenciaId = CStr(bag.Read(L"ReferenciaId", L""));
  entry_.CBarra = CStr(bag.Read(L"CBarra", L""));
}

bool IsPdfPath(const std::wstring& path) {
  return path.size() >= 3 && CompareStringOrdinal(path.c_str() + path.size() - 3, 3, L"pdf", 3, TRUE) == CSTR_EQUAL;
}

void VkImage::OnWriteProperties(PropertyBag& bag) const {
  bag.Write(L"FitMode", fitMode_, true);
  bag.Write(L"CategoriaId", entry_.CategoriaId, L"");
  bag.Write(L"SubCategoriaId", entry_.SubCategoriaId, L"");
  bag.Write(L"GerenciaId", entry_.GerenciaId, L"");
  bag.Write(L"TipoDocumentoId", entry_.TipoDocumentoId, 0L);
  bag.Write(L"Documento", entry_.Documento, L"");
  bag.Write(L"Path", entry_.Path, L"");
  for (int n = 1; n <= kCampoCount; ++n) bag.Write(CampoName(n), entry_.Campo(n), L"");
  bag.Write(L"Fecha", Variant::FromDate(entry_.Fecha), Variant::FromDate(Now()));
  bag.Write(L"ReferenciaId", entry_.ReferenciaId, L"");
  bag.Write(L"CBarra", entry_.CBarra, L"");
}

}  // namespace vk
