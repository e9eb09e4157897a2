#include "controls/gif_frames.h"

#include <algorithm>
#include <cstring>

namespace vk::controls {

namespace {

constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kApplication = 0xFF;
constexpr uint8_t kComment = 0xFE;
constexpr uint8_t kGraphicControl = 0xF9;
constexpr uint8_t kPlainText = 0x01;

PackedColour EntryColour(const uint8_t* table, int index) {
  const uint8_t* e = table + 3 * index;
  return PackedColour(e[0]) | PackedColour(e[1]) << 8 | PackedColour(e[2]) << 16;
}

}  // namespace

PackedColour MidpointOfTwoLargest(const uint8_t* table, int entries) {
  uint32_t largest = 0;
  uint32_t second = 0;
  for (int i = 0; i < entries; ++i) {
    uint32_t v = EntryColour(table, i);
    if (v > largest) {
      second = largest;
      largest = v;
    } else if (v > second) {
      second = v;
    }
  }
  uint32_t sum = largest + second;  // both below 2^24: no overflow
  uint32_t half = sum / 2;
  // An odd sum lies halfway between half and half + 1: take the even one.
  if ((sum & 1) != 0 && (half & 1) != 0) ++half;
  return half;
}

GifSplit::GifSplit(std::vector<uint8_t> file, bool changeTransparentColor)
    : bytes_(std::move(file)) {
  if (bytes_.empty()) {
    status_ = SplitStatus::NoFile;
    return;
  }
  static const uint8_t kSignature[4] = {'G', 'I', 'F', '8'};
  if (bytes_.size() < 4 || std::memcmp(bytes_.data(), kSignature, 4) != 0) {
    status_ = SplitStatus::NotGif;
    return;
  }
  if (!Scan(changeTransparentColor)) {
    status_ = SplitStatus::Malformed;
    return;
  }
  status_ = frames_.empty() ? SplitStatus::NoImage : SplitStatus::Ok;
}

bool GifSplit::At(size_t i, uint8_t& value) const {
  if (i >= bytes_.size()) return false;
  value = bytes_[i];
  return true;
}

// q stands on the last byte before a sub-block's size byte; follows the chain of
// sub-blocks until the size byte at q + 1 is zero.
bool GifSplit::FollowSubBlocks(size_t& q) const {
  uint8_t size = 0;
  for (;;) {
    if (!At(q + 1, size)) return false;
    if (size == 0) return true;
    q = q + 1 + size;
  }
}

bool GifSplit::Scan(bool changeTransparentColor) {
  if (bytes_.size() < 13) return false;
  const uint8_t* b = bytes_.data();
  screen_.width = uint16_t(b[6] | b[7] << 8);
  screen_.height = uint16_t(b[8] | b[9] << 8);
  screen_.flags = b[10];
  screen_.backgroundIndex = b[11];
  screen_.aspectRatio = b[12];
  size_t p = 13;
  if (screen_.HasGlobalTable()) {
    size_t length = 3 * size_t(TableEntries(screen_.GlobalSizeField()));
    if (13 + length > bytes_.size()) return false;
    std::memcpy(globalTable_.data(), b + 13, length);
    p += length;
  }

  GifFrameInfo frame;
  frame.start = p;
  const size_t n = bytes_.size();
  while (p < n) {
    // The blocks before the next image.
    bool atImage = false;
    for (;;) {
      uint8_t byte = b[p];
      if (byte == kImageSeparator) {
        atImage = true;
        break;
      }
      if (byte == kExtension) {
        uint8_t label = 0;
        if (!At(p + 1, label)) return false;
        if (label == kApplication) {
          uint8_t size = 0;
          if (!At(p + 14, size)) return false;
          size_t q = p + 14 + size;
          if (!FollowSubBlocks(q)) return false;
          p = q;
        } else if (label == kComment) {
          uint8_t size = 0;
          if (!At(p + 2, size)) return false;
          size_t q = p + 2 + size;
          if (!FollowSubBlocks(q)) return false;
          p = q + 1;
        } else if (label == kGraphicControl) {
          if (p + 6 >= n) return false;
          uint8_t flags = b[p + 3];
          frame.disposal = (flags >> 2) & 7;
          frame.userInput = (flags & 2) != 0;
          frame.transparent = (flags & 1) != 0;
          frame.delay = uint16_t(b[p + 4] | b[p + 5] << 8);
          frame.transparentIndex = b[p + 6];
          p = p + 7;
        } else if (label == kPlainText) {
          uint8_t size = 0;
          if (!At(p + 15, size)) return false;
          size_t q = p + 15 + size;
          if (!FollowSubBlocks(q)) return false;
          p = q + 1;
        }
      }
      ++p;
      if (p + 1 >= n || b[p] == kTrailer) break;
    }
    if (!atImage) return true;  // trailer or end of file: parsing is over

    // The image descriptor.
    if (p + 9 >= n) return false;
    frame.left = uint16_t(b[p + 1] | b[p + 2] << 8);
    frame.top = uint16_t(b[p + 3] | b[p + 4] << 8);
    frame.width = uint16_t(b[p + 5] | b[p + 6] << 8);
    frame.height = uint16_t(b[p + 7] | b[p + 8] << 8);
    uint8_t flags = b[p + 9];
    frame.localTable = (flags & 0x80) != 0;
    frame.interlaced = (flags & 0x40) != 0;
    frame.sorted = (flags & 0x20) != 0;
    frame.localSizeField = flags & 0x07;
    if (frame.localTable) {
      size_t length = 3 * size_t(TableEntries(frame.localSizeField));
      if (p + 10 + length > n) return false;
      localTable_.fill(0);
      std::memcpy(localTable_.data(), b + p + 10, length);
      frame.localTableOffset = p + 10;
      p += length;
    }
    if (!At(p + 10, frame.lzwMinimumCodeSize)) return false;
    size_t q = p + 10;
    if (!FollowSubBlocks(q)) return false;
    frame.end = q + 1;

    if (changeTransparentColor && frame.transparent) {
      if (frame.localTable) {
        PatchTransparent(frame, localTable_.data(), frame.localTableOffset, frame.localSizeField);
      } else if (screen_.HasGlobalTable()) {
        PatchTransparent(frame, globalTable_.data(), 13, screen_.GlobalSizeField());
      }
    }
    if (frame.localTable && frame.transparentIndex < TableEntries(frame.localSizeField)) {
      frame.localKey = EntryColour(localTable_.data(), frame.transparentIndex);
      frame.hasLocalKey = true;
    }
    frames_.push_back(frame);

    p = frame.end + 1;
    uint8_t next = 0;
    if (!At(p, next)) return false;  // no trailer after the last image
    if (next == kTrailer) return true;
    frame = GifFrameInfo{};
    frame.start = p;
  }
  return true;
}

void GifSplit::PatchTransparent(const GifFrameInfo& frame, uint8_t* table, size_t tableOffset,
                                int sizeField) {
  const int entries = TableEntries(sizeField);
  const int t = frame.transparentIndex;
  if (t >= entries) return;  // no entry to give a colour of its own
  const PackedColour key = EntryColour(table, t);
  bool shared = false;
  for (int j = 0; j < entries && !shared; ++j) shared = j != t && EntryColour(table, j) == key;
  if (!shared) return;
  PackedColour value = MidpointOfTwoLargest(table, entries);
  uint8_t rgb[3] = {uint8_t(value & 0xFF), uint8_t((value >> 8) & 0xFF),
                    uint8_t((value >> 16) & 0xFF)};
  std::memcpy(table + 3 * t, rgb, 3);
  std::memcpy(bytes_.data() + tableOffset + 3 * t, rgb, 3);
}

std::vector<uint8_t> GifSplit::FrameFile(size_t k) const {
  if (status_ != SplitStatus::Ok || k >= frames_.size()) return {};
  const GifFrameInfo& frame = frames_[k];
  const size_t headerEnd = frames_[0].start;
  std::vector<uint8_t> out;
  out.reserve(headerEnd + (frame.end - frame.start) + 4);
  out.insert(out.end(), bytes_.begin(), bytes_.begin() + std::ptrdiff_t(headerEnd));
  out.insert(out.end(), bytes_.begin() + std::ptrdiff_t(frame.start),
             bytes_.begin() + std::ptrdiff_t(frame.end));
  static const uint8_t kTail[4] = {0x00, kExtension, kGraphicControl, kTrailer};
  out.insert(out.end(), kTail, kTail + 4);
  return out;
}

bool GifSplit::KeyColour(size_t k, PackedColour& key) const {
  if (k >= frames_.size() || !frames_[k].transparent) return false;
  const GifFrameInfo& frame = frames_[k];
  if (frame.localTable) {
    key = frame.localKey;
    return frame.hasLocalKey;
  }
  if (!screen_.HasGlobalTable() || frame.transparentIndex >= TableEntries(screen_.GlobalSizeField()))
    return false;
  key = EntryColour(globalTable_.data(), frame.transparentIndex);
  return true;
}

}  // namespace vk::controls
