// The grid set-up from the column dictionary against a copy of the sample database:
// each editor kind and data type, alignments, widths and tags, value lists, the
// sample "DocumentosView" dictionary, the styles, and the ways it refuses.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "hosted/grid/grid_members.h"
#include "screen_kit/data_access.h"
#include "screen_kit/grid_dictionary.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using grid::GridColumn;

const wchar_t kAppKey[] = L"VkPickerDictionary";

class GridDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    databases_.Sql(kAppKey, L"Delete From DictionaryFields Where TableName = 'Caso'");
  }
  // One dictionary row of the table "Caso"; values are SQL literals.
  void AddRow(int id, const std::wstring& screenType, const std::wstring& sqlType, const std::wstring& relation,
              const std::wstring& alignment, int enabled, int visible, int width, int length) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(kAppKey,
        L"Insert Into DictionaryFields (TableName, FieldId, FieldName, FieldCaption, ScreenType, SQLDataType, "
        L"RelationSentence, Alignment, IsEnabled, IsVisible, ColumnWidth, Length) Values ('Caso', " +
        std::to_wstring(id) + L", 'F" + std::to_wstring(id) + L"', 'Campo " + std::to_wstring(id) + L"', " +
        screenType + L", " + sqlType + L", " + relation + L", " + alignment + L", " + std::to_wstring(enabled) +
        L", " + std::to_wstring(visible) + L", " + std::to_wstring(width) + L", " + std::to_wstring(length) + L")",
        &error)) << error;
  }
  std::optional<Recordset> Rows(const std::wstring& sql) {
    data_ = DataAccess::Create();
    EXPECT_TRUE(data_);
    auto rows = data_->GetData(kAppKey, sql);
    EXPECT_TRUE(rows) << data_->ErrDescription();
    return rows;
  }
  std::optional<Recordset> CaseRows() {
    return Rows(L"Select * From DictionaryFields Where TableName = 'Caso' Order By FieldId");
  }

  test::ComApartment com_;
  test::TestDatabases databases_{kAppKey};
  std::optional<DataAccess> data_;
  grid::GridMembers grid_;
};

struct EditorCase {
  const wchar_t* screenType;  // SQL literal
  const wchar_t* sqlType;
  int dataType, sortType, editorType;
  const wchar_t* format;
  int pictureAlignment;  // -1: not set
};

TEST_F(GridDictionaryTest, EachEditorKindAndDataType) {
  const EditorCase cases[] = {
      {L"'CheckBox'", L"11", grid::kTypeBoolean, grid::kSortNumeric, grid::kEditCheckBox, L"FormatText Event", 4},
      {L"'CheckBox'", L"135", grid::kTypeDate, grid::kSortDate, grid::kEditCheckBox, L"", 4},
      {L"'CheckBox'", L"200", grid::kTypeText, grid::kSortText, grid::kEditCheckBox, L"", 4},
      {L"'ListBox'", L"3", grid::kTypeVariant, grid::kSortNumeric, grid::kEditDropDownList, L"FormatText Event", -1},
      {L"'DTPicker'", L"135", grid::kTypeDate, grid::kSortDate, grid::kEditDatePicker, L"", -1},
      {L"'DTPicker'", L"201", grid::kTypeText, grid::kSortText, grid::kEditDatePicker, L"", -1},
      {L"'DTPicker'", L"72", grid::kTypeDate, grid::kSortDate, grid::kEditDatePicker, L"", -1},
      {L"'TextBox'", L"131", grid::kTypeVariant, grid::kSortNumeric, grid::kEditText, L"FormatText Event", -1},
      {L"'TextBox'", L"6", grid::kTypeVariant, grid::kSortNumeric, grid::kEditText, L"FormatText Event", -1},
      {L"'TextBox'", L"72", grid::kTypeVariant, grid::kSortDefault, grid::kEditText, L"", -1},
      {L"'checkbox'", L"200", grid::kTypeText, grid::kSortText, grid::kEditText, L"", -1},
      {L"'DTPICKER'", L"200", grid::kTypeText, grid::kSortText, grid::kEditText, L"", -1},
      {L"NULL", L"200", grid::kTypeText, grid::kSortText, grid::kEditText, L"", -1},
      // A Null data type is read as a type without a treatment of its own.
      {L"'CheckBox'", L"NULL", grid::kTypeBoolean, grid::kSortDefault, grid::kEditCheckBox, L"", 4},
      {L"'TextBox'", L"NULL", grid::kTypeVariant, grid::kSortDefault, grid::kEditText, L"", -1},
  };
  int id = 1;
  for (const auto& c : cases) AddRow(id++, c.screenType, c.sqlType, L"NULL", L"0", 0, 1, 10, 20);
  auto rows = CaseRows();
  ASSERT_TRUE(rows);
  ASSERT_TRUE(SetupGridFromDictionary(grid_, 8000, &*rows));
  ASSERT_EQ(grid_.Columns().Count(), 1 + static_cast<int>(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const GridColumn& col = grid_.Columns().Item(static_cast<int>(i) + 1);
    SCOPED_TRACE(std::wstring(c.screenType) + L" " + c.sqlType);
    EXPECT_EQ(col.Key, L"F" + std::to_wstring(i + 1));
    EXPECT_EQ(col.DataType, c.dataType);
    EXPECT_EQ(col.SortType, c.sortType);
    EXPECT_EQ(col.EditorType, c.editorType);
    EXPECT_EQ(col.Style().Format, c.format);
    if (c.pictureAlignment < 0) {
      EXPECT_FALSE(col.Style().PictureAlignment.has_value());
    } else {
      EXPECT_EQ(col.Style().PictureAlignment.value_or(-1), c.pictureAlignment);
    }
    EXPECT_TRUE(col.ValueItems.empty());
  }
}

struct ListCase {
  const wchar_t* relation;  // SQL literal
  int dropDownRows;
  std::vector<std::pair<std::wstring, std::wstring>> items;  // stored value as text, shown text
};

TEST_F(GridDictionaryTest, ComboValueListsFromFixedListsAndQueries) {
  const ListCase cases[] = {
      {L"'1:Sí|0:No'", 2, {{L"1", L"Sí"}, {L"0", L"No"}}},
      {L"'A|B'", 2, {{L"A", L""}, {L"B", L""}}},
      {L"' X : Equis | Y:Ye |Z'", 3, {{L"X", L"Equis"}, {L"Y", L"Ye"}, {L"Z", L""}}},
      {L"'Select GerenciaId , Gerencia From Gerencias Order By GerenciaId'", 20, {}},  // filled below
      {L"'Select Nada From TablaQueNoExiste'", 20, {}},
  };
  int id = 1;
  for (const auto& c : cases) AddRow(id++, L"'ComboBox'", L"200", c.relation, L"0", 0, 1, 10, 20);
  // The query case expects the rows of Gerencias, read on their own.
  std::vector<std::pair<std::wstring, std::wstring>> gerencias;
  {
    auto g = Rows(L"Select GerenciaId , Gerencia From Gerencias Order By GerenciaId");
    ASSERT_TRUE(g);
    for (g->MoveFirst(); !g->IsEOF(); g->MoveNext()) gerencias.emplace_back(g->Field(0L).toText(), g->Field(1L).toText());
    ASSERT_FALSE(gerencias.empty());
  }
  auto rows = CaseRows();
  ASSERT_TRUE(rows);
  ASSERT_TRUE(SetupGridFromDictionary(grid_, 8000, &*rows));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const GridColumn& col = grid_.Columns().Item(static_cast<int>(i) + 1);
    SCOPED_TRACE(cases[i].relation);
    EXPECT_EQ(col.EditorType, grid::kEditDropDownList);
    EXPECT_EQ(col.DropDownRows, cases[i].dropDownRows);
    const auto& expected = i == 3 ? gerencias : cases[i].items;
    ASSERT_EQ(col.ValueItems.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
      EXPECT_EQ(col.ValueItems[k].Value.Text(), expected[k].first);
      EXPECT_EQ(col.ValueItems[k].Display, expected[k].second);
    }
  }
  // Stored values of a fixed list show as their texts.
  EXPECT_EQ(grid_.Columns().Item(1).DisplayText(grid::GridValue(1L)), L"Sí");
}

struct PlaceCase {
  const wchar_t* alignment;
  int enabled, visible, width, length;
  int textAlignment;
  bool hidden;
  float columnWidth;
  long tag;
};

TEST_F(GridDictionaryTest, AlignmentEditabilityVisibilityWidthTagAndLength) {
  const PlaceCase cases[] = {
      {L"0", 0, 1, 25, 10, grid::kAlignLeft, false, 2000.0f, 25},
      {L"1", 1, 1, 10, 255, grid::kAlignCenter, false, 800.0f, 10},
      {L"2", 0, 1, 50, 0, grid::kAlignRight, false, 4000.0f, 50},
      {L"3", 0, 0, 25, 1, grid::kAlignLeft, true, 2000.0f, 0},
      {L"''", 1, 0, 0, 7, grid::kAlignLeft, true, 0.0f, 0},
  };
  int id = 1;
  for (const auto& c : cases)
    AddRow(id++, L"'TextBox'", L"200", L"NULL", c.alignment, c.enabled, c.visible, c.width, c.length);
  auto rows = CaseRows();
  ASSERT_TRUE(rows);
  ASSERT_TRUE(SetupGridFromDictionary(grid_, 8000, &*rows));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const GridColumn& col = grid_.Columns().Item(static_cast<int>(i) + 1);
    SCOPED_TRACE(i);
    EXPECT_EQ(col.Caption, L"Campo " + std::to_wstring(i + 1));
    EXPECT_EQ(col.Style().TextAlignment.value_or(-1), c.textAlignment);
    EXPECT_EQ(col.ReadOnly, !c.enabled) << "a column not enabled is read-only for the user";
    EXPECT_EQ(col.Hidden, c.hidden);
    EXPECT_FLOAT_EQ(col.Width, c.columnWidth);
    double tag = -1;
    ASSERT_TRUE(col.Tag.ToDouble(tag));
    EXPECT_EQ(tag, c.tag);
    EXPECT_EQ(col.MaxLength, c.length);
  }
}

TEST_F(GridDictionaryTest, SampleDocumentListDictionary) {
  auto rows = Rows(L"Select * From DictionaryFields Where TableName = 'DocumentosView' Order By FieldId");
  ASSERT_TRUE(rows);
  ASSERT_TRUE(SetupGridFromDictionary(grid_, 11430, &*rows));
  auto& cols = grid_.Columns();
  ASSERT_EQ(cols.Count(), 1 + 23);
  const std::pair<const wchar_t*, const wchar_t*> keys[] = {
      {L"CategoriaId", L"Categoría"}, {L"Fecha", L"Fecha"}, {L"DocumentoId", L"Nro."}, {L"IsNew", L"Leído"}};
  for (const auto& [key, caption] : keys) EXPECT_EQ(cols.Item(key).Caption, caption) << key;
  EXPECT_EQ(cols.Item(1).Key, L"CategoriaId");
  EXPECT_EQ(cols.Item(23).Key, L"IsNew");
  EXPECT_FALSE(cols.Item(L"CategoriaId").ValueItems.empty());
  EXPECT_EQ(cols.Item(L"Fecha").DataType, grid::kTypeDate);
  EXPECT_EQ(cols.Item(L"DocumentoId").Style().TextAlignment.value_or(0), grid::kAlignRight);
  EXPECT_EQ(cols.Item(L"DocumentoId").SortType, grid::kSortNumeric);
  EXPECT_TRUE(cols.Item(L"Path").Hidden);
  EXPECT_EQ(cols.Item(L"Path").Tag.Text(), L"0");
  EXPECT_EQ(cols.Item(L"IsNew").DataType, grid::kTypeBoolean);
  EXPECT_EQ(cols.Item(L"IsNew").Style().TextAlignment.value_or(0), grid::kAlignCenter);
  EXPECT_FLOAT_EQ(cols.Item(L"Campo01").Width, static_cast<float>(11430 * 14 / 100.0));
  EXPECT_EQ(cols.Item(L"Campo01").MaxLength, 255);
  // The styles come last.
  const grid::GridStyle* heading = grid_.Styles().Find(L"Heading");
  ASSERT_TRUE(heading && heading->Font);
  EXPECT_EQ(heading->Font->name, L"verdana");
  EXPECT_FLOAT_EQ(heading->Font->size, 9.0f);
  EXPECT_TRUE(heading->Font->bold);
}

TEST_F(GridDictionaryTest, ColumnsAppendToWhatTheGridHas) {
  grid_.Columns().Add(L"Existing");
  AddRow(1, L"'TextBox'", L"200", L"NULL", L"0", 0, 1, 10, 20);
  auto rows = CaseRows();
  ASSERT_TRUE(rows);
  ASSERT_TRUE(SetupGridFromDictionary(grid_, 8000, &*rows));
  ASSERT_EQ(grid_.Columns().Count(), 3);
  EXPECT_EQ(grid_.Columns().Item(2).Key, L"F1");
}

TEST_F(GridDictionaryTest, RefusalsKeepTheColumnsMadeAndSkipTheStyles) {
  EXPECT_FALSE(SetupGridFromDictionary(grid_, 8000, nullptr));
  EXPECT_EQ(grid_.Columns().Count(), 1);

  // A recordset without ScreenType: the first column is made, then the set-up stops.
  AddRow(1, L"'TextBox'", L"200", L"NULL", L"0", 0, 1, 10, 20);
  AddRow(2, L"'TextBox'", L"200", L"NULL", L"0", 0, 1, 10, 20);
  auto partial = Rows(L"Select FieldName, FieldCaption From DictionaryFields Where TableName = 'Caso' Order By FieldId");
  ASSERT_TRUE(partial);
  EXPECT_FALSE(SetupGridFromDictionary(grid_, 8000, &*partial));
  EXPECT_EQ(grid_.Columns().Count(), 2);
  const grid::GridStyle* heading = grid_.Styles().Find(L"Heading");
  ASSERT_TRUE(heading);
  EXPECT_NE(heading->BackColor.value_or(0), RGB(168, 186, 218));

  // A value that does not convert (a text width).
  grid::GridMembers other;
  databases_.Sql(kAppKey, L"Update DictionaryFields Set ColumnWidth = 'ancho' Where TableName = 'Caso' And FieldId = 2");
  auto bad = CaseRows();
  ASSERT_TRUE(bad);
  EXPECT_FALSE(SetupGridFromDictionary(other, 8000, &*bad));
  EXPECT_EQ(other.Columns().Count(), 3);  // head column, F1, and F2 made before the width failed
}

TEST_F(GridDictionaryTest, NoDataAccessComponentIsAFailure) {
  AddRow(1, L"'TextBox'", L"200", L"NULL", L"0", 0, 1, 10, 20);
  auto rows = CaseRows();
  ASSERT_TRUE(rows);
  HostSeams seams = Seam<HostSeams>::Real();
  seams.createDataAccess = [] { return com::ComPtr<IDispatch>(); };
  ScopedHostSeams scope(seams);
  EXPECT_FALSE(SetupGridFromDictionary(grid_, 8000, &*rows));
  EXPECT_EQ(grid_.Columns().Count(), 1);
}

struct StyleCase {
  const wchar_t* name;
  COLORREF back, back2;
  std::optional<COLORREF> fore, border;  // unset: the grid's own
  bool ownBoldFont;
};

TEST(ListStyles, TwoToneGradientsAndBoldHeadings) {
  const StyleCase cases[] = {
      {L"Frozen", RGB(255, 255, 255), RGB(255, 255, 255), {}, RGB(0, 0, 0), false},
      {L"Normal", RGB(255, 255, 255), RGB(255, 255, 255), {}, RGB(0, 0, 0), false},
      {L"GridBackground", RGB(255, 255, 255), RGB(239, 244, 252), {}, {}, false},
      {L"Heading", RGB(168, 186, 218), RGB(211, 220, 236), RGB(2, 45, 123), {}, true},
      {L"Selection", RGB(253, 252, 238), RGB(250, 247, 220), RGB(0, 0, 0), RGB(225, 213, 102), true},
      {L"InactiveSelection", RGB(247, 247, 248), RGB(238, 239, 241), RGB(0, 0, 0), RGB(207, 210, 214), true},
      {L"Tip", RGB(255, 255, 0), RGB(255, 0, 0), {}, {}, false},
  };
  grid::StyleCollection styles;
  ApplyListStyles(styles);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const grid::GridStyle* s = styles.Find(c.name);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->BackColor.value_or(1), c.back);
    EXPECT_EQ(s->BackColor2.value_or(1), c.back2);
    EXPECT_EQ(s->BackgroundStyle.value_or(0), grid::kBackgroundGradient);
    if (c.fore) {
      EXPECT_EQ(*s->ForeColor, *c.fore);
    }
    if (c.border) {
      EXPECT_EQ(*s->BorderColor, *c.border);
    }
    EXPECT_EQ(s->Font.has_value() && s->Font->bold, c.ownBoldFont);
  }
  EXPECT_EQ(styles.Find(L"Normal")->Transparency[1], 224);
}

}  // namespace
