#pragma once
// The viewer program's window: it shows the file named after "|F01:" in its command
// line, an image fitted to the window, or for a PDF its name and that it cannot be
// previewed here; a file it cannot show gets a line saying why.
#include <windows.h>

#include <memory>
#include <string>

#include "hosted/image_viewer.h"
#include "hosted/simple_controls.h"

namespace vk::viewer {

struct ViewerCommand {
  std::wstring title;  // the text after "F00:" (up to "|F01:")
  std::wstring path;   // the text after "|F01:", without surrounding quotes
};

// Reads the parameters the screens pass: "F00:<title>|F01:<path>". The program's own
// name may come first. Without "|F01:" the path is empty.
ViewerCommand ParseViewerCommandLine(const std::wstring& commandLine);

enum class Shown { Image, Pdf, Failure, Nothing };

class ViewerWindow {
 public:
  ViewerWindow();
  ~ViewerWindow();
  ViewerWindow(const ViewerWindow&) = delete;
  ViewerWindow& operator=(const ViewerWindow&) = delete;

  HWND hwnd() const { return window_; }
  Shown Open(const ViewerCommand& command);
  Shown shown() const { return shown_; }
  // The line shown instead of a picture (empty while a picture is shown).
  std::wstring Message() const;
  const hosted::ImageViewer& image() const { return *image_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  void Layout();

  HWND window_ = nullptr;  // owned
  std::unique_ptr<hosted::ImageViewer> image_;
  std::unique_ptr<hosted::Label> message_;
  Shown shown_ = Shown::Nothing;
};

}  // namespace vk::viewer
