#include "screen_kit/document_screen.h"

#include "base/steps.h"
#include "base/vb_error.h"
#include "runtime/do_events.h"
#include "runtime/event.h"
#include "runtime/mouse_pointer.h"
#include "runtime/twips.h"

namespace vk {
namespace {

// Makes a built screen a child of its host window. Raises 5 when that is no window.
void DockIntoHost(Form& screen, long hostWindow) {
  const HWND host = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hostWindow));
  if (!IsWindow(host)) Raise(err::InvalidProcedureCall);
  screen.DockInto(host);
}

// Hidden while the controls move; shown again only when it was shown before.
class LayoutPass {
 public:
  explicit LayoutPass(Form& screen) : screen_(screen), wasShown_(screen.visible()) { screen.Hide(); }
  ~LayoutPass() {
    if (wasShown_) screen_.Show();
  }
  LayoutPass(const LayoutPass&) = delete;
  LayoutPass& operator=(const LayoutPass&) = delete;

 private:
  Form& screen_;
  bool wasShown_;
};

}  // namespace

DocumentScreen::DocumentScreen(std::wstring name, std::wstring caption)
    : Form({.name = std::move(name), .caption = std::move(caption), .scaleWidth = kDesignWidth,
            .scaleHeight = kDesignHeight, .borderless = true}) {
  Resize.Connect([this] {
    if (!fitting_) Layout();
  });
  Unloading.Connect([this](bool&) { Form_Unload(); });
}

bool DocumentScreen::MakeForm() {
  HandlerScope running;  // a close inside a yield frees nothing still in use here
  ScreenBusy::Scope working(busy_);
  bool made = false;
  IgnoreErrors([&] {
    if (!FillScreen()) return;
    DockIntoHost(*this, mHWndContainer);
    made = true;
    SetMousePointer(pointer::Default);
    FitToHost();
    Show();  // the first showing lays the screen out
  });
  return made;
}

bool DocumentScreen::KillForm() {
  mData.reset();
  IgnoreErrors([&] { Unload(); });
  return false;
}

bool DocumentScreen::CreateDataObject() {
  mData = DataAccess::Create();
  return mData.has_value();
}

void DocumentScreen::Command(const std::function<void()>& command) {
  if (busy() || !loaded()) return;
  HandlerScope running;
  ScreenBusy::Scope working(busy_);
  IgnoreErrors(command);
}

void DocumentScreen::ViewCommand(const std::function<void()>& command) {
  if (!loaded()) return;
  HandlerScope running;
  IgnoreErrors(command);
}

bool DocumentScreen::ServeMessages() {
  DoEvents();
  return StillWanted();
}

void DocumentScreen::Form_Resize() {
  FitToHost();
  Layout();
}

void DocumentScreen::FitToHost() {
  const HWND host = GetParent(hwnd());
  RECT client{};
  if (!host || !GetClientRect(host, &client)) return;
  fitting_ = true;
  IgnoreErrors([&] { Move(0, 0, PixelsToTwips(client.right), PixelsToTwips(client.bottom)); });
  fitting_ = false;
}

void DocumentScreen::Layout() {
  if (!loaded()) return;
  LayoutPass pass(*this);
  PlaceControls();
}

}  // namespace vk
