// The grid rendered as report pages, and the report file's round trip.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/vb_error.h"
#include "hosted/grid/grid_members.h"
#include "hosted/grid/grid_print.h"
#include "support/error_of.h"

using namespace vk::grid;

namespace {

using vk::test::ErrorOf;

void FillList(GridModel& m, int rows) {
  m.Columns().Add(L"CategoriaId").Caption = L"Categoría";
  m.Columns().Add(L"Documento").Caption = L"Documento";
  m.Columns().Add(L"Oculta").Hidden = true;
  m.Columns().Add(L"IsNew");
  m.SetDataRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    m.SetValue(r, 0, GridValue(r % 2 ? L"B" : L"A"));
    m.SetValue(r, 1, GridValue(L"doc " + std::to_wstring(r)));
    m.SetValue(r, 2, GridValue(L"secreto"));
    m.SetValue(r, 3, GridValue(static_cast<long>(r % 3 ? 1 : 0)));
  }
}

PrintSettings ListSettings() {
  PrintSettings s;
  s.PageHeader = L"Documentación Recibida";
  s.PageHeaderStyle = ReportTextStyle{L"Verdana", 10, true, false, 4925975, 7};
  s.PageFooter = L"[ Reporte Emitido por el Usuario : ana el día 01/02/2025 a las 10:00:00 ]";
  s.PageFooterStyle = ReportTextStyle{L"Verdana", 9, false, false, 0, 7};
  return s;
}

std::vector<std::wstring> Texts(const ReportPage& page) {
  std::vector<std::wstring> out;
  for (const auto& i : page.items)
    if (i.kind == ReportItem::kText) out.push_back(i.text);
  return out;
}

bool Has(const std::vector<std::wstring>& texts, const std::wstring& t) {
  return std::find(texts.begin(), texts.end(), t) != texts.end();
}

}  // namespace

TEST(GridReport, EveryPageHasHeaderCaptionsAndFooterWithItsNumber) {
  GridModel m;
  FillList(m, 300);
  const ReportDocument doc = RenderGridReport(m, ListSettings());
  ASSERT_GT(doc.pages.size(), 2u);
  const std::wstring total = std::to_wstring(doc.pages.size());
  for (size_t p = 0; p < doc.pages.size(); ++p) {
    const auto texts = Texts(doc.pages[p]);
    EXPECT_TRUE(Has(texts, L"Documentación Recibida")) << p;
    EXPECT_TRUE(Has(texts, L"Categoría")) << p;
    EXPECT_TRUE(Has(texts, ListSettings().PageFooter)) << p;
    EXPECT_TRUE(Has(texts, L"Página " + std::to_wstring(p + 1) + L" de " + total)) << p;
    EXPECT_FALSE(Has(texts, L"secreto")) << "hidden columns stay out";
  }
  // The header keeps its font and colour: Verdana 10 bold, red 23 green 42 blue 75.
  for (const auto& i : doc.pages[0].items) {
    if (i.text != L"Documentación Recibida") continue;
    EXPECT_EQ(doc.fonts[i.font], (ReportFont{L"Verdana", 10, true, false}));
    EXPECT_EQ(i.foreColor, RGB(23, 42, 75));
    EXPECT_EQ(i.alignment, 7);
  }
}

TEST(GridReport, EveryRowIsPrintedOnceInTheOrderShown) {
  const struct {
    bool grouped;
    bool landscape;
  } cases[] = {{false, false}, {true, false}, {true, true}};
  for (const auto& c : cases) {
    GridModel m;
    FillList(m, 257);
    if (c.grouped) m.AddGroup(L"CategoriaId");
    PrintSettings s = ListSettings();
    s.Landscape = c.landscape;
    const ReportDocument doc = RenderGridReport(m, s);
    std::vector<std::wstring> docs;
    int groups = 0;
    for (const auto& page : doc.pages)
      for (const auto& t : Texts(page)) {
        if (t.rfind(L"doc ", 0) == 0) docs.push_back(t);
        if (t.rfind(L"Categoría: ", 0) == 0) ++groups;
      }
    ASSERT_EQ(docs.size(), 257u);
    EXPECT_EQ(groups, c.grouped ? 2 : 0);
    // Grouped, the even rows (category A) come first.
    EXPECT_EQ(docs[1], c.grouped ? L"doc 2" : L"doc 1");
    EXPECT_EQ(doc.pageWidth > doc.pageHeight, c.landscape);
  }
}

TEST(GridReport, UnreadRowsKeepTheirStyleAndWideGridsFitThePage) {
  GridModel m;
  FillList(m, 3);
  m.Styles().Add(L"IsNew").OwnFont().bold = true;
  m.AddFormatCondition(L"IsNew", FormatCondition::kEqual, GridValue(0L), L"IsNew");
  m.Columns().Item(L"Documento").Width = 40000;  // wider than any page
  const ReportDocument doc = RenderGridReport(m, ListSettings());
  for (const auto& i : doc.pages[0].items) {
    if (i.text == L"doc 0") {
      EXPECT_TRUE(doc.fonts[i.font].bold);
    }
    if (i.text == L"doc 1") {
      EXPECT_FALSE(doc.fonts[i.font].bold);
    }
    EXPECT_LE(i.x + i.width, doc.pageWidth - ListSettings().MarginRight + 1) << i.text;
  }
}

TEST(ReportFile, SavedPagesLoadBackTheSame) {
  GridModel m;
  FillList(m, 120);
  ReportDocument doc = RenderGridReport(m, ListSettings());
  doc.pages[0].items.push_back(ReportItem{ReportItem::kText, 1, 2, 3, 4, L"dos\nlíneas \\ y barra", 0, 5, 6, 9});
  const ReportDocument back = ReportDocument::Parse(doc.Serialize());
  ASSERT_EQ(back.pages.size(), doc.pages.size());
  EXPECT_EQ(back.fonts, doc.fonts);
  EXPECT_EQ(back.pageWidth, doc.pageWidth);
  for (size_t p = 0; p < doc.pages.size(); ++p) {
    ASSERT_EQ(back.pages[p].items.size(), doc.pages[p].items.size());
    for (size_t i = 0; i < doc.pages[p].items.size(); ++i) {
      const auto& a = doc.pages[p].items[i];
      const auto& b = back.pages[p].items[i];
      EXPECT_EQ(a.text, b.text);
      EXPECT_EQ(a.kind, b.kind);
      EXPECT_DOUBLE_EQ(a.x, b.x);
      EXPECT_DOUBLE_EQ(a.height, b.height);
      EXPECT_EQ(a.font, b.font);
      EXPECT_EQ(a.foreColor, b.foreColor);
      EXPECT_EQ(a.backColor, b.backColor);
      EXPECT_EQ(a.alignment, b.alignment);
    }
  }
}

TEST(ReportFile, TextsThatAreNotReportsRaise) {
  const char* cases[] = {
      "",
      "hello\n",
      "VKREPORT 1\nsize 10 10\n",                                   // cut short
      "VKREPORT 1\nitem 0 1 1 1 1 0 0 0 4 x\nend\n",                // item before a page
      "VKREPORT 1\nfont 8 0 0 Verdana\npage\nitem 0 1 1 1 1 5 0 0 4 x\nend\n",  // unknown font
      "VKREPORT 1\nfont 8 0 0 Verdana\npage\nitem 9 1 1 1 1 0 0 0 4 x\nend\n",  // unknown kind
      "VKREPORT 1\nsize -1 10\nend\n",
      "VKREPORT 1\nwhat\nend\n",
  };
  for (const char* text : cases)
    EXPECT_EQ(ErrorOf([&] { ReportDocument::Parse(text); }), vk::err::InvalidPropertyValue) << text;
  EXPECT_EQ(ErrorOf([] { ReportDocument::Load(L"Z:\\no\\such\\report.vkr"); }), vk::err::FileNotFound);
}

TEST(GridMembers, CallsOnTheGridRaiseClearErrorsBeforeAnyWindowExists) {
  GridMembers grid;  // never placed: the members work on the model alone
  grid.Columns().Add(L"DocumentoId");
  grid.SetDataRowCount(2);
  grid.SetValue(1, 0, vk::Variant(42L));
  EXPECT_EQ(grid.CellValue(1, L"DocumentoId").toLong(), 42);
  EXPECT_EQ(grid.Window(), nullptr);
  const struct {
    const char* what;
    std::function<void()> call;
    long error;
  } cases[] = {
      {"layout past the last column", [&] { grid.LayoutColumns(1, 2); }, vk::err::SubscriptOutOfRange},
      {"layout backwards", [&] { grid.LayoutColumns(1, 0); }, vk::err::SubscriptOutOfRange},
      {"print without a viewer", [&] { grid.PrintPreview(); }, vk::err::ObjectNotSet},
      {"current row of a fresh grid", [&] { grid.CurrentRow(); }, vk::err::ObjectNotSet},
      {"cell of a missing row", [&] { grid.CellValue(2, 1); }, vk::err::SubscriptOutOfRange},
      {"text into a date column", [&] {
         grid.Columns().Add(L"Fecha").DataType = kTypeDate;
         grid.SetCellValue(0, L"Fecha", vk::Variant(L"mañana"));
       }, vk::err::TypeMismatch},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
  EXPECT_NO_THROW(grid.LayoutColumns(1, 2));
  EXPECT_NO_THROW(grid.SetRedraw(true));
}
