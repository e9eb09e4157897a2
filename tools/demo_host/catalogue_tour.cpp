#include "catalogue_tour.h"

#include "runtime/vk_name.h"

namespace {

constexpr int kFindButton = 6;  // "BTN_FIN", the toolbar's sixth item
constexpr int kFirstType = 1;   // the type list's first item after the empty one
constexpr int kPatience = 20;   // ticks a step waits for its window

// A click on the system control inside one of the screen's controls.
void PostClick(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

BOOL CALLBACK FindOkIn(HWND window, LPARAM result) {
  HWND button = IsWindowVisible(window) ? vk::FindVkWindow(window, L"cmdOK") : nullptr;
  if (button) *reinterpret_cast<HWND*>(result) = button;
  return button ? FALSE : TRUE;
}

// The message box is a window of its own: any of this thread's top-level windows.
HWND FindMessageButton() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindOkIn, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

bool CatalogueTour::Step() {
  HWND screen = vk::FindVkWindow(host_, L"FDocumentosIndex");
  if (!screen) return ++waited_ < kPatience;
  switch (step_) {
    case 0: {  // the find: load the source folder's scans into the strip
      HWND toolbar = vk::FindVkWindow(screen, L"TBarMain");
      if (!toolbar) return false;
      PostMessageW(toolbar, WM_COMMAND, MAKEWPARAM(kFindButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetWindow(toolbar, GW_CHILD)));
      break;
    }
    case 1: {  // OK on "the images were loaded"
      HWND ok = FindMessageButton();
      if (!ok) return ++waited_ < kPatience;
      PostMessageW(GetWindow(ok, GW_CHILD), BM_CLICK, 0, 0);
      break;
    }
    case 2: {  // the first thumbnail into the large view
      HWND icon = vk::FindVkWindow(screen, L"PSlideState(0)");
      if (!icon || FindMessageButton()) return ++waited_ < kPatience;
      PostClick(icon);
      break;
    }
    case 3: {  // a document type: its field editors are placed
      HWND combo = vk::FindVkWindow(screen, L"cboTipoDocumentoId");
      if (!combo) return false;
      HWND list = GetWindow(combo, GW_CHILD);
      SendMessageW(list, CB_SETCURSEL, kFirstType, 0);
      PostMessageW(combo, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
      return false;
    }
    default:
      return false;
  }
  ++step_;
  waited_ = 0;
  return true;
}
