#pragma once
// The combo box of the catalogue screens: a drop-down list whose items show
// "key - description". Every fill replaces the list and starts it with an empty item,
// so ListIndex 0 means that nothing is chosen. Selecting, by the user or by code, raises
// Change at once: the screens follow their ids only through that event.
// Each item keeps its key: the first column of the row it was loaded from (trimmed), or
// for a fixed list the text before the entry's first "-". Read it with Key or ItemKey
// rather than from the shown text, so a key that holds a "-" comes back whole.
#include <oaidl.h>

#include <string>
#include <vector>

#include "hosted/form_control.h"
#include "runtime/event.h"

namespace vk::hosted {

// The key of a shown item: the text before its first "-", trimmed.
std::wstring ComboKeyOf(const std::wstring& text);

class ComboBox : public FormControl {
 public:
  ComboBox(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  // Replaces the list with one item per row of an ADO recordset: the first column, " - ",
  // the second (the first alone when there is one column). Nothing (null) empties it.
  void LoadRecordSetAPI(IDispatch* recordset);
  // Replaces the list with the entries of a text separated by "|".
  void LoadArray(const std::wstring& entries);
  // Selects the item whose key is `key` (blanks around it ignored); a key that is not in
  // the list selects the empty item. Raises Change either way.
  void SelectKey(const std::wstring& key);
  // The key of the item at index (raises 380 outside the list), of the current item
  // ("" when none is chosen).
  std::wstring ItemKey(int index) const;
  std::wstring Key() const;

  int ListIndex() const;
  // -1 or 0 to ListCount - 1; anything else raises 380. Raises Change.
  void SetListIndex(int index);
  int ListCount() const;
  std::wstring List(int index) const;
  // The text of the current item (empty when none).
  std::wstring Text() const;
  const std::wstring& FieldName() const { return fieldName_; }
  void SetFieldName(std::wstring name) { fieldName_ = std::move(name); }

  Event<int> Change;  // the element's index (-1 outside a control array)

 protected:
  void OnCreated() override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;
  void OnCommand(WORD code, WORD id, HWND from) override;
  void OnResized(int width, int height) override;

 private:
  struct Item {
    std::wstring key, text;
  };
  void Replace(const std::vector<Item>& items);
  void RaiseChange();

  std::wstring fieldName_;
  std::vector<std::wstring> keys_;  // one per item, the empty item's first
};

}  // namespace vk::hosted
