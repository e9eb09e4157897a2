#include "controls/frame_picture.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <cstddef>
#include <utility>

#include "com/com_ptr.h"
#include "controls/gif_temp_file.h"
#include "hosted/gif_decoder.h"

namespace vk::controls {

namespace {

// The packed colour (red low) of each index; an index past the table is black.
std::vector<uint32_t> ColoursOf(const std::vector<uint8_t>& indices,
                                const std::vector<uint32_t>& palette) {
  std::vector<uint32_t> colours(indices.size(), 0);
  for (size_t i = 0; i < indices.size(); ++i)
    if (indices[i] < palette.size()) colours[i] = palette[indices[i]];
  return colours;
}

// Palette indices through the imaging component; false where it cannot read the
// image or does not hand out indices. The component refuses a file whose trailer
// follows a graphic-control introducer, so it is given the file up to the image's
// data terminator and a plain trailer: what lies after the image is ignored anyway.
bool ImagingIndices(const std::vector<uint8_t>& file, const hosted::ImageLayout& layout,
                    std::vector<uint8_t>& indices) {
  if (layout.imageEnd == 0) return false;
  std::vector<uint8_t> image(file.begin(), file.begin() + std::ptrdiff_t(layout.imageEnd));
  image.push_back(0x3B);
  com::ComPtr<IStream> stream = com::ComPtr<IStream>::Attach(SHCreateMemStream(image.data(), UINT(image.size())));
  if (!stream) return false;
  com::ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.put()))))
    return false;
  com::ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), &GUID_ContainerFormatGif,
                                              WICDecodeMetadataCacheOnDemand, decoder.put())))
    return false;
  com::ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
  WICPixelFormatGUID format{};
  UINT w = 0, h = 0;
  if (FAILED(frame->GetPixelFormat(&format)) || format != GUID_WICPixelFormat8bppIndexed ||
      FAILED(frame->GetSize(&w, &h)) || int(w) != layout.width || int(h) != layout.height)
    return false;
  indices.assign(size_t(w) * h, 0);
  if (indices.empty()) return true;
  return SUCCEEDED(frame->CopyPixels(nullptr, w, UINT(indices.size()), indices.data()));
}

}  // namespace

FramePicture::FramePicture(FramePicture&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

FramePicture& FramePicture::operator=(FramePicture&& other) noexcept {
  if (this != &other) {
    bitmap_ = std::move(other.bitmap_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

FramePicture FramePicture::FromPixels(int width, int height, const std::vector<uint32_t>& colours) {
  FramePicture picture;
  if (width <= 0 || height <= 0 || colours.size() < size_t(width) * size_t(height)) return picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return picture;
  // A DIB pixel is blue in the low byte; a packed colour has red there.
  auto* out = static_cast<uint32_t*>(bits);
  for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
    uint32_t c = colours[i];
    out[i] = (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
  }
  GdiFlush();
  picture.bitmap_.reset(bitmap);
  picture.width_ = width;
  picture.height_ = height;
  return picture;
}

FramePicture FramePictureFromGif(const std::vector<uint8_t>& file) {
  hosted::IndexedImage image;
  if (!hosted::DecodeFirstImage(file, image)) return {};
  return FramePicture::FromPixels(image.width, image.height, ColoursOf(image.indices, image.palette));
}

FramePicture LoadFramePicture(const std::wstring& path, PictureSource* source) {
  if (source) *source = PictureSource::None;
  std::vector<uint8_t> file;
  if (!ReadWholeFile(path, file)) return {};
  hosted::ImageLayout layout;
  if (!hosted::ReadFirstImageLayout(file, layout)) return {};
  std::vector<uint8_t> indices;
  if (ImagingIndices(file, layout, indices)) {
    FramePicture picture =
        FramePicture::FromPixels(layout.width, layout.height, ColoursOf(indices, layout.palette));
    if (picture) {
      if (source) *source = PictureSource::Imaging;
      return picture;
    }
  }
  FramePicture picture = FramePictureFromGif(file);
  if (picture && source) *source = PictureSource::OwnDecoder;
  return picture;
}

}  // namespace vk::controls
