#pragma once
// The tab control (current tab 0-based, a click event on every change) and the
// progress bar (maximum and current value).
#include <functional>
#include <string>
#include <vector>

#include "hosted/hosted_control.h"

namespace vk::hosted {

class TabControl : public HostedControl {
 public:
  explicit TabControl(std::vector<std::wstring> captions = {}) : captions_(std::move(captions)) {}
  void AddTab(const std::wstring& caption);
  int TabCount() const;
  int Tab() const;
  // 0 to TabCount - 1; anything else raises 380. Raises Click when the tab changes.
  void SetTab(int tab);
  // Where tab `tab` is drawn, in pixels of the control's client area.
  RECT TabRect(int tab) const;
  std::function<void()> Click;

 protected:
  void OnCreated() override;
  LRESULT OnNotify(NMHDR* header) override;

 private:
  std::vector<std::wstring> captions_;
};

class ProgressBar : public HostedControl {
 public:
  long Max() const { return max_; }
  // Above 0; anything else raises 380. A value above the new maximum is cut to it.
  void SetMax(long max);
  long Value() const { return value_; }
  // 0 to Max; anything else raises 380.
  void SetValue(long value);

 protected:
  void OnCreated() override;

 private:
  long max_ = 100;
  long value_ = 0;
};

}  // namespace vk::hosted
