// Temporary frame files and frame pictures: names, create-new writes, and the two
// decoders giving the exact palette colour of every pixel.
#include "controls/frame_picture.h"

#include <gtest/gtest.h>

#include <random>

#include "controls/gif_frames.h"
#include "controls/gif_temp_file.h"
#include "hosted/gif_decoder.h"
#include "support/com_test.h"
#include "tools/gif/gif_writer.h"

namespace vk::controls {
namespace {

test::ComApartment apartment;

// The packed colours (red low) of a bitmap, top-down.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> bgr(size_t(width) * size_t(height));
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, UINT(height), bgr.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (auto& p : bgr) p = (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
  return bgr;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(TempFiles, NamesKeepPrefixAndExtensionAndLeaveNoFile) {
  const std::wstring folder = TempFolder();
  ASSERT_FALSE(folder.empty());
  struct Case {
    std::wstring prefix, extension, expectedStart, expectedEnd;
  };
  const Case cases[] = {
      {L" 0", L"GIF", L" 0", L".GIF"},
      {L" 12", L"GIF", L" 12", L".GIF"},
      {L" 123", L"GIF", L" 12", L".GIF"},  // at most three characters of the prefix
      {L"abcdef", L"", L"abc", L".TMP"},
  };
  for (const Case& c : cases) {
    std::wstring name = MakeTempFileName(folder, c.prefix, c.extension);
    ASSERT_FALSE(name.empty());
    std::wstring file = name.substr(folder.size());
    EXPECT_EQ(name.substr(0, folder.size()), folder);
    EXPECT_EQ(file.substr(0, c.expectedStart.size()), c.expectedStart);
    EXPECT_EQ(_wcsicmp(file.substr(file.size() - 4).c_str(), c.expectedEnd.c_str()), 0) << file;
    EXPECT_FALSE(FileExists(name));
    std::wstring reserved = name.substr(0, name.size() - 3) + L"TMP";
    EXPECT_FALSE(FileExists(reserved)) << "the reserved name is given back";
  }
}

TEST(TempFiles, WritesANewFileEveryTime) {
  const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
  std::wstring first = WriteNewTempFile(L" 0", L"GIF", bytes);
  std::wstring second = WriteNewTempFile(L" 0", L"GIF", {9});
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  std::vector<uint8_t> read;
  ASSERT_TRUE(ReadWholeFile(first, read));
  EXPECT_EQ(read, bytes);
  ASSERT_TRUE(ReadWholeFile(second, read));
  EXPECT_EQ(read, std::vector<uint8_t>{9});
  DeleteFileW(first.c_str());
  DeleteFileW(second.c_str());
}

TEST(TempFiles, ATakenNameIsNeverOverwritten) {
  const std::vector<uint8_t> mine = {7, 7, 7};
  std::wstring taken = WriteNewTempFile(L"tkn", L"GIF", mine);
  ASSERT_FALSE(taken.empty());
  const std::wstring fresh = MakeTempFileName(TempFolder(), L"frs", L"GIF");
  struct Case {
    const char* name;
    std::vector<std::wstring> names;  // handed out in turn
    bool written;
  };
  const Case cases[] = {
      {"taken, then a fresh name", {taken, fresh}, true},
      {"taken every time", std::vector<std::wstring>(20, taken), false},
      {"no name at all", {L""}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t next = 0;
    auto maker = [&] { return next < c.names.size() ? c.names[next++] : std::wstring(); };
    std::wstring path = WriteNewFile(maker, {1, 2, 3, 4});
    std::vector<uint8_t> read;
    ASSERT_TRUE(ReadWholeFile(taken, read));
    EXPECT_EQ(read, mine) << "the existing file is untouched";
    EXPECT_EQ(path, c.written ? fresh : std::wstring());
    if (c.written) {
      ASSERT_TRUE(ReadWholeFile(fresh, read));
      EXPECT_EQ(read, (std::vector<uint8_t>{1, 2, 3, 4}));
      DeleteFileW(fresh.c_str());
    }
  }
  DeleteFileW(taken.c_str());
}

TEST(TempFiles, AnUnwritableFolderLeavesNothing) {
  wchar_t saved[MAX_PATH] = {};
  DWORD had = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH);
  SetEnvironmentVariableW(L"TMP", L"Z:\\no\\such\\folder");
  std::wstring path = WriteNewTempFile(L" 0", L"GIF", {1, 2, 3});
  SetEnvironmentVariableW(L"TMP", had ? saved : nullptr);
  EXPECT_TRUE(path.empty());
  std::vector<uint8_t> read;
  EXPECT_FALSE(ReadWholeFile(L"Z:\\no\\such\\folder\\x.gif", read));
}

// Frame files as the splitter cuts them, from layouts the player meets.
struct PictureCase {
  const char* name;
  std::vector<uint8_t> gif;
  size_t frame;
};

std::vector<PictureCase> PictureCases() {
  std::mt19937 rng(5);
  const std::vector<gif::Colour> table = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000,
                                          0xFFFFFF, 0xC0C0C0, 0x808080, 0x00FFFF};
  auto noise = [&](int w, int h) {
    std::vector<uint8_t> p(size_t(w) * size_t(h));
    for (auto& v : p) v = uint8_t(rng() % 8);
    return p;
  };
  using gif::GifBuilder;
  return {
      {"GIF87a, global table", GifBuilder().Header("87a", 17, 9, table).Image(0, 0, 17, 9, noise(17, 9)).Trailer().Bytes(), 0},
      {"GIF89a, local table, second frame",
       GifBuilder().Header("89a", 20, 20, table).Loop().Image(0, 0, 5, 5, noise(5, 5)).Control(1, 10)
           .Image(3, 4, 13, 11, noise(13, 11), {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203, 0x040506, 0x070809})
           .Trailer().Bytes(), 1},
      {"interlaced", GifBuilder().Header("89a", 16, 19, table).Image(0, 0, 16, 19, noise(16, 19), {}, true).Trailer().Bytes(), 0},
      {"transparent with a shared key",
       GifBuilder().Header("89a", 8, 8, {0xC0C0C0, 0x0000FF, 0xC0C0C0, 0xFFFFFF}).Control(2, 5, true, 2)
           .Image(0, 0, 8, 8, std::vector<uint8_t>(64, 2)).Trailer().Bytes(), 0},
  };
}

TEST(FramePictures, BothDecodersGiveTheTableColourOfEveryPixel) {
  for (const PictureCase& c : PictureCases()) {
    SCOPED_TRACE(c.name);
    GifSplit split(c.gif, true);
    ASSERT_EQ(split.Status(), SplitStatus::Ok);
    std::vector<uint8_t> file = split.FrameFile(c.frame);
    hosted::IndexedImage expected;
    ASSERT_TRUE(hosted::DecodeFirstImage(file, expected));

    std::wstring path = WriteNewTempFile(L" " + std::to_wstring(c.frame), L"GIF", file);
    ASSERT_FALSE(path.empty());
    PictureSource source = PictureSource::None;
    FramePicture loaded = LoadFramePicture(path, &source);
    DeleteFileW(path.c_str());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(source, PictureSource::Imaging) << "the imaging component reads our frame files";
    FramePicture own = FramePictureFromGif(file);
    ASSERT_TRUE(own);

    std::vector<uint32_t> want(expected.indices.size());
    for (size_t i = 0; i < want.size(); ++i) want[i] = expected.palette[expected.indices[i]];
    for (const FramePicture* picture : {&loaded, &own}) {
      ASSERT_EQ(picture->Width(), expected.width);
      ASSERT_EQ(picture->Height(), expected.height);
      EXPECT_EQ(PixelsOf(picture->Bitmap(), picture->Width(), picture->Height()), want);
    }
  }
}

TEST(FramePictures, UnreadableFilesGiveNoPicture) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"not a GIF", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"no image", gif::GifBuilder().Header("89a", 2, 2, {0, 0xFFFFFF}).Trailer().Bytes()},
  };
  for (const Case& c : cases) {
    std::wstring path = WriteNewTempFile(L" 0", L"GIF", c.bytes);
    ASSERT_FALSE(path.empty());
    EXPECT_FALSE(LoadFramePicture(path)) << c.name;
    DeleteFileW(path.c_str());
  }
  EXPECT_FALSE(LoadFramePicture(L"Z:\\no\\such\\file.gif"));
}

}  // namespace
}  // namespace vk::controls
