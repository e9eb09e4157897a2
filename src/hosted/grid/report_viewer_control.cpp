#include "hosted/grid/report_viewer_control.h"

namespace vk::grid {

HWND ReportViewerControl::CreateWindowIn(HWND parent, const RECT& pixels) {
  viewer_.Create(parent, hosted::PixelsToTwips(pixels.left), hosted::PixelsToTwips(pixels.top),
                 hosted::PixelsToTwips(pixels.right - pixels.left), hosted::PixelsToTwips(pixels.bottom - pixels.top));
  // The control base shows the window when the control is visible.
  ShowWindow(viewer_.hwnd(), SW_HIDE);
  return viewer_.hwnd();
}

}  // namespace vk::grid
