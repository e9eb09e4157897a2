#include "hosted/grid/cell_editor.h"

#include <commctrl.h>

#include "base/vb_error.h"
#include "hosted/grid/grid_window.h"

namespace vk::grid {

CellEditor::CellEditor(GridWindow& grid, int dataRow, int position)
    : grid_(grid), dataRow_(dataRow), position_(position) {
  GridModel& model = grid.Model();
  const GridColumn& column = model.Columns().Item(position);
  const GridValue value = model.CellValue(dataRow, position);
  if (!column.ValueItems.empty() || column.EditorType == kEditDropDownList) kind_ = kList;
  else if (column.DataType == kTypeDate || column.EditorType == kEditDatePicker) kind_ = kDate;

  const RECT r = grid.CellRect(model.DisplayRowOf(dataRow), position);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (kind_ == kList) {
    control_ = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, r.left,
                               r.top, w, h + 200, grid.hwnd(), nullptr, instance, nullptr);
    for (size_t i = 0; i < column.ValueItems.size(); ++i) {
      SendMessageW(control_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(column.ValueItems[i].Display.c_str()));
      if (ValuesMatch(column.ValueItems[i].Value, value)) SendMessageW(control_, CB_SETCURSEL, i, 0);
    }
  } else if (kind_ == kDate) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_DATE_CLASSES;
    InitCommonControlsEx(&icc);
    control_ = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | DTS_SHORTDATEFORMAT, r.left,
                               r.top, w, h, grid.hwnd(), nullptr, instance, nullptr);
    GridValue date;
    SYSTEMTIME st;
    if (value.ChangeType(VT_DATE, date) && VariantTimeToSystemTime(V_DATE(&date.get()), &st))
      SendMessageW(control_, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  } else {
    control_ = CreateWindowExW(0, WC_EDITW, column.DisplayText(value).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, r.left, r.top, w, h, grid.hwnd(),
                               nullptr, instance, nullptr);
    if (column.MaxLength > 0) SendMessageW(control_, EM_LIMITTEXT, column.MaxLength, 0);
    SendMessageW(control_, EM_SETSEL, 0, -1);
  }
  if (!control_) throw VbError{err::InternalError, kGridSource, L"The cell editor could not be created"};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
  SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  SetWindowSubclass(control_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SetFocus(control_);
}

CellEditor::~CellEditor() {
  if (control_) {
    RemoveWindowSubclass(control_, SubclassProc, 1);
    DestroyWindow(control_);
  }
}

void CellEditor::Place() {
  const int shown = grid_.Model().DisplayRowOf(dataRow_);
  if (shown < 0) return;
  const RECT r = grid_.CellRect(shown, position_);
  SetWindowPos(control_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + (kind_ == kList ? 200 : 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CellEditor::Commit() {
  GridModel& model = grid_.Model();
  const GridColumn& column = model.Columns().Item(position_);
  GridValue value;
  if (kind_ == kList) {
    const LRESULT i = SendMessageW(control_, CB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<size_t>(i) >= column.ValueItems.size()) return true;  // nothing chosen
    value = column.ValueItems[i].Value;
  } else if (kind_ == kDate) {
    SYSTEMTIME st;
    if (SendMessageW(control_, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID) return true;
    st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
    DATE d = 0;
    SystemTimeToVariantTime(&st, &d);
    value = GridValue::Date(d);
  } else {
    const int n = GetWindowTextLengthW(control_);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(control_, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    value = column.ValueForDisplay(text);
  }
  try {
    model.SetCellValue(dataRow_, position_, value);
    return true;
  } catch (const VbError&) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
}

LRESULT CALLBACK CellEditor::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<CellEditor*>(data);
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, message, wParam, lParam);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        // Posted: the editor's window must not go while its own message runs.
        PostMessageW(self->grid_.hwnd(), GridWindow::kEndEditMessage, wParam == VK_RETURN,
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r' || wParam == 27) return 0;
      break;
    case WM_KILLFOCUS:
      if (self->kind_ != kDate && reinterpret_cast<HWND>(wParam) != hwnd)
        PostMessageW(self->grid_.hwnd(), GridWindow::kEndEditMessage, 1, reinterpret_cast<LPARAM>(hwnd));
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vk::grid
