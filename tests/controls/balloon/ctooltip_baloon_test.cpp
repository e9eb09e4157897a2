// The balloon as a host meets it: created by ProgID from the registered DLL, driven
// late bound over a real target window, released while its balloon is open.
#include <gtest/gtest.h>

#include "support/com_test.h"

namespace {

using vk::test::CallByName;
using vk::test::Long;
using vk::test::PutByName;
using vk::test::Text;

class HostedBalloonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CLSID clsid{};
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"MorvalZIVI01.CToolTipBaloon", &clsid));
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                              balloon.put_void()));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HostedBalloonTarget";
    RegisterClassW(&wc);
    target = CreateWindowExW(WS_EX_TOPMOST, L"HostedBalloonTarget", L"target",
                             WS_POPUP | WS_VISIBLE, 300, 300, 200, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    SetCursorPos(400, 350);
  }
  void TearDown() override {
    balloon.reset();
    DestroyWindow(target);
  }
  void Hover(int ticks) {
    SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    // Any timer id of the target other than the balloon's is no tick of it.
    for (int i = 0; i < 3 * ticks; ++i) SendMessageW(target, WM_TIMER, 1, 0);
    for (int i = 0; i < ticks; ++i) SendMessageW(target, WM_TIMER, 0xB411, 0);
  }
  static HWND OpenBalloon() { return FindWindowW(L"VkBalloonTip", L"QRW-EXTOOLTIP"); }

  vk::test::ComApartment com;
  vk::com::ComPtr<IDispatch> balloon;
  HWND target = nullptr;
};

TEST_F(HostedBalloonTest, ShownAfterTheHostsDelayAndGoneWithTheObject) {
  ASSERT_HRESULT_SUCCEEDED(PutByName(balloon.get(), L"DelayTime", Long(5)).hr);
  auto shown = CallByName(balloon.get(), L"ShowToolTip",
                          {Long(static_cast<long>(reinterpret_cast<INT_PTR>(target))),
                           Text(L"Ayuda"), Text(L"Texto"), Long(1)});
  ASSERT_HRESULT_SUCCEEDED(shown.hr);
  Hover(6);
  EXPECT_EQ(nullptr, OpenBalloon()) << "shown before the delay";
  Hover(1);
  HWND window = OpenBalloon();
  ASSERT_TRUE(window);
  EXPECT_TRUE(IsWindowVisible(window));
  balloon.reset();
  EXPECT_FALSE(IsWindow(window));
  Hover(10);  // the target carries on alone
}

TEST_F(HostedBalloonTest, OpacityOutsideAByteRaisesOverflowAboveAHundredIsKept) {
  struct Case { long alpha; HRESULT expected; };
  for (const Case& c : {Case{256, static_cast<HRESULT>(0x800A0006)}, Case{-1, static_cast<HRESULT>(0x800A0006)},
                        Case{101, S_OK}}) {
    auto result = CallByName(balloon.get(), L"ShowToolTip",
                             {Long(static_cast<long>(reinterpret_cast<INT_PTR>(target))), Text(L""),
                              Text(L"x"), Long(0), Long(c.alpha)});
    EXPECT_EQ(c.expected, result.scode ? result.scode : result.hr) << c.alpha;
  }
}

}  // namespace
