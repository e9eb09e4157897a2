#pragma once
// The grid as a control of the runtime's forms, placed like any other control:
//
//   auto& grid = form.Add<GridControl>({.name = L"GRDetail", .left = 200, .top = 500,
//                                       .width = 9000, .height = 4000});
//   grid.RowSelected.Connect([&] { ... });
// Its window is made when the form's window is; the members work before that.
#include "hosted/grid/grid_members.h"
#include "runtime/control.h"

namespace vk::grid {

class GridControl : public Control, public GridMembers {
 public:
  GridControl(Form& form, ControlArgs args) : Control(form, std::move(args)) {}
  ~GridControl() override;

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& pixels) override;
};

}  // namespace vk::grid
