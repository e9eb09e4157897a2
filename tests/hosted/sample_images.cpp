#include "hosted/sample_images.h"

#include <wincodec.h>

#include <cstdio>
#include <vector>

#include "com/com_ptr.h"

namespace vk::test {
namespace {

const GUID& ContainerOf(ImageFormat format) {
  switch (format) {
    case ImageFormat::Bmp: return GUID_ContainerFormatBmp;
    case ImageFormat::Gif: return GUID_ContainerFormatGif;
    case ImageFormat::Jpg: return GUID_ContainerFormatJpeg;
    case ImageFormat::Png: return GUID_ContainerFormatPng;
    case ImageFormat::Tif: return GUID_ContainerFormatTiff;
  }
  return GUID_ContainerFormatBmp;
}

void DeleteTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

const wchar_t* ExtensionOf(ImageFormat format) {
  switch (format) {
    case ImageFormat::Bmp: return L"bmp";
    case ImageFormat::Gif: return L"gif";
    case ImageFormat::Jpg: return L"jpg";
    case ImageFormat::Png: return L"png";
    case ImageFormat::Tif: return L"tif";
  }
  return L"";
}

bool WriteSamplePage(const std::wstring& path, ImageFormat format, int width, int height) {
  com::ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.put_void()))) {
    return false;
  }
  com::ComPtr<IWICStream> stream;
  com::ComPtr<IWICBitmapEncoder> encoder;
  com::ComPtr<IWICBitmapFrameEncode> frame;
  com::ComPtr<IPropertyBag2> options;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(ContainerOf(format), nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.put(), options.put())) || FAILED(frame->Initialize(options.get())) ||
      FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) {
    return false;
  }
  // Gif takes palette pixels; the others 24-bit colour.
  const bool indexed = format == ImageFormat::Gif;
  WICPixelFormatGUID pixelFormat = indexed ? GUID_WICPixelFormat8bppIndexed : GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&pixelFormat))) return false;
  const bool asked = indexed ? IsEqualGUID(pixelFormat, GUID_WICPixelFormat8bppIndexed)
                             : IsEqualGUID(pixelFormat, GUID_WICPixelFormat24bppBGR);
  if (!asked) return false;
  if (indexed) {
    com::ComPtr<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(palette.put())) ||
        FAILED(palette->InitializePredefined(WICBitmapPaletteTypeFixedGray256, FALSE)) ||
        FAILED(frame->SetPalette(palette.get()))) {
      return false;
    }
  }
  const UINT bytesPerPixel = indexed ? 1 : 3;
  const UINT stride = (static_cast<UINT>(width) * bytesPerPixel + 3) & ~3u;
  std::vector<BYTE> row(stride);
  // Row by row, so that a full page never needs a full-page buffer here either.
  for (int y = 0; y < height; ++y) {
    const BYTE grey = y < height / 2 ? 0x30 : 0xD0;
    std::fill(row.begin(), row.end(), grey);
    if (FAILED(frame->WritePixels(1, stride, stride, row.data()))) return false;
  }
  return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::wstring FreshFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"vk_hosted_" + name;
  DeleteTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return bytes;
  char buffer[4096];
  size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
  fclose(file);
  return bytes;
}

COLORREF PaintedPixel(HWND window, int x, int y) {
  RECT client{};
  GetClientRect(window, &client);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  const COLORREF colour = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return colour;
}

int GreyAt(HWND window, int x, int y) {
  const COLORREF colour = PaintedPixel(window, x, y);
  return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3;
}

}  // namespace vk::test
