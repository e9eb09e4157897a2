#pragma once
// The image viewer control: shows the image file named by FilePath after Load, either
// fitted to the window or at a zoom factor (1 = the image's own size) with scroll bars.
// It keeps only the shown part of the picture (with a margin of one window on each
// side where it scrolls), decoded at the shown size; zooming or resizing, or scrolling
// past that band, decodes again from the file. Scroll bars and the mouse wheel move a
// picture larger than the window.
// A setting lays the window out at once (the scroll bars and their ranges), but a bar
// and the frame are only touched when they change: the platform draws themed bars
// slowly, and a load of a page like the one shown leaves them as they are.
// Not handled yet: dragging the picture with the mouse, multi-page tif (page 1 only).
#include <string>

#include "hosted/form_control.h"
#include "hosted/image_decoder.h"
#include "runtime/gdi_object.h"

namespace vk::hosted {

class ImageViewer : public FormControl {
 public:
  ImageViewer(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  ~ImageViewer() override;

  const std::wstring& FilePath() const { return path_; }
  void SetFilePath(std::wstring path) { path_ = std::move(path); }
  // Shows the file named by FilePath. A missing file raises 53, a file that is not an
  // image it knows 481; the viewer is then empty.
  void Load();

  bool FitToWindow() const { return fit_; }
  void SetFitToWindow(bool fit);
  double Zoom() const { return zoom_; }
  // A zoom factor above 0; anything else raises 380.
  void SetZoom(double zoom);

  bool HasImage() const { return image_.width > 0; }
  PixelSize ImageSize() const { return image_; }
  // The size the whole image is shown at, and the size of the part held in memory.
  PixelSize ShownSize() const;
  PixelSize HeldSize();
  // Which part of the shown picture is held, in shown pixels.
  RECT HeldPart();
  POINT ScrollPosition() const { return scroll_; }

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnResized(int width, int height) override;
  DWORD ExtraStyle() const override { return WS_HSCROLL | WS_VSCROLL; }

 private:
  PixelSize ClientSize() const;
  // The client area the window has without scroll bars (a fitted picture has none).
  PixelSize ClientSizeWithoutBars() const;
  // Scroll ranges, then a fresh decode; a scroll keeps the decoded band while it still
  // covers the window.
  void Relayout(bool keepBand = false);
  bool BandCoversView() const;
  // Shows or hides a bar and sets its range, page and position, each only when it
  // changes; true when anything changed.
  bool SetBar(int bar, bool show, int max, int page, int position);
  // Decodes the visible part when it is stale and not held already (from `opened`
  // when the caller has the file open).
  void EnsureRendered(const ImageFile* opened = nullptr);
  void ReleaseHeld();
  void Clear();
  void Scroll(int bar, WORD request);

  std::wstring path_;
  std::wstring loaded_;  // the file whose image is shown
  bool fit_ = false;
  double zoom_ = 1.0;
  PixelSize image_;
  POINT scroll_{0, 0};
  GdiObject<HBITMAP> held_;  // the visible part at the shown size
  RECT heldPart_{};
  PixelSize heldShown_;  // the shown size the held part was decoded for
  bool stale_ = true;
  // What each bar (horizontal, vertical) was last given.
  struct Bar {
    bool known = false;
    int max = 0, page = 0, position = 0;
  } bars_[2];
  bool layingOut_ = false;
};

}  // namespace vk::hosted
