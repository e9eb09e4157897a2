#include "hosted/system_status_bar.h"

#include <commctrl.h>

#include "runtime/twips.h"

namespace vk::hosted {
namespace {

void RegisterBarClass() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
}

}  // namespace

SystemStatusBar::SystemStatusBar(Form& form, ControlArgs args) : FormControl(form, WithHeight(std::move(args))) {
  setAlign(Align::Bottom);
}

ControlArgs SystemStatusBar::WithHeight(ControlArgs args) {
  if (args.height <= 0) args.height = NaturalHeight();
  return args;
}

double SystemStatusBar::NaturalHeight() {
  // Measured once on a bar the system sizes itself, in a hidden window of its own.
  static const double height = [] {
    RegisterBarClass();
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageW(bar, WM_SIZE, 0, 0);
    RECT r{};
    GetWindowRect(bar, &r);
    DestroyWindow(parent);
    return PixelsToTwips(r.bottom > r.top ? r.bottom - r.top : 22);
  }();
  return height;
}

void SystemStatusBar::OnCreated() {
  RegisterBarClass();
  // Placed by its control, not by the bar itself.
  CreateInner(STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE);
}

}  // namespace vk::hosted
