// Our own GIF decoder against our own writer: every table size, interlacing, the
// full code table, and data that ends early.
#include "hosted/gif_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "tools/gif/gif_writer.h"

namespace vk::hosted {
namespace {

using gif::Colour;
using gif::GifBuilder;

std::vector<uint8_t> RandomPixels(std::mt19937& rng, size_t count, int entries, int pattern) {
  std::vector<uint8_t> pixels(count);
  for (size_t i = 0; i < count; ++i) {
    switch (pattern) {
      case 0: pixels[i] = uint8_t(rng() % unsigned(entries)); break;   // noise
      case 1: pixels[i] = uint8_t((i / 5) % size_t(entries)); break;   // runs
      default: pixels[i] = uint8_t(entries - 1); break;                // one colour
    }
  }
  return pixels;
}

TEST(GifDecoder, RoundTripsEveryTableSizeAndShape) {
  std::mt19937 rng(7);
  for (int sizeField = 0; sizeField < 8; ++sizeField) {
    const int entries = 1 << (sizeField + 1);
    std::vector<Colour> table(static_cast<size_t>(entries));
    for (auto& c : table) c = rng() & 0xFFFFFF;
    for (int pattern = 0; pattern < 3; ++pattern) {
      for (bool interlaced : {false, true}) {
        for (bool local : {false, true}) {
          const int w = 1 + int(rng() % 40);
          const int h = 1 + int(rng() % 40);
          SCOPED_TRACE(testing::Message() << "field " << sizeField << " pattern " << pattern
                                          << " interlaced " << interlaced << " local " << local
                                          << " " << w << "x" << h);
          auto pixels = RandomPixels(rng, size_t(w) * size_t(h), entries, pattern);
          GifBuilder builder;
          builder.Header("89a", w, h, local ? std::vector<Colour>{} : table)
              .Image(0, 0, w, h, pixels, local ? table : std::vector<Colour>{}, interlaced)
              .Trailer();
          IndexedImage image;
          ASSERT_TRUE(DecodeFirstImage(builder.Bytes(), image));
          EXPECT_EQ(image.width, w);
          EXPECT_EQ(image.height, h);
          EXPECT_EQ(image.indices, pixels);
          EXPECT_EQ(image.palette, table);
        }
      }
    }
  }
}

TEST(GifDecoder, FullCodeTableIsClearedAndGoesOn) {
  std::mt19937 rng(11);
  const int w = 300, h = 200;  // noise fills 4096 codes several times over
  auto pixels = RandomPixels(rng, size_t(w) * h, 256, 0);
  auto bytes = GifBuilder().Header("87a", w, h, std::vector<Colour>(256, 0x123456)).Image(0, 0, w, h, pixels).Trailer().Bytes();
  IndexedImage image;
  ASSERT_TRUE(DecodeFirstImage(bytes, image));
  EXPECT_EQ(image.indices, pixels);
}

TEST(GifDecoder, InterlacedRowsAreAPermutation) {
  for (int height = 1; height <= 40; ++height) {
    std::set<int> rows;
    for (int stored = 0; stored < height; ++stored) rows.insert(InterlacedRow(stored, height));
    EXPECT_EQ(int(rows.size()), height) << height;
    EXPECT_EQ(*rows.rbegin(), height - 1) << height;
  }
  EXPECT_EQ(InterlacedRow(1, 10), 8);  // pass 1: 0, 8
  EXPECT_EQ(InterlacedRow(2, 10), 4);  // pass 2: 4
  EXPECT_EQ(InterlacedRow(3, 10), 2);  // pass 3: 2, 6
  EXPECT_EQ(InterlacedRow(5, 10), 1);  // pass 4: 1, 3, 5, 7, 9
}

TEST(GifDecoder, DataEndingEarlyLeavesTheRestZero) {
  std::vector<uint8_t> pixels(64 * 64, 3);
  std::mt19937 rng(3);
  for (auto& p : pixels) p = uint8_t(1 + rng() % 3);
  auto bytes = GifBuilder().Header("89a", 64, 64, {0, 0xFF, 0xFF00, 0xFF0000}).Image(0, 0, 64, 64, pixels).Trailer().Bytes();
  // Cut the data short and end it with a terminator where it was cut.
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 13 + 12 + 10 + 1 + 1 + 40);
  cut[13 + 12 + 10 + 1] = 40;  // the first sub-block now holds 40 bytes
  cut.push_back(0);
  IndexedImage image;
  ASSERT_TRUE(DecodeFirstImage(cut, image));
  ASSERT_EQ(image.indices.size(), pixels.size());
  EXPECT_EQ(image.indices[0], pixels[0]);
  EXPECT_EQ(image.indices.back(), 0);
}

std::vector<uint8_t> Base64(const std::string& text) {
  static const std::string kDigits =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<uint8_t> bytes;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    size_t digit = kDigits.find(c);
    if (digit == std::string::npos) break;  // '=' ends the data
    bits = bits << 6 | uint32_t(digit);
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes.push_back(uint8_t(bits >> count));
    }
  }
  return bytes;
}

TEST(GifDecoder, RefusesFilesWithoutAnImage) {
  const std::vector<Colour> two = {0, 0xFFFFFF};
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  auto huge = GifBuilder().Header("89a", 1, 1, two).Raw({0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0}).Bytes();
  const Case cases[] = {
      {"empty", {}},
      {"not a GIF", {'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"trailer only", GifBuilder().Header("89a", 1, 1, two).Trailer().Bytes()},
      {"comment cut", GifBuilder().Header("89a", 1, 1, two).Raw({0x21, 0xFE, 9, 'a'}).Bytes()},
      {"descriptor cut", GifBuilder().Header("89a", 1, 1, two).Raw({0x2C, 0, 0}).Bytes()},
      {"65535 x 65535", huge},
      {"no pixels", GifBuilder().Header("89a", 1, 1, two).Raw({0x2C, 0, 0, 0, 0, 0, 0, 4, 0, 0x40, 2, 2, 0x4C, 1, 0}).Bytes()},
      // Found by the fuzzer: an interlaced image of width 0 after stray bytes.
      {"found: interlaced, width 0", Base64("R0lGOCwAAAAABAADAAACBv///ywAAAEQAAAAR0lGODlhBAD//wAA//8CNAAABAMAhgA=")},
  };
  for (const Case& c : cases) {
    IndexedImage image;
    EXPECT_FALSE(DecodeFirstImage(c.bytes, image)) << c.name;
  }
}

}  // namespace
}  // namespace vk::hosted
