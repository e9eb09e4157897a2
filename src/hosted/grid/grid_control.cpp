#include "hosted/grid/grid_control.h"

namespace vk::grid {

GridControl::~GridControl() { DropWindow(); }

HWND GridControl::CreateWindowIn(HWND parent, const RECT& pixels) {
  return MakeWindow(parent, pixels, false);  // the control base shows it
}

}  // namespace vk::grid
