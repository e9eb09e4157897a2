#include "hosted/grid/sharp_grid.h"

#include "hosted/grid/report_viewer.h"
#include "runtime/vb_error.h"

namespace vk::grid {

SharpGrid::~SharpGrid() {
  window_.reset();  // before the outer window goes
}

void SharpGrid::OnCreated() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  window_ = std::make_unique<GridWindow>(hwnd(), client, model_);
  inner_ = window_->hwnd();
  // The window's events reach the screen's handlers set on this object, whenever set.
  window_->OnHeadClick = [this](int column) {
    if (HeadClick) HeadClick(column);
  };
  window_->OnDblClick = [this] {
    if (DblClick) DblClick();
  };
  window_->OnMouseUp = [this](int button, int shift, float x, float y) {
    if (MouseUp) MouseUp(button, shift, x, y);
  };
  window_->OnRowSelected = [this] {
    if (RowSelected) RowSelected();
  };
}

void SharpGrid::LayoutColumns(int first, int last) {
  if (first < 0 || last < first || last >= model_.Columns().Count())
    throw VbError{err::SubscriptOutOfRange, kGridSource,
                  L"No columns " + std::to_wstring(first) + L" to " + std::to_wstring(last)};
  model_.Refresh(1);
}

void SharpGrid::SetRedraw(bool on) {
  model_.Redraw = on;
  if (on) model_.Refresh(1);
}

void SharpGrid::PrintPreview() {
  if (!print_.Viewer) throw VbError{err::ObjectNotSet, kGridSource, L"The print settings name no report viewer"};
  print_.Viewer->SetDocument(RenderGridReport(model_, print_));
}

}  // namespace vk::grid
