#pragma once
// Sample scanned pages for the cataloguing screen's source folder: a page drawn
// with GDI (a letterhead, a title with the page number, lines of text, a bar code)
// and written in each accepted format: bmp, gif, jpg, png and tif through the
// platform's imaging encoders, pdf as a small document of our own.
#include <string>
#include <vector>

namespace vk::tools {

struct PageSize {
  int width = 1240;  // an A4 page at 150 dpi
  int height = 1754;
};

// The formats, as the extensions the cataloguing screen accepts.
const std::vector<std::wstring>& ScanFormats();

// Writes "<folder>\scan_<nnn>.<ext>" for every format and page 1..pages; returns
// the paths written, or throws std::runtime_error naming the file that failed.
std::vector<std::wstring> WriteSampleScans(const std::wstring& folder, int pages, PageSize size = {});

// A one-page PDF whose page shows the given line of text.
std::string MinimalPdf(const std::string& text);

}  // namespace vk::tools
