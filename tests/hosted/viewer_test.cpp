// The viewer program: its command line, its window for images, PDFs and bad files, and
// the program itself started the way the screens start it.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <string>

#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "viewer_window.h"

namespace vk::viewer {
namespace {

TEST(ViewerCommandLine, TitleAndPathComeFromTheirMarkers) {
  struct Case {
    const wchar_t* line;
    const wchar_t* title;
    const wchar_t* path;
  };
  const Case cases[] = {
      {L"F00:Ostrela - scan 01.jpg|F01:D:\\Docs\\00001\\00002\\00000000000000000007.jpg", L"Ostrela - scan 01.jpg",
       L"D:\\Docs\\00001\\00002\\00000000000000000007.jpg"},
      {L"\"C:\\App\\DeRavarEvidoz.exe\" F00:Ostrela - a.pdf|F01:C:\\My Docs\\a.pdf", L"Ostrela - a.pdf",
       L"C:\\My Docs\\a.pdf"},
      {L"DeRavarEvidoz.exe F00:Ostrela - |F01:\"C:\\x y\\b.png\"", L"Ostrela -", L"C:\\x y\\b.png"},
      {L"DeRavarEvidoz.exe", L"", L""},
      {L"|F01:C:\\a.tif", L"", L"C:\\a.tif"},
  };
  for (const Case& c : cases) {
    ViewerCommand command = ParseViewerCommandLine(c.line);
    EXPECT_EQ(command.title, c.title) << c.line;
    EXPECT_EQ(command.path, c.path) << c.line;
  }
}

TEST(ViewerWindowTest, ShowsImagesFittedAndExplainsWhatItCannotShow) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring folder = test::FreshFolder(L"viewer");
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\page.tif", test::ImageFormat::Tif, 2480, 3508));
  ASSERT_TRUE(test::WriteBytes(folder + L"\\contrato.pdf", "%PDF-1.4\n"));
  ASSERT_TRUE(test::WriteBytes(folder + L"\\broken.jpg", "not a picture"));
  struct Case {
    std::wstring path;
    Shown shown;
    const wchar_t* inMessage;
  };
  const Case cases[] = {
      {folder + L"\\page.tif", Shown::Image, L""},
      {folder + L"\\contrato.pdf", Shown::Pdf, L"contrato.pdf"},
      {folder + L"\\broken.jpg", Shown::Failure, L"broken.jpg"},
      {folder + L"\\missing.png", Shown::Failure, L"missing.png"},
      {L"", Shown::Nothing, L"archivo"},
  };
  auto window = Form::Load<ViewerForm>();
  window->Show();
  for (const Case& c : cases) {
    EXPECT_EQ(window->Open({L"Ostrela - x", c.path}), c.shown);
    EXPECT_NE(window->Message().find(c.inMessage), std::wstring::npos) << window->Message().c_str();
    EXPECT_EQ(IsWindowVisible(window->image().hwnd()) != FALSE, c.shown == Shown::Image);
  }
  window->Open({L"Ostrela - page.tif", folder + L"\\page.tif"});
  EXPECT_TRUE(window->image().FitToWindow());
  RECT client{};
  GetClientRect(window->image().hwnd(), &client);
  EXPECT_EQ(window->image().ShownSize().height, client.bottom);
  EXPECT_EQ(window->caption(), L"Ostrela - page.tif");
  window->Unload();
}

struct FoundWindow {
  const wchar_t* title;
  HWND window;
};

BOOL CALLBACK FindByTitle(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<FoundWindow*>(data);
  wchar_t text[200];
  GetWindowTextW(window, text, 200);
  if (wcscmp(text, found->title) != 0) return TRUE;
  found->window = window;
  return FALSE;
}

TEST(ViewerProgram, OpensTheDocumentOfItsCommandLineAndClosesCleanly) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring folder = test::FreshFolder(L"viewer_program");
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\scan.png", test::ImageFormat::Png, 400, 600));
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring program = module;
  program = program.substr(0, program.find_last_of(L'\\')) + L"\\DeRavarEvidoz.exe";
  std::wstring line = L"\"" + program + L"\" F00:Ostrela - scan.png|F01:" + folder + L"\\scan.png";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, L"C:\\", &startup,
                             &process));
  WaitForInputIdle(process.hProcess, 30000);
  FoundWindow found{L"Ostrela - scan.png", nullptr};
  // The window appears once the program has read its file; wait for it, boundedly.
  for (int tries = 0; tries < 300 && !found.window; ++tries) {
    EnumWindows(FindByTitle, reinterpret_cast<LPARAM>(&found));
    if (!found.window) Sleep(100);
  }
  ASSERT_NE(found.window, nullptr);
  PostMessageW(found.window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace vk::viewer
