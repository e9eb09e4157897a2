#include "controls/vk_animated_gif.h"

#include <commctrl.h>

#include <exception>
#include <string>

#include "controls/gif_temp_file.h"
#include "runtime/mouse_pointer.h"

namespace vk::controls {

namespace {

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// Restores what a DC held when the guard ends.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

void FillWith(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

// Lets pending window messages run, as the loader does after clearing the name.
void LetMessagesRun() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The frame's delay as the timer turns it into an interval: the stored value in
// hundredths, taken times 100, plus the user's delay; long delays are cut short.
UINT FrameInterval(uint16_t delay, long userDelay) {
  if (delay >= 500) return UINT(userDelay + 100);
  return UINT(delay) * 100u + UINT(userDelay);
}

}  // namespace

bool VkAnimatedGif::RegisterWindowClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &VkAnimatedGif::WindowProc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = VkAnimatedGif::kClassName;
    ATOM registered = RegisterClassExW(&wc);
    if (!registered && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) registered = 1;
    return registered;
  }();
  return atom != 0;
}

VkAnimatedGif::~VkAnimatedGif() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool VkAnimatedGif::Create(HWND parent, int x, int y, int width, int height, int id) {
  if (hwnd_ || !RegisterWindowClass()) return false;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (borderStyle_ ? WS_BORDER : 0);
  HWND hwnd = CreateWindowExW(0, kClassName, L"", style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(),
                              this);
  return hwnd != nullptr;
}

LRESULT CALLBACK VkAnimatedGif::WindowProc(HWND hwnd, UINT msg, WPARAM wParam,
                                           LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<VkAnimatedGif*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<VkAnimatedGif*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  try {
    LRESULT result = self->HandleMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  } catch (const std::exception& e) {
    // Nothing reaches the container from a paint or a tick: the control stays undrawn.
    OutputDebugStringA(e.what());
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT VkAnimatedGif::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      Initialise();
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillWith(reinterpret_cast<HDC>(wParam), client, TranslateColor(backColor_));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      OnPaint();
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (memoryDC_ && canvas_)
        BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, canvasSize_.cx, canvasSize_.cy, memoryDC_, 0,
               0, SRCCOPY);
      return 0;
    case WM_SETCURSOR:
      if (ApplyMousePointer(hwnd_, lParam)) return TRUE;
      break;
    case WM_TIMER:
      if (wParam == kTimerId) OnTimerTick();
      return 0;
    case WM_SIZE:
      if (onResize) onResize();
      return 0;
    case WM_NCDESTROY:
      End();
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void VkAnimatedGif::Initialise() {
  InitCommonControls();
  changeTransparentColor_ = true;
  stopRender_ = true;
  ownDC_ = GetDC(hwnd_);  // the class's own DC: kept for the window's life
  if (!memoryDC_) memoryDC_ = CreateCompatibleDC(ownDC_);
  targetDC_ = ownDC_;
}

void VkAnimatedGif::End() {
  if (hwnd_) KillTimer(hwnd_, kTimerId);
  timerInterval_ = 0;
  ReleaseFrames();
  if (memoryDC_) {
    if (firstBitmap_) SelectObject(memoryDC_, firstBitmap_);
    DeleteDC(memoryDC_);
    memoryDC_ = nullptr;
  }
  if (canvas_) DeleteObject(canvas_);
  canvas_ = nullptr;
  firstBitmap_ = nullptr;
  if (targetDC_ == ownDC_) targetDC_ = nullptr;
  ownDC_ = nullptr;
}

// ---- properties -------------------------------------------------------------

void VkAnimatedGif::put_BackColor(uint32_t colour) {
  backColor_ = colour;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void VkAnimatedGif::put_BorderStyle(int16_t style) {
  borderStyle_ = style;
  if (!hwnd_) return;
  LONG_PTR bits = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  bits = style ? (bits | WS_BORDER) : (bits & ~LONG_PTR(WS_BORDER));
  SetWindowLongPtrW(hwnd_, GWL_STYLE, bits);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
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
  SetTimerInterval(250);
}

void VkAnimatedGif::StopTimer() {
  stopRender_ = true;
  SetTimerInterval(0);
}

void VkAnimatedGif::StopGif() {
  stopRender_ = true;
  StopTimer();
}

void VkAnimatedGif::Refresh() {
  if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
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
    LetMessagesRun();
  }
  if (hwnd_) SetCapture(hwnd_);
  SetMousePointer(pointer::Hourglass);
  ReadGifFrames();
  SetMousePointer(pointer::Default);
  if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
  if (!fileName_.empty()) {
    put_UserDelay(0);
    PaintGif(0);
  }
}

void VkAnimatedGif::SetTimerInterval(UINT milliseconds) {
  timerInterval_ = milliseconds;
  if (!hwnd_) return;
  if (milliseconds == 0)
    KillTimer(hwnd_, kTimerId);
  else
    SetTimer(hwnd_, kTimerId, milliseconds, nullptr);
}

// ---- the container's side ---------------------------------------------------

void VkAnimatedGif::InitProperties() { fileName_.clear(); }

void VkAnimatedGif::ReadProperties(const AnimatedGifStored& stored) {
  backColor_ = stored.backColor;
  maskColor_ = stored.maskColor;
  put_BorderStyle(stored.borderStyle);
  fileName_ = stored.strGifFileName;
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

AnimatedGifStored VkAnimatedGif::WriteProperties() const {
  AnimatedGifStored stored;
  stored.backColor = backColor_;
  stored.maskColor = maskColor_;
  stored.borderStyle = borderStyle_;
  stored.strGifFileName = fileName_;
  return stored;
}

void VkAnimatedGif::OnTimerTick() {
  if (stopRender_) return;
  if (currentFrame_ < 0 || size_t(currentFrame_) >= pictures_.size()) return;
  PaintGif(currentFrame_);
  ++currentFrame_;
  if (userDelay_ < 100) userDelay_ = 100;
  if (currentFrame_ > numberOfFrames_) currentFrame_ = 0;
  if (!split_ || size_t(currentFrame_) >= split_->Frames().size()) return;
  SetTimerInterval(FrameInterval(split_->Frames()[size_t(currentFrame_)].delay, userDelay_));
}

void VkAnimatedGif::OnPaint() {
  if (fileName_.empty()) return;
  if (displaySaved_) {
    displaySaved_ = false;
    LoadGif(false);
  } else {
    PaintGif(0);
  }
}

// ---- drawing ----------------------------------------------------------------

COLORREF VkAnimatedGif::TranslateColor(uint32_t colour) const {
  COLORREF rgb = (colour & 0x80000000u) ? GetSysColor(int(colour & 0xFFFFFF)) : colour;
  HDC screen = GetDC(nullptr);
  COLORREF nearest = GetNearestColor(screen, rgb);
  ReleaseDC(nullptr, screen);
  return nearest == CLR_INVALID ? rgb : nearest;
}

void VkAnimatedGif::ClearBackground() {
  if (!targetDC_ || !hwnd_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
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
  auto split = std::make_unique<gif::GifSplit>(std::move(bytes), changeTransparentColor_);
  switch (split->Status()) {
    case gif::SplitStatus::NotGif:
      fileName_.clear();
      return;
    case gif::SplitStatus::Ok:
      break;
    default:  // no image, or a block past the end: nothing is loaded
      return;
  }
  split_ = std::move(split);
  numberOfFrames_ = long(split_->Frames().size()) - 1;
  for (size_t k = 0; k < split_->Frames().size(); ++k) {
    std::wstring path = WriteNewTempFile(L" " + std::to_wstring(k), L"GIF", split_->FrameFile(k));
    if (path.empty()) return;
    FramePicture picture = LoadFramePicture(path, &lastSource_);
    DeleteFileW(path.c_str());
    if (!picture) return;
    pictures_.push_back(std::move(picture));
  }
  CreateBackBuffer();
}

void VkAnimatedGif::CreateBackBuffer() {
  if (!split_) return;
  const gif::ScreenInfo& screen = split_->Screen();
  SIZE size{(LONG(screen.width) + 31) & ~LONG(31), LONG(screen.height)};
  HDC reference = targetDC_ ? targetDC_ : ownDC_;
  if (!memoryDC_) memoryDC_ = CreateCompatibleDC(reference);
  if (!memoryDC_) return;
  HBITMAP canvas = CreateCompatibleBitmap(reference, size.cx, size.cy);
  if (!canvas) return;
  HGDIOBJ replaced = SelectObject(memoryDC_, canvas);
  if (!firstBitmap_) firstBitmap_ = replaced;
  if (canvas_) DeleteObject(canvas_);
  canvas_ = canvas;
  canvasSize_ = size;
  FillCanvas();
}

void VkAnimatedGif::FillCanvas() {
  RECT all{0, 0, canvasSize_.cx, canvasSize_.cy};
  FillWith(memoryDC_, all, TranslateColor(backColor_));
}

void VkAnimatedGif::CopyCanvasToTarget() {
  if (targetDC_)
    BitBlt(targetDC_, 0, 0, canvasSize_.cx, canvasSize_.cy, memoryDC_, 0, 0, SRCCOPY);
}

void VkAnimatedGif::RenderGif(long ctr) {
  if (pictures_.empty() || stopRender_ || !split_ || !memoryDC_) return;
  if (ctr < 0 || size_t(ctr) >= pictures_.size()) return;
  const gif::GifFrameInfo& frame = split_->Frames()[size_t(ctr)];
  HDC frameDC = CreateCompatibleDC(ownDC_ ? ownDC_ : targetDC_);
  if (!frameDC) return;
  {
    SelectGuard picture(frameDC, pictures_[size_t(ctr)].Bitmap());
    gif::PackedColour key = 0;
    const bool keyed = split_->KeyColour(size_t(ctr), key);
    RECT rect{frame.left, frame.top, frame.left + frame.width, frame.top + frame.height};
    if (frame.disposal == 2) FillCanvas();
    if (keyed) {
      DrawTransparent(memoryDC_, frameDC, rect, key);
    } else {
      BitBlt(memoryDC_, frame.left, frame.top, frame.width, frame.height, frameDC, 0, 0, SRCCOPY);
      CopyCanvasToTarget();
    }
  }
  DeleteDC(frameDC);
}

void VkAnimatedGif::DrawTransparent(HDC destination, HDC source, const RECT& rect, COLORREF key) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  const int x = rect.left;
  const int y = rect.top;
  HDC a = CreateCompatibleDC(destination);
  HDC b = CreateCompatibleDC(destination);
  HDC m = CreateCompatibleDC(destination);
  HBITMAP aBitmap = CreateCompatibleBitmap(destination, w, h);
  HBITMAP bBitmap = CreateCompatibleBitmap(destination, w, h);
  HBITMAP mBitmap = CreateBitmap(w, h, 1, 1, nullptr);
  if (a && b && m && aBitmap && bBitmap && mBitmap) {
    SelectGuard aSelected(a, aBitmap);
    SelectGuard bSelected(b, bBitmap);
    SelectGuard mSelected(m, mBitmap);
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
  if (aBitmap) DeleteObject(aBitmap);
  if (bBitmap) DeleteObject(bBitmap);
  if (mBitmap) DeleteObject(mBitmap);
  if (a) DeleteDC(a);
  if (b) DeleteDC(b);
  if (m) DeleteDC(m);
}

}  // namespace vk::controls
