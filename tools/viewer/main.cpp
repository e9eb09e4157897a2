// DeRavarEvidoz.exe: shows one document, started by the screens through the shell
// with "F00:Ostrela - <name>|F01:<path>".
#include <windows.h>
#include <objbase.h>

#include "viewer_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    auto viewer = vk::Form::Load<vk::viewer::ViewerForm>();
    viewer->Open(vk::viewer::ParseViewerCommandLine(GetCommandLineW()));
    viewer->Show();
    ShowWindow(viewer->hwnd(), show);
    // Closing the window unloads the form, which ends the program.
    MSG msg;
    while (viewer->loaded() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(viewer->hwnd(), &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  CoUninitialize();
  return 0;
}
