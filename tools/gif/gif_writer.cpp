#include "tools/gif/gif_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace vk::gif {

namespace {

// Packs codes of growing width into bytes, least significant bit first.
class BitPacker {
 public:
  void Put(int code, int bits) {
    buffer_ |= uint32_t(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
      bytes.push_back(uint8_t(buffer_ & 0xFF));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  void Flush() {
    if (count_ > 0) bytes.push_back(uint8_t(buffer_ & 0xFF));
    buffer_ = 0;
    count_ = 0;
  }
  std::vector<uint8_t> bytes;

 private:
  uint32_t buffer_ = 0;
  int count_ = 0;
};

}  // namespace

int SizeFieldFor(size_t entries) {
  int field = 0;
  while ((size_t(1) << (field + 1)) < entries && field < 7) ++field;
  return field;
}

std::vector<uint8_t> LzwSubBlocks(const std::vector<uint8_t>& indices, int minimumCodeSize) {
  const int clear = 1 << minimumCodeSize;
  const int endOfData = clear + 1;
  BitPacker packer;
  int codeSize = minimumCodeSize + 1;
  int nextCode = clear + 2;
  std::unordered_map<uint32_t, int> table;  // (prefix << 8 | byte) -> code
  packer.Put(clear, codeSize);
  int prefix = -1;
  bool emittedSinceClear = false;
  for (uint8_t index : indices) {
    if (prefix < 0) {
      prefix = index;
      continue;
    }
    uint32_t key = uint32_t(prefix) << 8 | index;
    auto found = table.find(key);
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    packer.Put(prefix, codeSize);
    emittedSinceClear = true;
    if (nextCode < 4096) {
      table[key] = nextCode++;
      // The decoder widens its codes once its table reaches 2^codeSize; it lags
      // one code behind, so the writer widens after handing out that code.
      if (nextCode > (1 << codeSize) && codeSize < 12) ++codeSize;
    } else {
      packer.Put(clear, codeSize);
      table.clear();
      codeSize = minimumCodeSize + 1;
      nextCode = clear + 2;
      emittedSinceClear = false;
    }
    prefix = index;
  }
  if (prefix >= 0) {
    packer.Put(prefix, codeSize);
    // The decoder, one entry behind, adds one on reading that last code and may
    // widen before the end code.
    if (emittedSinceClear && nextCode < 4096 && ++nextCode > (1 << codeSize) && codeSize < 12)
      ++codeSize;
  }
  packer.Put(endOfData, codeSize);
  packer.Flush();

  std::vector<uint8_t> out;
  out.push_back(uint8_t(minimumCodeSize));
  for (size_t at = 0; at < packer.bytes.size(); at += 255) {
    size_t n = std::min<size_t>(255, packer.bytes.size() - at);
    out.push_back(uint8_t(n));
    out.insert(out.end(), packer.bytes.begin() + std::ptrdiff_t(at),
               packer.bytes.begin() + std::ptrdiff_t(at + n));
  }
  out.push_back(0);
  return out;
}

void GifBuilder::Put16(int value) {
  bytes_.push_back(uint8_t(value & 0xFF));
  bytes_.push_back(uint8_t((value >> 8) & 0xFF));
}

void GifBuilder::PutTable(const std::vector<Colour>& table, int sizeField) {
  size_t entries = size_t(1) << (sizeField + 1);
  for (size_t i = 0; i < entries; ++i) {
    Colour c = i < table.size() ? table[i] : 0;
    bytes_.push_back(uint8_t(c & 0xFF));
    bytes_.push_back(uint8_t((c >> 8) & 0xFF));
    bytes_.push_back(uint8_t((c >> 16) & 0xFF));
  }
}

GifBuilder& GifBuilder::Header(const char* version, int width, int height,
                               const std::vector<Colour>& globalTable, int backgroundIndex) {
  bytes_.insert(bytes_.end(), {'G', 'I', 'F'});
  bytes_.insert(bytes_.end(), version, version + 3);
  Put16(width);
  Put16(height);
  hasGlobal_ = !globalTable.empty();
  globalSizeField_ = hasGlobal_ ? SizeFieldFor(globalTable.size()) : 0;
  // Colour resolution 8 bits (7 in bits 4-6).
  bytes_.push_back(uint8_t((hasGlobal_ ? 0x80 : 0) | 0x70 | globalSizeField_));
  bytes_.push_back(uint8_t(backgroundIndex));
  bytes_.push_back(0);
  if (hasGlobal_) PutTable(globalTable, globalSizeField_);
  return *this;
}

GifBuilder& GifBuilder::Loop(uint16_t count) {
  bytes_.insert(bytes_.end(), {0x21, 0xFF, 0x0B});
  const char* id = "NETSCAPE2.0";
  bytes_.insert(bytes_.end(), id, id + 11);
  bytes_.insert(bytes_.end(), {0x03, 0x01});
  Put16(count);
  bytes_.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Comment(const std::string& text) {
  bytes_.insert(bytes_.end(), {0x21, 0xFE});
  for (size_t at = 0; at < text.size(); at += 255) {
    size_t n = std::min<size_t>(255, text.size() - at);
    bytes_.push_back(uint8_t(n));
    bytes_.insert(bytes_.end(), text.begin() + std::ptrdiff_t(at), text.begin() + std::ptrdiff_t(at + n));
  }
  bytes_.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::PlainText(const std::string& text) {
  bytes_.insert(bytes_.end(), {0x21, 0x01, 0x0C});
  // Grid left, top, width, height; cell width and height; foreground, background.
  Put16(0);
  Put16(0);
  Put16(8 * int(text.size()));
  Put16(8);
  bytes_.insert(bytes_.end(), {8, 8, 1, 0});
  if (!text.empty()) {
    bytes_.push_back(uint8_t(std::min<size_t>(255, text.size())));
    bytes_.insert(bytes_.end(), text.begin(), text.begin() + std::ptrdiff_t(std::min<size_t>(255, text.size())));
  }
  bytes_.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Control(int disposal, uint16_t delay, bool transparent,
                                uint8_t transparentIndex, bool userInput) {
  bytes_.insert(bytes_.end(), {0x21, 0xF9, 0x04});
  bytes_.push_back(uint8_t((disposal & 7) << 2 | (userInput ? 2 : 0) | (transparent ? 1 : 0)));
  Put16(delay);
  bytes_.push_back(transparentIndex);
  bytes_.push_back(0);
  return *this;
}

GifBuilder& GifBuilder::Image(int left, int top, int width, int height,
                              const std::vector<uint8_t>& indices,
                              const std::vector<Colour>& localTable, bool interlaced) {
  bytes_.push_back(0x2C);
  Put16(left);
  Put16(top);
  Put16(width);
  Put16(height);
  int localField = localTable.empty() ? 0 : SizeFieldFor(localTable.size());
  bytes_.push_back(uint8_t((localTable.empty() ? 0 : 0x80) | (interlaced ? 0x40 : 0) | localField));
  if (!localTable.empty()) PutTable(localTable, localField);
  int sizeField = localTable.empty() ? (hasGlobal_ ? globalSizeField_ : 0) : localField;
  int minimumCodeSize = std::max(2, sizeField + 1);

  std::vector<uint8_t> stored = indices;
  stored.resize(size_t(width) * size_t(height), 0);
  if (interlaced && height > 0) {
    std::vector<uint8_t> rows;
    rows.reserve(stored.size());
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < height; y += kStep[pass])
        rows.insert(rows.end(), stored.begin() + std::ptrdiff_t(y) * width,
                    stored.begin() + std::ptrdiff_t(y + 1) * width);
    stored = std::move(rows);
  }
  std::vector<uint8_t> data = LzwSubBlocks(stored, minimumCodeSize);
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  return *this;
}

GifBuilder& GifBuilder::Trailer() {
  bytes_.push_back(0x3B);
  return *this;
}

GifBuilder& GifBuilder::Raw(const std::vector<uint8_t>& raw) {
  bytes_.insert(bytes_.end(), raw.begin(), raw.end());
  return *this;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace vk::gif
