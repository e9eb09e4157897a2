#include "hosted/window_driver.h"

#include "hosted/combo_box.h"
#include "hosted/toolbar.h"
#include "runtime/vk_name.h"

namespace vk::test {
ShownForm::ShownForm(double width, double height) : form_(Form::Load<TestForm>(width, height)) {
  form_->Move(300, 300, form_->width(), form_->height());
  form_->Show();
  Pump();
}

ShownForm::~ShownForm() {
  form_->Unload();
  Pump();
}

ControlArgs At(double left, double top, double width, double height, std::wstring name) {
  return ControlAt(std::move(name), left, top, width, height);
}

std::unique_ptr<Timer> ActWhenShown(std::wstring name, std::function<void(Form&)> act) {
  auto poke = std::make_unique<Timer>(20);
  Timer* timer = poke.get();
  poke->Tick.Connect([timer, name = std::move(name), act = std::move(act)] {
    auto form = FindLoadedForm(name);
    if (!form || !form->visible()) return;
    timer->setEnabled(false);
    act(*form);
    if (form->loaded()) form->Unload();
  });
  return poke;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Click(HWND window, int x, int y, WPARAM keys) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
  Pump();
}

void ClickIn(HWND window, const RECT& rect) {
  Click(window, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void ClickToolbarButton(HWND root, const wchar_t* toolbarName, const std::wstring& key) {
  const HWND outer = FindVkWindow(root, toolbarName);
  auto* bar = dynamic_cast<hosted::Toolbar*>(Control::FromWindow(outer));
  if (bar) ClickIn(bar->inner(), bar->ButtonRect(bar->IndexOfKey(key)));
}

bool PickComboItem(HWND root, const wchar_t* comboName, const std::wstring& key) {
  const HWND outer = FindVkWindow(root, comboName);
  auto* combo = dynamic_cast<hosted::ComboBox*>(Control::FromWindow(outer));
  if (!combo) return false;
  for (int i = 0; i < combo->ListCount(); ++i) {
    if (combo->ItemKey(i) != key) continue;
    SendMessageW(combo->inner(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageW(outer, WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->inner()));
    return true;
  }
  return false;
}

bool RecordingLauncher::Open(const std::wstring& program, const std::wstring& parameters_, HWND owner) {
  programs.push_back(program);
  owners.push_back(owner);
  parameters.push_back(parameters_);
  if (whileStarting) whileStarting();
  return starts;
}

void Key(HWND window, UINT virtualKey) {
  SendMessageW(window, WM_KEYDOWN, virtualKey, 1);
  SendMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
  Pump();
}

void Type(HWND window, const wchar_t* text) {
  for (; *text; ++text) SendMessageW(window, WM_CHAR, *text, 1);
  Pump();
}

}  // namespace vk::test
