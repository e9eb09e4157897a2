#pragma once
// The document screens' toolbars: each key gets a small drawn icon (the maker's
// pictures are not ours to copy) and its tool tip; "BTN_REP" has no tool tip and the
// caption " ", as the screens' design gives it. A key that opens a menu shows its
// menu state while the menu is open and while the chosen item runs.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "hosted/toolbar.h"
#include "runtime/form.h"
#include "runtime/popup_menu.h"

namespace vk {

void AddToolbarButton(hosted::Toolbar& toolbar, const std::wstring& key, const std::wstring& toolTip);

// A button of a toolbar's design; a null key is a divider.
struct ToolbarKey {
  const wchar_t* key;
  const wchar_t* toolTip;
};
inline constexpr ToolbarKey kDivider{nullptr, nullptr};
void AddToolbarButtons(hosted::Toolbar& toolbar, std::initializer_list<ToolbarKey> keys);
// The large view's keys every screen with an image carries, in their design order:
// fit, zoom in, zoom out, original size, the viewer program, a divider, the two
// rotations, a divider, the report key and a last divider.
void AddViewButtons(hosted::Toolbar& toolbar);

// A button the screen's state turns on (enabled, state 0) or off (disabled, state 5).
void EnableToolbarButton(hosted::Toolbar& toolbar, int index, bool enabled);
// The main toolbar's place in every screen's layout: the screen's width less 300
// twips, at the top 45 and the left 50, each step by itself.
void PlaceMainToolbar(hosted::Toolbar& toolbar, double screenWidth);

// The report key's menu.
inline constexpr UINT kReportView = 1, kReportPrint = 2;
std::vector<MenuItem> ReportMenu();

// Opens `menu` below the clicked key (just below the toolbar when the click gave no
// button offsets); `originLeft` and `originTop` (twips) place a toolbar that sits in a
// frame. The key shows its menu state (4) until `run` has had the chosen item (it is
// not called when none was chosen), then 0 again while the screen is still loaded.
void PopUpFromKey(Form& screen, hosted::Toolbar& toolbar, const hosted::ToolbarClick& click,
                  const std::vector<MenuItem>& menu, const std::function<void(UINT)>& run, double originLeft = 0,
                  double originTop = 0);

}  // namespace vk
