#pragma once
// FPrintReport: the modal window in which a report is shown. It holds one report
// viewer, ARVPrint, over its whole client area. A list screen renders its grid into
// the viewer and shows the window (ShowListReport does it all); ReportPrint shows a
// saved report file.
//
//   auto preview = vk::Form::Load<vk::consult::FPrintReport>();
//   preview->setCaption(L"Documentación Recibida");
//   grid.Print().Viewer = &preview->ARVPrint();
//   grid.PrintPreview();
//   preview->Show(vk::ShowMode::Modal, screenHwnd);   // the host is given back enabled
//   preview->Unload();
//
// Modal over the top-level window of the screen that opens it, which comes back
// enabled however the preview ends; it closes when that screen closes.
#include <string>

#include "hosted/grid/grid_members.h"
#include "hosted/grid/report_viewer.h"
#include "runtime/form.h"

namespace vk::consult {

class FPrintReport : public Form {
 public:
  FPrintReport();

  grid::ReportViewer& ARVPrint() { return *viewer_; }

  // The caption becomes `caption`, the viewer loads the saved report `fileName` (a file
  // it cannot read raises, and nothing is shown), the window takes 60 % of the screen's
  // width and 40 % of its height and is shown modally over `owner`.
  void ReportPrint(const std::wstring& caption, const std::wstring& fileName, HWND owner = nullptr);

 private:
  void Form_Resize();

  grid::ReportViewer* viewer_ = nullptr;
};

// The document lists' report: the grid's print settings get the list report's page
// layout, the header "Documentación Recibida" and a footer naming the Windows user and
// the moment of printing (the clock's Now), and point at `viewer`.
void SetListReportSettings(grid::PrintSettings& print, grid::ReportViewer& viewer);

// The document lists' report preview: a new FPrintReport captioned "Documentación
// Recibida", `list` rendered into it with SetListReportSettings, shown modally over
// `owner` (the screen's window), then unloaded. Raises what the grid or the viewer
// raise; the owner's window is enabled again on every path.
void ShowListReport(grid::GridMembers& list, HWND owner);

}  // namespace vk::consult
