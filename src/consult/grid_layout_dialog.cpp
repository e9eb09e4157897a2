#include "consult/grid_layout_dialog.h"

#include <cfloat>
#include <cmath>
#include <iterator>
#include <vector>

#include "base/steps.h"
#include "runtime/twips.h"
#include "screen_kit/message_box.h"

namespace vk::consult {
namespace {

constexpr double kFormWidth = 8400, kFormHeight = 5300;
constexpr double kButtonTop = 4800, kButtonWidth = 1215, kButtonHeight = 375;

struct FlexColumn {
  const wchar_t* key;
  const wchar_t* caption;
  int alignment;
};
// In FlexData's order, from position 1.
const FlexColumn kFlexColumns[] = {
    {L"FColumnId", L"Columna", grid::kAlignLeft},  {L"FCaption", L"Nombre", grid::kAlignLeft},
    {L"FVisible", L"Visibilidad", grid::kAlignCenter}, {L"FWidth", L"Ancho", grid::kAlignRight},
    {L"FAlign", L"Alineación", grid::kAlignRight},
};

struct AlignmentName {
  long code;
  const wchar_t* name;
};
const AlignmentName kAlignments[] = {
    {grid::kAlignGeneral, L"Sin Alinear"}, {grid::kAlignLeft, L"Izquierda"},
    {grid::kAlignCenter, L"Centro"},       {grid::kAlignRight, L"Derecha"},
};

bool KnownAlignment(long code) {
  for (const auto& a : kAlignments)
    if (a.code == code) return true;
  return false;
}

// A fixed-size dialog: the frame takes no sizing and the title bar no maximise box.
void FixSize(HWND window, double scaleWidth, double scaleHeight) {
  const LONG style = GetWindowLongW(window, GWL_STYLE) & ~(WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
  SetWindowLongW(window, GWL_STYLE, style);
  RECT r{0, 0, TwipsToPixels(scaleWidth), TwipsToPixels(scaleHeight)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// One row of FlexData as it goes back to a column.
struct ColumnLayout {
  std::wstring caption;
  bool hidden = false;
  float width = 0;
  int alignment = 0;
};

}  // namespace

FGridLayout::FGridLayout()
    : Form({.name = L"FGridLayout", .caption = L"", .scaleWidth = kFormWidth, .scaleHeight = kFormHeight}) {
  FixSize(hwnd(), kFormWidth, kFormHeight);
  frame_ = &Add<hosted::Frame>({.name = L"FrameControl", .left = 60, .top = 60, .width = 8280, .height = 4620});
  flexData_ = &Add<grid::GridControl>(
      {.name = L"FlexData", .left = 120, .top = 420, .width = 8040, .height = 4080, .container = frame_});
  for (const FlexColumn& c : kFlexColumns) {
    grid::GridColumn& column = flexData_->Columns().Add(c.key);
    column.Caption = c.caption;
    column.Width = 1200;
  }
  flexData_->Columns().Item(kVisible).DataType = grid::kTypeBoolean;
  // The key is never written back: editing it would be lost.
  flexData_->Columns().Item(kColumnId).ReadOnly = true;

  const double right = 60 + 8280;
  auto button = [&](const wchar_t* name, int fromRight, const wchar_t* caption) {
    const double left = right - fromRight * (kButtonWidth + 90) + 90;
    return &Add<hosted::CommandButton>(
        {.name = name, .left = left, .top = kButtonTop, .width = kButtonWidth, .height = kButtonHeight}, caption);
  };
  apply_ = button(L"cmdAplicar", 3, L"&Aplicar");
  accept_ = button(L"cmdAceptar", 2, L"&Aceptar");
  cancel_ = button(L"cmdCancelar", 1, L"&Cancelar");
  apply_->Click.Connect([this](int) { cmdAplicar_Click(); });
  accept_->Click.Connect([this](int) { cmdAceptar_Click(); });
  cancel_->Click.Connect([this](int) { cmdCancelar_Click(); });
  // No default button: Enter in the grid edits the cell.
  setCancelButton(cancel_);
}

bool FGridLayout::ShowForm() {
  HWND owner = nullptr;
  gridForm_.reset();
  gridOnForm_ = false;
  if (auto* control = dynamic_cast<Control*>(mGrid)) {
    if (!control->form().loaded()) return false;  // its screen is gone: nothing to lay out
    owner = control->form().hwnd();
    gridForm_ = control->form().weak_from_this();
    gridOnForm_ = true;
  }
  ListColumns();
  Show(ShowMode::Modal, owner);
  return false;
}

void FGridLayout::ListColumns() {
  grid::GridControl& list = *flexData_;
  const grid::GridMembers* source = mGrid;
  const int count = source ? source->Columns().Count() : 1;
  IgnoreErrors([&] {
    list.RemoveAllRows();
    list.SetDataRowCount(count - 1);
  });
  for (int i = 1; i < count; ++i) {
    const int row = i - 1;
    const grid::GridColumn* column = nullptr;
    IgnoreErrors([&] { column = &source->Columns().Item(i); });
    if (!column) continue;
    RunEachStep({
        [&] { list.SetValue(row, kColumnId - 1, grid::GridValue(column->Key)); },
        [&] { list.SetValue(row, kCaption - 1, grid::GridValue(column->Caption)); },
        [&] { list.SetValue(row, kVisible - 1, grid::GridValue::Bool(!column->Hidden)); },
        [&] { list.SetValue(row, kWidth - 1, grid::GridValue(static_cast<double>(column->Width))); },
        [&] {
          list.SetValue(row, kAlign - 1, grid::GridValue(static_cast<long>(column->Style().TextAlignment.value_or(0))));
        },
    });
  }
  IgnoreErrors([&] {
    grid::ColumnCollection& columns = list.Columns();
    columns.Item(kColumnId).Option = true;
    for (int p = kColumnId; p <= kAlign; ++p) columns.Item(p).Style().TextAlignment = kFlexColumns[p - 1].alignment;
    grid::GridColumn& align = columns.Item(kAlign);
    align.ValueItems.clear();
    for (const auto& a : kAlignments) align.AddValueItem(grid::GridValue(a.code), a.name);
    align.ListMode = 3;
  });
  IgnoreErrors([&] { list.LayoutColumns(1, 5); });
  const std::wstring title = L"Parametrización de la Tabla : " + mTable;
  frame_->SetCaption(title);
  setCaption(title);
}

bool FGridLayout::Apply() {
  if (!mGrid) return false;
  if (gridOnForm_) {
    auto screen = gridForm_.lock();
    if (!screen || !screen->loaded()) return false;  // the grid went with its screen
  }
  grid::GridControl& list = *flexData_;
  if (list.Window()) list.Window()->EndEdit(true);  // a cell still being edited counts

  // Every row is read and checked before any column changes.
  const int rows = std::min(list.DataRowCount(), mGrid->Columns().Count() - 1);
  std::vector<ColumnLayout> layout(static_cast<size_t>(std::max(rows, 0)));
  for (int r = 0; r < rows; ++r) {
    ColumnLayout& row = layout[static_cast<size_t>(r)];
    int bad = 0;
    const Variant caption = list.CellValue(r, kCaption);
    row.caption = caption.isNull() ? std::wstring() : caption.toText();
    if (!IgnoreErrors([&] { row.hidden = !list.CellValue(r, kVisible).toBool(); })) bad = kVisible;
    double width = -1;
    IgnoreErrors([&] { width = list.CellValue(r, kWidth).toDouble(); });
    if (!bad && !(std::isfinite(width) && width >= 0 && width <= FLT_MAX)) bad = kWidth;
    long alignment = -1;
    IgnoreErrors([&] { alignment = list.CellValue(r, kAlign).toLong(); });
    if (!bad && !KnownAlignment(alignment)) bad = kAlign;
    if (bad) {
      RefuseRow(r, bad);
      return false;
    }
    row.width = static_cast<float>(width);
    row.alignment = static_cast<int>(alignment);
  }

  grid::ColumnCollection& columns = mGrid->Columns();
  for (int r = 0; r < rows; ++r) {
    const ColumnLayout& row = layout[static_cast<size_t>(r)];
    grid::GridColumn& column = columns.Item(r + 1);
    column.Caption = row.caption;
    column.Hidden = row.hidden;
    column.Width = row.width;
    column.Style().TextAlignment = row.alignment;
  }
  return true;
}

void FGridLayout::RefuseRow(int dataRow, int position) {
  grid::GridControl& list = *flexData_;
  std::wstring column;
  IgnoreErrors([&] { column = list.CellValue(dataRow, kColumnId).toText(); });
  std::wstring rule;
  if (position == kWidth) {
    rule = L"el Ancho debe ser un número mayor o igual que 0.";
  } else if (position == kAlign) {
    rule = L"la Alineación debe ser ";
    for (size_t i = 0; i < std::size(kAlignments); ++i)
      rule += (i == 0 ? L"" : i + 1 == std::size(kAlignments) ? L" o " : L", ") + std::wstring(kAlignments[i].name);
    rule += L".";
  } else {
    rule = L"la Visibilidad debe ser True o False.";
  }
  ShowMessage(L"Fila " + std::to_wstring(dataRow + 1) + L" (" + column + L"): " + rule, msg::Information, L"Ostrela");
  if (!loaded()) return;  // closed while the message was up
  IgnoreErrors([&] { list.Model().SetCurrentDataRow(dataRow); });
  if (grid::GridWindow* window = list.Window()) {
    window->EnsureVisible(list.Model().DisplayRowOf(dataRow));
    window->BeginEdit(position);  // the bad value, selected in the cell's editor
  }
}

void FGridLayout::cmdAceptar_Click() {
  if (Apply()) cmdCancelar_Click();
}

}  // namespace vk::consult
