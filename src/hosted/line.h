#pragma once
// The line control: a straight line between two points of its container, (X1, Y1) and
// (X2, Y2) in twips, drawn BorderWidth pixels thick in BorderColor. It takes no input:
// clicks go to whatever lies under it. Its window covers the line's bounds, so a
// slanting line also hides the controls inside that rectangle (the screens draw only
// level and upright lines).
#include "hosted/form_control.h"
#include "runtime/ole_color.h"

namespace vk::hosted {

struct LinePoints {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips of the container
};

class Line : public FormControl {
 public:
  // The bounds in args are taken from the points.
  Line(Form& form, ControlArgs args, LinePoints points);

  const LinePoints& Points() const { return points_; }
  void SetPoints(LinePoints points);
  double X1() const { return points_.x1; }
  double Y1() const { return points_.y1; }
  double X2() const { return points_.x2; }
  double Y2() const { return points_.y2; }
  void SetX1(double twips) { SetPoints({twips, points_.y1, points_.x2, points_.y2}); }
  void SetX2(double twips) { SetPoints({points_.x1, points_.y1, twips, points_.y2}); }

  OleColor BorderColor() const { return color_; }
  void SetBorderColor(OleColor color);
  int BorderWidth() const { return thickness_; }
  // 1 or more pixels; anything else raises 380.
  void SetBorderWidth(int pixels);

 protected:
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  // Drawn by itself; lets every click through to what lies under it.
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  static ControlArgs Bounds(ControlArgs args, const LinePoints& points, int thickness);
  void Place();

  LinePoints points_;
  OleColor color_ = 0x80000008;  // the window text colour
  int thickness_ = 1;
};

}  // namespace vk::hosted
