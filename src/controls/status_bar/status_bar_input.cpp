// The status bar's input: the panel under the pointer, the in-place editor, the
// events raised to the container, the grip's size drag and size cursor, and the
// window messages heard after the bar's own procedure (enter/leave, repaints).
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "base/edge_report.h"
#include "base/rounding.h"
#include "controls/status_bar/status_bar_colors.h"
#include "controls/status_bar/status_bar_error.h"
#include "controls/status_bar/vk_status_bar.h"
#include "runtime/mouse_pointer.h"

namespace vk::controls {

namespace {

constexpr UINT_PTR kEditorSubclass = 1;

// All four edges count as inside.
bool InsideInclusive(const RECT& rc, long x, long y) {
  return rc.left <= x && x <= rc.right && rc.top <= y && y <= rc.bottom;
}

bool ApiFunctionExists(const char* function, const wchar_t* module) {
  HMODULE m = LoadLibraryW(module);
  if (!m) return false;
  const bool found = GetProcAddress(m, function) != nullptr;
  FreeLibrary(m);
  return found;
}

// v rounded to a whole number, then halved toward zero.
long Half(double v) { return RoundHalfEven(v) / 2; }

}  // namespace

long VkStatusBar::GetPanelIndex() const {
  return Rethrown(L"GetPanelIndex", [&]() -> long {
    if (panelCount_ < 1) return 0;
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(hwnd(), &pt);
    for (long i = 1; i <= panelCount_ && i <= long(panels_.size()); ++i) {
      const StatusBarPanel& p = panels_[size_t(i - 1)];
      RECT rc = p.Rect;
      if (p.Icon) {
        if (p.TextAlign == kAlignLeft) OffsetRect(&rc, -16, 0);
        else if (p.TextAlign == kAlignCentre) OffsetRect(&rc, -8, 0);
        else if (p.TextAlign == kAlignRight) InflateRect(&rc, 2, 0);  // wider on each side
      }
      if (i > 1 && panels_[size_t(i - 2)].Rect.right + 10 < rc.left) {
        OffsetRect(&rc, -8, 0);
        InflateRect(&rc, 6, 0);
      }
      if (InsideInclusive(rc, pt.x, pt.y)) return i;
    }
    return 0;
  });
}

bool VkStatusBar::editorVisible() const { return editorOpen_ && txtEdit_ && IsWindowVisible(txtEdit_); }

void VkStatusBar::HideEditor() {
  editorOpen_ = false;  // first: hiding moves the focus, which must not commit
  if (txtEdit_) ShowWindow(txtEdit_, SW_HIDE);
}

void VkStatusBar::CommitEditor() {
  const int length = GetWindowTextLengthW(txtEdit_);
  std::wstring text(size_t(length) + 1, L'\0');
  GetWindowTextW(txtEdit_, text.data(), length + 1);
  text.resize(size_t(length));
  // A PanelDblClick handler may have pointed EditIndex past the panels: the commit
  // fails there and the editor stays open with the typed text.
  if (editIndex_ < 1 || editIndex_ > long(panels_.size())) Raise(err::SubscriptOutOfRange);
  panels_[size_t(editIndex_ - 1)].Text = text;
  HideEditor();
}

void VkStatusBar::OpenEditor(const StatusBarPanel& p) {
  const RECT& r = p.Rect;
  const double scaleHeight = clientHeight();
  long left, top, width, height;
  if (scheme_ == kClassic) {
    left = p.Icon ? r.left - 1 : r.left - 4;
    height = 4;
    top = Half(scaleHeight) - Half(height) - 1;
    width = r.right - r.left + 8;
  } else {
    left = r.left;
    height = 16;
    top = Half(scaleHeight) - Half(height);
    width = r.right - r.left;
  }
  if (!Editor()) return;
  SetWindowTextW(txtEdit_, p.Text.c_str());
  SendMessageW(txtEdit_, EM_SETSEL, 0, LPARAM(p.Text.size()));
  SetWindowPos(txtEdit_, HWND_TOP, left, top, width, height, SWP_SHOWWINDOW);
  editorOpen_ = true;
  ::SetFocus(txtEdit_);
}

void VkStatusBar::EditorKeyUp(int keyCode) {
  Rethrown(L"txtEdit_KeyUp", [&] {
    if (keyCode == VK_ESCAPE) {
      if (editorVisible()) HideEditor();
    } else if (keyCode == VK_RETURN) {
      if (editorVisible()) {
        CommitEditor();
        Refresh();
      }
    }
  });
}

void VkStatusBar::EditorLostFocus() {
  Rethrown(L"txtEdit_LostFocus", [&] {
    if (editorVisible()) CommitEditor();
  });
}

void VkStatusBar::OnLostFocus() {
  Rethrown(L"UserControl_LostFocus", [&] {
    if (editorVisible()) CommitEditor();
  });
}

void VkStatusBar::OnClick() {
  Rethrown(L"UserControl_Click", [&] {
    if (editorVisible()) HideEditor();  // the typed text is dropped
    Click.Raise();
    long index = GetPanelIndex();
    PanelClick.Raise(index);
  });
}

void VkStatusBar::OnDblClick() {
  Rethrown(L"UserControl_DblClick", [&] {
    editIndex_ = GetPanelIndex();
    if (editIndex_ > 0 && editIndex_ <= long(panels_.size()) && panels_[size_t(editIndex_ - 1)].Editable)
      OpenEditor(panels_[size_t(editIndex_ - 1)]);
    DblClick.Raise();
    PanelDblClick.Raise(editIndex_);
  });
}

void VkStatusBar::OnKeyDown(int keyCode, int shift) {
  Rethrown(L"UserControl_KeyDown", [&] { KeyDown.Raise(keyCode, shift); });
}

void VkStatusBar::OnKeyPress(int charCode) {
  Rethrown(L"UserControl_KeyPress", [&] { KeyPress.Raise(charCode); });
}

void VkStatusBar::OnKeyUp(int keyCode, int shift) {
  Rethrown(L"UserControl_KeyUp", [&] { KeyUp.Raise(keyCode, shift); });
}

void VkStatusBar::OnMouseDown(int button, int shift, int x, int y) {
  Rethrown(L"UserControl_MouseDown", [&] {
    if (InsideInclusive(grip_, x, y) && sizable_) {
      // The system sizes the form from its bottom-right corner until the button is up.
      ReleaseCapture();
      SendMessageA(form().hwnd(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
    }
    float fx = float(x), fy = float(y);
    MouseDown.Raise(button, shift, fx, fy);
    long index = GetPanelIndex();
    PanelMouseDown.Raise(index, button, shift, fx, fy);
  });
}

void VkStatusBar::OnMouseMove(int button, int shift, int x, int y) {
  Rethrown(L"UserControl_MouseMove", [&] {
    const int wanted = InsideInclusive(grip_, x, y) ? pointer::SizeNWSE : pointer::Default;
    if (std::exchange(mousePointer_, wanted) != wanted)
      // The cursor for this position was chosen before this move arrived: choose again.
      SendMessageW(hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    float fx = float(x), fy = float(y);
    MouseMove.Raise(button, shift, fx, fy);
    long index = GetPanelIndex();
    PanelMouseMove.Raise(index, button, shift, fx, fy);
  });
}

void VkStatusBar::OnMouseUp(int button, int shift, int x, int y) {
  Rethrown(L"UserControl_MouseUp", [&] {
    float fx = float(x), fy = float(y);
    MouseUp.Raise(button, shift, fx, fy);
    long index = GetPanelIndex();
    PanelMouseUp.Raise(index, button, shift, fx, fy);
  });
}

bool VkStatusBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DESTROY:
      Terminate();  // bound controls go back before the bar's children are destroyed
      return false;
    case WM_SETCURSOR:
      if (mousePointer_ == pointer::SizeNWSE && LOWORD(lParam) == HTCLIENT) {
        SetCursor(CursorFor(pointer::SizeNWSE));
        result = TRUE;
        return true;
      }
      return false;
    case WM_KILLFOCUS:
      // The focus moving into the bar's own editor is not a loss of focus.
      if (txtEdit_ && reinterpret_cast<HWND>(wParam) == txtEdit_) {
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == txtEdit_) {
        const COLORREF back = static_cast<COLORREF>(TranslateColor(backColor_));
        editorBrush_.reset(CreateSolidBrush(back));
        SetBkColor(reinterpret_cast<HDC>(wParam), back);
        result = reinterpret_cast<LRESULT>(editorBrush_.get());
        return true;
      }
      return false;
    default:
      return false;
  }
}

// --- messages after the bar's own procedure ------------------------------------------

void VkStatusBar::StartMessageHandling() {
  trackingAvailable_ = true;
  user32Tracking_ = ApiFunctionExists("TrackMouseEvent", L"user32.dll");
  if (!user32Tracking_ && !ApiFunctionExists("_TrackMouseEvent", L"comctl32.dll")) trackingAvailable_ = false;
  if (!trackingAvailable_ || subclassed_ || !hwnd()) return;
  subclasser_.Start(hwnd());
  const UINT messages[] = {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_NCPAINT, WM_THEMECHANGED, WM_SIZING, WM_SYSCOLORCHANGE};
  for (UINT message : messages) subclasser_.AddMsg(hwnd(), message, When::After);
  subclassed_ = true;
}

void VkStatusBar::StopMessageHandling() {
  subclasser_.StopAll();
  subclassed_ = false;
}

void VkStatusBar::zSubclass_Proc(bool /*bBefore*/, bool& /*bHandled*/, LRESULT& /*lReturn*/, HWND /*lng_hWnd*/,
                                 UINT uMsg, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  // The window's own answer always stands.
  AfterMessage(uMsg);
}

void VkStatusBar::AfterMessage(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd(), 0};
        _TrackMouseEvent(&track);
        MouseEnter.Raise();
      }
      break;
    case WM_MOUSELEAVE:
      mouseInside_ = false;
      MouseLeave.Raise();
      break;
    case WM_NCPAINT: case WM_THEMECHANGED: case WM_SIZING: case WM_SYSCOLORCHANGE:
      Refresh();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK VkStatusBar::EditorSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR, DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<VkStatusBar*>(data);
  if (message == WM_CHAR && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return 0;  // no beep
  GuardEdge(L"status bar editor", [&] {
    if (message == WM_KEYUP) self->EditorKeyUp(int(wParam));
    else if (message == WM_KILLFOCUS) self->EditorLostFocus();
  });
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace vk::controls
