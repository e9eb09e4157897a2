#pragma once
// The grid's columns: a head column at position 0 (the row-header strip) and the data
// columns from 1, reached by position or by key (field name, without regard to case).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hosted/grid/grid_style.h"
#include "hosted/grid/grid_value.h"

namespace vk::grid {

// Column data types: how a written value is kept and shown.
enum DataType : int {
  kTypeVariant = 0,  // kept as written
  kTypeDate = 7,
  kTypeText = 8,
  kTypeBoolean = 11,
};

// Sort types: 0 by the column's data, 2 numbers, 3 text, 5 dates.
enum SortType : int { kSortDefault = 0, kSortNumeric = 2, kSortText = 3, kSortDate = 5 };
enum SortOrder : int { kSortNone = 0, kSortAscending = 1, kSortDescending = 2 };

// Cell editors: what the user gets when editing a cell.
enum EditorType : int {
  kEditText = 0,
  kEditCheckBox = 2,
  kEditDropDownList = 4,
  kEditDatePicker = 7,
};

struct ValueItem {
  GridValue Value;         // stored value
  std::wstring Display;    // text shown in its place
};

class GridColumn {
 public:
  GridColumn(std::wstring key, int slot) : Key(std::move(key)), style_(Key), slot_(slot) {}

  std::wstring Key;
  std::wstring Caption;
  float Width = 1200.0f;  // twips
  bool Hidden = false;
  int DataType = kTypeVariant;
  int SortType = kSortDefault;
  int SortOrder = kSortNone;
  bool ReadOnly = false;
  long MaxLength = 0;  // the longest text the user may type; 0 = no limit
  GridValue Tag;
  int EditorType = kEditText;
  int DropDownRows = 8;
  int ListMode = 0;  // how the value list edits; kept for the caller
  // A column switch the screens turn on (every audit column, the layout dialog's first
  // column) whose look is ours to choose: it changes nothing here and reads back.
  bool Option = false;
  std::vector<ValueItem> ValueItems;

  // The column's own style; unset values come from "Normal".
  GridStyle& Style() { return style_; }
  const GridStyle& Style() const { return style_; }

  void AddValueItem(GridValue value, std::wstring display);
  // The first value item whose value matches (ValuesMatch), or nullptr. Looked up by
  // key, so a long list (every document's name) costs the same per cell as a short one.
  const ValueItem* FindValueItem(const GridValue& value) const;
  // The shown text of a stored value: its value item's text when one matches,
  // "True"/"False" for a Boolean column, the value's own text otherwise.
  std::wstring DisplayText(const GridValue& value) const;
  // The stored value for a shown text (the reverse of the value list); the text itself
  // when no item shows it.
  GridValue ValueForDisplay(const std::wstring& text) const;
  // Brings a written value to the column's type (a value of that type already is moved
  // through untouched); raises a type mismatch when it cannot be shown as that type.
  GridValue Coerce(GridValue value) const;

  int Slot() const { return slot_; }  // where the column's cells are kept in a row

 private:
  // Where FindValueItem looks: the first item of each value, by kind of value. Rebuilt
  // when the list has grown since it was made.
  // Texts are found by a view of the cell's own characters, without a copy.
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::wstring_view text) const { return std::hash<std::wstring_view>{}(text); }
  };
  using TextMap = std::unordered_map<std::wstring, int, TextHash, std::equal_to<>>;
  // Items by a number. Lists are mostly keyed by ids, whole numbers close together: those
  // are found in a plain table, which a hash cannot match when every cell of a large
  // grid is looked up (the export, the paint).
  class NumberMap {
   public:
    void Add(double key, int item) { map_.emplace(key, item); }  // the first item of a key stays
    void Seal();  // after the last Add
    bool empty() const { return map_.empty() && table_.empty(); }
    int Find(double key) const;  // -1 when none
    // The same for a whole number (inline: the export looks up every cell of a column).
    int Find(long key) const {
      if (table_.empty()) return map_.empty() ? -1 : Find(static_cast<double>(key));
      const long long slot = static_cast<long long>(key) - first_;
      return slot >= 0 && slot < static_cast<long long>(table_.size()) ? table_[static_cast<size_t>(slot)] : -1;
    }

   private:
    std::unordered_map<double, int> map_;
    std::vector<int> table_;  // by key - first_, -1 for none; when it fits
    long first_ = 0;
  };
  struct ValueIndex {
    size_t items = 0;
    int firstNull = -1, firstEmpty = -1;
    TextMap texts;          // text items, exact text
    NumberMap numberTexts;  // text items that read as a number
    NumberMap numbers;      // number, date and Boolean items
    TextMap otherTexts;     // those items as text
  };
  const ValueIndex& Index() const;

  GridStyle style_;
  int slot_;
  mutable ValueIndex index_;
};

class ColumnCollection {
 public:
  ColumnCollection();
  int Count() const { return static_cast<int>(columns_.size()); }  // head column included
  GridColumn& Item(int position);  // raises for a position out of range
  GridColumn& Item(const std::wstring& key);  // raises for an unknown key
  const GridColumn& Item(int position) const;
  int Find(const std::wstring& key) const;  // position, or -1
  GridColumn& Add(const std::wstring& key);  // appended as the last column
  void Remove(int position);                 // not the head column
  void Clear();                              // all data columns
  int SlotCount() const { return nextSlot_; }

 private:
  std::vector<std::unique_ptr<GridColumn>> columns_;
  int nextSlot_ = 0;
};

}  // namespace vk::grid
