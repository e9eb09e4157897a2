// The report preview in real windows: a document list rendered the way the list
// screens render it (pages, header, footer under a fixed clock, hidden columns left
// out) shown modally over a screen docked in a host window, a saved report shown by
// ReportPrint, and the host's window given back on every way out.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "consult/report_preview.h"
#include "host/shared_functions.h"
#include "hosted/grid/grid_control.h"
#include "hosted/window_driver.h"
#include "runtime/clock.h"
#include "runtime/timer.h"
#include "runtime/twips.h"
#include "runtime/variant.h"
#include "support/error_of.h"

namespace {

using namespace vk;

// A list screen docked in a host window, with a document grid of `rows` rows.
struct DockedList {
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                              nullptr, nullptr, nullptr);
  std::shared_ptr<test::TestForm> screen = Form::Load<test::TestForm>(9600.0, 7200.0);
  grid::GridControl& grid = screen->Add<grid::GridControl>(test::At(0, 0, 9000, 6000, L"GRDetail"));

  explicit DockedList(int rows) {
    screen->DockInto(host);
    screen->Show();
    for (const wchar_t* key : {L"DocumentoId", L"Documento", L"Path"}) grid.Columns().Add(key).Caption = key;
    grid.Columns().Item(L"Path").Caption = L"Ruta oculta";
    grid.Columns().Item(L"Path").Hidden = true;
    grid.SetDataRowCount(rows);
    for (int r = 0; r < rows; ++r) {
      grid.SetValue(r, 0, Variant(long(r + 1)));
      grid.SetValue(r, 1, Variant(L"factura" + std::to_wstring(r + 1) + L".tif"));
      grid.SetValue(r, 2, Variant(L"C:\\Store\\secret" + std::to_wstring(r + 1) + L".tif"));
    }
  }
  ~DockedList() {
    screen->Unload();
    DestroyWindow(host);
  }
};

// Runs `act` with the preview once it is up, then closes what is still open.
void WhilePreviewIsUp(const std::function<void(FPrintReport&)>& act, Timer& poke) {
  poke.Tick.Connect([&poke, act] {
    auto form = FindLoadedForm(L"FPrintReport");
    if (!form || !form->visible()) return;
    poke.setEnabled(false);
    act(static_cast<FPrintReport&>(*form));
    if (form->loaded()) PostMessageW(form->hwnd(), WM_CLOSE, 0, 0);
  });
}

std::wstring TempFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetTempPathW(MAX_PATH, path);
  return std::wstring(path, n > 0 && path[n - 1] == L'\\' ? n - 1 : n);
}

std::vector<std::wstring> TextsOf(const grid::ReportPage& page) {
  std::vector<std::wstring> texts;
  for (const auto& item : page.items)
    if (item.kind == grid::ReportItem::kText) texts.push_back(item.text);
  return texts;
}

bool Holds(const std::vector<std::wstring>& texts, const std::wstring& wanted) {
  return std::find(texts.begin(), texts.end(), wanted) != texts.end();
}

TEST(ReportPreview, TheListReportHasItsPagesHeaderAndFooterAndLeavesHiddenColumnsOut) {
  DockedList list(150);
  FixedClock clock(MakeDate(2026, 12, 7, 10, 15, 0));
  ClockScope fixed(clock);
  grid::ReportDocument shown;
  std::wstring caption;
  bool hostDisabled = false;
  int viewerOption = 0;
  Timer poke(20);
  WhilePreviewIsUp(
      [&](FPrintReport& preview) {
        shown = preview.ARVPrint().Document();
        caption = preview.caption();
        hostDisabled = !IsWindowEnabled(list.host);
        viewerOption = preview.ARVPrint().Option();
      },
      poke);
  ShowListReport(list.grid, list.screen->hwnd());

  EXPECT_EQ(caption, L"Documentación Recibida");
  EXPECT_TRUE(hostDisabled);
  EXPECT_TRUE(IsWindowEnabled(list.host));
  EXPECT_EQ(FindLoadedForm(L"FPrintReport"), nullptr);
  EXPECT_EQ(list.grid.Print().Viewer, nullptr);
  EXPECT_EQ(viewerOption, 2);
  EXPECT_EQ(list.grid.Print().PageFooterStyle.option, 1);
  ASSERT_GE(shown.pages.size(), 2u);
  const std::wstring footerStart =
      L"[ Reporte Emitido por el Usuario : " + GetUserNameNT() + L" el día " + FormatDate(clock.Now(), L"dd/mm/yyyy");
  EXPECT_NE(footerStart.find(L"2026"), std::wstring::npos);
  const std::wstring pages = std::to_wstring(shown.pages.size());
  for (size_t p = 0; p < shown.pages.size(); ++p) {
    const auto texts = TextsOf(shown.pages[p]);
    EXPECT_TRUE(Holds(texts, L"Documentación Recibida")) << p;
    EXPECT_TRUE(Holds(texts, L"Página " + std::to_wstring(p + 1) + L" de " + pages)) << p;
    const auto footer = std::find_if(texts.begin(), texts.end(), [](auto& t) { return t.rfind(L"[ Reporte", 0) == 0; });
    ASSERT_NE(footer, texts.end()) << p;
    EXPECT_EQ(footer->rfind(footerStart + L" a las ", 0), 0u) << *footer;
    EXPECT_NE(footer->find(L"10" + RegionalTimeSeparator() + L"15"), std::wstring::npos) << *footer;
    EXPECT_EQ(footer->substr(footer->size() - 2), L" ]");
    for (const auto& t : texts) EXPECT_EQ(t.find(L"secret"), std::wstring::npos) << t;
    EXPECT_FALSE(Holds(texts, L"Ruta oculta"));
  }
  EXPECT_TRUE(Holds(TextsOf(shown.pages.back()), L"factura150.tif"));
}

TEST(ReportPreview, ReportPrintShowsASavedReportAtItsSize) {
  DockedList list(60);
  const std::wstring file = TempFolder() + L"\\lista.vkr";
  {
    auto renderer = Form::Load<FPrintReport>();
    SetListReportSettings(list.grid.Print(), renderer->ARVPrint());
    list.grid.PrintPreview();
    renderer->ARVPrint().SaveFile(file);
    list.grid.Print().Viewer = nullptr;
    renderer->Unload();
  }
  const grid::ReportDocument saved = grid::ReportDocument::Load(file);

  auto preview = Form::Load<FPrintReport>();
  std::string seen;
  std::wstring caption;
  RECT window{}, client{}, viewer{};
  Timer poke(20);
  WhilePreviewIsUp(
      [&](FPrintReport& p) {
        seen = p.ARVPrint().Document().Serialize();
        caption = p.caption();
        GetWindowRect(p.hwnd(), &window);
        GetClientRect(p.hwnd(), &client);
        GetWindowRect(p.ARVPrint().hwnd(), &viewer);
        MapWindowPoints(nullptr, p.hwnd(), reinterpret_cast<POINT*>(&viewer), 2);
      },
      poke);
  preview->ReportPrint(L"Informe guardado", file, list.screen->hwnd());
  preview->Unload();
  EXPECT_EQ(caption, L"Informe guardado");
  EXPECT_EQ(seen, saved.Serialize());
  EXPECT_NEAR(window.right - window.left, GetSystemMetrics(SM_CXSCREEN) * 0.6, 1);
  EXPECT_NEAR(window.bottom - window.top, GetSystemMetrics(SM_CYSCREEN) * 0.4, 1);
  EXPECT_TRUE(EqualRect(&viewer, &client));
  EXPECT_TRUE(IsWindowEnabled(list.host));

  // A file the viewer cannot read reaches the caller, and nothing was shown.
  auto missing = Form::Load<FPrintReport>();
  EXPECT_EQ(test::ErrorOf([&] { missing->ReportPrint(L"x", file + L".missing", list.screen->hwnd()); }),
            err::FileNotFound);
  EXPECT_FALSE(missing->visible());
  EXPECT_TRUE(IsWindowEnabled(list.host));
  missing->Unload();
  DeleteFileW(file.c_str());
}

TEST(ReportPreview, ClosesWithItsScreenAndGivesTheHostBack) {
  DockedList list(10);
  bool closed = false;
  Timer poke(20);
  WhilePreviewIsUp(
      [&](FPrintReport& preview) {
        list.screen->Unload();  // the host closes the screen under the preview
        closed = !preview.loaded();
      },
      poke);
  ShowListReport(list.grid, list.screen->hwnd());
  EXPECT_TRUE(closed);
  EXPECT_TRUE(IsWindowEnabled(list.host));
}

}  // namespace
