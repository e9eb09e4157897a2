#pragma once
// Small controls for the runtime's tests: a push button over the system BUTTON
// class and a frame that can contain other controls.
#include <windows.h>

#include "runtime/control.h"
#include "runtime/event.h"
#include "runtime/form.h"

namespace vk::test {

class TestButton : public Control {
 public:
  TestButton(Form& form, ControlArgs args, std::wstring caption = L"Button")
      : Control(form, std::move(args)), caption_(std::move(caption)) {}
  Event<> Click;

  // A real click: button down and up at the middle of the button.
  void ClickWithMouse();

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& r) override;
  bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override {
    return std::make_unique<TestButton>(form, args, caption_);
  }

 private:
  std::wstring caption_;
};

// A one-line text box over the system EDIT class.
class TestEdit : public Control {
 public:
  TestEdit(Form& form, ControlArgs args) : Control(form, std::move(args)) {}

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& r) override;
};

class TestFrame : public Control, public Container {
 public:
  TestFrame(Form& form, ControlArgs args) : Control(form, std::move(args)) {}
  HWND ContainerWindow() const override { return hwnd(); }
  Form& ContainerForm() override { return form(); }
  Control* ContainerControl() override { return this; }

 protected:
  HWND CreateWindowIn(HWND parent, const RECT& r) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    return ReflectToControl(message, wParam, lParam, result);
  }
};

// A plain form for tests.
class TestForm : public Form {
 public:
  explicit TestForm(std::wstring name = L"FTest", bool borderless = false)
      : Form({.name = std::move(name), .caption = L"Test", .scaleWidth = 6000, .scaleHeight = 4500,
              .borderless = borderless}) {}
  using Form::HandleMessage;
};

// Dispatches the messages waiting in the queue (a bounded number of rounds).
void PumpPending();

}  // namespace vk::test
