// The save dialog: the split of what it gives back, and the real dialog answered
// under Xvfb by a second thread that types a name and presses Save, or cancels.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "screen_kit/save_dialog.h"

namespace {

using namespace vk;

TEST(SaveDialogSplit, OneNameManyNamesAndNone) {
  SaveDialogResult one = SplitSaveDialogFile(std::wstring(L"C:\\Datos\\log.xls\0   ", 20), 9);
  EXPECT_FALSE(one.Canceled);
  EXPECT_EQ(one.Path, L"C:\\Datos\\");
  EXPECT_EQ(one.FileCount, 1);
  ASSERT_EQ(one.FileNames.size(), 1u);
  EXPECT_EQ(one.FileNames[0], L"log.xls");

  SaveDialogResult many = SplitSaveDialogFile(std::wstring(L"C:\\Datos\0a.xls\0b.xls\0\0", 23), 9);
  EXPECT_EQ(many.Path, L"C:\\Datos\\");
  EXPECT_EQ(many.FileCount, 2);
  EXPECT_EQ(many.FileNames, (std::vector<std::wstring>{L"a.xls", L"b.xls"}));

  SaveDialogResult root = SplitSaveDialogFile(std::wstring(L"C:\\\0a\0b\0\0", 10), 4);
  EXPECT_EQ(root.Path, L"C:\\");
  EXPECT_EQ(root.FileCount, 2);

  SaveDialogResult none = SplitSaveDialogFile(std::wstring(L"\0  ", 3), 0);
  EXPECT_TRUE(none.Canceled);
  EXPECT_EQ(none.FileCount, 0);
  EXPECT_TRUE(none.Path.empty());
  EXPECT_TRUE(none.FileNames.empty());
}

// Waits for the dialog titled `title` in another thread, then answers it.
class DialogAnswerer {
 public:
  DialogAnswerer(const wchar_t* title, std::wstring fileName) : title_(title), fileName_(std::move(fileName)) {
    worker_ = std::thread([this] { Run(); });
  }
  ~DialogAnswerer() { worker_.join(); }
  RECT dialogRect() const { return rect_; }
  bool found() const { return found_; }

 private:
  void Run() {
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && !dialog; ++i) {
      Sleep(50);
      dialog = FindWindowW(L"#32770", title_);
      if (dialog && !IsWindowVisible(dialog)) dialog = nullptr;
    }
    if (!dialog) return;
    found_ = true;
    Sleep(300);  // let the placement hook run
    GetWindowRect(dialog, &rect_);
    if (fileName_.empty()) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    // The explorer-style dialog's name box is the combo 0x47C, or the edit 0x480.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name) name = GetDlgItem(dialog, 0x480);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName_.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }

  const wchar_t* title_;
  std::wstring fileName_;
  std::atomic<bool> found_{false};
  RECT rect_{};
  std::thread worker_;
};

class SaveDialogWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 700, 500, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = temp;
    SaveDialogRecord& record = SaveDialogSettings();
    record = SaveDialogRecord{};
    record.lpstrFilter = std::wstring(L"Excel Files (*.xls)\0*.xls", 25);
    record.Flags = 0x280204;
    record.lpstrTitle = L"Show Open";
    record.lpstrInitialDir = folder_;
  }
  void TearDown() override { DestroyWindow(owner_); }

  HWND owner_ = nullptr;
  std::wstring folder_;
};

TEST_F(SaveDialogWindow, ChoosingANameGivesFolderAndNameCentredOnTheOwner) {
  SaveDialogResult result;
  RECT dialog{};
  {
    DialogAnswerer answer(L"Show Open", folder_ + L"auditoria.xls");
    result = ShowSaveDialog(owner_, true);
    ASSERT_TRUE(answer.found());
    dialog = answer.dialogRect();
  }
  EXPECT_FALSE(result.Canceled);
  EXPECT_EQ(result.FileCount, 1);
  ASSERT_EQ(result.FileNames.size(), 1u);
  EXPECT_EQ(result.FileNames[0], L"auditoria.xls");
  EXPECT_EQ(CompareStringOrdinal(result.Path.c_str(), -1, folder_.c_str(), -1, TRUE), CSTR_EQUAL) << result.Path;

  RECT owner{};
  GetWindowRect(owner_, &owner);
  const int ownerCentre = (owner.left + owner.right) / 2;
  const int dialogCentre = (dialog.left + dialog.right) / 2;
  EXPECT_NEAR(dialogCentre, ownerCentre, 2);
}

TEST_F(SaveDialogWindow, CancelGivesNothingAndLeavesNoHook) {
  SaveDialogResult result;
  {
    DialogAnswerer answer(L"Show Open", L"");
    result = ShowSaveDialog(owner_, false);
    ASSERT_TRUE(answer.found());
  }
  EXPECT_TRUE(result.Canceled);
  EXPECT_EQ(result.FileCount, 0);
  EXPECT_TRUE(result.Path.empty());
  EXPECT_TRUE(result.FileNames.empty());
  // Later windows are no longer moved by a stale hook.
  HWND later = CreateWindowExW(0, L"STATIC", L"later", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 5, 6, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  RECT place{};
  GetWindowRect(later, &place);
  EXPECT_EQ(place.left, 5);
  DestroyWindow(later);
}

}  // namespace
