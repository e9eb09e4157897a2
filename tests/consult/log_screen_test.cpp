// The audit screen driven through its real windows under the display, docked in a
// host window: toolbar clicks, combo picks and the header switch as real messages,
// against a copy of the sample databases whose log the tests write themselves (keys
// with quotes and dashes, readings at the edges of days).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "consult/grid_layout_dialog.h"
#include "consult/log_export.h"
#include "consult/log_query.h"
#include "consult/log_screen.h"
#include "hosted/grid/xls_reader.h"
#include "runtime/do_events.h"
#include "runtime/mouse_pointer.h"
#include "runtime/timer.h"
#include "runtime/twips.h"
#include "runtime/window_picture.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/save_dialog.h"
#include "screen_kit/screen_fixture.h"
#include "screen_kit/shared_state.h"
#include "support/dispatch_tap.h"
#include "support/file_bytes.h"

namespace vk::consult {
namespace {
using Rows = std::set<std::wstring>;

const wchar_t kAppKey[] = L"VkLogScreen";

// The readings the tests filter: document/user of each row.
const wchar_t kLog[] =
    L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId, Fecha, GerenciaId, ModuloId, Modulo, EquipoId) "
    L"Values (11, 'jean', 1, '2026-03-01 00:00:00', 'AD', 'B01F01', 'Busqueda', 'PC-1'),"
    L" (11, 'jean-luc', 1, '2026-03-01 23:59:59', 'AD', 'B01F01', 'Busqueda', 'PC-2'),"
    L" (12, 'jean-luc', 1, '2026-03-02 00:00:00', 'AD-1', 'R01VIE', 'No Leidos', 'PC-2'),"
    L" (12, 'o''neil', 1, '2026-02-28 23:59:59', 'OP', 'R01VIE', 'No Leidos', 'PC-3'),"
    L" (13, 'o''neil', 1, '2026-12-31 12:00:00', 'OP', 'B01F01', 'Busqueda', 'PC-3'),"
    L" (14, 'jean', 1, '2027-01-01 00:00:00', 'AD', 'B01F01', 'Busqueda', 'PC-1'),"
    L" (99, 'jean', 1, '2026-06-15 10:00:00', 'ZZ', 'B01F01', 'Busqueda', 'PC-1')";
const Rows kAll = {L"11/jean", L"11/jean-luc", L"12/jean-luc", L"12/o'neil", L"13/o'neil", L"14/jean", L"99/jean"};

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

class LogScreenTest : public test::ScreenTest<FDocumentosLogGeneral> {
 protected:
  LogScreenTest() : ScreenTest(kAppKey, L"GEN") {}

  void SetUp() override {
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    Shared().gListSeparator = Variant(L";");
    for (const std::wstring& sql : {
             std::wstring(L"Delete From DocumentosLog"), std::wstring(L"Delete From LogAcciones"),
             std::wstring(L"Insert Into TipoCategorias (CategoriaId, Categoria) Values ('C-1', 'Con guion'),"
                          L" ('C', 'Corta'), ('O''K', 'Con comilla'), ('7', '')"),
             std::wstring(L"Insert Into Gerencias (GerenciaId, Gerencia) Values ('AD-1', 'Archivo Central')"),
             std::wstring(L"Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, Documento)"
                          L" Values (11, '1', '1', 'AD', 'once.tif'), (12, 'C-1', '2', 'AD-1', 'doce.tif'),"
                          L" (13, 'O''K', '3', 'OP', 'trece.tif'), (14, 'C', '1', 'AD', 'catorce.tif')"),
             std::wstring(L"Insert Into LogAcciones (EventoId, UsuarioId) Values (1, 'jean'), (2, 'jean-luc'),"
                          L" (3, 'o''neil'), (4, 'jean')"),
             std::wstring(kLog)})
      Sql(kAppKey, sql);
    Sql(L"VkS", L"Insert Into Users (UserName, UserDescription) Values ('jean-luc', 'Jean Luc')");
  }
  // A click on a toolbar button, found by its key.
  void ClickButton(const wchar_t* toolbarName, const wchar_t* key) {
    test::ClickToolbarButton(host_.hwnd, toolbarName, key);
  }
  // The user's pick of the item loaded with `key` ("" for the empty item).
  void Pick(const wchar_t* comboName, const std::wstring& key) {
    ASSERT_TRUE(test::PickComboItem(host_.hwnd, comboName, key))
        << comboName << " has no item " << testing::PrintToString(key);
  }
  Rows Search() {
    ClickButton(L"TBarMain", L"BTN_FIN");
    Rows rows;
    const auto& grid = *C().GRDetail;
    for (int r = 0; r < grid.DataRowCount(); ++r)
      rows.insert(grid.CellValue(r, L"DocumentoId").toText() + L"/" + grid.CellValue(r, L"Usuario").toText());
    return rows;
  }

};

TEST_F(LogScreenTest, BuildOpensTheScreenDockedInTheHostWithItsControlsFindable) {
  com::ComPtr<_CObject> object;
  ASSERT_EQ(Build(L"R01MRK", object), S_OK);
  auto form = FindLoadedForm(L"FDocumentosLogGeneral");
  ASSERT_TRUE(form);
  EXPECT_EQ(GetParent(form->hwnd()), host_.hwnd);
  EXPECT_TRUE(IsWindowVisible(form->hwnd()));
  EXPECT_EQ(MousePointer(), pointer::Default);
  RECT client{}, screen{};
  GetClientRect(host_.hwnd, &client);
  GetWindowRect(form->hwnd(), &screen);
  EXPECT_EQ(screen.right - screen.left, client.right);
  EXPECT_EQ(screen.bottom - screen.top, client.bottom);
  for (const wchar_t* name : {L"TBarMain", L"VkHeader", L"lblCategoriaId", L"cboCategoriaId", L"lblSubCategoriaId",
                              L"cboSubCategoriaId", L"lblGerenciaId", L"cboGerenciaId", L"lblUsuarioId",
                              L"cboUsuarioId", L"lblDesdeHasta", L"dtpFechaDesde", L"dtpFechaHasta",
                              L"lblDocumentoId", L"cboDocumentoId", L"Line1", L"VkContainerData", L"TBarDetail",
                              L"GRDetail", L"STBar"})
    EXPECT_TRUE(FindVkWindow(host_.hwnd, name)) << name;
  auto& screen_form = static_cast<FDocumentosLogGeneral&>(*form);
  // Opens with every filter reset, no dates and an empty list.
  EXPECT_EQ(screen_form.sql(), L"Select * From DocumentosLog");
  EXPECT_EQ(screen_form.controls().GRDetail->DataRowCount(), 0);
  EXPECT_FALSE(screen_form.controls().dtpFechaDesde->Value());
  for (const wchar_t* picker : {L"dtpFechaDesde", L"dtpFechaHasta"}) {
    SYSTEMTIME shown{};
    EXPECT_EQ(SendMessageW(Inner(Find(picker)), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_NONE)
        << picker << " shows no date, its box not ticked";
  }
  EXPECT_EQ(screen_form.controls().cboUsuarioId->ListCount(), 4);  // the empty item and three users
  Kill(object);
  EXPECT_FALSE(FindLoadedForm(L"FDocumentosLogGeneral"));
}

TEST_F(LogScreenTest, EachFilterAloneAndCombinedUsesTheKeyItsItemWasLoadedWithAndWholeDays) {
  Open();
  EXPECT_EQ(Search(), kAll);
  EXPECT_EQ(screen_->sql(), L"Select * From DocumentosLog Where 1 = 1");
  struct Case {
    const wchar_t* combo;
    std::wstring key;
    Rows rows;
  };
  const Case cases[] = {
      {L"cboUsuarioId", L"jean-luc", {L"11/jean-luc", L"12/jean-luc"}},
      {L"cboUsuarioId", L"o'neil", {L"12/o'neil", L"13/o'neil"}},
      {L"cboCategoriaId", L"C-1", {L"12/jean-luc", L"12/o'neil"}},
      {L"cboCategoriaId", L"O'K", {L"13/o'neil"}},
      {L"cboCategoriaId", L"7", kAll},  // an item without a description filters nothing
      {L"cboSubCategoriaId", L"2", {L"12/jean-luc", L"12/o'neil"}},
      {L"cboGerenciaId", L"AD-1", {L"12/jean-luc", L"12/o'neil"}},
      {L"cboDocumentoId", L"13", {L"13/o'neil"}},
  };
  for (const Case& c : cases) {
    Pick(c.combo, c.key);
    EXPECT_EQ(Search(), c.rows) << testing::PrintToString(c.key) << "\n" << testing::PrintToString(screen_->sql());
    Pick(c.combo, L"");
  }
  // The document's key goes in as a number; one that is none matches nothing.
  Pick(L"cboDocumentoId", L"13");
  Search();
  EXPECT_EQ(screen_->sql(), L"Select * From DocumentosLog Where 1 = 1 And DocumentoId = 13");
  Pick(L"cboDocumentoId", L"");
  LogFilters noNumber;
  noNumber.documentoId = L"13' Or '1' = '1";
  EXPECT_EQ(BuildLogQuery(noNumber), L"Select * From DocumentosLog Where 1 = 1 And 1 = 0");

  Pick(L"cboUsuarioId", L"jean-luc");
  Pick(L"cboCategoriaId", L"C-1");
  EXPECT_EQ(Search(), Rows{L"12/jean-luc"});
  EXPECT_EQ(screen_->sql(),
            L"Select * From DocumentosLog Where 1 = 1 And DocumentoId In ( Select DocumentoId From Documentos Where "
            L"CategoriaId = 'C-1' )  And Usuario = 'jean-luc'");
  Pick(L"cboUsuarioId", L"");
  Pick(L"cboCategoriaId", L"");

  // Dates: the first and the last day are included whole (0:00:00 to 23:59:59).
  auto& from = *C().dtpFechaDesde;
  auto& to = *C().dtpFechaHasta;
  from.SetValue(MakeDate(2026, 3, 1));
  to.SetValue(MakeDate(2026, 3, 1));
  EXPECT_EQ(Search(), (Rows{L"11/jean", L"11/jean-luc"}));
  to.ClearValue();
  EXPECT_EQ(Search(), (Rows{L"11/jean", L"11/jean-luc", L"12/jean-luc", L"13/o'neil", L"14/jean", L"99/jean"}));
  from.ClearValue();
  to.SetValue(MakeDate(2026, 12, 31));
  Rows untilNewYear = kAll;
  untilNewYear.erase(L"14/jean");
  EXPECT_EQ(Search(), untilNewYear);
  EXPECT_NE(screen_->sql().find(L"Fecha < Convert(DateTime, '2027-01-01', 101)"), std::wstring::npos);
}

TEST_F(LogScreenTest, GridShowsTheTenColumnsThroughTheirValueListsWithoutGroups) {
  Open();
  Search();
  const auto& grid = *C().GRDetail;
  ASSERT_EQ(grid.Columns().Count(), 11);
  const wchar_t* captions[] = {L"Documento", L"Usuario", L"Nro.",   L"Fecha",  L"Gerencia",
                               L"C.Mod",     L"Modulo",  L"Equipo", L"F.Alta", L"F.Modificacion"};
  const int alignments[] = {4, 4, 5, 4, 4, 5, 4, 5, 4, 4};
  double widths = 0;
  for (int p = 1; p <= 10; ++p) {
    EXPECT_EQ(grid.Columns().Item(p).Caption, captions[p - 1]);
    EXPECT_EQ(grid.Columns().Item(p).Style().TextAlignment, alignments[p - 1]);
    widths += grid.Columns().Item(p).Width;
  }
  EXPECT_NEAR(widths, grid.width(), 1.0);
  const grid::GridModel& model = grid.Model();
  std::set<std::wstring> shown;
  for (int r = 0; r < grid.DataRowCount(); ++r) {
    shown.insert(model.CellText(r, 1) + L"|" + model.CellText(r, 2) + L"|" + model.CellText(r, 5));
    // The log is a flat list: no group rows among the data rows.
    EXPECT_EQ(model.DisplayRow(r).Kind, grid::kDataRow);
  }
  EXPECT_EQ(model.DisplayRowCount(), grid.DataRowCount());
  EXPECT_TRUE(shown.count(L"doce.tif|Jean Luc|Archivo Central")) << "names for stored keys";
  EXPECT_TRUE(shown.count(L"99|jean|ZZ")) << "a key without a name shows as stored";
  // The seven named styles: two background colours each, and the text of three.
  const struct {
    const wchar_t* name;
    OLE_COLOR back, back2;
    std::optional<OLE_COLOR> fore;
  } styles[] = {
      {L"Frozen", 0xFFFFFF, 0xFFFFFF, {}},         {L"Normal", 0xFFFFFF, 0xFFFFFF, {}},
      {L"GridBackground", 0xFFFFFF, 0xFCF4EF, {}}, {L"Heading", 0xDABAA8, 0xECDCD3, 0x7B2D02},
      {L"Selection", 0xEEFCFD, 0xDCF7FA, 0},       {L"InactiveSelection", 0xF8F7F7, 0xF1EFEE, 0},
      {L"Tip", 0x00FFFF, 0x0000FF, {}},
  };
  for (const auto& expected : styles) {
    const grid::GridStyle* style = model.Styles().Find(expected.name);
    ASSERT_NE(style, nullptr) << testing::PrintToString(expected.name);
    EXPECT_EQ(style->BackColor.value_or(1), expected.back) << testing::PrintToString(expected.name);
    EXPECT_EQ(style->BackColor2.value_or(1), expected.back2) << testing::PrintToString(expected.name);
    if (expected.fore) {
      EXPECT_EQ(style->ForeColor.value_or(1), *expected.fore) << testing::PrintToString(expected.name);
    }
  }
  const grid::StyleFont& heading = *model.Styles().Find(L"Heading")->Font;
  EXPECT_EQ(heading.name + L"|" + std::to_wstring(heading.size) + L"|" + std::to_wstring(heading.bold),
            L"verdana|9.000000|1");
  test::Pump();
  EXPECT_TRUE(SaveWindowPicture(host_.hwnd, test::BinFolder() + L"\\consult_log_screen_review.bmp"));
}

TEST_F(LogScreenTest, TheReadingsAreWalkedToTheirEndWhateverTheirCountSays) {
  for (long told : {-1L, 0L, 3L, 100L}) {
    // The log's recordset tells `told` as its RecordCount (ADO gives -1 when it cannot count).
    HostSeams seams = Seam<HostSeams>::Current();
    seams.createDataAccess = [told] {
      return test::DispatchTap::Wrap(Seam<HostSeams>::Real().createDataAccess(),
                                     [told](const std::wstring& member, DISPPARAMS* params, VARIANT* result,
                                            const std::function<HRESULT()>& call) {
        const HRESULT hr = call();
        const VARIANT* command = params && params->cArgs >= 2 ? &params->rgvarg[params->cArgs - 2] : nullptr;
        if (FAILED(hr) || _wcsicmp(member.c_str(), L"GetData") != 0 || V_VT(result) != VT_DISPATCH ||
            !V_DISPATCH(result) || V_VT(command) != VT_BSTR ||
            std::wstring(V_BSTR(command)).rfind(L"Select * From DocumentosLog", 0) != 0)
          return hr;
        auto records = com::ComPtr<IDispatch>::Attach(V_DISPATCH(result));
        V_DISPATCH(result) = test::DispatchTap::Wrap(records, [told](const std::wstring& name, DISPPARAMS*,
                                                                      VARIANT* answer,
                                                                      const std::function<HRESULT()>& real) {
                               if (_wcsicmp(name.c_str(), L"RecordCount") != 0) return real();
                               V_VT(answer) = VT_I4;
                               V_I4(answer) = told;
                               return S_OK;
                             }).detach();
        return hr;
      });
    };
    ScopedHostSeams scoped(seams);
    Open();
    EXPECT_EQ(Search(), kAll) << told;
    EXPECT_EQ(C().GRDetail->DataRowCount(), 7) << told;
  }
}

TEST_F(LogScreenTest, FailedReadTellsTheUserAndAnEmptyResultSaysNothing) {
  Open();
  Pick(L"cboDocumentoId", L"1");
  EXPECT_TRUE(Search().empty());
  EXPECT_TRUE(messages_.empty());
  Sql(kAppKey, L"Drop Table DocumentosLog");
  EXPECT_TRUE(Search().empty());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind(L"No Existe Información para la Busqueda Solicitada\n\n", 0), 0u) << messages_[0];
  EXPECT_NE(messages_[0].find(L"DocumentosLog"), std::wstring::npos) << L"the data object's reason: " << messages_[0];
  EXPECT_EQ(messages_[0].substr(messages_[0].size() - 11), L"|64|Ostrela");
  EXPECT_EQ(MousePointer(), pointer::Default);
}

TEST_F(LogScreenTest, ClearAsksFirstAndResetsFiltersAndList) {
  Open();
  Pick(L"cboUsuarioId", L"jean");
  C().dtpFechaDesde->SetValue(MakeDate(2026, 1, 1));
  Search();
  for (long answer : {msg::No, 0L}) {
    answer_ = answer;
    ClickButton(L"TBarMain", L"BTN_CLE");
    EXPECT_EQ(C().cboUsuarioId->SelectedKey(), L"jean");
    EXPECT_TRUE(C().dtpFechaDesde->Value());
    EXPECT_EQ(C().GRDetail->DataRowCount(), 3);
  }
  EXPECT_EQ(messages_.back(), L"Desea Limpiar los datos de la Ventana?|36|Ostrela");
  answer_ = msg::Yes;
  ClickButton(L"TBarMain", L"BTN_CLE");
  EXPECT_EQ(C().cboUsuarioId->ListIndex(), 0);
  EXPECT_FALSE(C().dtpFechaDesde->Value());
  EXPECT_EQ(C().GRDetail->DataRowCount(), 0);

  // The host's close while the question is open: the screen goes, the Yes clears nothing.
  Pick(L"cboUsuarioId", L"jean");
  Search();
  {
    ScopedMessageBox closing([&](const std::wstring&, long, const std::wstring&) {
      screen_->UnloadScreen();
      return msg::Yes;
    });
    ClickButton(L"TBarMain", L"BTN_CLE");
  }
  EXPECT_FALSE(screen_->loaded());
  EXPECT_EQ(C().GRDetail->DataRowCount(), 3);
}

TEST_F(LogScreenTest, LayoutFollowsTheHostAndTheHeader) {
  Open();
  auto columnsAddUp = [&] {
    double sum = 0;
    for (int p = 1; p < C().GRDetail->Columns().Count(); ++p) sum += C().GRDetail->Columns().Item(p).Width;
    return std::abs(sum - C().GRDetail->width()) < 1.0;
  };
  host_.SetClientSize(900, 640);
  screen_->Form_Resize();
  const double W = screen_->scaleWidth(), H = screen_->scaleHeight();
  EXPECT_DOUBLE_EQ(W, PixelsToTwips(900));
  EXPECT_DOUBLE_EQ(C().TBarMain->width(), W - 300);
  EXPECT_DOUBLE_EQ(C().VkHeader->width(), W - 600);
  EXPECT_DOUBLE_EQ(C().cboUsuarioId->left() + C().cboUsuarioId->width(), C().VkHeader->width() - 200);
  EXPECT_DOUBLE_EQ(C().dtpFechaHasta->left() + C().dtpFechaHasta->width(),
                   C().cboUsuarioId->left() + C().cboUsuarioId->width());
  EXPECT_DOUBLE_EQ(C().VkContainerData->top() + C().VkContainerData->height(), H - C().STBar->height() - 245);
  EXPECT_TRUE(columnsAddUp());
  EXPECT_TRUE(IsWindowVisible(screen_->hwnd()));

  // Collapsing the header moves the list up by what the header lost; expanding it back.
  const double listTop = C().VkContainerData->top(), headerHeight = C().VkHeader->height();
  const HWND header = Find(L"VkHeader");
  test::ClickIn(header, C().VkHeader->SwitchRect());
  EXPECT_EQ(C().VkHeader->ExpandState(), 0);
  EXPECT_DOUBLE_EQ(C().VkContainerData->top(), listTop - (headerHeight - C().VkHeader->height()));
  test::ClickIn(header, C().VkHeader->SwitchRect());
  EXPECT_DOUBLE_EQ(C().VkContainerData->top(), listTop);
  EXPECT_TRUE(columnsAddUp());

  // Narrower than the margins: the widths that would be negative keep their value.
  const double headerWidth = C().VkHeader->width();
  host_.SetClientSize(30, 200);
  screen_->Form_Resize();
  EXPECT_DOUBLE_EQ(C().TBarMain->width(), PixelsToTwips(30) - 300);
  EXPECT_DOUBLE_EQ(C().VkHeader->width(), headerWidth);
  EXPECT_DOUBLE_EQ(C().VkHeader->left(), 200);
}

TEST_F(LogScreenTest, ReportKeyShowsItsMenuWithTheStateFourWhileOpen) {
  Open();
  auto& bar = *C().TBarMain;
  const int index = bar.IndexOfKey(L"BTN_REP");
  // The menu runs its own loop: a timer reads the key's state and closes the menu.
  static int stateWhileOpen;
  static hosted::Toolbar* toolbar;
  stateWhileOpen = -1;
  toolbar = &bar;
  struct Tick {
    static void CALLBACK Proc(HWND window, UINT, UINT_PTR id, DWORD) {
      KillTimer(window, id);
      stateWhileOpen = toolbar->ButtonState(toolbar->IndexOfKey(L"BTN_REP"));
      EndMenu();
    }
  };
  SetTimer(host_.hwnd, 7, 200, &Tick::Proc);
  ClickButton(L"TBarMain", L"BTN_REP");
  KillTimer(host_.hwnd, 7);
  EXPECT_EQ(stateWhileOpen, 4);
  EXPECT_EQ(bar.ButtonState(index), 0);
}

TEST_F(LogScreenTest, ColumnLayoutDialogChangesLastUntilTheNextLayoutGivesWidthsBack) {
  Open();
  auto& columns = C().GRDetail->Columns();
  const float documentWidth = columns.Item(1).Width;
  std::wstring title;
  int listed = 0;
  // The dialog is modal: a timer edits its list and accepts it.
  Timer edit(50);
  edit.Tick.Connect([&] {
    auto dialog = std::dynamic_pointer_cast<FGridLayout>(FindLoadedForm(L"FGridLayout"));
    if (!dialog) return;
    edit.setEnabled(false);
    title = dialog->FrameControl().Caption();
    listed = dialog->FlexData().DataRowCount();
    dialog->FlexData().SetCellValue(0, FGridLayout::kCaption, Variant(L"Archivo"));
    dialog->FlexData().SetCellValue(0, FGridLayout::kWidth, Variant(99L));
    dialog->FlexData().SetCellValue(1, FGridLayout::kVisible, Variant(false));
    SendMessageW(dialog->cmdAceptar().inner(), BM_CLICK, 0, 0);
  });
  ClickButton(L"TBarDetail", L"CFG_GRD");
  EXPECT_FALSE(FindLoadedForm(L"FGridLayout"));
  EXPECT_EQ(title, L"Parametrización de la Tabla : Log de Eventos del Sistema");
  EXPECT_EQ(listed, 10);
  EXPECT_EQ(columns.Item(1).Caption, L"Archivo");
  EXPECT_FLOAT_EQ(columns.Item(1).Width, 99);
  EXPECT_TRUE(columns.Item(2).Hidden);
  screen_->Form_Resize();
  EXPECT_FLOAT_EQ(columns.Item(1).Width, documentWidth);
  EXPECT_EQ(columns.Item(1).Caption, L"Archivo");
  EXPECT_TRUE(columns.Item(2).Hidden);

  // The host's close while the dialog is open takes the dialog with it, applying nothing;
  // the screen goes once the command has ended.
  bool outlivedTheClose = false;
  Timer close(50);
  close.Tick.Connect([&] {
    auto dialog = std::dynamic_pointer_cast<FGridLayout>(FindLoadedForm(L"FGridLayout"));
    if (!dialog) return;
    if (screen_->loaded() && dialog->FlexData().CellValue(0, FGridLayout::kCaption).toText() != L"Nunca") {
      dialog->FlexData().SetCellValue(0, FGridLayout::kCaption, Variant(L"Nunca"));
      screen_->UnloadScreen();
      return;
    }
    outlivedTheClose = true;  // a tick later it is still there: close it by hand
    SendMessageW(dialog->cmdCancelar().inner(), BM_CLICK, 0, 0);
  });
  ClickButton(L"TBarDetail", L"CFG_GRD");
  close.setEnabled(false);
  EXPECT_FALSE(outlivedTheClose);
  EXPECT_FALSE(screen_->loaded());
  EXPECT_EQ(columns.Item(1).Caption, L"Archivo");
}

TEST_F(LogScreenTest, CommandsDuringASearchWaitAndAHostCloseIsHonouredAfterIt) {
  Open();
  // A reset and a close that arrive while the search yields: the reset is ignored,
  // the close waits for the search to end.
  answer_ = msg::Yes;
  host_.onPosted = [&] {
    EXPECT_EQ(MousePointer(), pointer::Hourglass) << "busy while the search runs";
    ClickButton(L"TBarMain", L"BTN_CLE");
    screen_->UnloadScreen();
    EXPECT_TRUE(screen_->loaded());
  };
  PostMessageW(host_.hwnd, WM_APP, 0, 0);
  ClickButton(L"TBarMain", L"BTN_FIN");
  EXPECT_FALSE(screen_->loaded());
  EXPECT_EQ(C().GRDetail->DataRowCount(), 7);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LogScreenTest, AFailedOrClosedBuildLeavesNothingShown) {
  // No container: built, never docked nor shown, the busy pointer left on; neither a
  // header event nor a layout shows it.
  screen_ = Form::Load<FDocumentosLogGeneral>();
  SetMousePointer(pointer::ArrowHourglass);
  EXPECT_FALSE(screen_->MakeForm());
  EXPECT_EQ(MousePointer(), pointer::ArrowHourglass);
  const double listTop = C().VkContainerData->top();
  C().VkHeader->SetExpandState(0);
  EXPECT_DOUBLE_EQ(C().VkContainerData->top(), listTop);
  screen_->Form_Resize();
  EXPECT_FALSE(IsWindowVisible(screen_->hwnd()));
  screen_->Unload();

  // The host's close while the combos load (a yield): the build stops and the screen goes.
  screen_ = Form::Load<FDocumentosLogGeneral>();
  screen_->SetHWndContainer(static_cast<long>(reinterpret_cast<LONG_PTR>(host_.hwnd)));
  host_.onPosted = [&] { screen_->UnloadScreen(); };
  PostMessageW(host_.hwnd, WM_APP, 0, 0);
  EXPECT_FALSE(screen_->MakeForm());
  EXPECT_FALSE(screen_->loaded());
  EXPECT_FALSE(IsWindow(screen_->hwnd()));
}

// --- export ---

class LogExportTest : public LogScreenTest {
 protected:
  void SetUp() override {
    LogScreenTest::SetUp();
    folder_ = TempFolder(L"VkLogExport");
  }
  void TearDown() override {
    for (const std::wstring& name : FilesIn(folder_)) {
      DeleteFileW((folder_ + name).c_str());
      RemoveDirectoryW((folder_ + name).c_str());
    }
    RemoveDirectoryW(folder_.c_str());
    LogScreenTest::TearDown();
  }
  // The dialog's answer when the user chose `name` in the test folder ("" cancels).
  SaveDialogResult Chosen(const std::wstring& name) const {
    SaveDialogResult result;
    if (name.empty()) return result;
    result.Canceled = false;
    result.FileCount = 1;
    result.FileNames = {name};
    result.Path = folder_;
    return result;
  }
  // Exports to `name`, the dialog first checked for the fields the command sets.
  void Export(const std::wstring& name, const std::function<void()>& whileOpen = [] {}) {
    ScopedSaveDialog dialog([&](HWND owner, bool centre) {
      const SaveDialogRecord& record = SaveDialogSettings();
      EXPECT_EQ(record.lpstrFilter, std::wstring(L"Excel Files (*.xls)\0*.xls", 25));
      EXPECT_EQ(record.Flags, 0x00280204u);
      EXPECT_EQ(record.lpstrTitle, L"Show Open");
      EXPECT_EQ(owner, screen_->hwnd());
      EXPECT_TRUE(centre);
      whileOpen();
      return Chosen(name);
    });
    messages_.clear();
    ClickButton(L"TBarDetail", L"EXP_XLS");
  }
  void AddReadings(int count) {
    Sql(kAppKey, L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId, Fecha) "
                 L"With Recursive n(i) As (Select 1 Union All Select i + 1 From n Where i < " +
                     std::to_wstring(count) + L") Select 500, 'masivo', i, '2026-05-05 10:00:00' From n");
  }
  void WriteText(const std::wstring& name, const std::string& text) {
    HANDLE file = CreateFileW((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(file);
  }
  std::string Text(const std::wstring& name) {
    const auto bytes = test::ReadFileBytes(folder_ + name);
    return {bytes.begin(), bytes.end()};
  }
  std::wstring folder_;
};

TEST(LogExportNames, ExtensionAddedAndOnlyTheFinalOneReplacedByTheFallback) {
  const struct {
    const wchar_t *folder, *name, *exported, *fallback;
  } cases[] = {
      {L"C:\\Datos\\", L"informe", L"C:\\Datos\\informe.Xls", L"C:\\DATOS\\INFORME.csv"},
      {L"C:\\Datos\\", L"informe.XLS", L"C:\\Datos\\informe.XLS", L"C:\\DATOS\\INFORME.csv"},
      {L"C:\\a.xls\\", L"b.Xls", L"C:\\a.xls\\b.Xls", L"C:\\A.XLS\\B.csv"},
      {L"", L"informe.xlsx", L"informe.xlsx.Xls", L"INFORME.XLSX.csv"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExportFileName(c.folder, c.name), c.exported);
    EXPECT_EQ(FallbackFileName(c.exported), c.fallback);
  }
}

TEST_F(LogExportTest, SpreadsheetReadsBackAndReplacesAnOldFileWholly) {
  Open();
  Pick(L"cboUsuarioId", L"jean-luc");
  Search();
  WriteText(L"informe.xls", "an old report");
  Export(L"informe");  // no extension: ".Xls" is added
  EXPECT_EQ(messages_, std::vector<std::wstring>{L"Se ha Realizado la Exportación de Datos|64|Ostrela"});
  // One file in the end, the new one (its name's case is the file system's business).
  const std::vector<std::wstring> files = FilesIn(folder_);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, files[0].c_str(), -1, L"informe.Xls", -1), CSTR_EQUAL);
  const auto sheet = grid::test::ReadXls(test::ReadFileBytes(folder_ + L"informe.Xls"));
  ASSERT_EQ(sheet.error, "");
  EXPECT_EQ(sheet.cells.at({0, 0}), L"Documento");
  EXPECT_EQ(sheet.cells.at({0, 9}), L"F.Modificacion");
  std::set<std::wstring> documents{sheet.cells.at({1, 0}), sheet.cells.at({2, 0})};
  EXPECT_EQ(documents, (std::set<std::wstring>{L"once.tif", L"doce.tif"}));
  EXPECT_EQ(sheet.cells.at({1, 1}), L"Jean Luc");
  EXPECT_FALSE(sheet.cells.count({3, 0}));
  Export(L"");  // cancelled: nothing happens
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LogExportTest, AnEmptyListStillExportsItsHeadingsAndSaysSo) {
  Open();
  Pick(L"cboDocumentoId", L"1");
  ASSERT_TRUE(Search().empty());
  Export(L"vacio.xls");
  EXPECT_EQ(messages_, std::vector<std::wstring>{L"Se ha Realizado la Exportación de Datos|64|Ostrela"});
  const auto sheet = grid::test::ReadXls(test::ReadFileBytes(folder_ + L"vacio.xls"));
  ASSERT_EQ(sheet.error, "");
  EXPECT_EQ(sheet.cells.at({0, 0}), L"Documento");
  EXPECT_FALSE(sheet.cells.count({1, 0}));
}

TEST_F(LogExportTest, AboveTheSpreadsheetsRowsTheListSeparatorTextIsWrittenAndNamed) {
  AddReadings(65536);
  Open();
  EXPECT_EQ(Search().size(), 7u + 1);  // readings of one user and document count once here
  EXPECT_EQ(C().GRDetail->DataRowCount(), 65543);
  WriteText(L"grande.xls", "kept");
  Export(L"grande.xls");
  std::wstring upper = folder_;
  for (wchar_t& ch : upper) ch = static_cast<wchar_t>(std::towupper(ch));
  EXPECT_EQ(messages_, std::vector<std::wstring>{L"Se ha Realizado la Exportación de Datos: " + upper +
                                                  L"GRANDE.csv|64|Ostrela"});
  EXPECT_EQ(FilesIn(folder_), (std::vector<std::wstring>{L"GRANDE.csv", L"grande.xls"}));
  EXPECT_EQ(Text(L"grande.xls"), "kept") << "a failed spreadsheet leaves the old file alone";
  const std::string csv = Text(L"GRANDE.csv");
  EXPECT_EQ(csv.substr(0, 3 + 9), "\xEF\xBB\xBF" "Documento");
  EXPECT_NE(csv.find("Documento;Usuario;Nro.;Fecha;Gerencia;C.Mod;Modulo;Equipo;F.Alta;F.Modificacion\r\n"),
            std::string::npos);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 65543 + 1);
}

TEST_F(LogExportTest, AReadOnlyTargetIsKeptAndTheTextGoesBesideItOrTheFailureNamesBoth) {
  Open();
  Search();
  std::wstring upper = folder_;
  for (wchar_t& ch : upper) ch = static_cast<wchar_t>(std::towupper(ch));
  for (bool textReadOnly : {false, true}) {
    WriteText(L"informe.xls", "kept");
    SetFileAttributesW((folder_ + L"informe.xls").c_str(), FILE_ATTRIBUTE_READONLY);
    if (textReadOnly) {
      WriteText(L"INFORME.csv", "kept too");
      SetFileAttributesW((folder_ + L"INFORME.csv").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    Export(L"informe.xls");
    EXPECT_TRUE(Text(L"informe.xls") == "kept") << "a read-only file is never replaced";
    ASSERT_EQ(messages_.size(), 1u);
    if (textReadOnly) {
      EXPECT_TRUE(Text(L"INFORME.csv") == "kept too");
      EXPECT_EQ(messages_[0].rfind(L"No se ha Podido Realizar la Exportación de Datos: ", 0), 0u) << messages_[0];
      EXPECT_NE(messages_[0].find(folder_ + L"informe.xls"), std::wstring::npos) << messages_[0];
      EXPECT_NE(messages_[0].find(upper + L"INFORME.csv"), std::wstring::npos) << messages_[0];
    } else {
      // Why the spreadsheet was not written comes first, then where the data went.
      EXPECT_EQ(messages_,
                std::vector<std::wstring>{L"El archivo " + folder_ + L"informe.xls es de sólo lectura; " +
                                          L"los datos se grabaron en " + upper + L"INFORME.csv|64|Ostrela"});
    }
    EXPECT_EQ(FilesIn(folder_), (std::vector<std::wstring>{L"INFORME.csv", L"informe.xls"}));
    for (const std::wstring& name : FilesIn(folder_)) {
      SetFileAttributesW((folder_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW((folder_ + name).c_str());
    }
  }
}

TEST_F(LogExportTest, AHostCloseWhileTheSaveDialogIsOpenWritesNothingAndClosesAfter) {
  Open();
  Search();
  // The host's close, arriving through the dialog's loop.
  Export(L"tarde.xls", [&] { screen_->UnloadScreen(); });
  EXPECT_FALSE(screen_->loaded());
  EXPECT_TRUE(FilesIn(folder_).empty());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LogExportTest, ATargetThatCannotBeWrittenFailsAndLeavesEverythingAsItWas) {
  Open();
  Search();
  // Both the spreadsheet's and the text's names are folders.
  CreateDirectoryW((folder_ + L"bloqueado.xls").c_str(), nullptr);
  CreateDirectoryW((folder_ + L"BLOQUEADO.csv").c_str(), nullptr);
  Export(L"bloqueado.xls");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind(L"No se ha Podido Realizar la Exportación de Datos: ", 0), 0u) << messages_[0];
  EXPECT_NE(messages_[0].find(L"BLOQUEADO.csv"), std::wstring::npos) << messages_[0];
  EXPECT_EQ(FilesIn(folder_), (std::vector<std::wstring>{L"BLOQUEADO.csv", L"bloqueado.xls"}))
      << "no temporary file is left";
  EXPECT_EQ(GetFileAttributesW((folder_ + L"bloqueado.xls").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
            static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(MousePointer(), pointer::Default);
}

}  // namespace
}  // namespace vk::consult
