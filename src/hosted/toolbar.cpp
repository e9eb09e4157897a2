#include "hosted/toolbar.h"

#include <commctrl.h>

#include "base/vb_error.h"
#include "runtime/twips.h"
#include "runtime/vk_name.h"

namespace vk::hosted {
namespace {

constexpr int kIconSize = 16;
constexpr long kElementNotFound = 35601;

}  // namespace

void Toolbar::OnCreated() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  CreateInner(TOOLBARCLASSNAMEW, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE |
                                     CCS_NOPARENTALIGN);
  SendMessageW(inner_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  images_.reset(ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 8, 8));
  SendMessageW(inner_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
}

void Toolbar::OnResized(int width, int height) {
  if (inner_) MoveWindow(inner_, 0, 0, width, height, TRUE);
}

void Toolbar::Insert(const std::wstring& key, const std::wstring& toolTip, HICON icon, const std::wstring& caption,
                     bool separator) {
  buttons_.push_back(Button{key, toolTip});
  TBBUTTON button{};
  button.idCommand = static_cast<int>(buttons_.size());  // the 1-based index
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = static_cast<BYTE>(separator ? BTNS_SEP : BTNS_BUTTON | BTNS_AUTOSIZE);
  button.iBitmap = separator ? 6 : I_IMAGENONE;
  if (!separator && icon) button.iBitmap = ImageList_AddIcon(images_.get(), icon);
  button.iString = caption.empty() ? -1 : reinterpret_cast<INT_PTR>(caption.c_str());
  SendMessageW(inner(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  SetVkButtonKey(hwnd(), button.idCommand, key);  // outside drivers press buttons by key
}

bool Toolbar::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_DESTROY) RemoveVkButtonKeys(hwnd(), ButtonCount());
  return false;
}

void Toolbar::AddButton(const std::wstring& key, const std::wstring& toolTip, HICON icon, const std::wstring& caption) {
  Insert(key, toolTip, icon, caption, false);
}

void Toolbar::AddSeparator() { Insert(L"", L"", nullptr, L"", true); }

Toolbar::Button& Toolbar::At(int index) {
  if (index < 1 || index > ButtonCount()) Raise(err::SubscriptOutOfRange, L"Toolbar.Buttons");
  return buttons_[static_cast<size_t>(index - 1)];
}
const Toolbar::Button& Toolbar::At(int index) const { return const_cast<Toolbar*>(this)->At(index); }

int Toolbar::IndexOfKey(const std::wstring& key) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (!key.empty() && buttons_[i].key == key) return static_cast<int>(i + 1);
  }
  throw VbError{kElementNotFound, L"Toolbar.IndexOfKey", L"Element not found"};
}

const std::wstring& Toolbar::Key(int index) const { return At(index).key; }
const std::wstring& Toolbar::ToolTipText(int index) const { return At(index).toolTip; }
int Toolbar::ButtonState(int index) const { return At(index).state; }
bool Toolbar::ButtonEnabled(int index) const { return At(index).enabled; }

void Toolbar::SetButtonState(int index, int state) {
  Button& button = At(index);
  if (state != 0 && state != 2 && state != 4 && state != 5) Raise(err::InvalidPropertyValue, L"Toolbar.ButtonState");
  button.state = state;
  Apply(index);
}

void Toolbar::SetButtonEnabled(int index, bool enabled) {
  At(index).enabled = enabled;
  Apply(index);
}

void Toolbar::SetLook(int value, int index, int code) {
  if (code != 9 || (value != 0 && value != 2)) Raise(err::InvalidProcedureCall, L"Toolbar.SetLook");
  SetButtonState(index, value);
}

void Toolbar::Apply(int index) {
  const Button& button = At(index);
  BYTE state = 0;
  if (button.enabled && button.state != 5) state |= TBSTATE_ENABLED;
  if (button.state == 2 || button.state == 4) state |= TBSTATE_CHECKED;
  SendMessageW(inner(), TB_SETSTATE, static_cast<WPARAM>(index), MAKELPARAM(state, 0));
}

RECT Toolbar::ButtonRect(int index) const {
  At(index);
  RECT rect{};
  SendMessageW(inner(), TB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void Toolbar::OnButton(int index) {
  if (index < 1 || index > ButtonCount()) return;
  // A button the screen has turned off is not pressed, however the command arrived.
  if (!At(index).enabled || At(index).state == 5) return;
  RECT rect = ButtonRect(index);
  ToolbarClick click;
  click.index = static_cast<short>(index);
  click.key = At(index).key;
  click.x = static_cast<short>(PixelsToTwips(rect.left));
  click.y = static_cast<short>(PixelsToTwips(rect.bottom));
  click.flag = true;
  ButtonClick.Raise(click);
}

void Toolbar::OnCommand(WORD, WORD id, HWND) {
  // The toolbar reports a click as WM_COMMAND with the button's command id: its index.
  OnButton(id);
}

LRESULT Toolbar::OnNotify(NMHDR* header) {
  if (header->code == TTN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    const int index = static_cast<int>(header->idFrom);
    if (index >= 1 && index <= ButtonCount()) {
      info->lpszText = const_cast<wchar_t*>(buttons_[static_cast<size_t>(index - 1)].toolTip.c_str());
    }
  }
  return 0;
}

}  // namespace vk::hosted
