#pragma once
// The grid as a hosted control: an outer window with the extender properties (position
// in twips, Visible, Tag, Container) holding the grid window, with every grid member.
//
//   SharpGrid grid;  grid.Create(parentWindow, 120, 900, 11430, 4365);
//   grid.Columns().Add(L"CategoriaId").Caption = L"Categoría";
//   grid.HeadClick.Connect([&](int column) { ... });
#include "hosted/grid/grid_members.h"
#include "hosted/hosted_control.h"

namespace vk::grid {

class SharpGrid : public hosted::HostedControl, public GridMembers {
 public:
  SharpGrid() = default;
  ~SharpGrid() override;

 protected:
  void OnCreated() override;
};

}  // namespace vk::grid
