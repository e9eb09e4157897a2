#pragma once
// Image files through the platform's imaging component (WIC): bmp, jpg, png and tif;
// a GIF through our own decoder (its first image), whose indices then go through the
// same scaling. The platform's GIF decoder can be made to commit hundreds of
// megabytes by a few crafted bytes, and keeps them. A picture is always decoded
// straight to the size it is shown at, and only the part that is shown, so a
// full-page scan never sits in memory at full resolution; the decoder is released
// after each use.
#include <windows.h>
#include <wincodec.h>

#include <string>

#include "com/com_ptr.h"

namespace vk::hosted {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

// The largest size with the image's proportions that fits inside box (at least 1×1).
PixelSize FitInside(PixelSize image, PixelSize box);

// An image file opened once: its size, then decodes from the same decoder. Some
// decoders read the whole file when they open it, so a caller that wants both the
// size and a picture opens the file once through this.
class ImageFile {
 public:
  // Raises VbError 53 when the file is missing and 481 when it is not an image the
  // decoder knows or declares a size no picture has (none, or past 2^31 a side).
  explicit ImageFile(const std::wstring& path);
  PixelSize Size() const { return size_; }
  // See DecodeScaled.
  HBITMAP Decode(PixelSize scaled, RECT part) const;

 private:
  // Opens the first frame through the platform's decoder.
  void OpenWithImaging(const std::wstring& path);

  std::wstring path_;
  com::ComPtr<IWICImagingFactory> factory_;
  com::ComPtr<IWICBitmapSource> frame_;
  PixelSize size_;
};

// The size of the image in a file, read from its header. Raises VbError 53 when the
// file is missing and 481 when it is not an image the decoder knows.
PixelSize ReadImageSize(const std::wstring& path);

// Decodes the image scaled to `scaled` and returns the part `part` of it (in scaled
// coordinates) as a top-down 32-bit DIB section the caller owns. Raises as above.
HBITMAP DecodeScaled(const std::wstring& path, PixelSize scaled, RECT part);

// The whole image scaled to fit inside box: a thumbnail.
HBITMAP DecodeThumbnail(const std::wstring& path, PixelSize box, PixelSize* shown = nullptr);

}  // namespace vk::hosted
