#include "hosted/image_decoder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "hosted/file_system.h"
#include "hosted/gif_decoder.h"

#include "base/vb_error.h"
#include "runtime/gdi_object.h"

namespace vk::hosted {
namespace {

const wchar_t kSource[] = L"ImageViewer";

[[noreturn]] void Fail(long number, const std::wstring& path) {
  throw VbError{number, kSource, StandardErrorText(number) + L": " + path};
}

com::ComPtr<IWICImagingFactory> Factory() {
  com::ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void());
  if (hr == CO_E_NOTINITIALIZED) {
    // A caller without COM on this thread: the apartment stays for the thread's life.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                          factory.put_void());
  }
  if (FAILED(hr)) throw VbError{static_cast<long>(hr), kSource, L"The imaging component is not available"};
  return factory;
}

HBITMAP MakeDib(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as WIC hands the rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

bool IsGif(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char start[4] = {};
  DWORD got = 0;
  const bool gif = ReadFile(file, start, sizeof start, &got, nullptr) && got == sizeof start &&
                   std::equal(start, start + 4, "GIF8");
  CloseHandle(file);
  return gif;
}

// The first image of a GIF as an indexed bitmap held by the imaging component, or
// nothing when it cannot be decoded. The table is padded to 256 colours: a corrupt
// index past a short table then reads black.
com::ComPtr<IWICBitmapSource> DecodeGif(IWICImagingFactory& factory, const std::wstring& path) {
  std::vector<uint8_t> file;
  IndexedImage image;
  if (!ReadWholeFile(path, file) || !DecodeFirstImage(file, image)) return {};
  file = {};
  std::vector<WICColor> colours(256, 0xFF000000);
  for (size_t i = 0; i < image.palette.size() && i < colours.size(); ++i) {
    const PackedColour c = image.palette[i];
    colours[i] = 0xFF000000 | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
  }
  com::ComPtr<IWICPalette> palette;
  com::ComPtr<IWICBitmap> bitmap;
  const UINT width = static_cast<UINT>(image.width);
  if (FAILED(factory.CreatePalette(palette.put())) ||
      FAILED(palette->InitializeCustom(colours.data(), static_cast<UINT>(colours.size()))) ||
      FAILED(factory.CreateBitmapFromMemory(width, static_cast<UINT>(image.height), GUID_WICPixelFormat8bppIndexed,
                                            width, static_cast<UINT>(image.indices.size()), image.indices.data(),
                                            bitmap.put())) ||
      FAILED(bitmap->SetPalette(palette.get()))) {
    return {};
  }
  return com::ComPtr<IWICBitmapSource>(bitmap.get());
}

}  // namespace

ImageFile::ImageFile(const std::wstring& path) : path_(path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Fail(err::FileNotFound, path);
  }
  factory_ = Factory();
  if (IsGif(path)) {
    frame_ = DecodeGif(*factory_.get(), path);
    if (!frame_) Fail(err::InvalidPicture, path);
  } else {
    OpenWithImaging(path);
  }
  UINT width = 0, height = 0;
  // A malformed header can declare a negative side, which reads back as a huge one.
  if (FAILED(frame_->GetSize(&width, &height)) || width == 0 || height == 0 || width > INT_MAX ||
      height > INT_MAX) {
    Fail(err::InvalidPicture, path);
  }
  size_ = {static_cast<int>(width), static_cast<int>(height)};
}

void ImageFile::OpenWithImaging(const std::wstring& path) {
  com::ComPtr<IWICBitmapDecoder> decoder;
  HRESULT hr = factory_->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, decoder.put());
  if (hr == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) || hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)) {
    Fail(err::PermissionDenied, path);
  }
  com::ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(hr) || FAILED(decoder->GetFrame(0, frame.put()))) Fail(err::InvalidPicture, path);
  frame_ = com::ComPtr<IWICBitmapSource>(frame.get());
}

HBITMAP ImageFile::Decode(PixelSize scaled, RECT part) const {
  scaled.width = std::max(1, scaled.width);
  scaled.height = std::max(1, scaled.height);
  part.left = std::clamp<LONG>(part.left, 0, scaled.width);
  part.top = std::clamp<LONG>(part.top, 0, scaled.height);
  part.right = std::clamp<LONG>(part.right, part.left, scaled.width);
  part.bottom = std::clamp<LONG>(part.bottom, part.top, scaled.height);
  const int width = part.right - part.left;
  const int height = part.bottom - part.top;
  if (width == 0 || height == 0) return nullptr;

  // Convert first: the scaler does not take every format a scan comes in (1-bit tif,
  // indexed gif); the converter works row by row, so nothing full-size is kept.
  com::ComPtr<IWICFormatConverter> converter;
  com::ComPtr<IWICBitmapScaler> scaler;
  if (FAILED(factory_->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame_.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(factory_->CreateBitmapScaler(scaler.put())) ||
      FAILED(scaler->Initialize(converter.get(), scaled.width, scaled.height, WICBitmapInterpolationModeFant))) {
    Fail(err::InvalidPicture, path_);
  }
  void* bits = nullptr;
  GdiObject<HBITMAP> bitmap(MakeDib(width, height, &bits));
  if (!bitmap) Fail(err::OutOfMemory, path_);
  WICRect rect{part.left, part.top, width, height};
  const UINT stride = static_cast<UINT>(width) * 4;
  if (FAILED(scaler->CopyPixels(&rect, stride, stride * height, static_cast<BYTE*>(bits)))) {
    Fail(err::InvalidPicture, path_);
  }
  return bitmap.release();
}

PixelSize FitInside(PixelSize image, PixelSize box) {
  if (image.width <= 0 || image.height <= 0 || box.width <= 0 || box.height <= 0) return {1, 1};
  double scale = std::min(static_cast<double>(box.width) / image.width,
                          static_cast<double>(box.height) / image.height);
  return {std::max(1, static_cast<int>(std::lround(image.width * scale))),
          std::max(1, static_cast<int>(std::lround(image.height * scale)))};
}

PixelSize ReadImageSize(const std::wstring& path) { return ImageFile(path).Size(); }

HBITMAP DecodeScaled(const std::wstring& path, PixelSize scaled, RECT part) {
  return ImageFile(path).Decode(scaled, part);
}

HBITMAP DecodeThumbnail(const std::wstring& path, PixelSize box, PixelSize* shown) {
  ImageFile image(path);
  PixelSize size = FitInside(image.Size(), box);
  if (shown) *shown = size;
  return image.Decode(size, RECT{0, 0, size.width, size.height});
}

}  // namespace vk::hosted
