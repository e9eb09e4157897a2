// The field editors on a shown test screen (the frames and combos a capture screen
// has) over a copy of the sample database: the build, the placement of the sample
// types on both screens' geometry, a switch from five fields to two, the write-back of
// each editor kind from real input, fills that never write into the record, keys
// outside the lists, rows that fail, and the scrolling of a full frame.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/catalogue_combos.h"
#include "capture/field_editors.h"
#include "host/host_seams.h"
#include "host/shared_state.h"
#include "host/test_databases.h"
#include "hosted/window_driver.h"
#include "runtime/clock.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using capture::FieldEditors;
using capture::PlacedField;

const wchar_t kAppKey[] = L"VkCaptureFields";

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

// One placed control as the test sees it.
struct Shown {
  std::wstring name;  // "VkTextBox(3)" or "lblTitle(3)"
  double left, top, width;
  std::wstring tagOrCaption;
  bool operator==(const Shown&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << std::string(s.name.begin(), s.name.end()) << " " << s.left << "," << s.top << " w" << s.width << " '"
             << std::string(s.tagOrCaption.begin(), s.tagOrCaption.end()) << "'";
}

class FieldEditorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
  }
  void TearDown() override {
    if (screen_) screen_->Unload();
    test::Pump();
  }
  FCaptureTest& Open(capture::FieldEditorGeometry geometry = capture::kCataloguingGeometry,
                     double parameterWidth = 6315) {
    screen_ = Form::Load<FCaptureTest>(geometry, parameterWidth);
    screen_->Show();
    EXPECT_TRUE(screen_->editors->BuildFieldEditors(*screen_->data, capture::YieldWhileLoaded(*screen_)));
    EXPECT_TRUE(capture::LoadCombos(*screen_, *screen_->data, screen_->combos, capture::YieldWhileLoaded(*screen_)));
    return *screen_;
  }
  void SelectType(const wchar_t* key) { screen_->combos.cboTipoDocumentoId->SelectKey(key); }
  void Sql(const std::wstring& sql) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(kAppKey, sql, &error)) << error;
  }
  // The editors and labels in VkDataParameter, in the screen's control order.
  std::vector<Shown> Placed() const {
    std::vector<Shown> shown;
    for (Control* c : screen_->Controls()) {
      if (&c->container() != screen_->VkDataParameter || c == screen_->cmdAceptar) continue;
      auto* label = dynamic_cast<hosted::Label*>(c);
      // A label's width is its caption's (AutoSize), so only its place is compared.
      shown.push_back({c->name() + L"(" + std::to_wstring(c->index()) + L")", c->left(), c->top(),
                       label ? 0 : c->width(), label ? label->Caption() : c->tag()});
    }
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

TEST_F(FieldEditorsTest, OneHiddenEditorPerDistinctDefinition) {
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
  EXPECT_EQ(box.Alignment(), 2);
  EXPECT_TRUE(box.ValueListEnabled());
  EXPECT_EQ(box.ValueList(), std::vector<std::wstring>{L"Inmobiliaria Sur"});
  EXPECT_EQ(e.lblTitle()[contraparte].toolTipText(), L"Nombre de la otra parte");
  EXPECT_TRUE(e.lblTitle()[contraparte].AutoSize());
  EXPECT_GT(e.lblTitle()[EditorOf(L"Responsable")].width(), e.lblTitle()[EditorOf(L"Numero")].width());
  EXPECT_EQ(e.VkTextBox()[EditorOf(L"Numero")].Alignment(), 1);
  EXPECT_EQ(e.VkTextBox()[EditorOf(L"Legajo")].Alignment(), 0);
  EXPECT_FALSE(e.VkTextBox()[EditorOf(L"Legajo")].ValueListEnabled());
  EXPECT_EQ(e.lblTitle()[EditorOf(L"Expediente")].toolTipText(), L"");  // a Null tooltip
  hosted::ComboBox& moneda = e.VkComboBox()[EditorOf(L"Moneda")];
  EXPECT_EQ(moneda.tag(), L"ARS|USD|EUR");
  EXPECT_EQ(moneda.ListCount(), 4);
  EXPECT_EQ(e.VkComboBox()[EditorOf(L"Proveedor")].List(2), L"OP - Operaciones");
  EXPECT_EQ(e.VkDTPicker()[EditorOf(L"Vigencia")].width(), 1500);
}

TEST_F(FieldEditorsTest, PlacesTheSampleTypesOnTheCataloguingScreen) {
  FCaptureTest& s = Open();
  const int contraparte = EditorOf(L"Contraparte"), expediente = EditorOf(L"Expediente"),
            instancia = EditorOf(L"Instancia"), apertura = EditorOf(L"Apertura"),
            responsable = EditorOf(L"Responsable");
  SelectType(L"5");
  auto editor = [](const wchar_t* kind, int k, double top, double width, const wchar_t* tag) {
    return Shown{std::wstring(kind) + L"(" + std::to_wstring(k) + L")", 2200, top, width, tag};
  };
  auto label = [](int k, double top, const wchar_t* caption) {
    return Shown{L"lblTitle(" + std::to_wstring(k) + L")", 200, top, 0, caption};
  };
  std::vector<Shown> expected{
      label(contraparte, 450, L"Contraparte"), label(expediente, 850, L"Expediente"),
      label(instancia, 1250, L"Instancia"), label(apertura, 1650, L"Apertura"), label(responsable, 2050, L"Responsable"),
      editor(L"VkTextBox", contraparte, 400, 3915, L"1"), editor(L"VkTextBox", expediente, 800, 2000, L"2"),
      editor(L"VkComboBox", instancia, 1200, 3915, L"3"), editor(L"VkDTPicker", apertura, 1600, 1500, L"5"),
      editor(L"VkComboBox", responsable, 2000, 3915, L"7")};
  std::vector<Shown> placed = Placed();
  std::sort(placed.begin(), placed.end(), [](auto& a, auto& b) { return a.name < b.name; });
  std::sort(expected.begin(), expected.end(), [](auto& a, auto& b) { return a.name < b.name; });
  EXPECT_EQ(placed, expected);
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
  placed = Placed();
  ASSERT_EQ(placed.size(), 4u);
  for (const Shown& shown : placed) {
    EXPECT_TRUE(shown.top == 400 || shown.top == 800 || shown.top == 450 || shown.top == 850) << shown;
  }
  EXPECT_FALSE(GetWindowLongW(s.VkDataParameter->hwnd(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(s.editors->VkTextBox()[EditorOf(L"Legajo")].width(), 2000);    // DataType 1
  EXPECT_EQ(s.editors->VkTextBox()[EditorOf(L"Empleado")].width(), 3915);  // DataType 0
  for (int k : {contraparte, expediente, instancia, apertura, responsable}) {
    EXPECT_EQ(&s.editors->lblTitle()[k].container(), s.VkDataTemp) << k;
  }

  // A type without definitions (here one no longer enabled, shown from a stored entry)
  // places none and can still be accepted; no type hides the accept command.
  s.combos.cboTipoDocumentoId->SelectStoredKey(L"4");
  EXPECT_TRUE(s.cmdAceptar->visible());
  EXPECT_TRUE(Placed().empty());
  EXPECT_TRUE(s.editors->PlacedFields().empty());
  s.combos.cboTipoDocumentoId->SetListIndex(0);
  EXPECT_FALSE(s.cmdAceptar->visible());
}

TEST_F(FieldEditorsTest, TheMaintenanceScreenTakesTheTypeIntoItsRecord) {
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

  // A frame narrower than the margin keeps the editors' own widths.
  screen_->Unload();
  FCaptureTest& narrow = Open(capture::kMaintenanceGeometry, 4357.5);
  SelectType(L"2");
  EXPECT_EQ(narrow.editors->VkComboBox()[EditorOf(L"Proveedor")].width(), 2000);
}

TEST_F(FieldEditorsTest, EachEditorKindWritesItsFieldFromTheUsersInput) {
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

TEST_F(FieldEditorsTest, FillsAndReloadsNeverWriteIntoTheRecord) {
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

TEST_F(FieldEditorsTest, RowsThatFailOrMakeNoEditorLeaveTheOthers) {
  Sql(L"Insert Into TipoDocumentos (TipoDocumentoId, TipoDocumento, IsEnabled) Values (6, 'Prueba', 1)");
  Sql(L"Insert Into TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, "
      L"RelationSentence, Alignment, Decimales, ToolTipText) Values "
      L"(6, 1, 'Alfa', 1, 'TextBox', Null, 9, 0, Null), (6, 2, 'Beta', 1, 'textbox', Null, 0, 0, 'b'), "
      L"(6, 3, 'Gamma', 0, 'ComboBox', Null, 0, 0, Null)");
  screen_ = Form::Load<FCaptureTest>(capture::kCataloguingGeometry, 6315);
  screen_->Show();
  screen_->editors->lblTitle().Load(2);  // the second definition's label cannot be made
  EXPECT_FALSE(screen_->editors->BuildFieldEditors(*screen_->data, capture::YieldWhileLoaded(*screen_)));
  EXPECT_EQ(screen_->editors->lblTitle().UBound(), 16) << "the build went on past the failing row";
  ASSERT_TRUE(capture::LoadCombos(*screen_, *screen_->data, screen_->combos, capture::YieldWhileLoaded(*screen_)));

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
