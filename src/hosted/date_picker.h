#pragma once
// The date picker, in both roles the screens use: the maker's picker of the field
// editors (Value from a date or a date text, CheckNull) and the system picker of the
// document date. Value is an automation date (days since 30 Dec 1899, time as the
// fraction). With CheckNull on, the picker can hold no date; the control keeps that
// state itself, since Wine's picker still shows its last date with the box cleared.
#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>

#include "hosted/form_control.h"
#include "runtime/event.h"

namespace vk::hosted {

// Reads a date text day first: "7/12/2026", "07-12-2026", "7.12.2026" (two-digit years
// are 19xx from 30 on, 20xx below), or "2026-12-07". Returns nothing for any other text
// or an impossible date.
std::optional<DATE> ParseDateText(const std::wstring& text);

class DatePicker : public FormControl {
 public:
  DatePicker(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  // The picked date without its time; nothing when CheckNull is on and no date is set.
  std::optional<DATE> Value() const;
  // Raises Change when the date changes.
  void SetValue(DATE value);
  // A date text (ParseDateText); any other text raises 13 and keeps the date.
  void SetValueText(const std::wstring& text);
  // Clears the date (only with CheckNull on; otherwise raises 380).
  void ClearValue();
  bool HasDate() const { return hasDate_; }

  bool CheckNull() const { return checkNull_; }
  void SetCheckNull(bool checkNull);
  const std::wstring& FieldName() const { return fieldName_; }
  void SetFieldName(std::wstring name) { fieldName_ = std::move(name); }

  Event<int> Change;  // the element's index (-1 outside a control array)

 protected:
  void OnCreated() override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  LRESULT OnNotify(NMHDR* header) override;

 private:
  void MakePicker(const std::optional<DATE>& value);
  void Put(const std::optional<DATE>& value);

  bool checkNull_ = false;
  bool hasDate_ = true;  // kept here too: not every picker reports a cleared box
  bool settingValue_ = false;
  std::wstring fieldName_;
};

}  // namespace vk::hosted
