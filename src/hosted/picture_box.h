#pragma once
// The picture box: shows a picture (a bitmap it owns) at its top-left corner. A picture
// can be taken from another picture box, which keeps its own. The screens use picture
// boxes as buttons (Click) and as elements of control arrays (a clone shows a copy of
// element 0's picture and raises element 0's Click handlers with its own index).
#include <string>

#include "hosted/form_control.h"
#include "runtime/event.h"
#include "runtime/gdi_object.h"

namespace vk::hosted {

class PictureBox : public FormControl {
 public:
  PictureBox(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  HBITMAP Picture() const { return picture_.get(); }
  // Takes ownership of bitmap (nullptr clears the picture).
  void SetPicture(HBITMAP bitmap);
  // Shows a copy of other's picture (none when other has none).
  void CopyPictureFrom(const PictureBox& other);
  // Loads an image file at its own size (ImageViewer's rules for bad files).
  void LoadPicture(const std::wstring& path);

  // A left press and release over the box; the element's index (-1 outside an array).
  Event<int> Click;

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;

 private:
  GdiObject<HBITMAP> picture_;
  bool pressed_ = false;  // the left button went down over the box
};

}  // namespace vk::hosted
