// The unread-documents and search screens through their real windows: opening from
// CObject.Build, the lists they read, the current row and preview, marking as read,
// the viewer program, mail, comments and the report, the layout, and closing while a
// question or a dialog is open.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "app/cobject.h"
#include "base/clock.h"
#include "com/late_bound.h"
#include "consult/comment_editor.h"
#include "consult/list_query.h"
#include "consult/mail_program.h"
#include "consult/report_preview.h"
#include "consult/search_screen.h"
#include "consult/view_screen.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "list_fixture.h"
#include "runtime/mouse_pointer.h"
#include "runtime/timer.h"
#include "runtime/twips.h"
#include "runtime/vk_name.h"
#include "runtime/window_picture.h"
#include "screen_kit/data_access.h"
#include "screen_kit/host_seams.h"
#include "support/dispatch_tap.h"
#include "support/outbox_folder.h"

namespace vk::test {
namespace {

using consult::FDocumentosSearchS;
using consult::FDocumentosView;
using consult::ListScreen;

std::vector<long> Ids(std::initializer_list<long> ids) { return ids; }

// Another clerk: a second copy of this program that runs one statement on the same
// database copy (given in VK_OTHER_CLERK_SQL) and ends.
TEST(OtherClerk, DISABLED_RunsOneStatement) {
  ComApartment com;
  wchar_t sql[2048] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"VK_OTHER_CLERK_SQL", sql, 2048), 0u);
  auto data = DataAccess::Create();
  ASSERT_TRUE(data && data->ExecuteSql(kAppKey, sql)) << (data ? std::string(data->ErrDescription().begin(),
                                                                            data->ErrDescription().end()) : "");
}

void RunAsOtherClerk(const std::wstring& sql) {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  SetEnvironmentVariableW(L"VK_OTHER_CLERK_SQL", sql.c_str());
  EXPECT_EQ(RunAndWait(L"\"" + std::wstring(program) +
                       L"\" --gtest_also_run_disabled_tests --gtest_filter=OtherClerk.DISABLED_RunsOneStatement"),
            0u);
}

// The statement or procedure of a call to GetData or Execute ("" for any other call).
std::wstring CommandOf(const std::wstring& member, const DISPPARAMS* params) {
  const bool runs = _wcsicmp(member.c_str(), L"GetData") == 0 || _wcsicmp(member.c_str(), L"Execute") == 0;
  return runs ? DispatchTap::CommandText(params) : L"";
}

// True for the call that writes a comment history.
bool WritesComments(const std::wstring& member, const DISPPARAMS* params) {
  return _wcsicmp(member.c_str(), L"Execute") == 0 &&
         CommandOf(member, params).find(L"Set Comentarios") != std::wstring::npos;
}

// The screen's data objects, with another clerk's statement run once just before the
// first command that writes a comment history: between the screen's read and its write.
com::ComPtr<IDispatch> OtherClerkBeforeCommentWrite(const std::wstring& sql) {
  auto pending = std::make_shared<std::wstring>(sql);
  return DispatchTap::Wrap(ThreeMemberDataObject(),
                           [pending](const std::wstring& member, DISPPARAMS* params, VARIANT*,
                                     const std::function<HRESULT()>& call) {
                             if (!pending->empty() && WritesComments(member, params)) {
                               RunAsOtherClerk(*pending);
                               pending->clear();
                             }
                             return call();
                           });
}

class ViewScreenTest : public ListScreenTest {};
class SearchScreenTest : public ListScreenTest {
 protected:
  FDocumentosSearchS& Search(const std::wstring& user = L"administrador") {
    return dynamic_cast<FDocumentosSearchS&>(Open(L"B01F01", user));
  }
  std::vector<long> Find() {
    ClickToolbarButton(host(), L"TBarMain", L"BTN_FIN");  // found as an outside driver finds it
    return ListedIds();
  }
  // Another site's documents, listed through the external view: 900, an id no document
  // of ours has, and 104, an id one of ours also has, with another file.
  void ListExternalDocuments() {
    Sql(kAppKey, L"Create Table Externos As Select * From Documentos Where DocumentoId In (103, 104)");
    Sql(kAppKey, L"Update Externos Set DocumentoId = 900, Documento = 'externo.png', Path = '" +
                     std::wstring(kExternal) + L"', Comentarios = 'Nota del externo' Where DocumentoId = 103");
    Sql(kAppKey, L"Update Externos Set Documento = 'ajeno.pdf', Path = '" + std::wstring(kExternal104) +
                     L"', Comentarios = 'Nota del 104 ajeno' Where DocumentoId = 104");
    Sql(kAppKey, L"Drop View V_DocumentosExternos");
    Sql(kAppKey, L"Create View V_DocumentosExternos As Select *, 0 As IsNew From Externos");
  }
  // The display row whose stored file is `path`, -1 when none.
  int RowOfPath(const std::wstring& path) const {
    const grid::GridModel& model = grid().Model();
    for (int shown = 0; shown < model.DisplayRowCount(); ++shown) {
      const grid::RowRef row = model.DisplayRow(shown);
      if (row.Kind == grid::kDataRow && consult::CellText(grid(), row.Index, L"Path") == path) return shown;
    }
    return -1;
  }
  static constexpr wchar_t kExternal[] = L"C:\\Externos\\externo.png";
  static constexpr wchar_t kExternal104[] = L"C:\\Externos\\ajeno.pdf";
};

TEST_F(ViewScreenTest, OpensDockedOnTheUsersUnreadDocumentsGroupedAndBold) {
  ListScreen& view = Open(L"R01VIE");
  ASSERT_NE(dynamic_cast<FDocumentosView*>(&view), nullptr);
  EXPECT_TRUE(IsWindowVisible(view.hwnd()));
  EXPECT_EQ(GetParent(view.hwnd()), host());
  EXPECT_EQ(TwipsToPixels(view.scaleWidth()), 765);
  for (const wchar_t* name : {L"TBarMain", L"VkContainer", L"GRDetail", L"VkImageMain", L"TBarDetail", L"PSelection",
                              L"STBar"})
    EXPECT_NE(FindVkWindow(host(), name), nullptr) << name;

  // usuario1 sees categories 1 and 2 and has read 1, 2, 101 and 105.
  EXPECT_EQ(ListedIds(), Ids({102, 103, 104, 106, 107, 108, 109, 114, 115}));
  EXPECT_EQ(grid().Columns().Count(), 24);
  const grid::GridModel& model = grid().Model();
  EXPECT_EQ(model.GroupCount(), 1);
  EXPECT_EQ(model.DisplayRowCount(), 9 + 2);
  for (int row = 0; row < grid().DataRowCount(); ++row) EXPECT_TRUE(model.CellStyle(row, 1).Font->bold) << row;
  EXPECT_EQ(*model.GroupStyle().BackColor, 14334632u);
  // The group header is painted in its one colour from top to bottom, under its white text.
  const RECT header = grid().Window()->CellRect(0, 1);
  RECT client;
  GetClientRect(grid().hwnd(), &client);
  for (LONG y : {header.top + 1, (header.top + header.bottom) / 2, header.bottom - 3})
    EXPECT_EQ(test::PaintedPixel(grid().hwnd(), client.right - 30, y), RGB(168, 186, 218)) << y;

  // The design layout: the list takes the whole width; the preview frame stays hidden.
  const auto& c = view.controls();
  EXPECT_DOUBLE_EQ(c.VkContainer->width(), c.TBarMain->width() - 300);
  EXPECT_DOUBLE_EQ(c.GRDetail->width(), c.VkContainer->width() - 400);
  EXPECT_FALSE(c.VkImageMain->visible());
  // Columns take their dictionary share of the list's width (Documento: 12 %).
  EXPECT_NEAR(grid().Columns().Item(L"Documento").Width, c.GRDetail->width() * 12 / 100, 0.01);
}

TEST_F(ViewScreenTest, FollowsTheHostsSizeAndSkipsWidthsThatWouldBeNegative) {
  ListScreen& view = Open(L"R01VIE");
  const auto& c = view.controls();
  auto resizeHost = [&](int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(host(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    view.Form_Resize();
    Pump();
  };
  resizeHost(900, 650);
  EXPECT_DOUBLE_EQ(c.VkContainer->width(), PixelsToTwips(900) - 600);
  const double listHeight = c.VkContainer->height();
  resizeHost(900, 40);  // lower than the list's top and the status bar
  EXPECT_DOUBLE_EQ(c.VkContainer->height(), listHeight) << "a negative height is skipped";
  EXPECT_DOUBLE_EQ(c.VkContainer->width(), PixelsToTwips(900) - 600) << "the rest of the layout still runs";
  EXPECT_TRUE(IsWindowVisible(view.hwnd()));
}

TEST_F(SearchScreenTest, FiltersNarrowTheSearchAndPastedTextsKeepTheirQuotes) {
  Sql(kAppKey, L"Insert Into Gerencias (GerenciaId, Gerencia, IsEnabled) Values ('AD-1', 'Archivo Central', 1)");
  Sql(kAppKey, L"Update Documentos Set GerenciaId = 'AD-1' Where DocumentoId = 103");
  FDocumentosSearchS& search = Search();
  const auto& f = search.filters();
  EXPECT_TRUE(ListedIds().empty()) << "the search starts empty";
  for (const wchar_t* name : {L"VkHeader", L"lblCategoriaId", L"cboCategoriaId", L"lblSubCategoriaId",
                              L"cboSubCategoriaId", L"lblGerenciaId", L"cboGerenciaId", L"lblTipoDocumentoId",
                              L"cboTipoDocumentoId", L"lblReferenciaId", L"txtReferenciaId", L"chkReferenciaId",
                              L"lblCBarra", L"txtCBarra", L"chkCBarra"})
    EXPECT_NE(FindVkWindow(host(), name), nullptr) << name;
  EXPECT_EQ(f.cboCategoriaId->ListCount(), 1 + 3);  // the empty item and the enabled categories

  EXPECT_EQ(Find().size(), 18u) << "an administrator sees every document";

  f.cboCategoriaId->SelectKey(L"2");
  f.txtReferenciaId->SetText(L"FC");
  EXPECT_EQ(Find(), Ids({2, 105, 106, 107, 108, 109}));

  f.cboCategoriaId->SetListIndex(0);
  f.txtReferenciaId->SetText(L"D'ANGELO");
  EXPECT_EQ(Find(), Ids({115}));
  f.txtReferenciaId->SetText(L"  CT-D'ANGELO-1 ");
  EXPECT_TRUE(Find().empty()) << "blanks stay inside the Like pattern";
  f.chkReferenciaId->SetValue(1);
  EXPECT_EQ(Find(), Ids({115})) << "an exact reference is trimmed";

  f.txtReferenciaId->SetText(L"");
  f.txtCBarra->SetText(L"'; Delete From Documentos --");
  EXPECT_TRUE(Find().empty());
  EXPECT_EQ(Scalar(L"Select Count(*) From Documentos"), L"18");

  // A key with a dash filters on itself, not on the text before its dash.
  f.txtCBarra->SetText(L"");
  ASSERT_TRUE(PickComboItem(host(), L"cboGerenciaId", L"AD-1"));
  EXPECT_EQ(Find(), Ids({103}));
  // The document type's key filters as a number.
  ASSERT_TRUE(PickComboItem(host(), L"cboGerenciaId", L""));
  ASSERT_TRUE(PickComboItem(host(), L"cboTipoDocumentoId", L"2"));
  EXPECT_EQ(Find(), Ids({2, 105, 106, 107, 108, 109, 114}));
}

TEST_F(SearchScreenTest, ExternalDocumentsJoinOnlyWhenTheViewIsThere) {
  // As shipped the view exists and is empty; without it the search reads Documentos alone.
  Search();
  EXPECT_EQ(Find().size(), 18u);
  Sql(kAppKey, L"Drop View V_DocumentosExternos");
  EXPECT_EQ(Find().size(), 18u) << "a missing view never empties the search";
  Sql(kAppKey, L"Create View V_DocumentosExternos As Select *, 0 As IsNew From Documentos "
               L"Where DocumentoId In (110, 101)");
  EXPECT_EQ(Find().size(), 20u);
  Kill();

  // Any other user: the category list applies to the external documents too.
  Search(L"usuario1");
  EXPECT_EQ(Find(), Ids({1, 2, 101, 101, 102, 103, 104, 105, 106, 107, 108, 109, 114, 115}));
}

TEST_F(SearchScreenTest, AQuoteInTheLogonNameStillReadsItsOwnReadings) {
  Sql(L"VkS", L"Insert Into Users (UserName, UserDescription, UserLevel) Values ('o''neil', 'O''Neil', 0)");
  Sql(kAppKey, L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId) Values (101, 'o''neil', 1)");
  Open(L"R01VIE", L"o'neil");
  EXPECT_EQ(ListedIds().size(), 17u);
  EXPECT_EQ(RowOf(101), -1);
}

TEST_F(ViewScreenTest, NullAndUnreadableDatesBecomeEmptyCellsAndEveryRowIsListed) {
  Sql(kAppKey, L"Update Documentos Set Fecha = Null Where DocumentoId = 102");
  Sql(kAppKey, L"Update Documentos Set FechaAlta = 'no es una fecha', Fecha = 'tampoco' Where DocumentoId = 103");
  Open(L"R01VIE");
  EXPECT_EQ(ListedIds().size(), 9u) << "no row is lost or left blank";
  const int row102 = grid().Model().DisplayRow(RowOf(102)).Index, row103 = grid().Model().DisplayRow(RowOf(103)).Index;
  EXPECT_TRUE(grid().CellValue(row102, L"Fecha").isEmpty());
  EXPECT_TRUE(grid().CellValue(row103, L"Fecha").isEmpty());
  EXPECT_TRUE(grid().CellValue(row103, L"FechaAlta").isEmpty());
  EXPECT_EQ(consult::CellText(grid(), row103, L"Documento"), L"anexo_contrato.png");
}

TEST_F(ViewScreenTest, SelectingARowReadsItWholeOrNotAtAll) {
  Sql(kAppKey, L"Update Documentos Set TipoDocumentoId = 'abc' Where DocumentoId = 107");
  ListScreen& view = Open(L"R01VIE");
  ClickRow(RowOf(108));
  const consult::ListDocument& d = view.currentDocument();
  EXPECT_EQ(d.DocumentoId, 108);
  EXPECT_EQ(d.GerenciaId, L"RH");
  EXPECT_EQ(d.TipoDocumentoId, 2);
  EXPECT_EQ(d.Path, L"C:\\Ostrela\\Documentos\\00002\\00001\\00000000000000000108.pdf");
  EXPECT_EQ(d.Campo[1], L"0005-00003310");
  EXPECT_EQ(d.Campo[4], L"") << "a Null cell reads as the empty text";

  ClickRow(0);  // the first group's header
  EXPECT_EQ(view.currentDocument().DocumentoId, 108);
  ClickRow(RowOf(107));  // its type is no number: the row is not taken, nor is 108 kept
  EXPECT_EQ(view.currentDocument().DocumentoId, 0);
  EXPECT_EQ(view.currentDocument().Documento, L"");
}

TEST_F(ViewScreenTest, EveryFieldLandsUnderItsOwnColumnAndTheListTakesNoTyping) {
  // The dictionary lists Documento and Path last, and offers every column for editing.
  Sql(kAppKey, L"Update DictionaryFields Set FieldId = FieldId + 100 Where TableName = 'DocumentosView' "
               L"And FieldName In ('Documento', 'Path')");
  Sql(kAppKey, L"Update DictionaryFields Set IsEnabled = 1 Where TableName = 'DocumentosView'");
  Open(L"R01VIE");
  ASSERT_GT(grid().Columns().Find(L"Path"), grid().Columns().Find(L"IsNew"));
  const int row = grid().Model().DisplayRow(RowOf(103)).Index;
  EXPECT_EQ(consult::CellText(grid(), row, L"Documento"), L"anexo_contrato.png");
  EXPECT_EQ(consult::CellText(grid(), row, L"Path"), L"C:\\Ostrela\\Documentos\\00001\\00003\\00000000000000000103.png");
  EXPECT_EQ(consult::CellText(grid(), row, L"CBarra"), Scalar(L"Select CBarra From Documentos Where DocumentoId = 103"));

  ClickRow(RowOf(103));
  ClickRow(RowOf(103));  // a second click on the current row would edit the cell
  for (WPARAM key : {VK_F2, VK_RETURN, VK_SPACE}) SendMessageW(grid().hwnd(), WM_KEYDOWN, key, 0);
  Pump();
  EXPECT_FALSE(grid().Window()->Editing());
  EXPECT_EQ(consult::CellLong(grid(), row, L"IsNew"), 0);
}

TEST_F(ViewScreenTest, MarkingAsReadWritesTheRowsOwnDocumentOnlyOnYes) {
  ListScreen& view = Open(L"R01VIE");
  auto readings = [&](long id) {
    return Scalar(L"Select Count(*) From DocumentosLog Where Usuario = 'usuario1' And DocumentoId = " +
                  std::to_wstring(id));
  };
  // Nothing selected yet (a group row is current, no document): nothing is written.
  const std::wstring allReadings = Scalar(L"Select Count(*) From DocumentosLog");
  answers.push_back([] { return msg::Yes; });
  ClickKey(*view.controls().TBarMain, L"BTN_VAL");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text + L"|" + std::to_wstring(messages[0].style), L"Desea Marcar como Leído el Documento?|36");
  EXPECT_EQ(messages[1].text + L"|" + std::to_wstring(messages[1].style) + L"|" + messages[1].title,
            L"Se Produjo un Error al Marcar el Documento|64|Ostrela");
  EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog"), allReadings);

  ClickRow(RowOf(102));
  answers.push_back([] { return msg::No; });
  ClickKey(*view.controls().TBarMain, L"BTN_VAL");
  EXPECT_EQ(readings(102), L"0");

  messages.clear();
  answers.push_back([] { return msg::Yes; });
  ClickKey(*view.controls().TBarMain, L"BTN_VAL");
  EXPECT_EQ(messages.size(), 1u) << "no failure text";
  EXPECT_EQ(readings(102), L"1");
  const int row = grid().Model().DisplayRow(RowOf(102)).Index;
  EXPECT_TRUE(grid().CellValue(row, L"IsNew").toBool());
  EXPECT_FALSE(grid().Model().CellStyle(row, 1).Font->bold);
}

TEST_F(ViewScreenTest, TheViewerAndTheReadLogNameTheCurrentRowsDocumentOrNothing) {
  Sql(kAppKey, L"Update Documentos Set TipoDocumentoId = 'abc' Where DocumentoId = 107");
  ListScreen& view = Open(L"R01VIE");
  auto readings = [&](long id) {
    return Scalar(L"Select Count(*) From DocumentosLog Where Usuario = 'usuario1' And DocumentoId = " +
                  std::to_wstring(id));
  };
  auto markReadByKey = [&] {
    answers.push_back([] { return msg::Yes; });
    ClickKey(*view.controls().TBarMain, L"BTN_VAL");
  };
  // 107, now current, has a type that does not convert; opening and marking it need
  // only its id, name and file, so both are done, for 107 and not for 108 before it.
  ClickRow(RowOf(108));
  ClickRow(RowOf(107));
  ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
  markReadByKey();
  ASSERT_EQ(launcher.parameters.size(), 1u);
  EXPECT_EQ(launcher.parameters[0].find(L"F00:Ostrela - " + Scalar(L"Select Documento From Documentos Where "
                                                                    L"DocumentoId = 107")),
            0u);
  EXPECT_EQ(readings(107) + readings(108), L"20");
  EXPECT_EQ(messages.size(), 1u) << "the question only";

  // A refused read-log entry leaves the row unread.
  Sql(kAppKey, L"Create Trigger NoReadings Before Insert On DocumentosLog Begin Select Raise(Abort, 'no'); End");
  ClickRow(RowOf(103));
  ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
  EXPECT_EQ(launcher.parameters.size(), 2u);
  const int row103 = grid().Model().DisplayRow(RowOf(103)).Index;
  EXPECT_EQ(consult::CellLong(grid(), row103, L"IsNew"), 0);
  Sql(kAppKey, L"Drop Trigger NoReadings");

  // A refill leaves no current document: marking again writes nothing.
  ClickRow(RowOf(102));
  markReadByKey();
  EXPECT_EQ(readings(102), L"1");
  ClickKey(*view.controls().TBarMain, L"BTN_FIN");
  EXPECT_EQ(RowOf(102), -1);
  EXPECT_EQ(view.currentDocument().DocumentoId, 0);
  messages.clear();
  markReadByKey();
  ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
  EXPECT_EQ(readings(102), L"1");
  EXPECT_EQ(launcher.parameters.size(), 2u);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, L"Se Produjo un Error al Marcar el Documento");
}

TEST_F(ViewScreenTest, AValueACommandNeedsThatCannotBeReadIsNamedWithItsDocument) {
  Sql(kAppKey, L"Update Documentos Set DocumentoId = 'x107' Where DocumentoId = 107");
  const std::wstring name = Scalar(L"Select Documento From Documentos Where DocumentoId = 'x107'");
  ListScreen& view = Open(L"R01VIE");
  int shown = -1;  // the row of the document whose id is no number
  for (int row = 0; row < grid().Model().DisplayRowCount(); ++row) {
    const grid::RowRef ref = grid().Model().DisplayRow(row);
    if (ref.Kind == grid::kDataRow && consult::CellText(grid(), ref.Index, L"DocumentoId") == L"x107") shown = row;
  }
  ASSERT_GE(shown, 0);
  ClickRow(shown);
  const std::wstring told = L"El valor 'x107' de DocumentoId del documento " + name + L" no se puede leer";
  answers.push_back([] { return msg::Yes; });
  ClickKey(*view.controls().TBarMain, L"BTN_VAL");
  ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
  DoubleClickRow(shown);
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[1].text, told);
  EXPECT_EQ(messages[2].text, told);
  EXPECT_EQ(messages[3].text, told);
  EXPECT_TRUE(launcher.parameters.empty());
  EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId In (0, 107, 'x107')"), L"0");
}

// A value no command reads (a type that is no number) stops neither the panoramic view
// nor the double click, on both lists: the double click is R01VIE's only way to open.
TEST_F(SearchScreenTest, ADoubleClickOpensAndMarksARowWithAValueItDoesNotNeed) {
  Sql(kAppKey, L"Update Documentos Set TipoDocumentoId = 'abc' Where DocumentoId = 107");
  const std::wstring opened = L"F00:Ostrela - " + Scalar(L"Select Documento From Documentos Where DocumentoId = 107");
  for (const wchar_t* formCode : {L"R01VIE", L"B01F01"}) {
    launcher.parameters.clear();
    const std::wstring readings = Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 107");
    Open(formCode, L"administrador");
    if (std::wstring_view(formCode) == L"B01F01") Find();
    ASSERT_GE(RowOf(107), 0) << formCode;
    DoubleClickRow(RowOf(107));
    ASSERT_EQ(launcher.parameters.size(), 1u) << formCode;
    EXPECT_EQ(launcher.parameters[0].find(opened), 0u) << formCode;
    EXPECT_NE(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 107"), readings) << formCode;
    EXPECT_TRUE(messages.empty()) << formCode;
    Kill();
    Pump();
  }
}

TEST_F(ViewScreenTest, TheViewerOpensTheDocumentAndOnlyAStartedViewerMarksIt) {
  ListScreen& view = Open(L"R01VIE");
  ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
  EXPECT_TRUE(launcher.parameters.empty()) << "no document: nothing starts";

  DoubleClickRow(RowOf(103));
  ASSERT_EQ(launcher.parameters.size(), 1u);
  EXPECT_EQ(launcher.parameters[0],
            L"F00:Ostrela - anexo_contrato.png|F01:C:\\Ostrela\\Documentos\\00001\\00003\\00000000000000000103.png");
  EXPECT_EQ(launcher.owners[0], view.hwnd()) << "the shell's messages belong to the screen";
  EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 103"), L"1");

  launcher.starts = false;  // the viewer program is missing
  DoubleClickRow(RowOf(104));
  ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
  EXPECT_EQ(launcher.parameters.size(), 3u);
  EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 104"), L"0");

  DoubleClickRow(0);  // a group row
  EXPECT_EQ(launcher.parameters.size(), 3u);
}

TEST_F(ViewScreenTest, MailGoesThroughTheMailProgramWithTheStoredFileAttached) {
  ScopedOutbox outbox;
  const std::wstring scan = outbox.folder() + L"\\00000000000000000104.pdf";
  std::ofstream(std::filesystem::path(scan)) << "%PDF";
  Sql(kAppKey, L"Update Documentos Set Path = '" + scan + L"' Where DocumentoId = 104");
  Open(L"R01VIE");

  RightClickRow(RowOf(104), {VK_DOWN, VK_RETURN});
  const std::vector<std::string> calls = {"CreateItem 0", "To=", "Attachments.Add " + std::string(scan.begin(), scan.end())};
  ASSERT_EQ(outbox.LogLines().size(), 4u);
  EXPECT_TRUE(std::equal(calls.begin(), calls.end(), outbox.LogLines().begin()));
  // A stored file that is gone: the mail still shows, without it.
  RightClickRow(RowOf(103), {VK_DOWN, VK_RETURN});
  EXPECT_EQ(outbox.Mails().size(), 2u);
  EXPECT_TRUE(messages.empty());

  // Without a mail program the user is told why.
  consult::ScopedMailProgram none([] { return com::CreateObject(L"Outlook.NoSuchProgram"); });
  RightClickRow(RowOf(104), {VK_DOWN, VK_RETURN});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            L"No se ha podido Enviar el Mail con el Documento. Error [ ActiveX component can't create object ]");
  RightClickRow(0, {});  // a group row opens no menu
  EXPECT_EQ(outbox.Mails().size(), 2u);
}

TEST_F(SearchScreenTest, WithoutItsDataObjectTheScreenStaysUndockedAndHidden) {
  Seam<HostSeams>::Current().createDataAccess = [] { return com::ComPtr<IDispatch>(); };
  auto search = Form::Load<FDocumentosSearchS>();
  search->SetHWndContainer(static_cast<long>(reinterpret_cast<LONG_PTR>(host())));
  SetMousePointer(pointer::ArrowHourglass);
  EXPECT_FALSE(search->MakeForm());
  EXPECT_FALSE(IsWindowVisible(search->hwnd()));
  EXPECT_NE(GetParent(search->hwnd()), host());
  EXPECT_EQ(MousePointer(), pointer::ArrowHourglass) << "the host's busy pointer stays";
  search->Form_Resize();  // the host's resize never shows it as a loose window
  EXPECT_FALSE(IsWindowVisible(search->hwnd()));
  search->Unload();
}

TEST_F(ViewScreenTest, AHostCloseDuringTheBuildStopsItQuietly) {
  Timer close(1);  // ticks in the build's first yield
  bool whileBuilding = false;
  close.Tick.Connect([&] {
    auto building = std::dynamic_pointer_cast<ListScreen>(FindLoadedForm(L"FDocumentosView"));
    if (!building) return;
    whileBuilding = building->busy();
    close.setEnabled(false);
    Kill();
  });
  ListScreen& view = Open(L"R01VIE");
  EXPECT_FALSE(view.IsScreenLoaded());
  EXPECT_FALSE(view.hasDataObject());
  EXPECT_EQ(GetWindow(host(), GW_CHILD), nullptr) << "nothing is left in the host";
  EXPECT_TRUE(whileBuilding);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ViewScreenTest, AHostWindowThatIsGoneKeepsTheFilledScreenOffTheDesktop) {
  HWND gone = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  Seam<HostSeams>::Current().logonName = [] { return std::wstring(L"usuario1"); };
  auto object = com::ComPtr<_CObject>::Attach(vk::app::CObject::Create());
  object->put_ApplicationName(com::Bstr(kAppKey).get());
  object->put_ObjectName(com::Bstr(L"R01VIE").get());
  object->put_hwnd(static_cast<long>(reinterpret_cast<LONG_PTR>(gone)));
  VARIANT_BOOL result = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(object->Build(&result));
  Pump();
  auto view = std::dynamic_pointer_cast<ListScreen>(FindLoadedForm(L"FDocumentosView"));
  ASSERT_TRUE(view);
  EXPECT_EQ(view->controls().GRDetail->DataRowCount(), 9) << "filled: only the docking failed";
  EXPECT_FALSE(IsWindowVisible(view->hwnd()));
  object->Kill(&result);
  Pump();
  EXPECT_FALSE(FindLoadedForm(L"FDocumentosView"));
}

TEST_F(SearchScreenTest, TheSelectedRowShowsInThePreviewAndThePreviewKeysZoomAndFit) {
  const std::wstring folder = FreshFolder(L"vk_lists_preview");
  const std::wstring page = folder + L"\\page.jpg";
  ASSERT_TRUE(WriteSamplePage(page, ImageFormat::Jpg, 620, 877));
  Sql(kAppKey, L"Update Documentos Set Path = '" + page + L"' Where DocumentoId In (102, 103)");
  FDocumentosSearchS& search = Search();
  const auto& c = search.controls();
  VkImage& preview = *c.PSelection;
  const double header = search.filters().VkHeader->width();
  EXPECT_DOUBLE_EQ(c.VkContainer->width(), header);
  ClickKey(*c.TBarMain, L"BTN_VIE");  // the preview takes the list's right third
  EXPECT_TRUE(c.VkImageMain->visible());
  EXPECT_DOUBLE_EQ(c.VkContainer->width(), header * 65 / 100);
  EXPECT_DOUBLE_EQ(c.VkImageMain->left(), c.VkContainer->left() + c.VkContainer->width() + 100);
  EXPECT_DOUBLE_EQ(c.VkImageMain->width(), search.scaleWidth() - c.VkImageMain->left() - 300);
  Find();
  ClickRow(RowOf(102));
  EXPECT_FALSE(preview.IsPDF());
  EXPECT_FALSE(preview.FitMode());
  EXPECT_DOUBLE_EQ(preview.Zoom(), 0.53);
  EXPECT_EQ(preview.Path(), page);
  EXPECT_TRUE(preview.iImage().HasImage());
  EXPECT_DOUBLE_EQ(preview.iImage().Zoom(), 0.53);
  EXPECT_DOUBLE_EQ(preview.height(), preview.width() * 100 / 75);
  Pump();
  SaveWindowPicture(host(), L"consult_search_with_preview.bmp");  // for a reviewer

  hosted::Toolbar& keys = *c.TBarDetail;
  auto press = [&](const wchar_t* key, int times = 1) {
    for (int i = 0; i < times; ++i) ClickKey(keys, key);
  };
  press(L"BTN_ZIN", 24);
  EXPECT_NEAR(preview.Zoom(), 24.53, 1e-9);
  press(L"BTN_ZIN", 2);
  EXPECT_NEAR(preview.Zoom(), 25.53, 1e-9) << "zoom in stops at the first value of 25 or more";
  press(L"BTN_ZOU", 25);
  EXPECT_NEAR(preview.Zoom(), 0.53, 1e-9) << "zoom out keeps the fraction and never passes 1";
  press(L"BTN_Z11");
  EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
  press(L"BTN_ZOU");
  EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);

  const int fit = keys.IndexOfKey(L"BTN_FIT");
  press(L"BTN_FIT");
  EXPECT_EQ(keys.ButtonState(fit), 2);
  EXPECT_TRUE(preview.FitMode());
  ClickRow(RowOf(103));  // a new row turns fit off; the key stays pressed
  EXPECT_FALSE(preview.FitMode());
  EXPECT_EQ(keys.ButtonState(fit), 2);
  press(L"BTN_FIT");
  EXPECT_EQ(keys.ButtonState(fit), 0);
  EXPECT_FALSE(preview.FitMode());
  EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);

  ClickRow(RowOf(104));  // a PDF: the viewer is hidden, fit and zoom stay
  EXPECT_TRUE(preview.IsPDF());
  EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
  EXPECT_FALSE(IsWindowVisible(preview.iImage().hwnd()));
  ClickKey(*c.TBarMain, L"BTN_VIE");
  EXPECT_FALSE(c.VkImageMain->visible());
  EXPECT_DOUBLE_EQ(c.VkContainer->width(), header);
}

TEST_F(SearchScreenTest, ThePreviewIsClearedWhenNoDocumentIsCurrent) {
  const std::wstring folder = FreshFolder(L"vk_lists_cleared");
  const std::wstring page = folder + L"\\page.png";
  ASSERT_TRUE(WriteSamplePage(page, ImageFormat::Png, 310, 438));
  Sql(kAppKey, L"Update Documentos Set Path = '" + page + L"' Where DocumentoId In (102, 107)");
  Sql(kAppKey, L"Update Documentos Set TipoDocumentoId = 'abc' Where DocumentoId = 107");
  FDocumentosSearchS& search = Search();
  VkImage& preview = *search.controls().PSelection;
  ClickKey(*search.controls().TBarMain, L"BTN_VIE");
  auto showsNothing = [&](const char* after) {
    EXPECT_EQ(search.currentDocument().DocumentoId, 0) << after;
    EXPECT_EQ(preview.Path(), L"") << after;
    EXPECT_EQ(preview.Documento(), L"") << after;
    EXPECT_FALSE(preview.iImage().HasImage()) << after;
  };
  Find();
  ClickRow(RowOf(102));
  ASSERT_TRUE(preview.iImage().HasImage());
  Find();
  showsNothing("a search");
  ClickRow(RowOf(102));
  ASSERT_TRUE(preview.iImage().HasImage());
  ClickRow(RowOf(107));
  showsNothing("a row that cannot be read whole");
}

// Presses a button of a dialog the way a click does.
void Press(hosted::CommandButton& button) { SendMessageW(button.inner(), BM_CLICK, 0, 0); }

const std::vector<UINT> kAddComment = {VK_DOWN, VK_DOWN, VK_RETURN};
const std::vector<UINT> kViewComments = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};

TEST_F(ViewScreenTest, ACommentJoinsTheStoredHistoryWithItsQuotesAndOnlyAfterTheWrite) {
  FixedClock clock(MakeDate(2026, 12, 7, 10, 15, 0));
  ClockScope fixed(clock);
  const std::wstring stamp = L"usuario1 - Fecha : [ " + DateToText(clock.Now()) + L"]\r\n";
  auto stored = [&](long id) {
    return Scalar(L"Select Comentarios From Documentos Where DocumentoId = " + std::to_wstring(id));
  };
  auto shown = [&](long id) {
    return consult::CellText(grid(), grid().Model().DisplayRow(RowOf(id)).Index, L"Comentarios");
  };
  auto write = [](const wchar_t* text) {
    return [text](Form& f) {
      auto& editor = static_cast<consult::FEditorRTF&>(f);
      editor.rtfTexto().SetText(text);
      Press(editor.cmdOK());
    };
  };
  Open(L"R01VIE");
  {
    auto editor = ActWhenShown(L"FEditorRTF", write(L"Falta el sello de D'Angelo"));
    RightClickRow(RowOf(102), kAddComment);
  }
  EXPECT_EQ(stored(102), stamp + L"Falta el sello de D'Angelo\r\n\r\n");
  EXPECT_EQ(shown(102), stored(102));

  // Another user's entry written while this one was being typed is kept before it.
  const std::wstring before = stored(106);
  {
    auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
      Sql(kAppKey, L"Update Documentos Set Comentarios = Comentarios || 'otro' Where DocumentoId = 106");
      write(L"Segundo")(f);
    });
    RightClickRow(RowOf(106), kAddComment);
  }
  EXPECT_EQ(stored(106), before + L"otro" + stamp + L"Segundo\r\n\r\n");
  EXPECT_EQ(shown(106), stored(106));

  // Cancelled: nothing changes.
  {
    auto editor = ActWhenShown(L"FEditorRTF", [](Form& f) { Press(static_cast<consult::FEditorRTF&>(f).cmdCancel()); });
    RightClickRow(RowOf(103), kAddComment);
  }
  EXPECT_EQ(stored(103), L"");
  EXPECT_TRUE(messages.empty());

  // A refused write is told, and the list keeps what the database holds.
  Sql(kAppKey, L"Create Trigger NoComments Before Update Of Comentarios On Documentos "
               L"Begin Select Raise(Abort, 'comentarios bloqueados'); End");
  {
    auto editor = ActWhenShown(L"FEditorRTF", write(L"Tercero"));
    RightClickRow(RowOf(103), kAddComment);
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind(L"No se ha podido Grabar el Comentario. Error [ ", 0), 0u);
  EXPECT_NE(messages[0].text.find(L"comentarios bloqueados"), std::wstring::npos);
  EXPECT_EQ(messages[0].style, 64);
  EXPECT_EQ(shown(103), L"");

  // Reading the history: read-only, nothing written.
  std::wstring read;
  {
    auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
      auto& e = static_cast<consult::FEditorRTF&>(f);
      read = e.rtfTexto().ReadOnly() ? e.rtfTexto().Text() : L"editable";
      Press(e.cmdOK());
    });
    RightClickRow(RowOf(102), kViewComments);
  }
  EXPECT_EQ(read.find(L"Falta el sello de D'Angelo"), stamp.size());
}

TEST_F(ViewScreenTest, ACommentWrittenWhileAnotherClerkWritesLosesNeitherAndAGoneDocumentIsTold) {
  FixedClock clock(MakeDate(2026, 12, 7, 10, 15, 0));
  ClockScope fixed(clock);
  const std::wstring entry = L"usuario1 - Fecha : [ " + DateToText(clock.Now()) + L"]\r\nMio\r\n\r\n";
  struct Case {
    const wchar_t* otherClerk;
    std::wstring stored;   // the history afterwards
    bool failureShown;
  };
  const std::wstring before = Scalar(L"Select Coalesce(Comentarios, '') From Documentos Where DocumentoId = 106");
  const Case cases[] = {
      {L"Update Documentos Set Comentarios = Coalesce(Comentarios, '') || 'otro' Where DocumentoId = 106",
       before + L"otro" + entry, false},
      {L"Delete From Documentos Where DocumentoId = 106", L"", true},
  };
  for (const Case& c : cases) {
    // Every data object of the screen steps aside once for the other clerk.
    Seam<HostSeams>::Current().createDataAccess = [sql = std::wstring(c.otherClerk)] {
      return OtherClerkBeforeCommentWrite(sql);
    };
    Open(L"R01VIE");
    const int row = grid().Model().DisplayRow(RowOf(106)).Index;
    const std::wstring shownBefore = consult::CellText(grid(), row, L"Comentarios");
    messages.clear();
    {
      auto editor = ActWhenShown(L"FEditorRTF", [](Form& f) {
        auto& e = static_cast<consult::FEditorRTF&>(f);
        e.rtfTexto().SetText(L"Mio");
        Press(e.cmdOK());
      });
      RightClickRow(RowOf(106), kAddComment);
    }
    EXPECT_EQ(Scalar(L"Select Comentarios From Documentos Where DocumentoId = 106"), c.stored) << c.otherClerk;
    ASSERT_EQ(messages.size(), c.failureShown ? 1u : 0u) << c.otherClerk;
    if (c.failureShown) {
      EXPECT_EQ(messages[0].text.rfind(L"No se ha podido Grabar el Comentario. Error [ ", 0), 0u);
      EXPECT_EQ(consult::CellText(grid(), row, L"Comentarios"), shownBefore);
    } else {
      EXPECT_EQ(consult::CellText(grid(), row, L"Comentarios"), c.stored);
    }
    Kill();
    Pump();
  }
}

// The listed document deleted by another clerk, or deleted and its id then taken by a
// document another program filed: no command acts on it, nor on the newcomer.
TEST_F(ViewScreenTest, ADocumentDeletedOrReplacedMeanwhileIsToldAndNothingActsOnIt) {
  ScopedOutbox outbox;
  struct Case {
    const wchar_t* meanwhile;
    std::wstring told;
  };
  const Case cases[] = {
      {L"", L"El documento 104 ya no existe"},
      {L"Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, Documento, Path, Comentarios) Values "
       L"(104, '1', '1', 'nuevo.pdf', 'C:\\Otro\\nuevo.pdf', 'suyo')",
       L"El documento 104 cambió; actualice la lista"},
  };
  Sql(kAppKey, L"Create Table Listed As Select * From Documentos Where DocumentoId = 104");
  for (const Case& c : cases) {
    Sql(kAppKey, L"Delete From Documentos Where DocumentoId = 104");
    Sql(kAppKey, L"Insert Into Documentos Select * From Listed");
    ListScreen& view = Open(L"R01VIE");
    const int row = RowOf(104);
    ASSERT_GE(row, 0);
    ClickRow(row);
    Sql(kAppKey, L"Delete From Documentos Where DocumentoId = 104");  // another clerk's
    if (*c.meanwhile) Sql(kAppKey, c.meanwhile);
    messages.clear();
    answers.push_back([] { return msg::Yes; });
    ClickKey(*view.controls().TBarMain, L"BTN_VAL");
    ClickKey(*view.controls().TBarDetail, L"BTN_PAN");
    DoubleClickRow(row);
    RightClickRow(row, {VK_DOWN, VK_RETURN});  // mail
    int editors = 0;
    for (const std::vector<UINT>& item : {kAddComment, kViewComments}) {
      auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
        ++editors;
        Press(static_cast<consult::FEditorRTF&>(f).cmdCancel());
      });
      RightClickRow(row, item);
    }
    std::vector<std::wstring> told;
    for (const ShownMessage& m : messages) told.push_back(m.text);
    std::vector<std::wstring> expected(6, c.told);
    expected.insert(expected.begin(), L"Desea Marcar como Leído el Documento?");
    EXPECT_EQ(told, expected);
    EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 104"), L"0");
    EXPECT_TRUE(launcher.parameters.empty());
    EXPECT_TRUE(outbox.Mails().empty());
    EXPECT_EQ(editors, 0);
    EXPECT_EQ(view.currentDocument().DocumentoId, 0);
    EXPECT_EQ(view.controls().PSelection->Path(), L"");
    Kill();
    Pump();
  }
  EXPECT_EQ(Scalar(L"Select Comentarios From Documentos Where DocumentoId = 104"), L"suyo");

  // Replaced while the comment editor is open: the entry goes to nobody.
  Open(L"R01VIE");
  messages.clear();
  {
    auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
      Sql(kAppKey, L"Update Documentos Set Path = 'C:\\Otro\\otro.png' Where DocumentoId = 103");
      auto& e = static_cast<consult::FEditorRTF&>(f);
      e.rtfTexto().SetText(L"Para el anterior");
      Press(e.cmdOK());
    });
    RightClickRow(RowOf(103), kAddComment);
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, L"El documento 103 cambió; actualice la lista; el comentario no se grabó");
  EXPECT_EQ(Scalar(L"Select Coalesce(Comentarios, '') From Documentos Where DocumentoId = 103"), L"");
}

// The write went through, then another program held the database past the timeout as
// the history was read back: the comment may be stored, so it is never told as lost.
TEST_F(ViewScreenTest, ACommentWhoseHistoryCannotBeReadBackIsToldAsSentAndUnchecked) {
  auto locked = std::make_shared<bool>(false);  // for the next read
  Seam<HostSeams>::Current().createDataAccess = [locked] {
    return DispatchTap::Wrap(ThreeMemberDataObject(), [locked](const std::wstring& member, DISPPARAMS* params,
                                                               VARIANT*, const std::function<HRESULT()>& call) {
      if (_wcsicmp(member.c_str(), L"GetData") == 0 && std::exchange(*locked, false))
        throw VbError{-2147217871, L"QdPoolConnection", L"database is locked"};
      const HRESULT result = call();
      if (WritesComments(member, params)) *locked = true;
      return result;
    });
  };
  Open(L"R01VIE");
  const std::wstring before = Scalar(L"Select Coalesce(Comentarios, '') From Documentos Where DocumentoId = 106");
  const int row = grid().Model().DisplayRow(RowOf(106)).Index;
  const std::wstring shownBefore = consult::CellText(grid(), row, L"Comentarios");
  {
    auto editor = ActWhenShown(L"FEditorRTF", [](Form& f) {
      auto& e = static_cast<consult::FEditorRTF&>(f);
      e.rtfTexto().SetText(L"Una vez");
      Press(e.cmdOK());
    });
    RightClickRow(RowOf(106), kAddComment);
  }
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, L"El Comentario se envió, pero no se pudo comprobar que quedó grabado. Error [ database "
                              L"is locked ]. Vea los comentarios del documento antes de escribirlo de nuevo; al "
                              L"actualizar la lista verá lo que guarda la base de datos.");
  const std::wstring stored =
      Scalar(L"Select Coalesce(Comentarios, '') From Documentos Where DocumentoId = 106").substr(before.size());
  EXPECT_NE(stored.find(L"]\r\nUna vez\r\n\r\n"), std::wstring::npos) << "stored once, after what was there";
  // The comments the box points to show the entry as sent, so it is not written twice.
  EXPECT_EQ(consult::CellText(grid(), row, L"Comentarios"), shownBefore + stored);
  std::wstring read;
  {
    auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
      auto& e = static_cast<consult::FEditorRTF&>(f);
      read = e.rtfTexto().Text();
      Press(e.cmdOK());
    });
    RightClickRow(RowOf(106), kViewComments);
  }
  EXPECT_NE(read.find(L"Una vez"), std::wstring::npos);
}

// The search reads the external view too: its rows open, mail and show their comments
// as our own do, checked against the view they were read from.
TEST_F(SearchScreenTest, AnExternalDocumentOpensMailsAndShowsItsCommentsAsListed) {
  ScopedOutbox outbox;
  ListExternalDocuments();
  const std::wstring ours104 = Scalar(L"Select Path From Documentos Where DocumentoId = 104");
  FDocumentosSearchS& search = Search();
  ASSERT_EQ(Find().size(), 20u);
  // A reading of 104's external row is not logged: the read log would name ours.
  const struct {
    long id;
    const wchar_t* path;
    const wchar_t* comments;
    bool logged;
  } rows[] = {{900, kExternal, L"Nota del externo", true}, {104, kExternal104, L"Nota del 104 ajeno", false}};
  for (const auto& r : rows) {
    const std::wstring id = std::to_wstring(r.id);
    const int row = RowOfPath(r.path);
    ASSERT_GE(row, 0) << id;
    launcher.parameters.clear();
    const std::wstring readings = Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = " + id);
    ClickRow(row);
    ClickKey(*search.controls().TBarDetail, L"BTN_PAN");
    DoubleClickRow(row);
    RightClickRow(row, {VK_DOWN, VK_RETURN});  // mail
    std::wstring read = L"<not shown>";
    {
      auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
        auto& e = static_cast<consult::FEditorRTF&>(f);
        read = e.rtfTexto().Text();
        Press(e.cmdOK());
      });
      RightClickRow(row, kViewComments);
    }
    for (const ShownMessage& m : messages)
      ADD_FAILURE() << id << ": told " << std::string(m.text.begin(), m.text.end());
    messages.clear();
    ASSERT_EQ(launcher.parameters.size(), 2u) << id;
    for (const std::wstring& parameters : launcher.parameters)
      EXPECT_EQ(parameters.substr(parameters.find(L"|F01:") + 5), r.path) << id;
    EXPECT_EQ(std::stol(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = " + id)),
              std::stol(readings) + (r.logged ? 2 : 0)) << id;
    EXPECT_EQ(grid().CellValue(grid().Model().DisplayRow(row).Index, L"IsNew").toBool(), r.logged) << id;
    const std::wstring attached = L"Attachments.Add " + std::wstring(r.path);
    const std::vector<std::string> calls = outbox.LogLines();
    EXPECT_NE(std::find(calls.begin(), calls.end(), std::string(attached.begin(), attached.end())), calls.end())
        << id;
    EXPECT_EQ(read, r.comments) << id;
  }

  // Checked against the view: a row it no longer holds is gone; one it holds with another
  // file, while no document of ours holds the id either, has changed.
  struct Case {
    const wchar_t* meanwhile;
    std::wstring path;
    const wchar_t* told;
  };
  const Case cases[] = {
      {L"Delete From Externos Where DocumentoId = 900", kExternal, L"El documento 900 ya no existe"},
      {L"Update Externos Set Path = 'C:\\Externos\\otro.pdf' Where DocumentoId = 104", kExternal104,
       L"El documento 104 cambió; actualice la lista"},
      {L"Delete From Documentos Where DocumentoId = 104", ours104, L"El documento 104 cambió; actualice la lista"},
  };
  for (const Case& c : cases) {
    const int row = RowOfPath(c.path);
    ASSERT_GE(row, 0) << c.meanwhile;
    ClickRow(row);
    Sql(kAppKey, c.meanwhile);
    launcher.parameters.clear();
    messages.clear();
    ClickKey(*search.controls().TBarDetail, L"BTN_PAN");
    ASSERT_EQ(messages.size(), 1u) << c.meanwhile;
    EXPECT_EQ(messages[0].text, c.told);
    EXPECT_TRUE(launcher.parameters.empty()) << c.meanwhile;
  }
}

// A document of ours filed under an external document's number after the list was read:
// the external row still opens its own file, and no reading is logged under the number.
TEST_F(SearchScreenTest, AnExternalDocumentWhoseNumberIsFiledHereMeanwhileOpensUnlogged) {
  ListExternalDocuments();
  FDocumentosSearchS& search = Search();
  Find();
  const int row = RowOfPath(kExternal);
  ASSERT_GE(row, 0);
  Sql(kAppKey, L"Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, Documento, Path) "
               L"Values (900, '1', '1', 'nuevo.tif', 'C:\\Docs\\nuevo.tif')");
  launcher.parameters.clear();
  DoubleClickRow(row);
  ClickKey(*search.controls().TBarDetail, L"BTN_PAN");
  for (const ShownMessage& m : messages) ADD_FAILURE() << "told " << std::string(m.text.begin(), m.text.end());
  ASSERT_EQ(launcher.parameters.size(), 2u);
  for (const std::wstring& parameters : launcher.parameters)
    EXPECT_EQ(parameters.substr(parameters.find(L"|F01:") + 5), kExternal);
  EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 900"), L"0");
}

// A clerk files a document under an external document's number at each moment of a
// reading of it: before each call the reading makes to the data component, and while
// the viewer starts; all but the one moment those calls cannot close, between the last
// check and the write of the read log. The clerk's filing, as a save makes it, goes in
// only while no reading holds the number. Either the reading is logged or the document
// is filed, never both: no reading is recorded under a document nobody opened.
TEST_F(SearchScreenTest, AReadingIsNeverLoggedUnderADocumentFiledWhileItIsRead) {
  ListExternalDocuments();
  bool armed = false;
  int moment = 0, filingAt = 0;
  auto fileHereAtItsMoment = [&] {
    if (!armed || moment++ != filingAt) return;
    armed = false;
    Sql(kAppKey, L"Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, Documento, Path) "
                 L"Select 900, '1', '1', 'nuevo.tif', 'C:\\Docs\\nuevo.tif' "
                 L"Where Not Exists (Select 1 From DocumentosLog Where DocumentoId = 900)");
    armed = true;
  };
  HostSeams seams = Seam<HostSeams>::Current();
  seams.createDataAccess = [&] {
    return DispatchTap::Wrap(ThreeMemberDataObject(),
                             [&](const std::wstring& member, DISPPARAMS* params, VARIANT*,
                                 const std::function<HRESULT()>& call) {
                               const std::wstring command = CommandOf(member, params);
                               if (!command.empty() && command != L"DocumentosLog_Add") fileHereAtItsMoment();
                               return call();
                             });
  };
  ScopedHostSeams filing(seams);
  launcher.whileStarting = fileHereAtItsMoment;
  Search();
  Find();
  const int row = RowOfPath(kExternal);
  ASSERT_GE(row, 0);
  for (;; ++filingAt) {
    Sql(kAppKey, L"Delete From Documentos Where DocumentoId = 900");
    Sql(kAppKey, L"Delete From DocumentosLog Where DocumentoId = 900");
    launcher.parameters.clear();
    moment = 0;
    armed = true;
    DoubleClickRow(row);
    armed = false;
    ASSERT_EQ(launcher.parameters.size(), 1u) << filingAt;
    EXPECT_TRUE(messages.empty()) << filingAt;
    EXPECT_EQ(std::stol(Scalar(L"Select Count(*) From Documentos Where DocumentoId = 900")) +
                  std::stol(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 900")),
              1)
        << "filed at moment " << filingAt;
    if (moment <= filingAt) break;  // the reading ended before the filing
  }
  EXPECT_GE(filingAt, 4) << "the row check, the viewer and the read log's own reads";
}

// The comment history of an external document is not ours to write: the update by its
// id would land in our document of the same id, or in nothing.
TEST_F(SearchScreenTest, ACommentOnAnExternalDocumentIsRefusedBeforeTheEditorOpens) {
  ListExternalDocuments();
  const std::wstring ours104 = Scalar(L"Select Path From Documentos Where DocumentoId = 104");
  Search();
  Find();
  const std::wstring documents = Scalar(L"Select Group_Concat(DocumentoId || ':' || Coalesce(Comentarios, ''), '|') "
                                        L"From Documentos");
  int editors = 0;
  for (const wchar_t* path : {kExternal, kExternal104}) {
    auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
      ++editors;
      auto& e = static_cast<consult::FEditorRTF&>(f);
      e.rtfTexto().SetText(L"No es nuestro");
      Press(e.cmdOK());
    });
    RightClickRow(RowOfPath(path), kAddComment);
  }
  EXPECT_EQ(editors, 0);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, L"El documento 900 es externo: sus comentarios no se pueden escribir aquí");
  EXPECT_EQ(messages[1].text, L"El documento 104 es externo: sus comentarios no se pueden escribir aquí");
  EXPECT_EQ(Scalar(L"Select Group_Concat(DocumentoId || ':' || Coalesce(Comentarios, ''), '|') From Documentos"),
            documents);
  EXPECT_EQ(consult::CellText(grid(), grid().Model().DisplayRow(RowOfPath(kExternal104)).Index, L"Comentarios"),
            L"Nota del 104 ajeno");

  // Our document of the same id takes its comment.
  messages.clear();
  {
    auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
      auto& e = static_cast<consult::FEditorRTF&>(f);
      e.rtfTexto().SetText(L"Nuestro");
      Press(e.cmdOK());
    });
    RightClickRow(RowOfPath(ours104), kAddComment);
  }
  EXPECT_TRUE(messages.empty());
  EXPECT_NE(Scalar(L"Select Comentarios From Documentos Where DocumentoId = 104").find(L"Nuestro"), std::wstring::npos);
  EXPECT_EQ(Scalar(L"Select Comentarios From Externos Where DocumentoId = 104"), L"Nota del 104 ajeno");
}

TEST_F(ViewScreenTest, BothReportItemsShowTheListInThePreviewWindow) {
  ListScreen& view = Open(L"R01VIE");
  hosted::Toolbar& main = *view.controls().TBarMain;
  const int key = main.IndexOfKey(L"BTN_REP");
  for (const std::vector<UINT>& item : {std::vector<UINT>{VK_DOWN, VK_RETURN}, {VK_DOWN, VK_DOWN, VK_RETURN}}) {
    std::wstring caption, firstPage;
    int keyState = -1;
    auto preview = ActWhenShown(L"FPrintReport", [&](Form& f) {
      caption = f.caption();
      keyState = main.ButtonState(key);
      for (const auto& line : static_cast<consult::FPrintReport&>(f).ARVPrint().Document().pages.at(0).items)
        firstPage += line.text + L"\n";
    });
    AnswerNextMenu(item);
    ClickKey(main, L"BTN_REP");
    EXPECT_EQ(caption, L"Documentación Recibida");
    EXPECT_EQ(keyState, 4) << "the key shows its menu open while the report runs";
    EXPECT_EQ(main.ButtonState(key), 0);
    EXPECT_NE(firstPage.find(L"anexo_contrato.png"), std::wstring::npos);
    EXPECT_NE(firstPage.find(L"[ Reporte Emitido por el Usuario : usuario1 el día "), std::wstring::npos);
  }
}

TEST_F(ViewScreenTest, AHostCloseWhileTheEditorIsOpenWritesNothing) {
  ListScreen& view = Open(L"R01VIE");
  auto editor = ActWhenShown(L"FEditorRTF", [&](Form& f) {
    static_cast<consult::FEditorRTF&>(f).rtfTexto().SetText(L"Nunca grabado");
    Kill();
  });
  RightClickRow(RowOf(102), kAddComment);
  EXPECT_FALSE(view.IsScreenLoaded());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Scalar(L"Select Coalesce(Comentarios, '') From Documentos Where DocumentoId = 102"), L"");
}

TEST_F(ViewScreenTest, AHostCloseWhileTheQuestionIsOpenStopsTheMarkingQuietly) {
  ListScreen& view = Open(L"R01VIE");
  ClickRow(RowOf(102));
  Sql(kAppKey, L"Update Documentos Set CategoriaId = '1' Where DocumentoId = 110");
  answers.push_back([&] {
    // A command that arrives while the question is open is dropped; the close is not.
    ClickKey(*view.controls().TBarMain, L"BTN_FIN");
    EXPECT_EQ(RowOf(110), -1);
    Kill();
    return msg::Yes;
  });
  ClickKey(*view.controls().TBarMain, L"BTN_VAL");
  EXPECT_FALSE(view.IsScreenLoaded());
  EXPECT_FALSE(view.hasDataObject());
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(Scalar(L"Select Count(*) From DocumentosLog Where DocumentoId = 102 And Usuario = 'usuario1'"), L"0");
}

}  // namespace
}  // namespace vk::test
