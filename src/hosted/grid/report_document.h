#pragma once
// Report pages as the viewer shows them: each page a list of positioned texts, boxes
// and lines in twips. Saved as a small text file of our own ("VKREPORT 1"), one item
// a line, so a rendered report can be kept and loaded again.
#include <windows.h>

#include <string>
#include <vector>

namespace vk::grid {

// A box without fill.
inline constexpr COLORREF kNoColor = 0xFFFFFFFF;

struct ReportFont {
  std::wstring name = L"Verdana";
  float size = 8.0f;
  bool bold = false;
  bool italic = false;
  bool operator==(const ReportFont&) const = default;
};

struct ReportItem {
  enum Kind : int { kText = 0, kBox = 1, kLine = 2 };
  Kind kind = kText;
  double x = 0, y = 0, width = 0, height = 0;  // twips from the page's top left
  std::wstring text;
  int font = 0;                   // index into the document's fonts
  COLORREF foreColor = 0;         // text, line or border colour
  COLORREF backColor = kNoColor;  // box fill; kNoColor leaves the page showing
  int alignment = 4;              // 1-9: top/middle/bottom rows of left, centre, right
};

struct ReportPage {
  std::vector<ReportItem> items;
};

class ReportDocument {
 public:
  double pageWidth = 11906, pageHeight = 16838;  // A4 portrait
  std::vector<ReportFont> fonts{ReportFont{}};
  std::vector<ReportPage> pages;

  int FontIndex(const ReportFont& font);  // adds the font when new

  std::string Serialize() const;
  // Raises a clear error for a text that is not a report of this format.
  static ReportDocument Parse(const std::string& text);
  void Save(const std::wstring& path) const;
  static ReportDocument Load(const std::wstring& path);
};

// Draws a page into a DC at `scale` pixels per twip, its top left corner at origin.
void PaintReportPage(HDC dc, const ReportDocument& doc, int page, double scale, POINT origin);

}  // namespace vk::grid
