// Combo box and text box through real windows: fills, selection by key and by the
// user's keys, the change events they raise, the value list and the look settings.
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "base/vb_error.h"
#include "hosted/combo_box.h"
#include "hosted/fake_recordset.h"
#include "hosted/text_box.h"
#include "hosted/window_driver.h"

namespace vk::hosted {
namespace {

std::vector<std::wstring> Items(const ComboBox& combo) {
  std::vector<std::wstring> items;
  for (int i = 0; i < combo.ListCount(); ++i) items.push_back(combo.List(i));
  return items;
}

TEST(ComboKeyOf, TakesTheTrimmedTextBeforeTheFirstDash) {
  struct Case {
    const wchar_t* text;
    const wchar_t* key;
  };
  for (const Case& c : {Case{L"01 - Contratos", L"01"}, Case{L"  7-Siete-Bis", L"7"}, Case{L"20", L"20"},
                        Case{L"", L""}, Case{L" - nada", L""}, Case{L"A B - C", L"A B"}}) {
    EXPECT_EQ(ComboKeyOf(c.text), c.key) << c.text;
  }
}

class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    combo.Change.Connect([this](int) { changes.push_back(combo.Text()); });
  }
  test::ShownForm form;
  ComboBox& combo = form->Add<ComboBox>(test::At(150, 150, 3000, 315, L"cboCategoriaId"));
  std::vector<std::wstring> changes;
};

TEST_F(ComboTest, RecordsetFillReplacesTheListAndKeepsAnEmptyFirstItem) {
  struct Case {
    std::vector<test::FakeRow> rows;
    long columns;
    std::vector<std::wstring> items;
  };
  const Case cases[] = {
      {{{L"01", L"Contratos"}, {L"02", L"Facturas"}}, 2, {L"", L"01 - Contratos", L"02 - Facturas"}},
      {{{L"5", std::nullopt}}, 2, {L"", L"5 - "}},
      {{{L"20"}, {L"50"}}, 1, {L"", L"20", L"50"}},
      {{}, 2, {L""}},
  };
  for (const Case& c : cases) {
    // Loaded twice, as the screens do: the list is replaced, not doubled.
    for (int pass = 0; pass < 2; ++pass) {
      auto* recordset = new test::FakeRecordset(c.rows, c.columns);
      combo.LoadRecordSetAPI(recordset);
      recordset->Release();
    }
    EXPECT_EQ(Items(combo), c.items);
    EXPECT_EQ(combo.ListIndex(), 0);
  }
  combo.LoadRecordSetAPI(nullptr);
  EXPECT_EQ(Items(combo), std::vector<std::wstring>{L""});
}

// The recordset is walked as ADO wants it: no MoveFirst on an empty one (ADO raises
// there), then EOF before every row.
TEST_F(ComboTest, RecordsetIsWalkedTheAdoWay) {
  struct Case {
    size_t rows;
    std::vector<std::wstring> calls;
  };
  const Case cases[] = {
      {0, {L"RecordCount", L"Fields"}},
      {2, {L"RecordCount", L"Fields", L"MoveFirst", L"EOF", L"MoveNext", L"EOF", L"MoveNext", L"EOF"}},
  };
  for (const Case& c : cases) {
    auto* recordset = new test::FakeRecordset(std::vector<test::FakeRow>(c.rows, test::FakeRow{L"1", L"Uno"}));
    combo.LoadRecordSetAPI(recordset);
    EXPECT_EQ(recordset->calls, c.calls) << c.rows;
    EXPECT_EQ(combo.ListCount(), static_cast<int>(c.rows) + 1);
    recordset->Release();
  }
}

TEST_F(ComboTest, ArrayFillSplitsOnBars) {
  struct Case {
    const wchar_t* entries;
    std::vector<std::wstring> items;
  };
  for (const Case& c : {Case{L"10|20|50", {L"", L"10", L"20", L"50"}}, Case{L"Si", {L"", L"Si"}},
                        Case{L"", {L""}}, Case{L"A||B", {L"", L"A", L"", L"B"}}}) {
    combo.LoadArray(c.entries);
    EXPECT_EQ(Items(combo), c.items) << c.entries;
  }
}

TEST_F(ComboTest, SelectingByKeyRaisesChangeAtOnce) {
  auto* recordset = new test::FakeRecordset({{L"01", L"Contratos"}, {L"02", L"Facturas"}, {L"10", L"Otros"}});
  combo.LoadRecordSetAPI(recordset);
  recordset->Release();
  struct Case {
    const wchar_t* key;
    int index;
  };
  for (const Case& c : {Case{L"02", 2}, Case{L" 10 ", 3}, Case{L"1", 0}, Case{L"99", 0}, Case{L"01", 1}}) {
    changes.clear();
    combo.SelectKey(c.key);
    EXPECT_EQ(combo.ListIndex(), c.index) << c.key;
    EXPECT_EQ(changes, std::vector<std::wstring>{combo.Text()}) << c.key;
  }
  combo.LoadArray(L"10|20|50");
  combo.SelectKey(L"20");
  EXPECT_EQ(combo.Text(), L"20");
}

TEST_F(ComboTest, AFixedListSelectsByTheWholeEntryFirst) {
  combo.LoadArray(L"1-A|1-B| 1 - C |Si - Yes");
  struct Case {
    const wchar_t* key;
    int index;
  };
  for (const Case& c : {Case{L"1-B", 2}, Case{L"1 - C", 3}, Case{L"1", 1}, Case{L"Si", 4}, Case{L"2", 0}}) {
    combo.SelectKey(c.key);
    EXPECT_EQ(combo.ListIndex(), c.index) << c.key;
  }
  // Filled from a recordset, an item's key is its row's key, dash and all.
  auto* recordset = new test::FakeRecordset({{L"1", L"A"}, {L"1-B", L"B"}});
  combo.LoadRecordSetAPI(recordset);
  recordset->Release();
  combo.SelectKey(L"1-B");
  EXPECT_EQ(combo.ListIndex(), 2);
}

TEST_F(ComboTest, AStoredKeyOutsideTheListShowsAsOneExtraItem) {
  combo.LoadArray(L"01 - Contratos|02 - Facturas");
  changes.clear();
  combo.SelectStoredKey(L"04");
  EXPECT_EQ(Items(combo), (std::vector<std::wstring>{L"", L"01 - Contratos", L"02 - Facturas", L"04"}));
  EXPECT_EQ(changes, std::vector<std::wstring>{L"04"});
  combo.SelectStoredKey(L"09");  // the earlier extra item goes
  EXPECT_EQ(Items(combo), (std::vector<std::wstring>{L"", L"01 - Contratos", L"02 - Facturas", L"09"}));
  combo.SelectStoredKey(L"02");
  EXPECT_EQ(combo.Text(), L"02 - Facturas");
  EXPECT_EQ(combo.ListCount(), 3);
  combo.SelectStoredKey(L"");
  EXPECT_EQ(combo.ListIndex(), 0);
  EXPECT_EQ(combo.ListCount(), 3);
}

TEST_F(ComboTest, ItemsKeepTheKeyTheyWereLoadedWith) {
  // A key with a dash is neither cut at it nor mistaken for a shorter key.
  auto* recordset = new test::FakeRecordset({{L"AD", L"Administraci\u00f3n"}, {L"AD-1", L"Archivo"}, {L" x ", L""}});
  combo.LoadRecordSetAPI(recordset);
  recordset->Release();
  combo.SelectKey(L"AD-1");
  EXPECT_EQ(combo.ListIndex(), 2);
  EXPECT_EQ(combo.SelectedKey(), L"AD-1");
  EXPECT_EQ(combo.SelectedDescription(), L"Archivo");
  EXPECT_EQ(combo.ItemKey(3), L"x");
  EXPECT_EQ(combo.ItemDescription(3), L"");
  EXPECT_EQ(combo.ItemKey(0), L"");
  EXPECT_THROW(combo.ItemKey(4), VbError);
  combo.LoadArray(L"jean-luc - Jean Luc|B");
  combo.SetListIndex(1);
  EXPECT_EQ(combo.SelectedKey(), L"jean");  // a fixed entry's key is the text before its first "-"
  EXPECT_EQ(combo.SelectedDescription(), L"luc - Jean Luc");
}

TEST_F(ComboTest, ListIndexAndTheUsersKeysRaiseChange) {
  combo.LoadArray(L"A - Uno|B - Dos");
  combo.SetListIndex(2);
  EXPECT_EQ(changes, std::vector<std::wstring>{L"B - Dos"});
  changes.clear();
  SetFocus(combo.inner());
  test::Key(combo.inner(), VK_UP);
  test::Key(combo.inner(), VK_UP);
  EXPECT_EQ(combo.ListIndex(), 0);
  EXPECT_EQ(changes, (std::vector<std::wstring>{L"A - Uno", L""}));
  for (int bad : {-2, 3, 100}) EXPECT_THROW(combo.SetListIndex(bad), VbError) << bad;
  EXPECT_EQ(combo.ListIndex(), 0);
}

TEST_F(ComboTest, AnObjectThatIsNoRecordsetRaisesAndLeavesTheList) {
  combo.LoadArray(L"X|Y");
  auto* notARecordset = new test::FakeField(L"x");
  EXPECT_THROW(combo.LoadRecordSetAPI(notARecordset), VbError);
  notARecordset->Release();
  EXPECT_EQ(Items(combo), (std::vector<std::wstring>{L"", L"X", L"Y"}));
}

class TextBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box.Change.Connect([this](int) { changes.push_back(box.Text()); });
  }
  test::ShownForm form;
  TextBox& box = form->Add<TextBox>(test::At(150, 150, 3000, 315, L"txtCBarra"));
  std::vector<std::wstring> changes;
};

TEST_F(TextBoxTest, TypingAndSettingTextRaiseChange) {
  SetFocus(box.inner());
  test::Type(box.inner(), L"ab");
  EXPECT_EQ(box.Text(), L"ab");
  box.SetText(L"xyz");
  EXPECT_EQ(changes, (std::vector<std::wstring>{L"a", L"ab", L"xyz"}));
}

TEST_F(TextBoxTest, ValueListCompletesTypedTextWhenSwitchedOn) {
  auto* recordset = new test::FakeRecordset({{L"Madrid"}, {L"Malaga"}, {L"Lima"}}, 1);
  box.LoadValueList(recordset);
  recordset->Release();
  EXPECT_EQ(box.ValueList(), (std::vector<std::wstring>{L"Madrid", L"Malaga", L"Lima"}));
  SetFocus(box.inner());
  struct Case {
    bool on;
    const wchar_t* typed;
    const wchar_t* shown;
  };
  for (const Case& c : {Case{true, L"ma", L"madrid"}, Case{true, L"li", L"lima"}, Case{true, L"x", L"x"},
                        Case{false, L"ma", L"ma"}}) {
    box.SetValueListEnabled(c.on);
    box.SetText(L"");
    test::Type(box.inner(), c.typed);
    EXPECT_EQ(box.Text(), c.shown) << c.typed;
  }
  // Backspace removes the completed part rather than completing again.
  box.SetValueListEnabled(true);
  box.SetText(L"");
  test::Type(box.inner(), L"ma");
  test::Key(box.inner(), VK_BACK);
  SendMessageW(box.inner(), WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(box.Text(), L"ma");
}

TEST_F(TextBoxTest, AlignmentKeepsTheTextAndRefusesUnknownCodes) {
  box.SetText(L"1234");
  struct Case {
    int code;
    LONG style;
  };
  for (const Case& c : {Case{1, ES_RIGHT}, Case{2, ES_CENTER}, Case{0, ES_LEFT}}) {
    box.SetAlignment(c.code);
    EXPECT_EQ(GetWindowLongW(box.inner(), GWL_STYLE) & (ES_RIGHT | ES_CENTER), c.style) << c.code;
    EXPECT_EQ(box.Text(), L"1234");
  }
  for (int bad : {-1, 3}) EXPECT_THROW(box.SetAlignment(bad), VbError);
  EXPECT_EQ(box.Alignment(), 0);
}

TEST_F(TextBoxTest, BackColourTakesSystemColourReferences) {
  struct Case {
    unsigned long ole;
    COLORREF colour;
  };
  for (const Case& c : {Case{0x80000005, GetSysColor(COLOR_WINDOW)}, Case{0x80000018, GetSysColor(COLOR_INFOBK)},
                        Case{0x0000FFFF, RGB(255, 255, 0)}}) {
    box.SetBackColor(c.ole);
    HDC dc = GetDC(box.inner());
    SendMessageW(box.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(box.inner()));
    EXPECT_EQ(GetBkColor(dc), c.colour) << std::hex << c.ole;
    ReleaseDC(box.inner(), dc);
    EXPECT_EQ(box.BackColor(), c.ole);
  }
}

}  // namespace
}  // namespace vk::hosted
