#pragma once
// The base of every control a form holds: a child window (a system control or one
// of our own classes) or a windowless item. It carries what the container gives
// every control: Left, Top, Width, Height in twips relative to the container,
// Visible, Enabled, Tag, Container, Index, TabIndex and ToolTipText.
//
// A derived control:
//   - takes (Form&, ControlArgs, its own settings...) in its constructor and passes
//     the first two on; it is made with form.Add<T>(args, settings...);
//   - creates its window in CreateWindowIn (child of the given parent, at the given
//     pixel rectangle, without WS_VISIBLE); windowless items do not override it;
//   - hears notifications its parent receives for it (WM_COMMAND, WM_NOTIFY,
//     WM_CTLCOLOR*, WM_DRAWITEM, scrolls) in HandleReflected, and its own window's
//     messages in HandleMessage;
//   - supplies Clone when it can be an element of a control array.
#include <windows.h>

#include <memory>
#include <string>

namespace vk {

class Form;
class Control;

// A form or a frame: something controls sit in. Child positions are relative to it.
class Container {
 public:
  virtual HWND ContainerWindow() const = 0;  // parent window of the children
  virtual Form& ContainerForm() = 0;         // the form it belongs to (itself for a form)
  // The control behind this container; nullptr for the form itself.
  virtual Control* ContainerControl() { return nullptr; }

 protected:
  virtual ~Container() = default;
};

// Docking of a control to an edge of its form (the extender's Align): the form
// places it again on every resize, keeping its height (top, bottom) or width.
enum class Align { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4 };

struct ControlArgs {
  std::wstring name{};
  int index = -1;  // -1: not an element of a control array
  double left = 0, top = 0, width = 0, height = 0;  // twips, relative to the container
  bool visible = true;
  bool enabled = true;
  std::wstring tag{};
  std::wstring toolTipText{};
  int tabIndex = -1;               // -1: after every control added before
  Container* container = nullptr;  // nullptr: the form itself
};

// The settings of a control at its design place (twips, in `container` or the form),
// the way the screens' builders list them.
ControlArgs ControlAt(std::wstring name, double left, double top, double width, double height,
                      Container* container = nullptr, int index = -1);

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return *form_; }
  const std::wstring& name() const { return name_; }
  int index() const { return index_; }
  HWND hwnd() const { return hwnd_; }  // nullptr for windowless items and after unloading

  double left() const { return left_; }
  double top() const { return top_; }
  double width() const { return width_; }
  double height() const { return height_; }
  void setLeft(double twips) { Move(twips, top_, width_, height_); }
  void setTop(double twips) { Move(left_, twips, width_, height_); }
  void setWidth(double twips) { Move(left_, top_, twips, height_); }
  void setHeight(double twips) { Move(left_, top_, width_, twips); }
  // Raises VbError 380 (and changes nothing) for a negative width or height.
  void Move(double left, double top, double width, double height);

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  const std::wstring& tag() const { return tag_; }
  void setTag(std::wstring tag) { tag_ = std::move(tag); }
  int tabIndex() const { return tabIndex_; }
  void setTabIndex(int index);
  const std::wstring& toolTipText() const { return toolTipText_; }
  void setToolTipText(std::wstring text);

  Align align() const { return align_; }
  void setAlign(Align align);

  Container& container() const { return *container_; }
  // Moves the control into another container (a frame of the same form), keeping
  // its Left and Top, now relative to the new container.
  void setContainer(Container& container);

  // Gives the control the keyboard focus (when it has a window).
  void SetFocus();

  // The control whose window this is, or nullptr.
  static Control* FromWindow(HWND hwnd);

  // The settings of this control for a copy: same everything, new index, hidden.
  ControlArgs CloneArgs(int newIndex) const;

 protected:
  Control(Form& form, ControlArgs args);

  virtual HWND CreateWindowIn(HWND parent, const RECT& pixels);
  // A new control of the same kind and settings for a control array; the default
  // raises VbError 438 (the kind cannot be cloned).
  virtual std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const;
  // A message the parent received on this control's behalf; true when handled.
  virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // A message of the control's own window, before its window procedure; true when handled.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // After Left/Top/Width/Height, Visible or Enabled changed (windowless items draw here).
  virtual void OnBoundsChanged() {}
  virtual void OnVisibleChanged() {}
  virtual void OnEnabledChanged() {}

  // Pixel rectangle of the control inside its container's window.
  RECT PixelRect() const;

  // Destroys the window now. A control whose window procedure calls its own virtual
  // members calls this in its destructor, so that the messages of the window's end
  // (focus, capture, destroy) never reach a half-destroyed object.
  void DestroyWindowNow();

 private:
  friend class Form;
  friend class UserControl;  // makes the windows of its constituents
  friend bool ReflectToControl(UINT, WPARAM, LPARAM, LRESULT&);
  void Realize();            // creates the window and applies the state
  void WindowDestroyed();    // the window went (with its form, or on its own)
  void ApplyBounds();
  void ApplyToolTip();
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  Form* form_;
  Container* container_;
  std::wstring name_;
  int index_;
  double left_, top_, width_, height_;
  bool visible_, enabled_;
  std::wstring tag_;
  std::wstring toolTipText_;
  int tabIndex_;
  Align align_ = Align::None;
  HWND hwnd_ = nullptr;
};

// For a container's window procedure: passes a child's notification to the control
// it concerns. Returns true with the result when that control handled it.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace vk
