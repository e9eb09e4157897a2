#pragma once
// The toolbar of the screens: buttons known by a string key, with an icon and a tool
// tip, counted from 1 in the order they were added (separators count). Each button has
// a state, 0 normal, 2 pressed, 4 while its menu is open, 5 off, and an enabled flag.
// A click raises ButtonClick with the button's index and key and, as offsets from the
// toolbar's top-left corner in twips, the button's lower-left corner: where a menu for
// the button belongs. The flag is True when the offsets are those of a real button. A
// button that is disabled, or in state 5, raises no click. The window carries each
// button's key (runtime/vk_name.h), so drivers outside the process press buttons by key.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "hosted/form_control.h"
#include "runtime/event.h"
#include "runtime/gdi_object.h"

namespace vk::hosted {

struct ToolbarClick {
  short index = 0;  // the handler may change it, as the by-reference argument allows
  std::wstring key;
  short x = 0;
  long value1 = 0;  // unused: always 0
  long value2 = 0;  // unused: always 0
  short y = 0;
  bool flag = false;
};

class Toolbar : public FormControl {
 public:
  Toolbar(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}

  // Adds a button; icon may be null (the button then shows its caption only). The
  // toolbar keeps a copy of the icon.
  void AddButton(const std::wstring& key, const std::wstring& toolTip, HICON icon = nullptr,
                 const std::wstring& caption = L"");
  void AddSeparator();
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }

  // The index of the button with this key; an unknown key raises 35601 (element not found).
  int IndexOfKey(const std::wstring& key) const;
  const std::wstring& Key(int index) const;
  const std::wstring& ToolTipText(int index) const;
  int ButtonState(int index) const;
  // 0, 2, 4 or 5; anything else raises 380. A bad index raises 9.
  void SetButtonState(int index, int state);
  bool ButtonEnabled(int index) const;
  void SetButtonEnabled(int index, bool enabled);
  // The look of a button: with code 9, value 2 shows it pressed and 0 released. Other
  // codes raise 5.
  void SetLook(int value, int index, int code);
  // Where the button is, in pixels of the toolbar's client area.
  RECT ButtonRect(int index) const;

  Event<ToolbarClick&> ButtonClick;

 protected:
  void OnCreated() override;
  void OnCommand(WORD code, WORD id, HWND from) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnResized(int width, int height) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  struct Button {
    std::wstring key;
    std::wstring toolTip;
    int state = 0;
    bool enabled = true;
  };
  Button& At(int index);
  const Button& At(int index) const;
  void Apply(int index);
  void Insert(const std::wstring& key, const std::wstring& toolTip, HICON icon, const std::wstring& caption,
              bool separator);
  void OnButton(int index);

  std::vector<Button> buttons_;
  OwnedImageList images_;
};

}  // namespace vk::hosted
