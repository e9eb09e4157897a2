#pragma once
// The dialog keys of the runtime's forms, whatever message loop runs: Tab and
// Shift+Tab walk a form's controls in TabIndex order (the whole form, frames
// included, wrapping at the ends); Enter on a focused push button presses it; in a
// modal form Enter presses the default button and Esc the cancel button, or closes
// the form when it has none.
//
// A screen sits docked in a host whose loop need not call IsDialogMessage, and the
// modal loops are our own, so the keys are taken where every loop passes: a
// WH_GETMESSAGE hook of the thread, on while any form window exists on it. The hook
// only decides; a key it takes becomes a message to the form's window, so buttons'
// handlers run from an ordinary dispatch, never inside the hook.
//
// A control that asks for a key (WM_GETDLGCODE) keeps Enter and Esc: a grid cell
// being edited, an open combo list, a multi-line text's Enter. Tab is always the
// form's: no field of the component takes a tab character.
#include <windows.h>

namespace vk {

class Form;

// Counted per thread: the hook is on while the count is above zero.
void HoldDialogKeys();
void ReleaseDialogKeys();

// The message a form's window receives for a key the hook took: wParam is the key
// (VK_TAB, VK_RETURN or VK_ESCAPE) with kDialogKeyShift added for Shift, lParam the
// window the key was meant for.
UINT DialogKeyMessage();
constexpr WPARAM kDialogKeyShift = 0x10000;
void ActOnDialogKey(Form& form, WPARAM key, HWND target);

// Gives the focus to the first control in tab order that can take it.
void FocusFirstControl(Form& form);

}  // namespace vk
