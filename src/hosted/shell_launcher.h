#pragma once
// Starting another program through the shell, behind a seam: the real launcher calls
// ShellExecuteW with the verb "Open", the working folder "C:\" and a normal window and
// does not wait; tests put a recording launcher in its place.
#include <windows.h>

#include <string>

#include "base/seam.h"

namespace vk::hosted {

class ShellLauncher {
 public:
  virtual ~ShellLauncher() = default;
  // Returns false when the program could not be started. owner is the window the
  // shell's own messages (a missing program, say) belong to.
  virtual bool Open(const std::wstring& program, const std::wstring& parameters, HWND owner) = 0;
};

}  // namespace vk::hosted

namespace vk {
// The thread's launcher: the real one unless a test put another in place (and keeps it
// alive while it is there).
template <>
hosted::ShellLauncher* Seam<hosted::ShellLauncher*>::Real();
}  // namespace vk

namespace vk::hosted {

// The viewer program's parameters for one document: "F00:Ostrela - " & name & "|F01:" & path.
std::wstring ViewerParameters(const std::wstring& documento, const std::wstring& path);
// Starts the viewer program of applicationFolder on one document, owned by the screen's window.
bool LaunchViewer(const std::wstring& applicationFolder, const std::wstring& documento, const std::wstring& path,
                  HWND owner);

}  // namespace vk::hosted
