#pragma once
// A form with one status bar docked at its bottom, as the document screens hold it,
// and the visual style pinned so the automatic theme is predictable.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/status_bar/status_bar_colors.h"
#include "controls/status_bar/vk_status_bar.h"
#include "runtime/do_events.h"
#include "runtime/form.h"
#include "runtime/property_bag.h"
#include "support/com_test.h"

namespace vk::controls {

constexpr long Rgb(long r, long g, long b) { return r + g * 256 + b * 65536; }
constexpr long kGrey = Rgb(192, 192, 192);
constexpr long kWhite = 0xFFFFFF;

// No visual style: the automatic theme is classic.
inline VisualStyleSource NoVisualStyle() {
  VisualStyleSource s;
  s.version = [](OSVERSIONINFOA& info) {
    info.dwPlatformId = 2, info.dwMajorVersion = 6, info.dwMinorVersion = 1, info.dwBuildNumber = 7601;
    return TRUE;
  };
  s.currentThemeName = [](wchar_t*, int) { return E_FAIL; };
  return s;
}

class BarForm : public Form {
 public:
  BarForm() : Form({.name = L"FBarTest", .caption = L"VkStatusBar", .scaleWidth = 4500, .scaleHeight = 1500}) {}
};

class StatusBarTest : public ::testing::Test {
 protected:
  // A bar 300 x 24 pixels along the bottom of a shown form.
  void SetUp() override { Make(PropertyBag{{L"backcolor", kGrey}, {L"theme", 2L}}); }
  void TearDown() override {
    if (form_) form_->Unload();
  }
  void Make(const PropertyBag& bag, bool userMode = true) {
    if (form_) form_->Unload();
    form_ = Form::Load<BarForm>();
    AmbientProperties a;
    a.userMode = userMode;
    form_->setAmbient(a);
    bar_ = &form_->Add<VkStatusBar>({.name = L"STBar", .top = 1140, .width = 4500, .height = 360});
    bar_->ReadProperties(bag);
    form_->Show(ShowMode::Modeless);
    SetForegroundWindow(form_->hwnd());
    DoEvents();
  }
  long Pixel(int x, int y) const {
    const COLORREF c = GetPixel(bar_->surface(), x, y);
    return long(c);
  }
  // Puts the system's pointer over a point of the bar (the panel under it is read
  // from the pointer) and lets the moves it causes pass.
  void PointerAt(int x, int y) {
    POINT p{x, y};
    ClientToScreen(bar_->hwnd(), &p);
    SetCursorPos(p.x, p.y);
    DoEvents();
  }

  test::ComApartment apartment_;
  VisualStyleScope style_{NoVisualStyle()};
  std::shared_ptr<Form> form_;
  VkStatusBar* bar_ = nullptr;
};

}  // namespace vk::controls
