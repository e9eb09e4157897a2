#include "host/docked_screen.h"

#include "runtime/steps.h"
#include "runtime/twips.h"

namespace vk {

void DockIntoHost(Form& screen, long hostWindow) {
  const HWND host = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hostWindow));
  if (!IsWindow(host)) Raise(err::InvalidProcedureCall);
  screen.DockInto(host);
}

void FitToHost(Form& screen, bool& fitting) {
  const HWND host = GetParent(screen.hwnd());
  RECT client{};
  if (!host || !GetClientRect(host, &client)) return;
  fitting = true;
  IgnoreErrors([&] { screen.Move(0, 0, PixelsToTwips(client.right), PixelsToTwips(client.bottom)); });
  fitting = false;
}

}  // namespace vk
