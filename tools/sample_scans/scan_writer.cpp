#include "scan_writer.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <stdexcept>

#include "com/com_ptr.h"

namespace vk::tools {

namespace {

void Throw(const std::wstring& what, HRESULT hr) {
  char text[512];
  snprintf(text, sizeof text, "%ls (0x%08lx)", what.c_str(), static_cast<unsigned long>(hr));
  throw std::runtime_error(text);
}

void Ok(HRESULT hr, const std::wstring& what) {
  if (FAILED(hr)) Throw(what, hr);
}

// Draws page n on a 24-bit DIB section; the caller deletes the bitmap.
HBITMAP DrawPage(int n, PageSize size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT page{0, 0, size.width, size.height};
  FillRect(dc, &page, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const int margin = size.width / 12;
  RECT head{margin, margin, size.width - margin, margin + size.height / 14};
  HBRUSH band = CreateSolidBrush(RGB(168, 186, 218));
  FillRect(dc, &head, band);
  DeleteObject(band);
  HFONT title = CreateFontW(-size.height / 30, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  HFONT body = CreateFontW(-size.height / 70, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
  HGDIOBJ oldFont = SelectObject(dc, title);
  SetBkMode(dc, TRANSPARENT);
  std::wstring heading = L"Documento de prueba - Página " + std::to_wstring(n);
  RECT titleRect{margin, head.bottom + margin / 2, size.width - margin, head.bottom + margin * 2};
  DrawTextW(dc, heading.c_str(), -1, &titleRect, DT_LEFT | DT_SINGLELINE);
  SelectObject(dc, body);
  int line = size.height / 45;
  for (int y = titleRect.bottom + line, k = 1; y < size.height - 4 * margin; y += line, ++k) {
    std::wstring text = L"Línea " + std::to_wstring(k) + L" del texto escaneado de la página " + std::to_wstring(n) + L".";
    TextOutW(dc, margin, y, text.c_str(), static_cast<int>(text.size()));
  }
  // A bar code of the page number along the bottom.
  for (int x = margin, k = 0; x < size.width / 2; ++k) {
    int w = 2 + ((n * 7 + k * 13) % 4) * 2;
    RECT bar{x, size.height - 3 * margin, x + w, size.height - 2 * margin};
    if (k % 2 == 0) FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    x += w;
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(title);
  DeleteObject(body);
  DeleteDC(dc);
  return bitmap;
}

const GUID* ContainerOf(const std::wstring& ext) {
  if (ext == L"bmp") return &GUID_ContainerFormatBmp;
  if (ext == L"gif") return &GUID_ContainerFormatGif;
  if (ext == L"jpg") return &GUID_ContainerFormatJpeg;
  if (ext == L"png") return &GUID_ContainerFormatPng;
  if (ext == L"tif") return &GUID_ContainerFormatTiff;
  return nullptr;
}

void Encode(IWICImagingFactory* factory, HBITMAP bitmap, const std::wstring& path, const std::wstring& ext) {
  com::ComPtr<IWICBitmap> source;
  Ok(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, source.put()), path);
  com::ComPtr<IWICBitmapSource> pixels(source.get());
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (ext == L"gif") {
    // GIF holds palette pixels: a fixed grey palette suits a scanned page.
    com::ComPtr<IWICPalette> palette;
    Ok(factory->CreatePalette(palette.put()), path);
    Ok(palette->InitializePredefined(WICBitmapPaletteTypeFixedGray256, FALSE), path);
    com::ComPtr<IWICFormatConverter> converter;
    Ok(factory->CreateFormatConverter(converter.put()), path);
    Ok(converter->Initialize(source.get(), GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone, palette.get(), 0,
                             WICBitmapPaletteTypeFixedGray256),
       path);
    pixels = com::ComPtr<IWICBitmapSource>(converter.get());
    format = GUID_WICPixelFormat8bppIndexed;
  }
  com::ComPtr<IWICStream> stream;
  Ok(factory->CreateStream(stream.put()), path);
  Ok(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), path);
  com::ComPtr<IWICBitmapEncoder> encoder;
  Ok(factory->CreateEncoder(*ContainerOf(ext), nullptr, encoder.put()), path);
  Ok(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), path);
  if (ext == L"gif") {
    com::ComPtr<IWICPalette> palette;
    Ok(factory->CreatePalette(palette.put()), path);
    Ok(palette->InitializePredefined(WICBitmapPaletteTypeFixedGray256, FALSE), path);
    encoder->SetPalette(palette.get());
  }
  com::ComPtr<IWICBitmapFrameEncode> frame;
  Ok(encoder->CreateNewFrame(frame.put(), nullptr), path);
  Ok(frame->Initialize(nullptr), path);
  UINT width = 0, height = 0;
  pixels->GetSize(&width, &height);
  Ok(frame->SetSize(width, height), path);
  Ok(frame->SetResolution(150, 150), path);
  WICPixelFormatGUID wanted = format;
  Ok(frame->SetPixelFormat(&wanted), path);
  if (ext == L"gif") {
    com::ComPtr<IWICPalette> palette;
    Ok(factory->CreatePalette(palette.put()), path);
    Ok(palette->InitializePredefined(WICBitmapPaletteTypeFixedGray256, FALSE), path);
    frame->SetPalette(palette.get());
  }
  Ok(frame->WriteSource(pixels.get(), nullptr), path);
  Ok(frame->Commit(), path);
  Ok(encoder->Commit(), path);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) Throw(path, E_FAIL);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

}  // namespace

const std::vector<std::wstring>& ScanFormats() {
  static const std::vector<std::wstring> formats = {L"bmp", L"gif", L"jpg", L"png", L"tif", L"pdf"};
  return formats;
}

std::string MinimalPdf(const std::string& text) {
  std::string content = "BT /F1 24 Tf 72 760 Td (" + text + ") Tj ET";
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
      "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
  };
  std::string pdf = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    char entry[32];
    snprintf(entry, sizeof entry, "%010u 00000 n \n", static_cast<unsigned>(offset));
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

std::vector<std::wstring> WriteSampleScans(const std::wstring& folder, int pages, PageSize size) {
  com::ComPtr<IWICImagingFactory> factory;
  Ok(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                      factory.put_void()),
     L"WIC");
  std::vector<std::wstring> written;
  int number = 0;
  for (int page = 1; page <= pages; ++page) {
    for (const std::wstring& ext : ScanFormats()) {
      wchar_t name[32];
      swprintf(name, 32, L"scan_%03d.%ls", ++number, ext.c_str());
      std::wstring path = folder + L"\\" + name;
      if (ext == L"pdf") {
        WriteFile(path, MinimalPdf("Documento de prueba - Pagina " + std::to_string(page)));
      } else {
        HBITMAP bitmap = DrawPage(page, size);
        try {
          Encode(factory.get(), bitmap, path, ext);
        } catch (...) {
          DeleteObject(bitmap);
          throw;
        }
        DeleteObject(bitmap);
      }
      written.push_back(path);
    }
  }
  return written;
}

}  // namespace vk::tools
