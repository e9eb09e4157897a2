#include "hosted/picture_box.h"

#include "hosted/image_decoder.h"
#include "runtime/select_guard.h"

namespace vk::hosted {

void PictureBox::SetPicture(HBITMAP bitmap) {
  picture_.reset(bitmap);
  if (outer_) InvalidateRect(outer_, nullptr, TRUE);
}

void PictureBox::CopyPictureFrom(const PictureBox& other) {
  SetPicture(other.picture_ ? static_cast<HBITMAP>(CopyImage(other.picture_.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                            : nullptr);
}

std::unique_ptr<Control> PictureBox::Clone(Form& form, const ControlArgs& args) const {
  auto copy = std::make_unique<PictureBox>(form, args);
  copy->CopyPictureFrom(*this);
  copy->Click.CopyHandlersFrom(Click);
  return copy;
}

bool PictureBox::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second press is a click too
      pressed_ = true;
      SetCapture(outer_);
      result = 0;
      return true;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      if (GetCapture() == outer_) ReleaseCapture();
      RECT client{};
      GetClientRect(outer_, &client);
      const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (wasPressed && PtInRect(&client, at)) Click.Raise(index());
      result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return false;
    default:
      return false;
  }
}

void PictureBox::LoadPicture(const std::wstring& path) {
  PixelSize size = ReadImageSize(path);
  SetPicture(DecodeScaled(path, size, RECT{0, 0, size.width, size.height}));
}

void PictureBox::Paint(HDC dc) {
  RECT client{};
  GetClientRect(outer_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!picture_) return;
  BITMAP info{};
  GetObjectW(picture_.get(), sizeof info, &info);
  MemoryDc memory(CreateCompatibleDC(dc));
  SelectGuard shown(memory.get(), picture_.get());
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace vk::hosted
