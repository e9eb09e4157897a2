#include "hosted/gif_decoder.h"

#include <cstring>

namespace vk::hosted {

namespace {

// Larger images are refused rather than allocated: a corrupt descriptor could
// otherwise ask for four gigabytes.
constexpr size_t kMaxPixels = size_t(1) << 24;

// A colour table's entries from the three-bit size field of its flags.
int TableEntries(int sizeField) { return 1 << ((sizeField & 7) + 1); }

std::vector<PackedColour> ReadTable(const std::vector<uint8_t>& file, size_t at, int entries) {
  std::vector<PackedColour> table(size_t(entries), 0);
  for (int i = 0; i < entries; ++i) {
    const uint8_t* e = file.data() + at + 3 * size_t(i);
    table[size_t(i)] = PackedColour(e[0]) | PackedColour(e[1]) << 8 | PackedColour(e[2]) << 16;
  }
  return table;
}

// Passes over the sub-blocks that start at `at`; returns the offset after their
// terminator, or 0 when they run past the end.
size_t SkipSubBlocks(const std::vector<uint8_t>& file, size_t at) {
  while (at < file.size()) {
    uint8_t size = file[at];
    if (size == 0) return at + 1;
    at += 1 + size;
  }
  return 0;
}

// Reads variable-width codes from the concatenated data sub-blocks.
class CodeReader {
 public:
  CodeReader(const std::vector<uint8_t>& file, size_t at) : file_(file), next_(at) {}
  // False at the end of the data.
  bool Read(int bits, int& code) {
    while (count_ < bits) {
      if (left_ == 0) {
        if (next_ >= file_.size() || file_[next_] == 0) return false;
        left_ = file_[next_++];
      }
      if (next_ >= file_.size()) return false;
      buffer_ |= uint32_t(file_[next_++]) << count_;
      count_ += 8;
      --left_;
    }
    code = int(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    count_ -= bits;
    return true;
  }

 private:
  const std::vector<uint8_t>& file_;
  size_t next_;
  int left_ = 0;  // bytes left in the current sub-block
  uint32_t buffer_ = 0;
  int count_ = 0;
};

// LZW: fills `out` with at most out.size() indices.
void DecodeLzw(const std::vector<uint8_t>& file, size_t dataStart, int minimumCodeSize,
               std::vector<uint8_t>& out) {
  if (minimumCodeSize < 2 || minimumCodeSize > 11) return;
  const int clear = 1 << minimumCodeSize;
  const int endOfData = clear + 1;
  constexpr int kMaxCodes = 4096;
  std::vector<uint16_t> prefix(kMaxCodes, 0);
  std::vector<uint8_t> suffix(kMaxCodes, 0);
  std::vector<uint8_t> stack(kMaxCodes + 1);
  for (int i = 0; i < clear; ++i) suffix[size_t(i)] = uint8_t(i);

  CodeReader reader(file, dataStart);
  int codeSize = minimumCodeSize + 1;
  int nextCode = clear + 2;
  int previous = -1;
  uint8_t firstOfPrevious = 0;
  size_t written = 0;
  int code = 0;
  while (written < out.size() && reader.Read(codeSize, code)) {
    if (code == clear) {
      codeSize = minimumCodeSize + 1;
      nextCode = clear + 2;
      previous = -1;
      continue;
    }
    if (code == endOfData) break;
    if (previous < 0) {
      if (code >= clear) break;  // corrupt: the first code after a clear is a literal
      out[written++] = uint8_t(code);
      previous = code;
      firstOfPrevious = uint8_t(code);
      continue;
    }
    int current = code;
    size_t depth = 0;
    if (code >= nextCode) {
      if (code > nextCode) break;  // corrupt
      stack[depth++] = firstOfPrevious;
      current = previous;
    }
    while (current >= clear) {
      if (depth >= stack.size() - 1) return;
      stack[depth++] = suffix[size_t(current)];
      current = prefix[size_t(current)];
    }
    stack[depth++] = uint8_t(current);
    uint8_t first = uint8_t(current);
    while (depth > 0 && written < out.size()) out[written++] = stack[--depth];
    if (nextCode < kMaxCodes) {
      prefix[size_t(nextCode)] = uint16_t(previous);
      suffix[size_t(nextCode)] = first;
      ++nextCode;
      if (nextCode == (1 << codeSize) && codeSize < 12) ++codeSize;
    }
    previous = code;
    firstOfPrevious = first;
  }
}

}  // namespace

int InterlacedRow(int storedRow, int height) {
  // Pass 1 every 8th row from 0, pass 2 every 8th from 4, pass 3 every 4th from 2,
  // pass 4 every 2nd from 1.
  static const int kStart[4] = {0, 4, 2, 1};
  static const int kStep[4] = {8, 8, 4, 2};
  int n = storedRow;
  for (int pass = 0; pass < 4; ++pass) {
    int rows = height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
    if (n < rows) return kStart[pass] + n * kStep[pass];
    n -= rows;
  }
  return storedRow;
}

bool ReadFirstImageLayout(const std::vector<uint8_t>& file, ImageLayout& layout) {
  layout = ImageLayout{};
  if (file.size() < 13 || std::memcmp(file.data(), "GIF8", 4) != 0) return false;
  size_t p = 13;
  std::vector<PackedColour> global;
  if (file[10] & 0x80) {
    int entries = TableEntries(file[10] & 7);
    if (p + 3 * size_t(entries) > file.size()) return false;
    global = ReadTable(file, p, entries);
    p += 3 * size_t(entries);
  }
  // Pass over extensions up to the first image descriptor.
  while (p < file.size() && file[p] != 0x2C) {
    if (file[p] == 0x21) {
      if (p + 2 >= file.size()) return false;
      p = SkipSubBlocks(file, p + 2);
      if (p == 0) return false;
    } else if (file[p] == 0x3B) {
      return false;
    } else {
      ++p;  // stray byte: step over it as the splitter does
    }
  }
  if (p + 10 >= file.size()) return false;
  const uint8_t* d = file.data() + p;
  layout.width = d[5] | d[6] << 8;
  layout.height = d[7] | d[8] << 8;
  const uint8_t flags = d[9];
  layout.interlaced = (flags & 0x40) != 0;
  const size_t pixels = size_t(layout.width) * size_t(layout.height);
  if (pixels == 0 || pixels > kMaxPixels) return false;
  p += 10;
  if (flags & 0x80) {
    int entries = TableEntries(flags & 7);
    if (p + 3 * size_t(entries) > file.size()) return false;
    layout.palette = ReadTable(file, p, entries);
    p += 3 * size_t(entries);
  } else {
    layout.palette = global;
  }
  if (layout.palette.empty()) layout.palette = {0x000000, 0xFFFFFF};
  if (p >= file.size()) return false;
  layout.dataOffset = p;
  layout.imageEnd = SkipSubBlocks(file, p + 1);
  return true;
}

bool DecodeFirstImage(const std::vector<uint8_t>& file, IndexedImage& image) {
  image = IndexedImage{};
  ImageLayout layout;
  if (!ReadFirstImageLayout(file, layout)) return false;
  image.width = layout.width;
  image.height = layout.height;
  image.palette = std::move(layout.palette);
  const int minimumCodeSize = file[layout.dataOffset];
  const size_t p = layout.dataOffset;
  std::vector<uint8_t> stored(size_t(image.width) * size_t(image.height), 0);
  DecodeLzw(file, p + 1, minimumCodeSize, stored);
  if (layout.interlaced) {
    image.indices.assign(stored.size(), 0);
    const size_t w = size_t(image.width);
    for (int row = 0; row < image.height; ++row) {
      int target = InterlacedRow(row, image.height);
      std::memcpy(image.indices.data() + size_t(target) * w, stored.data() + size_t(row) * w, w);
    }
  } else {
    image.indices = std::move(stored);
  }
  return true;
}

}  // namespace vk::hosted
