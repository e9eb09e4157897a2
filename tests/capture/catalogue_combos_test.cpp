// The catalogue combos on a shown test form over a copy of the sample database: what
// LoadCombos fills and when it gives up, the picker buttons choosing, cancelling and
// failing (and the real picker's single-row answer), and the maintenance screen's
// record following the user's choice.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/catalogue_combos.h"
#include "host/fsearch.h"
#include "host/host_seams.h"
#include "host/shared_state.h"
#include "host/test_databases.h"
#include "hosted/window_driver.h"
#include "runtime/mouse_pointer.h"
#include "runtime/timer.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using capture::Catalogue;
using hosted::ComboBox;

const wchar_t kAppKey[] = L"VkCaptureCombos";

std::vector<std::wstring> Items(const ComboBox& combo) {
  std::vector<std::wstring> items;
  for (int i = 0; i < combo.ListCount(); ++i) items.push_back(combo.List(i));
  return items;
}

class CatalogueCombosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    data_ = DataAccess::Create();
    ASSERT_TRUE(data_);
  }
  ComboBox& Add(const wchar_t* name, double top, int index = -1, const wchar_t* tag = L"") {
    ControlArgs args = test::At(2280, top, 4215, 315, name);
    args.index = index;
    args.tag = tag;
    return form_->Add<ComboBox>(args);
  }
  bool Load(const capture::ScreenYield& yield = nullptr) {
    return capture::LoadCombos(*form_, *data_, combos_, yield ? yield : capture::YieldWhileLoaded(*form_));
  }
  void Sql(const std::wstring& sql) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(kAppKey, sql, &error)) << error;
  }

  test::ComApartment com_;
  test::TestDatabases databases_{kAppKey};
  std::optional<DataAccess> data_;
  test::ShownForm form_{11475, 4000};
  capture::CatalogueCombos combos_{&Add(L"cboCategoriaId", 540), &Add(L"cboSubCategoriaId", 900),
                                   &Add(L"cboGerenciaId", 1260), &Add(L"cboTipoDocumentoId", 1620)};
};

TEST_F(CatalogueCombosTest, EveryComboIsFilledFromItsTag) {
  ComboBox& templateCombo = Add(L"VkComboBox", 1980, 0);
  ComboBox& fixed = Add(L"VkComboBox", 1980, 1, L"ARS|USD|EUR");
  ComboBox& barInStatement =
      Add(L"VkComboBox", 2340, 2, L"  select GerenciaId , Gerencia || '|' From Gerencias Where GerenciaId = 'OP'");
  ComboBox& failing = Add(L"VkComboBox", 2700, 3, L"Select Nada From NoSuchTable");
  failing.LoadArray(L"old");
  ASSERT_TRUE(Load());

  EXPECT_EQ(combos_.cboCategoriaId->tag(),
            L"Select CategoriaId , Categoria From TipoCategorias Where IsEnabled = 1 Order By CategoriaId");
  EXPECT_EQ(combos_.cboSubCategoriaId->tag(),
            L"Select SubCategoriaId , SubCategoria From TipoSubCategorias Where IsEnabled = 1 Order By SubCategoriaId");
  EXPECT_EQ(combos_.cboGerenciaId->tag(),
            L"Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1 Order By GerenciaId");
  EXPECT_EQ(combos_.cboTipoDocumentoId->tag(),
            L"Select TipoDocumentoId , TipoDocumento From TipoDocumentos Where IsEnabled = 1 Order By TipoDocumentoId");
  EXPECT_EQ(Items(*combos_.cboCategoriaId),
            (std::vector<std::wstring>{L"", L"1 - Contratos", L"2 - Facturas", L"3 - Personal"}));
  EXPECT_EQ(Items(*combos_.cboSubCategoriaId),
            (std::vector<std::wstring>{L"", L"1 - Originales", L"2 - Copias", L"3 - Anexos"}));
  EXPECT_EQ(Items(*combos_.cboGerenciaId), (std::vector<std::wstring>{L"", L"AD - Administración", L"OP - Operaciones",
                                                                      L"RH - Recursos Humanos"}));
  EXPECT_EQ(Items(*combos_.cboTipoDocumentoId).front(), L"");
  EXPECT_EQ(Items(*combos_.cboTipoDocumentoId)[1], L"1 - Contrato");
  EXPECT_EQ(Items(templateCombo), std::vector<std::wstring>{L""});
  EXPECT_EQ(Items(fixed), (std::vector<std::wstring>{L"", L"ARS", L"USD", L"EUR"}));
  EXPECT_EQ(Items(barInStatement), (std::vector<std::wstring>{L"", L"OP - Operaciones|"}));
  EXPECT_EQ(Items(failing), std::vector<std::wstring>{L""});
}

TEST_F(CatalogueCombosTest, AFailingCatalogueQueryOrAStopEndsTheFill) {
  Sql(L"Alter Table Gerencias Rename To GerenciasCerradas");
  EXPECT_FALSE(Load());
  EXPECT_EQ(combos_.cboSubCategoriaId->ListCount(), 4);  // filled before the failure, kept
  EXPECT_EQ(combos_.cboGerenciaId->ListCount(), 1);
  EXPECT_EQ(combos_.cboTipoDocumentoId->ListCount(), 1);  // never reached
  Sql(L"Alter Table GerenciasCerradas Rename To Gerencias");

}

TEST_F(CatalogueCombosTest, AYieldThatSaysStopEndsTheFillQuietly) {
  int yields = 0;
  EXPECT_FALSE(Load([&] { return ++yields < 2; }));  // the screen went during the second yield
  EXPECT_EQ(yields, 2);
  EXPECT_EQ(combos_.cboCategoriaId->ListCount(), 4);
  EXPECT_EQ(combos_.cboSubCategoriaId->ListCount(), 1);
}

TEST_F(CatalogueCombosTest, PickerButtonsChooseCancelAndFailQuietly) {
  ASSERT_TRUE(Load());
  capture::DocumentRecord record;
  capture::KeepRecordKeys(combos_, record);
  std::vector<std::wstring> asked;
  Variant answer;
  bool fail = false;
  ScopedPicker picker([&](const std::wstring& sentence, const std::wstring& key) {
    asked.push_back(sentence + L" / " + key);
    if (fail) Raise(err::InvalidProcedureCall);
    return answer;
  });

  answer = Variant(L"3");
  EXPECT_EQ(CStr(capture::PickCatalogueKey(combos_, Catalogue::Categoria)), L"3");
  EXPECT_EQ(combos_.cboCategoriaId->Text(), L"3 - Personal");
  EXPECT_EQ(record.CategoriaId, L"3");
  EXPECT_EQ(asked.back(), std::wstring(capture::kCategoriaSource) + L" / CategoriaId");
  answer = Variant(2L);  // a numeric key is selected by its text
  capture::PickCatalogueKey(combos_, Catalogue::TipoDocumento);
  EXPECT_EQ(combos_.cboTipoDocumentoId->Text(), L"2 - Factura");
  EXPECT_EQ(asked.back(), std::wstring(capture::kTipoDocumentoSource) + L" / TipoDocumentoId");

  for (Variant cancelled : {Variant(), Variant(L"")}) {
    answer = cancelled;
    capture::PickCatalogueKey(combos_, Catalogue::Categoria);
    EXPECT_EQ(combos_.cboCategoriaId->Text(), L"3 - Personal");
    EXPECT_EQ(record.CategoriaId, L"3");
  }
  fail = true;
  EXPECT_TRUE(capture::PickCatalogueKey(combos_, Catalogue::Gerencia).isEmpty());
  EXPECT_EQ(combos_.cboGerenciaId->ListIndex(), 0);
  EXPECT_EQ(MousePointer(), pointer::Default);
}

// Without a chooser in place the real picker runs: one enabled type answers at once.
TEST_F(CatalogueCombosTest, OneEnabledTypeIsPickedWithoutADialog) {
  Sql(L"Update TipoDocumentos Set IsEnabled = 0 Where TipoDocumentoId <> 2");
  ASSERT_TRUE(Load());
  Timer guard(5000);
  guard.Tick.Connect([] {
    ADD_FAILURE() << "the picker showed a dialog";
    if (auto picker = FindLoadedForm(L"FSearch")) picker->Unload();
  });
  EXPECT_EQ(CStr(capture::PickCatalogueKey(combos_, Catalogue::TipoDocumento)), L"2");
  EXPECT_EQ(combos_.cboTipoDocumentoId->Text(), L"2 - Factura");
  EXPECT_EQ(FindLoadedForm(L"FSearch"), nullptr);
  EXPECT_EQ(MousePointer(), pointer::Default);
}

TEST_F(CatalogueCombosTest, TheRecordFollowsTheUsersChoiceOnly) {
  ASSERT_TRUE(Load());
  capture::DocumentRecord record;
  record.GerenciaId = L"XX";
  capture::KeepRecordKeys(combos_, record);
  {
    MuteEvents quiet(combos_.cboGerenciaId->Change);  // a record being shown
    combos_.cboGerenciaId->SelectStoredKey(L"XX");
  }
  EXPECT_EQ(combos_.cboGerenciaId->Text(), L"XX");
  EXPECT_EQ(record.GerenciaId, L"XX");

  SetFocus(combos_.cboGerenciaId->inner());
  test::Key(combos_.cboGerenciaId->inner(), VK_HOME);
  test::Key(combos_.cboGerenciaId->inner(), VK_DOWN);
  test::Key(combos_.cboGerenciaId->inner(), VK_DOWN);
  EXPECT_EQ(record.GerenciaId, L"OP");
  test::Key(combos_.cboGerenciaId->inner(), VK_HOME);
  EXPECT_EQ(record.GerenciaId, L"");
  combos_.cboSubCategoriaId->LoadArray(L" 12 - Doce|7");
  combos_.cboSubCategoriaId->SetListIndex(1);
  EXPECT_EQ(record.SubCategoriaId, L"12");
  EXPECT_EQ(record.CategoriaId, L"");
}

TEST(WholeNumber, AcceptsOnlyWholeNumbersThatFit) {
  struct Case {
    const wchar_t* text;
    std::optional<long> value;
  } cases[] = {{L"12", 12},          {L" 7 ", 7},  {L"-3", -3},           {L"+4", 4},
               {L"2147483647", 2147483647L}, {L"", std::nullopt}, {L"12.5", std::nullopt}, {L"7a", std::nullopt},
               {L"-", std::nullopt}, {L"2147483648", std::nullopt}, {L"1 2", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(capture::WholeNumber(c.text), c.value) << c.text;
}

}  // namespace
