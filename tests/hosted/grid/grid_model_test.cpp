// The grid's model without a window: columns, value lists, typed cells, rows, sorting,
// grouping and the format condition.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "base/vb_error.h"
#include "hosted/grid/grid_model.h"
#include "support/error_of.h"

using namespace vk::grid;

namespace {

using vk::test::ErrorOf;

// A grid with the columns of a small document list.
void AddColumns(GridModel& m) {
  m.Columns().Add(L"CategoriaId").Caption = L"Categoría";
  m.Columns().Add(L"DocumentoId").Caption = L"Documento";
  m.Columns().Add(L"Documento").DataType = kTypeText;
  m.Columns().Add(L"IsNew");
}

void AddRow(GridModel& m, const wchar_t* cat, long id, const wchar_t* name, long isNew) {
  const int r = m.DataRowCount();
  m.SetDataRowCount(r + 1);
  m.SetValue(r, 0, GridValue(cat));
  m.SetValue(r, 1, GridValue(id));
  m.SetValue(r, 2, GridValue(name));
  m.SetValue(r, 3, GridValue(isNew));
}

}  // namespace

TEST(GridColumns, HeadColumnAtZeroAndDataColumnsByPositionOrKey) {
  GridModel m;
  EXPECT_EQ(m.Columns().Count(), 1);
  AddColumns(m);
  EXPECT_EQ(m.Columns().Count(), 5);
  EXPECT_EQ(m.Columns().Item(1).Key, L"CategoriaId");
  EXPECT_EQ(m.Columns().Item(L"documentoid").Caption, L"Documento");  // keys ignore case
  EXPECT_EQ(m.Columns().Find(L"IsNew"), 4);
  EXPECT_EQ(m.Columns().Find(L"Nada"), -1);
  EXPECT_EQ(m.Columns().Item(L"Documento").Caption, L"Documento");  // caption defaults to the key
}

TEST(GridColumns, BadPositionsAndKeysRaise) {
  GridModel m;
  AddColumns(m);
  const struct {
    const char* what;
    std::function<void()> call;
    long error;
  } cases[] = {
      {"position past the end", [&] { m.Columns().Item(5); }, vk::err::SubscriptOutOfRange},
      {"negative position", [&] { m.Columns().Item(-1); }, vk::err::SubscriptOutOfRange},
      {"unknown key", [&] { m.Columns().Item(L"Nada"); }, vk::err::SubscriptOutOfRange},
      {"duplicate key", [&] { m.Columns().Add(L"isnew"); }, vk::err::InvalidProcedureCall},
      {"empty key", [&] { m.Columns().Add(L""); }, vk::err::InvalidProcedureCall},
      {"removing the head column", [&] { m.Columns().Remove(0); }, vk::err::SubscriptOutOfRange},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
}

TEST(GridColumns, ValueItemsMatchAcrossNumericTypesAndText) {
  GridColumn align(L"FAlign", 0);
  align.AddValueItem(GridValue(0L), L"Sin Alinear");
  align.AddValueItem(GridValue(4L), L"Izquierda");
  align.AddValueItem(GridValue(5L), L"Centro");
  align.AddValueItem(GridValue(6L), L"Derecha");
  GridColumn yesNo(L"Flag", 1);
  yesNo.AddValueItem(GridValue(L"1"), L"Sí");
  yesNo.AddValueItem(GridValue(L"0"), L"No");
  VARIANT i2;
  VariantInit(&i2);
  V_VT(&i2) = VT_I2;
  V_I2(&i2) = 5;
  const struct {
    const GridColumn& column;
    GridValue value;
    const wchar_t* shown;
  } cases[] = {
      {align, GridValue(5L), L"Centro"},
      {align, GridValue(5.0), L"Centro"},
      {align, GridValue(i2), L"Centro"},
      {align, GridValue(L"6"), L"Derecha"},
      {align, GridValue(7L), L"7"},  // no item: the value itself
      {align, GridValue(), L""},
      {yesNo, GridValue(1L), L"Sí"},
      {yesNo, GridValue(L"0"), L"No"},
      {yesNo, GridValue(L"x"), L"x"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.column.DisplayText(c.value), c.shown) << c.value.Text();
  EXPECT_EQ(align.ValueForDisplay(L"Centro").Text(), L"5");
  EXPECT_EQ(align.ValueForDisplay(L"Otro").Text(), L"Otro");
}

TEST(GridColumns, LookupByKeyFindsTheItemALinearSearchWould) {
  // A mixed list (duplicates, texts that read as numbers, blanks, a date), and a list of
  // ids close together (found in a table by number: gaps, a duplicate, a negative id),
  // against values of every kind: the indexed lookup must pick the first item
  // ValuesMatch accepts.
  GridColumn mixed(L"Mixed", 0);
  const DATE day = 46082.0;  // 1 March 2026
  const GridValue items[] = {GridValue(L"7"),  GridValue(3L),     GridValue(L"abc"),    GridValue(3.0),
                             GridValue::Null(), GridValue(L"3"),  GridValue::Date(day), GridValue(),
                             GridValue(L"x y"), GridValue::Bool(true), GridValue(L"abc")};
  for (const GridValue& v : items) mixed.AddValueItem(v, L"#" + std::to_wstring(mixed.ValueItems.size()));
  GridColumn ids(L"DocumentoId", 1);
  for (long id = -2; id <= 300; id += (id % 7 ? 1 : 3)) ids.AddValueItem(GridValue(id), L"doc " + std::to_wstring(id));
  ids.AddValueItem(GridValue(10L), L"doc 10 again");
  const GridValue values[] = {GridValue(7L), GridValue(L"7"), GridValue(3L), GridValue(L"3"), GridValue(3.0),
                              GridValue(L"abc"), GridValue(L"ABC"), GridValue::Null(), GridValue(),
                              GridValue::Date(day), GridValue(day), GridValue(-1L), GridValue(L"x y"),
                              GridValue::Bool(true), GridValue(L"nada"), GridValue(L"3.0"), GridValue(-2L),
                              GridValue(-3L), GridValue(300L), GridValue(301L), GridValue(8L), GridValue(10L),
                              GridValue(10.5), GridValue(L"299"), GridValue(299.0), GridValue(-0.0)};
  for (const GridColumn* column : {&mixed, &ids})
    for (const GridValue& v : values) {
      const ValueItem* linear = nullptr;
      for (const auto& item : column->ValueItems)
        if (!linear && ValuesMatch(item.Value, v)) linear = &item;
      EXPECT_EQ(column->FindValueItem(v), linear) << v.Text() << " of type " << v.type() << " in " << column->Key;
    }
  mixed.AddValueItem(GridValue(99L), L"late");  // the index follows the list as it grows
  EXPECT_EQ(mixed.DisplayText(GridValue(L"99")), L"late");
}

TEST(GridColumns, WrittenValuesTakeTheColumnsType) {
  GridColumn tick(L"Seleccionado", 0);
  tick.DataType = kTypeBoolean;
  GridColumn date(L"Fecha", 1);
  date.DataType = kTypeDate;
  GridColumn text(L"Nombre", 2);
  text.DataType = kTypeText;
  text.MaxLength = 3;
  GridColumn any(L"Valor", 3);

  EXPECT_EQ(tick.Coerce(GridValue(1L)).type(), VT_BOOL);  // the filter grid's ticks start as 1
  EXPECT_EQ(tick.Coerce(GridValue(1L)).Text(), L"True");
  EXPECT_EQ(tick.Coerce(GridValue(0L)).Text(), L"False");
  EXPECT_EQ(date.Coerce(GridValue(45000.0)).type(), VT_DATE);
  EXPECT_TRUE(date.Coerce(GridValue(L"")).IsEmpty());
  EXPECT_EQ(text.Coerce(GridValue(12L)).Text(), L"12");
  EXPECT_EQ(text.Coerce(GridValue(L"abcdef")).Text(), L"abcdef");  // max length bounds typing only
  EXPECT_EQ(any.Coerce(GridValue(7L)).type(), VT_I4);
  EXPECT_TRUE(tick.Coerce(GridValue::Null()).IsNull());

  const struct {
    const GridColumn& column;
    GridValue value;
  } refused[] = {{tick, GridValue(L"quizás")}, {date, GridValue(L"no es fecha")}};
  for (const auto& c : refused)
    EXPECT_EQ(ErrorOf([&] { c.column.Coerce(c.value); }), vk::err::TypeMismatch) << c.value.Text();
}

TEST(GridRows, FillByDataRowAndFieldThenReadByKeyOrPosition) {
  GridModel m;
  AddColumns(m);
  m.SetDataRowCount(2);
  m.SetValue(0, 0, GridValue(L"A"));
  m.SetValue(1, 3, GridValue(1L));
  EXPECT_EQ(m.CellValue(0, L"CategoriaId").Text(), L"A");
  EXPECT_EQ(m.CellValue(0, 1).Text(), L"A");
  EXPECT_EQ(m.CellValue(1, L"IsNew").Text(), L"1");
  EXPECT_TRUE(m.CellValue(1, L"CategoriaId").IsEmpty());
  m.SetCellValue(1, L"isnew", GridValue(0L));
  EXPECT_EQ(m.CellValue(1, 4).Text(), L"0");
  // A column added after the rows starts blank.
  m.Columns().Add(L"Extra");
  EXPECT_TRUE(m.CellValue(0, L"Extra").IsEmpty());
  m.SetCellValue(0, L"Extra", GridValue(L"x"));
  EXPECT_EQ(m.CellText(0, 5), L"x");
  m.SetDataRowCount(1);
  EXPECT_EQ(m.DataRowCount(), 1);
  m.RemoveAllRows();
  EXPECT_EQ(m.DataRowCount(), 0);
}

TEST(GridRows, OutOfRangeRowsAndFieldsRaise) {
  GridModel m;
  AddColumns(m);
  m.SetDataRowCount(3);
  const struct {
    const char* what;
    std::function<void()> call;
    long error;
  } cases[] = {
      {"row -1", [&] { m.SetValue(-1, 0, GridValue(1L)); }, vk::err::SubscriptOutOfRange},
      {"row past the end", [&] { m.SetValue(3, 0, GridValue(1L)); }, vk::err::SubscriptOutOfRange},
      {"field past the end", [&] { m.SetValue(0, 4, GridValue(1L)); }, vk::err::SubscriptOutOfRange},
      {"read past the end", [&] { m.CellValue(3, L"IsNew"); }, vk::err::SubscriptOutOfRange},
      {"unknown key", [&] { m.CellValue(0, L"Nada"); }, vk::err::SubscriptOutOfRange},
      {"head column write", [&] { m.SetCellValue(0, 0, GridValue(1L)); }, vk::err::InvalidProcedureCall},
      {"negative row count", [&] { m.SetDataRowCount(-1); }, vk::err::InvalidPropertyValue},
      {"no current row", [&] { m.CurrentRow(); }, vk::err::ObjectNotSet},
      {"group on unknown column", [&] { m.AddGroup(L"Nada"); }, vk::err::SubscriptOutOfRange},
      {"current row past the end", [&] { m.SetCurrentDataRow(3); }, vk::err::SubscriptOutOfRange},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
  EXPECT_EQ(m.DataRowCount(), 3);
}

TEST(GridSort, OrdersByTheColumnsSortTypeAndOrder) {
  const struct {
    int sortType;
    int order;
    std::vector<std::wstring> values;
    std::vector<std::wstring> expected;
  } cases[] = {
      {kSortNumeric, kSortAscending, {L"10", L"9", L"100", L""}, {L"", L"9", L"10", L"100"}},
      {kSortNumeric, kSortDescending, {L"10", L"9", L"100"}, {L"100", L"10", L"9"}},
      {kSortText, kSortAscending, {L"10", L"9", L"100"}, {L"10", L"100", L"9"}},
      {kSortDefault, kSortAscending, {L"b", L"A", L"c"}, {L"A", L"b", L"c"}},
      {kSortDefault, kSortNone, {L"3", L"1", L"2"}, {L"1", L"2", L"3"}},  // no order yet: ascending
  };
  for (const auto& c : cases) {
    GridModel m;
    GridColumn& col = m.Columns().Add(L"V");
    col.SortType = c.sortType;
    col.SortOrder = c.order;
    m.Columns().Add(L"Row");
    m.SetDataRowCount(static_cast<int>(c.values.size()));
    for (size_t r = 0; r < c.values.size(); ++r) {
      if (!c.values[r].empty()) m.SetValue(static_cast<int>(r), 0, GridValue(c.values[r]));
      m.SetValue(static_cast<int>(r), 1, GridValue(static_cast<long>(r)));
    }
    m.Sort(1);
    for (size_t r = 0; r < c.expected.size(); ++r)
      EXPECT_EQ(m.CellValue(static_cast<int>(r), 1).Text(), c.expected[r]) << "type " << c.sortType << " row " << r;
  }
}

TEST(GridSort, EqualKeysKeepTheirOrderAndTheCurrentRowFollowsItsData) {
  GridModel m;
  AddColumns(m);
  AddRow(m, L"B", 1, L"uno", 0);
  AddRow(m, L"A", 2, L"dos", 0);
  AddRow(m, L"B", 3, L"tres", 0);
  AddRow(m, L"A", 4, L"cuatro", 0);
  m.SetCurrentDataRow(2);  // DocumentoId 3
  m.Columns().Item(1).SortOrder = kSortAscending;
  m.Sort(1);
  const long expected[] = {2, 4, 1, 3};
  for (int r = 0; r < 4; ++r) EXPECT_EQ(m.CellValue(r, L"DocumentoId").Text(), std::to_wstring(expected[r]));
  EXPECT_EQ(m.CellValue(m.CurrentRow().Index, L"DocumentoId").Text(), L"3");
}

TEST(GridGroups, GroupRowsStandBeforeTheirDataRows) {
  GridModel m;
  AddColumns(m);
  AddRow(m, L"B", 1, L"uno", 0);
  AddRow(m, L"A", 2, L"dos", 1);
  AddRow(m, L"B", 3, L"tres", 1);
  m.RemoveAllGroups();
  m.AddGroup(L"CategoriaId");
  ASSERT_EQ(m.DisplayRowCount(), 5);
  const struct {
    int kind;
    int index;
  } expected[] = {{1, 0}, {kDataRow, 1}, {1, 1}, {kDataRow, 0}, {kDataRow, 2}};
  for (int d = 0; d < 5; ++d) {
    EXPECT_EQ(m.DisplayRow(d).Kind, expected[d].kind) << d;
    EXPECT_EQ(m.DisplayRow(d).Index, expected[d].index) << d;
  }
  EXPECT_EQ(m.GroupText(1), L"Categoría: B (2)");
  EXPECT_EQ(m.DisplayRowOf(0), 3);
  m.SetCurrentDisplayRow(2);
  EXPECT_NE(m.CurrentRow().Kind, kDataRow);  // callers skip group rows
  m.SetCurrentDisplayRow(3);
  EXPECT_EQ(m.CurrentRow().Kind, kDataRow);
  EXPECT_EQ(m.CurrentRow().Index, 0);
  // Moving a row to another group by writing its cell regroups it.
  m.SetCellValue(0, L"CategoriaId", GridValue(L"A"));
  EXPECT_EQ(m.Group(0).RowCount, 2);
  m.RemoveAllGroups();
  EXPECT_EQ(m.DisplayRowCount(), 3);
}

TEST(GridGroups, CurrentRowChangeIsRaisedOncePerMove) {
  GridModel m;
  AddColumns(m);
  AddRow(m, L"A", 1, L"uno", 0);
  AddRow(m, L"A", 2, L"dos", 0);
  int raised = 0;
  m.OnRowSelected = [&] { ++raised; };
  m.SetCurrentDataRow(1);
  m.SetCurrentDataRow(1);
  m.SetCurrentDataRow(0);
  EXPECT_EQ(raised, 2);
}

TEST(GridStyles, FormatConditionGivesUnreadRowsTheirStyle) {
  GridModel m;
  AddColumns(m);
  AddRow(m, L"A", 1, L"uno", 0);
  AddRow(m, L"A", 2, L"dos", 1);
  m.Styles().Add(L"IsNew").OwnFont().bold = true;
  m.AddFormatCondition(L"IsNew", FormatCondition::kEqual, GridValue(0L), L"IsNew");
  EXPECT_TRUE(m.CellStyle(0, 2).Font->bold);
  EXPECT_FALSE(m.CellStyle(1, 2).Font->bold);
  m.SetCellValue(0, L"IsNew", GridValue(1L));  // marked read
  EXPECT_FALSE(m.CellStyle(0, 2).Font->bold);
  EXPECT_EQ(ErrorOf([&] { m.AddFormatCondition(L"Nada", 0, GridValue(0L), L"IsNew"); }), vk::err::SubscriptOutOfRange);
  // The base style of a grid without rows (row heights, the print) does not read a row.
  m.RemoveAllRows();
  EXPECT_EQ(ErrorOf([&] { m.CellStyle(-1, 0); }), 0);
  EXPECT_EQ(ErrorOf([&] { m.CellStyle(0, 2); }), 0);
}

TEST(GridStyles, NamedStylesAreFetchedOrAddedWithoutRegardToCase) {
  GridModel m;
  for (const wchar_t* name : {L"Frozen", L"Normal", L"GridBackground", L"Heading", L"Selection",
                              L"InactiveSelection", L"Tip", L"GroupHeader"})
    EXPECT_NE(m.Styles().Find(name), nullptr) << name;
  GridStyle& heading = m.Styles().Item(L"heading");
  heading.BackColor = 0xDABAA8;
  heading.ForeColor = 0x7B2D02;
  heading.OwnFont() = StyleFont{L"verdana", 9, true, false};
  const GridStyle resolved = m.HeadingStyle(0);
  EXPECT_EQ(*resolved.BackColor, 0xDABAA8u);
  EXPECT_EQ(resolved.Font->size, 9.0f);
  EXPECT_TRUE(resolved.Font->bold);
  // A column's alignment reaches its cells over Normal's.
  m.Columns().Add(L"C").Style().TextAlignment = kAlignRight;
  m.SetDataRowCount(1);
  EXPECT_EQ(*m.CellStyle(0, 1).TextAlignment, kAlignRight);
  EXPECT_EQ(ToColorRef(0x8000000F), GetSysColor(COLOR_BTNFACE));  // system colours translate
}

namespace {

GridValue Owned(VARIANT v) { return GridValue::Attach(v); }

bool SameValue(const GridValue& a, const GridValue& b) {
  if (a.type() != b.type()) return false;
  if (a.type() & VT_ARRAY) return true;
  if (a.type() == VT_BSTR && (V_BSTR(&a.get()) == nullptr) != (V_BSTR(&b.get()) == nullptr)) return false;
  return a.Text() == b.Text();
}

}  // namespace

// Rows are held packed: every kind of value comes back as written, written column by
// column (each write packs another row, and the old bytes are gathered), read back
// before and after a sort.
TEST(GridRows, EveryKindOfValueComesBackAsWritten) {
  VARIANT nullText{}, currency{}, decimal{}, small{}, bytes{};
  V_VT(&nullText) = VT_BSTR;
  V_VT(&currency) = VT_CY;
  V_CY(&currency).int64 = 123456789;
  VarDecFromR8(3.25, &V_DECIMAL(&decimal));
  V_VT(&decimal) = VT_DECIMAL;
  V_VT(&small) = VT_I2;
  V_I2(&small) = -7;
  V_VT(&bytes) = VT_ARRAY | VT_UI1;
  V_ARRAY(&bytes) = SafeArrayCreateVector(VT_UI1, 0, 3);
  const std::vector<GridValue> kinds = {
      GridValue(),          GridValue::Null(),      GridValue(-5L),         GridValue(2.5),
      GridValue::Date(45000.25), GridValue::Bool(true), GridValue::Bool(false), GridValue(L"usuario7"),
      GridValue(L""),       GridValue(std::wstring(300, L'x')), GridValue(std::wstring(L"a\0b", 3)),
      Owned(nullText),      Owned(currency),        Owned(decimal),         Owned(small),
      Owned(bytes)};
  const int rows = 5000;
  GridModel m;
  for (size_t k = 0; k <= kinds.size(); ++k) m.Columns().Add(L"C" + std::to_wstring(k));
  m.SetDataRowCount(rows);
  // The last column: a text of its own on every row.
  auto expected = [&](int row, size_t k) { return k < kinds.size() ? kinds[k] : GridValue(L"fila " + std::to_wstring(row)); };
  for (size_t k = 0; k <= kinds.size(); ++k)
    for (int r = 0; r < rows; ++r) m.SetValue(r, static_cast<int>(k), expected(r, k));
  auto check = [&](const char* when, auto rowOf) {
    for (int r = 0; r < rows; r += 7)
      for (size_t k = 0; k <= kinds.size(); ++k)
        ASSERT_TRUE(SameValue(m.CellValue(r, static_cast<int>(k) + 1), expected(rowOf(r), k)))
            << when << " row " << r << " kind " << k;
  };
  check("as written", [](int r) { return r; });
  m.Columns().Item(static_cast<int>(kinds.size()) + 1).SortOrder = kSortDescending;
  m.Columns().Item(static_cast<int>(kinds.size()) + 1).SortType = kSortText;
  m.Sort(static_cast<int>(kinds.size()) + 1);
  // "fila 999" sorts before "fila 9989": descending text order of the row numbers.
  std::vector<int> order(rows);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [](int a, int b) { return std::to_wstring(a) > std::to_wstring(b); });
  check("sorted", [&](int r) { return order[static_cast<size_t>(r)]; });
}

// Past the texts a grid keeps once, texts stay in their rows and still read back, a
// row of any size among them.
TEST(GridRows, ManyDifferentTextsReadBack) {
  GridModel m;
  m.Columns().Add(L"Texto");
  const int rows = 70000;
  m.SetDataRowCount(rows);
  for (int r = 0; r < rows; ++r) m.SetValue(r, 0, GridValue(L"texto " + std::to_wstring(r)));
  // A row larger than the blocks rows are kept in, among others.
  const std::wstring page(700000, L'p');
  m.SetValue(5, 0, GridValue(page));
  m.SetValue(6, 0, GridValue(L"después"));
  for (int r = 0; r < rows; r += 997) EXPECT_EQ(m.CellText(r, 1), L"texto " + std::to_wstring(r));
  EXPECT_EQ(m.CellText(rows - 1, 1), L"texto " + std::to_wstring(rows - 1));
  EXPECT_EQ(m.CellText(5, 1), page);
  EXPECT_EQ(m.CellText(6, 1), L"después");
}
