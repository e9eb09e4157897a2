// The report preview in real windows: a document list rendered the way the list
// screens render it, shown modally over a screen docked in a host window; a saved
// report shown by ReportPrint; the host's window given back on every way out.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/variant.h"
#include "consult/report_preview.h"
#include "hosted/grid/grid_control.h"
#include "hosted/window_driver.h"
#include "screen_kit/shared_functions.h"
#include "support/error_of.h"

namespace vk::consult {
namespace {

// A list screen docked in a host window, with a document grid whose paths are hidden.
struct DockedList {
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                              nullptr, nullptr, nullptr);
  std::shared_ptr<test::TestForm> screen = Form::Load<test::TestForm>(9600.0, 7200.0);
  grid::GridControl& grid = screen->Add<grid::GridControl>(test::At(0, 0, 9000, 6000, L"GRDetail"));
  explicit DockedList(int rows) {
    screen->DockInto(host);
    screen->Show();
    grid.Columns().Add(L"Documento");
    grid.Columns().Add(L"Path").Hidden = true;
    grid.SetDataRowCount(rows);
    for (int r = 0; r < rows; ++r) {
      grid.SetValue(r, 0, Variant(L"factura" + std::to_wstring(r) + L".tif"));
      grid.SetValue(r, 1, Variant(L"C:\\Store\\oculto" + std::to_wstring(r) + L".tif"));
    }
  }
  ~DockedList() {
    screen->Unload();
    DestroyWindow(host);
  }
};

TEST(ReportPreview, TheListReportHasItsPagesHeaderAndFooterAndLeavesHiddenColumnsOut) {
  DockedList list(150);
  FixedClock clock(MakeDate(2026, 12, 7, 10, 15, 0));
  ClockScope fixed(clock);
  grid::ReportDocument shown;
  std::wstring caption;
  bool hostDisabled = false;
  auto poke = test::ActWhenShown(L"FPrintReport", [&](Form& preview) {
    shown = static_cast<FPrintReport&>(preview).ARVPrint().Document();
    caption = preview.caption();
    hostDisabled = !IsWindowEnabled(list.host);
  });
  ShowListReport(list.grid, list.screen->hwnd());
  EXPECT_EQ(caption, L"Documentación Recibida");
  EXPECT_TRUE(hostDisabled && IsWindowEnabled(list.host));
  EXPECT_EQ(list.grid.Print().Viewer, nullptr);  // nothing points at the viewer that went
  ASSERT_GE(shown.pages.size(), 2u);
  const std::wstring footer = L"[ Reporte Emitido por el Usuario : " + GetUserNameNT() + L" el día " +
                              FormatDate(clock.Now(), L"dd/mm/yyyy") + L" a las 10" + RegionalTimeSeparator() + L"15";
  std::wstring firstPage;
  for (const auto& item : shown.pages[0].items) firstPage += item.text + L"\n";
  EXPECT_NE(firstPage.find(L" el día 07/12/2026 a las "), std::wstring::npos) << "the year in four digits";
  for (size_t p = 0; p < shown.pages.size(); ++p) {
    std::wstring all = L"\n";
    for (const auto& item : shown.pages[p].items) all += item.text + L"\n";
    EXPECT_NE(all.find(L"\nDocumentación Recibida\n"), std::wstring::npos) << p;
    EXPECT_NE(all.find(L"Página " + std::to_wstring(p + 1) + L" de " + std::to_wstring(shown.pages.size())), all.npos);
    EXPECT_NE(all.find(L"\n" + footer), std::wstring::npos) << all.substr(all.find(L"[ Reporte"), 90);
    EXPECT_EQ(all.find(L"oculto"), std::wstring::npos) << p;
  }
}

TEST(ReportPreview, ReportPrintShowsASavedReportAtItsSizeAndAMissingOneRaises) {
  DockedList list(60);
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"lista.vkr";
  auto preview = Form::Load<FPrintReport>();
  SetListReportSettings(list.grid.Print(), preview->ARVPrint());
  list.grid.PrintPreview();
  preview->ARVPrint().SaveFile(file);
  const std::string saved = preview->ARVPrint().Document().Serialize();
  preview->ARVPrint().SetDocument({});
  std::string seen;
  std::wstring caption;
  RECT window{}, client{}, viewer{};
  auto poke = test::ActWhenShown(L"FPrintReport", [&](Form& p) {
    seen = preview->ARVPrint().Document().Serialize();
    caption = p.caption();
    GetWindowRect(p.hwnd(), &window);
    GetClientRect(p.hwnd(), &client);
    GetWindowRect(preview->ARVPrint().hwnd(), &viewer);
    MapWindowPoints(nullptr, p.hwnd(), reinterpret_cast<POINT*>(&viewer), 2);
  });
  preview->ReportPrint(L"Informe guardado", file, list.screen->hwnd());
  EXPECT_EQ(caption, L"Informe guardado");
  EXPECT_EQ(seen, saved);
  EXPECT_NEAR(window.right - window.left, GetSystemMetrics(SM_CXSCREEN) * 0.6, 1);
  EXPECT_NEAR(window.bottom - window.top, GetSystemMetrics(SM_CYSCREEN) * 0.4, 1);
  EXPECT_TRUE(EqualRect(&viewer, &client));

  auto missing = Form::Load<FPrintReport>();
  EXPECT_EQ(test::ErrorOf([&] { missing->ReportPrint(L"x", file + L".no", list.screen->hwnd()); }), err::FileNotFound);
  EXPECT_FALSE(missing->visible());
  EXPECT_TRUE(IsWindowEnabled(list.host));
  missing->Unload();
  DeleteFileW(file.c_str());
}

TEST(ReportPreview, EscCloses) {
  DockedList list(10);
  bool closed = false;
  auto poke = test::ActWhenShown(L"FPrintReport", [&](Form& preview) {
    PostMessageW(GetFocus() ? GetFocus() : preview.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);  // through its loop
    test::Pump();
    closed = !preview.loaded();
  });
  ShowListReport(list.grid, list.screen->hwnd());
  EXPECT_TRUE(closed);
}

// A dialog never outlives the screen that opened it (the same rule holds for the
// editor and the layout dialog: it lives in the modal loop of every form).
TEST(ReportPreview, ClosesWithItsScreenAndGivesTheHostBack) {
  DockedList list(10);
  bool closed = false;
  auto poke = test::ActWhenShown(L"FPrintReport", [&](Form& preview) {
    list.screen->Unload();  // the host closes the screen under the preview
    closed = !preview.loaded();
  });
  ShowListReport(list.grid, list.screen->hwnd());
  EXPECT_TRUE(closed && IsWindowEnabled(list.host));
}

}  // namespace
}  // namespace vk::consult
