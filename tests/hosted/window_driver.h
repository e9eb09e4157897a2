#pragma once
// Real windows for control tests: a shown test form and the input a user gives, sent
// as real messages.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosted/shell_launcher.h"
#include "runtime/control.h"
#include "runtime/form.h"
#include "runtime/timer.h"

namespace vk::test {

class TestForm : public Form {
 public:
  TestForm(double width, double height)
      : Form({.name = L"FTest", .caption = L"Test form", .scaleWidth = width, .scaleHeight = height}) {}
};

// A test form, loaded and shown for the life of the object, unloaded at its end.
class ShownForm {
 public:
  explicit ShownForm(double width = 9600, double height = 7200);
  ~ShownForm();
  ShownForm(const ShownForm&) = delete;
  ShownForm& operator=(const ShownForm&) = delete;
  TestForm* operator->() const { return form_.get(); }
  TestForm& operator*() const { return *form_; }
  HWND hwnd() const { return form_->hwnd(); }

 private:
  std::shared_ptr<TestForm> form_;
};

// The settings of a control at a place, in twips.
ControlArgs At(double left, double top, double width, double height, std::wstring name = L"ctl");

// Once a form named `name` is loaded and visible (a modal dialog about to be answered),
// `act` runs once with it from a timer tick; a form that `act` leaves open is unloaded,
// so no test hangs. Keep the timer until the dialog has run.
std::unique_ptr<Timer> ActWhenShown(std::wstring name, std::function<void(Form&)> act);

// A click on the button with `key` of the toolbar named `toolbarName` below `root`,
// at the button's place in the toolbar's window.
void ClickToolbarButton(HWND root, const wchar_t* toolbarName, const std::wstring& key);
// The user's choice, in the combo box named `comboName` below `root`, of the item
// loaded with `key` ("" for the empty item); false when it has no such item.
bool PickComboItem(HWND root, const wchar_t* comboName, const std::wstring& key);

// Stands in for the shell while it lives: records the parameters (and the program) of
// every viewer program a screen starts, runs `whileStarting` when set, and answers
// `starts`.
class RecordingLauncher : public hosted::ShellLauncher {
 public:
  bool Open(const std::wstring& program, const std::wstring& parameters, HWND owner) override;

  std::vector<std::wstring> programs, parameters;
  std::vector<HWND> owners;
  bool starts = true;
  std::function<void()> whileStarting;

 private:
  Seam<hosted::ShellLauncher*>::Scope inPlace_{this};
};

// Runs the messages waiting in this thread's queue.
void Pump();
// A left click (button down and up) at a point of window's client area.
void Click(HWND window, int x, int y, WPARAM keys = 0);
// A click in the middle of a rectangle of window's client area.
void ClickIn(HWND window, const RECT& rect);
// A key press (down and up) sent to window.
void Key(HWND window, UINT virtualKey);
// Characters typed into window, one WM_CHAR each.
void Type(HWND window, const wchar_t* text);

}  // namespace vk::test
