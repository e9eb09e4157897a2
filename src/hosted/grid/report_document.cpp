#include "hosted/grid/report_document.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "base/utf8.h"
#include "base/vb_error.h"
#include "hosted/grid/export_file.h"
#include "hosted/grid/grid_value.h"
#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"

namespace vk::grid {

namespace {

constexpr char kMagic[] = "VKREPORT 1";

// Texts stand last on their line; line breaks and backslashes inside are escaped.
std::string Escape(const std::wstring& s) {
  std::string out;
  for (char c : Utf8(s)) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::wstring Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char n = s[++i];
      out += n == 'n' ? '\n' : (n == 'r' ? '\r' : n);
    } else {
      out += s[i];
    }
  }
  return Wide(out);
}

[[noreturn]] void BadFile(const std::wstring& why) {
  throw VbError{err::InvalidPropertyValue, kGridSource, L"Not a report file of this viewer: " + why};
}

// The rest of the line after `fields` blank-separated words.
std::string Rest(const std::string& line, int fields) {
  size_t pos = 0;
  for (int i = 0; i < fields; ++i) {
    pos = line.find(' ', pos);
    if (pos == std::string::npos) return {};
    ++pos;
  }
  return line.substr(pos);
}

}  // namespace

int ReportDocument::FontIndex(const ReportFont& font) {
  for (size_t i = 0; i < fonts.size(); ++i)
    if (fonts[i] == font) return static_cast<int>(i);
  fonts.push_back(font);
  return static_cast<int>(fonts.size() - 1);
}

std::string ReportDocument::Serialize() const {
  std::ostringstream out;
  out.precision(10);
  out << kMagic << "\n";
  out << "size " << pageWidth << " " << pageHeight << "\n";
  for (const ReportFont& f : fonts)
    out << "font " << f.size << " " << (f.bold ? 1 : 0) << " " << (f.italic ? 1 : 0) << " " << Escape(f.name) << "\n";
  for (const ReportPage& page : pages) {
    out << "page\n";
    for (const ReportItem& i : page.items)
      out << "item " << static_cast<int>(i.kind) << " " << i.x << " " << i.y << " " << i.width << " " << i.height << " "
          << i.font << " " << i.foreColor << " " << i.backColor << " " << i.alignment << " " << Escape(i.text) << "\n";
  }
  out << "end\n";
  return out.str();
}

ReportDocument ReportDocument::Parse(const std::string& text) {
  ReportDocument doc;
  doc.fonts.clear();
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line.rfind(kMagic, 0) != 0) BadFile(L"the first line is not the format's mark");
  bool ended = false;
  int lineNo = 1;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "size") {
      if (!(words >> doc.pageWidth >> doc.pageHeight) || doc.pageWidth <= 0 || doc.pageHeight <= 0)
        BadFile(L"bad page size");
    } else if (word == "font") {
      ReportFont f;
      int bold = 0, italic = 0;
      if (!(words >> f.size >> bold >> italic) || f.size <= 0 || f.size > 400) BadFile(L"bad font");
      f.bold = bold != 0;
      f.italic = italic != 0;
      f.name = Unescape(Rest(line, 4));
      doc.fonts.push_back(f);
    } else if (word == "page") {
      doc.pages.emplace_back();
    } else if (word == "item") {
      if (doc.pages.empty()) BadFile(L"an item before the first page");
      ReportItem i;
      int kind = 0;
      unsigned long fore = 0, back = 0;
      if (!(words >> kind >> i.x >> i.y >> i.width >> i.height >> i.font >> fore >> back >> i.alignment))
        BadFile(L"bad item at line " + std::to_wstring(lineNo));
      if (kind < ReportItem::kText || kind > ReportItem::kLine || i.font < 0 ||
          i.font >= static_cast<int>(doc.fonts.size()))
        BadFile(L"bad item at line " + std::to_wstring(lineNo));
      i.kind = static_cast<ReportItem::Kind>(kind);
      i.foreColor = static_cast<COLORREF>(fore);
      i.backColor = static_cast<COLORREF>(back);
      i.text = Unescape(Rest(line, 10));
      doc.pages.back().items.push_back(std::move(i));
    } else if (word == "end") {
      ended = true;
      break;
    } else if (!word.empty()) {
      BadFile(L"unknown line " + std::to_wstring(lineNo));
    }
  }
  if (!ended) BadFile(L"the file is cut short");
  if (doc.fonts.empty()) doc.fonts.push_back(ReportFont{});
  return doc;
}

void ReportDocument::Save(const std::wstring& path) const {
  const std::string text = Serialize();
  WriteWholeFile(path, text.data(), text.size());
}

ReportDocument ReportDocument::Load(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw VbError{err::FileNotFound, kGridSource, StandardErrorText(err::FileNotFound) + L": " + path};
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  if (size.QuadPart > (256LL << 20)) {
    CloseHandle(file);
    BadFile(L"too large");
  }
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok || read != text.size()) throw VbError{err::PermissionDenied, kGridSource, L"The report file could not be read"};
  return Parse(text);
}

void PaintReportPage(HDC dc, const ReportDocument& doc, int page, double scale, POINT origin) {
  if (page < 0 || page >= static_cast<int>(doc.pages.size())) return;
  auto px = [&](double twips) { return static_cast<int>(std::lround(twips * scale)); };
  RECT paper{origin.x, origin.y, origin.x + px(doc.pageWidth), origin.y + px(doc.pageHeight)};
  SetBkColor(dc, RGB(255, 255, 255));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &paper, nullptr, 0, nullptr);
  std::vector<GdiObject<HFONT>> fonts;
  for (const ReportFont& f : doc.fonts) {
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1, px(f.size * 20.0));  // a point is 20 twips
    lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.italic;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(lf.lfFaceName, f.name.c_str(), LF_FACESIZE);
    fonts.emplace_back(CreateFontIndirectW(&lf));
  }
  const HGDIOBJ oldFont = SelectObject(dc, fonts[0].get());
  SetBkMode(dc, TRANSPARENT);
  for (const ReportItem& i : doc.pages[page].items) {
    RECT r{origin.x + px(i.x), origin.y + px(i.y), origin.x + px(i.x + i.width), origin.y + px(i.y + i.height)};
    switch (i.kind) {
      case ReportItem::kBox: {
        if (i.backColor != kNoColor) {
          SetBkColor(dc, i.backColor);
          ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        }
        break;
      }
      case ReportItem::kLine: {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, i.foreColor));
        SelectGuard drawn(dc, pen.get());
        MoveToEx(dc, r.left, r.top, nullptr);
        LineTo(dc, r.right, r.bottom);
        break;
      }
      case ReportItem::kText: {
        SelectObject(dc, fonts[static_cast<size_t>(i.font)].get());
        SetTextColor(dc, i.foreColor);
        const int code = i.alignment >= 1 && i.alignment <= 9 ? i.alignment : 4;
        UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
        flags |= (code - 1) % 3 == 0 ? DT_LEFT : ((code - 1) % 3 == 1 ? DT_CENTER : DT_RIGHT);
        flags |= (code - 1) / 3 == 0 ? DT_TOP : ((code - 1) / 3 == 1 ? DT_VCENTER : DT_BOTTOM);
        DrawTextW(dc, i.text.c_str(), static_cast<int>(i.text.size()), &r, flags);
        break;
      }
    }
  }
  SelectObject(dc, oldFont);  // before the fonts go
}

}  // namespace vk::grid
