#include "image_header.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vk::viewer {
namespace {

// The first bytes of the file: every format's header sits in them (a JPEG whose frame
// header lies past them, behind long metadata, is left to the imaging component).
std::vector<uint8_t> ReadStart(HANDLE file, size_t bytes) {
  std::vector<uint8_t> data(bytes);
  DWORD read = 0;
  if (!ReadFile(file, data.data(), static_cast<DWORD>(bytes), &read, nullptr)) read = 0;
  data.resize(read);
  return data;
}

uint32_t Big16(const uint8_t* p) { return p[0] << 8 | p[1]; }
uint32_t Big32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
uint32_t Little16(const uint8_t* p) { return p[1] << 8 | p[0]; }
uint32_t Little32(const uint8_t* p) { return uint32_t(p[3]) << 24 | p[2] << 16 | p[1] << 8 | p[0]; }

std::optional<hosted::PixelSize> Size(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
  return hosted::PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

// JPEG: the first start-of-frame marker (C0-CF but C4, C8, CC) holds height and width.
std::optional<hosted::PixelSize> JpegSize(const std::vector<uint8_t>& d) {
  size_t i = 2;
  while (i + 9 < d.size()) {
    if (d[i] != 0xFF) return std::nullopt;
    const uint8_t marker = d[i + 1];
    if (marker == 0xFF) { ++i; continue; }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return Size(Big16(&d[i + 7]), Big16(&d[i + 5]));
    i += 2 + Big16(&d[i + 2]);
  }
  return std::nullopt;
}

// TIFF: ImageWidth (256) and ImageLength (257) in the first directory.
std::optional<hosted::PixelSize> TiffSize(const std::vector<uint8_t>& d) {
  const bool little = d[0] == 'I';
  auto u16 = [&](size_t at) { return little ? Little16(&d[at]) : Big16(&d[at]); };
  auto u32 = [&](size_t at) { return little ? Little32(&d[at]) : Big32(&d[at]); };
  const size_t directory = u32(4);
  if (directory + 2 > d.size()) return std::nullopt;
  int64_t width = 0, height = 0;
  const size_t entries = u16(directory);
  for (size_t k = 0; k < entries && directory + 2 + 12 * (k + 1) <= d.size(); ++k) {
    const size_t entry = directory + 2 + 12 * k;
    const uint32_t tag = u16(entry);
    const uint32_t value = u16(entry + 2) == 3 ? u16(entry + 8) : u32(entry + 8);  // SHORT or LONG
    if (tag == 256) width = value;
    if (tag == 257) height = value;
  }
  return Size(width, height);
}

}  // namespace

std::optional<hosted::PixelSize> DeclaredPixelSize(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::vector<uint8_t> d = ReadStart(file, 1 << 16);
  CloseHandle(file);
  if (d.size() < 26) return std::nullopt;
  if (d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G') return Size(Big32(&d[16]), Big32(&d[20]));
  if (d[0] == 'G' && d[1] == 'I' && d[2] == 'F') return Size(Little16(&d[6]), Little16(&d[8]));
  if (d[0] == 'B' && d[1] == 'M') {
    if (Little32(&d[14]) == 12) return Size(Little16(&d[18]), Little16(&d[20]));  // the old core header
    const int32_t height = static_cast<int32_t>(Little32(&d[22]));
    return Size(static_cast<int32_t>(Little32(&d[18])), height < 0 ? -int64_t(height) : height);
  }
  if (d[0] == 0xFF && d[1] == 0xD8) return JpegSize(d);
  if ((d[0] == 'I' && d[1] == 'I' && d[2] == 42) || (d[0] == 'M' && d[1] == 'M' && d[3] == 42)) return TiffSize(d);
  return std::nullopt;
}

}  // namespace vk::viewer
