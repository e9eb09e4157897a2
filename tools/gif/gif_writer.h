#pragma once
// A small GIF writer for our own pictures: the sample animation, test files and
// the fuzzer's starting corpus. Block by block, so tests can also build files
// with odd layouts. Plain C++, builds natively and for Windows.
#include <cstdint>
#include <string>
#include <vector>

namespace vk::gif {

using Colour = uint32_t;  // red + 256 * green + 65536 * blue

// LZW-compresses indices (each below 2^minimumCodeSize) into data sub-blocks
// followed by their terminator; starts with a clear code and clears when the
// code table is full.
std::vector<uint8_t> LzwSubBlocks(const std::vector<uint8_t>& indices, int minimumCodeSize);

class GifBuilder {
 public:
  // Signature, version ("87a" or "89a"), screen descriptor and the global table
  // (none when empty; padded with black to a power of two).
  GifBuilder& Header(const char* version, int width, int height,
                     const std::vector<Colour>& globalTable, int backgroundIndex = 0);
  // The looping application extension.
  GifBuilder& Loop(uint16_t count = 0);
  GifBuilder& Comment(const std::string& text);
  GifBuilder& PlainText(const std::string& text);
  GifBuilder& Control(int disposal, uint16_t delay, bool transparent = false,
                      uint8_t transparentIndex = 0, bool userInput = false);
  // An image: descriptor, optional local table, LZW data. Indices are given in
  // row order; an interlaced image stores them in interlaced order.
  GifBuilder& Image(int left, int top, int width, int height, const std::vector<uint8_t>& indices,
                    const std::vector<Colour>& localTable = {}, bool interlaced = false);
  GifBuilder& Trailer();
  GifBuilder& Raw(const std::vector<uint8_t>& raw);

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void Put16(int value);
  void PutTable(const std::vector<Colour>& table, int sizeField);
  std::vector<uint8_t> bytes_;
  int globalSizeField_ = 0;
  bool hasGlobal_ = false;
};

// The size field (N, where the table holds 2^(N+1) entries) that fits `entries`.
int SizeFieldFor(size_t entries);

// Writes bytes to a file; false on failure.
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace vk::gif
