// DemoHost: a plain Win32 program that hosts the component the way the document-
// management application does.
//   DemoHost [FORMCODE] [--app KEY] [--id COMPONENT] [--picture FILE.bmp] [--delay MS] [--tour]
// FORMCODE defaults to I01CAT, the cataloguing screen. With --picture it writes a
// picture of its window after the delay and closes, so the demo can be checked without
// a screen. With --tour it takes the first steps on the cataloguing screen (find, show
// a scan, choose a type).
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "host_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int showCommand) {
  HostOptions options;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == L"--app" && hasValue) options.applicationName = argv[++i];
    else if (arg == L"--id" && hasValue) options.objectId = argv[++i];
    else if (arg == L"--picture" && hasValue) options.picturePath = argv[++i];
    else if (arg == L"--tour") options.catalogueTour = true;
    else if (arg == L"--delay" && hasValue) options.pictureDelayMs = static_cast<UINT>(_wtoi(argv[++i]));
    else options.objectName = arg;
  }
  LocalFree(argv);

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int code = 0;
  {
    HostWindow host(options);
    if (!host.Create(showCommand == 0 ? SW_SHOWNORMAL : showCommand)) {
      code = 4;
    } else {
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      code = host.exitCode();
    }
  }
  CoUninitialize();
  return code;
}
