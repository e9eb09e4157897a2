// The maintenance screen driven through its real windows under the display, docked in
// a host window, on copies of the sample databases: toolbar clicks, combo picks and
// confirmations as real messages, the picker's choice and the viewer program through
// their seams, and the rows read back from the database afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "capture/abm_screen.h"
#include "hosted/sample_images.h"
#include "runtime/app_path.h"
#include "runtime/mouse_pointer.h"
#include "runtime/twips.h"
#include "runtime/window_picture.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/screen_fixture.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"
#include "support/dispatch_tap.h"
#include "support/picture_file.h"

namespace {

using namespace vk;
using capture::FDocumentosABM;
using Row = std::map<std::wstring, std::wstring>;

const wchar_t kAppKey[] = L"VkAbmScreen";
const wchar_t kSaved[] = L"La Imagen se Grabó con Exito|64|Ostrela";
const wchar_t kLoadFailed[] = L"Se Produjo un Error al Visualizar el Documento|64|Ostrela";
const wchar_t kValidateFailed[] = L"Se Produjo un Error al Validar el Documento|64|";
const wchar_t kDeleteFailed[] = L"Se Produjo un Error al Anular el Documento|64|";
const std::wstring kSaveFailed = L"Se Produjo un Error al Grabar el Detalle del Documento : ";

class AbmScreenTest : public test::ScreenTest<FDocumentosABM> {
 protected:
  AbmScreenTest() : ScreenTest(kAppKey, L"ADM") { answer_ = msg::Yes; }

  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    Shared().gObjectId = L"I01MAN";
    Shared().gIsAdmin = true;
    image_ = test::FreshFolder(L"abm_store") + L"\\00000000000000000021.bmp";
    ASSERT_TRUE(test::WriteSamplePage(image_, test::ImageFormat::Bmp, 120, 160));
    Sql(L"Delete From LogAcciones");
    // 21 complete (its date with a time of day), 22 with every column that may be Null
    // Null and keys that are no longer enabled, 23 a PDF.
    Sql(L"Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, "
        L"Path, Campo01, Campo02, Campo03, Fecha, CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, "
        L"UsuarioAlta) Values (21, '1', '2', 'AD', 1, 'contrato.bmp', '" +
        image_ + L"', 'Acme', '2027-03-31', 'USD', '2027-03-31 14:30:00', '779-1', 'CT-1', 'Historia', "
        L"'2026-01-02 10:00:00', 0, 'alta'), (22, '4', '9', 'XX', 4, Null, Null, Null, Null, Null, Null, Null, Null, "
        L"Null, Null, 0, Null), (23, '2', '1', 'OP', 2, 'scan.PDF', 'C:\\x\\scan.PDF', Null, Null, Null, "
        L"'2026-02-03 00:00:00', Null, Null, Null, Null, 0, Null)");
  }
  // A row as text by column ("<null>" for Null); empty when there is no such row.
  static Row ReadRow(const std::wstring& table, const std::wstring& where) {
    Row row;
    auto rs = DataAccess::Create()->GetData(kAppKey, L"Select * From " + table + L" Where " + where);
    if (!rs || rs->IsEOF()) return row;
    for (long i = 0; i < rs->FieldCount(); ++i) {
      const Variant value = rs->Field(i);
      row[rs->FieldName(i)] = value.isNull() ? L"<null>" : value.toText();
    }
    return row;
  }
  static Row Document(long id) { return ReadRow(L"Documentos", L"DocumentoId = " + std::to_wstring(id)); }
  static long LogEntries() {
    return DataAccess::Create()->GetData(kAppKey, L"Select Count(*) As N From LogAcciones")->Field(L"N").toLong();
  }

  void Click(const wchar_t* key) { test::ClickToolbarButton(host_.hwnd, L"TBarMain", key); }
  // The find command with the picker answering `key` (Empty: the picker was cancelled).
  void FindDocument(const Variant& key) {
    pick_ = key;
    Click(L"BTN_FIN");
  }
  bool ButtonEnabled(const wchar_t* key) const {
    const hosted::Toolbar& bar = *C().TBarMain;
    return bar.ButtonEnabled(bar.IndexOfKey(key)) && bar.ButtonState(bar.IndexOfKey(key)) != 5;
  }
  // What the user types into a text box, as the edit control receives it.
  void TypeInto(const std::wstring& name, const wchar_t* text) {
    SendMessageW(GetWindow(Find(name.c_str()), GW_CHILD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    test::Pump();
  }
  void Pick(const wchar_t* comboName, const std::wstring& key) {
    ASSERT_TRUE(test::PickComboItem(host_.hwnd, comboName, key)) << testing::PrintToString(key);
  }
  std::wstring Keys() const {
    return C().cboCategoriaId->SelectedKey() + L"|" + C().cboSubCategoriaId->SelectedKey() + L"|" +
           C().cboGerenciaId->SelectedKey() + L"|" + C().cboTipoDocumentoId->SelectedKey();
  }
  // The placed editor of the shown type's field named `nombre`.
  Control* Editor(const wchar_t* nombre) const {
    for (const capture::PlacedField& field : screen_->editors().PlacedFields())
      if (field.nombre == nombre) return screen_->FindControl(field.kind, field.index);
    return nullptr;
  }
  hosted::DatePicker* DateEditor(const wchar_t* nombre) const {
    return dynamic_cast<hosted::DatePicker*>(Editor(nombre));
  }
  std::wstring Columns(long id, std::initializer_list<const wchar_t*> names) const {
    const Row row = Document(id);
    std::wstring text;
    for (const wchar_t* name : names) text += (text.empty() ? L"" : L"|") + row.at(name);
    return text;
  }

  std::wstring image_;
  Variant pick_;
  int picks_ = 0;
  std::function<void()> whilePicking_;  // runs while the picker is open
  // Reset, the real picker answers.
  std::optional<ScopedPicker> picker_{std::in_place, [this](const std::wstring& sentence, const std::wstring& field) {
    ++picks_;
    if (whilePicking_) whilePicking_();
    EXPECT_EQ(sentence + L"/" + field, L"Select * From Documentos/DocumentoId");
    return pick_;
  }};
  test::RecordingLauncher launcher_;
};

TEST_F(AbmScreenTest, FormCodesOpenTheScreenWithRecordButtonsByModeAndAdministrator) {
  for (const wchar_t* code : {L"I01VAL", L"I01MAN"}) {
    com::ComPtr<_CObject> object;
    ASSERT_EQ(Build(code, object), S_OK);
    auto form = FindLoadedForm(L"FDocumentosABM");
    ASSERT_TRUE(form) << code;
    screen_ = std::static_pointer_cast<FDocumentosABM>(form);
    EXPECT_TRUE(GetParent(form->hwnd()) == host_.hwnd && IsWindowVisible(form->hwnd()));
    EXPECT_EQ(MousePointer(), pointer::Default);
    for (const wchar_t* name : {L"TBarMain", L"VkImageMain", L"PSelection", L"cboTipoDocumentoId", L"PGerenciaId",
                                L"VkDataParameter", L"VkDataTemp", L"txtCBarra", L"txtReferenciaId", L"dtpFecha",
                                L"lblFecha", L"STBar"})
      EXPECT_TRUE(Find(name)) << name;
    EXPECT_EQ(ButtonEnabled(L"BTN_VAL"), code == std::wstring(L"I01VAL"));
    EXPECT_EQ(C().TBarMain->ButtonCount(), 19);
    ExpectEveryControlNamed();
    // The combos' captions are written in Verdana.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Inner(Find(L"lblCategoriaId")), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_STREQ(font.lfFaceName, L"Verdana");
    Kill(object);
    EXPECT_FALSE(FindLoadedForm(L"FDocumentosABM"));
  }
  struct Case {
    const wchar_t* mode;
    bool admin;
    const wchar_t* enabled;  // save, validate, delete
  };
  for (const Case& c : {Case{L"VAL", true, L"010"}, Case{L"ADM", true, L"101"}, Case{L"ADM", false, L"100"},
                        Case{L"val", true, L"000"}}) {
    Shared().gIsAdmin = c.admin;
    Open(c.mode);
    std::wstring enabled;
    for (const wchar_t* key : {L"BTN_SAV", L"BTN_VAL", L"BTN_DEL"}) enabled += ButtonEnabled(key) ? L'1' : L'0';
    EXPECT_EQ(enabled, c.enabled) << c.mode << c.admin;
    EXPECT_TRUE(ButtonEnabled(L"BTN_FIN") && ButtonEnabled(L"BTN_FIT") && ButtonEnabled(L"BTN_KIL"));
    screen_->Unload();
  }
}

TEST_F(AbmScreenTest, LayoutFollowsTheHostAndSkipsWidthsThatWouldBeNegative) {
  Open();
  const auto& c = C();
  // At the design size: the image three quarters as wide as its frame is high, the entry at its right.
  EXPECT_DOUBLE_EQ(c.PSelection->width(), (8430 - 435 - 360 - 545) * 0.75);
  EXPECT_DOUBLE_EQ(c.lblCategoriaId->left(), c.PSelection->width() + 600);
  EXPECT_DOUBLE_EQ(c.cboGerenciaId->left() + c.cboGerenciaId->width(), c.VkImageMain->width() - 600);
  // The combos' column is too narrow for the bar code, the date's caption and the date
  // side by side: the date has its own row between the bar code and the reference.
  EXPECT_DOUBLE_EQ(c.dtpFecha->left(), c.txtCBarra->left());
  EXPECT_TRUE(c.txtCBarra->top() < c.dtpFecha->top() && c.dtpFecha->top() < c.txtReferenciaId->top());
  EXPECT_DOUBLE_EQ(c.lblFecha->left(), c.lblCBarra->left());
  // Narrower than the margins: the negative widths keep their value, the rest is placed.
  const double comboWidth = c.cboCategoriaId->width();
  host_.SetClientSize(300, 700);
  screen_->Form_Resize();
  EXPECT_DOUBLE_EQ(c.TBarMain->width(), PixelsToTwips(300) - 300);
  EXPECT_DOUBLE_EQ(c.cboCategoriaId->width(), comboWidth);
  EXPECT_DOUBLE_EQ(c.PSelection->height(), c.VkImageMain->height() - 800);
  EXPECT_TRUE(IsWindowVisible(screen_->hwnd()));
}

TEST_F(AbmScreenTest, FindLoadsTheRowWholeAndASaveWithoutEditsChangesOnlyTheAuditColumns) {
  Open();
  const Row before = Document(21);
  FindDocument(21L);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(screen_->currentDocumentId(), 21);
  EXPECT_EQ(Keys(), L"1|2|AD|1");
  EXPECT_EQ(C().txtCBarra->Text() + L"|" + C().txtReferenciaId->Text(), L"779-1|CT-1");
  EXPECT_EQ(*C().dtpFecha->Value(), MakeDate(2027, 3, 31));
  EXPECT_DOUBLE_EQ(C().PSelection->Zoom(), 0.53);
  EXPECT_TRUE(C().PSelection->iImage().HasImage());
  EXPECT_EQ(C().TBarMain->ButtonState(C().TBarMain->IndexOfKey(L"BTN_FIT")), 2);

  Click(L"BTN_SAV");
  EXPECT_EQ(messages_, std::vector<std::wstring>{kSaved});
  Row after = Document(21), expected = before;
  EXPECT_EQ(after[L"Comentarios"].rfind(L"Historia" + GetUserNameNT() + L" - Fecha : [ ", 0), 0u);
  EXPECT_EQ(after[L"UsuarioModificacion"], GetUserNameNT());
  for (const wchar_t* audit : {L"Comentarios", L"UsuarioModificacion", L"FechaModificacion"}) {
    after.erase(audit);
    expected.erase(audit);
  }
  EXPECT_EQ(after, expected);  // the date to the second, Null fields still Null
  const Row log = ReadRow(L"LogAcciones", L"1 = 1");
  EXPECT_EQ(LogEntries(), 1);
  EXPECT_EQ(log.at(L"TipoAccion") + L"|" + log.at(L"Accion") + L"|" + log.at(L"Detalle") + L"|" + log.at(L"Mensaje"),
            L"3|N/A - MENSAJE NO DISPONIBLE|21|Se ha Modificado la Catalogación en el Documento Nro. [ 21 ] - "
            L"[ contrato.bmp ]");
  EXPECT_EQ(MousePointer(), pointer::Default);
}

TEST_F(AbmScreenTest, FieldEditorsArePlacedAtTheScreensSizeAndTheUsersEditsReachTheRow) {
  Open();
  FindDocument(21L);
  std::map<std::wstring, Control*> editors;  // by field name
  for (const capture::PlacedField& field : screen_->editors().PlacedFields()) {
    Control* editor = screen_->FindControl(field.kind, field.index);
    Control* label = screen_->FindControl(L"lblTitle", field.index);
    ASSERT_TRUE(editor && label) << field.nombre;
    // The frame is narrower than the stretched width: the editor keeps its own and is placed all the same.
    EXPECT_EQ(editor->tag(), std::to_wstring(field.detalleId)) << field.nombre;
    EXPECT_TRUE(&editor->container() == C().VkDataParameter && &label->container() == C().VkDataParameter);
    editors[field.nombre] = editor;
  }
  ASSERT_EQ(editors.size(), 3u);  // the contracts' counterpart, term and currency
  EXPECT_EQ(static_cast<hosted::TextBox*>(editors[L"Contraparte"])->Text(), L"Acme");
  EXPECT_EQ(*static_cast<hosted::DatePicker*>(editors[L"Vigencia"])->Value(), MakeDate(2027, 3, 31));
  EXPECT_EQ(static_cast<hosted::ComboBox*>(editors[L"Moneda"])->Text(), L"USD");
  test::Pump();
  // For a reviewer: the screen with a loaded contract. It shows the scan's dark top and
  // light bottom in the middle of the large view, and the bar code in dark text.
  const std::wstring picturePath = test::BinFolder() + L"\\abm_screen_review.bmp";
  ASSERT_TRUE(SaveWindowPicture(screen_->hwnd(), picturePath));
  const test::PictureFile picture(picturePath, screen_->hwnd());
  const HWND scan = C().PSelection->iImage().hwnd(), barCode = Inner(Find(L"txtCBarra"));
  RECT view{}, box{};
  GetClientRect(scan, &view);
  GetClientRect(barCode, &box);
  EXPECT_LT(picture.GreyAt(scan, view.right / 2, view.bottom / 2 - 20), 0x60);
  EXPECT_GT(picture.GreyAt(scan, view.right / 2, view.bottom / 2 + 20), 0xA0);
  int darkText = 0;
  for (int x = 0; x < box.right; ++x)
    for (int y = 0; y < box.bottom; ++y) darkText += picture.GreyAt(barCode, x, y) < 0x60;
  EXPECT_GT(darkText, 10);

  TypeInto(VkNameText(L"VkTextBox", editors[L"Contraparte"]->index()), L"Beta SA");
  EXPECT_EQ(C().PSelection->Campo(1), L"Beta SA");
  TypeInto(L"txtCBarra", L"O'Brien-7");
  TypeInto(L"txtReferenciaId", L"");
  Pick(L"cboCategoriaId", L"3");
  Pick(L"cboGerenciaId", L"RH");
  C().dtpFecha->SetValue(MakeDate(2026, 5, 4));
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_, std::vector<std::wstring>{kSaved});
  EXPECT_EQ(Columns(21, {L"Campo01", L"Campo02", L"Campo03", L"CBarra", L"ReferenciaId", L"CategoriaId",
                         L"GerenciaId", L"SubCategoriaId", L"Fecha"}),
            L"Beta SA|2027-03-31|USD|O'Brien-7||3|RH|2|" + DateToText(MakeDate(2026, 5, 4)));
  EXPECT_EQ(Keys(), L"3|2|RH|1");  // shown again as stored
}

TEST_F(AbmScreenTest, ASaveStoresEveryFieldAsTheScreenShowsIt) {
  Open();
  // A date field shows its stored day, or today when its text reads as no date; either
  // way the clerk set no day, and the text goes back as stored.
  struct DateCase {
    const wchar_t* stored;
    std::wstring saved;
  };
  for (const DateCase& c : {DateCase{L"'2027-03-31 08:00'", L"2027-03-31 08:00"}, DateCase{L"'pronto'", L"pronto"},
                            DateCase{L"''", L""}, DateCase{L"Null", L"<null>"}}) {
    Sql(L"Update Documentos Set Campo02 = " + std::wstring(c.stored) + L" Where DocumentoId = 21");
    FindDocument(21L);
    Click(L"BTN_SAV");
    EXPECT_EQ(Columns(21, {L"Campo02"}), c.saved) << c.stored;
  }
  // Another type: its fields show the record's, a field it does not place keeps its
  // value, and so does the invoices' due date (field 4), which shows only today.
  struct TypeCase {
    const wchar_t* type;
    std::wstring saved;  // TipoDocumentoId, Campo01 to Campo04
  };
  for (const TypeCase& c : {TypeCase{L"3", L"3|Acme|2027-03-31|USD|<null>"},
                            TypeCase{L"2", L"2|Acme|2027-03-31|USD|<null>"}}) {
    Sql(L"Update Documentos Set TipoDocumentoId = 1, Campo02 = '2027-03-31', Campo03 = 'USD' Where DocumentoId = 21");
    FindDocument(21L);
    Pick(L"cboTipoDocumentoId", c.type);
    Click(L"BTN_SAV");
    EXPECT_EQ(Columns(21, {L"TipoDocumentoId", L"Campo01", L"Campo02", L"Campo03", L"Campo04"}), c.saved) << c.type;
  }
  EXPECT_EQ(messages_, std::vector<std::wstring>(6, kSaved));
}

TEST_F(AbmScreenTest, ASaveChangesNoFieldTheScreenDoesNotShow) {
  // The contracts name fields 1 to 3, and two more that get no editor: a kind written
  // in other letters and a field without a name (in a copy of the table without NOT
  // NULL). Fields 6 and 8 they do not name: another program wrote them, or the type
  // named them once.
  Sql(L"Create Table Detalle As Select * From TipoDocumentosDetalle");
  Sql(L"Drop Table TipoDocumentosDetalle");
  Sql(L"Alter Table Detalle Rename To TipoDocumentosDetalle");
  Sql(L"Insert Into TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, Alignment, "
      L"Decimales) Values (1, 4, 'Notas', 0, 'textbox', 0, 0), (1, 5, Null, 0, 'TextBox', 0, 0)");
  struct Case {
    const char* opening;
    std::function<void()> before, after;  // around the screen's opening
  };
  const Case cases[] = {
      {"its editors built", [] {}, [] {}},
      {"no editor built",
       [this] { Sql(L"Alter Table TipoDocumentosDetalle Rename To DetalleAusente"); },
       [this] { Sql(L"Alter Table DetalleAusente Rename To TipoDocumentosDetalle"); }},
  };
  for (const Case& c : cases) {
    Sql(L"Update Documentos Set Campo01 = 'Acme', Campo02 = '2027-03-31', Campo03 = 'USD', Campo04 = 'nota', "
        L"Campo05 = 'cinco', Campo06 = 'seis', Campo08 = 'EXTRA-8' Where DocumentoId = 21");
    c.before();
    Open();
    c.after();
    FindDocument(21L);
    messages_.clear();
    TypeInto(L"txtReferenciaId", L"CT-2");  // a clerk corrects the reference
    Click(L"BTN_SAV");
    EXPECT_EQ(messages_, std::vector<std::wstring>{kSaved}) << c.opening;
    EXPECT_EQ(Columns(21, {L"ReferenciaId", L"Campo01", L"Campo02", L"Campo03", L"Campo04", L"Campo05", L"Campo06",
                           L"Campo07", L"Campo08"}),
              L"CT-2|Acme|2027-03-31|USD|nota|cinco|seis|<null>|EXTRA-8")
        << c.opening;
  }
}

TEST_F(AbmScreenTest, ADateFieldTheClerkDidNotSetIsSavedAsStored) {
  // A date editor shows today for a field that is empty or reads as no date; a clerk who
  // corrects only the reference stores none of it. The contracts' term is field 2, the
  // invoices' due date field 4.
  Open();
  const DATE today = std::floor(Today());
  struct Case {
    long id;
    const wchar_t *field, *nombre, *stored;
  };
  for (const Case& c : {Case{21, L"Campo02", L"Vigencia", L"''"}, Case{21, L"Campo02", L"Vigencia", L"'31.12.2026'"},
                        Case{21, L"Campo02", L"Vigencia", L"'20260520'"}, Case{21, L"Campo02", L"Vigencia", L"Null"},
                        Case{23, L"Campo04", L"Vencimiento", L"Null"}}) {
    Sql(L"Update Documentos Set " + std::wstring(c.field) + L" = " + c.stored + L" Where DocumentoId = " +
        std::to_wstring(c.id));
    const std::wstring stored = Columns(c.id, {c.field});
    FindDocument(c.id);
    hosted::DatePicker* editor = DateEditor(c.nombre);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->Value(), today) << c.stored;
    TypeInto(L"txtReferenciaId", L"R-7");
    Click(L"BTN_SAV");
    EXPECT_EQ(Columns(c.id, {L"ReferenciaId", c.field}), L"R-7|" + stored) << c.id << " " << c.stored;
  }
  EXPECT_EQ(messages_, std::vector<std::wstring>(5, kSaved));
}

TEST_F(AbmScreenTest, AFieldUnderAnotherTypesDateEditorKeepsItsText) {
  // The contracts' date editor stands on field 2, which holds an invoice's number and a
  // personnel file's employee: it shows today over them, and they keep their text
  // whether the clerk saves under the contract type or goes back to the document's own.
  Sql(L"Update Documentos Set Campo02 = 'A-17' Where DocumentoId = 23");
  Sql(L"Update Documentos Set TipoDocumentoId = 3, Campo01 = '1044', Campo02 = 'Pérez, Ana' Where DocumentoId = 21");
  Open();
  struct Case {
    long id;
    const wchar_t *type, *nombre;
    std::wstring text;
  };
  for (const Case& c : {Case{23, L"2", L"Numero", L"A-17"}, Case{21, L"3", L"Empleado", L"Pérez, Ana"}}) {
    FindDocument(c.id);
    Pick(L"cboTipoDocumentoId", L"1");
    Pick(L"cboTipoDocumentoId", c.type);
    Click(L"BTN_SAV");
    EXPECT_EQ(Columns(c.id, {L"TipoDocumentoId", L"Campo02"}), std::wstring(c.type) + L"|" + c.text);
    Pick(L"cboTipoDocumentoId", L"1");
    Click(L"BTN_SAV");
    EXPECT_EQ(Columns(c.id, {L"TipoDocumentoId", L"Campo02"}), L"1|" + c.text);
    Pick(L"cboTipoDocumentoId", c.type);
    auto* box = dynamic_cast<hosted::TextBox*>(Editor(c.nombre));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Text(), c.text);
  }
  EXPECT_EQ(messages_, std::vector<std::wstring>(4, kSaved));
}

TEST_F(AbmScreenTest, ADateTheClerkSetsOnTheEditorIsSaved) {
  // An empty term shows today; the clerk sets a day by the arrow key, by the drop-down,
  // and by typing it.
  Sql(L"Update Documentos Set Campo02 = '' Where DocumentoId = 21");
  Open();
  FindDocument(21L);
  const DATE today = std::floor(Today());
  ASSERT_TRUE(DateEditor(L"Vigencia"));
  hosted::DatePicker& term = *DateEditor(L"Vigencia");
  ASSERT_EQ(term.Value(), today);
  const HWND picker = term.inner();
  RECT box{};
  GetClientRect(picker, &box);
  test::Click(picker, 8, box.bottom / 2);  // onto the day
  test::Key(picker, VK_UP);
  const std::optional<DATE> keyed = term.Value();
  ASSERT_TRUE(keyed && *keyed != today);
  Click(L"BTN_SAV");
  EXPECT_EQ(Columns(21, {L"Campo02"}), DateToText(*keyed));

  // The drop-down's calendar: a click on another day of the shown month.
  test::Click(picker, box.right - 6, box.bottom / 2);
  const HWND calendar = reinterpret_cast<HWND>(SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
  ASSERT_TRUE(calendar && IsWindowVisible(calendar));
  SYSTEMTIME shown{};
  VariantTimeToSystemTime(*keyed, &shown);
  const WORD day = shown.wDay == 15 ? 16 : 15;
  RECT area{};
  GetClientRect(calendar, &area);
  std::optional<POINT> target;
  for (int y = 0; y < area.bottom && !target; y += 2)
    for (int x = 0; x < area.right && !target; x += 2) {
      MCHITTESTINFO hit{};
      hit.cbSize = sizeof hit;
      hit.pt = {x, y};
      SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == day && hit.st.wMonth == shown.wMonth) target = hit.pt;
    }
  ASSERT_TRUE(target);
  test::Click(calendar, target->x, target->y);
  const DATE picked = MakeDate(shown.wYear, shown.wMonth, day);
  ASSERT_EQ(term.Value(), picked);
  Click(L"BTN_SAV");
  EXPECT_EQ(Columns(21, {L"Campo02"}), DateToText(picked));

  // The day typed in.
  test::Click(picker, 8, box.bottom / 2);
  test::Type(picker, L"28");
  const DATE typed = MakeDate(shown.wYear, shown.wMonth, 28);
  ASSERT_EQ(term.Value(), typed);
  Click(L"BTN_SAV");
  EXPECT_EQ(Columns(21, {L"Campo02"}), DateToText(typed));
  EXPECT_EQ(messages_, std::vector<std::wstring>(3, kSaved));
}

TEST_F(AbmScreenTest, ASaveIsRefusedWhileTheShownTypesFieldsCouldNotBeRead) {
  Open();
  FindDocument(21L);  // the contracts' editors placed: a date in field 2
  Sql(L"Update Documentos Set Campo02 = 'A-17', Campo05 = 'cinco' Where DocumentoId = 23");
  Sql(L"Alter Table TipoDocumentosDetalle Rename To DetalleBloqueado");  // as a long lock does
  FindDocument(23L);  // an invoice: its fields cannot be read
  const Row before = Document(23);
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_, std::vector<std::wstring>{kSaveFailed + L"no se pudo leer la definición de los campos del "
                                                               L"tipo de documento 2 [ scan.PDF ]|64|Ostrela"});
  EXPECT_EQ(Document(23), before);
  EXPECT_EQ(LogEntries(), 0);
  // Readable again: the next load places the invoice's fields and a save goes through.
  Sql(L"Alter Table DetalleBloqueado Rename To TipoDocumentosDetalle");
  FindDocument(23L);
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_.back(), kSaved);
  EXPECT_EQ(screen_->editors().PlacedFields().size(), 4u);
  EXPECT_EQ(Columns(23, {L"Campo02", L"Campo05"}), L"A-17|cinco");
}

TEST_F(AbmScreenTest, AnUpdateOrDeleteThatRaisesIsAFailureWithItsReason) {
  // The data object raises where the stand-in would answer: on the update and the delete.
  HostSeams seams = Seam<HostSeams>::Current();
  seams.createDataAccess = [] {
    return test::DispatchTap::Wrap(
        Seam<HostSeams>::Real().createDataAccess(),
        [](const std::wstring& member, DISPPARAMS* params, VARIANT*, const std::function<HRESULT()>& call) {
          const VARIANT* command = params && params->cArgs >= 2 ? &params->rgvarg[params->cArgs - 2] : nullptr;
          if (_wcsicmp(member.c_str(), L"Execute") != 0 || !command || V_VT(command) != VT_BSTR) return call();
          const std::wstring text = V_BSTR(command);
          if (text == L"Documentos_Update" || text.rfind(L"Delete Documentos", 0) == 0) return DISP_E_EXCEPTION;
          return call();
        });
  };
  ScopedHostSeams raising(seams);
  Open();
  FindDocument(21L);
  const Row before = Document(21);
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_, std::vector<std::wstring>{kSaveFailed + L"Automation error [ contrato.bmp ]|64|Ostrela"});
  EXPECT_EQ(Document(21), before);
  EXPECT_EQ(LogEntries(), 0);
  EXPECT_EQ(screen_->currentDocumentId(), 21);
  messages_.clear();
  Click(L"BTN_DEL");
  EXPECT_EQ(messages_, (std::vector<std::wstring>{L"Desea Eliminar el Documento?|36|Ostrela",
                                                  L"Se Produjo un Error al Anular el Documento : Automation error|64|"}));
  EXPECT_EQ(Document(21), before);
}

TEST_F(AbmScreenTest, NothingOfADocumentNoLongerLoadedStaysOnScreen) {
  // The contracts get a field the reset fills with the logon name.
  Sql(L"Insert Into TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, Alignment, "
      L"Decimales) Values (1, 4, 'Usuario', 0, 'TextBox', 0, 0)");
  Sql(L"Update Documentos Set Campo04 = 'alta' Where DocumentoId = 21");
  Open();
  auto shownText = [this](const wchar_t* nombre) {
    for (const capture::PlacedField& field : screen_->editors().PlacedFields())
      if (field.nombre == nombre) {
        wchar_t text[64] = {};
        GetWindowTextW(Inner(Find(VkNameText(field.kind, field.index))), text, 64);
        return std::wstring(text);
      }
    return std::wstring(L"<not placed>");
  };
  struct Case {
    long id;
    std::function<void()> drop;
  };
  const Case cases[] = {
      {21, [this] { FindDocument(Variant()); }},
      {21, [this] { Click(L"BTN_DEL"); }},
      {23, [this] {  // deleted by another user before the save
         Sql(L"Delete From Documentos Where DocumentoId = 23");
         Click(L"BTN_SAV");
       }},
  };
  for (const Case& c : cases) {
    FindDocument(c.id);
    ASSERT_TRUE(C().dtpFecha->Value() && !C().PSelection->Path().empty());
    c.drop();
    const VkImage& view = *C().PSelection;
    EXPECT_EQ(screen_->currentDocumentId(), 0) << c.id;
    EXPECT_FALSE(view.iImage().HasImage() || view.IsPDF() || C().dtpFecha->Value()) << c.id;
    EXPECT_EQ(view.Documento() + view.Path() + view.Campo(1) + view.Campo(3), L"") << c.id;
    if (c.id == 21) {  // the contract's editors stay placed, reset
      EXPECT_EQ(shownText(L"Contraparte") + L"|" + shownText(L"Usuario"), L"|" + GetUserNameNT());
    }
  }
}

TEST_F(AbmScreenTest, AFindWhosePickerFailsUnloadsItAndKeepsTheDocument) {
  Open();
  FindDocument(21L);
  picker_.reset();
  Sql(L"Alter Table Documentos Rename To DocumentosCerrados");
  std::wstring said;
  ScopedMessageBox failing{[&](const std::wstring& text, long, const std::wstring&) -> long {
    said = text;
    Raise(err::InvalidProcedureCall);
  }};
  Click(L"BTN_FIN");
  EXPECT_EQ(said, L"No se han encontrado datos para la consulta");
  EXPECT_EQ(FindLoadedForm(L"FSearch"), nullptr);
  EXPECT_EQ(MousePointer(), pointer::Default);
  EXPECT_EQ(screen_->currentDocumentId(), 21);
  EXPECT_EQ(C().txtCBarra->Text(), L"779-1");
  EXPECT_FALSE(screen_->busy());
}

TEST_F(AbmScreenTest, ACancelledFindLeavesNoDocumentForSaveValidateOrDelete) {
  Open();
  FindDocument(21L);
  FindDocument(Variant());
  EXPECT_EQ(screen_->currentDocumentId(), 0);
  EXPECT_EQ(C().txtCBarra->Text() + std::to_wstring(C().cboCategoriaId->ListIndex()), L"0");
  const Row before = Document(21);
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_, std::vector<std::wstring>{kSaveFailed + L"no hay documento cargado|64|Ostrela"});
  messages_.clear();
  screen_->SetMode(L"VAL");
  FindDocument(L"");  // an empty key chooses nothing either; the buttons follow the mode
  Click(L"BTN_VAL");
  EXPECT_EQ(messages_, (std::vector<std::wstring>{L"Desea Validar el Documento?|36|Ostrela", kValidateFailed}));
  EXPECT_EQ(Document(21), before);
  EXPECT_EQ(LogEntries(), 0);
}

TEST_F(AbmScreenTest, NullColumnsAndDisabledKeysLoadAndSaveAsStoredThenADeleteGoesOnce) {
  Open();
  FindDocument(22L);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Keys(), L"4|9|XX|4");  // no longer enabled: shown as extra items
  EXPECT_FALSE(C().dtpFecha->Value());
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_, std::vector<std::wstring>{kSaved});
  EXPECT_EQ(Columns(22, {L"CategoriaId", L"SubCategoriaId", L"GerenciaId", L"TipoDocumentoId", L"Fecha", L"Path"}),
            L"4|9|XX|4|<null>|<null>");

  Click(L"BTN_DEL");
  EXPECT_EQ(messages_.back(), L"Desea Eliminar el Documento?|36|Ostrela");
  EXPECT_TRUE(Document(22).empty());
  EXPECT_EQ(screen_->currentDocumentId(), 0);
  EXPECT_EQ(C().cboCategoriaId->ListIndex(), 0);
  messages_.clear();
  Click(L"BTN_DEL");  // nothing loaded: nothing to ask about
  EXPECT_EQ(messages_, std::vector<std::wstring>{kDeleteFailed});
  EXPECT_FALSE(Document(21).empty());
}

TEST_F(AbmScreenTest, AFailedLoadChangesNothingAndAMissingImageStillLoadsTheEntry) {
  Open();
  FindDocument(21L);
  FindDocument(999L);
  FindDocument(L"abc");  // a key that is no number: nothing at all
  EXPECT_EQ(messages_, std::vector<std::wstring>{kLoadFailed});
  EXPECT_EQ(screen_->currentDocumentId(), 21);
  EXPECT_EQ(C().txtCBarra->Text(), L"779-1");
  EXPECT_EQ(MousePointer(), pointer::Default);

  DeleteFileW(image_.c_str());
  FindDocument(21L);
  EXPECT_EQ(messages_, (std::vector<std::wstring>{kLoadFailed, kLoadFailed}));
  EXPECT_EQ(screen_->currentDocumentId(), 21);
  EXPECT_FALSE(C().PSelection->iImage().HasImage());
}

TEST_F(AbmScreenTest, ValidateAsksFirstAndValidateAndSaveFailForADocumentDeletedMeanwhile) {
  Open(L"VAL");
  FindDocument(21L);
  // Save and delete are off in this mode: their commands do nothing however they arrive.
  const Row loaded = Document(21);
  const HWND bar = Find(L"TBarMain");
  for (const wchar_t* key : {L"BTN_SAV", L"BTN_DEL"})
    SendMessageW(bar, WM_COMMAND, MAKEWPARAM(C().TBarMain->IndexOfKey(key), 0), reinterpret_cast<LPARAM>(Inner(bar)));
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Document(21), loaded);
  answer_ = msg::No;
  Click(L"BTN_VAL");
  EXPECT_EQ(Document(21).at(L"IsEnabled"), L"False");
  answer_ = msg::Yes;
  Click(L"BTN_VAL");
  EXPECT_EQ(Document(21).at(L"IsEnabled"), L"True");
  EXPECT_EQ(messages_.size(), 2u);  // the two questions only
  Sql(L"Delete From Documentos Where DocumentoId = 21");  // another user
  Click(L"BTN_VAL");
  EXPECT_EQ(messages_.back(), kValidateFailed);

  screen_->Unload();
  Open(L"ADM");
  FindDocument(23L);
  Sql(L"Delete From Documentos Where DocumentoId = 23");
  Click(L"BTN_SAV");
  EXPECT_EQ(messages_.back(), L"Se Produjo un Error al Grabar el Detalle del Documento : Procedimiento "
                              L"Documentos_Update: No existe el documento 23 [ scan.PDF ]|64|Ostrela");
  EXPECT_EQ(LogEntries(), 0);
}

TEST_F(AbmScreenTest, ACloseDuringASaveClosesAfterItAndCommandsMeanwhileAreIgnored) {
  Open();
  FindDocument(21L);
  const int picks = picks_;
  host_.Post([&] {
    Click(L"BTN_FIN");
    Click(L"BTN_ZIN");  // only the large view's: live
    EXPECT_DOUBLE_EQ(C().PSelection->Zoom(), 1.53);
    screen_->UnloadScreen();
    EXPECT_TRUE(screen_->loaded());  // not under the running save
  });
  Click(L"BTN_SAV");
  EXPECT_FALSE(FindLoadedForm(L"FDocumentosABM"));
  EXPECT_EQ(picks_, picks);
  EXPECT_TRUE(messages_.empty());  // stopped quietly after the update and its log entry
  EXPECT_EQ(Document(21).at(L"UsuarioModificacion"), GetUserNameNT());
  EXPECT_EQ(LogEntries(), 1);

  // Closed while the find's picker is open: nothing is loaded once it returns.
  Open();
  whilePicking_ = [this] { screen_->UnloadScreen(); };
  FindDocument(21L);
  EXPECT_FALSE(FindLoadedForm(L"FDocumentosABM"));
  EXPECT_EQ(screen_->currentDocumentId(), 0);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(MousePointer(), pointer::Default);
}

TEST_F(AbmScreenTest, ImageCommandsWorkOnTheLargeView) {
  Open();
  FindDocument(21L);
  VkImage& view = *C().PSelection;
  Click(L"BTN_FIT");  // pressed by the load: released, fit off, zoom 1
  EXPECT_TRUE(!view.FitMode() && view.Zoom() == 1);
  Click(L"BTN_FIT");
  EXPECT_TRUE(view.FitMode() && view.iImage().FitToWindow());
  Click(L"BTN_ZOU");  // stays at 1
  view.setZoom(24.5);
  Click(L"BTN_ZIN");
  Click(L"BTN_ZIN");  // 25.5 is past the last step
  EXPECT_DOUBLE_EQ(view.Zoom(), 25.5);
  Click(L"BTN_Z11");
  EXPECT_DOUBLE_EQ(view.iImage().Zoom(), 1);

  FindDocument(23L);
  EXPECT_TRUE(view.IsPDF() && !view.iImage().visible());
  Click(L"BTN_PAN");
  EXPECT_EQ(launcher_.programs, std::vector<std::wstring>{AppPath() + L"\\DeRavarEvidoz.exe"});
  EXPECT_EQ(launcher_.parameters, std::vector<std::wstring>{L"F00:Ostrela - scan.PDF|F01:C:\\x\\scan.PDF"});
}

}  // namespace
