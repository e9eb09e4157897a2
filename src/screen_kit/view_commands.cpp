#include "screen_kit/view_commands.h"

#include "hosted/shell_launcher.h"
#include "runtime/app_path.h"

namespace vk {

void ToggleFit(hosted::Toolbar& bar, int index, VkImage& view) {
  if (bar.ButtonState(index) == 0) {
    bar.SetButtonState(index, 2);
    view.setFitMode(true);
    return;
  }
  bar.SetButtonState(index, 0);
  view.setFitMode(false);
  view.setZoom(1);
}

void ZoomIn(VkImage& view) {
  if (view.Zoom() < 25) view.setZoom(view.Zoom() + 1);
}

void ZoomOut(VkImage& view) {
  if (view.Zoom() > 1) view.setZoom(view.Zoom() - 1);
}

void ZoomOriginal(VkImage& view) { view.setZoom(1); }

bool IsViewKey(const std::wstring& key) {
  for (const wchar_t* viewKey : {L"BTN_FIT", L"BTN_ZIN", L"BTN_ZOU", L"BTN_Z11", L"BTN_PAN", L"BTN_RT1", L"BTN_RT2"})
    if (key == viewKey) return true;
  return false;
}

void RunViewKey(hosted::Toolbar& bar, const hosted::ToolbarClick& click, VkImage& view) {
  const std::wstring& key = click.key;
  if (key == L"BTN_FIT") ToggleFit(bar, click.index, view);
  else if (key == L"BTN_ZIN") ZoomIn(view);
  else if (key == L"BTN_ZOU") ZoomOut(view);
  else if (key == L"BTN_Z11") ZoomOriginal(view);
  else if (key == L"BTN_PAN") OpenInViewer(view);
}

bool RunViewCommand(hosted::Toolbar& bar, const hosted::ToolbarClick& click, VkImage& view) {
  if (!IsViewKey(click.key) || click.key == L"BTN_PAN") return false;
  RunViewKey(bar, click, view);
  view.Resize();
  return true;
}

bool OpenInViewer(const VkImage& view) { return hosted::LaunchViewer(AppPath(), view.Documento(), view.Path(), view.form().hwnd()); }

}  // namespace vk
