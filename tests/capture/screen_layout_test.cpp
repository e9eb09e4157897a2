// Both capture screens as a clerk sees them, docked in a host of the design size and of
// a larger one, with a document and each document type's field editors shown: every
// visible control read back from its window (clipped by the windows around it), no two
// of them overlapping, and every editor as wide as what it typically shows. Pictures
// of each screen for a reviewer (those at 765x562 and 1100x850 are kept, as PNG, in
// tests/capture/pictures). And the fixed captions and tool tips of both screens.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "capture/abm_screen.h"
#include "capture/index_screen.h"
#include "hosted/sample_images.h"
#include "runtime/window_picture.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/screen_fixture.h"
#include "screen_kit/screen_toolbar.h"
#include "screen_kit/shared_state.h"

namespace {

using namespace vk;
using Texts = std::vector<std::wstring>;

struct HostSize {
  int width, height;
};
// The design size, larger ones and back: editors placed at one size are fitted to the next.
constexpr HostSize kSizes[] = {{765, 562}, {1100, 850}, {1200, 600}, {800, 850}, {765, 562}};

// A named control's window and the part of it the screen shows (screen coordinates):
// its rectangle cut by the client area of every window around it.
struct Shown {
  std::wstring name;
  HWND window;
  RECT visible;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<Shown> ShownControls(HWND screen) {
  std::vector<HWND> windows;
  EnumChildWindows(screen, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::vector<Shown> shown;
  for (HWND w : windows) {
    const std::wstring name = VkNameOf(w);
    if (name.empty() || !IsWindowVisible(w)) continue;
    RECT r;
    GetWindowRect(w, &r);
    for (HWND p = GetParent(w); p && p != GetParent(screen); p = GetParent(p)) {
      RECT client;
      GetClientRect(p, &client);
      MapWindowPoints(p, nullptr, reinterpret_cast<POINT*>(&client), 2);
      IntersectRect(&r, &r, &client);
    }
    if (!IsRectEmpty(&r)) shown.push_back({name, w, r});
  }
  return shown;
}

// Pairs of shown controls that cover each other, neither inside the other, and not
// meant to.
using Intended = std::function<bool(const Shown&, const Shown&)>;
Texts Overlaps(const std::vector<Shown>& shown, const Intended& intended) {
  Texts overlaps;
  for (size_t a = 0; a < shown.size(); ++a) {
    for (size_t b = a + 1; b < shown.size(); ++b) {
      const Shown &x = shown[a], &y = shown[b];
      RECT common;
      if (IsChild(x.window, y.window) || IsChild(y.window, x.window)) continue;
      if (!IntersectRect(&common, &x.visible, &y.visible) || intended(x, y)) continue;
      overlaps.push_back(x.name + L" / " + y.name);
    }
  }
  return overlaps;
}

// Pixels a text takes in the font of a control's inner window.
int TextPixels(HWND inner, const wchar_t* text) {
  HDC dc = GetDC(inner);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(inner, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  SelectObject(dc, old);
  ReleaseDC(inner, dc);
  return size.cx;
}

// Editors the screen shows narrower than what they typically hold (a date, a text of
// 20 characters, a bar code), with the pixels shown and needed.
Texts NarrowEditors(const std::vector<Shown>& shown) {
  Texts narrow;
  for (const Shown& control : shown) {
    const HWND inner = GetWindow(control.window, GW_CHILD);
    wchar_t kind[64] = L"";
    if (!inner) continue;
    GetClassNameW(inner, kind, 64);
    int needed = 0;
    const int border = 2 * GetSystemMetrics(SM_CXEDGE) + 6;
    if (lstrcmpiW(kind, L"Edit") == 0) {
      const bool barCode = control.name == L"txtCBarra";  // an EAN-13 code
      needed = TextPixels(inner, barCode ? L"7791234000011" : L"Inmobiliaria del Sur") + border;
    } else if (lstrcmpiW(kind, L"ComboBox") == 0) {
      needed = TextPixels(inner, L"Inmobiliaria del Sur") + GetSystemMetrics(SM_CXVSCROLL) + border;
    } else if (lstrcmpiW(kind, L"SysDateTimePick32") == 0) {
      const bool checkBox = GetWindowLongW(inner, GWL_STYLE) & DTS_SHOWNONE;
      needed = TextPixels(inner, L"28/12/2027") + GetSystemMetrics(SM_CXVSCROLL) + border +
               (checkBox ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0);
    } else {
      continue;
    }
    const int width = control.visible.right - control.visible.left;
    if (width < needed)
      narrow.push_back(control.name + L" " + std::to_wstring(width) + L" < " + std::to_wstring(needed));
  }
  return narrow;
}

void ExpectLaidOut(HWND screen, const Intended& intended) {
  const std::vector<Shown> shown = ShownControls(screen);
  EXPECT_EQ(Overlaps(shown, intended), Texts{});
  EXPECT_EQ(NarrowEditors(shown), Texts{});
}

std::wstring SizeText(const HostSize& size) { return std::to_wstring(size.width) + L"x" + std::to_wstring(size.height); }

// The screen's fixed texts as "name: caption" for the named captions, then "key: tool
// tip" for every toolbar button in order (a divider as ": "), then the report menu's items.
Texts FixedTexts(Form& screen, const hosted::Toolbar& bar, std::initializer_list<const wchar_t*> names) {
  Texts texts;
  for (const wchar_t* name : names) {
    Control* control = screen.FindControl(name);
    std::wstring caption = L"<none>";
    if (auto* label = dynamic_cast<hosted::Label*>(control)) caption = label->Caption();
    if (auto* frame = dynamic_cast<hosted::Frame*>(control)) caption = frame->Caption();
    if (auto* button = dynamic_cast<hosted::CommandButton*>(control)) caption = button->Caption();
    texts.push_back(std::wstring(name) + L": " + caption);
  }
  for (int i = 1; i <= bar.ButtonCount(); ++i) texts.push_back(bar.Key(i) + L": " + bar.ToolTipText(i));
  for (const MenuItem& item : ReportMenu()) texts.push_back(L"menu: " + item.caption);
  return texts;
}

const Texts kComboCaptions = {L"lblCategoriaId: Categoría", L"lblSubCategoriaId: Sub-Categoría",
                              L"lblGerenciaId: Gerencia", L"lblTipoDocumentoId: Tipo Documento",
                              L"lblCBarra: C.Barra", L"lblReferenciaId: Referencia", L"lblFecha: Fecha"};
const Texts kViewKeys = {L"BTN_FIT: Ajustar a la Página", L"BTN_ZIN: Zoom ++", L"BTN_ZOU: Zoom --",
                         L"BTN_Z11: Tamaño Original", L"BTN_PAN: Vista Panorámica", L": ",
                         L"BTN_RT1: Rotar Imagen", L"BTN_RT2: Rotar Imagen", L": ", L"BTN_REP: ", L": ",
                         L"menu: Vista Previa del Informe", L"menu: Imprimir Informe por Impresora"};
Texts Joined(std::initializer_list<Texts> parts) {
  Texts all;
  for (const Texts& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The document types of the sample data, each with its own field editors.
constexpr const wchar_t* kTypes[] = {L"1", L"2", L"3", L"5"};

// The screen at every host size, first with the editors placed before the resize, then
// with each document type's editors placed; a picture of it with one type at each size.
struct Picture {
  const wchar_t* name;
  const wchar_t* type;
};
void ExpectLaidOutAtEverySize(const test::ScreenHost& host, DocumentScreen& screen, const Intended& intended,
                              const Picture& picture) {
  for (const HostSize& size : kSizes) {
    host.SetClientSize(size.width, size.height);
    screen.Form_Resize();
    test::Pump();
    {
      SCOPED_TRACE(SizeText(size) + L" with the editors placed before the resize");
      ExpectLaidOut(screen.hwnd(), intended);
    }
    for (const wchar_t* type : kTypes) {
      SCOPED_TRACE(SizeText(size) + L" type " + type);
      ASSERT_TRUE(test::PickComboItem(host.hwnd, L"cboTipoDocumentoId", type));
      test::Pump();
      ExpectLaidOut(screen.hwnd(), intended);
      if (std::wstring(type) == picture.type) {
        const std::wstring file = test::BinFolder() + L"\\" + picture.name + SizeText(size) + L".bmp";
        EXPECT_TRUE(SaveWindowPicture(screen.hwnd(), file));
      }
    }
  }
}

// --- the maintenance screen ---

class AbmLayoutTest : public test::ScreenTest<capture::FDocumentosABM> {
 protected:
  AbmLayoutTest() : ScreenTest(L"VkAbmLayout", L"ADM") {}
  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = L"VkAbmLayout";
    Shared().gIsAdmin = true;
    const std::wstring image = test::FreshFolder(L"abm_layout") + L"\\00000000000000000001.bmp";
    ASSERT_TRUE(test::WriteSamplePage(image, test::ImageFormat::Bmp, 120, 160));
    Sql(L"Update Documentos Set Path = '" + image + L"' Where DocumentoId = 1");
  }
  ScopedPicker picker_{[](const std::wstring&, const std::wstring&) { return Variant(1L); }};
};

TEST_F(AbmLayoutTest, NothingOverlapsAndEveryEditorShowsItsValueAtTheDesignSizeAndLarger) {
  Open();
  test::ClickToolbarButton(host_.hwnd, L"TBarMain", L"BTN_FIN");
  ExpectLaidOutAtEverySize(host_, *screen_, [](const Shown&, const Shown&) { return false; },
                           {L"abm_screen_layout_", L"2"});
}

TEST_F(AbmLayoutTest, CaptionsAndToolTips) {
  Open();
  const Texts expected = Joined(
      {kComboCaptions,
       {L"VkImageMain: Imagen Seleccionada", L"BTN_KIL: Salir", L": ", L"BTN_SAV: Grabar Documento",
        L"BTN_VAL: Validar Catalogación", L"BTN_DEL: Eliminar Imágen", L": ", L"BTN_FIN: Buscar Documentos", L": "},
       kViewKeys});
  EXPECT_EQ(FixedTexts(*screen_, *C().TBarMain,
                       {L"lblCategoriaId", L"lblSubCategoriaId", L"lblGerenciaId", L"lblTipoDocumentoId",
                        L"lblCBarra", L"lblReferenciaId", L"lblFecha", L"VkImageMain"}),
            expected);
}

// --- the cataloguing screen ---

class IndexLayoutTest : public test::ScreenTest<capture::FDocumentosIndex> {
 protected:
  IndexLayoutTest() : ScreenTest(L"VkIndexLayout", L"CAT") {}
  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = L"VkIndexLayout";
    Shared().gPathOrigen = test::FreshFolder(L"index_layout_source");
    Shared().gPathDestino = test::FreshFolder(L"index_layout_store");
    Shared().gLoadMax = 99;
    for (const wchar_t* name : {L"\\a.jpg", L"\\b.jpg", L"\\c.jpg", L"\\d.jpg"})
      ASSERT_TRUE(test::WriteSamplePage(Shared().gPathOrigen + name, test::ImageFormat::Jpg, 160, 226));
  }
};

TEST_F(IndexLayoutTest, NothingOverlapsAndEveryEditorShowsItsValueAtTheDesignSizeAndLarger) {
  // A thumbnail's state icon sits on its corner by design.
  const Intended stateIconOnItsThumbnail = [](const Shown& a, const Shown& b) {
    auto onThumbnail = [](const Shown& icon, const Shown& other) {
      if (icon.name.rfind(L"PSlideState(", 0) != 0) return false;
      const std::wstring slide = L"PSlide(" + icon.name.substr(12);
      for (HWND w = other.window; w; w = GetParent(w))
        if (VkNameOf(w) == slide) return true;
      return false;
    };
    return onThumbnail(a, b) || onThumbnail(b, a);
  };
  Open();
  test::ClickToolbarButton(host_.hwnd, L"TBarMain", L"BTN_FIN");
  test::Click(FindVkWindow(host_.hwnd, L"PSlideState(0)"), 5, 5);
  ExpectLaidOutAtEverySize(host_, *screen_, stateIconOnItsThumbnail, {L"index_screen_layout_", L"5"});
}

TEST_F(IndexLayoutTest, CaptionsAndToolTips) {
  Open();
  const Texts expected = Joined(
      {kComboCaptions,
       {L"VkImageFrame: Imagen Seleccionada", L"VkImageMain: Imagen Seleccionada", L"VkImageSlide: Imagenes",
        L"cmdAceptar: &Aceptar", L"BTN_KIL: Salir", L": ", L"BTN_SAV: Grabar Documento",
        L"BTN_VAL: Validar Catalogación", L": ", L"BTN_FIN: Buscar Documentos", L": "},
       kViewKeys});
  EXPECT_EQ(FixedTexts(*screen_, *C().TBarMain,
                       {L"lblCategoriaId", L"lblSubCategoriaId", L"lblGerenciaId", L"lblTipoDocumentoId",
                        L"lblCBarra", L"lblReferenciaId", L"lblFecha", L"VkImageFrame", L"VkImageMain",
                        L"VkImageSlide", L"cmdAceptar"}),
            expected);
}

}  // namespace
