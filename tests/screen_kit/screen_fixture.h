#pragma once
// The fixture of the document screens' tests: a screen opened the way the host opens
// it (HWndContainer, Mode, MakeForm) and docked into a ScreenHost, on fresh copies of
// the sample databases under the test's own key, with the message box answered by
// `answer_` and recorded as "text|style|title".
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "MorvalZIVI01.h"
#include "app/cobject.h"
#include "hosted/window_driver.h"
#include "runtime/vk_name.h"
#include "screen_kit/message_box.h"
#include "screen_kit/screen_host.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace vk::test {

template <class Screen>
class ScreenTest : public ::testing::Test {
 protected:
  // `mode`: the mode Open gives the screen unless told another.
  ScreenTest(const wchar_t* appKey, const wchar_t* mode) : databases_(appKey), mode_(mode) {}

  void TearDown() override {
    if (screen_) screen_->Unload();
    Pump();
  }

  // SQL on the copy of the application database (or the one `key` names).
  void Sql(const std::wstring& sql) { Sql(databases_.applicationKey(), sql); }
  void Sql(const std::wstring& key, const std::wstring& sql) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(key, sql, &error)) << error << "\n" << sql;
  }

  // A new screen (the last one unloaded first), opened the way the host opens it;
  // `shown` is what MakeForm must answer.
  Screen& Open(const wchar_t* mode = nullptr, bool shown = true) {
    if (screen_) screen_->Unload();
    screen_ = Form::Load<Screen>();
    screen_->SetHWndContainer(host_.handle());
    screen_->SetMode(mode ? mode : mode_);
    EXPECT_EQ(screen_->MakeForm(), shown);
    Pump();
    return *screen_;
  }
  // CObject.Build for a form code, into the host window, as the host calls it.
  HRESULT Build(const wchar_t* formCode, com::ComPtr<_CObject>& object) {
    object = com::ComPtr<_CObject>::Attach(vk::app::CObject::Create());
    object->put_ApplicationName(com::Bstr(databases_.applicationKey()).get());
    object->put_ObjectId(com::Bstr(formCode).get());
    object->put_ObjectName(com::Bstr(formCode).get());
    object->put_hwnd(host_.handle());
    VARIANT_BOOL result = VARIANT_TRUE;
    const HRESULT hr = object->Build(&result);
    Pump();
    return hr;
  }
  HRESULT Kill(const com::ComPtr<_CObject>& object) {
    VARIANT_BOOL result = VARIANT_TRUE;
    const HRESULT hr = object->Kill(&result);
    Pump();
    return hr;
  }

  const typename Screen::Controls& C() const { return screen_->controls(); }
  // Every control with a window carries its name there, as an outside driver looks for it.
  void ExpectEveryControlNamed() const {
    for (Control* control : screen_->Form::Controls()) {
      if (!control->hwnd()) continue;
      EXPECT_EQ(VkNameOf(control->hwnd()), VkNameText(control->name(), control->index()));
    }
  }
  // A control's window, found by its name as an outside driver finds it.
  HWND Find(const std::wstring& name) const { return FindVkWindow(host_.hwnd, name); }
  static HWND Inner(HWND outer) { return GetWindow(outer, GW_CHILD); }

  ComApartment com_;
  TestDatabases databases_;
  ScreenHost host_;
  std::vector<std::wstring> messages_;
  long answer_ = msg::OK;
  ScopedMessageBox box_{[this](const std::wstring& text, long style, const std::wstring& title) {
    messages_.push_back(text + L"|" + std::to_wstring(style) + L"|" + title);
    return answer_;
  }};
  std::shared_ptr<Screen> screen_;

 private:
  const wchar_t* mode_;
};

}  // namespace vk::test
