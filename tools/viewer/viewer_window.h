#pragma once
// The viewer program's window: it shows the file named after "|F01:" in its command
// line, an image fitted to the window (decoded at the window's size), or for a PDF its
// name and that it cannot be previewed here; a file it cannot show, or a picture too
// large to decode in memory, gets a line saying why.
#include <windows.h>

#include <string>

#include "hosted/image_viewer.h"
#include "hosted/simple_controls.h"
#include "runtime/form.h"

namespace vk::viewer {

struct ViewerCommand {
  std::wstring title;  // the text after "F00:" (up to "|F01:")
  std::wstring path;   // the text after "|F01:", without surrounding quotes
};

// Reads the parameters the screens pass: "F00:<title>|F01:<path>", also quoted as a
// whole. The program's own name may come first. Without "|F01:" the path is empty.
ViewerCommand ParseViewerCommandLine(const std::wstring& commandLine);

enum class Shown { Image, Pdf, Failure, Nothing };

class ViewerForm : public Form {
 public:
  ViewerForm();

  Shown Open(const ViewerCommand& command);
  Shown shown() const { return shown_; }
  // The line shown instead of a picture (empty while a picture is shown).
  std::wstring Message() const;
  const hosted::ImageViewer& image() const { return *image_; }

 private:
  void Layout();

  hosted::ImageViewer* image_;  // owned by the form, as all its controls
  hosted::Label* message_;
  Shown shown_ = Shown::Nothing;
};

}  // namespace vk::viewer
