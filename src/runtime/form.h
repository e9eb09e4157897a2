#pragma once
// A form: a top-level Win32 window measured in twips that owns its controls.
//
//   class FAbout : public vk::Form {
//    public:
//     FAbout() : Form({.name = L"FAbout", .caption = L"Acerca de", .scaleWidth = 4800,
//                      .scaleHeight = 2400}) {
//       ok_ = &Add<CommandButton>({.name = L"cmdOk", .left = 120, ...}, L"OK");
//       ok_->Click.Connect([this] { Unload(); });
//     }
//   };
//   auto about = vk::Form::Load<FAbout>();   // window made, form in the loaded list
//   about->Show(vk::ShowMode::Modal);        // returns when hidden or unloaded
//
// Lifetime: forms are shared_ptr-owned. The thread's list of loaded forms holds
// one reference from Load to Unload; the caller may keep its own. Unload destroys
// the window at once; when it happens inside a handler (or a DoEvents) the object
// itself stays alive until the outermost handler has returned. Commands for an
// unloaded form (Show, Move...) do nothing.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/vb_error.h"
#include "runtime/control.h"
#include "runtime/event.h"
#include "runtime/ole_color.h"

namespace vk {

// What a form tells the controls on it about itself.
struct AmbientProperties {
  OleColor backColor = kButtonFace;
  OleColor foreColor = kButtonText;
  std::wstring fontName{L"MS Sans Serif"};
  double fontSize = 8.25;  // points
  bool fontBold = false;
  bool userMode = true;  // run time, not a design host
};

enum class ShowMode { Modeless = 0, Modal = 1 };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

struct FormArgs {
  std::wstring name{};
  std::wstring caption{};
  double scaleWidth = 4800;  // client area in twips
  double scaleHeight = 3600;
  bool borderless = false;
  bool toolWindow = false;
};

class Form : public Container, public std::enable_shared_from_this<Form> {
 public:
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Makes the form (its window, hidden), puts it in the thread's loaded list and
  // calls OnLoad. Use this rather than constructing a form directly.
  template <class T, class... A>
  static std::shared_ptr<T> Load(A&&... args) {
    auto form = std::make_shared<T>(std::forward<A>(args)...);
    Form& base = *form;  // OnLoad may be private in T: call it as the base's
    base.Register();
    base.OnLoad();
    return form;
  }

  const std::wstring& name() const { return name_; }
  HWND hwnd() const { return hwnd_; }
  bool loaded() const { return loaded_; }
  // True once the form has been unloaded (false while it is being built).
  bool wasUnloaded() const { return wasUnloaded_; }

  // Outer size and position in twips (the window, frame included).
  double left() const;
  double top() const;
  double width() const;
  double height() const;
  void setLeft(double twips) { Move(twips, top(), width(), height()); }
  void setTop(double twips) { Move(left(), twips, width(), height()); }
  void setWidth(double twips) { Move(left(), top(), twips, height()); }
  void setHeight(double twips) { Move(left(), top(), width(), twips); }
  void Move(double left, double top, double width, double height);
  // Client area in twips.
  double scaleWidth() const;
  double scaleHeight() const;

  std::wstring caption() const;
  void setCaption(const std::wstring& caption);
  bool enabled() const;
  void setEnabled(bool enabled);

  bool visible() const;
  WindowState windowState() const;
  // A change of state resizes the window, which raises Resize.
  void setWindowState(WindowState state);
  // The first Show raises Resize before the window appears, as the platform does.
  // Modal: disables the owner and the thread's other top-level windows, runs a
  // message loop until the form is hidden or unloaded, then enables them again
  // (on every way out). When the owner window is a loaded form's, or lies in one,
  // the modal form unloads when that form unloads.
  void Show(ShowMode mode = ShowMode::Modeless, HWND owner = nullptr);
  void Hide();
  // Raises Unloading (a handler may set cancel), destroys the window and leaves
  // the loaded list. Returns false when cancelled. Does nothing once unloaded.
  bool Unload();
  // Makes the form a child of a host window at the host's top-left corner.
  void DockInto(HWND host);
  bool modal() const { return modalDepth_ > 0; }
  // The buttons Enter and Esc press while the form is modal (see dialog_keys.h);
  // without a cancel button Esc closes the form.
  Control* defaultButton() const { return defaultButton_; }
  Control* cancelButton() const { return cancelButton_; }
  void setDefaultButton(Control* button) { defaultButton_ = button; }
  void setCancelButton(Control* button) { cancelButton_ = button; }
  const AmbientProperties& ambient() const { return ambient_; }
  void setAmbient(AmbientProperties ambient) { ambient_ = std::move(ambient); }

  // Controls, in the order they were added (design order, then load order).
  template <class T, class... A>
  T& Add(ControlArgs args, A&&... settings) {
    auto control = std::make_unique<T>(*this, std::move(args), std::forward<A>(settings)...);
    T& ref = *control;
    Adopt(std::move(control));
    return ref;
  }
  std::vector<Control*> Controls() const;
  template <class T>
  std::vector<T*> ControlsOf() const {
    std::vector<T*> out;
    for (const auto& c : controls_)
      if (auto* t = dynamic_cast<T*>(c.get())) out.push_back(t);
    return out;
  }
  // By name and array index (-1: not an array element); nullptr when absent.
  Control* FindControl(std::wstring_view name, int index = -1) const;
  // Clones element 0 of a control array as element `index`, hidden. Raises 360 when
  // that element is loaded already, 340 when element 0 does not exist.
  Control& LoadElement(std::wstring_view name, int index);
  // Removes a run-time element (element 0 cannot be removed: raises 5).
  void UnloadElement(Control& element);

  // Container
  HWND ContainerWindow() const override { return hwnd_; }
  Form& ContainerForm() override { return *this; }

  // Events; a handler of Unloading may set its argument to true to keep the form.
  Event<> Resize;
  Event<bool&> Unloading;
  Event<int, int, double, double> MouseDown;  // button, shift, x, y (twips)
  Event<> Activate;

  // The form whose window this is, or nullptr.
  static Form* FromWindow(HWND hwnd);

 protected:
  explicit Form(FormArgs args);

  // After the window and the constructor's controls exist (the platform's Form_Load).
  virtual void OnLoad() {}
  // A message of the form's window before the default handling; true when handled.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  friend class Control;
  void Register();
  void Adopt(std::unique_ptr<Control> control);
  void ApplyTabOrder(const Control* moved = nullptr);
  void LayoutAligned();
  void SetToolTip(HWND control, const std::wstring& text);
  void DestroyWindowNow();
  void WindowDestroyedFromOutside();
  int ShowCommand() const;
  void RunModalLoop();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM) noexcept;

  std::wstring name_;
  HWND hwnd_ = nullptr;
  bool loaded_ = false;
  bool unloading_ = false;
  bool wasUnloaded_ = false;
  bool layingOut_ = false;
  bool destroyingWindow_ = false;
  bool shownOnce_ = false;
  WindowState pendingState_ = WindowState::Normal;  // the state a hidden form shows in
  int modalDepth_ = 0;
  HWND toolTip_ = nullptr;  // owned: a docked form's owned pop-ups do not go with it
  Control* defaultButton_ = nullptr;
  Control* cancelButton_ = nullptr;
  AmbientProperties ambient_;
  std::vector<std::unique_ptr<Control>> controls_;
};

// The forms loaded on this thread, in load order.
std::vector<std::shared_ptr<Form>> LoadedForms();
// The first loaded form with that name (case-insensitive), or nullptr.
std::shared_ptr<Form> FindLoadedForm(std::wstring_view name);

// Makes a control array readable: element lookup, Load of new elements (clones of
// element 0, hidden), UBound, and handlers connected to every element, present and
// future, that receive the element's index first.
template <class T>
class ControlArray {
 public:
  ControlArray() = default;
  explicit ControlArray(T& first) { Bind(first); }
  void Bind(T& first) {
    form_ = &first.form();
    name_ = first.name();
  }

  T& operator[](int index) const {
    auto* c = form_ ? dynamic_cast<T*>(form_->FindControl(name_, index)) : nullptr;
    if (!c) Raise(err::ControlArrayElementMissing);
    return *c;
  }
  bool exists(int index) const { return form_ && form_->FindControl(name_, index); }
  T& Load(int index) {
    T& element = static_cast<T&>(form_->LoadElement(name_, index));
    for (const auto& connect : connectors_) connect(element);
    return element;
  }
  void Unload(int index) { form_->UnloadElement((*this)[index]); }
  int LBound() const { return Bounds().first; }
  int UBound() const { return Bounds().second; }
  std::vector<T*> Elements() const {
    std::vector<T*> out;
    if (!form_) return out;
    for (T* c : form_->template ControlsOf<T>())
      if (c->name() == name_ && c->index() >= 0) out.push_back(c);
    std::sort(out.begin(), out.end(), [](T* a, T* b) { return a->index() < b->index(); });
    return out;
  }

  // Connects handler(index, args...) to that event of every element, now and later.
  template <class... A, class F>
  void ConnectAll(Event<A...> T::*event, F handler) {
    auto connect = [event, handler](T& element) {
      const int index = element.index();
      (element.*event).Connect([handler, index](A... args) { handler(index, args...); });
    };
    for (T* element : Elements()) connect(*element);
    connectors_.push_back(connect);
  }

 private:
  std::pair<int, int> Bounds() const {
    auto all = Elements();
    if (all.empty()) Raise(err::ControlArrayElementMissing);
    int low = all.front()->index(), high = low;
    for (T* c : all) {
      low = std::min(low, c->index());
      high = std::max(high, c->index());
    }
    return {low, high};
  }

  Form* form_ = nullptr;
  std::wstring name_;
  std::vector<std::function<void(T&)>> connectors_;
};

}  // namespace vk
