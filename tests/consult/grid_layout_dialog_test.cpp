// The column layout dialog over a screen's grid, driven through its real windows while
// it runs modally: the listing, edits in FlexData's cells, Aplicar, Aceptar, Cancelar,
// rows that do not hold, and the dialog going with its screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "consult/grid_layout_dialog.h"
#include "hosted/grid/cell_editor.h"
#include "hosted/window_driver.h"
#include "runtime/timer.h"

namespace {

using namespace vk;
using grid::GridControl;
using Col = FGridLayout::Column;

// A screen with the audit grid's first three columns.
struct Screen {
  std::shared_ptr<test::TestForm> form = Form::Load<test::TestForm>(9600.0, 7200.0);
  GridControl& grid = form->Add<GridControl>(test::At(200, 200, 9000, 5000, L"GRDetail"));

  explicit Screen(bool withColumns = true) {
    form->Show();
    if (!withColumns) return;
    Column(L"DocumentoId", L"Documento", 2000, grid::kAlignLeft);
    Column(L"Usuario", L"Usuario", 1000, std::nullopt).Hidden = true;
    Column(L"Fecha", L"Fecha", 1500, grid::kAlignCenter);
  }
  ~Screen() { form->Unload(); }
  grid::GridColumn& Column(const wchar_t* key, const wchar_t* caption, float width, std::optional<int> align) {
    grid::GridColumn& c = grid.Columns().Add(key);
    c.Caption = caption;
    c.Width = width;
    c.Style().TextAlignment = align;
    return c;
  }
  grid::GridColumn& At(int position) { return grid.Columns().Item(position); }
};

// Opens the dialog on `grid` and runs `act` once it is up; a dialog that `act` leaves
// open is closed afterwards, so no test hangs.
void RunDialog(grid::GridMembers* grid, const std::function<void(FGridLayout&)>& act) {
  auto dialog = Form::Load<FGridLayout>();
  dialog->mTable = L"Log de Eventos del Sistema";
  dialog->mGrid = grid;
  Timer poke(20);
  poke.Tick.Connect([&] {
    poke.setEnabled(false);
    act(*dialog);
    if (dialog->loaded()) dialog->Unload();
  });
  EXPECT_FALSE(dialog->ShowForm());
  dialog->Unload();
}

grid::GridWindow& Window(FGridLayout& d) { return *d.FlexData().Window(); }
RECT Cell(FGridLayout& d, int row, int position) { return Window(d).CellRect(row, position); }

// The user's way into a cell: a click makes the row current, a second one edits.
HWND OpenEditor(FGridLayout& d, int row, int position) {
  test::ClickIn(Window(d).hwnd(), Cell(d, row, position));
  test::ClickIn(Window(d).hwnd(), Cell(d, row, position));
  return Window(d).Editing() ? Window(d).Editor()->hwnd() : nullptr;
}

void TypeInCell(FGridLayout& d, int row, int position, const wchar_t* text) {
  HWND editor = OpenEditor(d, row, position);
  ASSERT_NE(editor, nullptr);
  SetWindowTextW(editor, text);
  test::Key(editor, VK_RETURN);
}

void ChooseInCell(FGridLayout& d, int row, int itemIndex) {
  HWND editor = OpenEditor(d, row, Col::kAlign);
  ASSERT_NE(editor, nullptr);
  SendMessageW(editor, CB_SETCURSEL, static_cast<WPARAM>(itemIndex), 0);
  test::Key(editor, VK_RETURN);
}

void ToggleVisible(FGridLayout& d, int row) { test::ClickIn(Window(d).hwnd(), Cell(d, row, Col::kVisible)); }

void Press(hosted::CommandButton& button) {
  SendMessageW(button.inner(), BM_CLICK, 0, 0);
  test::Pump();
}

TEST(GridLayoutDialog, ListsEveryDataColumnOverItsScreen) {
  Screen screen;
  struct Row {
    std::wstring key, caption;
    bool visible;
    double width;
    std::wstring alignment;  // as shown
  };
  std::vector<Row> rows;
  std::wstring frameCaption;
  bool screenDisabled = false;
  RunDialog(&screen.grid, [&](FGridLayout& d) {
    GridControl& list = d.FlexData();
    for (int r = 0; r < list.DataRowCount(); ++r) {
      rows.push_back({list.CellValue(r, Col::kColumnId).toText(), list.CellValue(r, Col::kCaption).toText(),
                      list.CellValue(r, Col::kVisible).toBool(), list.CellValue(r, Col::kWidth).toDouble(),
                      list.Model().CellText(r, Col::kAlign)});
    }
    frameCaption = d.FrameControl().Caption();
    screenDisabled = !IsWindowEnabled(screen.form->hwnd());
    EXPECT_EQ(list.Columns().Count(), 6);
    EXPECT_EQ(list.Columns().Item(Col::kAlign).ListMode, 3);
    EXPECT_TRUE(list.Columns().Item(Col::kColumnId).Option);
    EXPECT_EQ(list.Columns().Item(Col::kVisible).Style().TextAlignment, grid::kAlignCenter);
    EXPECT_EQ(list.Columns().Item(Col::kWidth).Style().TextAlignment, grid::kAlignRight);
    // The key is shown, never edited.
    EXPECT_EQ(OpenEditor(d, 0, Col::kColumnId), nullptr);
  });
  const std::vector<Row> expected = {{L"DocumentoId", L"Documento", true, 2000, L"Izquierda"},
                                     {L"Usuario", L"Usuario", false, 1000, L"Sin Alinear"},
                                     {L"Fecha", L"Fecha", true, 1500, L"Centro"}};
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].key, expected[i].key);
    EXPECT_EQ(rows[i].caption, expected[i].caption);
    EXPECT_EQ(rows[i].visible, expected[i].visible) << i;
    EXPECT_EQ(rows[i].width, expected[i].width) << i;
    EXPECT_EQ(rows[i].alignment, expected[i].alignment) << i;
  }
  EXPECT_EQ(frameCaption, L"Parametrización de la Tabla : Log de Eventos del Sistema");
  EXPECT_TRUE(screenDisabled);
  EXPECT_TRUE(IsWindowEnabled(screen.form->hwnd()));

  // Only the head column: nothing to list.
  Screen bare(false);
  int listed = -1;
  RunDialog(&bare.grid, [&](FGridLayout& d) { listed = d.FlexData().DataRowCount(); });
  EXPECT_EQ(listed, 0);
}

TEST(GridLayoutDialog, AplicarWritesEveryRowAndCancelarKeepsWhatWasApplied) {
  Screen screen;
  bool openAfterApply = false, closedByCancel = false;
  float widthAfterFirstApply = 0;
  bool hiddenAfterFirstApply = false;
  RunDialog(&screen.grid, [&](FGridLayout& d) {
    TypeInCell(d, 0, Col::kCaption, L"Doc.");
    ToggleVisible(d, 0);
    ChooseInCell(d, 2, 3);  // "Derecha"
    Press(d.cmdAplicar());
    openAfterApply = d.loaded();
    hiddenAfterFirstApply = screen.At(1).Hidden;
    widthAfterFirstApply = screen.At(3).Width;
    ToggleVisible(d, 0);  // shown again
    ChooseInCell(d, 2, 2);  // "Centro"
    Press(d.cmdAplicar());
    TypeInCell(d, 2, Col::kWidth, L"2500");  // typed, never applied
    Press(d.cmdCancelar());
    closedByCancel = !d.loaded();
  });
  EXPECT_TRUE(openAfterApply);
  EXPECT_TRUE(closedByCancel);
  EXPECT_TRUE(hiddenAfterFirstApply);
  EXPECT_EQ(widthAfterFirstApply, 1500.0f);
  EXPECT_EQ(screen.At(1).Caption, L"Doc.");
  EXPECT_FALSE(screen.At(1).Hidden);
  EXPECT_EQ(screen.At(3).Style().TextAlignment, grid::kAlignCenter);
  EXPECT_EQ(screen.At(3).Width, 1500.0f);
  EXPECT_EQ(screen.At(2).Caption, L"Usuario");
  EXPECT_TRUE(screen.At(2).Hidden);  // rows the user left alone go back as they were
}

TEST(GridLayoutDialog, AceptarAppliesAndCloses) {
  Screen screen;
  bool closed = false;
  RunDialog(&screen.grid, [&](FGridLayout& d) {
    TypeInCell(d, 1, Col::kWidth, L"1800");
    Press(d.cmdAceptar());
    closed = !d.loaded();
  });
  EXPECT_TRUE(closed);
  EXPECT_EQ(screen.At(2).Width, 1800.0f);
}

TEST(GridLayoutDialog, ARowThatDoesNotHoldAppliesNothingAndSelectsItsCell) {
  struct Case {
    const wchar_t* width;   // typed into row 1's width, or nullptr
    int storedAlignment;    // of the third column before the dialog opens
    int badRow, badColumn;
  };
  const Case cases[] = {
      {L"abc", grid::kAlignCenter, 1, Col::kWidth},
      {L"-5", grid::kAlignCenter, 1, Col::kWidth},
      {L"", grid::kAlignCenter, 1, Col::kWidth},
      {nullptr, 7, 2, Col::kAlign},
  };
  for (const Case& c : cases) {
    Screen screen;
    screen.At(3).Style().TextAlignment = c.storedAlignment;
    bool stayedOpen = false, editing = false;
    int currentRow = -1;
    std::wstring caption;
    RunDialog(&screen.grid, [&](FGridLayout& d) {
      TypeInCell(d, 0, Col::kCaption, L"Doc.");
      if (c.width) TypeInCell(d, 1, Col::kWidth, c.width);
      Press(d.cmdAceptar());
      stayedOpen = d.loaded();
      caption = screen.At(1).Caption;
      currentRow = d.FlexData().CurrentRow().Index;
      editing = Window(d).Editing();
      Press(d.cmdCancelar());
    });
    const std::wstring label = c.width ? c.width : L"alignment 7";
    EXPECT_TRUE(stayedOpen) << label;
    EXPECT_EQ(caption, L"Documento") << label;
    EXPECT_EQ(screen.At(1).Caption, L"Documento") << label;
    EXPECT_EQ(currentRow, c.badRow) << label;
    EXPECT_TRUE(editing) << label;
    EXPECT_EQ(screen.At(2).Width, 1000.0f) << label;
  }
}

TEST(GridLayoutDialog, GoesWithTheScreenWhoseGridItLaysOut) {
  auto screen = std::make_unique<Screen>();
  bool closedWithScreen = false;
  RunDialog(&screen->grid, [&](FGridLayout& d) {
    screen->form->Unload();  // the host closes the screen under the dialog
    closedWithScreen = !d.loaded();
  });
  EXPECT_TRUE(closedWithScreen);
  screen.reset();
}

}  // namespace
