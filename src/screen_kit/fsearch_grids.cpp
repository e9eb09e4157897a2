// The picker's two grids, built once per opening from the current result: the results
// grid (one read-only column per field) and the filter grid (one row per field with a
// tick that shows the column and the text it must contain).
#include "base/steps.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/grid_dictionary.h"
#include "screen_kit/shared_functions.h"

namespace vk {

bool FSearch::SetupDetailGrid() {
  return IgnoreErrors([this] {
    grid::GridControl& g = *c_.GRDetail;
    const Recordset& rs = mRecordSource.value();
    for (long f = 0; f < rs.FieldCount(); ++f) {
      const std::wstring name = rs.FieldName(f);
      grid::GridColumn& column = g.Columns().Add(name);
      column.Caption = name;
      column.ReadOnly = true;
      // 19 % of the grid: five columns fill 95 % of it.
      column.Width = static_cast<float>(g.width() * 95 / 100 * 20 / 100);
    }
    ApplyListStyles(g.Styles());
    g.Refresh();
  });
}

bool FSearch::SetupFilterGrid() {
  return IgnoreErrors([this] {
    grid::GridControl& g = *c_.GRFilter;
    const Recordset& rs = mRecordSource.value();
    const float quarter = static_cast<float>(g.width() / 4);
    grid::GridColumn& tick = g.Columns().Add(L"Seleccionado");
    tick.Caption = L"Seleccionado";
    tick.DataType = grid::kTypeBoolean;
    tick.EditorType = grid::kEditCheckBox;
    tick.Width = quarter;
    grid::GridColumn& name = g.Columns().Add(L"Columna");
    name.Caption = L"Columna";
    name.ReadOnly = true;
    name.Width = quarter;
    grid::GridColumn& text = g.Columns().Add(L"Desde");
    text.Caption = L"Valor";
    text.ReadOnly = false;
    text.Width = quarter;
    g.SetDataRowCount(0);
    g.SetDataRowCount(rs.FieldCount());
    for (long f = 0; f < rs.FieldCount(); ++f) {
      g.SetCellValue(f, 1, Variant(1L));  // the Boolean column presents it as True
      g.SetCellValue(f, 2, BlankIfNoDate(Variant(rs.FieldName(f))));
    }
    ApplyListStyles(g.Styles());
    g.Refresh();
  });
}

}  // namespace vk
