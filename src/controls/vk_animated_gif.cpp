#include "controls/vk_animated_gif.h"

#include <commctrl.h>

#include <string>

#include "controls/gif_temp_file.h"
#include "runtime/do_events.h"
#include "runtime/gdi_object.h"
#include "runtime/mouse_pointer.h"
#include "runtime/select_guard.h"

namespace vk::controls {

namespace {

void FillWith(HDC dc, const RECT& rect, COLORREF colour) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

// The frame's delay as the timer turns it into an interval: the stored value in
// hundredths, taken times 100, plus the user's delay; long delays are cut short.
UINT FrameInterval(uint16_t delay, long userDelay) {
  if (delay >= 500) return UINT(userDelay + 100);
  return UINT(delay) * 100u + UINT(userDelay);
}

}  // namespace

VkAnimatedGif::VkAnimatedGif(Form& form, ControlArgs args) : UserControl(form, std::move(args)) {
  timer1_.Tick.Connect([this] { OnTimerTick(); });
}

VkAnimatedGif::~VkAnimatedGif() { End(); }

HWND VkAnimatedGif::CreateWindowIn(HWND parent, const RECT& pixels) {
  HWND hwnd = UserControl::CreateWindowIn(parent, pixels);
  if (hwnd) {
    Initialise();
    ApplyBorderStyle(hwnd);
  }
  return hwnd;
}

bool VkAnimatedGif::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message == WM_SETCURSOR && ApplyMousePointer(hwnd(), lParam)) {
    result = TRUE;
    return true;
  }
  return false;
}

void VkAnimatedGif::Initialise() {
  InitCommonControls();
  changeTransparentColor_ = true;
  stopRender_ = true;
  if (!memoryDC_) memoryDC_.reset(CreateCompatibleDC(dc()));
  targetDC_ = dc();
}

void VkAnimatedGif::End() {
  timer1_.setInterval(0);
  ReleaseFrames();
  if (memoryDC_ && firstBitmap_) SelectObject(memoryDC_.get(), firstBitmap_);
  memoryDC_.reset();
  canvas_.reset();
  firstBitmap_ = nullptr;
  targetDC_ = nullptr;
}

void VkAnimatedGif::Paint(HDC dc, const RECT& client) {
  // The surface is cleared with the back colour before the control draws on it.
  FillWith(dc, client, TranslateColor(backColor_));
  if (dc != this->dc()) {
    // Printed into another context: show the canvas as it stands.
    if (canvas_) BitBlt(dc, 0, 0, canvasSize_.cx, canvasSize_.cy, memoryDC_.get(), 0, 0, SRCCOPY);
    return;
  }
  if (fileName_.empty()) return;
  if (displaySaved_) {
    displaySaved_ = false;
    LoadGif(false);
  } else {
    PaintGif(0);
  }
}

void VkAnimatedGif::OnResize() { Resize.Raise(); }

// ---- properties -------------------------------------------------------------

void VkAnimatedGif::put_BackColor(OleColor colour) {
  backColor_ = colour;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void VkAnimatedGif::put_BorderStyle(int16_t style) {
  borderStyle_ = style;
  ApplyBorderStyle(hwnd());
}

// Style 1 is a fixed single line around the control.
void VkAnimatedGif::ApplyBorderStyle(HWND hwnd) {
  if (!hwnd) return;
  LONG_PTR bits = GetWindowLongPtrW(hwnd, GWL_STYLE);
  bits = borderStyle_ ? (bits | WS_BORDER) : (bits & ~LONG_PTR(WS_BORDER));
  SetWindowLongPtrW(hwnd, GWL_STYLE, bits);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void VkAnimatedGif::put_UserDelay(long milliseconds) {
  if (milliseconds > 1000) milliseconds = 1000;
  if (milliseconds < 1) milliseconds = 1;
  userDelay_ = milliseconds;
}

// ---- methods ----------------------------------------------------------------

void VkAnimatedGif::SetBackColor() {
  if (backColor_ != 0) {
    backColor_ = 0;
    ClearBackground();
  }
}

void VkAnimatedGif::StartTimer() {
  if (fileName_.empty()) return;
  stopRender_ = false;
  timer1_.setInterval(250);
}

void VkAnimatedGif::StopTimer() {
  stopRender_ = true;
  timer1_.setInterval(0);
}

void VkAnimatedGif::StopGif() {
  stopRender_ = true;
  StopTimer();
}

void VkAnimatedGif::PaintGif(long curframe) {
  if (fileName_.empty()) return;
  stopRender_ = false;
  RenderGif(curframe);
}

void VkAnimatedGif::LoadGif(bool getFname) {
  StopGif();
  ClearBackground();
  ReleaseFrames();
  if (getFname) {
    fileName_.clear();
    DoEvents();
  }
  if (hwnd()) SetCapture(hwnd());
  SetMousePointer(pointer::Hourglass);
  ReadGifFrames();
  SetMousePointer(pointer::Default);
  if (hwnd() && GetCapture() == hwnd()) ReleaseCapture();
  if (!fileName_.empty()) {
    put_UserDelay(0);
    PaintGif(0);
  }
}

// ---- the container's side ---------------------------------------------------

void VkAnimatedGif::OnInitProperties() { fileName_.clear(); }

void VkAnimatedGif::OnReadProperties(const PropertyBag& bag) {
  backColor_ = OleColor(bag.Read(L"BackColor", long(kButtonFace)).toLong());
  picture_ = bag.Read(L"Picture");
  maskColor_ = OleColor(bag.Read(L"MaskColor", long(kButtonFace)).toLong());
  maskPicture_ = bag.Read(L"MaskPicture");
  borderStyle_ = int16_t(bag.Read(L"BorderStyle", 0L).toLong());
  ApplyBorderStyle(hwnd());
  fileName_ = bag.Read(L"strGifFileName", L"").toText();
  // The platform's directory look-up of an empty name answers with the first entry
  // of the current folder, so a control stored without a name loads at first paint.
  if (fileName_.empty()) {
    displaySaved_ = true;
  } else {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(fileName_.c_str(), &found);
    displaySaved_ = search != INVALID_HANDLE_VALUE;
    if (displaySaved_) FindClose(search);
  }
}

void VkAnimatedGif::OnWriteProperties(PropertyBag& bag) const {
  bag.Write(L"BackColor", long(backColor_), long(kButtonFace));
  bag.Write(L"Picture", picture_);
  bag.Write(L"MaskColor", long(maskColor_), long(kButtonFace));
  bag.Write(L"MaskPicture", maskPicture_);
  bag.Write(L"BorderStyle", long(borderStyle_), 0L);
  bag.Write(L"strGifFileName", fileName_, L"");
}

void VkAnimatedGif::OnTimerTick() {
  if (stopRender_) return;
  if (currentFrame_ < 0 || size_t(currentFrame_) >= pictures_.size()) return;
  PaintGif(currentFrame_);
  ++currentFrame_;
  if (userDelay_ < 100) userDelay_ = 100;
  if (currentFrame_ > numberOfFrames_) currentFrame_ = 0;
  if (!split_ || size_t(currentFrame_) >= split_->Frames().size()) return;
  timer1_.setInterval(FrameInterval(split_->Frames()[size_t(currentFrame_)].delay, userDelay_));
}

// ---- drawing ----------------------------------------------------------------

COLORREF VkAnimatedGif::TranslateColor(OleColor colour) const {
  COLORREF rgb = OleColorToRgb(colour);
  HDC screen = GetDC(nullptr);
  COLORREF nearest = GetNearestColor(screen, rgb);
  ReleaseDC(nullptr, screen);
  return nearest == CLR_INVALID ? rgb : nearest;
}

void VkAnimatedGif::ClearBackground() {
  if (!targetDC_) return;
  RECT client{0, 0, clientWidth(), clientHeight()};
  FillWith(targetDC_, client, TranslateColor(backColor_));
}

void VkAnimatedGif::ReleaseFrames() {
  pictures_.clear();
  split_.reset();
  currentFrame_ = 0;
}

void VkAnimatedGif::ReadGifFrames() {
  ReleaseFrames();
  if (fileName_.empty()) return;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(fileName_, bytes) || bytes.empty()) return;
  auto split = std::make_unique<GifSplit>(std::move(bytes), changeTransparentColor_);
  switch (split->Status()) {
    case SplitStatus::NotGif:
      fileName_.clear();
      return;
    case SplitStatus::Ok:
      break;
    default:  // no image, or a block past the end: nothing is loaded
      return;
  }
  split_ = std::move(split);
  numberOfFrames_ = long(split_->Frames().size()) - 1;
  for (size_t k = 0; k < split_->Frames().size(); ++k) {
    std::wstring path = WriteNewTempFile(L" " + std::to_wstring(k), L"GIF", split_->FrameFile(k));
    if (path.empty()) return;
    FramePicture picture = LoadFramePicture(path);
    DeleteFileW(path.c_str());
    if (!picture) return;
    pictures_.push_back(std::move(picture));
  }
  CreateBackBuffer();
}

void VkAnimatedGif::CreateBackBuffer() {
  if (!split_) return;
  const ScreenInfo& screen = split_->Screen();
  SIZE size{(LONG(screen.width) + 31) & ~LONG(31), LONG(screen.height)};
  HDC reference = targetDC_ ? targetDC_ : dc();
  if (!memoryDC_) memoryDC_.reset(CreateCompatibleDC(reference));
  if (!memoryDC_) return;
  HBITMAP canvas = CreateCompatibleBitmap(reference, size.cx, size.cy);
  if (!canvas) return;
  HGDIOBJ replaced = SelectObject(memoryDC_.get(), canvas);
  if (!firstBitmap_) firstBitmap_ = replaced;
  canvas_.reset(canvas);
  canvasSize_ = size;
  FillCanvas();
}

void VkAnimatedGif::FillCanvas() {
  RECT all{0, 0, canvasSize_.cx, canvasSize_.cy};
  FillWith(memoryDC_.get(), all, TranslateColor(backColor_));
}

void VkAnimatedGif::CopyCanvasToTarget() {
  if (targetDC_)
    BitBlt(targetDC_, 0, 0, canvasSize_.cx, canvasSize_.cy, memoryDC_.get(), 0, 0, SRCCOPY);
}

void VkAnimatedGif::RenderGif(long ctr) {
  if (pictures_.empty() || stopRender_ || !split_ || !memoryDC_) return;
  if (ctr < 0 || size_t(ctr) >= pictures_.size()) return;
  const GifFrameInfo& frame = split_->Frames()[size_t(ctr)];
  MemoryDc frameMemory(CreateCompatibleDC(dc() ? dc() : targetDC_));
  if (!frameMemory) return;
  HDC frameDC = frameMemory.get();
  {
    SelectGuard picture(frameDC, pictures_[size_t(ctr)].Bitmap());
    PackedColour key = 0;
    const bool keyed = split_->KeyColour(size_t(ctr), key);
    RECT rect{frame.left, frame.top, frame.left + frame.width, frame.top + frame.height};
    if (frame.disposal == 2) FillCanvas();
    if (keyed) {
      DrawTransparent(memoryDC_.get(), frameDC, rect, key);
    } else {
      BitBlt(memoryDC_.get(), frame.left, frame.top, frame.width, frame.height, frameDC, 0, 0, SRCCOPY);
      CopyCanvasToTarget();
    }
  }
}

void VkAnimatedGif::DrawTransparent(HDC destination, HDC source, const RECT& rect, COLORREF key) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  const int x = rect.left;
  const int y = rect.top;
  MemoryDc aMemory(CreateCompatibleDC(destination));
  MemoryDc bMemory(CreateCompatibleDC(destination));
  MemoryDc mMemory(CreateCompatibleDC(destination));
  GdiObject<HBITMAP> aBitmap(CreateCompatibleBitmap(destination, w, h));
  GdiObject<HBITMAP> bBitmap(CreateCompatibleBitmap(destination, w, h));
  GdiObject<HBITMAP> mBitmap(CreateBitmap(w, h, 1, 1, nullptr));
  HDC a = aMemory.get(), b = bMemory.get(), m = mMemory.get();
  if (a && b && m && aBitmap && bBitmap && mBitmap) {
    SelectGuard aSelected(a, aBitmap.get());
    SelectGuard bSelected(b, bBitmap.get());
    SelectGuard mSelected(m, mBitmap.get());
    BitBlt(a, 0, 0, w, h, source, 0, 0, SRCCOPY);
    BitBlt(b, 0, 0, w, h, destination, x, y, SRCCOPY);
    // Pixels of the key colour become 1 in the mask, every other pixel 0.
    COLORREF previous = SetBkColor(a, key);
    BitBlt(m, 0, 0, w, h, a, 0, 0, SRCCOPY);
    SetBkColor(a, previous);
    // Frame where the mask is 0, background where it is 1.
    BitBlt(b, 0, 0, w, h, a, 0, 0, SRCINVERT);
    BitBlt(b, 0, 0, w, h, m, 0, 0, SRCAND);
    BitBlt(b, 0, 0, w, h, a, 0, 0, SRCINVERT);
    BitBlt(destination, x, y, w, h, b, 0, 0, SRCCOPY);
    CopyCanvasToTarget();
  }
}

}  // namespace vk::controls
