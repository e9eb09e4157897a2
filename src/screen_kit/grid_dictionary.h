#pragma once
// Builds a list grid's columns from rows of the column dictionary (DictionaryFields),
// then gives the grid the list screens' named styles. The document lists call it once
// while they are built; the search picker shares the styles.
#include "hosted/grid/grid_control.h"
#include "hosted/grid/grid_members.h"
#include "hosted/grid/grid_style.h"

namespace vk {

class Recordset;

// Appends one column per dictionary row (FieldName, FieldCaption, ScreenType,
// SQLDataType, RelationSentence, Alignment, IsEnabled, IsVisible, ColumnWidth, Length)
// to `grid`, whose width as a control is `gridWidth` twips, then sets the styles.
// False when `rows` is null or a step fails (the columns made so far stay, the
// styles are then not set). Value-list queries run on the application key.
bool SetupGridFromDictionary(grid::GridMembers& grid, double gridWidth, const Recordset* rows);
inline bool SetupGridFromDictionary(grid::GridControl& grid, const Recordset* rows) {
  return SetupGridFromDictionary(grid, grid.width(), rows);
}

// Gives every data column of `grid` its share of the grid's width again: the
// percentage in its Tag (SetupGridFromDictionary's ColumnWidth, or a screen's own). A
// column whose Tag is no number keeps its width.
void FitColumnsToShares(grid::GridControl& grid);

// The named styles of the list grids (Frozen, Normal, GridBackground, Heading,
// Selection, InactiveSelection, Tip): light two-tone gradients, a bold heading.
void ApplyListStyles(grid::StyleCollection& styles);

}  // namespace vk
