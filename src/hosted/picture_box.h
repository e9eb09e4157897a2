#pragma once
// The picture box: shows a picture (a bitmap it owns) at its top-left corner. A picture
// can be taken from another picture box, which keeps its own.
#include <string>

#include "hosted/form_control.h"

namespace vk::hosted {

class PictureBox : public FormControl {
 public:
  PictureBox(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  ~PictureBox() override;
  HBITMAP Picture() const { return picture_; }
  // Takes ownership of bitmap (nullptr clears the picture).
  void SetPicture(HBITMAP bitmap);
  // Shows a copy of other's picture (none when other has none).
  void CopyPictureFrom(const PictureBox& other);
  // Loads an image file at its own size (ImageViewer's rules for bad files).
  void LoadPicture(const std::wstring& path);

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;

 private:
  HBITMAP picture_ = nullptr;  // owned
};

}  // namespace vk::hosted
