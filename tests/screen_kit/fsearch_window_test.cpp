// The search picker driven through its real window under the display: clicks on its
// buttons, tabs, check boxes and grids, keys and typed text, against a copy of the
// sample database with a table of 600 orders. Steps run from a timer while the picker
// is modal, each once no page is being filled.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "base/clock.h"
#include "hosted/grid/cell_editor.h"
#include "hosted/grid/grid_window.h"
#include "hosted/window_driver.h"
#include "runtime/mouse_pointer.h"
#include "runtime/timer.h"
#include "runtime/vk_name.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/fsearch_query.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace {

using namespace vk;

const wchar_t kAppKey[] = L"VkPickerWindow";
// Names Usuario and FechaAlta, so that both boxes can be ticked.
const wchar_t kOrders[] = L"Select PedidoId, Nombre, Usuario, FechaAlta From Pedidos";

// A step returns false to be called again on the next tick (waiting for something).
using Step = std::function<bool(FSearch&)>;
Step Do(std::function<void(FSearch&)> action) {
  return [action](FSearch& p) {
    action(p);
    return true;
  };
}

void Press(hosted::FormControl& button) { SendMessageW(button.inner(), BM_CLICK, 0, 0); }

void ClickCell(grid::GridControl& grid, int row, int position) {
  test::ClickIn(grid.Window()->hwnd(), grid.Window()->CellRect(row, position));
}

std::vector<long> Keys(FSearch& p) {
  std::vector<long> keys;
  auto& g = *p.controls().GRDetail;
  for (int r = 0; r < g.DataRowCount(); ++r) keys.push_back(g.CellValue(r, L"PedidoId").toLong());
  return keys;
}

std::vector<long> Range(long from, long to) {  // inclusive, either direction
  std::vector<long> v;
  for (long k = from;; k += from <= to ? 1 : -1) {
    v.push_back(k);
    if (k == to) break;
  }
  return v;
}

class PickerWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    com_ = new test::ComApartment;
    databases_ = new test::TestDatabases(kAppKey);
    std::wstring error;
    const wchar_t* script[] = {
        L"Create Table Pedidos (PedidoId INTEGER PRIMARY KEY, Nombre VARCHAR(60), Usuario VARCHAR(60), "
        L"FechaAlta DATETIME)",
        L"Insert Into Pedidos (PedidoId, Nombre, Usuario, FechaAlta) "
        L"With Recursive n(i) As (Select 1 Union All Select i + 1 From n Where i < 600) "
        L"Select i, 'Pedido ' || i, Case When i % 2 = 0 Then 'jdoe' Else 'otro' End, "
        L"Case When i > 300 Then '2026-10-01 09:00:00' Else '2026-01-15 09:00:00' End From n",
        L"Update Pedidos Set Nombre = 'O''Brien', Usuario = 'o''neil' Where PedidoId = 5",
    };
    for (const wchar_t* sql : script) ASSERT_TRUE(databases_->Sql(kAppKey, sql, &error)) << error;
  }
  static void TearDownTestSuite() {
    delete databases_;
    delete com_;
  }

  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    HostSeams seams = Seam<HostSeams>::Real();
    seams.logonName = [this] { return user_; };
    seams_ = std::make_unique<ScopedHostSeams>(seams);
  }
  void TearDown() override {
    if (picker_) picker_->Unload();
    test::Pump();
  }

  // Loads the picker as a caller does, runs ShowForm with the steps ticking inside,
  // and leaves the form for the checks (TearDown unloads it).
  FSearch& Run(const std::wstring& sentence, const std::wstring& key, std::vector<Step> steps) {
    picker_ = Form::Load<FSearch>();
    SetWindowLayered(picker_->hwnd());
    picker_->mSentence = sentence;
    picker_->mFieldName = key;
    picker_->mFieldValue = L"";
    size_t next = 0;
    int idle = 0;
    bool inStep = false;
    Timer ticks(20);
    ticks.Tick.Connect([&] {
      FSearch& p = *picker_;
      if (inStep || !p.loaded() || !p.visible() || p.filling()) return;
      inStep = true;
      if (next < steps.size()) {
        if (steps[next](p)) ++next;
      } else if (++idle > 50) {
        ADD_FAILURE() << "the picker stayed open after the last step";
        p.Unload();
      }
      inStep = false;
    });
    picker_->ShowForm();
    ticks.setEnabled(false);
    EXPECT_EQ(next, steps.size()) << "steps left unrun";
    return *picker_;
  }

  static inline test::ComApartment* com_ = nullptr;
  static inline test::TestDatabases* databases_ = nullptr;
  std::unique_ptr<ScopedHostSeams> seams_;
  FixedClock clock_{MakeDate(2026, 12, 7, 10, 30)};
  ClockScope clockScope_{clock_};
  std::wstring user_ = L"jdoe";
  std::vector<std::wstring> messages_;
  ScopedMessageBox box_{[this](const std::wstring& text, long, const std::wstring& title) {
    messages_.push_back(title + L": " + text);
    return msg::OK;
  }};
  std::shared_ptr<FSearch> picker_;
};

TEST_F(PickerWindowTest, OpeningWithoutAWindow) {
  struct Case {
    const wchar_t* sentence;
    const wchar_t* key;
    Variant expected;
    std::vector<std::wstring> messages;
  };
  const std::wstring noData = L"Ostrela: No se han encontrado datos para la consulta";
  const Case cases[] = {
      {L"Select * From Pedidos Where PedidoId = 77", L"PedidoId", Variant(77L), {}},
      {L"Select * From Pedidos Where PedidoId = 77 Order By Nombre", L"PedidoId", Variant(77L), {}},
      // The database finds the column in any case; the picker takes the field by exact name.
      {L"Select * From Pedidos Where PedidoId = 77", L"pedidoid", Variant(), {}},
      // Ordering by a key column that does not exist fails the statement.
      {L"Select * From Pedidos Where PedidoId = 77", L"NoSuchKey", Variant(), {noData}},
      {L"Select * From Pedidos Where PedidoId < 0", L"PedidoId", Variant(), {}},
      {L"Select * From TablaQueNoExiste", L"PedidoId", Variant(), {noData}},
      {L"Select * From Pedidos Where Nombre = 'O''Brien'", L"PedidoId", Variant(5L), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::wstring(c.sentence) + L" / " + c.key);
    messages_.clear();
    FSearch& p = Run(c.sentence, c.key, {});  // a picker that showed would fail as left open
    EXPECT_FALSE(IsWindowVisible(p.hwnd()));
    EXPECT_FALSE(p.controls().IType->visible()) << "the animation never starts";
    EXPECT_EQ(p.oReturn.vt(), c.expected.vt());
    if (!c.expected.isEmpty()) {
      EXPECT_EQ(p.oReturn.toLong(), c.expected.toLong());
    }
    EXPECT_EQ(messages_, c.messages);
    p.Unload();
    picker_.reset();
  }
}

TEST_F(PickerWindowTest, TopFiveHundredNewestFirstTwentyAPageAndPaging) {
  std::vector<std::tuple<std::wstring, long, long, std::vector<long>>> seen;  // command, page, count, keys
  auto record = [&](const std::wstring& what) {
    return Do([&, what](FSearch& p) {
      seen.emplace_back(what, p.currentPage(), p.pageCount(), Keys(p));
      EXPECT_EQ(p.controls().txtPageNumber->Text(), std::to_wstring(p.currentPage())) << what;
      EXPECT_EQ(p.controls().txtPageCount->Text(), std::to_wstring(p.pageCount())) << what;
    });
  };
  auto press = [](hosted::CommandButton* FSearch::Controls::*button) {
    return Do([button](FSearch& p) { Press(*(p.controls().*button)); });
  };
  using C = FSearch::Controls;
  FSearch& p = Run(kOrders, L"PedidoId",
                   {record(L"open"), press(&C::cmdPrevious), record(L"previous on page 1"), press(&C::cmdNext),
                    record(L"next"), press(&C::cmdLast), record(L"last"), press(&C::cmdNext),
                    record(L"next on the last page"), press(&C::cmdPrevious), record(L"previous"),
                    press(&C::cmdFirst), record(L"first"), press(&C::cmdLast),
                    Do([](FSearch& q) { test::Key(q.controls().cboPageSize->inner(), VK_DOWN); }),
                    record(L"page size 40 from the last page"),
                    Do([](FSearch& q) { Press(*q.controls().cmdCancelar); })});
  EXPECT_EQ(p.recordTotal(), 500);
  EXPECT_EQ(p.pageSize(), 40);
  const std::vector<std::tuple<std::wstring, long, long, std::vector<long>>> expected = {
      {L"open", 1, 25, Range(600, 581)},
      {L"previous on page 1", 1, 25, Range(600, 581)},
      {L"next", 2, 25, Range(580, 561)},
      {L"last", 25, 25, Range(120, 101)},
      {L"next on the last page", 25, 25, Range(120, 101)},
      {L"previous", 24, 25, Range(140, 121)},
      {L"first", 1, 25, Range(600, 581)},
      {L"page size 40 from the last page", 13, 13, Range(120, 101)},
  };
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(p.oReturn.isEmpty());
  EXPECT_EQ(p.mFinalSentence,
            L"Select Top 500 * From ( Select PedidoId, Nombre, Usuario, FechaAlta From Pedidos ) A  "
            L"Order By PedidoId Desc");
}

TEST_F(PickerWindowTest, AcceptDoubleClickCancelAndQuit) {
  struct Case {
    const char* what;
    std::function<void(FSearch&)> close;
    Variant key;
    std::wstring filter;
  };
  std::vector<std::wstring> firstPage;
  for (long k = 600; k >= 581; --k) firstPage.push_back(std::to_wstring(k));
  const Case cases[] = {
      {"accept the third row",
       [](FSearch& p) {
         ClickCell(*p.controls().GRDetail, 2, 2);
         Press(*p.controls().cmdAceptar);
       },
       Variant(598L), picker::JoinKeys(firstPage)},
      {"double click the fifth row",
       [](FSearch& p) {
         auto& g = *p.controls().GRDetail;
         const RECT r = g.Window()->CellRect(4, 2);
         SendMessageW(g.Window()->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM((r.left + r.right) / 2, r.top + 2));
         SendMessageW(g.Window()->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, r.top + 2));
       },
       Variant(596L), L""},
      {"accept without a current row", [](FSearch& p) {
         Press(*p.controls().cmdAceptar);  // nothing chosen: the picker stays open
         EXPECT_TRUE(p.visible());
         Press(*p.controls().cmdCancelar);
       },
       Variant(), picker::JoinKeys(firstPage)},
      {"cancel after choosing a row",
       [](FSearch& p) {
         ClickCell(*p.controls().GRDetail, 1, 1);
         Press(*p.controls().cmdCancelar);
       },
       Variant(), L""},
      {"quit", [](FSearch& p) { Press(*p.controls().cmdQuit); }, Variant(), L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FSearch& p = Run(kOrders, L"PedidoId", {Do(c.close)});
    EXPECT_FALSE(IsWindowVisible(p.hwnd()));
    EXPECT_EQ(p.oReturn.vt(), c.key.vt());
    if (!c.key.isEmpty()) {
      EXPECT_EQ(p.oReturn.toLong(), c.key.toLong());
    }
    EXPECT_EQ(p.oReturnFilter, c.filter);
    picker_->Unload();
    picker_.reset();
  }
}

// The keyboard alone, as through a host loop that never calls IsDialogMessage: the
// picker opens on its text box, Tab and Shift+Tab walk it in reading order, Enter
// accepts the current row and Esc cancels.
TEST_F(PickerWindowTest, KeysWalkTheControlsAcceptAndCancel) {
  auto key = [](WPARAM vk, bool shift = false) {
    return Do([vk, shift](FSearch&) {
      BYTE state[256] = {};
      GetKeyboardState(state);
      state[VK_SHIFT] = shift ? 0x80 : 0;
      SetKeyboardState(state);
      PostMessageW(GetFocus(), WM_KEYDOWN, vk, 1);
    });
  };
  std::vector<std::wstring> visits;
  const Step note = Do([&visits](FSearch&) {
    std::wstring name = L"(none)";
    for (HWND w = GetFocus(); w; w = GetParent(w))
      if (Control* c = Control::FromWindow(w)) {
        name = VkNameText(c->name(), c->index());
        break;
      }
    visits.push_back(name);
  });
  const std::vector<std::wstring> order = {
      L"txtSortKey", L"GRDetail", L"cmdFirst", L"cmdPrevious", L"txtPageNumber", L"txtPageCount",
      L"cboPageSize", L"cmdNext", L"cmdLast", L"TContainer", L"chkFilter(0)", L"chkFilter(1)",
      L"cmdFilterClear", L"cmdFilterApply", L"cmdCancelar", L"cmdAceptar", L"cmdMaximizar", L"cmdQuit",
      L"txtSortKey", L"cmdQuit"};
  std::vector<Step> walk = {note};
  for (size_t i = 1; i + 1 < order.size(); ++i) walk.insert(walk.end(), {key(VK_TAB), note});
  walk.insert(walk.end(), {key(VK_TAB, true), note, key(VK_ESCAPE)});
  FSearch& cancelled = Run(kOrders, L"PedidoId", walk);
  EXPECT_EQ(visits, order);
  EXPECT_FALSE(IsWindowVisible(cancelled.hwnd()));
  EXPECT_TRUE(cancelled.oReturn.isEmpty());
  picker_->Unload();

  FSearch& accepted = Run(kOrders, L"PedidoId",
                          {Do([](FSearch& p) { ClickCell(*p.controls().GRDetail, 2, 2); }), key(VK_RETURN)});
  EXPECT_EQ(accepted.oReturn.toLong(), 598);
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_SHIFT] = 0;
  SetKeyboardState(state);
}

// Enter in the filter grid, as through the picker's own loop, edits the row's Valor and
// Enter again keeps what was typed: the picker stays open (Enter on the list accepts,
// above).
TEST_F(PickerWindowTest, EnterEditsAndKeepsAFilterCell) {
  const Step enter = Do([](FSearch&) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); });
  Run(kOrders, L"PedidoId",
      {Do([](FSearch& p) {
         test::ClickIn(p.controls().TContainer->inner(), p.controls().TContainer->TabRect(1));
         ClickCell(*p.controls().GRFilter, 1, 2);  // the read-only Columna: the row only
       }),
       enter,
       Do([](FSearch& p) {
         grid::GridWindow& f = *p.controls().GRFilter->Window();
         ASSERT_TRUE(f.Editing());
         test::Type(f.Editor()->hwnd(), L"Pedido 59");
       }),
       enter,
       Do([](FSearch& p) {
         grid::GridControl& f = *p.controls().GRFilter;
         EXPECT_FALSE(f.Window()->Editing());
         EXPECT_EQ(f.CellValue(1, 3).toText(), L"Pedido 59");
         EXPECT_EQ(GetFocus(), f.Window()->hwnd());
         Press(*p.controls().cmdCancelar);
       })});
  EXPECT_TRUE(picker_->oReturn.isEmpty());
}

TEST_F(PickerWindowTest, AcceptWithTheWholeRowGivesNamesAndValues) {
  // The newest order's columns as a client reads them: oReturn(0, c) the name, (1, c)
  // the value, with the first index 0 to 1 and the second 0 to n - 1.
  const std::vector<std::pair<std::wstring, std::wstring>> row600 = {
      {L"PedidoId", L"600"}, {L"Nombre", L"Pedido 600"}, {L"Usuario", L"jdoe"}, {L"Doble", L"1200"}, {L"Otro", L"600"}};
  const std::pair<const wchar_t*, LONG> cases[] = {
      {L"Select PedidoId From Pedidos", 1}, {L"Select PedidoId, Nombre From Pedidos", 2},
      {L"Select PedidoId, Nombre, Usuario, PedidoId * 2 As Doble, PedidoId As Otro From Pedidos", 5}};
  for (const auto& [sentence, columns] : cases) {
    SCOPED_TRACE(sentence);
    picker_ = Form::Load<FSearch>();
    picker_->mKeySimple = true;
    picker_->mSentence = sentence;
    picker_->mFieldName = L"PedidoId";
    Timer ticks(20);
    ticks.Tick.Connect([&] {
      if (!picker_->visible() || picker_->filling()) return;
      ticks.setEnabled(false);
      ClickCell(*picker_->controls().GRDetail, 0, 1);
      Press(*picker_->controls().cmdAceptar);
    });
    picker_->ShowForm();
    ASSERT_TRUE(picker_->oReturn.isArray());
    SAFEARRAY* a = picker_->oReturn.get().parray;
    ASSERT_EQ(SafeArrayGetDim(a), 2u);
    LONG bounds[4] = {-1, -1, -1, -1};
    SafeArrayGetLBound(a, 1, &bounds[0]);
    SafeArrayGetUBound(a, 1, &bounds[1]);
    SafeArrayGetLBound(a, 2, &bounds[2]);
    SafeArrayGetUBound(a, 2, &bounds[3]);
    EXPECT_EQ(std::vector<LONG>(bounds, bounds + 4), (std::vector<LONG>{0, 1, 0, columns - 1}));
    for (LONG c = 0; c < columns; ++c) {
      for (LONG row : {0L, 1L}) {
        LONG index[2] = {row, c};
        VARIANT v;
        VariantInit(&v);
        EXPECT_HRESULT_SUCCEEDED(SafeArrayGetElement(a, index, &v));
        EXPECT_EQ(Variant::Attach(v).toText(), row == 0 ? row600[c].first : row600[c].second);
      }
    }
    picker_->Unload();
    picker_.reset();
  }
}

TEST_F(PickerWindowTest, AResultThatGoesAwayLeavesAnEmptyPageAndSaysSo) {
  std::wstring error;
  ASSERT_TRUE(databases_->Sql(kAppKey, L"Create Table PedidosPasados As Select * From Pedidos", &error)) << error;
  Run(L"Select * From PedidosPasados", L"PedidoId",
      {Do([&](FSearch& p) {
         // The table goes while the picker is open: applying fails, and so does the
         // query run again without the filters.
         std::wstring dropError;
         ASSERT_TRUE(databases_->Sql(kAppKey, L"Drop Table PedidosPasados", &dropError)) << dropError;
         Press(*p.controls().cmdFilterApply);
       }),
       Do([&](FSearch& p) {
         const std::vector<std::wstring> expected = {L"Ostrela: No se han encontrado datos para la consulta",
                                                     L"Ostrela: No se han encontrado datos para la consulta",
                                                     L"Ostrela: No existe información para Mostar en el Buscador"};
         EXPECT_EQ(messages_, expected);
         EXPECT_EQ(p.controls().GRDetail->DataRowCount(), 0);
         EXPECT_FALSE(p.mRecordSource.has_value());
         Press(*p.controls().cmdCancelar);
       })});
  EXPECT_TRUE(picker_->oReturn.isEmpty());
}

// The cells of listed rows whose pixels, read back from the grid's window, show a
// single colour (nothing drawn in them), as "row,column".
std::vector<std::string> BlankCells(grid::GridControl& g) {
  std::vector<std::string> blank;
  const HWND window = g.Window()->hwnd();
  UpdateWindow(window);  // what is already due is painted; nothing more is asked for
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  for (int row = 0; row < g.DataRowCount(); ++row) {
    for (int position = 1; position < g.Columns().Count(); ++position) {
      const RECT cell = g.Window()->CellRect(row, position);
      if (cell.bottom > client.bottom || cell.right > client.right || cell.right - cell.left < 8) continue;
      const COLORREF first = GetPixel(dc, cell.left + 3, cell.top + 3);
      bool inked = false;
      for (int y = cell.top + 3; y < cell.bottom - 2 && !inked; ++y)
        for (int x = cell.left + 3; x < cell.right - 2 && !inked; ++x) inked = GetPixel(dc, x, y) != first;
      if (!inked) blank.push_back(std::to_string(row) + "," + std::to_string(position));
    }
  }
  ReleaseDC(window, dc);
  return blank;
}

TEST_F(PickerWindowTest, EveryListedRowIsPaintedWholeWithoutAClick) {
  auto expectPainted = [](const char* what, int rows) {
    return Do([what, rows](FSearch& p) {
      EXPECT_EQ(p.controls().GRDetail->DataRowCount(), rows) << what;
      EXPECT_EQ(BlankCells(*p.controls().GRDetail), std::vector<std::string>{}) << what;
    });
  };
  Run(kOrders, L"PedidoId",
      {[waits = 0](FSearch&) mutable { return ++waits > 10; }, expectPainted("opened", 20), Do([](FSearch& p) { test::Type(p.controls().txtSortKey->inner(), L"O'Brien"); }),
       Do([](FSearch& p) { Press(*p.controls().cmdFilterApply); }), expectPainted("one row left by a filter", 1),
       Do([](FSearch& p) { Press(*p.controls().cmdFilterClear); }), expectPainted("filters cleared", 20),
       Do([](FSearch& p) { Press(*p.controls().cmdNext); }), expectPainted("the next page", 20),
       Do([](FSearch& p) { Press(*p.controls().cmdCancelar); })});
}

struct FilterCase {
  const char* what;
  std::vector<Step> input;   // real input before "Aplicar Filtros"
  long total;
  long firstKey;
  std::wstring where;
};

TEST_F(PickerWindowTest, EachFilterNarrowsTheRowsOnApply) {
  auto tick = [](int box) { return Do([box](FSearch& p) { Press(*p.controls().chkFilter[box]); }); };
  auto type = [](const wchar_t* text) {
    return Do([text](FSearch& p) { test::Type(p.controls().txtSortKey->inner(), text); });
  };
  // "Valor" of the filter row of Nombre (row 1): the filter tab, two clicks, typing, Enter.
  auto valor = [](const wchar_t* text) {
    return Do([text](FSearch& p) {
      auto& tabs = *p.controls().TContainer;
      test::ClickIn(tabs.inner(), tabs.TabRect(1));
      auto& f = *p.controls().GRFilter;
      ClickCell(f, 1, 3);
      ClickCell(f, 1, 3);
      ASSERT_TRUE(f.Window()->Editing());
      test::Type(f.Window()->Editor()->hwnd(), text);
      test::Key(f.Window()->Editor()->hwnd(), VK_RETURN);
      EXPECT_EQ(f.CellValue(1, 3).toText(), text);
    });
  };
  const std::wstring sixMonths = L"FechaAlta >= Convert(DateTime, '06/07/2026', 101)";
  const FilterCase cases[] = {
      {"own user", {tick(0)}, 300, 600, L"Where Usuario = 'jdoe'"},
      {"own user with a quote in the logon name",
       {Do([this](FSearch& p) {
         user_ = L"o'neil";
         Press(*p.controls().chkFilter[0]);
       })},
       1, 5, L"Where Usuario = 'o''neil'"},
      {"six months", {tick(1)}, 300, 600, L"Where " + sixMonths},
      {"both boxes", {tick(0), tick(1)}, 150, 600, L"Where Usuario = 'jdoe' And " + sixMonths},
      {"free text", {type(L"Pedido 12")}, 11, 129,
       L"Where ( PedidoId Like '%Pedido 12%' Or Nombre Like '%Pedido 12%' Or Usuario Like '%Pedido 12%' Or "
       L"FechaAlta Like '%Pedido 12%' ) "},
      {"free text with a quote", {type(L"O'Brien")}, 1, 5,
       L"Where ( PedidoId Like '%O''Brien%' Or Nombre Like '%O''Brien%' Or Usuario Like '%O''Brien%' Or "
       L"FechaAlta Like '%O''Brien%' ) "},
      {"a filter row", {valor(L"Pedido 59")}, 11, 599, L"Where Nombre Like '%Pedido 59%'"},
      {"a filter row with a quote", {valor(L"'Brien")}, 1, 5, L"Where Nombre Like '%''Brien%'"},
      {"text matching nothing resets the boxes and the text", {tick(0), type(L"zzz")}, 500, 600, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Step> steps = c.input;
    steps.push_back(Do([](FSearch& p) { Press(*p.controls().cmdFilterApply); }));
    steps.push_back(Do([&](FSearch& p) {
      EXPECT_EQ(p.mWhere, c.where);
      EXPECT_EQ(p.recordTotal(), c.total);
      EXPECT_EQ(p.currentPage(), 1);
      ASSERT_GT(p.controls().GRDetail->DataRowCount(), 0);
      EXPECT_EQ(Keys(p).front(), c.firstKey);
      Press(*p.controls().cmdCancelar);
    }));
    Run(kOrders, L"PedidoId", steps);
    user_ = L"jdoe";
    if (c.total == 500) {
      EXPECT_EQ(picker_->controls().txtSortKey->Text(), L"");
      EXPECT_EQ(picker_->controls().chkFilter[0]->Value(), 0);
    }
    picker_->Unload();
    picker_.reset();
  }
}

TEST_F(PickerWindowTest, ColumnTicksApplyAndClearLeavesThemHidden) {
  Run(kOrders, L"PedidoId",
      {Do([](FSearch& p) {
         auto& tabs = *p.controls().TContainer;
         test::ClickIn(tabs.inner(), tabs.TabRect(1));
         ClickCell(*p.controls().GRFilter, 1, 1);  // untick Nombre
         EXPECT_FALSE(p.controls().GRDetail->Columns().Item(L"Nombre").Hidden) << "only after applying";
         test::Type(p.controls().txtSortKey->inner(), L"Pedido 3");
         Press(*p.controls().chkFilter[1]);
         Press(*p.controls().cmdFilterApply);
       }),
       Do([](FSearch& p) {
         EXPECT_TRUE(p.controls().GRDetail->Columns().Item(L"Nombre").Hidden);
         EXPECT_FALSE(p.controls().GRDetail->Columns().Item(L"Usuario").Hidden);
         EXPECT_EQ(p.recordTotal(), 99);  // "Pedido 301" to "Pedido 399"
         Press(*p.controls().cmdFilterClear);
       }),
       Do([](FSearch& p) {
         EXPECT_EQ(p.mWhere, L"");
         EXPECT_EQ(p.recordTotal(), 500);
         EXPECT_EQ(p.controls().txtSortKey->Text(), L"");
         EXPECT_EQ(p.controls().chkFilter[1]->Value(), 0);
         EXPECT_TRUE(p.controls().GRDetail->Columns().Item(L"Nombre").Hidden) << "clearing keeps the selection";
         Press(*p.controls().cmdQuit);
       })});
}

TEST_F(PickerWindowTest, HeaderClicksSortTheShownPageOnly) {
  Run(kOrders, L"PedidoId",
      {Do([](FSearch& p) {
         auto& g = *p.controls().GRDetail;
         test::ClickIn(g.Window()->hwnd(), g.Window()->HeaderRect(1));
         EXPECT_EQ(Keys(p), Range(581, 600));
         test::ClickIn(g.Window()->hwnd(), g.Window()->HeaderRect(1));
         EXPECT_EQ(Keys(p), Range(600, 581));
         test::ClickIn(g.Window()->hwnd(), g.Window()->HeaderRect(1));
         EXPECT_EQ(Keys(p), Range(581, 600));
         Press(*p.controls().cmdNext);
       }),
       Do([](FSearch& p) {
         EXPECT_EQ(Keys(p), Range(580, 561)) << "the next page comes in key order";
         Press(*p.controls().cmdCancelar);
       })});
}

TEST_F(PickerWindowTest, CommandsArrivingDuringAFillAreDropped) {
  Run(kOrders, L"PedidoId",
      {Do([](FSearch& p) {
         // The cancel waits in the queue; the page fill yields and meets it.
         PostMessageW(p.controls().cmdCancelar->inner(), BM_CLICK, 0, 0);
         PostMessageW(p.controls().cmdLast->inner(), BM_CLICK, 0, 0);
         PostMessageW(p.hwnd(), WM_CLOSE, 0, 0);
         Press(*p.controls().cmdNext);
         EXPECT_TRUE(p.loaded());
         EXPECT_TRUE(p.visible());
         EXPECT_EQ(p.currentPage(), 2);
         EXPECT_EQ(Keys(p), Range(580, 561));
       }),
       Do([](FSearch& p) { Press(*p.controls().cmdCancelar); })});
  EXPECT_FALSE(picker_->loaded());
}

TEST_F(PickerWindowTest, BoxesFollowTheSentenceAndOrderByIsCut) {
  struct Case {
    const wchar_t* sentence;
    bool user, date;
    std::wstring final;
  };
  const Case cases[] = {
      {L"Select PedidoId, Nombre From Pedidos", false, false,
       L"Select Top 500 * From ( Select PedidoId, Nombre From Pedidos ) A  Order By PedidoId Desc"},
      {L"Select PedidoId, Usuario From Pedidos", true, false, L""},
      {L"Select * From Pedidos Where FechaAlta > '2000-01-01' order by Nombre", false, true,
       L"Select Top 500 * From ( Select * From Pedidos Where FechaAlta > '2000-01-01'  ) A  Order By PedidoId Desc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence);
    Run(c.sentence, L"PedidoId", {Do([&](FSearch& p) {
          EXPECT_EQ(p.controls().chkFilter[0]->enabled(), c.user);
          EXPECT_EQ(p.controls().chkFilter[1]->enabled(), c.date);
          if (!c.final.empty()) {
            EXPECT_EQ(p.mFinalSentence, c.final);
          }
          // A disabled box takes no part even when a click gets through to it.
          Press(*p.controls().chkFilter[0]);
          Press(*p.controls().chkFilter[1]);
          Press(*p.controls().cmdFilterApply);
        }),
        Do([&](FSearch& p) {
          const std::wstring where = p.mWhere;
          EXPECT_EQ(where.find(L"Usuario =") != std::wstring::npos, c.user) << where;
          EXPECT_EQ(where.find(L"FechaAlta >=") != std::wstring::npos, c.date) << where;
          Press(*p.controls().cmdCancelar);
        })});
    picker_->Unload();
    picker_.reset();
  }
}

TEST_F(PickerWindowTest, GridsFromAThreeFieldResult) {
  Run(L"Select PedidoId, Nombre, Usuario From Pedidos", L"PedidoId", {Do([](FSearch& p) {
        auto& g = *p.controls().GRDetail;
        ASSERT_EQ(g.Columns().Count(), 4);
        const float share = static_cast<float>(11430.0 * 95 / 100 * 20 / 100);
        const wchar_t* names[] = {L"PedidoId", L"Nombre", L"Usuario"};
        for (int i = 0; i < 3; ++i) {
          EXPECT_EQ(g.Columns().Item(i + 1).Key, names[i]);
          EXPECT_EQ(g.Columns().Item(i + 1).Caption, names[i]);
          EXPECT_TRUE(g.Columns().Item(i + 1).ReadOnly);
          EXPECT_FLOAT_EQ(g.Columns().Item(i + 1).Width, share);
        }
        auto& f = *p.controls().GRFilter;
        ASSERT_EQ(f.DataRowCount(), 3);
        EXPECT_EQ(f.Columns().Item(3).Key, L"Desde");
        EXPECT_EQ(f.Columns().Item(3).Caption, L"Valor");
        for (int r = 0; r < 3; ++r) {
          const Variant tick = f.CellValue(r, 1);
          EXPECT_EQ(tick.vt(), VT_BOOL);
          EXPECT_TRUE(tick.toBool());
          EXPECT_EQ(f.CellValue(r, 2).toText(), names[r]);
          EXPECT_EQ(f.CellValue(r, 3).toText(), L"");
        }
        EXPECT_TRUE(p.controls().IType->visible());
        EXPECT_FALSE(p.controls().IType2->visible());
      }),
      // The animation loads its picture at its first paint.
      [tries = 0](FSearch& p) mutable { return p.controls().IType->LoadedFrames() > 1 || ++tries > 100; },
      Do([](FSearch& p) {
        EXPECT_GT(p.controls().IType->LoadedFrames(), 1u) << "the animation plays the picture beside the DLL";
        Press(*p.controls().cmdCancelar);
      })});
}

TEST_F(PickerWindowTest, TabsShowOnePageAndKeepTheCommonControls) {
  Run(kOrders, L"PedidoId", {Do([](FSearch& p) {
        const auto& c = p.controls();
        EXPECT_TRUE(c.VkSearch01->visible());
        EXPECT_FALSE(c.VkSearch02->visible());
        const std::pair<int, bool> clicks[] = {{1, false}, {0, true}, {1, false}};
        for (const auto& [tab, resultsShown] : clicks) {
          test::ClickIn(c.TContainer->inner(), c.TContainer->TabRect(tab));
          EXPECT_EQ(c.TContainer->Tab(), tab);
          EXPECT_EQ(c.VkSearch01->visible(), resultsShown);
          EXPECT_EQ(c.VkSearch02->visible(), !resultsShown);
          for (Control* common : std::initializer_list<Control*>{c.chkFilter[0], c.chkFilter[1], c.cmdAceptar,
                                                                 c.cmdCancelar, c.cmdFilterApply, c.cmdFilterClear}) {
            EXPECT_TRUE(IsWindowVisible(common->hwnd())) << common->name();
          }
        }
        Press(*c.cmdCancelar);
      })});
}

using Places = std::map<std::wstring, std::tuple<double, double, double, double>>;
Places PlacesOf(const Form& form) {
  Places places;
  for (Control* c : form.Controls())
    places[c->name() + L"(" + std::to_wstring(c->index()) + L")"] = {c->left(), c->top(), c->width(), c->height()};
  return places;
}

// The rules that carry the right and bottom edges, for the window's present size.
void ExpectLaidOutFor(FSearch& p) {
  const auto& c = p.controls();
  SCOPED_TRACE(p.width());
  EXPECT_EQ(c.VkContainer->width(), p.width() - 60);
  EXPECT_EQ(c.VkContainer->height(), p.height() - 50);
  const double cw = c.VkContainer->width(), ch = c.VkContainer->height();
  EXPECT_EQ(c.cmdQuit->left(), cw - 300 - 50);
  EXPECT_EQ(c.cmdAceptar->left(), cw - 1185 - 200);
  EXPECT_EQ(c.cmdAceptar->top(), ch - 330 - 200);
  EXPECT_EQ(c.TContainer->height(), ch - 1700);
  EXPECT_EQ(c.VkSearch01->width(), cw - 1140 - 300);
  EXPECT_EQ(c.GRDetail->width(), c.VkSearch01->width() - 120 - 100);
  EXPECT_EQ(c.GRDetail->height(), c.VkSearch01->height() - 285 - 200 - 900 - 200);
  EXPECT_EQ(c.cmdLast->left() + c.cmdLast->width(), c.GRDetail->left() + c.GRDetail->width());
  EXPECT_EQ(c.chkFilter[1]->left() + c.chkFilter[1]->width(), c.TContainer->left() + c.TContainer->width() - 1000);
  EXPECT_EQ(c.GRFilter->height(), c.VkSearch02->height() - 120 - 200);
}

TEST_F(PickerWindowTest, LayoutAtTheDesignSizeAndAfterMaximiseAndRestore) {
  Places design;
  Run(kOrders, L"PedidoId",
      {Do([&](FSearch& p) {
         const auto& c = p.controls();
         EXPECT_EQ(p.width(), 13170);
         EXPECT_EQ(p.height(), 8130);
         struct Expect { Control* control; double left, top, width, height; };
         const Expect places[] = {
             {c.VkContainer, 60, 0, 13110, 8080},   {c.VkSearch01, 1140, 840, 11670, 5880},
             {c.VkSearch02, 1140, 840, 11670, 5880}, {c.TContainer, 1020, 480, 11890, 6380},
             {c.cmdQuit, 12760, 60, 300, 270},      {c.cmdMaximizar, 12450, 60, 300, 270},
             {c.cmdAceptar, 11725, 7550, 1185, 330}, {c.cmdCancelar, 10520, 7550, 1185, 330},
             {c.cmdFilterClear, 1080, 7550, 1605, 330}, {c.cmdFilterApply, 2700, 7550, 1605, 330},
             {c.GRDetail, 120, 900, 11450, 4295},   {c.txtSortKey, 120, 300, 11450, 285},
             {c.chkFilter[0], 2020, 6910, 4250, 330}, {c.chkFilter[1], 8205, 6910, 3705, 330},
             {c.cmdLast, 11015, 5545, 555, 285},    {c.cmdNext, 10420, 5545, 555, 285},
             {c.cmdFirst, 120, 5545, 555, 285},     {c.lblPaginas, 2720, 5595, 825, 240},
             {c.txtPageNumber, 3595, 5545, 645, 285}, {c.cboPageSize, 7505, 5545, 915, 315},
             {c.lblPageSize, 5420, 5595, 2085, 240}, {c.GRFilter, 120, 120, 11350, 5560},
         };
         for (const auto& e : places) {
           SCOPED_TRACE(e.control->name());
           EXPECT_EQ(e.control->left(), e.left);
           EXPECT_EQ(e.control->top(), e.top);
           EXPECT_EQ(e.control->width(), e.width);
           EXPECT_EQ(e.control->height(), e.height);
         }
         EXPECT_EQ(c.LineC2.y1, 5395);
         EXPECT_EQ(c.Line1.y1, 7350);
         design = PlacesOf(p);
       }),
       [waits = 0](FSearch&) mutable { return ++waits > 10; },
       Do([](FSearch& p) { Press(*p.controls().cmdMaximizar); }),
       Do([&](FSearch& p) {
         EXPECT_EQ(p.windowState(), WindowState::Maximized);
         ExpectLaidOutFor(p);
         // Without a window manager Wine leaves the maximised size to it; give the window
         // the screen as a manager would, and the layout follows.
         SetWindowPos(p.hwnd(), nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                      SWP_NOZORDER | SWP_NOACTIVATE);
         EXPECT_GT(p.width(), 13170);
         ExpectLaidOutFor(p);
         Press(*p.controls().cmdMaximizar);
       }),
       Do([&](FSearch& p) {
         EXPECT_EQ(p.windowState(), WindowState::Normal);
         EXPECT_EQ(PlacesOf(p), design);
         Press(*p.controls().cmdCancelar);
       })});
}

// The window as the screen shows it, written as a 24-bit .bmp for a reviewer to look at;
// returns the colours at points of the window.
std::vector<COLORREF> SaveScreenPicture(HWND window, const std::wstring& path, const std::vector<POINT>& probes) {
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  std::vector<COLORREF> probed;
  for (const POINT& probe : probes) probed.push_back(GetPixel(memory, probe.x, probe.y));
  SelectObject(memory, old);
  const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, &file, sizeof file, &written, nullptr);
  WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
  WriteFile(out, bits, size, &written, nullptr);
  CloseHandle(out);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return probed;
}

TEST_F(PickerWindowTest, FadesInToOpaqueWhileOpen) {
  std::vector<long> alphas;
  Run(kOrders, L"PedidoId",
      {[&](FSearch& p) {
         BYTE alpha = 0;
         DWORD flags = 0;
         if (GetLayeredWindowAttributes(p.hwnd(), nullptr, &alpha, &flags) && alpha > 0 &&
             (alphas.empty() || alphas.back() != alpha))
           alphas.push_back(alpha);
         return p.fadeAlpha() >= 255;
       },
       Do([&](FSearch& p) {
         BYTE alpha = 0;
         GetLayeredWindowAttributes(p.hwnd(), nullptr, &alpha, nullptr);
         EXPECT_EQ(alpha, 255);
         // Opaque, in the design's colours: the blue margin, the container's border, the
         // tab strip, the white results page and a check box.
         const std::vector<COLORREF> seen = SaveScreenPicture(
             p.hwnd(), test::BinFolder() + L"\\picker_window.bmp", {{2, 200}, {4, 200}, {860, 37}, {840, 62}, {410, 472}});
         EXPECT_EQ(seen, (std::vector<COLORREF>{RGB(0x2E, 0x43, 0x98), RGB(0xA0, 0xB4, 0xD6), RGB(0xEF, 0xF2, 0xF8),
                                                RGB(0xFF, 0xFF, 0xFF), RGB(0xDD, 0xE5, 0xF1)}));
         Press(*p.controls().cmdCancelar);
       })});
  for (size_t i = 0; i + 1 < alphas.size(); ++i) {
    EXPECT_LE(alphas[i], 250);
    EXPECT_EQ((alphas[i] - 30) % 20, 0) << alphas[i];
  }
}

TEST_F(PickerWindowTest, PickKeyRunsTheCallersProtocol) {
  EXPECT_EQ(PickKey(L"Select * From Pedidos Where PedidoId = 12", L"PedidoId").toLong(), 12);
  {
    ScopedPicker chooser([](const std::wstring& sentence, const std::wstring& key) {
      return Variant(sentence + L"/" + key);
    });
    EXPECT_EQ(PickKey(L"S", L"K").toText(), L"S/K");
  }
  EXPECT_TRUE(LoadedForms().empty());

  // A set-up that fails before the window shows still unloads the picker and its data
  // object, and gives the pointer back.
  Seam<HostSeams>::Current().logonName = []() -> std::wstring { throw std::runtime_error("no logon name"); };
  EXPECT_THROW(PickKey(L"Select * From Pedidos", L"PedidoId"), std::runtime_error);
  EXPECT_TRUE(LoadedForms().empty());
  EXPECT_EQ(MousePointer(), pointer::Default);
}

}  // namespace
