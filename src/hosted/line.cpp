#include "hosted/line.h"

#include <algorithm>
#include <cmath>

#include "base/vb_error.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"

namespace vk::hosted {

Line::Line(Form& form, ControlArgs args, LinePoints points)
    : FormControl(form, Bounds(std::move(args), points, 1)), points_(points) {}

ControlArgs Line::Bounds(ControlArgs args, const LinePoints& points, int thickness) {
  // The pen's thickness past the end points, so a level line is that many pixels high.
  const double pen = thickness * TwipsPerPixel();
  args.left = std::min(points.x1, points.x2);
  args.top = std::min(points.y1, points.y2);
  args.width = std::abs(points.x2 - points.x1) + pen;
  args.height = std::abs(points.y2 - points.y1) + pen;
  return args;
}

void Line::Place() {
  const ControlArgs b = Bounds({}, points_, thickness_);
  Move(b.left, b.top, b.width, b.height);
  if (outer_) InvalidateRect(outer_, nullptr, TRUE);
}

void Line::SetPoints(LinePoints points) {
  points_ = points;
  Place();
}

void Line::SetBorderColor(OleColor color) {
  color_ = color;
  if (outer_) InvalidateRect(outer_, nullptr, TRUE);
}

void Line::SetBorderWidth(int pixels) {
  if (pixels < 1) Raise(err::InvalidPropertyValue, L"Line.BorderWidth");
  thickness_ = pixels;
  Place();
}

void Line::Paint(HDC dc) {
  RECT client{};
  GetClientRect(outer_, &client);
  const COLORREF colour = OleColorToRgb(color_);
  if (points_.x1 == points_.x2 || points_.y1 == points_.y2) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(dc, &client, brush.get());
    return;
  }
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, thickness_, colour));
  SelectGuard guard(dc, pen.get());
  const double left = std::min(points_.x1, points_.x2), top = std::min(points_.y1, points_.y2);
  MoveToEx(dc, TwipsToPixels(points_.x1 - left), TwipsToPixels(points_.y1 - top), nullptr);
  LineTo(dc, TwipsToPixels(points_.x2 - left), TwipsToPixels(points_.y2 - top));
}

bool Line::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_NCHITTEST) return false;
  result = HTTRANSPARENT;
  return true;
}

std::unique_ptr<Control> Line::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<Line>(form, args, points_);
  copy->color_ = color_;
  copy->thickness_ = thickness_;
  copy->Place();
  return copy;
}

}  // namespace vk::hosted
