#pragma once
// VkAnimatedGif, "Animated Gif Ctl Ver 2.0": plays an animated GIF. The file is
// split into one-image files (gif_frames.h), each loaded as a frame picture; the
// frames are composed on a back buffer the size of the GIF's logical screen
// (disposal, colour-keyed transparency) and copied to the target device context,
// one frame per tick of a timer whose interval follows each frame's delay.
//
// A user control with its own device context, which is the default target. A file
// is read only by LoadGif, which the first paint calls when the stored file name
// was found on reading the stored properties; loading leaves the timer stopped.
//
// Not handled: the Picture and MaskPicture surface properties are stored and given
// back, never drawn (the player draws only frames).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/variant.h"
#include "controls/frame_picture.h"
#include "controls/gif_frames.h"
#include "runtime/event.h"
#include "runtime/gdi_object.h"
#include "runtime/timer.h"
#include "runtime/user_control.h"

namespace vk::controls {

class VkAnimatedGif : public UserControl {
 public:
  VkAnimatedGif(Form& form, ControlArgs args);
  ~VkAnimatedGif() override;

  // Properties.
  HDC hDC() const { return targetDC_; }
  void put_hDC(HDC dc) { targetDC_ = dc; }
  const std::wstring& strGifFileName() const { return fileName_; }
  void put_strGifFileName(const std::wstring& name) { fileName_ = name; }
  OleColor BackColor() const { return backColor_; }
  void put_BackColor(OleColor colour);
  const Variant& Picture() const { return picture_; }
  void put_Picture(const Variant& picture) { picture_ = picture; }
  OleColor MaskColor() const { return maskColor_; }
  void put_MaskColor(OleColor colour) { maskColor_ = colour; }
  const Variant& MaskPicture() const { return maskPicture_; }
  void put_MaskPicture(const Variant& picture) { maskPicture_ = picture; }
  int16_t BorderStyle() const { return borderStyle_; }
  void put_BorderStyle(int16_t style);
  long UserDelay() const { return userDelay_; }
  void put_UserDelay(long milliseconds);
  bool StopRender() const { return stopRender_; }
  void put_StopRender(bool stop) { stopRender_ = stop; }
  bool ChangeTransparentColor() const { return changeTransparentColor_; }
  void put_ChangeTransparentColor(bool change) { changeTransparentColor_ = change; }
  long NumberofFrames() const { return numberOfFrames_; }
  void put_NumberofFrames(long n) { numberOfFrames_ = n; }
  long CurrentFrame() const { return currentFrame_; }
  void put_CurrentFrame(long n) { currentFrame_ = n; }
  bool DisplaySavedGifFileName() const { return displaySaved_; }
  void put_DisplaySavedGifFileName(bool load) { displaySaved_ = load; }

  // Methods.
  void SetBackColor();
  void StartTimer();
  void StopTimer();
  void RenderGif(long ctr);
  void StopGif();
  using UserControl::Refresh;  // repaints now, through the paint handling below
  void LoadGif(bool getFname);
  void PaintGif(long curframe);

  // One tick of the frame timer (Timer1); also called directly by tests.
  void OnTimerTick();

  Event<> Resize;

  // What a caller or a test may look at.
  UINT TimerInterval() const { return timer1_.interval(); }
  size_t LoadedFrames() const { return pictures_.size(); }
  const GifSplit* Split() const { return split_.get(); }
  SIZE CanvasSize() const { return canvasSize_; }

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& pixels) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(HDC dc, const RECT& client) override;
  void OnResize() override;
  void OnInitProperties() override;
  void OnReadProperties(const PropertyBag& bag) override;
  void OnWriteProperties(PropertyBag& bag) const override;

 private:
  void Initialise();
  void End();
  void ApplyBorderStyle(HWND hwnd);
  COLORREF TranslateColor(OleColor colour) const;
  void ClearBackground();
  void ReleaseFrames();
  void ReadGifFrames();
  void CreateBackBuffer();
  void DrawTransparent(HDC destination, HDC source, const RECT& rect, COLORREF key);
  void CopyCanvasToTarget();
  void FillCanvas();

  HDC targetDC_ = nullptr;  // where frames are shown; referenced only
  GdiObject<HBITMAP> canvas_;  // selected into the back buffer
  MemoryDc memoryDC_;           // back buffer
  HGDIOBJ firstBitmap_ = nullptr;  // what the back buffer held before the canvas
  SIZE canvasSize_{};

  std::wstring fileName_;
  OleColor backColor_ = kButtonFace;
  Variant picture_;
  OleColor maskColor_ = kButtonFace;
  Variant maskPicture_;
  int16_t borderStyle_ = 0;
  long userDelay_ = 0;
  bool stopRender_ = true;
  bool changeTransparentColor_ = true;
  long numberOfFrames_ = 0;
  long currentFrame_ = 0;
  bool displaySaved_ = false;
  Timer timer1_{0};

  std::unique_ptr<GifSplit> split_;
  std::vector<FramePicture> pictures_;
};

}  // namespace vk::controls
