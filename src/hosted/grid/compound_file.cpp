#include "hosted/grid/compound_file.h"

#include <cstring>

namespace vk::grid {

namespace {
constexpr uint32_t kSector = 512;
constexpr uint32_t kFree = 0xFFFFFFFF, kEndOfChain = 0xFFFFFFFE, kFatSect = 0xFFFFFFFD, kDifSect = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMiniCutoff = 4096;

void Put16(uint8_t* p, uint16_t v) { p[0] = v & 0xFF; p[1] = v >> 8; }
void Put32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xFF; }

void DirEntry(uint8_t* e, const std::wstring& name, uint8_t type, uint32_t child, uint32_t start, uint32_t size) {
  const size_t n = name.size() < 31 ? name.size() : 31;
  for (size_t i = 0; i < n; ++i) Put16(e + 2 * i, static_cast<uint16_t>(name[i]));
  Put16(e + 64, static_cast<uint16_t>(n ? (n + 1) * 2 : 0));
  e[66] = type;
  e[67] = 1;  // black
  Put32(e + 68, kNoStream);
  Put32(e + 72, kNoStream);
  Put32(e + 76, child);
  Put32(e + 116, start);
  Put32(e + 120, size);
}
}  // namespace

CompoundFileFrame FrameStream(const std::wstring& streamName, size_t size) {
  // A short stream is padded to the cut-off.
  const uint32_t streamSize = static_cast<uint32_t>(size < kMiniCutoff ? kMiniCutoff : size);
  const uint32_t streamSectors = (streamSize + kSector - 1) / kSector;

  // FAT and DIFAT sectors cover every sector, themselves included.
  uint32_t fat = 1, difat = 0;
  for (;;) {
    const uint32_t total = streamSectors + 1 + fat + difat;
    const uint32_t needFat = (total + 127) / 128;
    const uint32_t needDifat = needFat > 109 ? (needFat - 109 + 126) / 127 : 0;
    if (needFat == fat && needDifat == difat) break;
    fat = needFat;
    difat = needDifat;
  }
  const uint32_t dirSector = streamSectors;
  const uint32_t firstFat = dirSector + 1;
  const uint32_t firstDifat = firstFat + fat;
  const uint32_t totalSectors = firstDifat + difat;

  CompoundFileFrame frame;
  frame.head.assign(kSector, 0);
  uint8_t* h = frame.head.data();
  const uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::memcpy(h, signature, 8);
  Put16(h + 24, 0x003E);
  Put16(h + 26, 0x0003);
  Put16(h + 28, 0xFFFE);
  Put16(h + 30, 9);
  Put16(h + 32, 6);
  Put32(h + 44, fat);
  Put32(h + 48, dirSector);
  Put32(h + 56, kMiniCutoff);
  Put32(h + 60, kEndOfChain);
  Put32(h + 68, difat ? firstDifat : kEndOfChain);
  Put32(h + 72, difat);
  for (uint32_t i = 0; i < 109; ++i) Put32(h + 76 + 4 * i, i < fat ? firstFat + i : kFree);

  // The tail starts where the stream's bytes end; sectors are counted from the first
  // stream sector.
  const size_t tailStart = size;
  frame.tail.assign(static_cast<size_t>(kSector) * totalSectors - tailStart, 0);
  auto sector = [&](uint32_t s) { return frame.tail.data() + (kSector * static_cast<size_t>(s) - tailStart); };

  uint8_t* dir = sector(dirSector);
  DirEntry(dir, L"Root Entry", 5, 1, kEndOfChain, 0);
  DirEntry(dir + 128, streamName, 2, kNoStream, 0, streamSize);
  for (int i = 2; i < 4; ++i) {
    Put32(dir + 128 * i + 68, kNoStream);
    Put32(dir + 128 * i + 72, kNoStream);
    Put32(dir + 128 * i + 76, kNoStream);
  }

  std::vector<uint32_t> table(static_cast<size_t>(fat) * 128, kFree);
  for (uint32_t s = 0; s < streamSectors; ++s) table[s] = s + 1 < streamSectors ? s + 1 : kEndOfChain;
  table[dirSector] = kEndOfChain;
  for (uint32_t i = 0; i < fat; ++i) table[firstFat + i] = kFatSect;
  for (uint32_t i = 0; i < difat; ++i) table[firstDifat + i] = kDifSect;
  for (uint32_t i = 0; i < fat; ++i)
    for (uint32_t j = 0; j < 128; ++j) Put32(sector(firstFat + i) + 4 * j, table[i * 128 + j]);

  // DIFAT sectors: 127 FAT sector numbers and the next DIFAT sector.
  uint32_t listed = 109;
  for (uint32_t i = 0; i < difat; ++i) {
    uint8_t* d = sector(firstDifat + i);
    for (uint32_t j = 0; j < 127; ++j, ++listed) Put32(d + 4 * j, listed < fat ? firstFat + listed : kFree);
    Put32(d + 508, i + 1 < difat ? firstDifat + i + 1 : kEndOfChain);
  }
  return frame;
}

std::vector<uint8_t> BuildCompoundFile(const std::wstring& streamName, const std::vector<uint8_t>& stream) {
  const CompoundFileFrame frame = FrameStream(streamName, stream.size());
  std::vector<uint8_t> out = frame.head;
  out.insert(out.end(), stream.begin(), stream.end());
  out.insert(out.end(), frame.tail.begin(), frame.tail.end());
  return out;
}

}  // namespace vk::grid
