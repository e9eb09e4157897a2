#pragma once
// The container frame: a window with a caption that other controls are placed in
// (their Container is the frame's window). As a header it also shows an expand switch
// in its caption bar: clicking it, or setting ExpandState, collapses the frame to its
// caption bar or opens it to its full height, raising Collapse or Expand. ExpandState
// 1 means expanded, 0 collapsed. A mouse press on the frame itself raises MouseDown.
//
// Its look: a header (the caption bar) that can be left out, the header's and the
// body's colour pairs, a border colour and a theme. Theme 0 is the classic look (the
// header in its dark colour, the body in its light one, an etched edge); any other
// theme draws the header and the body as gradients from their light to their dark
// colour inside a line of the border colour. The caption is in the form's font, bold.
#include <string>

#include "hosted/form_control.h"
#include "runtime/event.h"
#include "runtime/ole_color.h"

namespace vk::hosted {

struct FrameColors {
  OleColor headerLight = 0x8000001B;  // the system's gradient caption colour
  OleColor headerDark = 0x80000002;   // the active caption
  OleColor bodyLight = kButtonFace;
  OleColor bodyDark = kButtonFace;
  OleColor border = 0x80000010;  // the button shadow
};

class Frame : public FormControl, public Container {
 public:
  Frame(Form& form, ControlArgs args, std::wstring caption = L"")
      : FormControl(form, std::move(args)), caption_(std::move(caption)) {}

  // Container: controls placed in the frame are children of its window.
  HWND ContainerWindow() const override { return outer_; }
  Form& ContainerForm() override { return form(); }
  Control* ContainerControl() override { return this; }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(std::wstring caption);

  const FrameColors& Colors() const { return colors_; }
  void SetColors(const FrameColors& colors);
  int Theme() const { return theme_; }
  void SetTheme(int theme);
  bool HeaderShown() const { return header_; }
  void SetHeaderShown(bool shown);

  bool ExpandSwitch() const { return expandSwitch_; }
  void SetExpandSwitch(bool shown);
  int ExpandState() const { return expanded_ ? 1 : 0; }
  // 1 expands, 0 collapses; anything else raises 380.
  void SetExpandState(int state);
  // The height of the caption bar, in twips: a collapsed frame's height.
  double CaptionHeight() const;
  // Where the expand switch is, in pixels of the frame's client area.
  RECT SwitchRect() const;

  Event<> Expand;
  Event<> Collapse;
  // Button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; x and y in twips
  // from the frame's top-left corner.
  Event<int, int, double, double> MouseDown;

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void Toggle(bool expand);

  std::wstring caption_;
  FrameColors colors_;
  int theme_ = 0;
  bool header_ = true;
  bool expandSwitch_ = false;
  bool expanded_ = true;
  double fullHeight_ = 0;  // twips, kept while collapsed
};

}  // namespace vk::hosted
