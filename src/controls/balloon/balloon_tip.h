#pragma once
// The balloon tooltip: armed on a target window by ShowToolTip, it appears once the
// cursor has rested on the target for DelayTime ticks of a timer on the target, and
// goes when the cursor leaves, the target is clicked or KillTime ticks have passed.
//
// The target is watched through the window subclasser (after its own procedure, so
// the target behaves exactly as before). The balloon is a top-level pop-up of our own
// class that never takes the focus; it is painted once off the screen, mixed with what
// lies behind it by the caller's opacity, and shown from that picture.
//
// The font and the tile picture are the host's objects, held by reference and read
// each time the balloon is measured or painted, so a host may change or replace them
// at any time.
//
// Choices of ours: the timer has an id of its own and other timers of the target are no
// ticks; the host's property values survive the close of a balloon; an opacity of
// 101-255 is kept but has no mix, so no balloon appears; an opacity outside 0-255
// fails before anything changes, so an open balloon keeps its hooks and still closes.
#include <windows.h>

#include <string>

#include "com/com_ptr.h"
#include "controls/balloon/balloon_shape.h"
#include "controls/subclass/window_subclasser.h"
#include "runtime/font.h"
#include "runtime/gdi_object.h"
#include "runtime/ole_color.h"

namespace vk::controls {

enum class BalloonIcon : long { None = 0, Error = 1, Info = 2, Warning = 3 };
enum class BalloonFill : long { Solid = 1, GradientH = 2, GradientV = 3, Picture = 4 };

// What a host can set; the defaults are those of a new balloon.
struct BalloonLook {
  bool shadow = false;
  com::ComPtr<IDispatch> font;  // an OLE font object (none: the default font); the title is bold
  long iconSize = 16;
  BalloonStyle style = BalloonStyle::Balloon;
  OleColor textColor = 0x80000012;
  OleColor gradientStart = 0x80000018;
  OleColor gradientEnd = 0x80000001;
  OleColor backColor = 0x80000018;
  long backStyle = static_cast<long>(BalloonFill::Solid);
  long delayTime = 100;
  long killTime = 500;
  com::ComPtr<IDispatch> picture;  // the tile of BackStyle 4: an OLE bitmap picture, or none
};

inline constexpr UINT_PTR kBalloonTimerId = 0xB411;

class BalloonTip : public SubclassOwner {
 public:
  BalloonTip() = default;
  ~BalloonTip();
  BalloonTip(const BalloonTip&) = delete;
  BalloonTip& operator=(const BalloonTip&) = delete;

  BalloonLook look;
  bool alive = false;  // armed: the balloon may appear when the delay expires

  // Releases earlier hooks, measures the texts and arms on the target; while a balloon
  // is open it only closes it. icon: 0 none, 1-3 a system icon, else the caller's
  // HICON. Raises error 6 (overflow), and changes nothing, for an opacity outside 0-255.
  void ShowToolTip(HWND target, const std::wstring& title, const std::wstring& text, long icon,
                   long transparentAlpha = 100);

  void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                      WPARAM wParam, LPARAM lParam) override;

  // State, for the label and for tests.
  HWND balloonWindow() const { return balloon_; }
  HWND target() const { return target_; }
  bool hovering() const { return hover_; }
  bool shown() const { return shown_; }
  long ticks() const { return ticks_; }
  SIZE bodySize() const { return SIZE{width_, height_}; }
  const BalloonPlacement& placement() const { return placement_; }
  // The picture the balloon shows (alpha-mixed), or null when none is open.
  HBITMAP surface() const { return surface_.get(); }

 private:
  void MeasureText(const std::wstring& s, bool isTitle);
  HFONT CaptionFont(bool bold) const;  // shared: never deleted here
  HBITMAP TileBitmap() const;
  void OnMouseMove();
  void OnTimer();
  void OnClick();
  bool CreateBalloonWindow();
  void CloseBalloon();
  void PaintBalloon(HDC dc, int width, int fullHeight, HRGN outline);
  void DrawCaption(HDC dc, const std::wstring& s, bool isTitle);
  void BlendWithScreen(HDC dc, const RECT& windowRect);
  static LRESULT CALLBACK BalloonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

  WindowSubclasser hooks_{*this};
  HWND target_ = nullptr;
  std::wstring title_, text_;
  long icon_ = 0;
  int alpha_ = 100;
  int measuredWidth_ = 0, measuredHeight_ = 0;
  int width_ = 0, height_ = 0;
  HWND balloon_ = nullptr;     // the open balloon
  bool balloonHeld_ = false;   // a balloon was made and not forgotten (it may be closed)
  bool hover_ = false, shown_ = false;
  long ticks_ = 0;
  POINT cursor_{}, previousCursor_{};
  BalloonPlacement placement_;
  GdiObject<HBITMAP> surface_;  // what the open balloon shows
};

// A title of spaces (or none) takes no room of its own above the balloon's text.
inline bool BlankTitle(const std::wstring& title) {
  return title.find_first_not_of(L' ') == std::wstring::npos;
}

// The window under the cursor is the window itself (not one of its children).
bool IsCursorOver(HWND hwnd);

}  // namespace vk::controls
