#pragma once
// VkAnimatedGif, "Animated Gif Ctl Ver 2.0": plays an animated GIF. The file is
// split into one-image files (gif_frames.h), each loaded as a frame picture; the
// frames are composed on a back buffer the size of the GIF's logical screen
// (disposal, colour-keyed transparency) and copied to the target device context,
// one frame per tick of a timer whose interval follows each frame's delay.
//
// The control is a child window with its own device context (CS_OWNDC), which is
// the default target. A file is read only by LoadGif, which the first paint calls
// when the stored file name was found on loading the stored properties; loading
// leaves the timer stopped.
//
// Not handled yet: the Picture and MaskPicture surface properties (stored
// pictures are never drawn by the player).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/frame_picture.h"
#include "controls/gif_frames.h"

namespace vk::controls {

// What the container stores for the control (the keys "BackColor", "MaskColor",
// "BorderStyle" and "strGifFileName"); a value equal to its default is not written.
struct AnimatedGifStored {
  static constexpr uint32_t kDefaultColour = 0x8000000F;  // button face
  uint32_t backColor = kDefaultColour;
  uint32_t maskColor = kDefaultColour;
  int16_t borderStyle = 0;
  std::wstring strGifFileName;
};

class VkAnimatedGif {
 public:
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr wchar_t kClassName[] = L"VkAnimatedGif";

  VkAnimatedGif() = default;
  VkAnimatedGif(const VkAnimatedGif&) = delete;
  VkAnimatedGif& operator=(const VkAnimatedGif&) = delete;
  ~VkAnimatedGif();

  // Registers the window class once per process; false when registration failed.
  static bool RegisterWindowClass();

  // Creates the control's window (pixels) inside `parent` and initialises it.
  bool Create(HWND parent, int x, int y, int width, int height, int id = 0);
  HWND Window() const { return hwnd_; }

  // Properties.
  HDC hDC() const { return targetDC_; }
  void put_hDC(HDC dc) { targetDC_ = dc; }
  const std::wstring& strGifFileName() const { return fileName_; }
  void put_strGifFileName(const std::wstring& name) { fileName_ = name; }
  uint32_t BackColor() const { return backColor_; }
  void put_BackColor(uint32_t colour);
  uint32_t MaskColor() const { return maskColor_; }
  void put_MaskColor(uint32_t colour) { maskColor_ = colour; }
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
  void Refresh();
  void LoadGif(bool getFname);
  void PaintGif(long curframe);

  // The container's side: stored properties, the frame timer, the paint request.
  void InitProperties();
  void ReadProperties(const AnimatedGifStored& stored);
  AnimatedGifStored WriteProperties() const;
  void OnTimerTick();
  void OnPaint();

  // The Resize event.
  std::function<void()> onResize;

  // What a caller or a test may look at.
  UINT TimerInterval() const { return timerInterval_; }
  size_t LoadedFrames() const { return pictures_.size(); }
  const gif::GifSplit* Split() const { return split_.get(); }
  HDC BackBufferDC() const { return memoryDC_; }
  SIZE CanvasSize() const { return canvasSize_; }
  // Which decoder read the last frame picture.
  PictureSource LastPictureSource() const { return lastSource_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void Initialise();
  void End();
  void SetTimerInterval(UINT milliseconds);
  COLORREF TranslateColor(uint32_t colour) const;
  void ClearBackground();
  void ReleaseFrames();
  void ReadGifFrames();
  void CreateBackBuffer();
  void DrawTransparent(HDC destination, HDC source, const RECT& rect, COLORREF key);
  void CopyCanvasToTarget();
  void FillCanvas();

  HWND hwnd_ = nullptr;
  HDC ownDC_ = nullptr;     // the window's own (CS_OWNDC), not released
  HDC targetDC_ = nullptr;  // where frames are shown; referenced only
  HDC memoryDC_ = nullptr;  // back buffer, owned
  HBITMAP canvas_ = nullptr;
  HGDIOBJ firstBitmap_ = nullptr;  // what the back buffer held before the canvas
  SIZE canvasSize_{};

  std::wstring fileName_;
  uint32_t backColor_ = AnimatedGifStored::kDefaultColour;
  uint32_t maskColor_ = AnimatedGifStored::kDefaultColour;
  int16_t borderStyle_ = 0;
  long userDelay_ = 0;
  bool stopRender_ = true;
  bool changeTransparentColor_ = true;
  long numberOfFrames_ = 0;
  long currentFrame_ = 0;
  bool displaySaved_ = false;
  UINT timerInterval_ = 0;

  std::unique_ptr<gif::GifSplit> split_;
  std::vector<FramePicture> pictures_;
  PictureSource lastSource_ = PictureSource::None;
};

}  // namespace vk::controls
