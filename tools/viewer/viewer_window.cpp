#include "viewer_window.h"

#include <algorithm>

#include "base/vb_error.h"
#include "image_header.h"

namespace vk::viewer {
namespace {

// The imaging component holds the whole picture while it scales it: past this many
// pixels a 32-bit process runs out of memory (a 14,000-pixel square already does).
constexpr long kMostPixels = 100000000;

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return {};
  std::wstring out = text.substr(first, text.find_last_not_of(L" \t\r\n") - first + 1);
  if (out.size() >= 2 && out.front() == L'"' && out.back() == L'"') out = out.substr(1, out.size() - 2);
  return out;
}

bool EndsWithPdf(const std::wstring& path) {
  return path.size() >= 4 && CompareStringOrdinal(path.c_str() + path.size() - 4, 4, L".pdf", 4, TRUE) == CSTR_EQUAL;
}

std::wstring NameOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

ViewerCommand ParseViewerCommandLine(const std::wstring& line) {
  ViewerCommand command;
  std::wstring commandLine = line;
  // The shell may pass the parameters quoted as a whole ("F00:...|F01:..."): the
  // closing quote then ends the line and belongs to neither part.
  const auto first = std::min(commandLine.find(L"F00:"), commandLine.find(L"|F01:"));
  if (first != std::wstring::npos && first > 0 && commandLine[first - 1] == L'"') {
    const auto last = commandLine.find_last_not_of(L" \t\r\n");
    if (last > first && commandLine[last] == L'"') commandLine.erase(last);
  }
  const auto title = commandLine.find(L"F00:");
  const auto path = commandLine.find(L"|F01:");
  if (title != std::wstring::npos && (path == std::wstring::npos || title < path)) {
    command.title = Trimmed(commandLine.substr(title + 4, path == std::wstring::npos ? std::wstring::npos
                                                                                     : path - title - 4));
  }
  if (path != std::wstring::npos) command.path = Trimmed(commandLine.substr(path + 5));
  return command;
}

ViewerForm::ViewerForm() : Form({.name = L"FViewer", .caption = L"Ostrela", .scaleWidth = 11475, .scaleHeight = 12750}) {
  ControlArgs image;
  image.name = L"iImage";
  image_ = &Add<hosted::ImageViewer>(image);
  ControlArgs message;
  message.name = L"lblMessage";
  message.visible = false;
  message_ = &Add<hosted::Label>(message);
  Resize.Connect([this] { Layout(); });
  Layout();
}

void ViewerForm::Layout() {
  const double width = scaleWidth();
  const double height = scaleHeight();
  image_->Move(0, 0, width, height);
  message_->Move(150, 150, width > 300 ? width - 300 : 0, 900);
}

Shown ViewerForm::Open(const ViewerCommand& command) {
  setCaption(command.title.empty() ? L"Ostrela" : command.title);
  std::wstring text;
  if (command.path.empty()) {
    shown_ = Shown::Nothing;
    text = L"No se indicó ningún archivo para mostrar.";
  } else if (EndsWithPdf(command.path)) {
    shown_ = Shown::Pdf;
    text = L"El documento " + NameOf(command.path) + L" es un archivo PDF y no se puede previsualizar.";
  } else if (auto size = DeclaredPixelSize(command.path);
             size && static_cast<double>(size->width) * size->height > kMostPixels) {
    shown_ = Shown::Failure;
    text = L"La imagen " + NameOf(command.path) + L" mide " + std::to_wstring(size->width) + L" × " +
           std::to_wstring(size->height) + L" píxeles: es demasiado grande para mostrarla (hasta " +
           std::to_wstring(kMostPixels / 1000000) + L" millones de píxeles).";
  } else {
    try {
      // Fitted before it loads, so the picture is decoded once, at the window's size.
      image_->SetFitToWindow(true);
      image_->SetFilePath(command.path);
      image_->Load();
      shown_ = Shown::Image;
    } catch (const VbError& error) {
      shown_ = Shown::Failure;
      text = L"No se puede mostrar " + NameOf(command.path) + L": " + error.description;
    }
  }
  image_->setVisible(shown_ == Shown::Image);
  message_->SetCaption(text);
  message_->setVisible(shown_ != Shown::Image);
  return shown_;
}

std::wstring ViewerForm::Message() const { return shown_ == Shown::Image ? std::wstring() : message_->Caption(); }

}  // namespace vk::viewer
