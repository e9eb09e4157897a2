#pragma once
// The text box of the field editors: text, back colour (an OLE colour, system-colour
// references included), alignment codes 0 left, 1 right, 2 centre, and a value list:
// when switched on, typing the start of a listed value completes it.
#include <oaidl.h>

#include <string>
#include <vector>

#include "hosted/form_control.h"
#include "runtime/event.h"
#include "runtime/gdi_object.h"

namespace vk::hosted {

// The colour an OLE colour stands for: &H8000000n& is system colour n.
COLORREF TranslateOleColor(unsigned long oleColor);

class TextBox : public FormControl {
 public:
  TextBox(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}

  std::wstring Text() const;
  // Raises Change, as the user's typing does.
  void SetText(const std::wstring& text);
  const std::wstring& FieldName() const { return fieldName_; }
  void SetFieldName(std::wstring name) { fieldName_ = std::move(name); }

  unsigned long BackColor() const { return backColor_; }
  void SetBackColor(unsigned long oleColor);
  int Alignment() const { return alignment_; }
  // 0, 1 or 2; anything else raises 380.
  void SetAlignment(int alignment);

  bool ValueListEnabled() const { return valueListEnabled_; }
  void SetValueListEnabled(bool enabled) { valueListEnabled_ = enabled; }
  // Replaces the value list with the first column of every row of a recordset
  // (nothing empties it).
  void LoadValueList(IDispatch* recordset);
  const std::vector<std::wstring>& ValueList() const { return values_; }

  Event<int> Change;  // the element's index (-1 outside a control array)

 protected:
  void OnCreated() override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  void OnCommand(WORD code, WORD id, HWND from) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void MakeEdit(const std::wstring& text);
  void Complete();

  std::wstring fieldName_;
  unsigned long backColor_ = 0x80000005;
  GdiObject<HBRUSH> brush_;
  int alignment_ = 0;
  bool valueListEnabled_ = false;
  std::vector<std::wstring> values_;
  bool completing_ = false;
  bool settingText_ = false;
  bool deleting_ = false;
};

}  // namespace vk::hosted
