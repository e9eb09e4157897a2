// The animated-GIF player: its frame timer (ticks called directly, intervals read
// back, never measured), loading and its failures, disposal and colour-keyed
// drawing on a memory device context, and one real window under the display.
// Writes controls_animated_gif_frames.bmp (a strip of frames) for review.
#include "controls/vk_animated_gif.h"

#include <gtest/gtest.h>

#include <string>

#include "controls/gif_temp_file.h"
#include "runtime/do_events.h"
#include "runtime/form.h"
#include "runtime/property_bag.h"
#include "support/com_test.h"
#include "support/memory_dc.h"
#include "tools/gif/gif_writer.h"
#include "tools/gif/sample_animation.h"

namespace vk::controls {
namespace {

using gif::Colour;
using gif::GifBuilder;

test::ComApartment apartment;

constexpr Colour kBlue = 0xFF0000;  // packed: red low
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kSilver = 0xC0C0C0;
constexpr Colour kBlack = 0x000000;

std::vector<uint8_t> Filled(int w, int h, uint8_t index) { return std::vector<uint8_t>(size_t(w) * size_t(h), index); }

// A 32-bit DIB selected into a memory DC: the target the player draws on, its
// pixels in the GIF writer's packing.
class MemoryTarget : public test::MemoryDc {
 public:
  using MemoryDc::MemoryDc;
  Colour Pixel(int x, int y) const { return Colour(MemoryDc::Pixel(x, y)); }
  void Fill(Colour c) { MemoryDc::Fill(long(c)); }
};

// A GIF written to the temporary folder for the test's life.
class GifFile {
 public:
  explicit GifFile(const std::vector<uint8_t>& bytes) : path_(WriteNewTempFile(L"tst", L"GIF", bytes)) {}
  ~GifFile() { DeleteFileW(path_.c_str()); }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

int TempFrameFiles() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((TempFolder() + L" *.GIF").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int n = 1;
  while (FindNextFileW(search, &found)) ++n;
  FindClose(search);
  return n;
}

// The form the player sits on, as the search picker holds it.
class GifForm : public Form {
 public:
  GifForm() : Form({.name = L"FGifTest", .caption = L"VkAnimatedGif", .scaleWidth = 3000, .scaleHeight = 3000}) {}
};

constexpr double kTwips = 15;  // a pixel at 96 dpi

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = Form::Load<GifForm>();
    gif_ = &form_->Add<VkAnimatedGif>({.name = L"IType", .width = 64 * kTwips, .height = 64 * kTwips});
    ASSERT_TRUE(gif_->hwnd());
    gif_->put_BackColor(kBlue);
    gif_->put_hDC(target_.dc());
  }
  void TearDown() override {
    gif_->put_hDC(nullptr);
    form_->Unload();
  }
  // Loads bytes as the control's file.
  void Load(const std::vector<uint8_t>& bytes) {
    file_ = std::make_unique<GifFile>(bytes);
    gif_->put_strGifFileName(file_->path());
    gif_->LoadGif(false);
  }

  MemoryTarget target_{64, 64};
  std::shared_ptr<GifForm> form_;
  VkAnimatedGif* gif_ = nullptr;
  std::unique_ptr<GifFile> file_;
};

const std::vector<Colour> kTable = {kBlack, kWhite, kRed, kGreen, kBlue, kSilver, 0x808080, 0x404040};

std::vector<uint8_t> ThreeFrames(uint16_t d0 = 10, uint16_t d1 = 20, uint16_t d2 = 30) {
  return GifBuilder()
      .Header("89a", 8, 8, kTable)
      .Control(1, d0)
      .Image(0, 0, 8, 8, Filled(8, 8, 2))
      .Control(1, d1)
      .Image(0, 0, 8, 8, Filled(8, 8, 3))
      .Control(1, d2)
      .Image(0, 0, 8, 8, Filled(8, 8, 1))
      .Trailer()
      .Bytes();
}

// ---- properties and the frame timer ----------------------------------------

TEST_F(Player, UserDelayIsClamped) {
  const struct {
    long set, read;
  } cases[] = {{5000, 1000}, {1000, 1000}, {500, 500}, {1, 1}, {0, 1}, {-7, 1}};
  for (auto c : cases) {
    gif_->put_UserDelay(c.set);
    EXPECT_EQ(gif_->UserDelay(), c.read) << c.set;
  }
}

TEST_F(Player, IntervalFollowsTheNextFramesDelay) {
  const struct {
    uint16_t delay;
    long userDelay;
    UINT interval;
  } cases[] = {
      {0, 100, 100},  {10, 100, 1100}, {499, 100, 50000}, {500, 100, 200},
      {65535, 100, 200}, {10, 250, 1250}, {500, 250, 350}, {3, 1, 400},  // 1 is raised to 100
  };
  for (auto c : cases) {
    SCOPED_TRACE(testing::Message() << "delay " << c.delay << " user " << c.userDelay);
    Load(ThreeFrames(7, c.delay, 9));
    ASSERT_EQ(gif_->LoadedFrames(), 3u);
    gif_->put_UserDelay(c.userDelay);
    gif_->StartTimer();
    EXPECT_EQ(gif_->TimerInterval(), 250u);
    gif_->OnTimerTick();  // paints frame 0; frame 1 is next
    EXPECT_EQ(gif_->CurrentFrame(), 1);
    EXPECT_EQ(gif_->TimerInterval(), c.interval);
    EXPECT_GE(gif_->UserDelay(), 100);
  }
}

TEST_F(Player, TicksWalkTheFramesAndWrap) {
  Load(ThreeFrames());
  EXPECT_EQ(gif_->NumberofFrames(), 2);
  gif_->StartTimer();
  const long expected[] = {1, 2, 0, 1, 2, 0};
  const Colour shown[] = {kRed, kGreen, kWhite, kRed, kGreen, kWhite};
  for (int i = 0; i < 6; ++i) {
    gif_->OnTimerTick();
    EXPECT_EQ(gif_->CurrentFrame(), expected[i]) << i;
    EXPECT_EQ(target_.Pixel(3, 3), shown[i]) << i;
  }
  // Paused painting: ticks change nothing.
  gif_->put_StopRender(true);
  gif_->OnTimerTick();
  EXPECT_EQ(gif_->CurrentFrame(), 0);
}

TEST_F(Player, OneFrameFileRepaintsFrameZero) {
  Load(GifBuilder().Header("87a", 8, 8, kTable).Image(0, 0, 8, 8, Filled(8, 8, 2)).Trailer().Bytes());
  EXPECT_EQ(gif_->NumberofFrames(), 0);
  gif_->StartTimer();
  for (int i = 0; i < 3; ++i) {
    target_.Fill(kBlack);
    gif_->OnTimerTick();
    EXPECT_EQ(gif_->CurrentFrame(), 0);
    EXPECT_EQ(target_.Pixel(0, 0), kRed);
  }
}

TEST_F(Player, StartAndStopTimer) {
  gif_->StartTimer();  // no file name: nothing
  EXPECT_EQ(gif_->TimerInterval(), 0u);
  EXPECT_TRUE(gif_->StopRender());
  gif_->put_strGifFileName(L"x.gif");
  gif_->StartTimer();
  EXPECT_EQ(gif_->TimerInterval(), 250u);
  EXPECT_FALSE(gif_->StopRender());
  gif_->StopTimer();
  EXPECT_EQ(gif_->TimerInterval(), 0u);
  EXPECT_TRUE(gif_->StopRender());
  gif_->StartTimer();
  gif_->StopGif();
  EXPECT_EQ(gif_->TimerInterval(), 0u);
  EXPECT_TRUE(gif_->StopRender());
}

// ---- loading -----------------------------------------------------------------

TEST_F(Player, LoadingStopsTheTimerAndShowsFrameZero) {
  gif_->put_strGifFileName(L"x.gif");
  gif_->StartTimer();
  const int before = TempFrameFiles();
  Load(ThreeFrames());
  EXPECT_EQ(gif_->TimerInterval(), 0u);
  EXPECT_EQ(gif_->CurrentFrame(), 0);
  EXPECT_EQ(gif_->UserDelay(), 1);
  EXPECT_EQ(gif_->LoadedFrames(), 3u);
  EXPECT_EQ(target_.Pixel(0, 0), kRed);
  EXPECT_EQ(gif_->CanvasSize().cx, 32);
  EXPECT_EQ(gif_->CanvasSize().cy, 8);
  EXPECT_EQ(TempFrameFiles(), before) << "every frame file is deleted once loaded";
  // LoadGif(True) clears the name and loads nothing.
  gif_->LoadGif(true);
  EXPECT_TRUE(gif_->strGifFileName().empty());
  EXPECT_EQ(gif_->LoadedFrames(), 0u);
}

TEST_F(Player, CanvasWidthIsAMultipleOf32) {
  const struct {
    int width, canvas;
  } cases[] = {{1, 32}, {31, 32}, {32, 32}, {33, 64}, {70, 96}};
  for (auto c : cases) {
    Load(GifBuilder().Header("89a", c.width, 4, kTable).Image(0, 0, 1, 1, {1}).Trailer().Bytes());
    EXPECT_EQ(gif_->CanvasSize().cx, c.canvas) << c.width;
  }
}

TEST_F(Player, UnreadableFilesLeaveTheControlCleared) {
  Load(ThreeFrames());
  ASSERT_EQ(gif_->NumberofFrames(), 2);
  const SIZE canvas = gif_->CanvasSize();

  auto good = GifBuilder().Header("89a", 16, 16, kTable).Image(0, 0, 16, 16, Filled(16, 16, 3)).Trailer().Bytes();
  auto gif7 = good;
  gif7[3] = '7';
  auto cut = std::vector<uint8_t>(good.begin(), good.end() - 4);
  auto noTrailer = std::vector<uint8_t>(good.begin(), good.end() - 1);
  auto noImage = GifBuilder().Header("89a", 16, 16, kTable).Comment("none").Trailer().Bytes();
  auto pastEnd = good;
  pastEnd[13 + 24 + 11] = 0xFE;  // a data sub-block longer than the file
  auto badIndex = GifBuilder().Header("89a", 16, 16, kTable).Control(0, 0, true, 200)
                      .Image(0, 0, 16, 16, Filled(16, 16, 3)).Trailer().Bytes();
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    bool nameCleared;
    size_t frames;
  } cases[] = {
      {"GIF7 signature", gif7, true, 0},
      {"cut inside the data", cut, false, 0},
      {"no trailer", noTrailer, false, 0},
      {"no image", noImage, false, 0},
      {"block past the end", pastEnd, false, 0},
      {"empty file", {}, false, 0},
      {"transparent index past the table", badIndex, false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load(ThreeFrames());
    gif_->StartTimer();
    gif_->OnTimerTick();
    target_.Fill(kBlack);
    Load(c.bytes);
    EXPECT_EQ(gif_->LoadedFrames(), c.frames);
    EXPECT_EQ(gif_->strGifFileName().empty(), c.nameCleared);
    EXPECT_EQ(gif_->TimerInterval(), 0u);
    if (c.frames == 0) {
      EXPECT_EQ(gif_->NumberofFrames(), 2) << "keeps its value";
      EXPECT_EQ(gif_->CanvasSize().cx, canvas.cx) << "the canvas is not rebuilt";
      EXPECT_EQ(target_.Pixel(0, 0), kBlue) << "the cleared background";
      // Nothing to draw: rendering and ticking do nothing, and the control stays usable.
      target_.Fill(kBlack);
      gif_->put_StopRender(false);
      gif_->RenderGif(0);
      gif_->RenderGif(1);
      gif_->OnTimerTick();
      EXPECT_EQ(target_.Pixel(0, 0), kBlack);
      EXPECT_EQ(gif_->CurrentFrame(), 0);
    } else {
      EXPECT_EQ(target_.Pixel(0, 0), kGreen) << "drawn opaque: no entry can be keyed";
    }
  }
  gif_->put_strGifFileName(L"Z:\\no\\such\\file.gif");
  gif_->LoadGif(false);
  EXPECT_EQ(gif_->LoadedFrames(), 0u);
}

TEST_F(Player, RenderIgnoresFramesThatDoNotExist) {
  Load(ThreeFrames());
  target_.Fill(kBlack);
  for (long ctr : {-1L, 3L, 100L}) gif_->RenderGif(ctr);
  EXPECT_EQ(target_.Pixel(0, 0), kBlack);
  gif_->put_StopRender(true);
  gif_->RenderGif(1);
  EXPECT_EQ(target_.Pixel(0, 0), kBlack);
}

// ---- disposal and colour-keyed drawing ---------------------------------------

TEST_F(Player, DisposalTwoClearsTheWholeCanvasFirst) {
  const struct {
    int disposal;
    Colour corner;
  } cases[] = {{0, kRed}, {1, kRed}, {2, kBlue}, {3, kRed}, {7, kRed}};
  for (auto c : cases) {
    SCOPED_TRACE(c.disposal);
    Load(GifBuilder()
             .Header("89a", 8, 8, kTable)
             .Image(0, 0, 8, 8, Filled(8, 8, 2))
             .Control(c.disposal, 10)
             .Image(4, 4, 2, 2, Filled(2, 2, 3))
             .Trailer()
             .Bytes());
    gif_->RenderGif(1);
    EXPECT_EQ(target_.Pixel(0, 0), c.corner);
    EXPECT_EQ(target_.Pixel(4, 4), kGreen);
    EXPECT_EQ(target_.Pixel(5, 5), kGreen);
    EXPECT_EQ(target_.Pixel(6, 6), c.corner);
  }
}

TEST_F(Player, TransparentPixelsShowWhatIsBehind) {
  // 0: the transparent entry (silver), 1 red; index 2 shares silver and must stay opaque.
  const std::vector<Colour> shared = {kSilver, kRed, kSilver, kWhite};
  const std::vector<uint8_t> pixels = {0, 1, 2, 0,
                                       0, 1, 2, 0};
  const struct {
    const char* name;
    bool change;
    int disposalFirst;
    Colour see, shares;
  } cases[] = {
      {"over the back colour", true, 2, kBlue, kSilver},
      {"over the earlier frame", true, 1, kGreen, kSilver},
      {"shared colour without the patch", false, 2, kBlue, kBlue},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    gif_->put_ChangeTransparentColor(c.change);
    std::vector<uint8_t> bytes = GifBuilder()
                                     .Header("89a", 4, 2, {kGreen, kRed, kSilver, kWhite})
                                     .Control(c.disposalFirst, 10)
                                     .Image(0, 0, 4, 2, Filled(4, 2, 0))
                                     .Control(c.disposalFirst, 10, true, 0)
                                     .Image(0, 0, 4, 2, pixels, shared)
                                     .Trailer()
                                     .Bytes();
    Load(bytes);
    ASSERT_EQ(gif_->LoadedFrames(), 2u);
    gif_->RenderGif(1);
    EXPECT_EQ(target_.Pixel(0, 0), c.see);
    EXPECT_EQ(target_.Pixel(3, 1), c.see);
    EXPECT_EQ(target_.Pixel(1, 0), kRed);
    EXPECT_EQ(target_.Pixel(2, 0), c.shares);
    gif_->put_ChangeTransparentColor(true);
  }
}

TEST_F(Player, TransparentFrameAtAnOffset) {
  Load(GifBuilder()
           .Header("89a", 16, 16, {kBlack, kRed, kGreen, kWhite})
           .Control(1, 0, true, 3)
           .Image(8, 4, 4, 4, {1, 3, 3, 1, 3, 2, 2, 3, 3, 2, 2, 3, 1, 3, 3, 1})
           .Trailer()
           .Bytes());
  EXPECT_EQ(target_.Pixel(8, 4), kRed);
  EXPECT_EQ(target_.Pixel(9, 4), kBlue);
  EXPECT_EQ(target_.Pixel(9, 5), kGreen);
  EXPECT_EQ(target_.Pixel(7, 4), kBlue);
  EXPECT_EQ(target_.Pixel(0, 0), kBlue);
}

TEST_F(Player, PrintingShowsTheCanvas) {
  Load(ThreeFrames());
  gif_->RenderGif(1);
  MemoryTarget printed(64, 64);
  printed.Fill(kBlack);
  SendMessageW(gif_->hwnd(), WM_PRINTCLIENT, WPARAM(printed.dc()), PRF_CLIENT);
  EXPECT_EQ(printed.Pixel(0, 0), kGreen) << "the frame on show";
  EXPECT_EQ(printed.Pixel(40, 40), kBlue) << "the back colour around the canvas";
  EXPECT_EQ(gif_->LoadedFrames(), 3u) << "printing loads nothing";
}

TEST_F(Player, SetBackColorPaintsBlack) {
  Load(ThreeFrames());
  gif_->SetBackColor();
  EXPECT_EQ(gif_->BackColor(), 0u);
  EXPECT_EQ(target_.Pixel(40, 40), kBlack);
}

TEST_F(Player, StoredPropertiesRoundTrip) {
  PropertyBag bag{{L"BackColor", long(0x80000005)},
                  {L"BorderStyle", 1L},
                  {L"strGifFileName", L"Z:\\no\\such\\file.gif"}};
  gif_->ReadProperties(bag);
  EXPECT_EQ(gif_->BackColor(), 0x80000005u);
  EXPECT_EQ(gif_->MaskColor(), kButtonFace) << "an absent key reads as its default";
  EXPECT_FALSE(gif_->DisplaySavedGifFileName()) << "the stored file was not found";
  EXPECT_TRUE(GetWindowLongPtrW(gif_->hwnd(), GWL_STYLE) & WS_BORDER);
  PropertyBag written;
  gif_->WriteProperties(written);
  EXPECT_EQ(written.size(), 3u) << "defaults are not written";
  EXPECT_EQ(written.Read(L"BackColor").toLong(), long(0x80000005));
  EXPECT_EQ(written.Read(L"borderstyle").toLong(), 1);
  EXPECT_EQ(written.Read(L"strGifFileName").toText(), L"Z:\\no\\such\\file.gif");

  GifFile file(ThreeFrames());
  gif_->ReadProperties(PropertyBag{{L"strGifFileName", file.path()}});
  EXPECT_TRUE(gif_->DisplaySavedGifFileName());
  EXPECT_FALSE(GetWindowLongPtrW(gif_->hwnd(), GWL_STYLE) & WS_BORDER);
  gif_->ReadProperties(PropertyBag{});
  EXPECT_TRUE(gif_->DisplaySavedGifFileName()) << "an empty stored name counts as found";
  gif_->InitProperties();
  EXPECT_TRUE(gif_->strGifFileName().empty());
  written.Clear();
  gif_->WriteProperties(written);
  EXPECT_EQ(written.size(), 0u);
}

// ---- one real window -----------------------------------------------------------

// The colour of a window pixel as the display shows it.
Colour WindowPixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return c;
}

// Serves messages until `done` holds; false when it has not after a generous wait
// (the real timer is slow under load; this only guards against waiting for ever).
template <class F>
bool ServeUntil(F done) {
  for (int round = 0; round < 2000 && !done(); ++round) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    DoEvents();
  }
  return done();
}

TEST(PlayerWindow, PickerFlowShowsFrameZeroThenRealTicksAnimate) {
  auto form = Form::Load<GifForm>();
  auto& gif = form->Add<VkAnimatedGif>({.name = L"IType", .left = 180, .top = 540, .width = 510, .height = 510});
  int resized = 0;
  gif.Resize.Connect([&] { ++resized; });
  // What the picker does: stored properties without a name, then name, delay, start.
  gif.ReadProperties(PropertyBag{{L"BackColor", long(0x80000005)}, {L"BorderStyle", 1L}});
  gif.put_strGifFileName(test::BinFolder() + L"\\Vk_OstrelaGIF01.gif");
  gif.put_UserDelay(100);
  gif.StartTimer();
  EXPECT_EQ(gif.TimerInterval(), 250u);
  form->Show(ShowMode::Modeless);
  ASSERT_TRUE(ServeUntil([&] { return gif.LoadedFrames() > 0; }));
  // The first paint loaded the file and stopped the timer.
  EXPECT_FALSE(gif.DisplaySavedGifFileName());
  EXPECT_EQ(gif.LoadedFrames(), size_t(gif::kSampleFrames));
  EXPECT_EQ(gif.TimerInterval(), 0u);
  EXPECT_EQ(gif.hDC(), GetDC(gif.hwnd()));
  // Frame 0 lights the top dot (16, 5 inside the client area).
  EXPECT_EQ(WindowPixel(gif.hwnd(), 16, 5), COLORREF(0xC06000));
  EXPECT_EQ(WindowPixel(gif.hwnd(), 16, 27), COLORREF(0xD0D0D0));

  // Ticks walk the frames; a repaint draws frame 0 and the next tick goes on.
  gif.StartTimer();
  gif.OnTimerTick();
  gif.OnTimerTick();
  EXPECT_EQ(gif.CurrentFrame(), 2);
  EXPECT_NE(WindowPixel(gif.hwnd(), 16, 5), COLORREF(0xC06000));
  gif.Refresh();
  EXPECT_EQ(WindowPixel(gif.hwnd(), 16, 5), COLORREF(0xC06000));
  EXPECT_EQ(gif.CurrentFrame(), 2);
  gif.OnTimerTick();
  EXPECT_EQ(gif.CurrentFrame(), 3);
  gif.Move(180, 540, 750, 750);
  EXPECT_GE(resized, 1);
  gif.StopGif();
  form->Unload();
}

TEST(PlayerWindow, RealTimerTicksAdvanceFrames) {
  auto form = Form::Load<GifForm>();
  auto& gif = form->Add<VkAnimatedGif>({.name = L"IType", .width = 510, .height = 510});
  GifFile file(GifBuilder()
                   .Header("89a", 8, 8, kTable)
                   .Control(1, 0).Image(0, 0, 8, 8, Filled(8, 8, 2))
                   .Control(1, 0).Image(0, 0, 8, 8, Filled(8, 8, 3))
                   .Trailer()
                   .Bytes());
  gif.put_strGifFileName(file.path());
  gif.LoadGif(false);
  form->Show(ShowMode::Modeless);
  gif.StartTimer();
  std::vector<long> seen;
  ASSERT_TRUE(ServeUntil([&] {
    if (seen.empty() || seen.back() != gif.CurrentFrame()) seen.push_back(gif.CurrentFrame());
    return seen.size() >= 4;
  }));
  EXPECT_EQ(seen, (std::vector<long>{0, 1, 0, 1}));
  EXPECT_EQ(gif.TimerInterval(), 100u) << "delay 0 and the raised user delay";
  gif.StopGif();
  form->Unload();
}

TEST(PlayerWindow, SampleBesideTheProgramsIsOurAnimation) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(test::BinFolder() + L"\\Vk_OstrelaGIF01.gif", bytes));
  EXPECT_EQ(bytes, gif::SampleAnimation()) << "regenerate it with make_sample_gif";
}

TEST(PlayerWindow, WritesAStripOfFramesForReview) {
  const int size = gif::kSampleSize;
  const int frames = gif::kSampleFrames;
  MemoryTarget strip(size * frames, size);
  auto form = Form::Load<GifForm>();
  auto& gif = form->Add<VkAnimatedGif>({.name = L"IType", .width = size * kTwips, .height = size * kTwips});
  gif.put_BackColor(kWhite);
  gif.put_strGifFileName(test::BinFolder() + L"\\Vk_OstrelaGIF01.gif");
  MemoryTarget one(32, size);
  gif.put_hDC(one.dc());
  gif.LoadGif(false);
  ASSERT_EQ(gif.LoadedFrames(), size_t(frames));
  for (int k = 0; k < frames; ++k) {
    gif.RenderGif(k);
    BitBlt(strip.dc(), k * size, 0, size, size, one.dc(), 0, 0, SRCCOPY);
  }
  gif.put_hDC(nullptr);
  form->Unload();
  // Each frame lights a different dot.
  EXPECT_NE(strip.Pixel(16, 5), strip.Pixel(size + 16, 5));
  EXPECT_TRUE(strip.Save(test::BinFolder() + L"\\controls_animated_gif_frames.bmp"));
}

}  // namespace
}  // namespace vk::controls
