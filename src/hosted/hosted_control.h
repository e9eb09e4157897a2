#pragma once
// A hosted control outside the runtime's forms (the grid and the report viewer still
// use it; the controls on forms derive from FormControl). It is one outer window of
// our own class: it carries the extender properties the screens use (position and size
// in twips, Visible, Enabled, Tag, Container) and is the parent of the system control
// that does the work, so WM_COMMAND and WM_NOTIFY from that control reach the C++
// object wherever the control is placed (a form, a frame, another control's page).
#include <windows.h>

#include <string>

namespace vk::hosted {

inline constexpr double kTwipsPerPixel = 15.0;  // 96 dpi
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

class HostedControl {
 public:
  HostedControl() = default;
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;
  virtual ~HostedControl();

  // Creates the outer window as a child of parent, at the given place in twips.
  void Create(HWND parent, double left, double top, double width, double height);
  HWND hwnd() const { return window_; }
  // The system control inside, or the outer window for controls that paint themselves.
  HWND inner() const { return inner_ ? inner_ : window_; }

  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(double left, double top, double width, double height);

  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  const std::wstring& Tag() const { return tag_; }
  void SetTag(std::wstring tag) { tag_ = std::move(tag); }
  // Moves the control into another window (a frame's client area), keeping its place.
  void SetContainer(HWND container);
  HWND Container() const;

 protected:
  // Called once the outer window exists: create the inner control here.
  virtual void OnCreated() {}
  virtual void OnCommand(WORD /*code*/, WORD /*id*/, HWND /*from*/) {}
  virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
  virtual void OnResized(int width, int height);
  // Any other message; return true when handled (result in result).
  virtual bool OnMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
  // Controls that draw themselves override both: one routine serves WM_PAINT and
  // WM_PRINTCLIENT, and the background is left to it.
  virtual bool PaintsItself() const { return false; }
  virtual void Paint(HDC /*dc*/) {}
  // Extra window styles of the outer window.
  virtual DWORD ExtraStyle() const { return 0; }

  HWND CreateInner(const wchar_t* className, DWORD style, const wchar_t* text = L"", DWORD exStyle = 0);
  HWND inner_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  RECT PlaceInParent() const;
  void SetPlace(int left, int top, int width, int height);

  HWND window_ = nullptr;  // owned: destroyed with the object
  std::wstring tag_;
};

}  // namespace vk::hosted
