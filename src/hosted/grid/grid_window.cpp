#include "hosted/grid/grid_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/edge_report.h"
#include "base/vb_error.h"
#include "hosted/grid/cell_editor.h"
#include "runtime/gradient.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"
#include "runtime/window_class.h"

namespace vk::grid {

namespace {

constexpr wchar_t kClassName[] = L"VkSharpGridWindow";
constexpr COLORREF kGridLine = RGB(208, 215, 229);
constexpr int kGroupIndent = 16;

void RegisterClassOnce() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = GridWindow::WndProcEntry;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

int PointsToPixels(float points) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return -static_cast<int>(std::lround(points * dpi / 72.0));
}

int AlignFlags(int code, int fallback) {
  if (code <= 0 || code > 9) code = fallback;
  int flags = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  const int horizontal = (code - 1) % 3;
  flags |= horizontal == 0 ? DT_LEFT : (horizontal == 1 ? DT_CENTER : DT_RIGHT);
  const int vertical = (code - 1) / 3;
  flags |= vertical == 0 ? DT_TOP : (vertical == 1 ? DT_VCENTER : DT_BOTTOM);
  return flags;
}

bool IsCheckColumn(const GridColumn& c) { return c.DataType == kTypeBoolean || c.EditorType == kEditCheckBox; }

}  // namespace

LRESULT CALLBACK GridWindow::WndProcEntry(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = WindowOwner<GridWindow>(hwnd, message, lParam);
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) self->hwnd_ = hwnd;
  if (message == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // An event handler's failure stays with the handler; the window goes on.
  return GuardEdge(L"grid window", LRESULT{0}, [&] { return self->Handle(message, wParam, lParam); });
}

GridWindow::GridWindow(HWND parent, const RECT& pixels, GridModel& model, bool visible) : model_(model) {
  RegisterClassOnce();
  model_.OnChanged = [this] { OnModelChanged(); };
  model_.OnRowSelected = [this] {
    if (OnRowSelected) OnRowSelected();
  };
  CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL |
                                          WS_BORDER | (visible ? WS_VISIBLE : 0),
                  pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent, nullptr,
                  GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw VbError{err::InternalError, kGridSource, L"The grid window could not be created"};
  UpdateScrollBars();
}

GridWindow::~GridWindow() {
  editor_.reset();
  model_.OnChanged = nullptr;
  model_.OnRowSelected = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
}

// --- layout ---

HFONT GridWindow::FontFor(const GridStyle& style) {
  const StyleFont f = style.Font.value_or(StyleFont{});
  const auto key = std::make_tuple(f.name, static_cast<int>(f.size * 100), f.bold, f.italic);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  LOGFONTW lf{};
  lf.lfHeight = PointsToPixels(f.size);
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = f.italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynW(lf.lfFaceName, f.name.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  fonts_.emplace(key, font);
  return font;
}

int GridWindow::HeaderHeight() const {
  const int px = -PointsToPixels(model_.HeadingStyle(0).Font.value_or(StyleFont{}).size);
  return px + 10;
}

int GridWindow::RowHeight() const {
  const int px = -PointsToPixels(model_.CellStyle(-1, 0).Font.value_or(StyleFont{}).size);
  return px + 8;
}

int GridWindow::ColumnWidthPx(int position) const {
  const GridColumn& c = model_.Columns().Item(position);
  if (c.Hidden || c.Width <= 0) return 0;
  return std::max(1, TwipsToPixels(c.Width));
}

int GridWindow::ColumnLeft(int position) const {
  if (position == 0) return 0;
  int x = ColumnWidthPx(0);
  for (int p = 1; p < position; ++p) x += ColumnWidthPx(p);
  return x - scrollX_;
}

int GridWindow::VisibleRowCount() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return std::max(1, (static_cast<int>(client.bottom) - HeaderHeight()) / RowHeight());
}

RECT GridWindow::CellRect(int displayRow, int position) const {
  const int left = ColumnLeft(position);
  Sync();
  const int top = HeaderHeight() + (displayRow - topRow_) * RowHeight();
  return RECT{left, top, left + ColumnWidthPx(position), top + RowHeight()};
}

RECT GridWindow::HeaderRect(int position) const {
  const int left = ColumnLeft(position);
  return RECT{left, 0, left + ColumnWidthPx(position), HeaderHeight()};
}

GridWindow::Hit GridWindow::HitTest(POINT p) const {
  Sync();
  Hit hit;
  if (p.y < 0 || p.x < 0) return hit;
  if (p.y < HeaderHeight()) {
    hit.row = -1;
  } else {
    const int row = topRow_ + (p.y - HeaderHeight()) / RowHeight();
    hit.row = row < model_.DisplayRowCount() ? row : -2;
  }
  if (p.x < ColumnWidthPx(0)) {
    hit.position = 0;
    return hit;
  }
  for (int pos = 1; pos < model_.Columns().Count(); ++pos) {
    const int left = ColumnLeft(pos);
    const int w = ColumnWidthPx(pos);
    if (w > 0 && p.x >= left && p.x < left + w) {
      hit.position = pos;
      break;
    }
  }
  return hit;
}

void GridWindow::SetTopRow(int displayRow) {
  Sync();
  const int maxTop = std::max(0, model_.DisplayRowCount() - VisibleRowCount());
  const int top = std::clamp(displayRow, 0, maxTop);
  if (top == topRow_) return;
  EndEdit(true);
  topRow_ = top;
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void GridWindow::EnsureVisible(int displayRow) {
  Sync();
  if (displayRow < topRow_) SetTopRow(displayRow);
  else if (displayRow >= topRow_ + VisibleRowCount()) SetTopRow(displayRow - VisibleRowCount() + 1);
}

void GridWindow::UpdateScrollBars() {
  if (!hwnd_) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(0, model_.DisplayRowCount() - 1);
  si.nPage = static_cast<UINT>(VisibleRowCount());
  si.nPos = topRow_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  RECT client;
  GetClientRect(hwnd_, &client);
  int total = 0;
  for (int p = 0; p < model_.Columns().Count(); ++p) total += ColumnWidthPx(p);
  si.nMax = std::max(0, total - 1);
  si.nPage = static_cast<UINT>(std::max<LONG>(1, client.right));
  scrollX_ = std::clamp(scrollX_, 0, std::max(0, total - static_cast<int>(client.right)));
  si.nPos = scrollX_;
  SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
}

void GridWindow::OnModelChanged() {
  // Called for every written cell: only note it; the next paint or question syncs. The
  // window is asked once to paint until it has painted, whatever was noted meanwhile:
  // cells written with the redraw off after a paint still show when it is back on.
  if (!hwnd_) return;
  layoutPending_ = true;
  if (!model_.Redraw || paintAsked_) return;
  paintAsked_ = true;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void GridWindow::Sync() const {
  if (!layoutPending_ || !hwnd_) return;
  layoutPending_ = false;
  const int maxTop = std::max(0, model_.DisplayRowCount() - VisibleRowCount());
  if (topRow_ > maxTop) topRow_ = maxTop;
  const_cast<GridWindow*>(this)->UpdateScrollBars();
}

void GridWindow::OnVScroll(int code) {
  Sync();
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, SB_VERT, &si);
  int top = topRow_;
  switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= VisibleRowCount(); break;
    case SB_PAGEDOWN: top += VisibleRowCount(); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = model_.DisplayRowCount(); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: top = si.nTrackPos; break;
    default: return;
  }
  SetTopRow(top);
}

void GridWindow::OnHScroll(int code) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, SB_HORZ, &si);
  int x = scrollX_;
  switch (code) {
    case SB_LINELEFT: x -= 20; break;
    case SB_LINERIGHT: x += 20; break;
    case SB_PAGELEFT: x -= static_cast<int>(si.nPage); break;
    case SB_PAGERIGHT: x += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: x = si.nTrackPos; break;
    default: return;
  }
  EndEdit(true);
  scrollX_ = std::clamp(x, 0, std::max(0, si.nMax - static_cast<int>(si.nPage) + 1));
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// --- input ---

void GridWindow::MoveCurrent(int displayRow) {
  const int count = model_.DisplayRowCount();
  if (count == 0) return;
  displayRow = std::clamp(displayRow, 0, count - 1);
  EndEdit(true);
  EnsureVisible(displayRow);
  model_.SetCurrentDisplayRow(displayRow);
}

void GridWindow::ToggleCheck(int dataRow, int position) {
  const GridValue v = model_.CellValue(dataRow, position);
  bool on = false;
  GridValue b;
  if (v.ChangeType(VT_BOOL, b)) on = V_BOOL(&b.get()) != VARIANT_FALSE;
  model_.SetCellValue(dataRow, position, GridValue::Bool(!on));
}

void GridWindow::OnButtonDown(int button, WPARAM, POINT p, bool doubleClick) {
  SetFocus(hwnd_);
  const Hit hit = HitTest(p);
  if (hit.row == -1) {
    if (button == 1 && hit.position > 0 && !doubleClick && OnHeadClick) OnHeadClick(hit.position);
    return;
  }
  if (hit.row < 0) return;
  const bool wasCurrent = model_.CurrentDisplayRow() == hit.row;
  MoveCurrent(hit.row);
  if (button != 1) return;
  if (doubleClick) {
    if (OnDblClick) OnDblClick();
    return;
  }
  const RowRef row = model_.DisplayRow(hit.row);
  if (row.Kind != kDataRow || hit.position <= 0) return;
  const GridColumn& column = model_.Columns().Item(hit.position);
  if (column.ReadOnly || model_.ReadOnly) return;
  if (IsCheckColumn(column)) ToggleCheck(row.Index, hit.position);
  else if (wasCurrent) BeginEdit(hit.position);  // a second click on the row edits the cell
}

int GridWindow::KeyColumn(bool tick) const {
  const int current = model_.CurrentDisplayRow();
  if (current < 0 || model_.ReadOnly || model_.DisplayRow(current).Kind != kDataRow) return 0;
  for (int pos = 1; pos < model_.Columns().Count(); ++pos) {
    const GridColumn& c = model_.Columns().Item(pos);
    if (!c.Hidden && !c.ReadOnly && IsCheckColumn(c) == tick) return pos;
  }
  return 0;
}

void GridWindow::OnKeyDown(WPARAM key) {
  const int current = model_.CurrentDisplayRow();
  switch (key) {
    case VK_UP: MoveCurrent(current - 1); break;
    case VK_DOWN: MoveCurrent(current + 1); break;
    case VK_PRIOR: MoveCurrent(current - VisibleRowCount()); break;
    case VK_NEXT: MoveCurrent(current + VisibleRowCount()); break;
    case VK_HOME: MoveCurrent(0); break;
    case VK_LEFT: OnHScroll(SB_LINELEFT); break;
    case VK_RIGHT: OnHScroll(SB_LINERIGHT); break;
    case VK_END: MoveCurrent(model_.DisplayRowCount() - 1); break;
    case VK_SPACE:
      if (const int pos = KeyColumn(true)) ToggleCheck(model_.DisplayRow(current).Index, pos);
      break;
    case VK_F2: case VK_RETURN:
      if (const int pos = KeyColumn(false)) BeginEdit(pos);
      break;
    default: break;
  }
}

LRESULT GridWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_PAINT: {
      paintAsked_ = false;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT client;
      GetClientRect(hwnd_, &client);
      // Painted off screen, then copied: no flicker while scrolling.
      {
        MemoryDc memory(CreateCompatibleDC(dc));
        GdiObject<HBITMAP> bitmap(
            CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)));
        SelectGuard keep(memory.get(), bitmap.get());
        Paint(memory.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBars();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      SetTopRow(topRow_ - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_LBUTTONDOWN: OnButtonDown(1, wParam, p, false); return 0;
    case WM_LBUTTONDBLCLK: OnButtonDown(1, wParam, p, true); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(2, wParam, p, false); return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      const int button = message == WM_LBUTTONUP ? 1 : (message == WM_RBUTTONUP ? 2 : 4);
      const int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) |
                        (GetKeyState(VK_MENU) < 0 ? 4 : 0);
      const double tpp = TwipsPerPixel();
      if (OnMouseUp) OnMouseUp(button, shift, static_cast<float>(p.x * tpp), static_cast<float>(p.y * tpp));
      return 0;
    }
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case kEndEditMessage: {
      // Only for the editor that asked: a click on another cell may have opened a new
      // one since.
      if (!editor_ || reinterpret_cast<HWND>(lParam) != editor_->hwnd()) return 0;
      // Enter and Escape give the keys back to the grid; a click elsewhere keeps its focus.
      const bool editorHadFocus = editor_ && GetFocus() == editor_->hwnd();
      EndEdit(wParam != 0);
      if (editorHadFocus) SetFocus(hwnd_);
      return 0;
    }
    case WM_GETDLGCODE: {
      // Enter is the grid's while it has a cell to edit, so it never presses the form's
      // default button instead.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      const bool editsOnEnter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && KeyColumn(false);
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (editsOnEnter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SETFOCUS: case WM_KILLFOCUS:
      focused_ = message == WM_SETFOCUS;
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// --- painting ---

void GridWindow::PaintBackground(HDC dc, const RECT& r, const GridStyle& style) {
  const COLORREF back = ToColorRef(style.BackColor.value_or(0xFFFFFF));
  if (style.BackgroundStyle.value_or(kBackgroundSolid) == kBackgroundGradient && style.BackColor2) {
    FillVerticalGradient(dc, r, back, ToColorRef(*style.BackColor2));
    return;
  }
  SetBkColor(dc, back);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void GridWindow::PaintCell(HDC dc, const RECT& r, const GridStyle& style, const std::wstring& text, int defaultAlign) {
  PaintBackground(dc, r, style);
  if (!text.empty()) {
    SelectGuard font(dc, FontFor(style));
    SetTextColor(dc, ToColorRef(style.ForeColor.value_or(0)));
    SetBkMode(dc, TRANSPARENT);
    RECT inner{r.left + 3, r.top + 1, r.right - 3, r.bottom - 1};
    const int flags = AlignFlags(style.TextAlignment.value_or(0), defaultAlign);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (size.cx > inner.right - inner.left) {
      // Only a text that does not fit pays for the ellipsis.
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner, flags);
    } else {
      int x = inner.left, y = inner.top;
      if (flags & DT_CENTER) x = (inner.left + inner.right - size.cx) / 2;
      else if (flags & DT_RIGHT) x = inner.right - size.cx;
      if (flags & DT_VCENTER) y = (inner.top + inner.bottom - size.cy) / 2;
      else if (flags & DT_BOTTOM) y = inner.bottom - size.cy;
      ExtTextOutW(dc, x, y, ETO_CLIPPED, &inner, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    }
  }
  // The DC's own pen: no pen is made per cell.
  SelectGuard keep(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, style.BorderColor ? ToColorRef(*style.BorderColor) : kGridLine);
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.right - 1, r.top - 1);
}

void GridWindow::PaintRowMarker(HDC dc, const RECT& r) {
  // A small triangle pointing at the current row, drawn rather than taken from a font.
  const int h = std::max(3, static_cast<int>(r.bottom - r.top) / 4);
  const int cx = static_cast<int>(r.left + r.right) / 2, cy = static_cast<int>(r.top + r.bottom) / 2;
  const POINT points[3] = {{cx - h / 2, cy - h}, {cx - h / 2, cy + h}, {cx + h / 2 + 1, cy}};
  SelectGuard brush(dc, GetStockObject(DC_BRUSH));
  SelectGuard pen(dc, GetStockObject(DC_PEN));
  SetDCBrushColor(dc, RGB(32, 32, 32));
  SetDCPenColor(dc, RGB(32, 32, 32));
  Polygon(dc, points, 3);
}

void GridWindow::PaintHeader(HDC dc, const RECT& client) {
  for (int pos = model_.Columns().Count() - 1; pos >= 0; --pos) {
    RECT r = HeaderRect(pos);
    if (r.right <= r.left || r.right < 0 || r.left > client.right) continue;
    const GridColumn& c = model_.Columns().Item(pos);
    std::wstring caption = c.Caption;
    if (pos > 0 && c.SortOrder == kSortAscending) caption += L" \x25B2";
    if (pos > 0 && c.SortOrder == kSortDescending) caption += L" \x25BC";
    PaintCell(dc, r, model_.HeadingStyle(pos), caption, kAlignCenter);
  }
}

void GridWindow::PaintRow(HDC dc, int displayRow, int y, const RECT& client) {
  const RowRef row = model_.DisplayRow(displayRow);
  const bool current = model_.CurrentDisplayRow() == displayRow;
  if (row.Kind != kDataRow) {
    GridStyle style = model_.GroupStyle();
    if (current) {
      if (const GridStyle* sel = model_.Styles().Find(focused_ ? L"Selection" : L"InactiveSelection"))
        style.BackColor2 = sel->BackColor;
    }
    RECT r{0, y, client.right, y + RowHeight()};
    RECT text = r;
    text.left += (row.Kind - 1) * kGroupIndent + ColumnWidthPx(0);
    PaintBackground(dc, r, style);
    PaintCell(dc, text, style, L"\x25BC " + model_.GroupText(row.Index), kAlignLeft);
    if (current) PaintRowMarker(dc, RECT{0, r.top, ColumnWidthPx(0), r.bottom});
    return;
  }
  for (int pos = model_.Columns().Count() - 1; pos >= 0; --pos) {
    const int w = ColumnWidthPx(pos);
    if (w == 0) continue;
    const int left = ColumnLeft(pos);
    if (left + w < 0 || left > client.right) continue;
    RECT r{left, y, left + w, y + RowHeight()};
    if (pos == 0) {
      PaintCell(dc, r, model_.HeadingStyle(0), L"", kAlignCenter);
      if (current) PaintRowMarker(dc, r);
      continue;
    }
    GridStyle style = model_.CellStyle(row.Index, pos);
    if (current)
      if (const GridStyle* sel = model_.Styles().Find(focused_ ? L"Selection" : L"InactiveSelection"))
        style.OverlayFrom(*sel);
    const GridColumn& column = model_.Columns().Item(pos);
    const GridValue value = model_.CellValue(row.Index, pos);
    if (IsCheckColumn(column)) {
      PaintCell(dc, r, style, L"", kAlignCenter);
      GridValue b;
      const bool on = value.ChangeType(VT_BOOL, b) && V_BOOL(&b.get()) != VARIANT_FALSE;
      const int box = std::min(13, RowHeight() - 4);
      int x = r.left + (w - box) / 2;
      if (style.PictureAlignment.value_or(kAlignCenter) % 3 == 1) x = r.left + 3;
      RECT cb{x, r.top + (RowHeight() - box) / 2, x + box, r.top + (RowHeight() - box) / 2 + box};
      DrawFrameControl(dc, &cb, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (on ? DFCS_CHECKED : 0));
      continue;
    }
    const int fallback = value.IsNumeric() && value.type() != VT_BOOL && column.ValueItems.empty() ? kAlignRight
                                                                                                     : kAlignLeft;
    PaintCell(dc, r, style, column.DisplayText(value), fallback);
  }
}

void GridWindow::Paint(HDC dc) {
  Sync();
  RECT client;
  GetClientRect(hwnd_, &client);
  GridStyle back(L"");
  if (const GridStyle* b = model_.Styles().Find(L"GridBackground")) back.OverlayFrom(*b);
  PaintBackground(dc, client, back);
  const int count = model_.DisplayRowCount();
  const int rh = RowHeight();
  int painted = 0;
  for (int d = topRow_, y = HeaderHeight(); d < count && y < client.bottom; ++d, y += rh, ++painted)
    PaintRow(dc, d, y, client);
  lastPainted_ = painted;
  PaintHeader(dc, client);
  if (editor_) editor_->Place();
}

// --- editing ---

bool GridWindow::BeginEdit(int position) {
  EndEdit(true);
  const int current = model_.CurrentDisplayRow();
  if (current < 0) return false;
  const RowRef row = model_.DisplayRow(current);
  if (row.Kind != kDataRow) return false;
  const GridColumn& column = model_.Columns().Item(position);
  if (position == 0 || column.ReadOnly || model_.ReadOnly || column.Hidden || IsCheckColumn(column)) return false;
  EnsureVisible(current);
  editor_ = std::make_unique<CellEditor>(*this, row.Index, position);
  return true;
}

void GridWindow::EndEdit(bool commit) {
  if (!editor_) return;
  std::unique_ptr<CellEditor> editor = std::move(editor_);
  if (commit) editor->Commit();
}

}  // namespace vk::grid
