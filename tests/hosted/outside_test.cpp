// The file-system layer and the shell launcher seam.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/vb_error.h"
#include "hosted/file_system.h"
#include "hosted/sample_images.h"
#include "hosted/shell_launcher.h"
#include "support/error_of.h"

namespace vk::hosted {
namespace {

using test::ErrorOf;

// Moves the file whose own name is `source`.
void MoveFileNoReplace(const std::wstring& source, const std::wstring& destination) {
  TrackedFile file{source, source, std::nullopt};
  vk::hosted::MoveFileNoReplace(file, destination);
}

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { folder = test::FreshFolder(L"files"); }
  std::wstring Path(const wchar_t* name) const { return folder + L"\\" + name; }
  std::wstring folder;
};

TEST_F(FileSystemTest, FoldersExistAndAreCreatedOneLevelAtATime) {
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_TRUE(FolderExists(folder + L"\\"));
  EXPECT_FALSE(FolderExists(Path(L"00001")));
  EXPECT_FALSE(FolderExists(L""));
  CreateFolder(Path(L"00001"));
  EXPECT_TRUE(FolderExists(Path(L"00001")));
  ASSERT_TRUE(test::WriteBytes(Path(L"file.txt"), "x"));
  EXPECT_FALSE(FolderExists(Path(L"file.txt")));
  struct Case {
    const wchar_t* name;
    long number;
  };
  for (const Case& c : {Case{L"00001", err::FileAlreadyExists}, Case{L"missing\\00002", err::PathNotFound},
                        Case{L"file.txt", err::FileAlreadyExists}}) {
    EXPECT_EQ(ErrorOf([&] { CreateFolder(Path(c.name)); }), c.number) << c.name;
  }
}

TEST_F(FileSystemTest, MoveNeverReplacesAndCopyAlwaysDoes) {
  ASSERT_TRUE(test::WriteBytes(Path(L"a.jpg"), "first"));
  ASSERT_TRUE(test::WriteBytes(Path(L"b.jpg"), "second"));
  EXPECT_EQ(ErrorOf([&] { MoveFileNoReplace(Path(L"a.jpg"), Path(L"b.jpg")); }), err::FileAlreadyExists);
  EXPECT_EQ(test::ReadBytes(Path(L"a.jpg")), "first");
  EXPECT_EQ(test::ReadBytes(Path(L"b.jpg")), "second");
  MoveFileNoReplace(Path(L"a.jpg"), Path(L"c.jpg"));
  EXPECT_EQ(test::ReadBytes(Path(L"c.jpg")), "first");
  EXPECT_EQ(GetFileAttributesW(Path(L"a.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
  CopyFileReplacing(Path(L"c.jpg"), Path(L"b.jpg"));
  EXPECT_EQ(test::ReadBytes(Path(L"b.jpg")), "first");
  EXPECT_EQ(test::ReadBytes(Path(L"c.jpg")), "first");
  struct Case {
    std::function<void()> call;
    long number;
  };
  const Case cases[] = {
      {[&] { MoveFileNoReplace(Path(L"gone.jpg"), Path(L"d.jpg")); }, err::FileNotFound},
      {[&] { CopyFileReplacing(Path(L"gone.jpg"), Path(L"d.jpg")); }, err::FileNotFound},
      {[&] { MoveFileNoReplace(Path(L"b.jpg"), Path(L"no\\such\\d.jpg")); }, err::PathNotFound},
      {[&] { CopyFileReplacing(Path(L"b.jpg"), Path(L"no\\such\\d.jpg")); }, err::PathNotFound},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.call), c.number);
}

TEST_F(FileSystemTest, FolderFilesComeInNameOrderWithoutSubfolders) {
  for (const wchar_t* name : {L"b.tif", L"A.jpg", L"c.PDF", L"a2.png", L"10.gif", L"9.gif"}) {
    ASSERT_TRUE(test::WriteBytes(Path(name), "x"));
  }
  CreateFolder(Path(L"sub"));
  ASSERT_TRUE(test::WriteBytes(Path(L"sub\\inner.jpg"), "x"));
  std::vector<std::pair<std::wstring, std::wstring>> listed;
  for (const auto& file : FolderFiles(folder)) listed.emplace_back(file.name, file.path);
  const std::vector<std::wstring> names{L"10.gif", L"9.gif", L"A.jpg", L"a2.png", L"b.tif", L"c.PDF"};
  ASSERT_EQ(listed.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(listed[i].first, names[i]);
    EXPECT_EQ(listed[i].second, folder + L"\\" + names[i]);
  }
  EXPECT_TRUE(FolderFiles(Path(L"sub\\")).size() == 1);
  EXPECT_EQ(ErrorOf([&] { FolderFiles(Path(L"missing")); }), err::PathNotFound);
}

class RecordingLauncher : public ShellLauncher {
 public:
  bool Open(const std::wstring& program, const std::wstring& parameters, HWND) override {
    calls.emplace_back(program, parameters);
    return true;
  }
  std::vector<std::pair<std::wstring, std::wstring>> calls;
};

TEST(ShellLauncherSeam, TheViewerIsStartedWithTheDocumentsNameAndPath) {
  RecordingLauncher recorder;
  std::optional<Seam<ShellLauncher*>::Scope> inPlace(&recorder);
  struct Case {
    const wchar_t* folder;
    const wchar_t* documento;
    const wchar_t* path;
    const wchar_t* program;
    const wchar_t* parameters;
  };
  const Case cases[] = {
      {L"C:\\Ostrela", L"scan01.jpg", L"D:\\Docs\\00001\\00002\\00000000000000000007.jpg",
       L"C:\\Ostrela\\DeRavarEvidoz.exe", L"F00:Ostrela - scan01.jpg|F01:D:\\Docs\\00001\\00002\\00000000000000000007.jpg"},
      {L"C:\\App\\", L"", L"", L"C:\\App\\DeRavarEvidoz.exe", L"F00:Ostrela - |F01:"},
  };
  for (const Case& c : cases) {
    recorder.calls.clear();
    EXPECT_TRUE(LaunchViewer(c.folder, c.documento, c.path, nullptr));
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].first, c.program);
    EXPECT_EQ(recorder.calls[0].second, c.parameters);
  }
  EXPECT_EQ(Seam<ShellLauncher*>::Current(), &recorder);
  inPlace.reset();
  EXPECT_NE(Seam<ShellLauncher*>::Current(), &recorder);
}

}  // namespace
}  // namespace vk::hosted
