// The grid and the report viewer in real windows, driven by real mouse and key
// messages: header clicks, row clicks and double clicks, mouse up, keys, check boxes,
// in-place editing, scrolling 100,000 rows, and the pictures of a grouped, styled grid
// and of a report page (grid_grouped_styled.bmp, report_page.bmp beside the tests).
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/vb_error.h"
#include "hosted/grid/cell_editor.h"
#include "hosted/grid/grid_control.h"
#include "hosted/grid/report_viewer.h"
#include "runtime/form.h"
#include "runtime/twips.h"
#include "runtime/window_picture.h"
#include "support/error_of.h"
#include "support/memory_dc.h"

using namespace vk::grid;

namespace {

using vk::test::ErrorOf;

std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path);
  return s.substr(0, s.find_last_of(L'\\'));
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void Click(HWND w, POINT p, WPARAM keys = 0) {
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(p.x, p.y));
  SendMessageW(w, WM_LBUTTONUP, keys, MAKELPARAM(p.x, p.y));
  Pump();
}

void DoubleClick(HWND w, POINT p) {
  Click(w, p);
  SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Pump();
}

void Key(HWND w, WPARAM key) {
  SendMessageW(w, WM_KEYDOWN, key, 1);
  SendMessageW(w, WM_KEYUP, key, 0xC0000001);
  Pump();
}

// The client area as pixels, painted through WM_PRINTCLIENT.
struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
  COLORREF At(int x, int y) const {
    const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

Capture CaptureClient(HWND w) {
  RECT client;
  GetClientRect(w, &client);
  Capture c;
  c.width = client.right;
  c.height = client.bottom;
  vk::test::MemoryDc target(c.width, c.height);
  SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc()), PRF_CLIENT);
  GdiFlush();
  const uint32_t* p = target.bits();
  if (p) c.pixels.assign(p, p + static_cast<size_t>(c.width) * c.height);
  return c;
}

// Writes a whole report page drawn at `scale` pixels per twip as a picture.
bool SaveWholePage(const ReportDocument& doc, int page, double scale, const std::wstring& path) {
  const int width = static_cast<int>(doc.pageWidth * scale);
  const int height = static_cast<int>(doc.pageHeight * scale);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PaintReportPage(dc, doc, page, scale, POINT{0, 0});
  SelectObject(dc, old);
  DeleteDC(dc);
  const bool ok = vk::SaveBitmapPicture(bitmap, path);
  DeleteObject(bitmap);
  return ok;
}

// A shown form of 900 by 600 pixels that the fixture places its grid and viewers on.
class GridHostForm : public vk::Form {
 public:
  GridHostForm() : Form({.name = L"FGridHost", .caption = L"grid", .scaleWidth = 13500, .scaleHeight = 9000}) {}
};

class GridWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = vk::Form::Load<GridHostForm>();
    form_->Show();
    host_ = form_->hwnd();
    grid_ = &form_->Add<GridControl>({.name = L"GRDetail", .width = 12000, .height = 7500});
    grid_->HeadClick.Connect([this](int c) { events_.push_back(L"head " + std::to_wstring(c)); });
    grid_->DblClick.Connect([this] { events_.push_back(L"dblclick"); });
    grid_->RowSelected.Connect([this] { events_.push_back(L"row"); });
    grid_->MouseUp.Connect([this](int b, int s, float x, float y) {
      events_.push_back(L"up " + std::to_wstring(b) + L" " + std::to_wstring(s) + L" " +
                        std::to_wstring(static_cast<int>(x)) + L" " + std::to_wstring(static_cast<int>(y)));
    });
  }
  void TearDown() override { form_->Unload(); }

  // A document list: category, id, name, a tick the user may change, a note, IsNew.
  void FillList(int rows) {
    GridColumn& category = grid_->Columns().Add(L"CategoriaId");
    category.Caption = L"Categoría";
    category.ReadOnly = true;
    GridColumn& id = grid_->Columns().Add(L"DocumentoId");
    id.SortType = kSortNumeric;
    id.ReadOnly = true;
    grid_->Columns().Add(L"Documento").ReadOnly = true;
    grid_->Columns().Add(L"Leido").DataType = kTypeBoolean;
    grid_->Columns().Add(L"Nota");
    GridColumn& align = grid_->Columns().Add(L"FAlign");
    for (auto [v, t] : {std::pair{0L, L"Sin Alinear"}, {4L, L"Izquierda"}, {5L, L"Centro"}, {6L, L"Derecha"}})
      align.AddValueItem(GridValue(v), t);
    grid_->Columns().Add(L"IsNew");
    for (int p = 1; p < grid_->Columns().Count(); ++p) grid_->Columns().Item(p).Width = 1500;
    grid_->SetDisplaySwitches(true);
    grid_->SetDataRowCount(rows);
    for (int r = 0; r < rows; ++r) {
      grid_->SetValue(r, 0, GridValue(std::wstring(1, static_cast<wchar_t>(L'A' + r % 3))));
      grid_->SetValue(r, 1, GridValue(static_cast<long>(rows - r)));
      grid_->SetValue(r, 2, GridValue(L"documento " + std::to_wstring(r)));
      grid_->SetValue(r, 3, GridValue(static_cast<long>(r % 2)));
      grid_->SetValue(r, 5, GridValue(4L));
      grid_->SetValue(r, 6, GridValue(static_cast<long>(r % 4 ? 1 : 0)));
    }
    grid_->SetDisplaySwitches(false);
    grid_->Refresh(1);
    UpdateWindow(host_);
    events_.clear();
  }
  GridWindow& W() { return *grid_->Window(); }
  POINT CellPoint(int displayRow, int position) { return Center(W().CellRect(displayRow, position)); }

  std::shared_ptr<GridHostForm> form_;
  HWND host_ = nullptr;
  GridControl* grid_ = nullptr;
  std::vector<std::wstring> events_;
};

}  // namespace

TEST_F(GridWindowTest, HeaderClicksRaiseTheColumnAndSortAsThePickerDoes) {
  FillList(10);
  // The picker's handler: sort type 0, order toggles, rows sorted.
  grid_->HeadClick.Clear();
  grid_->HeadClick.Connect([this](int c) {
    events_.push_back(L"head " + std::to_wstring(c));
    GridColumn& col = grid_->Columns().Item(c);
    col.SortType = kSortDefault;
    col.SortOrder = col.SortOrder == kSortAscending ? kSortDescending : kSortAscending;
    grid_->Sort(c);
  });
  const struct {
    int position;
    const wchar_t* event;
    const wchar_t* firstId;  // DocumentoId of data row 0 afterwards
  } clicks[] = {
      {2, L"head 2", L"1"},  // ascending
      {2, L"head 2", L"10"}, // descending
      {2, L"head 2", L"1"},
      {0, nullptr, L"1"},    // the head column raises nothing
  };
  for (const auto& c : clicks) {
    events_.clear();
    Click(W().hwnd(), Center(W().HeaderRect(c.position)));
    std::vector<std::wstring> heads;
    for (const auto& e : events_)
      if (e.rfind(L"head", 0) == 0) heads.push_back(e);
    if (c.event) {
      ASSERT_EQ(heads.size(), 1u);
      EXPECT_EQ(heads[0], c.event);
    } else {
      EXPECT_TRUE(heads.empty());
    }
    EXPECT_EQ(grid_->Model().CellValue(0, L"DocumentoId").Text(), c.firstId);
  }
}

TEST_F(GridWindowTest, ColumnChangesMadeThroughTheGridRepaintAndRelayIt) {
  FillList(10);
  UpdateWindow(W().hwnd());
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(W().hwnd(), SB_HORZ, &si);
  const int wide = si.nMax;
  // What the column layout dialog does: caption, visibility, width, alignment.
  grid_->Columns().Item(3).Hidden = true;
  grid_->Columns().Item(2).Caption = L"Nro.";
  grid_->Columns().Item(2).Style().TextAlignment = kAlignCenter;
  EXPECT_TRUE(GetUpdateRect(W().hwnd(), nullptr, FALSE));
  UpdateWindow(W().hwnd());
  GetScrollInfo(W().hwnd(), SB_HORZ, &si);
  EXPECT_EQ(si.nMax, wide - W().HeaderRect(4).right + W().HeaderRect(4).left);  // one 1500-twip column less
  EXPECT_EQ(W().HeaderRect(3).right, W().HeaderRect(3).left);
  EXPECT_FALSE(GetUpdateRect(W().hwnd(), nullptr, FALSE));
}

TEST_F(GridWindowTest, RowClicksMoveTheCurrentRowAndRaiseEachChangeOnce) {
  FillList(20);
  Click(W().hwnd(), CellPoint(3, 2));
  Click(W().hwnd(), CellPoint(3, 2));
  Click(W().hwnd(), CellPoint(5, 1));
  const std::vector<std::wstring> rows = [&] {
    std::vector<std::wstring> out;
    for (const auto& e : events_)
      if (e == L"row") out.push_back(e);
    return out;
  }();
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_EQ(grid_->CurrentRow().Kind, kDataRow);
  EXPECT_EQ(grid_->CurrentRow().Index, 5);
  // Rows cut below the current row leave none current; a click under the rows selects none.
  grid_->SetDataRowCount(2);
  EXPECT_FALSE(grid_->HasCurrentRow());
  events_.clear();
  RECT client;
  GetClientRect(W().hwnd(), &client);
  Click(W().hwnd(), POINT{40, client.bottom - 5});
  EXPECT_FALSE(grid_->HasCurrentRow());
  EXPECT_EQ(std::count(events_.begin(), events_.end(), L"row"), 0);
}

TEST_F(GridWindowTest, DoubleClickSelectsTheRowThenRaisesDblClick) {
  FillList(5);
  DoubleClick(W().hwnd(), CellPoint(2, 2));
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.front(), L"row");
  EXPECT_NE(std::find(events_.begin(), events_.end(), L"dblclick"), events_.end());
  EXPECT_EQ(grid_->CurrentRow().Index, 2);
}

TEST_F(GridWindowTest, MouseUpReportsButtonShiftAndPositionInTwips) {
  FillList(5);
  const double tpp = vk::TwipsPerPixel();
  const POINT p = CellPoint(1, 2);
  auto twips = [&](int px) { return std::to_wstring(static_cast<int>(px * tpp)); };
  const struct {
    UINT down, up;
    WPARAM keys;
    std::wstring expected;
  } cases[] = {
      {WM_LBUTTONDOWN, WM_LBUTTONUP, 0, L"up 1 0 "},
      {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_SHIFT, L"up 2 1 "},
      {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_CONTROL, L"up 2 2 "},
      {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_SHIFT | MK_CONTROL, L"up 4 3 "},
  };
  for (const auto& c : cases) {
    events_.clear();
    SendMessageW(W().hwnd(), c.down, c.keys, MAKELPARAM(p.x, p.y));
    SendMessageW(W().hwnd(), c.up, c.keys, MAKELPARAM(p.x, p.y));
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_.back(), c.expected + twips(p.x) + L" " + twips(p.y));
  }
  // The right button selects the row under it first, as the comments menu needs.
  EXPECT_EQ(grid_->CurrentRow().Index, 1);
}

TEST_F(GridWindowTest, KeysMoveTheCurrentRowAndKeepItInView) {
  FillList(200);
  Click(W().hwnd(), CellPoint(0, 2));
  const struct {
    WPARAM key;
    int expected;
  } keys[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_END, 199}, {VK_HOME, 0}, {VK_NEXT, W().VisibleRowCount()}};
  for (const auto& k : keys) {
    Key(W().hwnd(), k.key);
    EXPECT_EQ(grid_->CurrentRow().Index, k.expected) << k.key;
    EXPECT_GE(k.expected, W().TopRow());
    EXPECT_LT(k.expected, W().TopRow() + W().VisibleRowCount());
  }
}

TEST_F(GridWindowTest, CheckBoxCellsToggleUnlessReadOnly) {
  FillList(4);
  Click(W().hwnd(), CellPoint(0, 4));  // row 0: starts False
  EXPECT_EQ(grid_->Model().CellValue(0, L"Leido").Text(), L"True");
  Click(W().hwnd(), CellPoint(0, 4));
  EXPECT_EQ(grid_->Model().CellValue(0, L"Leido").Text(), L"False");
  Key(W().hwnd(), VK_SPACE);  // the first editable column of the row is the tick
  EXPECT_EQ(grid_->Model().CellValue(0, L"Leido").Text(), L"True");
  grid_->Columns().Item(L"Leido").ReadOnly = true;
  Click(W().hwnd(), CellPoint(1, 4));
  EXPECT_EQ(grid_->Model().CellValue(1, L"Leido").Text(), L"True");  // row 1 started True and stays
}

TEST_F(GridWindowTest, AReadOnlyGridTakesNoInputInAnyCell) {
  FillList(4);
  const POINT note = CellPoint(1, 5);
  Click(W().hwnd(), note);
  Click(W().hwnd(), note);
  SetWindowTextW(W().Editor()->hwnd(), L"a medias");
  grid_->SetReadOnly(true);  // ends the edit, keeping what was typed
  Click(W().hwnd(), note);
  Key(W().hwnd(), VK_F2);
  Click(W().hwnd(), CellPoint(0, 4));  // a tick
  EXPECT_FALSE(W().Editing());
  EXPECT_EQ(grid_->Model().CellValue(1, L"Nota").Text(), L"a medias");
  EXPECT_EQ(grid_->Model().CellValue(0, L"Leido").Text(), L"False");
  EXPECT_EQ(grid_->CurrentRow().Index, 0);  // the rows still follow the clicks
}

TEST_F(GridWindowTest, EditingACellWritesTheValueOnEnterAndDropsItOnEscape) {
  FillList(4);
  grid_->Columns().Item(L"Nota").MaxLength = 12;
  const POINT note = CellPoint(1, 5);
  Click(W().hwnd(), note);  // selects the row
  Click(W().hwnd(), note);  // edits the cell
  ASSERT_TRUE(W().Editing());
  ASSERT_EQ(W().Editor()->kind(), CellEditor::kText);
  EXPECT_EQ(SendMessageW(W().Editor()->hwnd(), EM_GETLIMITTEXT, 0, 0), 12);
  SetWindowTextW(W().Editor()->hwnd(), L"revisado");
  Key(W().Editor()->hwnd(), VK_RETURN);
  EXPECT_FALSE(W().Editing());
  EXPECT_EQ(grid_->Model().CellValue(1, L"Nota").Text(), L"revisado");

  Click(W().hwnd(), note);
  ASSERT_TRUE(W().Editing());
  SetWindowTextW(W().Editor()->hwnd(), L"descartado");
  Key(W().Editor()->hwnd(), VK_ESCAPE);
  EXPECT_EQ(grid_->Model().CellValue(1, L"Nota").Text(), L"revisado");

  // Leaving the editor for another window keeps the text and leaves the focus there.
  HWND other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 560, 100, 20, host_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  Click(W().hwnd(), note);
  ASSERT_TRUE(W().Editing());
  SetWindowTextW(W().Editor()->hwnd(), L"al salir");
  SetFocus(other);
  Pump();
  EXPECT_FALSE(W().Editing());
  EXPECT_EQ(grid_->Model().CellValue(1, L"Nota").Text(), L"al salir");
  EXPECT_NE(GetFocus(), W().hwnd());  // not taken back by the grid
  DestroyWindow(other);

  // A value list edits through a drop-down list and stores the item's value.
  const POINT align = CellPoint(1, 6);
  Click(W().hwnd(), align);
  ASSERT_TRUE(W().Editing());
  ASSERT_EQ(W().Editor()->kind(), CellEditor::kList);
  SendMessageW(W().Editor()->hwnd(), CB_SETCURSEL, 2, 0);  // "Centro"
  Key(W().Editor()->hwnd(), VK_RETURN);
  EXPECT_EQ(grid_->Model().CellValue(1, L"FAlign").Text(), L"5");

  // A date column edits through a date picker and stores a date.
  grid_->Columns().Add(L"Fecha").DataType = kTypeDate;
  grid_->Columns().Item(L"Fecha").Width = 1500;
  grid_->Refresh(1);
  const POINT fecha = CellPoint(1, grid_->Columns().Find(L"Fecha"));
  Click(W().hwnd(), fecha);
  ASSERT_TRUE(W().Editing());
  ASSERT_EQ(W().Editor()->kind(), CellEditor::kDate);
  SYSTEMTIME st{};
  st.wYear = 2024;
  st.wMonth = 12;
  st.wDay = 31;
  SendMessageW(W().Editor()->hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  Key(W().Editor()->hwnd(), VK_RETURN);
  const GridValue date = grid_->Model().CellValue(1, L"Fecha");
  ASSERT_EQ(date.type(), VT_DATE);
  EXPECT_EQ(V_DATE(&date.get()), 45657.0);  // 31 December 2024
  // A date written as text that reads as no date is refused with an error.
  EXPECT_EQ(ErrorOf([&] { grid_->SetCellValue(1, L"Fecha", vk::Variant(L"nunca")); }), vk::err::TypeMismatch);

  // Read-only cells do not edit.
  Click(W().hwnd(), CellPoint(1, 3));
  EXPECT_FALSE(W().Editing());
}

TEST_F(GridWindowTest, HundredThousandRowsScrollToTheEndPaintingOnlyWhatIsSeen) {
  FillList(100000);
  SendMessageW(W().hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(W().TopRow(), 100000 - W().VisibleRowCount());
  const Capture c = CaptureClient(W().hwnd());
  EXPECT_LE(W().LastPaintedRows(), W().VisibleRowCount() + 1);
  EXPECT_GT(c.width, 0);
  Click(W().hwnd(), CellPoint(99999, 2));
  EXPECT_EQ(grid_->CurrentRow().Index, 99999);
  SendMessageW(W().hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(W().TopRow(), 100000 - W().VisibleRowCount() - 3);
  SendMessageW(W().hwnd(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(W().TopRow(), 0);
  SendMessageW(W().hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(W().TopRow(), W().VisibleRowCount());
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(W().hwnd(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 99999);
  EXPECT_EQ(static_cast<int>(si.nPage), W().VisibleRowCount());
  // Emptying the grid brings the view back to the top; rows written one by one without
  // the fill switches reach the scroll bar too.
  grid_->RemoveAllRows();
  EXPECT_EQ(W().TopRow(), 0);
  grid_->SetDataRowCount(500);
  for (int r = 0; r < 500; ++r) grid_->SetValue(r, 1, GridValue(static_cast<long>(r)));
  UpdateWindow(W().hwnd());
  GetScrollInfo(W().hwnd(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 499);
  SendMessageW(W().hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(W().TopRow(), 500 - W().VisibleRowCount());
}

TEST_F(GridWindowTest, GroupedStyledGridPaintsItsStylesAndGroupRows) {
  FillList(12);
  // The list screens' look: gradient heading, unread rows bold, blue group headers.
  GridStyle& heading = grid_->Styles().Item(L"Heading");
  heading.BackColor = 0xDABAA8;
  heading.BackColor2 = 0xECDCD3;
  heading.BackgroundStyle = kBackgroundGradient;
  heading.ForeColor = 0x7B2D02;
  heading.OwnFont() = StyleFont{L"verdana", 9, true, false};
  GridStyle& selection = grid_->Styles().Item(L"Selection");
  selection.BackColor = 0xEEFCFD;
  selection.BackColor2 = 0xDCF7FA;
  selection.BackgroundStyle = kBackgroundGradient;
  grid_->Styles().Add(L"IsNew").OwnFont().bold = true;
  grid_->AddFormatCondition(L"IsNew", FormatCondition::kEqual, GridValue(0L), L"IsNew");
  grid_->RemoveAllGroups();
  grid_->AddGroup(L"CategoriaId");
  GridStyle& group = grid_->Styles().Item(L"GroupHeader");
  group.BackColor = 14334632;  // &HDABAA8: red 168, green 186, blue 218
  group.ForeColor = 0xFFFFFF;
  group.OwnFont() = StyleFont{L"Verdana", 8, true, false};
  group.TextAlignment = kAlignLeft;
  grid_->Refresh(1);

  ASSERT_EQ(grid_->Model().DisplayRowCount(), 15);
  Click(W().hwnd(), CellPoint(0, 2));  // a group row
  EXPECT_NE(grid_->CurrentRow().Kind, kDataRow);
  Click(W().hwnd(), CellPoint(2, 2));
  EXPECT_EQ(grid_->CurrentRow().Kind, kDataRow);

  const Capture c = CaptureClient(W().hwnd());
  UpdateWindow(W().hwnd());
  ASSERT_TRUE(vk::SaveWindowPicture(W().hwnd(), BinFolder() + L"\\grid_grouped_styled.bmp"));
  const RECT groupRow = W().CellRect(5, 0);  // the second group's row
  EXPECT_EQ(c.At(W().CellRect(5, 6).right - 4, (groupRow.top + groupRow.bottom) / 2), RGB(168, 186, 218));
  const RECT head = W().HeaderRect(3);
  const COLORREF top = c.At(head.left + 2, head.top + 1), bottom = c.At(head.left + 2, head.bottom - 3);
  EXPECT_NE(top, bottom);  // a gradient
  EXPECT_NEAR(GetRValue(top), 168, 12);
  EXPECT_NEAR(GetRValue(bottom), 211, 12);
}

TEST_F(GridWindowTest, PrintingRendersPagesIntoTheViewerWhichPagesAndZooms) {
  FillList(150);
  ReportViewer& viewer = form_->Add<ReportViewer>({.name = L"ARVPrint", .width = 12000, .height = 8000});
  ShowWindow(W().hwnd(), SW_HIDE);
  EXPECT_EQ(ErrorOf([&] { grid_->PrintPreview(); }), vk::err::ObjectNotSet);
  PrintSettings& print = grid_->Print();
  print.Viewer = &viewer;
  print.PageHeader = L"Documentación Recibida";
  print.PageHeaderStyle = ReportTextStyle{L"Verdana", 10, true, false, 4925975, 7};
  print.PageFooter = L"[ Reporte Emitido por el Usuario : ana el día 01/02/2025 a las 10:00:00 ]";
  print.PageFooterStyle = ReportTextStyle{L"Verdana", 9, false, false, 0, 7};
  grid_->AddGroup(L"CategoriaId");
  grid_->PrintPreview();
  ASSERT_GT(viewer.PageCount(), 2);
  EXPECT_EQ(viewer.Page(), 1);
  const Capture page = CaptureClient(viewer.hwnd());
  UpdateWindow(viewer.hwnd());
  ASSERT_TRUE(vk::SaveWindowPicture(viewer.hwnd(), BinFolder() + L"\\report_page.bmp"));
  ASSERT_TRUE(SaveWholePage(viewer.Document(), 0, 0.05, BinFolder() + L"\\report_page_whole.bmp"));

  const struct {
    ReportViewer::Button button;
    int page;
    int zoom;
  } clicks[] = {
      {ReportViewer::kNext, 2, 100},     {ReportViewer::kNext, 3, 100},    {ReportViewer::kPrevious, 2, 100},
      {ReportViewer::kLast, viewer.PageCount(), 100}, {ReportViewer::kNext, viewer.PageCount(), 100},
      {ReportViewer::kFirst, 1, 100},    {ReportViewer::kPrevious, 1, 100}, {ReportViewer::kZoomIn, 1, 125},
      {ReportViewer::kZoomOut, 1, 100},  {ReportViewer::kZoomOut, 1, 75},
  };
  for (const auto& c : clicks) {
    Click(viewer.hwnd(), Center(viewer.ButtonRect(c.button)));
    EXPECT_EQ(viewer.Page(), c.page) << c.button;
    EXPECT_EQ(viewer.Zoom(), c.zoom) << c.button;
  }
  Key(viewer.hwnd(), VK_END);
  EXPECT_EQ(viewer.Page(), viewer.PageCount());
  Key(viewer.hwnd(), VK_HOME);
  Key(viewer.hwnd(), VK_NEXT);
  EXPECT_EQ(viewer.Page(), 2);
  Key(viewer.hwnd(), VK_ADD);
  EXPECT_EQ(viewer.Zoom(), 100);
  EXPECT_EQ(ErrorOf([&] { viewer.SetPage(0); }), vk::err::InvalidPropertyValue);
  EXPECT_EQ(ErrorOf([&] { viewer.SetZoom(5); }), vk::err::InvalidPropertyValue);

  // The page shows the header's colour somewhere near its top.
  bool headerInk = false;
  for (int y = 0; y < page.height / 4 && !headerInk; ++y)
    for (int x = 0; x < page.width && !headerInk; ++x) {
      const COLORREF p = page.At(x, y);
      headerInk = GetRValue(p) < 80 && GetGValue(p) < 90 && GetBValue(p) > 50 && GetBValue(p) < 140 &&
                  GetBValue(p) > GetRValue(p);
    }
  EXPECT_TRUE(headerInk);

  // A saved report loads into another viewer; a bad file leaves the shown one.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring saved = std::wstring(temp) + L"grid_window_test.vkr";
  viewer.SaveFile(saved);
  ReportViewer& other = form_->Add<ReportViewer>({.name = L"ARVOther", .width = 6000, .height = 6000});
  other.LoadFile(saved);
  EXPECT_EQ(other.PageCount(), viewer.PageCount());
  const std::wstring junk = std::wstring(temp) + L"grid_window_test.txt";
  HANDLE f = CreateFileW(junk.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(f, "not a report", 12, &n, nullptr);
  CloseHandle(f);
  EXPECT_EQ(ErrorOf([&] { other.LoadFile(junk); }), vk::err::InvalidPropertyValue);
  EXPECT_EQ(other.PageCount(), viewer.PageCount());
  DeleteFileW(saved.c_str());
  DeleteFileW(junk.c_str());
}

// The same grid as a control of the runtime's forms.
class GridForm : public vk::Form {
 public:
  GridForm() : Form({.name = L"FGridTest", .caption = L"Grid", .scaleWidth = 9000, .scaleHeight = 6000}) {
    grid = &Add<GridControl>({.name = L"GRDetail", .left = 200, .top = 500, .width = 8000, .height = 5000});
    viewer = &Add<ReportViewer>({.name = L"ARVPrint", .width = 9000, .height = 6000, .visible = false});
  }
  GridControl* grid;
  ReportViewer* viewer;
};

TEST(GridControlOnForm, PlacedLikeAnyControlAndDrivenByMessages) {
  auto form = vk::Form::Load<GridForm>();
  GridControl& grid = *form->grid;
  form->Show();
  ASSERT_NE(grid.hwnd(), nullptr);
  EXPECT_TRUE(IsWindowVisible(grid.hwnd()));
  EXPECT_EQ(grid.hwnd(), grid.Window()->hwnd());
  grid.Columns().Add(L"DocumentoId").ReadOnly = true;
  grid.Columns().Add(L"Path").ReadOnly = true;
  grid.SetDataRowCount(3);
  for (int r = 0; r < 3; ++r) {
    grid.SetValue(r, 0, vk::Variant(static_cast<long>(10 + r)));
    grid.SetValue(r, 1, vk::Variant(L"C:\\docs\\" + std::to_wstring(r) + L".pdf"));
  }
  std::vector<std::wstring> seen;
  grid.RowSelected.Connect([&] {
    const RowRef row = grid.CurrentRow();
    seen.push_back(grid.CellValue(row.Index, L"Path").toText());
  });
  grid.DblClick.Connect([&] { seen.push_back(L"dblclick " + grid.CellValue(grid.CurrentRow().Index, 1).toText()); });
  // Extender properties move the window.
  grid.setWidth(6000);
  RECT r;
  GetWindowRect(grid.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 6000 / 15);
  DoubleClick(grid.hwnd(), Center(grid.Window()->CellRect(1, 1)));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], L"C:\\docs\\1.pdf");
  EXPECT_EQ(seen[1], L"dblclick 11");
  grid.SetCellValue(1, L"DocumentoId", vk::Variant(99L));
  EXPECT_EQ(grid.CellValue(1, 1).toLong(), 99);
  EXPECT_EQ(ErrorOf([&] { grid.SetCellValue(5, L"DocumentoId", vk::Variant(1L)); }), vk::err::SubscriptOutOfRange);

  // The viewer on the same form takes the grid's pages.
  ReportViewer& arv = *form->viewer;
  EXPECT_FALSE(IsWindowVisible(arv.hwnd()));
  grid.setVisible(false);
  arv.setVisible(true);
  EXPECT_TRUE(IsWindowVisible(arv.hwnd()));
  grid.SetDataRowCount(200);
  grid.Print().Viewer = &arv;
  grid.Print().PageHeader = L"Documentación Recibida";
  grid.PrintPreview();
  ASSERT_GT(arv.PageCount(), 1);
  Click(arv.hwnd(), Center(arv.ButtonRect(ReportViewer::kNext)));
  EXPECT_EQ(arv.Page(), 2);
  arv.setWidth(6000);
  RECT vr;
  GetWindowRect(arv.hwnd(), &vr);
  EXPECT_EQ(vr.right - vr.left, 400);
  form->Unload();
}
