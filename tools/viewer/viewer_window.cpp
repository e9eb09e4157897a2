#include "viewer_window.h"

#include "runtime/vb_error.h"

namespace vk::viewer {
namespace {

const wchar_t kClassName[] = L"VkDocumentViewer";

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

ViewerWindow::ViewerWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  RegisterClassExW(&wc);
  window_ = CreateWindowExW(0, kClassName, L"Ostrela", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                            CW_USEDEFAULT, 800, 900, nullptr, nullptr, wc.hInstance, this);
  image_ = std::make_unique<hosted::ImageViewer>();
  image_->Create(window_, 0, 0, 100, 100);
  message_ = std::make_unique<hosted::Label>();
  message_->Create(window_, 150, 150, 100, 100);
  message_->SetVisible(false);
  Layout();
}

ViewerWindow::~ViewerWindow() {
  image_.reset();
  message_.reset();
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void ViewerWindow::Layout() {
  RECT client{};
  GetClientRect(window_, &client);
  const double width = hosted::PixelsToTwips(client.right);
  const double height = hosted::PixelsToTwips(client.bottom);
  if (image_) image_->Move(0, 0, width, height);
  if (message_) message_->Move(150, 150, width > 300 ? width - 300 : 0, 900);
}

Shown ViewerWindow::Open(const ViewerCommand& command) {
  SetWindowTextW(window_, command.title.empty() ? L"Ostrela" : command.title.c_str());
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
  image_->SetVisible(shown_ == Shown::Image);
  message_->SetCaption(text);
  message_->SetVisible(shown_ != Shown::Image);
  return shown_;
}

std::wstring ViewerWindow::Message() const { return shown_ == Shown::Image ? std::wstring() : message_->Caption(); }

LRESULT CALLBACK ViewerWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<ViewerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_SIZE:
      if (self) self->Layout();
      return 0;
    case WM_DESTROY:
      if (self) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      if (self) self->window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace vk::viewer
