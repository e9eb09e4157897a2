#pragma once
// What every placement of the grid offers the screens: columns, styles, rows and cells,
// the current row, sorting, grouping, the format condition, the fill switches, the
// export, printing into a report viewer, and the events. GridControl places them on a
// runtime form; they work on the model alone before any window exists.
// Not handled yet: the owner's text-formatting event for columns whose format asks for
// it (such cells show their values as they come), printing on a printer.
#include <memory>
#include <string>

#include "base/variant.h"
#include "hosted/grid/grid_export.h"
#include "hosted/grid/grid_model.h"
#include "hosted/grid/grid_print.h"
#include "hosted/grid/grid_window.h"
#include "runtime/event.h"

namespace vk::grid {

class GridMembers {
 public:
  GridMembers() = default;
  GridMembers(const GridMembers&) = delete;
  GridMembers& operator=(const GridMembers&) = delete;
  virtual ~GridMembers();

  GridModel& Model() { return model_; }
  const GridModel& Model() const { return model_; }
  // Writable columns and styles: the grid is repainted after the caller's changes.
  ColumnCollection& Columns() {
    model_.Touch();
    return model_.Columns();
  }
  const ColumnCollection& Columns() const { return model_.Columns(); }
  StyleCollection& Styles() {
    model_.Touch();
    return model_.Styles();
  }
  GridWindow* Window() { return window_.get(); }  // nullptr until the window exists

  // Rows and cells (data rows and fields from 0; columns by position or key). A written
  // value shows at once; one the column's type cannot hold raises 13.
  void RemoveAllRows() { model_.RemoveAllRows(); }
  int DataRowCount() const { return model_.DataRowCount(); }
  void SetDataRowCount(int count) { model_.SetDataRowCount(count); }
  void SetValue(int dataRow, int dataField, GridValue value) { model_.SetValue(dataRow, dataField, std::move(value)); }
  void SetValue(int dataRow, int dataField, const Variant& value) { SetValue(dataRow, dataField, GridValue(value.get())); }
  Variant CellValue(int dataRow, const std::wstring& key) const;
  Variant CellValue(int dataRow, int position) const;
  void SetCellValue(int dataRow, const std::wstring& key, const Variant& value);
  void SetCellValue(int dataRow, int position, const Variant& value);
  RowRef CurrentRow() const { return model_.CurrentRow(); }  // raises 91 with none
  bool HasCurrentRow() const { return model_.HasCurrentRow(); }

  // A read-only grid takes no input in any cell, whatever its columns say; clicks and
  // keys still move the current row. Switching it on ends an edit in progress.
  bool ReadOnly() const { return model_.ReadOnly; }
  void SetReadOnly(bool on);

  // Sorting, grouping, conditions.
  void Sort(int position) { model_.Sort(position); }
  void RemoveAllGroups() { model_.RemoveAllGroups(); }
  void AddGroup(const std::wstring& key) { model_.AddGroup(key); }
  void AddFormatCondition(const std::wstring& column, int op, const GridValue& value, const std::wstring& style) {
    model_.AddFormatCondition(column, op, value, style);
  }

  // The fill switches and the refresh calls made after a fill.
  void SetDisplaySwitches(bool on) { model_.SetDisplaySwitches(on); }
  void Refresh(int how = 1) { model_.Refresh(how); }
  // Lays the columns first..last out again (repaints them); raises 9 for a bad range.
  void LayoutColumns(int first, int last);
  bool Redraw() const { return model_.Redraw; }
  void SetRedraw(bool on);

  // (file, 3, 2) a spreadsheet, (file, 2, 2, separator) delimited text; raises when the
  // file cannot be written.
  void ExportData(const std::wstring& file, int format, int what, const std::wstring& separator = L",") const {
    grid::ExportData(model_, file, format, what, separator);
  }

  // The print settings, then the grid rendered as pages into the settings' viewer
  // (raises 91 when they name none).
  PrintSettings& Print() { return print_; }
  void PrintPreview();

  Event<int> HeadClick;                       // the column's position
  Event<> DblClick;
  Event<> RowSelected;                        // the current row changed
  Event<int, int, float, float> MouseUp;      // button, shift, x, y (twips)

 protected:
  // Makes the window, child of `parent`, and routes its events to the members above.
  HWND MakeWindow(HWND parent, const RECT& pixels, bool visible);
  void DropWindow() { window_.reset(); }

 private:
  GridModel model_;
  PrintSettings print_;
  std::unique_ptr<GridWindow> window_;
};

}  // namespace vk::grid
