#pragma once
// The container frame: a window with a caption that other controls are placed in
// (their Container is the frame's window). As a header it also shows an expand switch
// in its caption bar: clicking it, or setting ExpandState, collapses the frame to its
// caption bar or opens it to its full height, raising Collapse or Expand. ExpandState
// 1 means expanded, 0 collapsed. A mouse press on the frame itself raises MouseDown.
#include <functional>
#include <string>

#include "hosted/hosted_control.h"

namespace vk::hosted {

// Mouse-event arguments: button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl,
// 4 Alt; x and y in twips from the frame's top-left corner.
struct MouseArgs {
  int button = 0;
  int shift = 0;
  double x = 0;
  double y = 0;
};

class Frame : public HostedControl {
 public:
  explicit Frame(std::wstring caption = L"") : caption_(std::move(caption)) {}

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(std::wstring caption);

  bool ExpandSwitch() const { return expandSwitch_; }
  void SetExpandSwitch(bool shown);
  int ExpandState() const { return expanded_ ? 1 : 0; }
  // 1 expands, 0 collapses; anything else raises 380.
  void SetExpandState(int state);
  // The height of the caption bar, in twips: a collapsed frame's height.
  double CaptionHeight() const;
  // Where the expand switch is, in pixels of the frame's client area.
  RECT SwitchRect() const;

  std::function<void()> Expand;
  std::function<void()> Collapse;
  std::function<void(const MouseArgs&)> MouseDown;

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void Toggle(bool expand);

  std::wstring caption_;
  bool expandSwitch_ = false;
  bool expanded_ = true;
  int fullHeight_ = 0;  // pixels, kept while collapsed
};

}  // namespace vk::hosted
