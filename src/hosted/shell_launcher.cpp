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

}  // namespace

std::wstring ViewerParameters(const std::wstring& documento, const std::wstring& path) {
  return L"F00:Ostrela - " + documento + L"|F01:" + path;
}

bool LaunchViewer(const std::wstring& applicationFolder, const std::wstring& documento, const std::wstring& path,
                  HWND owner) {
  std::wstring program = applicationFolder;
  if (!program.empty() && program.back() != L'\\') program += L'\\';
  program += L"DeRavarEvidoz.exe";
  return Seam<ShellLauncher*>::Current()->Open(program, ViewerParameters(documento, path), owner);
}

}  // namespace vk::hosted

namespace vk {

template <>
hosted::ShellLauncher* Seam<hosted::ShellLauncher*>::Real() {
  return &hosted::real_launcher;
}

}  // namespace vk
