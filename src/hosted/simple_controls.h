#pragma once
// The small controls: command button, label, check box and the menu hook.
#include <functional>
#include <string>

#include "hosted/hosted_control.h"

namespace vk::hosted {

// A push button with a caption and a click event without arguments.
class CommandButton : public HostedControl {
 public:
  explicit CommandButton(std::wstring caption = L"") : caption_(std::move(caption)) {}
  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);
  std::function<void()> Click;

 protected:
  void OnCreated() override;
  void OnCommand(WORD code, WORD id, HWND from) override;

 private:
  std::wstring caption_;
};

// A caption that takes no input.
class Label : public HostedControl {
 public:
  explicit Label(std::wstring caption = L"") : caption_(std::move(caption)) {}
  std::wstring Caption() const;
  void SetCaption(const std::wstring& caption);

 protected:
  void OnCreated() override;

 private:
  std::wstring caption_;
};

// A check box: Value 0 unchecked, 1 checked; the click event follows every change,
// by the user or by code.
class CheckBox : public HostedControl {
 public:
  explicit CheckBox(std::wstring caption = L"") : caption_(std::move(caption)) {}
  int Value() const;
  // 0 or 1; anything else raises 380.
  void SetValue(int value);
  std::wstring Caption() const;
  std::function<void()> Click;

 protected:
  void OnCreated() override;
  void OnCommand(WORD code, WORD id, HWND from) override;

 private:
  std::wstring caption_;
};

// The context-menu hook every capture screen carries: the screens call none of its
// members, so it is an empty, hidden control.
class MenuHook : public HostedControl {
 protected:
  void OnCreated() override { SetVisible(false); }
};

}  // namespace vk::hosted
