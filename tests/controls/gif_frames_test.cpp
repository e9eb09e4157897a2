// The GIF splitter on files made by our own writer: layouts, the frame files it
// cuts, the transparent-colour patch and every malformed file.
#include "controls/gif_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tools/gif/gif_writer.h"

namespace vk::controls {
namespace {

using gif::Colour;
using gif::GifBuilder;

const std::vector<Colour> kFour = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
const std::vector<uint8_t> kPixels = {0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3};  // 4 x 3

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t from, size_t to) {
  return std::vector<uint8_t>(bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(to));
}

bool Contains(const std::vector<uint8_t>& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

std::vector<uint8_t> Tail() { return {0x00, 0x21, 0xF9, 0x3B}; }

TEST(GifSplit, SingleImageFileIsHeaderImageAndTail) {
  for (const char* version : {"87a", "89a"}) {
    SCOPED_TRACE(version);
    auto bytes = GifBuilder().Header(version, 4, 3, kFour).Image(0, 0, 4, 3, kPixels).Trailer().Bytes();
    GifSplit split(bytes, true);
    ASSERT_EQ(split.Status(), SplitStatus::Ok);
    ASSERT_EQ(split.Frames().size(), 1u);
    EXPECT_EQ(split.Screen().width, 4);
    EXPECT_EQ(split.Screen().height, 3);
    EXPECT_TRUE(split.Screen().HasGlobalTable());
    EXPECT_EQ(split.Frames()[0].start, 13u + 12u);
    // Everything but the image's terminator and the trailer, then the tail.
    auto expected = Slice(bytes, 0, bytes.size() - 2);
    auto tail = Tail();
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(split.FrameFile(0), expected);
    EXPECT_TRUE(split.FrameFile(1).empty());
  }
}

TEST(GifSplit, ReadsEveryFieldOfEveryFrame) {
  const std::vector<Colour> local = {0x111111, 0x222222, 0x333333, 0x444444, 0x555555};
  auto bytes = GifBuilder()
                   .Header("89a", 40, 30, kFour, 3)
                   .Loop()
                   .Control(1, 7)
                   .Image(0, 0, 4, 3, kPixels)
                   .Control(2, 499, true, 1, true)
                   .Image(10, 20, 4, 3, kPixels, local)
                   .Control(3, 65535)
                   .Image(36, 27, 4, 3, kPixels, {}, true)
                   .Image(1, 2, 4, 3, kPixels)
                   .Trailer()
                   .Bytes();
  GifSplit split(bytes, false);
  ASSERT_EQ(split.Status(), SplitStatus::Ok);
  ASSERT_EQ(split.Frames().size(), 4u);
  EXPECT_EQ(split.Screen().backgroundIndex, 3);

  struct Expect {
    int disposal;
    bool userInput, transparent;
    uint16_t delay;
    uint8_t index;
    uint16_t left, top;
    bool localTable, interlaced;
    int localSizeField;
  };
  const Expect expected[] = {
      {1, false, false, 7, 0, 0, 0, false, false, 0},
      {2, true, true, 499, 1, 10, 20, true, false, 2},
      {3, false, false, 65535, 0, 36, 27, false, true, 0},
      {0, false, false, 0, 0, 1, 2, false, false, 0},  // no control extension: zeros
  };
  for (size_t k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const GifFrameInfo& f = split.Frames()[k];
    EXPECT_EQ(f.disposal, expected[k].disposal);
    EXPECT_EQ(f.userInput, expected[k].userInput);
    EXPECT_EQ(f.transparent, expected[k].transparent);
    EXPECT_EQ(f.delay, expected[k].delay);
    EXPECT_EQ(f.transparentIndex, expected[k].index);
    EXPECT_EQ(f.left, expected[k].left);
    EXPECT_EQ(f.top, expected[k].top);
    EXPECT_EQ(f.width, 4);
    EXPECT_EQ(f.height, 3);
    EXPECT_EQ(f.localTable, expected[k].localTable);
    EXPECT_EQ(f.interlaced, expected[k].interlaced);
    EXPECT_EQ(f.localSizeField, expected[k].localSizeField);
    EXPECT_EQ(f.lzwMinimumCodeSize, expected[k].localTable ? 3 : 2);  // 8 local entries
    EXPECT_EQ(bytes[f.end], 0) << "the range ends on the data terminator";
    if (k > 0) { EXPECT_EQ(f.start, split.Frames()[k - 1].end + 1); }
  }
}

TEST(GifSplit, SortFlagAndFileWithoutGlobalTable) {
  auto bytes = GifBuilder().Header("89a", 4, 3, {}).Image(0, 0, 4, 3, kPixels, kFour).Trailer().Bytes();
  bytes[13 + 9] |= 0x20;  // the descriptor's sort flag
  GifSplit split(bytes, true);
  ASSERT_EQ(split.Status(), SplitStatus::Ok);
  EXPECT_FALSE(split.Screen().HasGlobalTable());
  EXPECT_EQ(split.Frames()[0].start, 13u);
  EXPECT_TRUE(split.Frames()[0].sorted);
  EXPECT_TRUE(split.Frames()[0].localTable);
}

TEST(GifSplit, ApplicationBlockTravelsInFrameZeroOnly) {
  auto bytes = GifBuilder()
                   .Header("89a", 4, 3, kFour)
                   .Loop(3)
                   .Comment("first")
                   .Image(0, 0, 4, 3, kPixels)
                   .Comment("second")
                   .Image(0, 0, 4, 3, kPixels)
                   .Trailer()
                   .Bytes();
  GifSplit split(bytes, true);
  ASSERT_EQ(split.Status(), SplitStatus::Ok);
  ASSERT_EQ(split.Frames().size(), 2u);
  auto zero = split.FrameFile(0);
  auto one = split.FrameFile(1);
  EXPECT_TRUE(Contains(zero, "NETSCAPE2.0"));
  EXPECT_TRUE(Contains(zero, "first"));
  EXPECT_FALSE(Contains(one, "NETSCAPE2.0"));
  EXPECT_FALSE(Contains(one, "first"));
  EXPECT_TRUE(Contains(one, "second"));
  // Both start with the same header and end with the same tail.
  EXPECT_EQ(Slice(zero, 0, 13 + 12), Slice(one, 0, 13 + 12));
  EXPECT_EQ(Slice(one, one.size() - 4, one.size()), Tail());
}

TEST(GifSplit, PassesOverEveryKindOfBlockBetweenImages) {
  struct Case {
    const char* name;
    std::vector<uint8_t> between;
  };
  const Case cases[] = {
      {"comment", GifBuilder().Comment("a comment, with a , and a ; inside").Bytes()},
      {"long comment", GifBuilder().Comment(std::string(600, 'x')).Bytes()},
      {"plain text", GifBuilder().PlainText("text").Bytes()},
      {"application", GifBuilder().Loop().Bytes()},
      {"control", GifBuilder().Control(2, 5).Bytes()},
      {"unknown label", {0x21, 0x99, 0x02, 'a', 'b', 0x00}},
      {"stray bytes", {0x00, 0x00, 0x07}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = GifBuilder()
                     .Header("89a", 4, 3, kFour)
                     .Image(0, 0, 4, 3, kPixels)
                     .Raw(c.between)
                     .Image(0, 0, 4, 3, kPixels)
                     .Trailer()
                     .Bytes();
    GifSplit split(bytes, true);
    ASSERT_EQ(split.Status(), SplitStatus::Ok);
    EXPECT_EQ(split.Frames().size(), 2u);
  }
}

TEST(GifSplit, ControlExtensionWithoutImageIsNotCounted) {
  auto bytes = GifBuilder()
                   .Header("89a", 4, 3, kFour)
                   .Image(0, 0, 4, 3, kPixels)
                   .Control(2, 30, true, 1)
                   .Trailer()
                   .Bytes();
  GifSplit split(bytes, true);
  ASSERT_EQ(split.Status(), SplitStatus::Ok);
  ASSERT_EQ(split.Frames().size(), 1u);
  EXPECT_FALSE(split.Frames()[0].transparent);
}

TEST(GifSplit, MalformedFilesStopCleanly) {
  auto good = GifBuilder()
                  .Header("89a", 4, 3, kFour)
                  .Image(0, 0, 4, 3, kPixels)
                  .Trailer()
                  .Bytes();
  auto withoutTrailer = Slice(good, 0, good.size() - 1);
  auto cutInData = Slice(good, 0, good.size() - 4);
  auto gif7 = good;
  gif7[3] = '7';
  auto longComment = GifBuilder().Header("89a", 4, 3, kFour).Raw({0x21, 0xFE, 0x40, 'a', 'b'}).Bytes();
  auto longSubBlock = good;
  longSubBlock[13 + 12 + 11] = 0xF0;  // the image's first data sub-block claims 240 bytes
  auto cutTable = Slice(good, 0, 20);
  auto cutDescriptor = Slice(good, 0, 13 + 12 + 5);
  auto cutControl = GifBuilder().Header("89a", 4, 3, kFour).Raw({0x21, 0xF9, 0x04, 0x01, 0x00}).Bytes();
  auto cutApplication = GifBuilder().Header("89a", 4, 3, kFour).Raw({0x21, 0xFF, 0x0B, 'N', 'E'}).Bytes();
  auto cutPlainText = GifBuilder().Header("89a", 4, 3, kFour).Raw({0x21, 0x01, 0x0C, 0, 0, 0}).Bytes();
  auto cutLocal = GifBuilder().Header("89a", 4, 3, {}).Raw({0x2C, 0, 0, 0, 0, 4, 0, 3, 0, 0x81, 1, 2}).Bytes();
  auto noImage = GifBuilder().Header("89a", 4, 3, kFour).Comment("no image").Trailer().Bytes();
  auto headerOnly = GifBuilder().Header("89a", 4, 3, {}).Bytes();
  std::vector<uint8_t> twelve(good.begin(), good.begin() + 12);

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    SplitStatus status;
  };
  const Case cases[] = {
      {"empty", {}, SplitStatus::NoFile},
      {"GIF7 signature", gif7, SplitStatus::NotGif},
      {"three bytes", {'G', 'I', 'F'}, SplitStatus::NotGif},
      {"screen descriptor cut", twelve, SplitStatus::Malformed},
      {"global table cut", cutTable, SplitStatus::Malformed},
      {"no trailer after the image", withoutTrailer, SplitStatus::Malformed},
      {"cut inside image data", cutInData, SplitStatus::Malformed},
      {"comment longer than the file", longComment, SplitStatus::Malformed},
      {"data sub-block past the end", longSubBlock, SplitStatus::Malformed},
      {"descriptor cut", cutDescriptor, SplitStatus::Malformed},
      {"control extension cut", cutControl, SplitStatus::Malformed},
      {"application extension cut", cutApplication, SplitStatus::Malformed},
      {"plain text cut", cutPlainText, SplitStatus::Malformed},
      {"local table cut", cutLocal, SplitStatus::Malformed},
      {"no image", noImage, SplitStatus::NoImage},
      {"header only", headerOnly, SplitStatus::NoImage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GifSplit split(c.bytes, true);
    EXPECT_EQ(split.Status(), c.status);
    EXPECT_TRUE(split.FrameFile(0).empty()) << "no frame file from a file that did not split";
  }
}

TEST(GifSplit, EveryTruncationReportsOnlyCompleteFrames) {
  auto bytes = GifBuilder()
                   .Header("89a", 8, 6, kFour)
                   .Loop()
                   .Control(2, 10, true, 1)
                   .Image(0, 0, 4, 3, kPixels)
                   .Comment("between")
                   .Control(1, 20)
                   .Image(4, 3, 4, 3, kPixels, {0x123456, 0x654321})
                   .PlainText("hi")
                   .Image(0, 0, 4, 3, kPixels, {}, true)
                   .Trailer()
                   .Bytes();
  for (size_t n = 0; n < bytes.size(); ++n) {
    SCOPED_TRACE(n);
    GifSplit split(Slice(bytes, 0, n), true);
    if (split.Status() == SplitStatus::Ok) { EXPECT_LT(split.Frames().size(), 3u); }
    for (const GifFrameInfo& f : split.Frames()) {
      EXPECT_LE(f.start, f.end);
      EXPECT_LT(f.end, n);
    }
  }
  EXPECT_EQ(GifSplit(bytes, true).Frames().size(), 3u);
}

// ---- the transparent-colour patch ------------------------------------------

TEST(GifSplit, MidpointOfTwoLargestRoundsHalfToEven) {
  struct Case {
    std::vector<Colour> table;
    Colour expected;
  };
  const Case cases[] = {
      {{3, 2}, 2},          // 2.5 -> 2
      {{5, 2}, 4},          // 3.5 -> 4
      {{1, 9, 5}, 7},       // second largest found after the largest
      {{9, 1, 5}, 7},
      {{7, 7}, 7},          // a repeated largest is also the second
      {{0, 0, 0, 0}, 0},
      {{0xFFFFFF, 0xFFFFFE}, 0xFFFFFE},  // 16777214.5 -> even 16777214
      {{0xC0C0C0, 0x0000FF, 0xFFFFFF}, 0xE06060},  // 0xE0605F.8 -> even 0xE06060
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> table;
    for (Colour v : c.table) table.insert(table.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
    EXPECT_EQ(MidpointOfTwoLargest(table.data(), int(c.table.size())), c.expected);
  }
}

Colour EntryAt(const std::vector<uint8_t>& bytes, size_t offset) {
  return Colour(bytes[offset]) | Colour(bytes[offset + 1]) << 8 | Colour(bytes[offset + 2]) << 16;
}

TEST(GifSplit, TransparentPatchCases) {
  const Colour silver = 0xC0C0C0;
  // Index 5 is silver and so is index 2; the two largest are white and silver.
  const std::vector<Colour> shared = {0x000000, 0x0000FF, silver, 0x00FF00, 0xFFFFFF, silver, 0x101010, 0x202020};
  const std::vector<Colour> unique = {0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFFFF, silver, 0x101010, 0x202020};
  const Colour midpoint = 0xE06060;  // (0xFFFFFF + silver) / 2 = 0xE0605F.8, to even

  struct Case {
    const char* name;
    bool local;
    std::vector<Colour> table;
    uint8_t index;
    bool change;
    bool expectPatched;
    bool expectKey;
  };
  const Case cases[] = {
      {"global, shared key", false, shared, 5, true, true, true},
      {"global, no change wanted", false, shared, 5, false, false, true},
      {"global, key not shared", false, unique, 5, true, false, true},
      {"global, index past the table", false, shared, 9, true, false, false},
      {"local, shared key", true, shared, 5, true, true, true},
      {"local, no change wanted", true, shared, 5, false, false, true},
      {"local, key not shared", true, unique, 5, true, false, true},
      {"local, index past the table", true, shared, 200, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GifBuilder builder;
    builder.Header("89a", 4, 3, c.local ? kFour : c.table).Control(0, 0, true, c.index);
    const std::vector<uint8_t> pixels = {5, 5, 2, 2, 0, 1, 3, 4, 6, 7, 5, 2};
    builder.Image(0, 0, 4, 3, pixels, c.local ? c.table : std::vector<Colour>{});
    auto bytes = builder.Trailer().Bytes();
    const size_t globalTableSize = 3 * 4;  // kFour when the table is local
    const size_t tableOffset = c.local ? 13 + globalTableSize + 8 + 10 : 13;

    GifSplit split(bytes, c.change);
    ASSERT_EQ(split.Status(), SplitStatus::Ok);
    const Colour expected5 = c.expectPatched ? midpoint : c.table[5];
    EXPECT_EQ(EntryAt(split.Bytes(), tableOffset + 15), expected5) << "file buffer";
    EXPECT_EQ(EntryAt(split.FrameFile(0), tableOffset + 15), expected5) << "frame file";
    EXPECT_EQ(EntryAt(split.Bytes(), tableOffset + 6), c.table[2]) << "the other entry stays";
    if (!c.local) { EXPECT_EQ(EntryAt({split.GlobalTable().begin(), split.GlobalTable().end()}, 15), expected5); }
    PackedColour key = 0;
    EXPECT_EQ(split.KeyColour(0, key), c.expectKey);
    if (c.expectKey) { EXPECT_EQ(key, expected5); }
  }
}

TEST(GifSplit, LocalTablesKeepTheirOwnKeysAndGlobalPatchLastsForLaterFrames) {
  const std::vector<Colour> first = {0x0000FF, 0x00FF00, 0x0000FF, 0x000000};   // key 2 shared with 0
  const std::vector<Colour> second = {0x808080, 0x404040, 0x202020, 0x101010};  // key 3 unique
  const std::vector<Colour> global = {0x000000, 0xFFFFFF, 0x000000, 0x777777};  // key 2 shared with 0
  auto bytes = GifBuilder()
                   .Header("89a", 4, 3, global)
                   .Control(0, 0, true, 2)
                   .Image(0, 0, 4, 3, kPixels, first)
                   .Control(0, 0, true, 3)
                   .Image(0, 0, 4, 3, kPixels, second)
                   .Control(0, 0, true, 2)
                   .Image(0, 0, 4, 3, kPixels)
                   .Image(0, 0, 4, 3, kPixels)
                   .Trailer()
                   .Bytes();
  GifSplit split(bytes, true);
  ASSERT_EQ(split.Status(), SplitStatus::Ok);
  PackedColour key = 0;
  ASSERT_TRUE(split.KeyColour(0, key));
  EXPECT_EQ(key, 0x008000u);  // (0x00FF00 + 0x0000FF) / 2 = 32767.5, to even
  ASSERT_TRUE(split.KeyColour(1, key));
  EXPECT_EQ(key, 0x101010u);
  ASSERT_TRUE(split.KeyColour(2, key));
  EXPECT_EQ(key, 0xBBBBBBu);  // (0xFFFFFF + 0x777777) / 2
  EXPECT_FALSE(split.KeyColour(3, key)) << "not transparent";
  // The patched global table goes into every frame file, also the earlier ones.
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(EntryAt(split.FrameFile(k), 13 + 6), 0xBBBBBBu) << k;
  // The local patch lives in frame 0's bytes only.
  EXPECT_EQ(EntryAt(split.FrameFile(0), 13 + 12 + 8 + 10 + 6), 0x008000u);
}

}  // namespace
}  // namespace vk::controls
