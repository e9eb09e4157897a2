#include "hosted/grid/grid_members.h"

#include "base/vb_error.h"
#include "hosted/grid/report_viewer.h"

namespace vk::grid {

GridMembers::~GridMembers() = default;

Variant GridMembers::CellValue(int dataRow, const std::wstring& key) const {
  return Variant(model_.CellValue(dataRow, key).get());
}

Variant GridMembers::CellValue(int dataRow, int position) const {
  return Variant(model_.CellValue(dataRow, position).get());
}

void GridMembers::SetCellValue(int dataRow, const std::wstring& key, const Variant& value) {
  model_.SetCellValue(dataRow, key, GridValue(value.get()));
}

void GridMembers::SetCellValue(int dataRow, int position, const Variant& value) {
  model_.SetCellValue(dataRow, position, GridValue(value.get()));
}

HWND GridMembers::MakeWindow(HWND parent, const RECT& pixels, bool visible) {
  window_ = std::make_unique<GridWindow>(parent, pixels, model_, visible);
  window_->OnHeadClick = [this](int column) { HeadClick.Raise(column); };
  window_->OnDblClick = [this] { DblClick.Raise(); };
  window_->OnRowSelected = [this] { RowSelected.Raise(); };
  window_->OnMouseUp = [this](int button, int shift, float x, float y) { MouseUp.Raise(button, shift, x, y); };
  return window_->hwnd();
}

void GridMembers::LayoutColumns(int first, int last) {
  if (first < 0 || last < first || last >= model_.Columns().Count())
    throw VbError{err::SubscriptOutOfRange, kGridSource,
                  L"No columns " + std::to_wstring(first) + L" to " + std::to_wstring(last)};
  model_.Refresh(1);
}

void GridMembers::SetRedraw(bool on) {
  model_.Redraw = on;
  if (on) model_.Refresh(1);
}

void GridMembers::SetReadOnly(bool on) {
  model_.ReadOnly = on;
  if (on && window_) window_->EndEdit(true);
}

void GridMembers::PrintPreview() {
  if (!print_.Viewer) throw VbError{err::ObjectNotSet, kGridSource, L"The print settings name no report viewer"};
  print_.Viewer->SetDocument(RenderGridReport(model_, print_));
}

}  // namespace vk::grid
