#include "consult/report_preview.h"

#include <cmath>

#include "base/clock.h"
#include "base/steps.h"
#include "base/variant.h"
#include "runtime/twips.h"
#include "screen_kit/shared_functions.h"

namespace vk::consult {
namespace {

constexpr wchar_t kReportTitle[] = L"Documentación Recibida";

}  // namespace

FPrintReport::FPrintReport()
    : Form({.name = L"FPrintReport", .caption = L"", .scaleWidth = 12000, .scaleHeight = 9000}) {
  viewer_ = &Add<grid::ReportViewer>({.name = L"ARVPrint", .width = 12000, .height = 9000});
  Resize.Connect([this] { Form_Resize(); });
}

void FPrintReport::Form_Resize() {
  IgnoreErrors([this] { viewer_->Move(0, 0, scaleWidth(), scaleHeight()); });
}

void FPrintReport::ReportPrint(const std::wstring& caption, const std::wstring& fileName, HWND owner) {
  setCaption(caption);
  viewer_->LoadFile(fileName);
  const double screenWidth = PixelsToTwips(GetSystemMetrics(SM_CXSCREEN));
  const double screenHeight = PixelsToTwips(GetSystemMetrics(SM_CYSCREEN));
  const double w = screenWidth * 0.6, h = screenHeight * 0.4;
  Move((screenWidth - w) / 2, (screenHeight - h) / 2, w, h);
  Show(ShowMode::Modal, owner);
}

void SetListReportSettings(grid::PrintSettings& print, grid::ReportViewer& viewer) {
  viewer.SetOption(2);
  const DATE now = Now();
  print = grid::PrintSettings{
      .MarginLeft = 300,
      .MarginTop = 400,
      .MarginRight = 400,
      .MarginBottom = 400,
      .PageHeaderHeight = 750,
      .PageFooterHeight = 750,
      .PageHeader = kReportTitle,
      .PageHeaderStyle = {.fontName = L"Verdana", .fontSize = 10, .bold = true, .foreColor = 4925975, .alignment = 7},
      .PageFooter = L"[ Reporte Emitido por el Usuario : " + GetUserNameNT() + L" el día " +
                    FormatDate(now, L"dd/mm/yyyy") + L" a las " + DateToText(now - std::trunc(now)) + L" ]",
      .PageFooterStyle = {.fontName = L"Verdana", .fontSize = 9, .foreColor = 0, .alignment = 7, .option = 1},
      // One copy; column headers on every page, grid lines, group rows and page
      // numbers; neither hidden columns nor landscape.
      .Copies = 1,
      .RepeatColumnHeaders = true,
      .PrintGridLines = true,
      .PrintGroupRows = true,
      .ShowPageNumbers = true,
      .PrintHiddenColumns = false,
      .Landscape = false,
      .Viewer = &viewer,
  };
}

void ShowListReport(grid::GridMembers& list, HWND owner) {
  auto preview = Form::Load<FPrintReport>();
  // However it ends, the preview goes and the grid no longer points at its viewer.
  struct UnloadAtEnd {
    grid::GridMembers& list;
    FPrintReport& form;
    ~UnloadAtEnd() {
      if (list.Print().Viewer == &form.ARVPrint()) list.Print().Viewer = nullptr;
      IgnoreErrors([this] { form.Unload(); });
    }
  } unloadAtEnd{list, *preview};
  preview->setCaption(kReportTitle);
  SetListReportSettings(list.Print(), preview->ARVPrint());
  list.PrintPreview();
  preview->Show(ShowMode::Modal, owner);
}

}  // namespace vk::consult
