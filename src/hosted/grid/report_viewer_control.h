#pragma once
// The report viewer as a control of the runtime's forms (the preview dialog's ARVPrint):
//
//   auto& arv = form.Add<ReportViewerControl>({.name = L"ARVPrint", .width = 9000, .height = 6000});
//   grid.Print().Viewer = &arv.Viewer();  grid.PrintPreview();
#include "hosted/grid/report_viewer.h"
#include "runtime/control.h"

namespace vk::grid {

class ReportViewerControl : public Control {
 public:
  ReportViewerControl(Form& form, ControlArgs args) : Control(form, std::move(args)) {}
  ReportViewer& Viewer() { return viewer_; }

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& pixels) override;

 private:
  ReportViewer viewer_;
};

}  // namespace vk::grid
