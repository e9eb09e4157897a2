// The catalogue combos and the field editors on a shown test screen (the frames and
// combos a capture screen has) over a copy of the sample database: what LoadCombos
// fills and when it gives up, the picker buttons, the maintenance record following the
// user's choice; the editors' build, the placement of the sample types on both
// screens' geometry, a switch from five fields to two, the write-back of each editor
// kind from real input, fills that never write into the record, keys outside the
// lists, rows that fail, and the scrolling of a full frame.
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "capture/catalogue_combos.h"
#include "capture/field_editors.h"
#include "hosted/window_driver.h"
#include "runtime/mouse_pointer.h"
#include "runtime/timer.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using capture::Catalogue;
using capture::FieldEditors;
using capture::PlacedField;

const wchar_t kAppKey[] = L"VkCaptureScreen";

// The items of a combo joined by "|" (the empty first item included).
std::wstring Items(const hosted::ComboBox& combo) {
  std::wstring items;
  for (int i = 0; i < combo.ListCount(); ++i) items += (i ? L"|" : L"") + combo.List(i);
  return items;
}

// What a capture screen gives the editors: the four combos, the two frames, the accept
// command on the cataloguing screen.
class FCaptureTest : public Form {
 public:
  FCaptureTest(capture::FieldEditorGeometry geometry, double parameterWidth)
      : Form({.name = L"FCaptureTest", .caption = L"Capture test", .scaleWidth = 11475, .scaleHeight = 5000}) {
    auto at = [](const wchar_t* name, double left, double top, double width, double height) {
      return test::At(left, top, width, height, name);
    };
    combos.cboCategoriaId = &Add<hosted::ComboBox>(at(L"cboCategoriaId", 2280, 60, 4215, 315));
    combos.cboSubCategoriaId = &Add<hosted::ComboBox>(at(L"cboSubCategoriaId", 2280, 420, 4215, 315));
    combos.cboGerenciaId = &Add<hosted::ComboBox>(at(L"cboGerenciaId", 2280, 780, 4215, 315));
    combos.cboTipoDocumentoId = &Add<hosted::ComboBox>(at(L"cboTipoDocumentoId", 2280, 1140, 4215, 315));
    VkDataParameter = &Add<hosted::Frame>(at(L"VkDataParameter", 180, 1560, parameterWidth, 1815));
    if (!geometry.typeIntoRecord) {
      ControlArgs accept = at(L"cmdAceptar", 5160, 1300, 1035, 315);
      accept.container = VkDataParameter;
      cmdAceptar = &Add<hosted::CommandButton>(accept, L"&Aceptar");
    }
    ControlArgs temp = at(L"VkDataTemp", 180, 3500, 1815, 1635);
    temp.visible = false;
    VkDataTemp = &Add<hosted::Frame>(temp);
    editors.emplace(*this, FieldEditors::Frames{*VkDataParameter, *VkDataTemp, *combos.cboTipoDocumentoId, cmdAceptar},
                    geometry, record, [this] { return data ? &*data : nullptr; });
  }

  capture::CatalogueCombos combos;
  hosted::Frame* VkDataParameter = nullptr;
  hosted::Frame* VkDataTemp = nullptr;
  hosted::CommandButton* cmdAceptar = nullptr;
  capture::DocumentRecord record;
  std::optional<DataAccess> data = DataAccess::Create();
  std::optional<FieldEditors> editors;
};

// One placed control as the test sees it: "VkTextBox(3) 2200,400 w3915 '1'" for an
// editor (its Tag), "lblTitle(3) 200,450 'Nombre'" for a caption (its width is its text's).
std::wstring Shown(const std::wstring& name, int k, double left, double top, double width, const std::wstring& text) {
  std::wstring out = name + L"(" + std::to_wstring(k) + L") " + std::to_wstring(static_cast<int>(left)) + L"," +
                     std::to_wstring(static_cast<int>(top));
  return out + (width ? L" w" + std::to_wstring(static_cast<int>(width)) : L"") + L" '" + text + L"'";
}

class CaptureScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
  }
  void TearDown() override {
    if (screen_) screen_->Unload();
    test::Pump();
  }
  // Loads and shows the screen, builds its editors and loads its combos.
  FCaptureTest& Open(capture::FieldEditorGeometry geometry = capture::kCataloguingGeometry,
                     double parameterWidth = 6315) {
    screen_ = Form::Load<FCaptureTest>(geometry, parameterWidth);
    screen_->Show();
    EXPECT_TRUE(screen_->editors->BuildFieldEditors(*screen_->data, YieldWhileLoaded(*screen_)));
    EXPECT_TRUE(LoadCombos());
    return *screen_;
  }
  bool LoadCombos(const ScreenYield& yield = nullptr) {
    return capture::LoadCombos(*screen_, *screen_->data, screen_->combos,
                               yield ? yield : YieldWhileLoaded(*screen_));
  }
  void SelectType(const wchar_t* key) { screen_->combos.cboTipoDocumentoId->SelectKey(key); }
  void Sql(const std::wstring& sql) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(kAppKey, sql, &error)) << error;
  }
  // The editors and labels in VkDataParameter, sorted.
  std::vector<std::wstring> Placed() const {
    std::vector<std::wstring> shown;
    for (Control* c : screen_->Controls()) {
      if (&c->container() != screen_->VkDataParameter || c == screen_->cmdAceptar) continue;
      auto* label = dynamic_cast<hosted::Label*>(c);
      shown.push_back(Shown(c->name(), c->index(), c->left(), c->top(), label ? 0 : c->width(),
                            label ? label->Caption() : c->tag()));
    }
    std::sort(shown.begin(), shown.end());
    return shown;
  }
  // The index k of the editor built for a field name.
  int EditorOf(const std::wstring& name) const {
    for (Control* c : screen_->Controls()) {
      auto* label = dynamic_cast<hosted::Label*>(c);
      if (label && c->name() == L"lblTitle" && c->index() > 0 && label->Caption() == name) return c->index();
    }
    return -1;
  }

  test::ComApartment com_;
  test::TestDatabases databases_{kAppKey};
  FixedClock clock_{MakeDate(2026, 12, 7, 10, 30)};
  ClockScope clockScope_{clock_};
  std::shared_ptr<FCaptureTest> screen_;
};

TEST_F(CaptureScreenTest, EveryComboIsFilledFromItsTag) {
  Sql(L"Insert Into TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, "
      L"RelationSentence, Alignment, Decimales, ToolTipText) Values "
      L"(4, 1, 'Barra', 0, 'ComboBox', '  select GerenciaId , Gerencia || ''|'' From Gerencias "
      L"Where GerenciaId = ''OP''', 0, 0, ''), (4, 2, 'Rota', 0, 'ComboBox', 'Select Nada From NoSuchTable', 0, 0, '')");
  FCaptureTest& s = Open();
  EXPECT_EQ(s.combos.cboCategoriaId->tag(),
            L"Select CategoriaId , Categoria From TipoCategorias Where IsEnabled = 1 Order By CategoriaId");
  EXPECT_EQ(s.combos.cboSubCategoriaId->tag(),
            L"Select SubCategoriaId , SubCategoria From TipoSubCategorias Where IsEnabled = 1 Order By SubCategoriaId");
  EXPECT_EQ(s.combos.cboGerenciaId->tag(),
            L"Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1 Order By GerenciaId");
  EXPECT_EQ(s.combos.cboTipoDocumentoId->tag(),
            L"Select TipoDocumentoId , TipoDocumento From TipoDocumentos Where IsEnabled = 1 Order By TipoDocumentoId");
  EXPECT_EQ(Items(*s.combos.cboCategoriaId), L"|1 - Contratos|2 - Facturas|3 - Personal");
  EXPECT_EQ(Items(*s.combos.cboGerenciaId), L"|AD - Administración|OP - Operaciones|RH - Recursos Humanos");
  EXPECT_EQ(Items(*s.combos.cboTipoDocumentoId), L"|1 - Contrato|2 - Factura|3 - Legajo|5 - Expediente");
  EXPECT_EQ(Items(s.editors->VkComboBox()[0]), L"") << "the template has no source";
  EXPECT_EQ(Items(s.editors->VkComboBox()[EditorOf(L"Moneda")]), L"|ARS|USD|EUR");
  EXPECT_EQ(Items(s.editors->VkComboBox()[EditorOf(L"Barra")]), L"|OP - Operaciones|");
  EXPECT_EQ(Items(s.editors->VkComboBox()[EditorOf(L"Rota")]), L"");

  int yields = 0;  // the screen went during the second yield: the fill stops quietly
  s.combos.cboSubCategoriaId->LoadArray(L"");
  EXPECT_FALSE(LoadCombos([&] { return ++yields < 2; }));
  EXPECT_EQ(yields, 2);
  EXPECT_EQ(s.combos.cboSubCategoriaId->ListCount(), 1);
  Sql(L"Alter Table Gerencias Rename To GerenciasCerradas");  // a catalogue list fails
  EXPECT_FALSE(LoadCombos());
  EXPECT_EQ(s.combos.cboSubCategoriaId->ListCount(), 4) << "filled before the failure, kept";
  EXPECT_EQ(s.combos.cboGerenciaId->ListCount(), 1);
}

TEST_F(CaptureScreenTest, PickerButtonsChooseCancelAndFailQuietly) {
  FCaptureTest& s = Open(capture::kMaintenanceGeometry, 9000);
  capture::KeepRecordKeys(s.combos, s.record);
  std::wstring asked;
  Variant answer;
  bool fail = false;
  ScopedPicker picker([&](const std::wstring& sentence, const std::wstring& key) {
    asked = sentence + L" / " + key;
    if (fail) Raise(err::InvalidProcedureCall);
    return answer;
  });
  answer = Variant(L"3");
  EXPECT_EQ(CStr(capture::PickCatalogueKey(s.combos, Catalogue::Categoria)), L"3");
  EXPECT_EQ(s.combos.cboCategoriaId->Text() + L"/" + s.record.CategoriaId, L"3 - Personal/3");
  EXPECT_EQ(asked, std::wstring(capture::kCategoriaSource) + L" / CategoriaId");
  answer = Variant(2L);  // a numeric key is selected by its text, and places the type's fields
  capture::PickCatalogueKey(s.combos, Catalogue::TipoDocumento);
  EXPECT_EQ(s.combos.cboTipoDocumentoId->Text(), L"2 - Factura");
  EXPECT_EQ(s.record.TipoDocumentoId, 2);
  EXPECT_EQ(asked, std::wstring(capture::kTipoDocumentoSource) + L" / TipoDocumentoId");
  for (Variant cancelled : {Variant(), Variant(L"")}) {
    answer = cancelled;
    capture::PickCatalogueKey(s.combos, Catalogue::Categoria);
    EXPECT_EQ(s.combos.cboCategoriaId->Text() + L"/" + s.record.CategoriaId, L"3 - Personal/3");
  }
  fail = true;
  EXPECT_TRUE(capture::PickCatalogueKey(s.combos, Catalogue::Gerencia).isEmpty());
  EXPECT_EQ(s.combos.cboGerenciaId->ListIndex(), 0);
  EXPECT_EQ(MousePointer(), pointer::Default);
}

// Without a chooser in place the real picker runs: one enabled type answers at once.
TEST_F(CaptureScreenTest, OneEnabledTypeIsPickedWithoutADialog) {
  Sql(L"Update TipoDocumentos Set IsEnabled = 0 Where TipoDocumentoId <> 2");
  FCaptureTest& s = Open();
  Timer guard(5000);
  guard.Tick.Connect([] {
    ADD_FAILURE() << "the picker showed a dialog";
    if (auto picker = FindLoadedForm(L"FSearch")) picker->Unload();
  });
  EXPECT_EQ(CStr(capture::PickCatalogueKey(s.combos, Catalogue::TipoDocumento)), L"2");
  EXPECT_EQ(s.combos.cboTipoDocumentoId->Text(), L"2 - Factura");
  EXPECT_EQ(FindLoadedForm(L"FSearch"), nullptr);
  EXPECT_EQ(MousePointer(), pointer::Default);
}

TEST_F(CaptureScreenTest, TheMaintenanceRecordFollowsTheUsersChoiceOnly) {
  Sql(L"Insert Into Gerencias (GerenciaId, Gerencia, IsEnabled) Values ('AD-1', 'Anexo - Norte', 1)");
  FCaptureTest& s = Open(capture::kMaintenanceGeometry, 9000);
  s.record.GerenciaId = L"XX";
  capture::KeepRecordKeys(s.combos, s.record);
  hosted::ComboBox& gerencia = *s.combos.cboGerenciaId;
  {
    MuteEvents quiet(gerencia.Change);  // a stored record being shown
    gerencia.SelectStoredKey(L"XX");
  }
  EXPECT_EQ(gerencia.Text() + L"/" + s.record.GerenciaId, L"XX/XX");
  SetFocus(gerencia.inner());
  for (UINT key : {VK_HOME, VK_DOWN, VK_DOWN, VK_DOWN}) test::Key(gerencia.inner(), key);
  EXPECT_EQ(s.record.GerenciaId, L"OP");
  test::Key(gerencia.inner(), VK_HOME);
  EXPECT_EQ(s.record.GerenciaId, L"");
  gerencia.SelectKey(L"AD-1");  // a key with a dash stays whole
  EXPECT_EQ(s.record.GerenciaId, L"AD-1");
  EXPECT_EQ(s.record.CategoriaId, L"");
}

TEST(WholeNumber, AcceptsOnlyWholeNumbersThatFit) {
  for (const wchar_t* text : {L"", L"12.5", L"7a", L"-", L"2147483648", L"1 2"}) {
    EXPECT_FALSE(WholeNumber(text)) << text;
  }
  EXPECT_EQ(WholeNumber(L" 7 "), 7);
  EXPECT_EQ(WholeNumber(L"-3"), -3);
  EXPECT_EQ(WholeNumber(L"2147483647"), 2147483647L);
}

TEST_F(CaptureScreenTest, OneHiddenEditorPerDistinctDefinition) {
  FCaptureTest& s = Open();
  FieldEditors& e = *s.editors;
  // 13 distinct definitions: the contracts' counterpart is shared with the files.
  ASSERT_EQ(e.lblTitle().UBound(), 13);
  for (int k = 1; k <= 13; ++k) {
    const int kinds = e.VkTextBox().exists(k) + e.VkComboBox().exists(k) + e.VkDTPicker().exists(k);
    EXPECT_EQ(kinds, 1) << k;
    EXPECT_EQ(&e.lblTitle()[k].container(), s.VkDataTemp) << k;
  }
  const int contraparte = EditorOf(L"Contraparte");
  hosted::TextBox& box = e.VkTextBox()[contraparte];
  EXPECT_EQ(box.FieldName(), L"Contraparte");
  // The value list comes from the stored documents (other sample files add their own).
  const std::vector<std::wstring> values = box.ValueList();
  EXPECT_NE(std::find(values.begin(), values.end(), L"Inmobiliaria Sur"), values.end());
  EXPECT_FALSE(e.VkTextBox()[EditorOf(L"Legajo")].ValueListEnabled());
  // Alignment 0, 1, 2 give the text box's codes 2, 0, 1.
  EXPECT_EQ(std::to_wstring(box.Alignment()) + std::to_wstring(e.VkTextBox()[EditorOf(L"Legajo")].Alignment()) +
                std::to_wstring(e.VkTextBox()[EditorOf(L"Numero")].Alignment()),
            L"201");
  EXPECT_EQ(e.lblTitle()[contraparte].toolTipText(), L"Nombre de la otra parte");
  EXPECT_EQ(e.lblTitle()[EditorOf(L"Expediente")].toolTipText(), L"");  // a Null tooltip
  EXPECT_GT(e.lblTitle()[EditorOf(L"Responsable")].width(), e.lblTitle()[EditorOf(L"Numero")].width());
  EXPECT_EQ(e.VkComboBox()[EditorOf(L"Moneda")].tag(), L"ARS|USD|EUR");
}

TEST_F(CaptureScreenTest, PlacesTheSampleTypesOnTheCataloguingScreen) {
  FCaptureTest& s = Open();
  const int contraparte = EditorOf(L"Contraparte"), expediente = EditorOf(L"Expediente"),
            instancia = EditorOf(L"Instancia"), apertura = EditorOf(L"Apertura"),
            responsable = EditorOf(L"Responsable");
  SelectType(L"5");
  // The stretched editors end short of the accept command (kept clear of the scroll bar).
  const double shortOfAccept = s.cmdAceptar->left() - capture::kControlGap - 2200;
  EXPECT_EQ(shortOfAccept, 2585);
  std::vector<std::wstring> expected{
      Shown(L"lblTitle", contraparte, 200, 450, 0, L"Contraparte"),
      Shown(L"lblTitle", expediente, 200, 850, 0, L"Expediente"),
      Shown(L"lblTitle", instancia, 200, 1250, 0, L"Instancia"),
      Shown(L"lblTitle", apertura, 200, 1650, 0, L"Apertura"),
      Shown(L"lblTitle", responsable, 200, 2050, 0, L"Responsable"),
      // DataType 0: the frame's width less 2400, held short of the accept command
      Shown(L"VkTextBox", contraparte, 2200, 400, shortOfAccept, L"1"),
      Shown(L"VkTextBox", expediente, 2200, 800, 2000, L"2"),    // DataType 1
      Shown(L"VkComboBox", instancia, 2200, 1200, shortOfAccept, L"3"),   // combos always stretched
      Shown(L"VkDTPicker", apertura, 2200, 1600, 1500, L"5"),
      Shown(L"VkComboBox", responsable, 2200, 2000, shortOfAccept, L"7")};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Placed(), expected);
  EXPECT_EQ(s.editors->PlacedFields(),
            (std::vector<PlacedField>{{L"VkTextBox", contraparte, 1, L"Contraparte"},
                                      {L"VkTextBox", expediente, 2, L"Expediente"},
                                      {L"VkComboBox", instancia, 3, L"Instancia"},
                                      {L"VkDTPicker", apertura, 5, L"Apertura"},
                                      {L"VkComboBox", responsable, 7, L"Responsable"}}));
  EXPECT_TRUE(s.cmdAceptar->visible());
  EXPECT_EQ(s.editors->VkDTPicker()[apertura].Value(), MakeDate(2026, 12, 7));
  EXPECT_FALSE(s.editors->VkDTPicker()[apertura].CheckNull());

  // Five fields pass the frame's 1815: it scrolls, the accept command stays put.
  EXPECT_TRUE(GetWindowLongW(s.VkDataParameter->hwnd(), GWL_STYLE) & WS_VSCROLL);
  SendMessageW(s.VkDataParameter->hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
  const double moved = 400 - s.editors->VkTextBox()[contraparte].top();
  EXPECT_GT(moved, 0);
  EXPECT_EQ(s.editors->lblTitle()[responsable].top(), 2050 - moved);
  EXPECT_EQ(s.cmdAceptar->top(), 1300);
  EXPECT_EQ(GetWindow(s.VkDataParameter->hwnd(), GW_CHILD), s.cmdAceptar->hwnd()) << "the accept command is on top";

  // From five fields to the two of the personnel files, placed from the top again.
  SelectType(L"3");
  const int legajo = EditorOf(L"Legajo"), empleado = EditorOf(L"Empleado");
  expected = {Shown(L"VkTextBox", legajo, 2200, 400, 2000, L"1"),
              Shown(L"VkTextBox", empleado, 2200, 800, shortOfAccept, L"2"),
              Shown(L"lblTitle", legajo, 200, 450, 0, L"Legajo"), Shown(L"lblTitle", empleado, 200, 850, 0, L"Empleado")};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Placed(), expected);
  EXPECT_FALSE(GetWindowLongW(s.VkDataParameter->hwnd(), GWL_STYLE) & WS_VSCROLL);

  // A type without definitions (here one no longer enabled, shown from a stored entry)
  // places none and can still be accepted; no type hides the accept command.
  s.combos.cboTipoDocumentoId->SelectStoredKey(L"4");
  EXPECT_TRUE(s.cmdAceptar->visible());
  EXPECT_TRUE(Placed().empty());
  EXPECT_TRUE(s.editors->PlacedFields().empty());
  s.combos.cboTipoDocumentoId->SetListIndex(0);
  EXPECT_FALSE(s.cmdAceptar->visible());
}

TEST_F(CaptureScreenTest, TheMaintenanceScreenTakesTheTypeIntoItsRecord) {
  FCaptureTest& s = Open(capture::kMaintenanceGeometry, 9000);
  SelectType(L"2");
  EXPECT_EQ(s.record.TipoDocumentoId, 2);
  const int proveedor = EditorOf(L"Proveedor");
  EXPECT_EQ(s.editors->VkComboBox()[proveedor].left(), 4000);
  EXPECT_EQ(s.editors->VkComboBox()[proveedor].width(), 4000);
  EXPECT_EQ(s.editors->lblTitle()[proveedor].left(), 1000);
  const auto before = Placed();

  // A key that is no whole number stops before anything is parked.
  s.combos.cboTipoDocumentoId->LoadArray(L"2.5 - Otro|abc");
  for (int item : {1, 2, 0}) {
    s.combos.cboTipoDocumentoId->SetListIndex(item);
    EXPECT_EQ(Placed(), before) << item;
    EXPECT_EQ(s.record.TipoDocumentoId, 2) << item;
  }

  // A frame narrower than the margin gives the editors the width their values need,
  // moved left to stay inside it.
  screen_->Unload();
  FCaptureTest& narrow = Open(capture::kMaintenanceGeometry, 4357.5);
  SelectType(L"2");
  const Control& combo = narrow.editors->VkComboBox()[EditorOf(L"Proveedor")];
  EXPECT_EQ(combo.width(), capture::kComboEditorWidth);
  EXPECT_LE(combo.left() + combo.width(), 4357.5);
}

TEST_F(CaptureScreenTest, EachEditorKindWritesItsFieldFromTheUsersInput) {
  FCaptureTest& s = Open();
  std::vector<std::wstring> written;
  s.editors->CampoWritten.Connect([&](int n, const std::wstring& v) { written.push_back(std::to_wstring(n) + L"=" + v); });
  SelectType(L"5");
  EXPECT_TRUE(written.empty()) << "placing wrote into the record";
  EXPECT_EQ(s.record.Campo05, L"");

  hosted::TextBox& expediente = s.editors->VkTextBox()[EditorOf(L"Expediente")];
  SetFocus(expediente.inner());
  test::Type(expediente.inner(), L"EX-9");
  EXPECT_EQ(s.record.Campo02, L"EX-9");

  hosted::ComboBox& instancia = s.editors->VkComboBox()[EditorOf(L"Instancia")];
  SetFocus(instancia.inner());
  test::Key(instancia.inner(), VK_DOWN);
  test::Key(instancia.inner(), VK_DOWN);
  EXPECT_EQ(s.record.Campo03, L"Segunda");
  hosted::ComboBox& responsable = s.editors->VkComboBox()[EditorOf(L"Responsable")];
  SetFocus(responsable.inner());
  test::Key(responsable.inner(), VK_END);
  EXPECT_EQ(s.record.Campo07, L"RH");

  s.editors->VkDTPicker()[EditorOf(L"Apertura")].SetValue(MakeDate(2024, 3, 5));
  SYSTEMTIME march5{2024, 3, 2, 5, 0, 0, 0, 0};
  wchar_t regional[80];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &march5, nullptr, regional, 80);
  EXPECT_EQ(s.record.Campo05, regional);
  EXPECT_EQ(written.back(), std::wstring(L"5=") + regional);
  EXPECT_EQ(s.record.Campo01, L"");

  // An editor never placed (no Tag) writes nothing.
  hosted::TextBox& legajo = s.editors->VkTextBox()[EditorOf(L"Legajo")];
  legajo.SetText(L"77");
  legajo.setTag(L"11");
  legajo.SetText(L"78");
  EXPECT_EQ(written.size(), 8u);  // four keys typed, two combo moves, one more, the date
}

TEST_F(CaptureScreenTest, FillsAndReloadsNeverWriteIntoTheRecord) {
  FCaptureTest& s = Open();
  capture::DocumentRecord& r = s.record;
  r.Campo01 = L"Inmobiliaria Sur";
  r.Campo02 = L"EXP-0042";
  r.Campo03 = L"Segunda";
  r.Campo05 = L"2024-03-05";
  r.Campo07 = L"XX";  // a department no longer enabled
  const capture::DocumentRecord stored = r;
  std::vector<std::wstring> written;
  s.editors->CampoWritten.Connect([&](int n, const std::wstring& v) { written.push_back(std::to_wstring(n) + L"=" + v); });
  for (int pass = 0; pass < 2; ++pass) {  // the load, then a reload of the same type
    SelectType(L"5");
    s.editors->FillFromRecord();
    EXPECT_EQ(s.editors->VkTextBox()[EditorOf(L"Expediente")].Text(), L"EXP-0042");
    EXPECT_EQ(s.editors->VkComboBox()[EditorOf(L"Instancia")].Text(), L"Segunda");
    EXPECT_EQ(s.editors->VkComboBox()[EditorOf(L"Responsable")].Text(), L"XX");
    EXPECT_EQ(s.editors->VkDTPicker()[EditorOf(L"Apertura")].Value(), MakeDate(2024, 3, 5));
    EXPECT_EQ(r.Campo01 + r.Campo02 + r.Campo03 + r.Campo05 + r.Campo07,
              stored.Campo01 + stored.Campo02 + stored.Campo03 + stored.Campo05 + stored.Campo07);
  }
  EXPECT_EQ(written.size(), 10u);  // the view follows the record's own values
  EXPECT_EQ(written[4], L"7=XX");

  // The user's edit of another field keeps the key outside the list.
  HWND expediente = s.editors->VkTextBox()[EditorOf(L"Expediente")].inner();
  SetFocus(expediente);
  test::Key(expediente, VK_END);
  test::Type(expediente, L"b");
  EXPECT_EQ(r.Campo02, L"EXP-0042b");
  EXPECT_EQ(r.Campo07, L"XX");

  // Dates: the regional short form reads too; a text that is no date shows today and stays.
  SYSTEMTIME may1{2025, 5, 4, 1, 0, 0, 0, 0};
  wchar_t regional[80];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &may1, nullptr, regional, 80);
  for (const auto& [text, date] : {std::pair<std::wstring, DATE>{regional, MakeDate(2025, 5, 1)},
                                   {L"ARS", MakeDate(2026, 12, 7)}, {L"2025-02-30", MakeDate(2026, 12, 7)}}) {
    r.Campo05 = text;
    s.editors->FillFromRecord();
    EXPECT_EQ(s.editors->VkDTPicker()[EditorOf(L"Apertura")].Value(), date) << text;
    EXPECT_EQ(r.Campo05, text);
  }
}

TEST_F(CaptureScreenTest, RowsThatFailOrMakeNoEditorLeaveTheOthers) {
  Sql(L"Insert Into TipoDocumentos (TipoDocumentoId, TipoDocumento, IsEnabled) Values (6, 'Prueba', 1)");
  Sql(L"Insert Into TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, "
      L"RelationSentence, Alignment, Decimales, ToolTipText) Values "
      L"(6, 1, 'Alfa', 1, 'TextBox', Null, 9, 0, Null), (6, 2, 'Beta', 1, 'textbox', Null, 0, 0, 'b'), "
      L"(6, 3, 'Gamma', 0, 'ComboBox', Null, 0, 0, Null)");
  screen_ = Form::Load<FCaptureTest>(capture::kCataloguingGeometry, 6315);
  screen_->Show();
  screen_->editors->lblTitle().Load(2);  // the second definition's label cannot be made
  EXPECT_FALSE(screen_->editors->BuildFieldEditors(*screen_->data, YieldWhileLoaded(*screen_)));
  EXPECT_EQ(screen_->editors->lblTitle().UBound(), 16) << "the build went on past the failing row";
  ASSERT_TRUE(LoadCombos());

  SelectType(L"6");
  const auto& placed = screen_->editors->PlacedFields();
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[1], PlacedField{}) << "'textbox' makes a label and no editor";
  const int alfa = EditorOf(L"Alfa"), gamma = EditorOf(L"Gamma");
  EXPECT_EQ(screen_->editors->VkTextBox()[alfa].Alignment(), 2);
  EXPECT_EQ(screen_->editors->VkComboBox()[gamma].top(), 1200) << "the empty row keeps its gap";
  EXPECT_EQ(screen_->editors->VkComboBox()[gamma].ListCount(), 1);
  EXPECT_EQ(screen_->editors->lblTitle()[gamma].toolTipText(), L"");
}

}  // namespace
