#pragma once
// VkLabel: a one-line caption that takes another colour while the pointer is over it
// and while a button is pressed on it, with an optional help icon on its right whose
// hover opens a balloon (CToolTipBaloon's engine) with the help text.
//
// The caption is windowless: the control paints it and hears the pointer for it. The
// help icon is a small child window of its own, so moving onto the icon counts as
// leaving the caption. A 100 ms timer, running only while hovered, notices the leave.
//
// The label keeps its own font: Font gives a font object that describes it, and a font
// object given to it is copied. The mouse pointer (and, for 99, the mouse icon) shows
// over the caption, not over the help icon.
#include <windows.h>

#include <ocidl.h>

#include <string>

#include "controls/balloon/balloon_tip.h"
#include "runtime/event.h"
#include "runtime/timer.h"
#include "runtime/user_control.h"

namespace vk::controls {

class VkLabel : public UserControl {
 public:
  VkLabel(Form& form, ControlArgs args);
  ~VkLabel() override;

  long Alignment() const { return alignment_; }
  void put_Alignment(long value);
  bool AutoSize() const { return autoSize_; }
  void put_AutoSize(bool value);
  bool Enabled() const { return labelEnabled_; }
  void put_Enabled(bool value);
  bool FontBold() const { return font_.bold; }
  void put_FontBold(bool value);
  bool FontItalic() const { return font_.italic; }
  void put_FontItalic(bool value);
  bool FontStrikethru() const { return font_.strikethrough; }
  void put_FontStrikethru(bool value);
  bool FontStrikeOut() const { return font_.strikethrough; }
  void put_FontStrikeOut(bool value);
  bool FontUnderline() const { return font_.underline; }
  void put_FontUnderline(bool value);
  const std::wstring& FontName() const { return font_.name; }
  void put_FontName(const std::wstring& value);
  double FontSize() const { return font_.size; }
  void put_FontSize(double value);
  com::ComPtr<IFont> Font() const { return CreateOleFont(font_); }
  void put_Font(IFont* value);
  OleColor BackColor() const { return backColor_; }
  void put_BackColor(OleColor value);
  OleColor ForeColor() const { return foreColor_; }
  void put_ForeColor(OleColor value);
  OleColor ForeColorDown() const { return foreColorDown_; }
  void put_ForeColorDown(OleColor value);
  OleColor ForeColorOver() const { return foreColorOver_; }
  void put_ForeColorOver(OleColor value);
  int MousePointer() const { return mousePointer_; }
  void put_MousePointer(int value);
  const com::ComPtr<IPicture>& MouseIcon() const { return mouseIcon_; }
  void put_MouseIcon(IPicture* value);
  long BackStyle() const { return backStyle_; }
  void put_BackStyle(long value);
  const std::wstring& Caption() const { return caption_; }
  void put_Caption(const std::wstring& value);
  const std::wstring& BallonToolTipText() const { return balloonText_; }
  void put_BallonToolTipText(const std::wstring& value);
  // The label's hwnd property: the help icon's window, not the caption's (which
  // is the control's own hwnd()).
  HWND helpIconHwnd() const { return icon_; }

  // The container learns of each changed property by name.
  Event<const std::wstring&> PropertyChanged;

  // What tests look at.
  OleColor captionColor() const { return captionColor_; }
  bool hovering() const { return hovering_; }
  bool iconVisible() const { return icon_ && IsWindowVisible(icon_); }
  const std::wstring& iconTag() const { return iconTag_; }
  double labelWidth() const { return labelWidth_; }
  double labelHeight() const { return labelHeight_; }
  double iconLeft() const { return iconLeft_; }
  BalloonTip& balloon() { return balloon_; }
  bool timerRunning() const { return timer1_.running(); }
  // One tick of the leave poll; the timer calls it every 100 ms while hovered.
  void OnTimer1Tick();

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& pixels) override;
  void Paint(HDC dc, const RECT& client) override;
  void OnResize() override;
  void OnMouseDown(int button, int shift, int x, int y) override;
  void OnMouseMove(int button, int shift, int x, int y) override;
  void OnMouseUp(int button, int shift, int x, int y) override;
  void OnInitProperties() override;
  void OnReadProperties(const PropertyBag& bag) override;
  void OnWriteProperties(PropertyBag& bag) const override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Changed(const wchar_t* property);
  void SetCaptionColor(OleColor color);
  void Layout();
  SIZE TextSize(const std::wstring& text) const;  // in twips, with the control's own font
  void PlaceIcon();
  void OnIconMouseMove();
  static LRESULT CALLBACK IconProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

  // The caption label.
  std::wstring caption_;
  long alignment_ = 0;
  bool autoSize_ = true;
  bool labelEnabled_ = true;
  FontDescription font_;
  OleColor backColor_ = 0xFFFFFF;
  OleColor foreColor_ = 0xC65D21;
  int mousePointer_ = 0;
  com::ComPtr<IPicture> mouseIcon_;
  long backStyle_ = 0;
  double labelWidth_ = 0, labelHeight_ = 0;  // twips
  OleColor captionColor_ = 0xC65D21;         // what the caption shows now

  // The help icon.
  HWND icon_ = nullptr;
  std::wstring iconTag_;
  double iconLeft_ = 0;
  bool iconShown_ = false;

  OleColor foreColorDown_ = 0x8000;
  OleColor foreColorOver_ = 0x96E7;
  OleColor savedColor_ = 0;
  bool balloonShown_ = false;
  BalloonTip balloon_;
  std::wstring balloonText_;
  bool hovering_ = false;
  int layoutDepth_ = 0;
  Timer timer1_{100, false};
};

}  // namespace vk::controls
