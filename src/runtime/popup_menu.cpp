#include "runtime/popup_menu.h"

#include "runtime/event.h"
#include "runtime/twips.h"

namespace vk {

namespace {

HMENU BuildMenu(const std::vector<MenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  for (const MenuItem& item : items) {
    if (item.id == 0 && item.caption.empty() && item.children.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) | (item.checked ? MF_CHECKED : 0);
    UINT_PTR id = item.id;
    if (!item.children.empty()) {
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(BuildMenu(item.children));
    }
    AppendMenuW(menu, flags, id, item.caption.c_str());
  }
  return menu;
}

}  // namespace

UINT PopupMenu(HWND window, const std::vector<MenuItem>& items, double xTwips, double yTwips) {
  if (!window || items.empty()) return 0;
  POINT at{TwipsToPixels(xTwips), TwipsToPixels(yTwips)};
  ClientToScreen(window, &at);
  HMENU menu = BuildMenu(items);  // submenus go with their parent
  HandlerScope scope;             // the menu's own loop serves messages meanwhile
  // The menu needs its owner in the foreground to close when the user clicks elsewhere.
  SetForegroundWindow(window);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y,
      0, window, nullptr));
  DestroyMenu(menu);
  PostMessageW(window, WM_NULL, 0, 0);
  return chosen;
}

}  // namespace vk
