// DeRavarEvidoz.exe: shows one document, started by the screens through the shell
// with "F00:Ostrela - <name>|F01:<path>".
#include <windows.h>
#include <objbase.h>

#include "viewer_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int result = 0;
  {
    vk::viewer::ViewerWindow window;
    window.Open(vk::viewer::ParseViewerCommandLine(GetCommandLineW()));
    ShowWindow(window.hwnd(), show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(window.hwnd(), &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    result = static_cast<int>(msg.wParam);
  }
  CoUninitialize();
  return result;
}
