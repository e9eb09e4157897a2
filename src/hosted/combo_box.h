#pragma once
// The combo box of the catalogue screens: a drop-down list whose items show
// "key - description" (filled from a recordset) or plain entries (a fixed list). Every
// fill replaces the list and starts it with an empty item, so ListIndex 0 means that
// nothing is chosen. Selecting, by the user or by code, raises Change at once: the
// screens follow their ids only through that event.
// Each item keeps the key and description of the row it was loaded from, so a key
// that itself holds a "-" ("AD-1", "jean-luc") is never cut at it.
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
  // Selects the item whose key is key (trimmed): in a fixed list the item whose whole
  // text is key, else the first whose loaded key is key. A key that is not in the list
  // selects the empty item. Raises Change either way.
  void SelectKey(const std::wstring& key);
  // For a key kept in a stored record: as SelectKey, but a key that is not in the list
  // (no longer enabled) is shown as an extra item holding the key, and selected. The
  // extra item goes with the next fill or the next SelectStoredKey. Raises Change.
  void SelectStoredKey(const std::wstring& key);
  bool FixedList() const { return fixedList_; }
  // The key and description of an item as loaded: a recordset row's first and second
  // fields (trimmed), or for a fixed entry the text before and after its first "-".
  // The empty item has both empty; a bad index raises 380.
  const std::wstring& ItemKey(int index) const;
  const std::wstring& ItemDescription(int index) const;
  // Those of the current item; empty when none.
  std::wstring SelectedKey() const;
  std::wstring SelectedDescription() const;

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
    std::wstring text, key, description;
  };
  void Replace(const std::vector<Item>& items);
  const Item& At(int index) const;
  int FindKey(const std::wstring& key) const;  // 0 when absent
  void RaiseChange();

  std::wstring fieldName_;
  std::vector<Item> items_;  // parallel to the list, the empty item first
  bool fixedList_ = false;
  int extraItem_ = 0;  // the index of the item SelectStoredKey added; 0 for none
};

}  // namespace vk::hosted
