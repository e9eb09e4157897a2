#pragma once
// The grid control as the screens place it: a hosted control (position in twips,
// Visible, Tag, Container) holding the grid window, with the members the screens call
// on it: columns, styles, rows and cells, the current row, sorting, grouping, the
// format condition, the fill switches, the export and the printing into a report viewer.
//
//   SharpGrid grid;  grid.Create(form, 120, 900, 11430, 4365);
//   grid.Columns().Add(L"CategoriaId").Caption = L"Categoría";
//   grid.SetDataRowCount(n);  grid.SetValue(r, 0, GridValue(L"A1"));
//   grid.HeadClick = [&](int column) { ... };
#include <functional>
#include <memory>
#include <string>

#include "hosted/grid/grid_export.h"
#include "hosted/grid/grid_model.h"
#include "hosted/grid/grid_print.h"
#include "hosted/grid/grid_window.h"
#include "hosted/hosted_control.h"

namespace vk::grid {

class SharpGrid : public hosted::HostedControl {
 public:
  SharpGrid() = default;
  ~SharpGrid() override;

  GridModel& Model() { return model_; }
  ColumnCollection& Columns() { return model_.Columns(); }
  StyleCollection& Styles() { return model_.Styles(); }
  GridWindow* Window() { return window_.get(); }  // nullptr before Create

  // Rows and cells (data rows and fields from 0; columns by position or key).
  void RemoveAllRows() { model_.RemoveAllRows(); }
  int DataRowCount() const { return model_.DataRowCount(); }
  void SetDataRowCount(int count) { model_.SetDataRowCount(count); }
  void SetValue(int dataRow, int dataField, const GridValue& value) { model_.SetValue(dataRow, dataField, value); }
  GridValue CellValue(int dataRow, const std::wstring& key) const { return model_.CellValue(dataRow, key); }
  GridValue CellValue(int dataRow, int position) const { return model_.CellValue(dataRow, position); }
  void SetCellValue(int dataRow, const std::wstring& key, const GridValue& v) { model_.SetCellValue(dataRow, key, v); }
  void SetCellValue(int dataRow, int position, const GridValue& v) { model_.SetCellValue(dataRow, position, v); }
  RowRef CurrentRow() const { return model_.CurrentRow(); }
  bool HasCurrentRow() const { return model_.HasCurrentRow(); }

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
  // Lays the columns first..last out again (repaints them); raises for a bad range.
  void LayoutColumns(int first, int last);
  bool Redraw() const { return model_.Redraw; }
  void SetRedraw(bool on);

  // Export: (file, 3, 2) a spreadsheet, (file, 2, 2, separator) delimited text.
  void ExportData(const std::wstring& file, int format, int what, const std::wstring& separator = L",") const {
    grid::ExportData(model_, file, format, what, separator);
  }

  // Printing: the settings, then the grid rendered as pages into the settings' viewer.
  PrintSettings& Print() { return print_; }
  void PrintPreview();

  // Events.
  std::function<void(int column)> HeadClick;
  std::function<void()> DblClick;
  std::function<void()> RowSelected;
  std::function<void(int button, int shift, float x, float y)> MouseUp;

 protected:
  void OnCreated() override;

 private:
  GridModel model_;
  PrintSettings print_;
  std::unique_ptr<GridWindow> window_;
};

}  // namespace vk::grid
