// The viewer program: its command line, its window for images, PDFs and bad files, and
// the program itself started the way the screens start it.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <cstdint>
#include <string>

#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "runtime/vk_name.h"
#include "viewer_window.h"

namespace vk::viewer {
namespace {

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
  }
  return ~crc;
}

void PutBig32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
}

// A valid black-and-white PNG of any size, all white, in a few hundred kilobytes: its
// rows of zeros are one literal and then repeats of 258 bytes at distance 1 (fixed
// Huffman codes), which is how deflate writes a long run.
std::string BlankPng(uint32_t width, uint32_t height) {
  const uint64_t raw = uint64_t(height) * (1 + (width + 7) / 8);  // a filter byte per row
  std::string deflate;
  uint32_t bits = 0, count = 0;
  auto put = [&](uint32_t code, int length) {  // Huffman codes go most significant bit first
    for (int k = length - 1; k >= 0; --k) {
      bits |= ((code >> k) & 1) << count;
      if (++count == 8) deflate += static_cast<char>(bits), bits = 0, count = 0;
    }
  };
  put(0b110, 3);  // the last block (1), fixed codes (1, 0)
  put(0x30, 8);   // literal 0
  for (uint64_t k = 0; k < (raw - 1) / 258; ++k) put(0xC5, 8), put(0, 5);  // length 258, distance 1
  for (uint64_t k = 0; k < (raw - 1) % 258; ++k) put(0x30, 8);
  put(0, 7);  // end of block
  if (count) deflate += static_cast<char>(bits);
  std::string idat = "IDAT\x78\x01" + deflate;
  PutBig32(idat, uint32_t(raw % 65521) << 16 | 1);  // Adler-32 of zeros
  std::string ihdr = "IHDR";
  PutBig32(ihdr, width);
  PutBig32(ihdr, height);
  ihdr += std::string("\x01\x00\x00\x00\x00", 5);  // 1 bit, grey, deflate, no filter, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  for (const std::string& chunk : {ihdr, idat, std::string("IEND")}) {
    PutBig32(png, static_cast<uint32_t>(chunk.size() - 4));
    png += chunk;
    PutBig32(png, Crc32(chunk));
  }
  return png;
}

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
      // The shell quotes the parameters as a whole when they hold a blank.
      {L"\"C:\\App\\DeRavarEvidoz.exe\" \"F00:Ostrela - a b.png|F01:C:\\My Docs\\a b.png\"  ", L"Ostrela - a b.png",
       L"C:\\My Docs\\a b.png"},
      {L"DeRavarEvidoz.exe \"F00:Ostrela - |F01:\"", L"Ostrela -", L""},
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
  ASSERT_TRUE(test::WriteBytes(folder + L"\\blank.png", BlankPng(3000, 2000)));
  ASSERT_TRUE(test::WriteBytes(folder + L"\\enormous.png", BlankPng(30000, 30000)));
  ASSERT_TRUE(test::WriteSamplePage(folder + L"\\page.bmp", test::ImageFormat::Bmp, 64, 64));
  std::string bmp = test::ReadBytes(folder + L"\\page.bmp");
  bmp.replace(18, 4, std::string("\xC0\xFF\xFF\xFF", 4));  // the width, -64
  ASSERT_TRUE(test::WriteBytes(folder + L"\\negative.bmp", bmp));
  struct Case {
    std::wstring path;
    Shown shown;
    const wchar_t* inMessage;
  };
  const Case cases[] = {
      {folder + L"\\page.tif", Shown::Image, L""},
      {folder + L"\\contrato.pdf", Shown::Pdf, L"contrato.pdf"},
      {folder + L"\\broken.jpg", Shown::Failure, L"broken.jpg"},
      {folder + L"\\negative.bmp", Shown::Failure, L"No se puede mostrar negative.bmp"},
      {folder + L"\\missing.png", Shown::Failure, L"missing.png"},
      {folder + L"\\blank.png", Shown::Image, L""},
      {folder + L"\\enormous.png", Shown::Failure, L"enormous.png mide 30000 × 30000 píxeles: es demasiado grande"},
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
  // Parameters quoted as a whole, as the shell passes them when they hold a blank.
  std::wstring line = L"\"" + program + L"\" \"F00:Ostrela - scan.png|F01:" + folder + L"\\scan.png\"";
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
  EXPECT_TRUE(IsWindowVisible(FindVkWindow(found.window, L"iImage")));
  EXPECT_FALSE(IsWindowVisible(FindVkWindow(found.window, L"lblMessage"))) << "the file was found";
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
