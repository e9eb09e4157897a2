#include "runtime/form.h"

#include <commctrl.h>

#include <algorithm>

#include "base/edge_report.h"
#include "base/steps.h"
#include "runtime/dialog_keys.h"
#include "runtime/mouse_pointer.h"
#include "runtime/twips.h"
#include "runtime/vk_name.h"
#include "runtime/window_class.h"

namespace vk {

namespace {

constexpr wchar_t kFormClass[] = L"VkForm";

// The thread's loaded forms. A heap vector that is never freed: forms still loaded
// when a host thread ends must not be destroyed after its windows and COM are gone.
std::vector<std::shared_ptr<Form>>& LoadedList() {
  thread_local auto* list = new std::vector<std::shared_ptr<Form>>();
  return *list;
}

// Takes the form off the loaded list; the list's reference goes once the running
// handlers return.
void RemoveFromLoaded(const std::shared_ptr<Form>& form) {
  auto& list = LoadedList();
  auto it = std::find(list.begin(), list.end(), form);
  if (it != list.end()) {
    ReleaseWhenHandlersReturn(std::move(*it));
    list.erase(it);
  }
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The window's rectangle in its parent's client coordinates (the screen for a
// top-level window).
RECT RectInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (HWND parent = (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr)
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int ShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

// A list that cannot grow ends the walk.
BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM p) noexcept {
  return GuardEdge(L"modal form's window list", FALSE, [&] {
    auto* out = reinterpret_cast<std::vector<HWND>*>(p);
    if (IsWindowVisible(w) && IsWindowEnabled(w)) out->push_back(w);
    return TRUE;
  });
}

// The loaded form whose window is `window` or holds it, or nullptr.
std::shared_ptr<Form> OpeningForm(HWND window) {
  for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) {
    if (Form* form = Form::FromWindow(w)) return form->loaded() ? form->shared_from_this() : nullptr;
  }
  return nullptr;
}

// Wakes a message loop waiting in GetMessage, so it looks at its exit condition.
void WakeMessageLoop() { PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); }

}  // namespace

Form::Form(FormArgs args) : name_(std::move(args.name)) {
  static const bool registered = RegisterRuntimeClass(kFormClass, &Form::StaticWindowProc, CS_DBLCLKS,
                                                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  (void)registered;
  const DWORD style = (args.borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW) | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_CONTROLPARENT | (args.toolWindow ? WS_EX_TOOLWINDOW : 0);
  RECT r{0, 0, TwipsToPixels(args.scaleWidth), TwipsToPixels(args.scaleHeight)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  CreateWindowExW(exStyle, kFormClass, args.caption.c_str(), style, x, y, w, h, nullptr, nullptr,
                  RuntimeModule(), this);
  if (!hwnd_) Raise(err::OutOfMemory);
}

Form::~Form() {
  DestroyWindowNow();
  // Controls go before the members they might still read.
  controls_.clear();
}

void Form::Register() {
  loaded_ = true;
  LoadedList().push_back(shared_from_this());
}

void Form::DestroyWindowNow() {
  if (!hwnd_) return;
  HWND window = hwnd_;
  destroyingWindow_ = true;
  DestroyWindow(window);  // WM_NCDESTROY clears hwnd_ and the controls' windows
  destroyingWindow_ = false;
  hwnd_ = nullptr;
  toolTip_ = nullptr;
}

void Form::WindowDestroyedFromOutside() {
  // A docked screen goes with its host's window: that is its unloading, and its
  // unload handlers still run (they release what the screen holds); it cannot be
  // cancelled any more.
  if (!loaded_ || unloading_) return;
  auto self = shared_from_this();
  HandlerScope scope;
  unloading_ = true;
  bool cancel = false;
  IgnoreErrors([&] { Unloading.Raise(cancel); });
  unloading_ = false;
  loaded_ = false;
  wasUnloaded_ = true;
  RemoveFromLoaded(self);
  WakeMessageLoop();
}

double Form::left() const { return hwnd_ ? PixelsToTwips(RectInParent(hwnd_).left) : 0; }
double Form::top() const { return hwnd_ ? PixelsToTwips(RectInParent(hwnd_).top) : 0; }

double Form::width() const {
  if (!hwnd_) return 0;
  RECT r = RectInParent(hwnd_);
  return PixelsToTwips(r.right - r.left);
}

double Form::height() const {
  if (!hwnd_) return 0;
  RECT r = RectInParent(hwnd_);
  return PixelsToTwips(r.bottom - r.top);
}

void Form::Move(double left, double top, double width, double height) {
  if (width < 0 || height < 0) Raise(err::InvalidPropertyValue);
  if (!hwnd_) return;
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

double Form::scaleWidth() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return PixelsToTwips(r.right);
}

double Form::scaleHeight() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return PixelsToTwips(r.bottom);
}

std::wstring Form::caption() const {
  if (!hwnd_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Form::setCaption(const std::wstring& caption) {
  if (hwnd_) SetWindowTextW(hwnd_, caption.c_str());
}

bool Form::enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }

void Form::setEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}

bool Form::visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE); }

WindowState Form::windowState() const {
  if (!hwnd_) return WindowState::Normal;
  if (!visible()) return pendingState_;
  if (IsZoomed(hwnd_)) return WindowState::Maximized;
  if (IsIconic(hwnd_)) return WindowState::Minimized;
  return WindowState::Normal;
}

void Form::setWindowState(WindowState state) {
  if (!loaded_ || !hwnd_) return;
  if (!visible()) {
    pendingState_ = state;  // applied by the next Show; a hidden form stays hidden
    return;
  }
  if (state == windowState()) return;
  ShowWindow(hwnd_, state == WindowState::Maximized   ? SW_MAXIMIZE
                    : state == WindowState::Minimized ? SW_MINIMIZE
                                                      : SW_RESTORE);
}

int Form::ShowCommand() const {
  switch (pendingState_) {
    case WindowState::Maximized: return SW_SHOWMAXIMIZED;
    case WindowState::Minimized: return SW_SHOWMINIMIZED;
    default: return IsZoomed(hwnd_) || IsIconic(hwnd_) ? SW_SHOW : SW_SHOWNORMAL;
  }
}

void Form::Show(ShowMode mode, HWND owner) {
  if (!loaded_ || !hwnd_) return;
  if (!shownOnce_) {
    shownOnce_ = true;
    LayoutAligned();
    Resize.Raise();
    if (!loaded_ || !hwnd_) return;  // a Resize handler may unload the form
  }
  const bool child = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
  if (mode == ShowMode::Modeless || child) {
    if (!visible()) ShowWindow(hwnd_, ShowCommand());
    return;
  }
  if (modalDepth_ > 0) return;  // already shown modally further up the stack
  auto self = shared_from_this();

  // Everything of this thread that could take input, and the owner's top window
  // (the host's, possibly on another thread), goes off while the form is modal, and
  // comes back on however the loop ends; the keyboard goes back to the control that
  // had it.
  struct Disabled {
    std::vector<HWND> windows;
    HWND ownerRoot = nullptr;
    HWND focus = GetFocus();
    ~Disabled() {
      for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IsWindow(*it)) EnableWindow(*it, TRUE);
      }
      if (ownerRoot && IsWindow(ownerRoot)) SetActiveWindow(ownerRoot);
      if (focus && IsWindow(focus) && IsWindowVisible(focus) && IsWindowEnabled(focus)) SetFocus(focus);
    }
  } disabled;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled.windows));
  std::erase(disabled.windows, hwnd_);
  std::erase(disabled.windows, toolTip_);
  HWND ownerRoot = owner ? GetAncestor(owner, GA_ROOT) : GetActiveWindow();
  if (ownerRoot == hwnd_) ownerRoot = nullptr;
  if (ownerRoot && IsWindowEnabled(ownerRoot) &&
      std::find(disabled.windows.begin(), disabled.windows.end(), ownerRoot) == disabled.windows.end()) {
    disabled.windows.push_back(ownerRoot);
  }
  disabled.ownerRoot = ownerRoot;
  if (ownerRoot) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerRoot));
  for (HWND w : disabled.windows) EnableWindow(w, FALSE);

  // A dialog opened from a form (a docked screen) closes when that form unloads, so
  // nothing in it outlives what the form held.
  struct OpenerWatch {
    std::shared_ptr<Form> opener;
    int token = 0;
    ~OpenerWatch() {
      if (opener) opener->Unloading.Disconnect(token);
    }
  } watch;
  watch.opener = OpeningForm(owner);
  if (watch.opener && watch.opener.get() != this) {
    watch.token = watch.opener->Unloading.Connect([weak = weak_from_this()](bool&) {
      if (auto dialog = weak.lock()) dialog->Unload();
    });
  } else {
    watch.opener.reset();
  }

  if (!visible()) ShowWindow(hwnd_, ShowCommand());
  SetForegroundWindow(hwnd_);
  // Keys go to a control from the start, as in a dialog.
  if (HWND focus = GetFocus(); !focus || !IsChild(hwnd_, focus)) FocusFirstControl(*this);
  ++modalDepth_;
  struct Depth {
    int& depth;
    ~Depth() { --depth; }
  } depth{modalDepth_};
  RunModalLoop();
}

void Form::RunModalLoop() {
  MSG msg;
  while (loaded_ && visible()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit to the outer loop
      break;
    }
    if (got < 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Form::Hide() {
  if (!loaded_ || !hwnd_) return;
  pendingState_ = windowState();
  ShowWindow(hwnd_, SW_HIDE);
  WakeMessageLoop();
}

bool Form::Unload() {
  if (!loaded_ || unloading_) return true;
  auto self = shared_from_this();
  HandlerScope scope;  // whatever the unloading frees waits until this returns
  unloading_ = true;
  bool cancel = false;
  try {
    Unloading.Raise(cancel);
  } catch (...) {
    unloading_ = false;
    throw;
  }
  unloading_ = false;
  if (cancel) return false;

  loaded_ = false;
  wasUnloaded_ = true;
  RemoveFromLoaded(self);
  DestroyWindowNow();
  WakeMessageLoop();
  return true;
}

void Form::DockInto(HWND host) {
  if (!loaded_ || !hwnd_ || !host) return;
  LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
  style = (style & ~WS_POPUP) | WS_CHILD;
  SetWindowLongW(hwnd_, GWL_STYLE, style);
  SetParent(hwnd_, host);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::vector<Control*> Form::Controls() const {
  std::vector<Control*> out;
  out.reserve(controls_.size());
  for (const auto& c : controls_) out.push_back(c.get());
  return out;
}

Control* Form::FindControl(std::wstring_view name, int index) const {
  for (const auto& c : controls_) {
    if (c->index() == index && EqualsNoCase(c->name(), name)) return c.get();
  }
  return nullptr;
}

void Form::Adopt(std::unique_ptr<Control> control) {
  const bool last = control->tabIndex_ < 0 || control->tabIndex_ >= static_cast<int>(controls_.size());
  if (last) control->tabIndex_ = static_cast<int>(controls_.size());
  Control& c = *control;
  controls_.push_back(std::move(control));
  if (hwnd_) c.Realize();
  // The usual case, a control added after all others, needs no renumbering.
  if (!last) ApplyTabOrder(&c);
  else if (c.hwnd()) SetWindowPos(c.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Control& Form::LoadElement(std::wstring_view name, int index) {
  if (index < 0) Raise(err::InvalidPropertyValue);
  if (FindControl(name, index)) Raise(err::ObjectAlreadyLoaded);
  Control* first = FindControl(name, 0);
  if (!first) Raise(err::ControlArrayElementMissing);
  std::unique_ptr<Control> clone = first->Clone(*this, first->CloneArgs(index));
  Control& ref = *clone;
  Adopt(std::move(clone));
  return ref;
}

void Form::UnloadElement(Control& element) {
  if (element.index() <= 0) Raise(err::CannotUnloadDesignControl);
  auto it = std::find_if(controls_.begin(), controls_.end(),
                         [&](const auto& c) { return c.get() == &element; });
  if (it == controls_.end()) return;
  std::shared_ptr<Control> gone(std::move(*it));
  controls_.erase(it);
  if (gone->hwnd()) ShowWindow(gone->hwnd(), SW_HIDE);
  ReleaseWhenHandlersReturn(gone);  // its own handler may be running
}

void Form::ApplyTabOrder(const Control* moved) {
  // Renumbers 0..n-1; the control just given a number goes before the one that had it.
  std::vector<Control*> order = Controls();
  std::stable_sort(order.begin(), order.end(), [moved](Control* a, Control* b) {
    if (a->tabIndex_ != b->tabIndex_) return a->tabIndex_ < b->tabIndex_;
    return a == moved && b != moved;
  });
  for (size_t i = 0; i < order.size(); ++i) order[i]->tabIndex_ = static_cast<int>(i);
  // Window order follows tab order among siblings; only the moved window changed its
  // place, so it alone is restacked (a placement renumbers often).
  if (!moved || !moved->hwnd()) return;
  HWND parent = GetParent(moved->hwnd());
  HWND previous = HWND_TOP;
  for (Control* c : order) {
    if (c == moved) break;
    if (c->hwnd() && GetParent(c->hwnd()) == parent) previous = c->hwnd();
  }
  SetWindowPos(moved->hwnd(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::LayoutAligned() {
  // Like the platform: each aligned control takes its edge of what the ones before
  // it left over, in the order the controls were added.
  if (layingOut_) return;
  layingOut_ = true;
  struct Done { bool& flag; ~Done() { flag = false; } } done{layingOut_};
  double left = 0, top = 0, right = scaleWidth(), bottom = scaleHeight();
  for (const auto& c : controls_) {
    if (c->align_ == Align::None || &c->container() != this) continue;
    const double w = std::max(0.0, right - left), h = std::max(0.0, bottom - top);
    switch (c->align_) {
      case Align::Top: c->Move(left, top, w, c->height()); top += c->height(); break;
      case Align::Bottom: c->Move(left, bottom - c->height(), w, c->height()); bottom -= c->height(); break;
      case Align::Left: c->Move(left, top, c->width(), h); left += c->width(); break;
      case Align::Right: c->Move(right - c->width(), top, c->width(), h); right -= c->width(); break;
      case Align::None: break;
    }
  }
}

void Form::SetToolTip(HWND control, const std::wstring& text) {
  if (!hwnd_) return;
  if (!toolTip_) {
    if (text.empty()) return;
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, RuntimeModule(), nullptr);
    if (!toolTip_) return;
  }
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (text.empty()) return;
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

bool Form::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

Form* Form::FromWindow(HWND hwnd) {
  if (!hwnd) return nullptr;
  wchar_t cls[16] = {};
  if (!GetClassNameW(hwnd, cls, 16) || lstrcmpW(cls, kFormClass) != 0) return nullptr;
  return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Form::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = WindowOwner<Form>(hwnd, message, lParam);
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) {
    self->hwnd_ = hwnd;
    SetVkName(hwnd, self->name_);
    HoldDialogKeys();
  }
  if (message == WM_DESTROY) {
    if (!self->destroyingWindow_) self->WindowDestroyedFromOutside();
    if (self->toolTip_ && IsWindow(self->toolTip_)) DestroyWindow(self->toolTip_);
    self->toolTip_ = nullptr;
  }
  if (message == WM_NCDESTROY) {
    RemoveVkName(hwnd);
    ReleaseDialogKeys();
    self->hwnd_ = nullptr;
    self->toolTip_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  HandlerScope scope;
  // An event handler that fails ends here; the message then goes on as by default.
  return GuardEdge(
      L"form", [&] { return DefWindowProcW(hwnd, message, wParam, lParam); },
      [&] { return self->WindowProc(message, wParam, lParam); });
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (message == DialogKeyMessage()) {
    ActOnDialogKey(*this, wParam, reinterpret_cast<HWND>(lParam));
    return 0;
  }
  if (HandleMessage(message, wParam, lParam, result)) return result;
  if (ReflectToControl(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SETCURSOR:
      if (ApplyMousePointer(hwnd_, lParam)) return TRUE;
      break;
    case WM_SIZE:
      LayoutAligned();
      if (loaded_) Resize.Raise();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_ACTIVATE:
      if (loaded_ && LOWORD(wParam) != WA_INACTIVE) Activate.Raise();
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
      if (loaded_) {
        MouseDown.Raise(button, ShiftState(), PixelsToTwips(static_cast<short>(LOWORD(lParam))),
                        PixelsToTwips(static_cast<short>(HIWORD(lParam))));
      }
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

std::vector<std::shared_ptr<Form>> LoadedForms() { return LoadedList(); }

std::shared_ptr<Form> FindLoadedForm(std::wstring_view name) {
  for (const auto& f : LoadedList()) {
    if (EqualsNoCase(f->name(), name)) return f;
  }
  return nullptr;
}

}  // namespace vk
