#include "hosted/shell_launcher.h"

#include <windows.h>
#include <shellapi.h>

namespace vk::hosted {
namespace {

class RealShellLauncher : public ShellLauncher {
 public:
  bool Open(const std::wstring& program, const std::wstring& parameters, HWND owner) override {
    HINSTANCE result = ShellExecuteW(owner, L"Open", program.c_str(), parameters.c_str(), L"C:\\", SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  }
};

RealShellLauncher real_launcher;
thread_local ShellLauncher* current_launcher = nullptr;

}  // namespace

ShellLauncher& CurrentShellLauncher() { return current_launcher ? *current_launcher : real_launcher; }

ShellLauncher* SetShellLauncher(ShellLauncher* launcher) {
  ShellLauncher* previous = current_launcher;
  current_launcher = launcher;
  return previous;
}

std::wstring ViewerParameters(const std::wstring& documento, const std::wstring& path) {
  return L"F00:Ostrela - " + documento + L"|F01:" + path;
}

bool LaunchViewer(const std::wstring& applicationFolder, const std::wstring& documento, const std::wstring& path,
                  HWND owner) {
  std::wstring program = applicationFolder;
  if (!program.empty() && program.back() != L'\\') program += L'\\';
  program += L"DeRavarEvidoz.exe";
  return CurrentShellLauncher().Open(program, ViewerParameters(documento, path), owner);
}

}  // namespace vk::hosted
