#pragma once
// The large view's toolbar commands the capture screens and the list previews share:
// fit, zoom and the viewer program. They change only the view's stored display
// settings; VkImage passes them on to its viewer (not while it holds a PDF).
#include "hosted/toolbar.h"
#include "screen_kit/vk_image.h"

namespace vk {

// "BTN_FIT": a released button (state 0) is pressed (2) and turns fitting on; a
// pressed one is released, turns fitting off and shows the image at its own size.
void ToggleFit(hosted::Toolbar& bar, int index, VkImage& view);
// "BTN_ZIN" adds 1 while the zoom is below 25; "BTN_ZOU" takes 1 off while it is above
// 1; "BTN_Z11" sets 1. The value is not rounded (0.53 becomes 1.53).
void ZoomIn(VkImage& view);
void ZoomOut(VkImage& view);
void ZoomOriginal(VkImage& view);
// The keys that only change how the large view shows its document: the four above,
// "BTN_PAN" and the two "BTN_RT" keys. The screens run them even while a command of
// theirs yields.
bool IsViewKey(const std::wstring& key);
// The cataloguing screen's display keys: the four above, "BTN_PAN" opens the viewer
// program, "BTN_RT1" and "BTN_RT2" do nothing.
void RunViewKey(hosted::Toolbar& bar, const hosted::ToolbarClick& click, VkImage& view);
// The display keys as the maintenance screen and the list previews run them: the four
// above, then the view fits its viewer again; "BTN_RT1" and "BTN_RT2" only that fit.
// False, doing nothing, for any other key.
bool RunViewCommand(hosted::Toolbar& bar, const hosted::ToolbarClick& click, VkImage& view);
// "BTN_PAN": starts the viewer program of the application folder on the view's
// document ("F00:Ostrela - " name "|F01:" path); nothing waits for it. False when it
// could not be started (the capture screens go on as if it had).
bool OpenInViewer(const VkImage& view);

}  // namespace vk
