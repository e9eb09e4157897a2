#pragma once
// The document lists opened the way the host opens them: a plain host window of the
// design size, CObject.Build with a form code, on fresh copies of the sample databases,
// with the message box, the viewer program and the logon name under the test's control.
// Input goes through the real windows (toolbar buttons, grid cells, pop-up menus).
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MorvalZIVI01.h"
#include "consult/list_screen.h"
#include "hosted/window_driver.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/message_box.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace vk::test {

inline constexpr wchar_t kAppKey[] = L"VkListsTest";

struct ShownMessage {
  std::wstring text;
  long style;
  std::wstring title;
};

class ListScreenTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens a screen by its form code as `user`; the screen CObject holds.
  consult::ListScreen& Open(const wchar_t* formCode, const std::wstring& user = L"usuario1");
  void Kill();
  void Sql(const wchar_t* key, const std::wstring& sql);
  // A single value of the application database, as text ("" for none).
  std::wstring Scalar(const std::wstring& sql);

  consult::ListScreen& screen() const { return *screen_; }
  grid::GridControl& grid() const { return *screen_->controls().GRDetail; }
  HWND host() const { return host_; }

  // Input through the windows.
  void ClickKey(hosted::Toolbar& toolbar, const wchar_t* key);
  // The display row that shows a document, -1 when it is not listed.
  int RowOf(long documentId) const;
  void ClickRow(int displayRow);
  void DoubleClickRow(int displayRow);
  // A right click on a row; `keys` answer the menu it opens (nothing when it opens none).
  void RightClickRow(int displayRow, std::vector<UINT> keys);
  // The DocumentoIds listed, in ascending order.
  std::vector<long> ListedIds() const;

  // Answers for the message box, in order (OK when none is left), and what it showed.
  std::deque<std::function<long()>> answers;
  std::vector<ShownMessage> messages;
  test::RecordingLauncher launcher;

 private:
  ComApartment com_;
  TestDatabases databases_{kAppKey};
  std::unique_ptr<ScopedHostSeams> seams_;
  std::unique_ptr<ScopedMessageBox> box_;
  HWND host_ = nullptr;
  com::ComPtr<_CObject> object_;
  consult::ListScreen* screen_ = nullptr;
};

// The data-access component as the customer's is: the real stand-in, answering to
// GetData, Execute and ErrDescription only. Every screen of these tests gets one.
com::ComPtr<IDispatch> ThreeMemberDataObject();

// Posts keys to the pop-up menu once it shows (from a timer that runs in its loop).
void AnswerNextMenu(std::vector<UINT> keys);

}  // namespace vk::test
