// The sample-scan maker: every accepted format written, each image decodable at
// the page size, the PDF well formed (its cross-reference offsets point at objects).
#include <gtest/gtest.h>
#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <sstream>

#include "com/com_ptr.h"
#include "scan_writer.h"
#include "support/com_test.h"

namespace vk::test {
namespace {

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
  }
  return bytes;
}

TEST(SampleScans, EveryFormatIsWrittenAndReadsBack) {
  ComApartment com;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"scans_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  tools::PageSize size{310, 438};
  std::vector<std::wstring> paths = tools::WriteSampleScans(folder, 2, size);
  ASSERT_EQ(paths.size(), 12u);

  com::ComPtr<IWICImagingFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IWICImagingFactory, factory.put_void()));
  std::vector<std::wstring> extensions;
  for (const std::wstring& path : paths) {
    std::wstring ext = path.substr(path.size() - 3);
    extensions.push_back(ext);
    if (ext == L"pdf") continue;
    com::ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_HRESULT_SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                                WICDecodeMetadataCacheOnDemand, decoder.put()))
        << ext;
    com::ComPtr<IWICBitmapFrameDecode> frame;
    ASSERT_HRESULT_SUCCEEDED(decoder->GetFrame(0, frame.put())) << ext;
    UINT width = 0, height = 0;
    frame->GetSize(&width, &height);
    EXPECT_EQ(width, 310u) << ext;
    EXPECT_EQ(height, 438u) << ext;
  }
  EXPECT_EQ(std::vector<std::wstring>(extensions.begin(), extensions.begin() + 6), tools::ScanFormats());

  for (const std::wstring& path : paths) {
    if (path.ends_with(L"pdf")) {
      std::string pdf = ReadAll(path);
      EXPECT_TRUE(pdf.starts_with("%PDF-1.4"));
      EXPECT_NE(pdf.find("Pagina"), std::string::npos);
    }
    DeleteFileW(path.c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

TEST(SampleScans, PdfCrossReferencePointsAtItsObjects) {
  std::string pdf = tools::MinimalPdf("Hola");
  size_t startxref = pdf.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  size_t xref = std::stoul(pdf.substr(startxref + 10));
  ASSERT_EQ(pdf.compare(xref, 4, "xref"), 0);
  std::istringstream table(pdf.substr(xref));
  std::string line;
  std::getline(table, line);  // xref
  std::getline(table, line);  // 0 6
  std::getline(table, line);  // the free entry
  for (int object = 1; object <= 5; ++object) {
    std::getline(table, line);
    size_t offset = std::stoul(line.substr(0, 10));
    EXPECT_EQ(pdf.compare(offset, std::to_string(object).size() + 6, std::to_string(object) + " 0 obj"), 0)
        << object;
  }
}

}  // namespace
}  // namespace vk::test
