// The column layout dialog over a screen's grid, driven through its real windows while
// it runs modally: the listing, edits in FlexData's cells, Aplicar, Aceptar, Cancelar
// and rows that do not hold.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "consult/grid_layout_dialog.h"
#include "hosted/grid/cell_editor.h"
#include "hosted/window_driver.h"
#include "screen_kit/message_box.h"

namespace vk::consult {
namespace {
using Col = FGridLayout::Column;

// A screen with three columns; the second hidden, the first two with their own alignment.
struct Screen {
  std::shared_ptr<test::TestForm> form = Form::Load<test::TestForm>(9600.0, 7200.0);
  grid::GridControl& grid = form->Add<grid::GridControl>(test::At(200, 200, 9000, 5000, L"GRDetail"));
  explicit Screen(int columns = 3) {
    form->Show();
    const wchar_t* keys[] = {L"DocumentoId", L"Usuario", L"Fecha"};
    for (int i = 0; i < columns; ++i) grid.Columns().Add(keys[i]).Caption = keys[i];
    if (columns == 0) return;
    At(1).Style().TextAlignment = grid::kAlignLeft;
    At(2).Hidden = true;
    At(3).Style().TextAlignment = grid::kAlignCenter;
    At(3).Width = 1500;
  }
  ~Screen() { form->Unload(); }
  grid::GridColumn& At(int position) { return grid.Columns().Item(position); }
};

void RunDialog(Screen& screen, const std::function<void(FGridLayout&)>& act) {
  auto dialog = Form::Load<FGridLayout>();
  dialog->mTable = L"Log de Eventos del Sistema";
  dialog->mGrid = &screen.grid;
  auto poke = test::ActWhenShown(L"FGridLayout", [&](Form&) { act(*dialog); });
  EXPECT_FALSE(dialog->ShowForm());
  dialog->Unload();
}

grid::GridWindow& Window(FGridLayout& d) { return *d.FlexData().Window(); }

// As the user does: a click on a tick turns it over; elsewhere a click makes the row
// current, the next opens the cell's editor, which takes the text (or, for the
// alignment, the item at that digit) and Enter.
void Edit(FGridLayout& d, int row, int position, const wchar_t* text = nullptr) {
  const RECT cell = Window(d).CellRect(row, position);
  if (position == Col::kVisible) return test::ClickIn(Window(d).hwnd(), cell);
  for (int click = 0; click < 2 && !Window(d).Editing(); ++click) test::ClickIn(Window(d).hwnd(), cell);
  if (!text) return;
  ASSERT_TRUE(Window(d).Editing());
  HWND editor = Window(d).Editor()->hwnd();
  if (position == Col::kAlign) SendMessageW(editor, CB_SETCURSEL, static_cast<WPARAM>(text[0] - L'0'), 0);
  else SetWindowTextW(editor, text);
  test::Key(editor, VK_RETURN);
}

void Press(hosted::CommandButton& button) { SendMessageW(button.inner(), BM_CLICK, 0, 0); }

TEST(GridLayoutDialog, ListsEveryDataColumnOverItsScreen) {
  for (int columns : {3, 0}) {  // none: only the head column, which is never listed
    Screen screen(columns);
    std::vector<std::wstring> rows;
    std::wstring frame;
    bool screenDisabled = false, keyEditable = true;
    RunDialog(screen, [&](FGridLayout& d) {
      for (int r = 0; r < d.FlexData().DataRowCount(); ++r) {
        rows.emplace_back();
        for (int p = Col::kColumnId; p <= Col::kAlign; ++p) rows.back() += d.FlexData().Model().CellText(r, p) + L"|";
      }
      frame = d.FrameControl().Caption();
      screenDisabled = !IsWindowEnabled(screen.form->hwnd());
      if (columns) Edit(d, 0, Col::kColumnId);
      keyEditable = Window(d).Editing();
    });
    const std::vector<std::wstring> expected = {L"DocumentoId|DocumentoId|True|1200|Izquierda|",
                                                L"Usuario|Usuario|False|1200|Sin Alinear|",
                                                L"Fecha|Fecha|True|1500|Centro|"};
    EXPECT_EQ(rows, columns ? expected : std::vector<std::wstring>{});
    EXPECT_EQ(frame, L"Parametrización de la Tabla : Log de Eventos del Sistema");
    EXPECT_TRUE(screenDisabled && IsWindowEnabled(screen.form->hwnd()));
    EXPECT_FALSE(keyEditable);  // never written back, so never edited
  }
}

TEST(GridLayoutDialog, AplicarWritesEveryRowCancelarKeepsItAndAceptarAppliesAndCloses) {
  Screen screen;
  bool hiddenByFirstApply = false;
  RunDialog(screen, [&](FGridLayout& d) {
    Edit(d, 0, Col::kCaption, L"Doc.");
    Edit(d, 0, Col::kVisible);  // a click on the tick hides it
    Edit(d, 2, Col::kAlign, L"3");  // "Derecha"
    Press(d.cmdAplicar());
    hiddenByFirstApply = screen.At(1).Hidden;
    Edit(d, 0, Col::kVisible);
    Edit(d, 2, Col::kAlign, L"2");  // "Centro"
    Press(d.cmdAplicar());
    Edit(d, 2, Col::kWidth, L"2500");  // typed, never applied
    Press(d.cmdCancelar());
    EXPECT_FALSE(d.loaded());
  });
  EXPECT_TRUE(hiddenByFirstApply);
  EXPECT_EQ(screen.At(1).Caption, L"Doc.");
  EXPECT_FALSE(screen.At(1).Hidden);
  EXPECT_TRUE(screen.At(2).Hidden);  // rows left alone go back as they were
  EXPECT_EQ(screen.At(3).Style().TextAlignment, grid::kAlignCenter);
  EXPECT_EQ(screen.At(3).Width, 1500.0f);

  RunDialog(screen, [&](FGridLayout& d) {
    Edit(d, 1, Col::kWidth, L"1800");
    Press(d.cmdAceptar());
    EXPECT_FALSE(d.loaded());
  });
  EXPECT_EQ(screen.At(2).Width, 1800.0f);
}

TEST(GridLayoutDialog, EscClosesLikeCancelar) {
  Screen screen;
  bool closed = false;
  RunDialog(screen, [&](FGridLayout& d) {
    Edit(d, 0, Col::kCaption, L"Doc.");
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);  // through the dialog's loop
    test::Pump();
    closed = !d.loaded();
  });
  EXPECT_TRUE(closed);
  EXPECT_EQ(screen.At(1).Caption, L"DocumentoId") << "nothing applied";
}

TEST(GridLayoutDialog, ARowThatDoesNotHoldAppliesNothingSaysWhyAndSelectsItsCell) {
  const std::wstring width = L"Fila 2 (Usuario): el Ancho debe ser un número mayor o igual que 0.|64|Ostrela";
  const struct {
    const wchar_t* width;  // typed into row 1, or nullptr
    int storedAlignment;   // of the third column
    int badRow;
    std::wstring message;
  } cases[] = {{L"abc", 5, 1, width},
               {L"-5", 5, 1, width},
               {L"", 5, 1, width},
               {nullptr, 7, 2, L"Fila 3 (Fecha): la Alineación debe ser Sin Alinear, Izquierda, Centro o Derecha.|64|Ostrela"}};
  for (const auto& c : cases) {
    Screen screen;
    screen.At(3).Style().TextAlignment = c.storedAlignment;
    std::vector<std::wstring> messages;
    ScopedMessageBox box([&](const std::wstring& text, long style, const std::wstring& title) {
      messages.push_back(text + L"|" + std::to_wstring(style) + L"|" + title);
      return msg::OK;
    });
    RunDialog(screen, [&](FGridLayout& d) {
      Edit(d, 0, Col::kCaption, L"Doc.");
      if (c.width) Edit(d, 1, Col::kWidth, c.width);
      Press(d.cmdAceptar());
      EXPECT_TRUE(d.loaded() && Window(d).Editing()) << c.badRow;
      EXPECT_EQ(d.FlexData().CurrentRow().Index, c.badRow);
    });
    EXPECT_EQ(messages, std::vector<std::wstring>{c.message});
    EXPECT_EQ(screen.At(1).Caption, L"DocumentoId");
  }
}

}  // namespace
}  // namespace vk::consult
