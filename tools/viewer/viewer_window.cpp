#include "viewer_window.h"

#include "runtime/vb_error.h"

namespace vk::viewer {
namespace {

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

ViewerCommand ParseViewerCommandLine(const std::wstring& commandLine) {
  ViewerCommand command;
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
  } else {
    try {
      image_->SetFilePath(command.path);
      image_->Load();
      image_->SetFitToWindow(true);
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
