#include "hosted/grid/sharp_grid.h"

namespace vk::grid {

SharpGrid::~SharpGrid() {
  DropWindow();  // before the outer window goes
}

void SharpGrid::OnCreated() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  inner_ = MakeWindow(hwnd(), client, true);
}

}  // namespace vk::grid
