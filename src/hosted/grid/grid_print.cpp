#include "hosted/grid/grid_print.h"

#include <algorithm>
#include <vector>

namespace vk::grid {

namespace {

constexpr COLORREF kLineColor = RGB(160, 160, 160);

ReportFont FontOf(const GridStyle& style) {
  const StyleFont f = style.Font.value_or(StyleFont{});
  return ReportFont{f.name, f.size, f.bold, f.italic};
}

ReportFont FontOf(const ReportTextStyle& style) {
  return ReportFont{style.fontName, style.fontSize, style.bold, style.italic};
}

double LineHeight(float points) { return points * 20.0 * 1.7; }

class PageWriter {
 public:
  explicit PageWriter(ReportDocument& doc) : doc_(doc) {}

  void Text(double x, double y, double w, double h, const std::wstring& text, const ReportFont& font,
            COLORREF fore, COLORREF back, int align) {
    if (back != kNoColor) Box(x, y, w, h, back);
    ReportItem i;
    i.kind = ReportItem::kText;
    i.x = x + 40;
    i.y = y;
    i.width = std::max(0.0, w - 80);
    i.height = h;
    i.text = text;
    i.font = doc_.FontIndex(font);
    i.foreColor = fore;
    i.alignment = align;
    Page().items.push_back(std::move(i));
  }
  void Box(double x, double y, double w, double h, COLORREF back) {
    ReportItem i;
    i.kind = ReportItem::kBox;
    i.x = x;
    i.y = y;
    i.width = w;
    i.height = h;
    i.backColor = back;
    Page().items.push_back(std::move(i));
  }
  void Line(double x, double y, double w, double h) {
    ReportItem i;
    i.kind = ReportItem::kLine;
    i.x = x;
    i.y = y;
    i.width = w;
    i.height = h;
    i.foreColor = kLineColor;
    Page().items.push_back(std::move(i));
  }
  ReportPage& Page() { return doc_.pages.back(); }

 private:
  ReportDocument& doc_;
};

int HorizontalAlign(int code, int fallback) {
  if (code < 1 || code > 9) code = fallback;
  return 4 + (code - 1) % 3;  // the same column, vertically centred
}

}  // namespace

ReportDocument RenderGridReport(const GridModel& model, const PrintSettings& s) {
  ReportDocument doc;
  if (s.Landscape) std::swap(doc.pageWidth, doc.pageHeight);
  const double left = s.MarginLeft, right = doc.pageWidth - s.MarginRight;
  const double contentWidth = std::max(1000.0, right - left);

  std::vector<int> columns;
  double total = 0;
  for (int p = 1; p < model.Columns().Count(); ++p) {
    const GridColumn& c = model.Columns().Item(p);
    if (c.Hidden && !s.PrintHiddenColumns) continue;
    if (c.Width <= 0) continue;
    columns.push_back(p);
    total += c.Width;
  }
  const double scale = total > contentWidth ? contentWidth / total : 1.0;
  std::vector<double> xs;  // left edge of each printed column
  double x = left;
  for (int p : columns) {
    xs.push_back(x);
    x += model.Columns().Item(p).Width * scale;
  }
  const double tableRight = x;

  const GridStyle heading = model.HeadingStyle(0);
  const double headingHeight = LineHeight(heading.Font.value_or(StyleFont{}).size);
  const GridStyle normal = model.CellStyle(-1, 0);
  const double rowHeight = LineHeight(normal.Font.value_or(StyleFont{}).size);
  const double bodyTop = s.MarginTop + s.PageHeaderHeight;
  const double bodyBottom = doc.pageHeight - s.MarginBottom - s.PageFooterHeight;

  PageWriter w(doc);
  double y = 0;
  auto newPage = [&] {
    doc.pages.emplace_back();
    if (!s.PageHeader.empty())
      w.Text(left, s.MarginTop, contentWidth, s.PageHeaderHeight, s.PageHeader, FontOf(s.PageHeaderStyle),
             ToColorRef(s.PageHeaderStyle.foreColor), kNoColor, s.PageHeaderStyle.alignment);
    y = bodyTop;
    if (s.RepeatColumnHeaders || doc.pages.size() == 1) {
      for (size_t i = 0; i < columns.size(); ++i) {
        const GridStyle h = model.HeadingStyle(columns[i]);
        const double cw = model.Columns().Item(columns[i]).Width * scale;
        w.Text(xs[i], y, cw, headingHeight, model.Columns().Item(columns[i]).Caption, FontOf(h),
               ToColorRef(h.ForeColor.value_or(0)), ToColorRef(h.BackColor.value_or(0xFFFFFF)),
               HorizontalAlign(h.TextAlignment.value_or(0), 5));
      }
      y += headingHeight;
      if (s.PrintGridLines) w.Line(left, y, tableRight - left, 0);
    }
  };
  newPage();

  const int shown = model.DisplayRowCount();
  for (int d = 0; d < shown; ++d) {
    const RowRef row = model.DisplayRow(d);
    if (row.Kind != kDataRow && !s.PrintGroupRows) continue;
    if (y + rowHeight > bodyBottom && y > bodyTop + headingHeight) newPage();
    if (row.Kind != kDataRow) {
      const GridStyle g = model.GroupStyle();
      const double indent = (row.Kind - 1) * 240.0;
      w.Text(left + indent, y, tableRight - left - indent, rowHeight, model.GroupText(row.Index), FontOf(g),
             ToColorRef(g.ForeColor.value_or(0)), ToColorRef(g.BackColor.value_or(0xFFFFFF)), 4);
    } else {
      for (size_t i = 0; i < columns.size(); ++i) {
        const GridStyle cs = model.CellStyle(row.Index, columns[i]);
        const GridValue v = model.CellValue(row.Index, columns[i]);
        const GridColumn& c = model.Columns().Item(columns[i]);
        const int fallback = v.IsNumeric() && v.type() != VT_BOOL && c.ValueItems.empty() ? 6 : 4;
        const COLORREF back = cs.BackColor && *cs.BackColor != 0xFFFFFF ? ToColorRef(*cs.BackColor) : kNoColor;
        w.Text(xs[i], y, c.Width * scale, rowHeight, c.DisplayText(v), FontOf(cs),
               ToColorRef(cs.ForeColor.value_or(0)), back, HorizontalAlign(cs.TextAlignment.value_or(0), fallback));
      }
    }
    y += rowHeight;
    if (s.PrintGridLines) w.Line(left, y, tableRight - left, 0);
  }

  // Footers last: they carry the page count.
  const int pages = static_cast<int>(doc.pages.size());
  const double footerTop = doc.pageHeight - s.MarginBottom - s.PageFooterHeight;
  for (int p = 0; p < pages; ++p) {
    ReportPage& page = doc.pages[static_cast<size_t>(p)];
    ReportItem i;
    i.kind = ReportItem::kText;
    i.x = left;
    i.y = footerTop;
    i.width = contentWidth;
    i.height = s.PageFooterHeight / 2;
    i.font = doc.FontIndex(FontOf(s.PageFooterStyle));
    i.foreColor = ToColorRef(s.PageFooterStyle.foreColor);
    if (!s.PageFooter.empty()) {
      i.text = s.PageFooter;
      i.alignment = s.PageFooterStyle.alignment;
      page.items.push_back(i);
    }
    if (s.ShowPageNumbers) {
      i.y = footerTop + s.PageFooterHeight / 2;
      i.text = L"Página " + std::to_wstring(p + 1) + L" de " + std::to_wstring(pages);
      i.alignment = 6;
      page.items.push_back(i);
    }
  }
  return doc;
}

}  // namespace vk::grid
