#include "screen_kit/grid_dictionary.h"

#include <optional>
#include <string>

#include "base/steps.h"
#include "base/variant.h"
#include "screen_kit/data_access.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk {
namespace {

using grid::GridColumn;
using grid::GridValue;

// Fills a drop-down column's list from a SELECT (first field stored, second shown) or
// from a fixed "value:text|value:text" list.
void LoadValueList(GridColumn& column, const std::wstring& relation, const std::optional<DataAccess>& data) {
  if (relation.find(L'|') == std::wstring::npos) {
    if (!data) return;
    auto list = data->GetData(Shared().gApplicationName, relation);
    if (!list) return;  // no recordset: the list stays empty, nothing reported
    if (list->RecordCount() == 0) return;
    list->MoveFirst();
    while (!list->IsEOF()) {
      column.AddValueItem(GridValue(list->Field(0L).get()), list->Field(1L).toText());
      list->MoveNext();
    }
    return;
  }
  int pieces = 1;
  for (wchar_t c : relation) pieces += c == L'|';
  column.DropDownRows = pieces;
  size_t start = 0;
  while (true) {
    const size_t bar = relation.find(L'|', start);
    const std::wstring piece = relation.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start);
    column.AddValueItem(GridValue(GetField(piece, L":", 0)), GetField(piece, L":", 1));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
}

void ApplyEditor(GridColumn& column, const std::wstring& screenType, const Recordset& row,
                 const std::optional<DataAccess>& data) {
  if (screenType == L"CheckBox") {
    column.DataType = grid::kTypeBoolean;
    column.EditorType = grid::kEditCheckBox;
    column.Style().PictureAlignment = grid::kAlignLeft;
  } else if (screenType == L"ComboBox") {
    column.EditorType = grid::kEditDropDownList;
    column.ListMode = 0;
    column.DropDownRows = 20;
    LoadValueList(column, CStr(row.Field(L"RelationSentence")), data);
  } else if (screenType == L"ListBox") {
    column.EditorType = grid::kEditDropDownList;
    column.ListMode = 0;
  } else if (screenType == L"DTPicker") {
    column.DataType = grid::kTypeDate;
    column.SortType = grid::kSortDate;
    column.EditorType = grid::kEditDatePicker;
  }
}

void ApplyDataType(GridColumn& column, long sqlType) {
  switch (sqlType) {
    case 11: case 131: case 6: case 3:
      column.SortType = grid::kSortNumeric;
      column.Style().Format = L"FormatText Event";
      break;
    case 135:
      column.SortType = grid::kSortDate;
      column.DataType = grid::kTypeDate;
      break;
    case 200: case 201:
      column.SortType = grid::kSortText;
      column.DataType = grid::kTypeText;
      break;
    default:
      break;
  }
}

int AlignmentCode(const Variant& alignment) {
  // Null, empty text and any other code give the left alignment.
  const long code = IsNumeric(alignment) ? CLng(alignment) : 0;
  return code == 1 ? grid::kAlignCenter : code == 2 ? grid::kAlignRight : grid::kAlignLeft;
}

void AddColumn(grid::GridMembers& grid, double gridWidth, const Recordset& row, const std::optional<DataAccess>& data) {
  GridColumn& column = grid.Columns().Add(CStr(row.Field(L"FieldName")));
  const Variant screenType = row.Field(L"ScreenType");  // Null matches no kind
  ApplyEditor(column, screenType.isNull() ? std::wstring() : CStr(screenType), row, data);
  const Variant sqlType = row.Field(L"SQLDataType");  // Null is no type: the default treatment
  ApplyDataType(column, sqlType.isNull() ? 0 : CLng(sqlType));
  column.Style().TextAlignment = AlignmentCode(row.Field(L"Alignment"));
  column.Caption = CStr(row.Field(L"FieldCaption"));
  // The lists rely on a column that is not enabled being read-only for the user.
  column.ReadOnly = !CBool(row.Field(L"IsEnabled"));
  const bool visible = CBool(row.Field(L"IsVisible"));
  column.Hidden = !visible;
  const Variant share = row.Field(L"ColumnWidth");
  column.Width = static_cast<float>(gridWidth * CDbl(share) / 100.0);
  column.Tag = visible ? GridValue(share.get()) : GridValue(0L);
  column.MaxLength = CLng(row.Field(L"Length"));
}

void SetStyle(grid::StyleCollection& styles, const wchar_t* name, COLORREF back, COLORREF back2) {
  grid::GridStyle& s = styles.Item(name);
  s.BackColor = back;
  s.BackColor2 = back2;
  s.BackgroundStyle = grid::kBackgroundGradient;
}

}  // namespace

void ApplyListStyles(grid::StyleCollection& styles) {
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  for (const wchar_t* name : {L"Frozen", L"Normal"}) {
    SetStyle(styles, name, white, white);
    grid::GridStyle& s = styles.Item(name);
    s.BorderColor = black;
    const int alpha[4] = {255, 224, 255, 255};
    std::copy(alpha, alpha + 4, s.Transparency);
  }
  SetStyle(styles, L"GridBackground", white, RGB(239, 244, 252));
  styles.Item(L"GridBackground").Transparency[2] = 255;

  SetStyle(styles, L"Heading", RGB(168, 186, 218), RGB(211, 220, 236));
  grid::GridStyle& heading = styles.Item(L"Heading");
  heading.ForeColor = RGB(2, 45, 123);
  grid::StyleFont& font = heading.OwnFont();
  font.name = L"verdana";
  font.size = 9.0f;
  font.bold = true;

  struct Selection { const wchar_t* name; COLORREF back, back2, border; };
  for (const Selection& sel : {Selection{L"Selection", RGB(253, 252, 238), RGB(250, 247, 220), RGB(225, 213, 102)},
                               Selection{L"InactiveSelection", RGB(247, 247, 248), RGB(238, 239, 241),
                                         RGB(207, 210, 214)}}) {
    SetStyle(styles, sel.name, sel.back, sel.back2);
    grid::GridStyle& s = styles.Item(sel.name);
    s.ForeColor = black;
    s.BorderColor = sel.border;
    s.OwnFont().bold = true;
  }
  SetStyle(styles, L"Tip", RGB(255, 255, 0), RGB(255, 0, 0));
}

bool SetupGridFromDictionary(grid::GridMembers& grid, double gridWidth, const Recordset* rows) {
  // The grid-wide options of the original control (selection, scroll and header modes)
  // are this grid's defaults already.
  if (!rows) return false;
  // Created for the value-list queries; released on every way out with this scope.
  const std::optional<DataAccess> data = DataAccess::Create();
  return IgnoreErrors([&] {
    if (!data) Raise(err::ObjectRequired);
    rows->MoveFirst();
    while (!rows->IsEOF()) {
      AddColumn(grid, gridWidth, *rows, data);
      rows->MoveNext();
    }
    ApplyListStyles(grid.Styles());
  });
}

void FitColumnsToShares(grid::GridControl& grid) {
  grid::ColumnCollection& columns = grid.Columns();
  for (int position = 1; position < columns.Count(); ++position) {
    IgnoreErrors([&] {
      GridColumn& column = columns.Item(position);
      column.Width = static_cast<float>(grid.width() * CDbl(Variant(column.Tag.get())) / 100.0);
    });
  }
}

}  // namespace vk
