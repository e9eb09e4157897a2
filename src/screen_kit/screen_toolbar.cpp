#include "screen_kit/screen_toolbar.h"

#include <windows.h>

#include <cstdint>

#include "base/steps.h"
#include "runtime/colour_bitmap.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"

namespace vk {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kClear = RGB(255, 0, 255);  // becomes the transparent part

// The pictures are strokes on a 16-pixel square, drawn with the key's pen and a hollow brush.
enum class Shape { None, Line, Box, Ring, Arc };
struct Stroke {
  Shape shape;
  int x1, y1, x2, y2;                  // the line's ends, or the shape's bounding box
  int x3 = 0, y3 = 0, x4 = 0, y4 = 0;  // an arc's start and end points
};
struct KeyPicture {
  const wchar_t* key;
  Stroke strokes[5];
};

constexpr Stroke kLens{Shape::Ring, 1, 1, 11, 11}, kHandle{Shape::Line, 9, 9, 14, 14};
constexpr KeyPicture kPictures[] = {
    {L"BTN_KIL", {{Shape::Line, 3, 3, 13, 13}, {Shape::Line, 13, 3, 3, 13}}},
    {L"BTN_VAL", {{Shape::Line, 2, 8, 6, 12}, {Shape::Line, 6, 12, 14, 3}}},
    {L"BTN_SAV", {{Shape::Box, 2, 2, 14, 14}, {Shape::Box, 5, 2, 11, 7}}},  // a disk with its label
    {L"BTN_DEL", {{Shape::Line, 2, 3, 14, 3}, {Shape::Box, 4, 5, 12, 15}}},  // a bin
    {L"BTN_REP", {{Shape::Box, 1, 6, 15, 12}, {Shape::Box, 4, 1, 12, 6}, {Shape::Box, 4, 10, 12, 15}}},  // a printer
    {L"BTN_FIN", {kLens, kHandle}},
    {L"BTN_ZIN", {kLens, kHandle, {Shape::Line, 6, 4, 6, 9}, {Shape::Line, 4, 6, 9, 6}}},
    {L"BTN_ZOU", {kLens, kHandle, {Shape::Line, 4, 6, 9, 6}}},
    {L"BTN_VIE",  // a picture of hills
     {{Shape::Box, 1, 3, 15, 13}, {Shape::Line, 3, 11, 7, 6}, {Shape::Line, 7, 6, 10, 10},
      {Shape::Line, 10, 10, 13, 7}}},
    {L"BTN_FIT", {{Shape::Box, 1, 1, 15, 15}, {Shape::Box, 5, 5, 11, 11}}},
    {L"BTN_Z11",  // "1:1"
     {{Shape::Line, 3, 3, 3, 13}, {Shape::Line, 7, 6, 7, 7}, {Shape::Line, 7, 10, 7, 11},
      {Shape::Line, 11, 3, 11, 13}}},
    {L"BTN_PAN", {{Shape::Box, 1, 2, 15, 14}, {Shape::Line, 1, 5, 15, 5}}},
    {L"BTN_RT1", {{Shape::Arc, 2, 2, 14, 14, 14, 8, 8, 2}, {Shape::Line, 13, 8, 11, 5}, {Shape::Line, 13, 8, 16, 6}}},
    {L"BTN_RT2", {{Shape::Arc, 2, 2, 14, 14, 2, 8, 8, 2}, {Shape::Line, 2, 8, 0, 5}, {Shape::Line, 2, 8, 5, 6}}},
    {L"BTN_CLE", {{Shape::Box, 3, 1, 13, 15}, {Shape::Line, 1, 15, 15, 1}}},  // a page struck out
    {L"EXP_XLS",  // a sheet of cells
     {{Shape::Box, 1, 2, 15, 14}, {Shape::Line, 1, 6, 15, 6}, {Shape::Line, 1, 10, 15, 10}, {Shape::Line, 6, 2, 6, 14},
      {Shape::Line, 10, 2, 10, 14}}},
    {L"CFG_GRD",  // columns under a header
     {{Shape::Box, 1, 2, 15, 14}, {Shape::Box, 1, 2, 15, 6}, {Shape::Line, 6, 6, 6, 14}, {Shape::Line, 10, 6, 10, 14}}},
};
// Any other key: a page of text.
constexpr KeyPicture kPage{L"", {{Shape::Box, 3, 1, 13, 15}, {Shape::Line, 5, 4, 11, 4}, {Shape::Line, 5, 7, 11, 7},
                                 {Shape::Line, 5, 10, 11, 10}}};

void DrawKey(HDC dc, const std::wstring& key) {
  const KeyPicture* picture = &kPage;
  for (const KeyPicture& candidate : kPictures)
    if (key == candidate.key) picture = &candidate;
  for (const Stroke& s : picture->strokes) {
    switch (s.shape) {
      case Shape::None: break;
      case Shape::Line:
        MoveToEx(dc, s.x1, s.y1, nullptr);
        LineTo(dc, s.x2, s.y2);
        break;
      case Shape::Box: Rectangle(dc, s.x1, s.y1, s.x2, s.y2); break;
      case Shape::Ring: Ellipse(dc, s.x1, s.y1, s.x2, s.y2); break;
      case Shape::Arc: Arc(dc, s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4); break;
    }
  }
}

HICON MakeIcon(const std::wstring& key) {
  void* bits = nullptr;
  GdiObject<HBITMAP> colour(CreateColourBitmap(nullptr, kSize, kSize, &bits));
  if (!colour) return nullptr;
  {
    MemoryDc memory(CreateCompatibleDC(nullptr));
    HDC dc = memory.get();
    SelectGuard bitmap(dc, colour.get());
    RECT all{0, 0, kSize, kSize};
    GdiObject<HBRUSH> background(CreateSolidBrush(kClear));
    FillRect(dc, &all, background.get());
    const COLORREF ink = key == L"BTN_KIL" ? RGB(192, 0, 0) : key == L"BTN_VAL" ? RGB(0, 128, 0) : RGB(30, 60, 120);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, ink));
    SelectGuard penGuard(dc, pen.get());
    SelectGuard brush(dc, GetStockObject(NULL_BRUSH));
    DrawKey(dc, key);
  }
  // Opaque where drawn: alpha 255 on the ink, 0 (and a set mask bit) on the rest.
  auto* pixels = static_cast<uint32_t*>(bits);
  const uint32_t clear = 0x00FF00FF;
  WORD maskRows[kSize] = {};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      uint32_t& p = pixels[y * kSize + x];
      if ((p & 0x00FFFFFF) == clear) {
        p = 0;
        maskRows[y] |= static_cast<WORD>(0x8000 >> x);
      } else {
        p |= 0xFF000000;
      }
    }
    maskRows[y] = static_cast<WORD>((maskRows[y] >> 8) | (maskRows[y] << 8));  // bytes in screen order
  }
  GdiObject<HBITMAP> mask(CreateBitmap(kSize, kSize, 1, 1, maskRows));
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return CreateIconIndirect(&info);  // a copy of both bitmaps
}

}  // namespace

void AddToolbarButton(hosted::Toolbar& toolbar, const std::wstring& key, const std::wstring& toolTip) {
  const OwnedIcon icon(MakeIcon(key));  // the toolbar keeps its own copy
  toolbar.AddButton(key, toolTip, icon.get(), key == L"BTN_REP" ? L" " : L"");
}

void AddToolbarButtons(hosted::Toolbar& toolbar, std::initializer_list<ToolbarKey> keys) {
  for (const ToolbarKey& k : keys) {
    if (k.key) AddToolbarButton(toolbar, k.key, k.toolTip);
    else toolbar.AddSeparator();
  }
}

void AddViewButtons(hosted::Toolbar& toolbar) {
  AddToolbarButtons(toolbar, {{L"BTN_FIT", L"Ajustar a la Página"},
                              {L"BTN_ZIN", L"Zoom ++"},
                              {L"BTN_ZOU", L"Zoom --"},
                              {L"BTN_Z11", L"Tamaño Original"},
                              {L"BTN_PAN", L"Vista Panorámica"},
                              kDivider,
                              {L"BTN_RT1", L"Rotar Imagen"},
                              {L"BTN_RT2", L"Rotar Imagen"},
                              kDivider,
                              {L"BTN_REP", L""},
                              kDivider});
}

void EnableToolbarButton(hosted::Toolbar& toolbar, int index, bool enabled) {
  toolbar.SetButtonEnabled(index, enabled);
  toolbar.SetButtonState(index, enabled ? 0 : 5);
}

void PlaceMainToolbar(hosted::Toolbar& toolbar, double screenWidth) {
  RunEachStep({
      [&] { toolbar.setWidth(screenWidth - 300); },
      [&] { toolbar.setTop(45); },
      [&] { toolbar.setLeft(50); },
  });
}

std::vector<MenuItem> ReportMenu() {
  return {{.id = kReportView, .caption = L"Vista Previa del Informe"},
          {.id = kReportPrint, .caption = L"Imprimir Informe por Impresora"}};
}

void PopUpFromKey(Form& screen, hosted::Toolbar& toolbar, const hosted::ToolbarClick& click,
                  const std::vector<MenuItem>& menu, const std::function<void(UINT)>& run, double originLeft,
                  double originTop) {
  toolbar.SetButtonState(click.index, 4);
  const double x = originLeft + toolbar.left() + click.x;
  const double y = originTop + toolbar.top() + (click.flag ? click.y : toolbar.height());
  const UINT chosen = PopupMenu(screen.hwnd(), menu, x, y);
  if (chosen) run(chosen);
  // The menu's loop served other messages: the screen may have gone meanwhile.
  if (screen.loaded()) toolbar.SetButtonState(click.index, 0);
}

}  // namespace vk
