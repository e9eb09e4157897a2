#pragma once
// The small controls: command button, label, check box, the system status bar and the
// menu hook (the line control is in line.h).
#include <string>

#include "hosted/form_control.h"
#include "runtime/event.h"

namespace vk::hosted {

// A push button with a caption and a click event without arguments. With a text
// colour of its own it draws itself (the system draws push buttons in its colours).
class CommandButton : public FormControl {
 public:
  CommandButton(Form& form, ControlArgs args, std::wstring caption = L"")
      : FormControl(form, std::move(args)), caption_(std::move(caption)) {}
  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);
  Event<int> Click;  // the element's index (-1 outside a control array)

 protected:
  void OnCreated() override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  void OnCommand(WORD code, WORD id, HWND from) override;
  void OnLookChanged() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  std::wstring caption_;
};

// A caption that takes no input. With AutoSize on, the label takes the size of its
// caption (one line, its own font) when AutoSize is switched on and whenever the
// caption changes; a size set in between stays until then.
class Label : public FormControl {
 public:
  Label(Form& form, ControlArgs args, std::wstring caption = L"")
      : FormControl(form, std::move(args)), caption_(std::move(caption)) {}
  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);

 protected:
  void OnCreated() override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  void OnLookChanged() override;

 private:
  void FitCaption();

  std::wstring caption_;
  bool autoSize_ = false;
};

// A check box: Value 0 unchecked, 1 checked; the click event follows every change,
// by the user or by code.
class CheckBox : public FormControl {
 public:
  CheckBox(Form& form, ControlArgs args, std::wstring caption = L"")
      : FormControl(form, std::move(args)), caption_(std::move(caption)) {}
  int Value() const;
  // 0 or 1; anything else raises 380.
  void SetValue(int value);
  std::wstring Caption() const;
  Event<int> Click;  // the element's index (-1 outside a control array)

 protected:
  void OnCreated() override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  void OnCommand(WORD code, WORD id, HWND from) override;

 private:
  std::wstring caption_;
};

// The common controls' status bar with its size grip; the screens only read its size.
class CommonStatusBar : public FormControl {
 public:
  CommonStatusBar(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}

 protected:
  void OnCreated() override;
};

// The context-menu hook every capture screen carries: the screens call none of its
// members, so it is an empty, hidden control.
class MenuHook : public FormControl {
 public:
  MenuHook(Form& form, ControlArgs args) : FormControl(form, Hidden(std::move(args))) {}

 private:
  static ControlArgs Hidden(ControlArgs args) {
    args.visible = false;
    return args;
  }
};

}  // namespace vk::hosted
