#pragma once
// Editing one cell in place: a text box, a drop-down list of the column's value items,
// or a date picker laid over the cell. Enter keeps the value, Escape drops it, leaving
// the editor keeps it. A value the column cannot hold is refused with a beep and the
// cell keeps its old value.
#include <windows.h>

#include <string>

#include "runtime/gdi_object.h"

namespace vk::grid {

class GridWindow;

class CellEditor {
 public:
  enum Kind { kText, kList, kDate };
  CellEditor(GridWindow& grid, int dataRow, int position);
  ~CellEditor();
  CellEditor(const CellEditor&) = delete;
  CellEditor& operator=(const CellEditor&) = delete;

  HWND hwnd() const { return control_; }
  Kind kind() const { return kind_; }
  void Place();  // over the cell again (after scrolling or resizing)
  bool Commit();  // writes the edited value; false when the column refused it

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  GridWindow& grid_;
  int dataRow_;
  int position_;
  Kind kind_ = kText;
  HWND control_ = nullptr;
  GdiObject<HFONT> font_;  // the edit control's, deleted after it
};

}  // namespace vk::grid
