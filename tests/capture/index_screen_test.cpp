// The cataloguing screen driven through its real windows under the display, docked in
// a host window, over a generated source folder and store and a copy of the sample
// databases: opening (through CObject too), the find, showing and accepting entries,
// scrolling, the toolbar, the batch save end to end and its failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "base/system_error_text.h"
#include "capture/index_screen.h"
#include "hosted/file_system.h"
#include "hosted/sample_images.h"
#include "hosted/shell_launcher.h"
#include "runtime/mouse_pointer.h"
#include "runtime/twips.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/screen_fixture.h"
#include "screen_kit/shared_state.h"
#include "support/dispatch_tap.h"
#include "support/file_bytes.h"
#include "support/outside_wine.h"

namespace {

using namespace vk;
using capture::FDocumentosIndex;
using State = FDocumentosIndex::SlideState;
using Texts = std::vector<std::wstring>;

const wchar_t kAppKey[] = L"VkIndexScreen";
const wchar_t kFound[] = L"Las Imágenes a Catalogar se hay Incorporado con Éxito";
const wchar_t kSaved[] = L"Las Imagenes se Grabaron con Exito";
const wchar_t kSaveFailed[] = L"Se Produjo un Error al Grabar el Detalle del Documento : ";
// What an accept that has no thumbnail to write to says.
const wchar_t kSelectFirst[] = L"seleccione una imagen antes de Aceptar";
// The two clerks' meeting point, and how long one waits for the other before the test
// fails rather than hangs.
const wchar_t kOtherClerkReady[] = L"VkIndexScreenOtherClerkReady";
constexpr DWORD kOtherClerkPatience = 120000;

std::wstring EnvironmentValue(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  GetEnvironmentVariableW(name, value, MAX_PATH);
  return value;
}

// The same volume moves by a rename; this one stands for another, where a move out of
// `sourceFolder` copies (a rename within it stays a rename).
hosted::FileTransfer AnotherVolumeFor(const std::wstring& sourceFolder,
                                      std::function<DWORD(const std::wstring&, const std::wstring&)> copy = nullptr) {
  const hosted::FileTransfer real = hosted::FileTransferSeam::Real();
  hosted::FileTransfer transfer = real;
  transfer.rename = [real, sourceFolder](const std::wstring& from, const std::wstring& to) -> DWORD {
    const bool out = from.rfind(sourceFolder + L"\\", 0) == 0 && to.rfind(sourceFolder + L"\\", 0) != 0;
    return out ? ERROR_NOT_SAME_DEVICE : real.rename(from, to);
  };
  if (copy) transfer.copy = copy;
  return transfer;
}

// Data-access objects that pass every call through `hook`, with the call's command (the
// statement or procedure of GetData and Execute).
using DataCallHook = std::function<HRESULT(const std::wstring& member, const std::wstring& command,
                                           const std::function<HRESULT()>& call)>;
HostSeams TappedDataAccess(DataCallHook hook) {
  HostSeams seams = Seam<HostSeams>::Real();
  seams.createDataAccess = [hook] {
    return test::DispatchTap::Wrap(
        Seam<HostSeams>::Real().createDataAccess(),
        [hook](const std::wstring& member, DISPPARAMS* params, VARIANT*, const std::function<HRESULT()>& call) {
          return hook(member, test::DispatchTap::CommandText(params), call);
        });
  };
  return seams;
}

class IndexScreenTest : public test::ScreenTest<FDocumentosIndex> {
 protected:
  IndexScreenTest() : ScreenTest(kAppKey, L"CAT") {}

  void SetUp() override {
    source_ = test::FreshFolder(L"index_source");
    store_ = test::FreshFolder(L"index_store");
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    Shared().gObjectId = L"I01CAT";
    Shared().gPathOrigen = source_;
    Shared().gPathDestino = store_;
    Shared().gLoadMax = 99;
    Sql(L"Delete From LogAcciones");
    firstNew_ = NextDrawn();
  }
  // The first column of every row of a query on the application database.
  Texts Column(const std::wstring& sql) {
    Texts values;
    auto rs = DataAccess::Create()->GetData(kAppKey, sql);
    if (!rs || rs->RecordCount() == 0) return values;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext()) values.push_back(rs->Field(0L).toText());
    return values;
  }
  // Small pages named by their format in the source folder; a pdf or an unknown ending
  // gets a few bytes.
  void Scans(std::initializer_list<const wchar_t*> names) {
    for (const std::wstring name : names) {
      const std::wstring path = source_ + L"\\" + name, ext = name.substr(name.size() - 3);
      bool written = false;
      for (auto format : {test::ImageFormat::Bmp, test::ImageFormat::Gif, test::ImageFormat::Jpg,
                          test::ImageFormat::Png, test::ImageFormat::Tif})
        if (CompareStringOrdinal(ext.c_str(), 3, test::ExtensionOf(format), -1, TRUE) == CSTR_EQUAL)
          written = test::WriteSamplePage(path, format, 160, 226);
      if (!written) written = test::WriteBytes(path, "%PDF-1.4\n%%EOF\n");
      ASSERT_TRUE(written) << testing::PrintToString(name);
    }
  }
  // The documents the test filed, in id order.
  std::wstring New() const {
    return L" From Documentos Where DocumentoId >= " + std::to_wstring(firstNew_) + L" Order By DocumentoId";
  }
  bool InSource(const std::wstring& name) const {
    return GetFileAttributesW((source_ + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Where a document of category 3, sub-category 1 is stored.
  std::wstring Stored(long id, const wchar_t* ext) const {
    wchar_t name[32];
    swprintf(name, 32, L"%020ld.", id);
    return store_ + L"\\00003\\00001\\" + name + ext;
  }
  bool Exists(const std::wstring& path) const { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  // The names of the source folder's files, in the strip's order.
  Texts SourceNames() const {
    Texts names;
    for (const hosted::FolderFile& file : hosted::FolderFiles(source_)) names.push_back(file.name);
    return names;
  }
  // Every file under the store, wherever.
  Texts StoredFiles() const {
    Texts files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(store_))
      if (entry.is_regular_file()) files.push_back(entry.path().wstring());
    return files;
  }

  void ClickButton(const wchar_t* key) {
    hosted::Toolbar& bar = *C().TBarMain;
    test::ClickIn(Inner(Find(L"TBarMain")), bar.ButtonRect(bar.IndexOfKey(key)));
  }
  void FindScans() { ClickButton(L"BTN_FIN"); }
  void ClickIcon(int index) { test::Click(Find(VkNameText(L"PSlideState", index)), 5, 5); }
  void Accept() { test::Click(Inner(Find(L"cmdAceptar")), 5, 5); }
  // The user's pick of the item loaded with `key`.
  void Pick(const wchar_t* comboName, const std::wstring& key) {
    auto& combo = *static_cast<hosted::ComboBox*>(screen_->FindControl(comboName));
    int index = 0;
    while (index < combo.ListCount() && combo.ItemKey(index) != key) ++index;
    ASSERT_LT(index, combo.ListCount()) << testing::PrintToString(comboName) << " " << testing::PrintToString(key);
    const HWND inner = Inner(Find(comboName));
    SendMessageW(inner, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Find(comboName), WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(inner));
  }
  // The window of the placed field editor for a field of the current type.
  std::wstring EditorName(const std::wstring& nombre) {
    for (const capture::PlacedField& field : screen_->editors().PlacedFields())
      if (field.nombre == nombre) return VkNameText(field.kind, field.index);
    ADD_FAILURE() << "no editor placed for " << testing::PrintToString(nombre);
    return L"";
  }
  void TypeInto(const std::wstring& name, const std::wstring& text) {
    const HWND edit = Inner(Find(name));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    test::Type(edit, text.c_str());
  }
  // Shows thumbnail `index`, keys an entry (category 3, sub-category 1, department OP,
  // type 2) and accepts it.
  void Key(int index, const std::wstring& reference, const std::wstring& barCode = L"") {
    ClickIcon(index);
    Pick(L"cboCategoriaId", L"3");
    Pick(L"cboSubCategoriaId", L"1");
    Pick(L"cboGerenciaId", L"OP");
    Pick(L"cboTipoDocumentoId", L"2");
    TypeInto(L"txtReferenciaId", reference);
    TypeInto(L"txtCBarra", barCode);
    Accept();
  }
  // Opens the screen on the folder and keys its first scan, leaving no message behind.
  void OpenAndKeyFirst() {
    Open();
    FindScans();
    Key(0, L"REF-A");
    Messages();
  }
  // The same, then saves: the save's messages.
  Texts OpenKeyFirstAndSave() {
    OpenAndKeyFirst();
    ClickButton(L"BTN_SAV");
    return Messages();
  }
  std::vector<State> States() const {
    std::vector<State> states;
    for (int i = 0; i < screen_->SlideCount(); ++i) states.push_back(screen_->slideState(i));
    return states;
  }
  // The message box's texts since the last call (without their style and title).
  Texts Messages() {
    Texts texts;
    for (const std::wstring& shown : std::exchange(messages_, {}))
      texts.push_back(shown.substr(0, shown.rfind(L'|', shown.rfind(L'|') - 1)));
    return texts;
  }

  // Exactly one message since the last call: the save-failed text, then `reason` and
  // the document.
  void ExpectSaveFailedWith(const std::wstring& reason, const std::wstring& document) {
    const Texts shown = Messages();
    ASSERT_EQ(shown.size(), 1u) << testing::PrintToString(reason);
    EXPECT_TRUE(shown[0].rfind(kSaveFailed, 0) == 0 && shown[0].find(reason) != std::wstring::npos &&
                shown[0].find(document) != std::wstring::npos)
        << testing::PrintToString(shown[0]);
  }

  // A scan refused before: found again, keyed and saved, it is filed.
  void FindKeyAndFileFirst() {
    FindScans();
    Key(0, L"REF-A");
    Messages();
    ClickButton(L"BTN_SAV");
    EXPECT_EQ(Messages(), Texts{kSaved});
  }

  // Exactly one message since the last call, holding `part`.
  void ExpectOneMessageWith(const std::wstring& part) {
    const Texts shown = Messages();
    ASSERT_EQ(shown.size(), 1u) << testing::PrintToString(part);
    EXPECT_NE(shown[0].find(part), std::wstring::npos) << testing::PrintToString(shown[0]);
  }

  // From now on the database refuses every document keyed REF-A, and at the next insert
  // a viewer opens `path` in the store, sharing it for reading only: a refused document
  // whose file went there cannot go back to its folder. The viewer is `storeViewer_`.
  void RefuseREFAAndHoldAtTheNextInsert(const std::wstring& path) {
    Sql(L"Create Trigger If Not Exists Refuse Before Insert On Documentos When New.ReferenciaId = 'REF-A' "
        L"Begin Select Raise(Abort, 'rechazado por la base'); End");
    holdAtInsert_ = path;
    if (storeHold_) return;
    storeHold_.emplace(TappedDataAccess(
        [this](const std::wstring& member, const std::wstring& text, const std::function<HRESULT()>& call) {
          if (_wcsicmp(member.c_str(), L"Execute") == 0 && text == L"Documentos_Add" && !holdAtInsert_.empty()) {
            storeViewer_ = CreateFileW(holdAtInsert_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       0, nullptr);
            holdAtInsert_.clear();
          }
          return call();
        }));
  }
  void CloseStoreViewer() {
    if (storeViewer_ != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(storeViewer_, INVALID_HANDLE_VALUE));
  }
  void TearDown() override {
    CloseStoreViewer();
    ScreenTest::TearDown();
  }
  // The number the next document drawn gets: past every row and every stored file.
  long NextDrawn() {
    long id = std::stol(Column(L"Select Max(M) + 1 From (Select Max(DocumentoId) As M From Documentos "
                               L"Union All Select Max(DocumentoId) From DocumentosLog) A")[0]);
    while (Exists(Stored(id, L"jpg"))) ++id;
    return id;
  }

  std::wstring source_, store_;
  long firstNew_ = 0;  // the id the first document filed gets
  std::wstring holdAtInsert_;
  HANDLE storeViewer_ = INVALID_HANDLE_VALUE;
  std::optional<ScopedHostSeams> storeHold_;
  test::RecordingLauncher launcher_;
};

// --- opening ---

TEST_F(IndexScreenTest, FormCodesOpenTheScreenInTheHostWithTheirMode) {
  Scans({L"a.jpg"});
  Sql(L"Update AplicationParameters Set ParameterValue = '" + source_ +
      L"' Where ParameterId = 'HKEY_DOCUMENTOS_PATH_ORIGEN'");
  for (const auto& [code, saves] : {std::pair{L"I01CAT", true}, std::pair{L"I01REV", false}}) {
    com::ComPtr<_CObject> object;
    ASSERT_HRESULT_SUCCEEDED(Build(code, object));
    const HWND screen = Find(L"FDocumentosIndex");
    ASSERT_TRUE(screen && IsWindowVisible(screen) && GetParent(screen) == host_.hwnd) << code;
    hosted::Toolbar& bar = *static_cast<FDocumentosIndex*>(Form::FromWindow(screen))->controls().TBarMain;
    EXPECT_EQ(bar.ButtonEnabled(3), saves) << code;
    ASSERT_HRESULT_SUCCEEDED(Kill(object));
    EXPECT_FALSE(Find(L"FDocumentosIndex")) << code;
  }
}

TEST_F(IndexScreenTest, DesignSizeLayoutAndToolbarStatesByMode) {
  Scans({L"a.jpg", L"b.jpg", L"c.jpg"});
  FDocumentosIndex& screen = Open();
  const auto& c = C();
  struct Box {
    Control* control;
    double left, top, width, height;
  };
  // The editors' frame leaves just the room the bar code's and reference's rows need and
  // shows two whole rows; the accept command stands clear of the frame's scroll bar.
  for (const Box& box : {Box{c.TBarMain, 50, 45, 11175, 435}, Box{c.VkImageMain, 4500, 585, 6675, 4375},
                         Box{c.VkImageSlide, 4500, 5155, 6675, 2715}, Box{c.VkImageFrame, 200, 585, 4200, 7290},
                         Box{c.PSelection, 200, 500, 3800, 6490}, Box{c.VkDataParameter, 180, 2220, 6315, 1185},
                         Box{c.cmdAceptar, 4905, 670, 1035, 315}, Box{c.cmdPrevious, 3087.5, 60, 255, 255}}) {
    const std::vector<double> expected{box.left, box.top, box.width, box.height};
    const std::vector<double> actual{box.control->left(), box.control->top(), box.control->width(),
                                     box.control->height()};
    EXPECT_EQ(actual, expected) << testing::PrintToString(box.control->name());
  }
  ASSERT_EQ(screen.SlideCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(screen.PSlide(i).left(), 2075.0 * i);
    EXPECT_EQ(screen.PSlide(i).top() + screen.PSlide(i).height(), 2050);
    EXPECT_EQ(screen.PSlideState(i).left(), 1590 + 2075.0 * i);
    EXPECT_TRUE(Find(VkNameText(L"PSlide", i)));
  }
  EXPECT_FALSE(IsWindowVisible(Find(L"VkDataTemp")));
  ExpectEveryControlNamed();
  // A host too small for the frames: the sizes that would be negative are skipped, the
  // screen still fills the host and stays shown.
  host_.SetClientSize(200, 150);
  screen.Form_Resize();
  EXPECT_DOUBLE_EQ(screen.width(), PixelsToTwips(200));
  EXPECT_DOUBLE_EQ(c.TBarMain->width(), PixelsToTwips(200) - 300);
  EXPECT_TRUE(IsWindowVisible(screen.hwnd()));

  // The nine managed buttons by mode; the exit, find and report buttons stay as made.
  const std::vector<int> managed = {3, 4, 8, 9, 10, 11, 12, 14, 15};
  for (const auto& [mode, enabled] : std::vector<std::pair<const wchar_t*, std::vector<int>>>{
           {L"CAT", {3, 8, 9, 10, 11, 12, 14, 15}}, {L"REV", {8, 9, 10, 11, 12, 14, 15}}, {L"VAL", {4}},
           {L"ADM", managed}, {L"rev", {}}}) {
    hosted::Toolbar& bar = *Open(mode).controls().TBarMain;
    for (int index : managed) {
      const bool on = std::find(enabled.begin(), enabled.end(), index) != enabled.end();
      EXPECT_EQ(std::pair(bar.ButtonEnabled(index), bar.ButtonState(index)), std::pair(on, on ? 0 : 5))
          << mode << " " << index;
    }
    for (int index : {1, 6, 17}) EXPECT_TRUE(bar.ButtonEnabled(index)) << mode << " " << index;
  }
}

TEST_F(IndexScreenTest, MissingSourceFolderLeavesTheScreenUnshownAndUndocked) {
  Shared().gPathOrigen = source_ + L"\\missing";
  FDocumentosIndex& screen = Open(L"CAT", false);
  screen.Form_Resize();  // the host's resize never shows a screen that failed to build
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_NE(GetParent(screen.hwnd()), host_.hwnd);
}

// --- the find ---

TEST_F(IndexScreenTest, FindLoadsEveryAcceptedFormatWithItsIcon) {
  Scans({L"a.bmp", L"b.gif", L"c.JPG", L"d.png", L"e.tif", L"f.Pdf", L"g.jpeg", L"h.tiff", L"i.txt", L"j.png"});
  test::WriteBytes(source_ + L"\\j.png", "broken");  // a png that is no picture
  FDocumentosIndex& screen = Open();
  ASSERT_EQ(States(), std::vector<State>(7, State::Empty));
  FindScans();
  EXPECT_EQ(Messages(), Texts{kFound});
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded, State::Loaded, State::Loaded,
                                          State::Loaded, State::Loaded, State::Unreadable}));
  EXPECT_EQ(screen.PSlide(2).Path(), source_ + L"\\c.JPG");
  EXPECT_TRUE(screen.PSlide(2).iImage().HasImage());
  EXPECT_TRUE(screen.PSlide(5).IsPDF());
  // The icons: a picture each, the failure mark for j.png.
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(screen.PSlideState(i).Picture()) << i;
  EXPECT_EQ(C().VkProgressBar->Max(), 10);  // every file of the folder
  EXPECT_FALSE(C().VkProgressBar->visible());
  // Showing the unreadable one after a picture: an empty large view, its entry still shown.
  ClickIcon(2);
  screen.PSlide(6).setTipoDocumentoId(3);
  screen.PSlide(6).setCampo(1, L"L-77");
  screen.PSlide(6).setReferenciaId(L"R6");
  ClickIcon(6);
  EXPECT_EQ(C().PSelection->Path(), source_ + L"\\j.png");
  EXPECT_FALSE(C().PSelection->iImage().HasImage());
  EXPECT_EQ(C().cboTipoDocumentoId->SelectedKey() + L"|" + C().txtReferenciaId->Text(), L"3|R6");
  wchar_t legajo[16] = {};
  GetWindowTextW(Inner(Find(EditorName(L"Legajo"))), legajo, 16);
  EXPECT_STREQ(legajo, L"L-77");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(IndexScreenTest, FindKeepsToTheLimitToItsThumbnailsAndToAnEmptyFolder) {
  Scans({L"p0.png", L"p1.png", L"p2.png", L"p3.png"});
  Shared().gLoadMax = 2;
  EXPECT_EQ(Open().SlideCount(), 2);
  Shared().gLoadMax = 99;
  Scans({L"p9.png"});  // added after the scan: no thumbnail of its own
  FindScans();
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded}));

  Shared().gLoadMax = 0;
  EXPECT_EQ(Open().SlideCount(), 1);
  FindScans();
  EXPECT_EQ(States(), std::vector<State>{State::Empty});

  // An empty folder: a find that succeeds with nothing to show.
  Shared().gLoadMax = 99;
  Shared().gPathOrigen = test::FreshFolder(L"index_empty");
  Open();
  Messages();
  FindScans();
  EXPECT_EQ(Messages(), Texts{kFound});
  EXPECT_EQ(States(), std::vector<State>{State::Empty});
  EXPECT_EQ(C().VkProgressBar->Max(), 0);
}

TEST_F(IndexScreenTest, RefillEmptiesEntriesThatLostTheirFile) {
  Scans({L"a.png", L"b.png", L"c.png"});
  FDocumentosIndex& screen = Open();
  FindScans();
  Key(1, L"REF-B");
  Key(2, L"REF-C");
  ASSERT_TRUE(DeleteFileW((source_ + L"\\a.png").c_str()));
  FindScans();
  // b and c moved up a place: their thumbnails hold another file, so no entry; the
  // last thumbnail has no file left at all.
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded, State::Empty}));
  EXPECT_EQ(screen.PSlide(0).Documento(), L"b.png");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(screen.PSlide(i).ReferenciaId(), L"") << i;
  EXPECT_EQ(screen.PSlide(2).Path(), L"");
  EXPECT_EQ(screen.PSlideState(2).Picture(), nullptr);
  // A refill that leaves a file where it was keeps its accepted entry, and the save
  // files only what was keyed for the file it holds.
  Key(1, L"REF-C2");
  FindScans();
  EXPECT_EQ(screen.slideState(1), State::Accepted);
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Column(std::wstring(L"Select Documento || '/' || ReferenciaId") + New()), Texts{L"c.png/REF-C2"});
}

// --- showing and accepting ---

TEST_F(IndexScreenTest, ShowAcceptAndShowAgainKeepTheEntry) {
  Scans({L"a.jpg", L"b.pdf", L"c.jpg"});
  FDocumentosIndex& screen = Open();
  FindScans();
  const auto& c = C();
  hosted::Toolbar& bar = *c.TBarMain;
  const int z11 = bar.IndexOfKey(L"BTN_Z11");

  // The accept shows once a type has placed its editors; before anything is shown in
  // the large view it writes nowhere and says why.
  EXPECT_FALSE(IsWindowVisible(Find(L"cmdAceptar")));
  Pick(L"cboTipoDocumentoId", L"3");
  EXPECT_TRUE(IsWindowVisible(Find(L"cmdAceptar")));
  TypeInto(L"txtReferenciaId", L"FIRST");
  Messages();
  Accept();
  ExpectOneMessageWith(kSelectFirst);
  EXPECT_EQ(screen.slideState(0), State::Loaded);
  EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"");

  Key(2, L"REF-2", L"779000");
  EXPECT_EQ(screen.SlideIndex(), 2);
  EXPECT_EQ(c.PSelection->Path(), source_ + L"\\c.jpg");
  EXPECT_EQ(c.PSelection->Zoom(), 0.53);
  EXPECT_EQ(bar.ButtonState(z11), 2);
  const VkImage& accepted = screen.PSlide(2);
  EXPECT_EQ(Texts({accepted.CategoriaId(), accepted.SubCategoriaId(), accepted.GerenciaId(), accepted.CBarra(),
                   accepted.Documento()}),
            Texts({L"3", L"1", L"OP", L"779000", L"c.jpg"}));
  EXPECT_EQ(accepted.TipoDocumentoId(), 2);
  // Accepting again keeps the second entry, with the type's fields as its editors show
  // them (Proveedor 1 not chosen, Numero 2 typed, Vencimiento 4 today).
  TypeInto(L"txtReferenciaId", L"REF-2B");
  TypeInto(EditorName(L"Numero"), L"0001-123");
  Accept();
  EXPECT_EQ(accepted.ReferenciaId(), L"REF-2B");
  EXPECT_EQ(Texts({accepted.Campo(1), accepted.Campo(2), accepted.Campo(3), accepted.Campo(4)}),
            Texts({L"", L"0001-123", L"", DateToText(Today())}));

  // A PDF: the large view holds its name and path, shows no picture, the toolbar stays.
  bar.SetButtonState(z11, 0);
  ClickIcon(1);
  EXPECT_TRUE(c.PSelection->IsPDF());
  EXPECT_EQ(c.PSelection->Documento(), L"b.pdf");
  EXPECT_EQ(bar.ButtonState(z11), 0);
  EXPECT_EQ(c.cboCategoriaId->SelectedKey(), L"");

  // Showing the accepted thumbnail again puts its entry back, unchanged.
  ClickIcon(2);
  EXPECT_EQ(Texts({c.cboCategoriaId->SelectedKey(), c.cboGerenciaId->SelectedKey(),
                   c.cboTipoDocumentoId->SelectedKey(), c.txtReferenciaId->Text(), c.txtCBarra->Text()}),
            Texts({L"3", L"OP", L"2", L"REF-2B", L"779000"}));
  wchar_t shown[32] = {};
  GetWindowTextW(Inner(Find(EditorName(L"Numero"))), shown, 32);
  EXPECT_STREQ(shown, L"0001-123");
  EXPECT_EQ(c.PSelection->Campo(2), L"0001-123");
  EXPECT_EQ(accepted.Campo(2), L"0001-123");
  // Another type: the fields it does not place are stored empty.
  Pick(L"cboTipoDocumentoId", L"3");
  Accept();
  EXPECT_EQ(Texts({accepted.Campo(2), accepted.Campo(4)}), Texts({L"", L""}));

  // The shown file went away: the refill empties its thumbnail and the accept has
  // nowhere to go, and says so.
  ASSERT_TRUE(DeleteFileW((source_ + L"\\c.jpg").c_str()));
  FindScans();
  Messages();
  Accept();
  ExpectOneMessageWith(kSelectFirst);
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded, State::Empty}));
}

TEST_F(IndexScreenTest, ImageButtonsScrollingAndTheViewerProgram) {
  Scans({L"p0.png", L"p1.png", L"p2.png", L"p3.png", L"p4.png"});
  FDocumentosIndex& screen = Open();
  hosted::Toolbar& bar = *C().TBarMain;
  VkImage& view = *C().PSelection;
  ClickButton(L"BTN_PAN");  // nothing shown yet: empty name and path
  ClickButton(L"BTN_FIT");
  EXPECT_TRUE(bar.ButtonState(bar.IndexOfKey(L"BTN_FIT")) == 2 && view.FitMode());
  ClickButton(L"BTN_FIT");
  EXPECT_TRUE(bar.ButtonState(bar.IndexOfKey(L"BTN_FIT")) == 0 && !view.FitMode() && view.Zoom() == 1);
  FindScans();
  ClickIcon(0);
  for (const auto& [key, zoom] : {std::pair{L"BTN_ZIN", 1.53}, std::pair{L"BTN_ZOU", 0.53},
                                  std::pair{L"BTN_ZOU", 0.53}, std::pair{L"BTN_Z11", 1.0}}) {
    ClickButton(key);
    EXPECT_DOUBLE_EQ(view.Zoom(), zoom) << key;
  }
  view.setZoom(25);
  ClickButton(L"BTN_ZIN");
  EXPECT_EQ(view.Zoom(), 25);
  ClickButton(L"BTN_PAN");
  EXPECT_EQ(launcher_.parameters, (Texts{L"F00:Ostrela - |F01:", L"F00:Ostrela - p0.png|F01:" + source_ + L"\\p0.png"}));

  // Scrolling: nothing before the first thumbnail; 500 a step; the last thumbnail (at
  // 8300, 1875 wide) stops the strip once it shows whole in the inner frame's 6425.
  auto lefts = [&] {
    std::vector<double> at;
    for (int i = 0; i < screen.SlideCount(); ++i) at.push_back(screen.PSlide(i).left());
    return at;
  };
  const std::vector<double> start = lefts();
  test::Click(Find(L"cmdPrevious"), 5, 5);
  EXPECT_EQ(lefts(), start);
  test::Click(Find(L"cmdNext"), 5, 5);
  EXPECT_EQ(screen.PSlideState(4).left(), start[4] + 1590 - 500);
  test::Click(Find(L"cmdPrevious"), 5, 5);
  EXPECT_EQ(lefts(), start);
  // The strip ends where the last thumbnail, its state icon included, shows whole.
  for (int i = 0; i < 10; ++i) test::Click(Find(L"cmdNext"), 5, 5);
  EXPECT_EQ(screen.PSlide(4).left() + screen.PSlide(4).width(), C().VkImageSlideInt->width());
  RECT strip{}, icon{}, inside{};
  GetWindowRect(Find(L"VkImageSlideInt"), &strip);
  GetWindowRect(Find(L"PSlideState(4)"), &icon);
  EXPECT_TRUE(IntersectRect(&inside, &strip, &icon) && EqualRect(&inside, &icon));
  for (int i = 0; i < 10; ++i) test::Click(Find(L"cmdPrevious"), 5, 5);
  EXPECT_EQ(lefts(), start);
  test::Click(Find(L"cmdNext"), 5, 5);
  screen.Form_Resize();  // a layout starts the strip again at 0
  EXPECT_EQ(lefts(), start);
}

// --- the keyboard ---

// Posts a key to the focused window and runs a host's plain loop until it was served.
void PressKey(WPARAM key, bool shift) {
  constexpr UINT kServed = WM_APP + 42;
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
  PostThreadMessageW(GetCurrentThreadId(), kServed, 0, 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && !(!msg.hwnd && msg.message == kServed)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

// A type with more fields than the editors' frame shows: each field Tab reaches is
// scrolled wholly into view, down to the last and with Shift+Tab back to the first, and
// the frame's scroll bar follows.
TEST_F(IndexScreenTest, TabBringsEachFieldIntoTheFramesView) {
  Open();
  Pick(L"cboTipoDocumentoId", L"5");
  const HWND frame = Find(L"VkDataParameter");
  ASSERT_TRUE(GetWindowLongW(frame, GWL_STYLE) & WS_VSCROLL);
  Texts fields;
  for (const capture::PlacedField& field : screen_->editors().PlacedFields())
    if (field.index > 0) fields.push_back(VkNameText(field.kind, field.index));
  ASSERT_EQ(fields.size(), 5u);
  auto expectShown = [&](const std::wstring& name) {
    const HWND editor = Find(name);
    EXPECT_TRUE(IsChild(editor, GetFocus())) << testing::PrintToString(name);
    RECT shown{}, view{};
    GetWindowRect(editor, &shown);
    GetClientRect(frame, &view);
    MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&view), 2);
    EXPECT_TRUE(shown.top >= view.top && shown.bottom <= view.bottom) << testing::PrintToString(name);
    EXPECT_EQ(GetScrollPos(frame, SB_VERT), screen_->editors().scroll().position());
  };
  C().cboTipoDocumentoId->SetFocus();
  for (size_t i = 0; i < fields.size(); ++i) {
    PressKey(VK_TAB, false);
    expectShown(fields[i]);
  }
  EXPECT_GT(screen_->editors().scroll().position(), 0);
  for (size_t i = fields.size() - 1; i-- > 0;) {
    PressKey(VK_TAB, true);
    expectShown(fields[i]);
  }
}

// --- the batch save ---

TEST_F(IndexScreenTest, SaveFilesEveryKeyedScanAndReloadsTheStrip) {
  Scans({L"a.jpg", L"b.pdf", L"c.png", L"d.tif"});
  // A deleted document's readings stay behind: new ids start above them.
  Sql(L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId) Values (500, 'jean', 1)");
  FDocumentosIndex& screen = Open();
  FindScans();
  Key(0, L"REF-A");
  Key(1, L"", L"7790001");  // a bar code alone is enough
  Key(2, L"", L"");         // neither: passed over
  Key(3, L"REF-D");
  Messages();
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  const std::wstring folder = store_ + L"\\00003\\00001\\00000000000000000";
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId || ' ' || Documento || ' ' || Path") + New()),
            (Texts{L"501 a.jpg " + folder + L"501.jpg", L"502 b.pdf " + folder + L"502.pdf",
                   L"503 d.tif " + folder + L"503.tif"}));
  EXPECT_EQ(Column(L"Select Accion || ' ' || Detalle || ' ' || Mensaje From LogAcciones Order By EventoId"),
            (Texts{L"ALTA-CREACION 501 Se ha Catalogado el Documento Nro. [ 501 ] - [ a.jpg ]",
                   L"ALTA-CREACION 502 Se ha Catalogado el Documento Nro. [ 502 ] - [ b.pdf ]",
                   L"ALTA-CREACION 503 Se ha Catalogado el Documento Nro. [ 503 ] - [ d.tif ]"}));
  for (const wchar_t* stored : {L"501.jpg", L"502.pdf", L"503.tif"})
    EXPECT_NE(GetFileAttributesW((folder + stored).c_str()), INVALID_FILE_ATTRIBUTES) << stored;
  EXPECT_FALSE(InSource(L"a.jpg"));
  // The reload: the one file left is in thumbnail 0, loaded and enabled.
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Empty, State::Empty, State::Empty}));
  EXPECT_EQ(screen.PSlide(0).Documento(), L"c.png");
  EXPECT_TRUE(screen.PSlide(0).enabled());
  // A second save has nothing to file and still says so.
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId") + New()).size(), 3u);
}

// After a save pass the screen is as it opened on the folder's remaining scans: the
// strip from its first scan, nothing in the large view, an empty entry without the
// accept command, no progress shown; an accept then writes onto no thumbnail.
TEST_F(IndexScreenTest, AfterASaveTheScreenStartsAgainFromTheFirstScan) {
  Scans({L"p0.png", L"p1.png", L"p2.png", L"p3.png", L"p4.png", L"p5.png"});
  FDocumentosIndex& screen = Open();
  FindScans();
  const HWND strip = Find(L"VkImageSlideInt");
  auto leftOf = [&](int index) {
    RECT shown{};
    GetWindowRect(Find(VkNameText(L"PSlide", index)), &shown);
    MapWindowPoints(nullptr, strip, reinterpret_cast<POINT*>(&shown), 2);
    return shown.left;
  };
  const LONG firstLeft = leftOf(0);
  Key(4, L"REF-4");
  for (int i = 0; i < 10; ++i) test::Click(Find(L"cmdNext"), 5, 5);
  ASSERT_LT(leftOf(0), firstLeft);
  Messages();
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(screen.PSlide(0).Documento(), L"p0.png");
  EXPECT_EQ(leftOf(0), firstLeft);
  const auto& c = C();
  EXPECT_EQ(c.PSelection->Path(), L"");
  EXPECT_FALSE(c.PSelection->iImage().HasImage());
  for (const wchar_t* entry : {L"txtReferenciaId", L"txtCBarra"}) {
    wchar_t text[32] = {};
    GetWindowTextW(Inner(Find(entry)), text, 32);
    EXPECT_STREQ(text, L"") << entry;
  }
  for (const wchar_t* combo : {L"cboCategoriaId", L"cboSubCategoriaId", L"cboGerenciaId", L"cboTipoDocumentoId"})
    EXPECT_EQ(SendMessageW(Inner(Find(combo)), CB_GETCURSEL, 0, 0), 0) << combo;
  EXPECT_FALSE(IsWindowVisible(Find(L"cmdAceptar")));
  EXPECT_FALSE(IsWindowVisible(Find(L"VkProgressBar")));
  EXPECT_EQ(c.VkProgressBar->Value(), 0);

  Pick(L"cboTipoDocumentoId", L"2");
  TypeInto(L"txtReferenciaId", L"NOWHERE");
  Accept();
  ExpectOneMessageWith(kSelectFirst);
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded, State::Loaded, State::Loaded, State::Loaded,
                                          State::Empty}));
}

// A document type whose key is no number: the accept writes nothing and says why.
TEST_F(IndexScreenTest, AnAcceptWhoseTypeKeyIsNoNumberSaysWhy) {
  Scans({L"a.png"});
  Sql(L"Insert Into TipoDocumentos (TipoDocumentoId, TipoDocumento, IsEnabled) Values ('A7', 'Sin clave', 1)");
  FDocumentosIndex& screen = Open();
  FindScans();
  ClickIcon(0);
  Pick(L"cboTipoDocumentoId", L"A7");
  TypeInto(L"txtReferenciaId", L"REF-A");
  Messages();
  // The command as a driver sends it, whether or not the button shows.
  SendMessageW(Inner(Find(L"cmdAceptar")), BM_CLICK, 0, 0);
  ExpectOneMessageWith(L"A7");
  EXPECT_EQ(screen.slideState(0), State::Loaded);
  EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"");
}

TEST_F(IndexScreenTest, SaveFailuresKeepEveryDocumentWithItsFile) {
  Scans({L"a.jpg", L"b.jpg", L"c.jpg"});
  Sql(L"Create Trigger Refuse Before Insert On Documentos When New.ReferenciaId = 'FALLA' "
      L"Begin Select Raise(Abort, 'rechazado por la base'); End");
  FDocumentosIndex& screen = Open();
  FindScans();
  Key(0, L"REF-A");
  Key(1, L"FALLA");
  Key(2, L"REF-C");
  Messages();
  // A store root that is missing, relative or empty: nothing moves.
  for (const std::wstring& root : {store_ + L"\\missing", std::wstring(L"relative\\store"), std::wstring()}) {
    Shared().gPathDestino = root;
    ClickButton(L"BTN_SAV");
    ExpectSaveFailedWith(L"carpeta de destino", L"");
    EXPECT_TRUE(InSource(L"a.jpg") && InSource(L"b.jpg") && InSource(L"c.jpg"));
  }
  // Another file where the second document would go: that id is passed over and the
  // other file left alone. The database then refuses the second document: its file
  // goes back to the source, no row and no log entry name it, the third is untouched,
  // the strip is not reloaded and the pass stays at the thumbnail it stopped at.
  Shared().gPathDestino = store_;
  const std::wstring folder = store_ + L"\\00003\\00001";
  CreateDirectoryW((store_ + L"\\00003").c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t taken[32];
  swprintf(taken, 32, L"\\%020ld.jpg", firstNew_ + 1);
  ASSERT_TRUE(test::WriteBytes(folder + taken, "someone else's"));
  ClickButton(L"BTN_SAV");
  ExpectSaveFailedWith(L"rechazado por la base", L"b.jpg");
  EXPECT_EQ(test::ReadBytes(folder + taken), "someone else's");
  EXPECT_EQ(Column(std::wstring(L"Select Documento") + New()), Texts{L"a.jpg"});
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"1"});
  EXPECT_TRUE(InSource(L"b.jpg") && InSource(L"c.jpg"));
  EXPECT_EQ(States(), (std::vector<State>{State::Catalogued, State::Accepted, State::Accepted}));
  EXPECT_EQ(screen.PSlide(1).ReferenciaId(), L"FALLA");
  EXPECT_EQ(screen.SlideIndex(), 1);
  EXPECT_TRUE(C().VkProgressBar->visible());
}

// A data object that raises instead of answering False (as a customer's component may):
// the insert that raises is settled by the row that holds its id. No row: its file goes
// back and the pass stops with the raised reason. Another clerk's row: the file goes
// back and the next id is drawn. Its own row (the insert went in before the component
// raised): the document is filed once, with its log entry.
TEST_F(IndexScreenTest, AnInsertThatRaisesIsSettledByTheRowThatHoldsItsId) {
  Scans({L"a.jpg", L"b.jpg"});
  int raises = 0;               // how many of the next inserts raise
  bool otherClerkFirst = false;  // whether another clerk's row takes the id just before
  bool commitsFirst = false;     // whether the insert goes in before the component raises
  bool rowUnreadable = false;    // whether the read of the row that holds the id fails then
  bool pathFolded = false;       // whether the database hands the committed Path back in capitals, padded
  ScopedHostSeams scope(
      TappedDataAccess([&](const std::wstring& member, const std::wstring& text, const std::function<HRESULT()>& call) {
        if (rowUnreadable && text.rfind(L"Select Path From Documentos", 0) == 0)
          throw VbError{-2147467259, L"Microsoft OLE DB Provider for SQL Server", L"se perdió la conexión"};
        const bool insert = _wcsicmp(member.c_str(), L"Execute") == 0 && text == L"Documentos_Add";
        if (!insert || raises == 0) return call();
        --raises;
        if (otherClerkFirst)
          Sql(L"Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, Documento) Values (" +
              std::to_wstring(firstNew_) + L", '5', '1', 'otro.jpg')");
        if (commitsFirst) call();
        if (pathFolded)
          Sql(L"Update Documentos Set Path = Upper(Path) || '   ' Where DocumentoId = "
              L"(Select Max(DocumentoId) From Documentos)");
        throw VbError{-2147217873, L"Microsoft OLE DB Provider for SQL Server", L"clave duplicada o rechazada"};
      }));
  Open();
  FindScans();
  Key(0, L"REF-A");
  Key(1, L"REF-B");
  Messages();
  raises = 1;
  ClickButton(L"BTN_SAV");
  ExpectSaveFailedWith(L"clave duplicada o rechazada", L"a.jpg");
  EXPECT_EQ(StoredFiles(), Texts{});
  EXPECT_TRUE(InSource(L"a.jpg") && InSource(L"b.jpg"));
  EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"0"});

  raises = 1;
  otherClerkFirst = true;
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId || ' ' || Documento") + New()),
            (Texts{std::to_wstring(firstNew_) + L" otro.jpg", std::to_wstring(firstNew_ + 1) + L" a.jpg",
                   std::to_wstring(firstNew_ + 2) + L" b.jpg"}));
  EXPECT_EQ(StoredFiles(), (Texts{Stored(firstNew_ + 1, L"jpg"), Stored(firstNew_ + 2, L"jpg")}));

  // One new scan keyed and saved, its insert raising.
  auto saveOneMore = [&](const wchar_t* name) {
    Scans({name});
    FindScans();
    Key(0, L"REF-" + std::wstring(name));
    Messages();
    raises = 1;
    ClickButton(L"BTN_SAV");
  };
  otherClerkFirst = false;
  commitsFirst = true;
  saveOneMore(L"c.jpg");
  EXPECT_EQ(Messages(), Texts{kSaved});
  const std::wstring third = std::to_wstring(firstNew_ + 3);
  EXPECT_EQ(Column(L"Select DocumentoId || ' ' || Path From Documentos Where Documento = 'c.jpg'"),
            Texts{third + L" " + Stored(firstNew_ + 3, L"jpg")});
  EXPECT_EQ(StoredFiles().size(), 3u);
  EXPECT_FALSE(InSource(L"c.jpg"));
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones Where Detalle = '" + third + L"'"), Texts{L"1"});

  // Our row read back in another case and padded is still ours: filed once.
  pathFolded = true;
  saveOneMore(L"e.jpg");
  pathFolded = false;
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(L"Select Count(*) From Documentos Where Documento = 'e.jpg'"), Texts{L"1"});
  EXPECT_TRUE(Exists(Stored(firstNew_ + 4, L"jpg")));
  EXPECT_FALSE(InSource(L"e.jpg"));
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones Where Detalle = '" + std::to_wstring(firstNew_ + 4) + L"'"),
            Texts{L"1"});

  // Neither the insert nor the row can tell: the outcome is told as unknown, and the file
  // stays in the store with the id its row may hold, never filed again from the folder.
  rowUnreadable = true;
  saveOneMore(L"d.jpg");
  const std::wstring fourth = std::to_wstring(firstNew_ + 5);
  const Texts unknown = Messages();
  ASSERT_EQ(unknown.size(), 1u);
  EXPECT_NE(unknown[0].find(L"no se pudo comprobar si el documento " + fourth + L" quedó grabado"), std::wstring::npos)
      << testing::PrintToString(unknown[0]);
  EXPECT_NE(unknown[0].find(Stored(firstNew_ + 5, L"jpg")), std::wstring::npos);
  EXPECT_TRUE(Exists(Stored(firstNew_ + 5, L"jpg")));
  EXPECT_FALSE(InSource(L"d.jpg"));
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones Where Detalle = '" + fourth + L"'"), Texts{L"0"});
}

// A deleted document's stored file stays wherever it was filed, under any category and
// sub-category and with any extension: its id is never drawn again.
TEST_F(IndexScreenTest, AnIdAStoredFileHoldsIsNotDrawnAgain) {
  Scans({L"a.jpg", L"b.jpg", L"c.jpg"});
  auto storeFile = [this](const wchar_t* folders, long id, const wchar_t* ext) {
    wchar_t name[32];
    swprintf(name, 32, L"\\%020ld.", id);
    std::filesystem::create_directories(store_ + L"\\" + folders);
    ASSERT_TRUE(test::WriteBytes(store_ + L"\\" + folders + name + ext, "deleted document"));
  };
  storeFile(L"00007\\00002", firstNew_, L"pdf");
  storeFile(L"00003\\00009", firstNew_ + 1, L"TIF");
  Open();
  FindScans();
  Key(0, L"REF-A");
  Key(1, L"REF-B");
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId || ' ' || Documento") + New()),
            (Texts{std::to_wstring(firstNew_ + 2) + L" a.jpg", std::to_wstring(firstNew_ + 3) + L" b.jpg"}));
  // The maintenance screen deletes the newest document, never read: its row goes, its
  // stored file stays.
  Sql(L"Delete Documentos Where DocumentoId = " + std::to_wstring(firstNew_ + 3));
  Key(0, L"REF-C");  // c.jpg, reloaded into thumbnail 0
  Messages();
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId || ' ' || Documento") + New()),
            (Texts{std::to_wstring(firstNew_ + 2) + L" a.jpg", std::to_wstring(firstNew_ + 4) + L" c.jpg"}));
  EXPECT_EQ(StoredFiles().size(), 5u);
  EXPECT_TRUE(Exists(Stored(firstNew_ + 3, L"jpg")) && Exists(Stored(firstNew_ + 4, L"jpg")));
}

TEST_F(IndexScreenTest, AScanChangedSinceItWasLoadedIsNotFiledUnderItsEntry) {
  struct Case {
    const wchar_t* why;
    std::function<void(const std::wstring&)> change;
  } cases[] = {
      {L"another page under its name",
       [](const std::wstring& path) { ASSERT_TRUE(test::WriteSamplePage(path, test::ImageFormat::Jpg, 300, 420)); }},
      {L"the same size written again",
       [](const std::wstring& path) {
         HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         FILETIME written{};
         GetFileTime(file, nullptr, nullptr, &written);
         written.dwHighDateTime += 1;  // some seven minutes later
         SetFileTime(file, nullptr, nullptr, &written);
         CloseHandle(file);
       }},
  };
  for (const Case& c : cases) {
    Scans({L"a.jpg", L"b.jpg"});
    FDocumentosIndex& screen = Open();
    FindScans();
    Key(0, L"REF-A");
    Key(1, L"REF-B");
    c.change(source_ + L"\\a.jpg");
    Messages();
    ClickButton(L"BTN_SAV");
    const Texts shown = Messages();
    ASSERT_EQ(shown.size(), 1u) << c.why;
    EXPECT_TRUE(shown[0].rfind(kSaveFailed, 0) == 0 && shown[0].find(L"a.jpg") != std::wstring::npos)
        << testing::PrintToString(shown[0]);
    EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty()) << c.why;
    EXPECT_TRUE(InSource(L"a.jpg")) << c.why;
    // A find takes it as the new file it is; the other keeps its entry.
    FindScans();
    EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Accepted})) << c.why;
    EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"") << c.why;
  }
}

TEST_F(IndexScreenTest, AStoreThatFillsPartWayKeepsNoFragment) {
  Scans({L"a.jpg"});
  Open();
  FindScans();
  Key(0, L"REF-A");
  Messages();
  {
    // The store on another volume, whose disk fills half-way through the copy.
    hosted::ScopedFileTransfer full(
        AnotherVolumeFor(source_, [](const std::wstring&, const std::wstring& to) -> DWORD {
          test::WriteBytes(to, "half a page");
          return ERROR_DISK_FULL;
        }));
    ClickButton(L"BTN_SAV");
  }
  const Texts shown = Messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].find(SystemErrorText(ERROR_DISK_FULL)) != std::wstring::npos &&
              shown[0].find(L"a.jpg") != std::wstring::npos)
      << testing::PrintToString(shown[0]);
  EXPECT_EQ(StoredFiles(), Texts{});
  EXPECT_TRUE(InSource(L"a.jpg"));
  // Space again: nothing stands in the way of the same id.
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId") + New()), Texts{std::to_wstring(firstNew_)});
  EXPECT_EQ(StoredFiles(), Texts{Stored(firstNew_, L"jpg")});
}

TEST_F(IndexScreenTest, ADatabaseRestoredWhileTheScreenIsOpenGetsTheDocuments) {
  // An administrator renames a copy over the database between the find and the save.
  const std::wstring app = databases_.PathOf(kAppKey), copy = app + L".copy";
  ASSERT_TRUE(CopyFileW(app.c_str(), copy.c_str(), FALSE));
  Scans({L"a.jpg", L"b.jpg"});
  Open();
  FindScans();
  Key(0, L"REF-A");
  Key(1, L"REF-B");
  Messages();
  ASSERT_TRUE(test::MoveFromOutsideWine(copy, app));
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(StoredFiles(), (Texts{Stored(firstNew_, L"jpg"), Stored(firstNew_ + 1, L"jpg")}));
  // Read apart from the screen's connections: the rows are in the file the key names.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open16(app.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* count = nullptr;
  sqlite3_prepare16_v2(db, (L"Select Count(*)" + New()).c_str(), -1, &count, nullptr);
  EXPECT_EQ(sqlite3_step(count), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(count, 0), 2);
  sqlite3_finalize(count);
  sqlite3_close(db);
}

// A scan the move cannot take from its folder: a source folder on a read-only mount, and
// a link into one. The move copies into the store and the delete of the source answers
// success while the file stays (so Wine does). Nothing of it is filed, now or at the
// next save: no stored copy, no row, no log entry, and a message with the reason and
// the file's name. The tests' set-up makes the mount where the machine allows it.
TEST_F(IndexScreenTest, AScanTheMoveCannotTakeFromItsFolderIsNeverFiled) {
  const std::wstring readOnly = EnvironmentValue(L"CAPTURE_SOURCE_FOLDERS");
  if (readOnly.empty() || !Exists(readOnly + L"\\links\\link.pdf"))
    GTEST_SKIP() << "no read-only mount on this machine";
  for (const auto& [folder, name] : {std::pair{L"\\mount", L"ro.pdf"}, std::pair{L"\\links", L"link.pdf"}}) {
    Shared().gPathOrigen = readOnly + folder;
    Open();
    FindScans();
    Key(0, L"REF-RO");
    for (int pass = 0; pass < 2; ++pass) {
      Messages();
      ClickButton(L"BTN_SAV");
      const Texts shown = Messages();
      ASSERT_EQ(shown.size(), 1u) << name;
      EXPECT_TRUE(shown[0].rfind(kSaveFailed, 0) == 0 && shown[0].find(L"carpeta de origen") != std::wstring::npos &&
                  shown[0].find(name) != std::wstring::npos)
          << testing::PrintToString(shown[0]);
    }
    EXPECT_EQ(StoredFiles(), Texts{}) << name;
    EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty()) << name;
    EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"0"}) << name;
  }
}

std::string Content(const std::wstring& path) {
  const std::vector<uint8_t> bytes = test::ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

// Two pages whose names differ only in case (Wine finds either under both names): the
// one keyed is filed, whether the store is on the source's volume or on another, and
// the other stays where it was. No page is ever taken for the other by its name.
TEST_F(IndexScreenTest, AScanWhoseNameDiffersOnlyInCaseFromAnotherIsFiledAndTheOtherKept) {
  const std::wstring folders = EnvironmentValue(L"CAPTURE_SOURCE_FOLDERS");
  for (const wchar_t* twins : {L"\\twins-rename", L"\\twins-copy"}) {
    const std::wstring source = folders + twins;
    ASSERT_TRUE(Exists(source + L"\\case.pdf")) << "the tests' set-up makes " << testing::PrintToString(source);
    std::optional<hosted::ScopedFileTransfer> otherVolume;
    if (std::wstring_view(twins) == L"\\twins-copy") otherVolume.emplace(AnotherVolumeFor(source));
    Shared().gPathOrigen = source;
    Open();
    FindScans();
    ASSERT_EQ(screen_->SlideCount(), 2);
    Key(0, L"REF-" + std::wstring(twins + 1));  // Case.pdf, the first by name
    Messages();
    ClickButton(L"BTN_SAV");
    EXPECT_EQ(Messages(), Texts{kSaved}) << twins;
    const Texts stored = Column(L"Select Path From Documentos Where ReferenciaId = 'REF-" + std::wstring(twins + 1) + L"'");
    ASSERT_EQ(stored.size(), 1u) << twins;
    EXPECT_NE(Content(stored[0]).find("%upper"), std::string::npos) << twins;
    EXPECT_EQ(hosted::FolderFiles(source).size(), 1u) << twins;
    EXPECT_NE(Content(source + L"\\case.pdf").find("%lower"), std::string::npos) << twins;
  }
}

// A copy into the store that cannot be removed after its source would not go: the pass
// stops at once with both files named, and nothing is copied again under another id.
TEST_F(IndexScreenTest, ACopyThatCannotBeRemovedStopsThePassWithBothFilesNamed) {
  Scans({L"a.jpg"});
  const std::wstring source = source_;
  hosted::FileTransfer transfer = AnotherVolumeFor(source);
  transfer.removeOpen = [](HANDLE) -> DWORD { return 0; };                            // the source stays,
  transfer.remove = [](const std::wstring&) -> DWORD { return ERROR_ACCESS_DENIED; };  // the copy too
  hosted::ScopedFileTransfer stuck(transfer);
  const Texts shown = OpenKeyFirstAndSave();
  ASSERT_EQ(shown.size(), 1u);
  const Texts stored = StoredFiles();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_TRUE(shown[0].rfind(kSaveFailed, 0) == 0 && shown[0].find(source_ + L"\\a.jpg") != std::wstring::npos &&
              shown[0].find(L"no se pudo quitar") != std::wstring::npos)
      << testing::PrintToString(shown[0]);
  EXPECT_NE(shown[0].find(std::filesystem::path(stored[0]).filename().wstring()), std::wstring::npos);
  EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"0"});
}

// A plain file where a store folder belongs (another program left it there): the save
// stops at once with that path named, files nothing and leaves the scan where it was.
TEST_F(IndexScreenTest, AFileWhereAStoreFolderBelongsStopsThePassWithItsPathNamed) {
  Scans({L"a.jpg"});
  ASSERT_TRUE(test::WriteBytes(store_ + L"\\00003", "not a folder"));
  const Texts shown = OpenKeyFirstAndSave();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].rfind(kSaveFailed, 0) == 0 && shown[0].find(store_ + L"\\00003 ") != std::wstring::npos &&
              shown[0].find(L"a.jpg") != std::wstring::npos)
      << testing::PrintToString(shown[0]);
  EXPECT_TRUE(InSource(L"a.jpg"));
  EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"0"});
}

// Twin.pdf and twin.pdf, of one size and one time stamp, keyed as two documents; then
// Twin.pdf leaves the folder. Wine finds twin.pdf under both names: it is not filed
// under Twin.pdf's entry, and stays in the folder.
TEST_F(IndexScreenTest, ATwinOfOneSizeAndTimeIsNotFiledUnderTheOthersEntry) {
  const std::wstring source = EnvironmentValue(L"CAPTURE_SOURCE_FOLDERS") + L"\\twins-stamped";
  ASSERT_TRUE(Exists(source + L"\\Twin.pdf")) << "the tests' set-up makes " << testing::PrintToString(source);
  Shared().gPathOrigen = source;
  FDocumentosIndex& screen = Open();
  FindScans();
  ASSERT_EQ(screen.SlideCount(), 2);
  ASSERT_EQ(screen.PSlide(0).Documento(), L"Twin.pdf");
  Key(0, L"REF-UPPER");
  Key(1, L"REF-LOWER");
  ASSERT_TRUE(DeleteFileW((source + L"\\Twin.pdf").c_str()));
  ASSERT_NE(Content(source + L"\\twin.pdf").find("%lower"), std::string::npos);
  Messages();
  ClickButton(L"BTN_SAV");
  ExpectSaveFailedWith(L"cambió después de cargarlo", L"Twin.pdf");
  EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
  EXPECT_EQ(StoredFiles(), Texts{});
  ASSERT_EQ(hosted::FolderFiles(source).size(), 1u);
  EXPECT_EQ(hosted::FolderFiles(source)[0].name, L"twin.pdf");
}

// A scanner saves its next page under a scan's name while the scan is copied into a
// store on another volume: the scan is filed, the new page stays, and the reload shows
// it as a scan of its own.
TEST_F(IndexScreenTest, APageSavedUnderAScansNameDuringItsCopyStays) {
  Scans({L"a.jpg"});
  const std::wstring page = source_ + L"\\a.jpg";
  const std::string scanned = Content(page);
  hosted::ScopedFileTransfer scanner(
      AnotherVolumeFor(source_, [&](const std::wstring& from, const std::wstring& to) -> DWORD {
        const DWORD error = hosted::FileTransferSeam::Real().copy(from, to);
        test::WriteSamplePage(page, test::ImageFormat::Jpg, 300, 420);
        return error;
      }));
  EXPECT_EQ(OpenKeyFirstAndSave(), Texts{kSaved});
  EXPECT_EQ(Content(Stored(firstNew_, L"jpg")), scanned);
  ASSERT_EQ(hosted::FolderFiles(source_).size(), 1u);
  EXPECT_NE(Content(page), scanned);
  EXPECT_EQ(States()[0], State::Loaded);
}

// A scanning program that had a scan open before the save (sharing it in every way)
// adds its next page to it, in place, while the save copies the scan into a store on
// another volume: nothing torn is filed, the page stays under the scan's name, and the
// clerk is told to find it again; found again, it is filed as it is now.
TEST_F(IndexScreenTest, AScanRewrittenWhileItIsCopiedIsNeitherFiledTornNorDeleted) {
  Scans({L"a.jpg"});
  const std::wstring page = source_ + L"\\a.jpg";
  OpenAndKeyFirst();
  const HANDLE scanner = CreateFileW(page.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  {
    hosted::ScopedFileTransfer copying(
        AnotherVolumeFor(source_, [scanner](const std::wstring& from, const std::wstring& to) -> DWORD {
          const DWORD error = hosted::FileTransferSeam::Real().copy(from, to);
          DWORD written = 0;
          WriteFile(scanner, "next page", 9, &written, nullptr);
          return error;
        }));
    ClickButton(L"BTN_SAV");
  }
  CloseHandle(scanner);
  ExpectSaveFailedWith(L"cambió después de cargarlo", L"a.jpg");
  EXPECT_EQ(StoredFiles(), Texts{});
  EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"0"});
  ASSERT_EQ(hosted::FolderFiles(source_).size(), 1u);
  const std::string grown = Content(page);
  ASSERT_TRUE(grown.ends_with("next page"));
  FindKeyAndFileFirst();
  EXPECT_EQ(Content(Stored(firstNew_, L"jpg")), grown);
}

// Into a store on another volume, a scan that another program holds open, or a read-only
// one, cannot leave its folder: the save says which, files nothing and leaves the scan
// where it was. A program that does not share deleting holds it before the move takes
// it (nothing moves); one that shares everything is found at the delete after its copy
// (the copy goes, and the scan is put back under its own name). Either way the clerk
// closes it and simply saves again, as told: the scan is filed once, whole, with what
// was keyed, under its own name. A read-only scan, writable again, is filed once found.
TEST_F(IndexScreenTest, AScanThatCannotLeaveItsFolderForAnotherVolumeIsRefusedSayingWhy) {
  const std::wstring page = source_ + L"\\a.jpg";
  hosted::ScopedFileTransfer otherVolume(AnotherVolumeFor(source_));
  const std::wstring filed = std::wstring(L"Select Documento || ' ' || ReferenciaId || ' ' || Path") + New();
  Texts documents, stored;
  for (const DWORD sharing : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
    Scans({L"a.jpg"});
    const std::string scanned = Content(page);
    OpenAndKeyFirst();
    const HANDLE viewer = CreateFileW(page.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    ClickButton(L"BTN_SAV");
    CloseHandle(viewer);
    ExpectSaveFailedWith(L": el archivo " + page +
                             L" está abierto en otro programa; ciérrelo y vuelva a grabar (el archivo sigue en su "
                             L"carpeta) [ a.jpg ]",
                         L"a.jpg");
    EXPECT_EQ(StoredFiles(), stored) << sharing;
    EXPECT_EQ(SourceNames(), Texts{L"a.jpg"}) << sharing;
    ClickButton(L"BTN_SAV");
    EXPECT_EQ(Messages(), Texts{kSaved}) << sharing;
    const long id = firstNew_ + static_cast<long>(documents.size());
    documents.push_back(L"a.jpg REF-A " + Stored(id, L"jpg"));
    stored.push_back(Stored(id, L"jpg"));
    EXPECT_EQ(Column(filed), documents) << sharing;
    EXPECT_TRUE(Content(Stored(id, L"jpg")) == scanned) << sharing;
    EXPECT_EQ(SourceNames(), Texts{}) << sharing;
  }
  Scans({L"a.jpg"});
  OpenAndKeyFirst();
  SetFileAttributesW(page.c_str(), FILE_ATTRIBUTE_READONLY);
  ClickButton(L"BTN_SAV");
  SetFileAttributesW(page.c_str(), FILE_ATTRIBUTE_NORMAL);
  ExpectSaveFailedWith(L"sólo lectura", L"a.jpg");
  EXPECT_EQ(StoredFiles(), stored);
  EXPECT_EQ(Column(filed), documents);
  EXPECT_EQ(hosted::FolderFiles(source_).size(), 1u);
  FindKeyAndFileFirst();
  EXPECT_EQ(StoredFiles().size(), stored.size() + 1);
}

// A scan with a long legal name is filed like any other, on the source's volume or on
// another, and so is the scan after it in the pass.
TEST_F(IndexScreenTest, AScanWithALongLegalNameIsFiledAndThePassGoesOn) {
  // 127 characters: 250 bytes on the Linux disk, whose names hold 255.
  const std::wstring longName = L"A" + std::wstring(122, L'\u00e1') + L".pdf";
  for (const bool otherVolume : {false, true}) {
    Scans({longName.c_str(), L"b.jpg"});
    std::optional<hosted::ScopedFileTransfer> scope;
    if (otherVolume) scope.emplace(AnotherVolumeFor(source_));
    FDocumentosIndex& screen = Open();
    FindScans();
    ASSERT_EQ(screen.SlideCount(), 2);
    ASSERT_EQ(screen.PSlide(0).Documento(), longName);
    Key(0, L"REF-LONG");
    Key(1, L"REF-B");
    Messages();
    ClickButton(L"BTN_SAV");
    EXPECT_EQ(Messages(), Texts{kSaved}) << otherVolume;
    EXPECT_TRUE(hosted::FolderFiles(source_).empty()) << otherVolume;
  }
  EXPECT_EQ(Column(std::wstring(L"Select Documento") + New()), (Texts{longName, L"b.jpg", longName, L"b.jpg"}));
}

// A viewer opens a scan while it is copied into a store on another volume, sharing it
// for reading only: the scan can neither leave its folder nor be given its name back.
// The clerk is told why and the name it is under now, and does as told: saving again
// while the viewer holds it is refused the same way; once it is closed, saving again
// files the scan, whole, with what was keyed, under its own name. A search in between
// finds it under its new name and keeps its entry while the scan keeps its place in the
// strip. Beside a0_big.jpg, whose name its new one sorts after, it does not: the search
// shows both with empty entries, a save then files nothing, and the scan is a scan of
// its own, filed under the name it was left under once keyed again.
TEST_F(IndexScreenTest, AScanAViewerOpensWhileItIsCopiedIsToldWhyAndWhereItIs) {
  enum class Then { SaveAgain, SearchAndSaveAgain, SearchPastANeighbour };
  long id = firstNew_;
  for (const Then then : {Then::SaveAgain, Then::SearchAndSaveAgain, Then::SearchPastANeighbour}) {
    const bool neighbour = then == Then::SearchPastANeighbour;
    Scans({L"a.jpg"});
    if (neighbour) Scans({L"a0_big.jpg"});
    const std::string scanned = Content(source_ + L"\\a.jpg");
    const Texts storedBefore = StoredFiles();
    HANDLE viewer = INVALID_HANDLE_VALUE;
    std::wstring takenAs;
    hosted::ScopedFileTransfer copying(
        AnotherVolumeFor(source_, [&](const std::wstring& from, const std::wstring& to) -> DWORD {
          if (takenAs.empty()) {
            takenAs = from;
            viewer = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
          }
          return hosted::FileTransferSeam::Real().copy(from, to);
        }));
    FDocumentosIndex& screen = Open();
    FindScans();
    Key(0, L"REF-A");
    if (neighbour) Key(1, L"REF-B");
    Messages();
    ClickButton(L"BTN_SAV");
    const Texts refused = Messages();
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_TRUE(refused[0].rfind(kSaveFailed, 0) == 0 &&
                refused[0].find(L"abierto en otro programa; ciérrelo y vuelva a grabar") != std::wstring::npos &&
                refused[0].find(L"quedó como " + takenAs) != std::wstring::npos)
        << testing::PrintToString(refused[0]);
    EXPECT_EQ(StoredFiles(), storedBefore);
    const std::wstring filed = L"Select Documento || ' ' || ReferenciaId || ' ' || Path From Documentos "
                               L"Where DocumentoId >= " + std::to_wstring(id);
    EXPECT_TRUE(Column(filed).empty());
    const std::wstring leftAs = std::filesystem::path(takenAs).filename().wstring();
    EXPECT_EQ(SourceNames(), neighbour ? (Texts{L"a0_big.jpg", leftAs}) : Texts{leftAs});
    if (then == Then::SearchAndSaveAgain) {
      FindScans();
      EXPECT_EQ(Messages(), Texts{kFound});
    }
    ClickButton(L"BTN_SAV");
    EXPECT_EQ(Messages(), refused);
    CloseHandle(viewer);
    if (neighbour) {
      FindScans();
      EXPECT_EQ(Messages(), Texts{kFound});
      EXPECT_EQ(screen.PSlide(0).Documento(), L"a0_big.jpg");
      EXPECT_EQ(screen.PSlide(1).Documento(), leftAs);
      EXPECT_EQ(screen.PSlide(1).Path(), takenAs);
      for (int i = 0; i < 2; ++i) EXPECT_EQ(screen.PSlide(i).ReferenciaId(), L"") << i;
      EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded}));
      ClickButton(L"BTN_SAV");
      EXPECT_EQ(Messages(), Texts{kSaved});
      EXPECT_TRUE(Column(filed).empty());
      Key(1, L"REF-A");
      Messages();
    }
    ClickButton(L"BTN_SAV");
    EXPECT_EQ(Messages(), Texts{kSaved});
    EXPECT_EQ(Column(filed), Texts{(neighbour ? leftAs : L"a.jpg") + L" REF-A " + Stored(id, L"jpg")});
    EXPECT_TRUE(Content(Stored(id, L"jpg")) == scanned);
    EXPECT_EQ(SourceNames(), neighbour ? Texts{L"a0_big.jpg"} : Texts{});
    ++id;
  }
}

// The database refuses a document, and a viewer holds its file in the store so that it
// cannot go back to its folder: the clerk is told to close it and save again, and where
// the file is. Saving again while it is held says the same; once it is closed, the entry
// can still be changed, and saving again files it once, whole, with what was keyed, under
// its own name.
TEST_F(IndexScreenTest, AFileHeldInTheStoreAfterARefusalIsFiledWhenSavedAgain) {
  Scans({L"a.jpg"});
  const std::string scanned = Content(source_ + L"\\a.jpg");
  const std::wstring first = Stored(firstNew_, L"jpg");
  RefuseREFAAndHoldAtTheNextInsert(first);
  const Texts refused = OpenKeyFirstAndSave();
  ASSERT_NE(storeViewer_, INVALID_HANDLE_VALUE);
  ASSERT_EQ(refused.size(), 1u);
  const std::wstring held = L"abierto en otro programa; ciérrelo y vuelva a grabar";
  EXPECT_TRUE(refused[0].find(L"rechazado por la base") != std::wstring::npos &&
              refused[0].find(held) != std::wstring::npos && refused[0].find(L"quedó como " + first) != std::wstring::npos)
      << testing::PrintToString(refused[0]);
  EXPECT_EQ(StoredFiles(), Texts{first});
  EXPECT_TRUE(hosted::FolderFiles(source_).empty());
  Sql(L"Drop Trigger Refuse");
  ClickButton(L"BTN_SAV");
  ExpectSaveFailedWith(held, L"a.jpg");
  EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
  CloseStoreViewer();
  // The large view still shows the scan: the clerk's changed entry is accepted into it.
  TypeInto(L"txtReferenciaId", L"REF-B");
  Accept();
  EXPECT_EQ(Messages(), Texts{});
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(std::wstring(L"Select Documento || ' ' || ReferenciaId || ' ' || Path") + New()),
            Texts{L"a.jpg REF-B " + Stored(firstNew_ + 1, L"jpg")});
  EXPECT_EQ(StoredFiles(), Texts{Stored(firstNew_ + 1, L"jpg")});
  EXPECT_TRUE(Content(Stored(firstNew_ + 1, L"jpg")) == scanned);
  EXPECT_TRUE(hosted::FolderFiles(source_).empty());
}

// The same refusal, a.jpg's file held in the store, b.jpg keyed after it; the clerk
// closes the viewer and, instead of saving again, searches, or clears a.jpg's entry and
// saves the others, or saves again once another program changed the file (refused as
// changed, "vuelva a buscarlo") and searches; or saves again while nothing can be renamed,
// so the file stays under a name of ours in the store's folder, and searches. Each search
// or successful save fills the strip from the source folder: b.jpg moves up a place with
// an empty entry, and a.jpg's file stays in the store in no row and no thumbnail.
TEST_F(IndexScreenTest, ASearchOrASaveOfTheOthersLetsGoOfAFileKeptInTheStore) {
  enum class Then { Search, SaveTheOthers, ChangedThenSearch, LeftUnderOurNameThenSearch };
  const std::wstring documents = std::wstring(L"Select Documento || ' ' || ReferenciaId || ' ' || Path") + New();
  Texts filed;
  for (const Then then : {Then::Search, Then::SaveTheOthers, Then::ChangedThenSearch,
                          Then::LeftUnderOurNameThenSearch}) {
    const int round = static_cast<int>(then);
    Scans({L"a.jpg", L"b.jpg"});
    const std::string scanned = Content(source_ + L"\\a.jpg");
    const long id = NextDrawn();
    std::wstring kept = Stored(id, L"jpg");
    RefuseREFAAndHoldAtTheNextInsert(kept);
    Texts stored = StoredFiles();
    FDocumentosIndex& screen = Open();
    FindScans();
    Key(0, L"REF-A");
    Key(1, L"REF-B");
    Messages();
    ClickButton(L"BTN_SAV");
    ExpectSaveFailedWith(L"quedó como " + kept, L"a.jpg");
    CloseStoreViewer();
    if (then == Then::SaveTheOthers) {
      ClickIcon(0);
      TypeInto(L"txtReferenciaId", L"");
      Accept();
      ClickButton(L"BTN_SAV");
      EXPECT_EQ(Messages(), Texts{kSaved});
      filed.push_back(L"b.jpg REF-B " + Stored(id + 1, L"jpg"));
      stored.push_back(Stored(id + 1, L"jpg"));
      EXPECT_EQ(States(), (std::vector<State>{State::Empty, State::Empty}));
    } else {
      if (then == Then::ChangedThenSearch) {
        test::WriteBytes(kept, Content(kept) + "another program's");
        ClickButton(L"BTN_SAV");
        ExpectSaveFailedWith(L"el archivo " + kept + L" cambió después de cargarlo; vuelva a buscarlo", L"a.jpg");
      }
      if (then == Then::LeftUnderOurNameThenSearch) {
        hosted::FileTransfer nothingRenames = hosted::FileTransferSeam::Real();
        nothingRenames.rename = [](const std::wstring&, const std::wstring&) -> DWORD { return ERROR_ACCESS_DENIED; };
        hosted::ScopedFileTransfer scope(nothingRenames);
        ClickButton(L"BTN_SAV");
        const Texts shown = Messages();
        ASSERT_EQ(shown.size(), 1u);
        const std::wstring leftAs = L"quedó como ", ours = store_ + L"\\00003\\00001\\a~vk";
        const size_t at = shown[0].find(leftAs + ours);
        ASSERT_NE(at, std::wstring::npos) << testing::PrintToString(shown[0]);
        const size_t from = at + leftAs.size();
        kept = shown[0].substr(from, shown[0].find(L".jpg", from) + 4 - from);
        EXPECT_TRUE(Exists(kept) && !Exists(Stored(id, L"jpg"))) << testing::PrintToString(kept);
        EXPECT_EQ(screen.PSlide(0).Path(), kept);  // the entry follows it there
        EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"REF-A");
      }
      FindScans();
      EXPECT_EQ(Messages(), Texts{kFound});
      EXPECT_EQ(screen.PSlide(0).Documento(), L"b.jpg");
      EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"");
      EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Empty}));
      ClickButton(L"BTN_SAV");
      EXPECT_EQ(Messages(), Texts{kSaved});
    }
    stored.push_back(kept);
    Texts inStore = StoredFiles();
    std::sort(stored.begin(), stored.end());
    std::sort(inStore.begin(), inStore.end());
    EXPECT_EQ(inStore, stored) << round;
    EXPECT_EQ(Column(documents), filed) << round;
    EXPECT_TRUE(Content(kept).starts_with(scanned)) << round;
    for (const std::wstring& name : SourceNames()) DeleteFileW((source_ + L"\\" + name).c_str());
  }
}

// While a scan is filed, a scanner saves its next page under the scan's name and another
// clerk's file takes the stored path: the scan cannot be given its name back, so no other
// number is tried with the new page. The clerk is told where the scan is, and saving
// again files it; the new page stays, a scan of its own, and so does the other file. A
// search instead finds the new page in the scan's place, with an empty entry, and the
// scan past the strip's last thumbnail: a save then files nothing, and a screen opened
// anew shows the scan as a scan of its own, under the name it was left under.
TEST_F(IndexScreenTest, AScanWhoseNameANewPageTookIsToldWhereItIsAndFiledWhenSavedAgain) {
  long id = firstNew_;  // the number the other clerk's file takes; ours files under the next
  for (const bool searchFirst : {false, true}) {
    Scans({L"a.jpg"});
    const std::wstring scan = source_ + L"\\a.jpg";
    const std::string scanned = Content(scan);
    std::wstring takenAs, anotherClerks;
    hosted::FileTransfer transfer = hosted::FileTransferSeam::Real();
    transfer.rename = [&, rename = transfer.rename](const std::wstring& from, const std::wstring& to) {
      if (takenAs.empty() && to.rfind(store_, 0) == 0) {
        takenAs = from;
        anotherClerks = to;
        test::WriteSamplePage(scan, test::ImageFormat::Jpg, 300, 420);
        test::WriteBytes(to, "another clerk's");
      }
      return rename(from, to);
    };
    hosted::ScopedFileTransfer scope(transfer);
    const Texts refused = OpenKeyFirstAndSave();
    ASSERT_FALSE(takenAs.empty());
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find(L"quedó como " + takenAs), std::wstring::npos) << testing::PrintToString(refused[0]);
    const std::wstring filed = L"Select Documento || ' ' || ReferenciaId || ' ' || Path From Documentos "
                               L"Where DocumentoId >= " + std::to_wstring(id);
    EXPECT_TRUE(Column(filed).empty());
    const std::string newPage = Content(scan);
    ASSERT_NE(newPage, scanned);
    const std::wstring leftAs = std::filesystem::path(takenAs).filename().wstring();
    if (searchFirst) {
      FindScans();
      EXPECT_EQ(Messages(), Texts{kFound});
      EXPECT_EQ(screen_->SlideCount(), 1);
      EXPECT_EQ(screen_->PSlide(0).Path(), scan);
      EXPECT_EQ(screen_->PSlide(0).ReferenciaId(), L"");
      ClickButton(L"BTN_SAV");
      EXPECT_EQ(Messages(), Texts{kSaved});
      EXPECT_TRUE(Column(filed).empty());
      EXPECT_EQ(SourceNames(), (Texts{L"a.jpg", leftAs}));
      FDocumentosIndex& anew = Open();
      FindScans();
      ASSERT_EQ(anew.SlideCount(), 2);
      EXPECT_EQ(anew.PSlide(1).Documento(), leftAs);
      EXPECT_EQ(anew.PSlide(1).ReferenciaId(), L"");
      EXPECT_TRUE(Content(takenAs) == scanned);
    } else {
      ClickButton(L"BTN_SAV");
      EXPECT_EQ(Messages(), Texts{kSaved});
      EXPECT_EQ(Column(filed), Texts{L"a.jpg REF-A " + Stored(id + 1, L"jpg")});
      EXPECT_TRUE(Content(Stored(id + 1, L"jpg")) == scanned);
      EXPECT_EQ(SourceNames(), Texts{L"a.jpg"});
    }
    EXPECT_EQ(anotherClerks, Stored(id, L"jpg"));
    EXPECT_EQ(test::ReadBytes(anotherClerks), "another clerk's");
    EXPECT_TRUE(Content(scan) == newPage);
    for (const std::wstring& name : SourceNames()) DeleteFileW((source_ + L"\\" + name).c_str());
    id += 2;
  }
}

// An insert whose outcome nobody can tell: the message says the file is in the store
// only when it is there; moved out of the store meanwhile, it names no place the file
// is not in.
TEST_F(IndexScreenTest, AnUnknownOutcomeNamesNoPlaceTheFileIsNotIn) {
  for (const bool movedAway : {false, true}) {
    Scans({L"a.jpg"});
    const long id = NextDrawn();
    const std::wstring stored = Stored(id, L"jpg"), elsewhere = store_ + L"\\elsewhere.jpg";
    ScopedHostSeams scope(TappedDataAccess(
        [&](const std::wstring& member, const std::wstring& text, const std::function<HRESULT()>& call) {
          if (text.rfind(L"Select Path From Documentos", 0) == 0)
            throw VbError{-2147467259, L"Microsoft OLE DB Provider for SQL Server", L"se perdió la conexión"};
          if (_wcsicmp(member.c_str(), L"Execute") != 0 || text != L"Documentos_Add") return call();
          if (movedAway) MoveFileW(stored.c_str(), elsewhere.c_str());
          throw VbError{-2147217873, L"Microsoft OLE DB Provider for SQL Server", L"clave duplicada o rechazada"};
        }));
    const Texts shown = OpenKeyFirstAndSave();
    ASSERT_EQ(shown.size(), 1u);
    const std::wstring said = movedAway ? L"; el archivo no se encuentra en " : L"; el archivo quedó en ";
    const std::wstring unsaid = movedAway ? L"quedó en" : L"no se encuentra";
    EXPECT_TRUE(shown[0].find(L"no se pudo comprobar si el documento") != std::wstring::npos &&
                shown[0].find(said + stored + L" [ a.jpg ]") != std::wstring::npos &&
                shown[0].find(unsaid) == std::wstring::npos)
        << movedAway << testing::PrintToString(shown[0]);
    EXPECT_EQ(StoredFiles(), Texts{movedAway ? elsewhere : stored});
    DeleteFileW((movedAway ? elsewhere : stored).c_str());
  }
}

// The check right before each insert that no reading took the drawn number: when the
// read log cannot be read, or when every draw the save may take is lost to a reading,
// the save stops saying why, within its bound, with the scan back under its name and
// nothing filed.
TEST_F(IndexScreenTest, AReadLogThatCannotBeReadOrTakesEveryDrawStopsTheSaveWithTheScanBack) {
  const std::wstring readCheck = L"Select Top 1 DocumentoId From DocumentosLog Where DocumentoId = ";
  for (const bool unreadable : {true, false}) {
    Scans({L"a.jpg"});
    int draws = 0;
    ScopedHostSeams scope(TappedDataAccess(
        [&](const std::wstring&, const std::wstring& text, const std::function<HRESULT()>& call) -> HRESULT {
          if (text.rfind(L"Select (Coalesce(Max(DocumentoId)", 0) == 0) ++draws;
          if (text.rfind(readCheck, 0) != 0) return call();
          if (unreadable) throw VbError{-2147467259, L"Microsoft OLE DB Provider for SQL Server", L"se perdió la conexión"};
          Sql(L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId) Values (" + text.substr(readCheck.size()) +
              L", 'lector', 1)");
          return call();
        }));
    const Texts shown = OpenKeyFirstAndSave();
    ASSERT_EQ(shown.size(), 1u) << unreadable;
    const std::wstring why = unreadable ? L"no se pudo leer el registro de lecturas" : L"ninguno de los 10 números tomados quedó libre";
    EXPECT_TRUE(shown[0].rfind(kSaveFailed, 0) == 0 && shown[0].find(why) != std::wstring::npos)
        << testing::PrintToString(shown[0]);
    EXPECT_EQ(draws, unreadable ? 1 : 10);
    EXPECT_EQ(hosted::FolderFiles(source_).size(), 1u);
    EXPECT_TRUE(InSource(L"a.jpg"));
    EXPECT_EQ(StoredFiles(), Texts{});
    EXPECT_TRUE(Column(std::wstring(L"Select Documento") + New()).empty());
    EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"0"});
    DeleteFileW((source_ + L"\\a.jpg").c_str());
  }
}

// A document the database refuses goes back to its folder; when a new page has taken
// the scan's name meanwhile and a viewer holds the file in the store, so that it cannot
// be given its stored name back either, the clerk is told the name it is under.
TEST_F(IndexScreenTest, AFileThatCannotGoBackIsToldWhereItIs) {
  Scans({L"a.jpg"});
  Sql(L"Create Trigger Refuse Before Insert On Documentos "
      L"Begin Select Raise(Abort, 'rechazado por la base'); End");
  const std::wstring scan = source_ + L"\\a.jpg";
  HANDLE viewer = INVALID_HANDLE_VALUE;
  std::wstring leftAs;
  hosted::FileTransfer transfer = hosted::FileTransferSeam::Real();
  transfer.rename = [&, rename = transfer.rename](const std::wstring& from, const std::wstring& to) {
    if (to == scan && leftAs.empty()) {
      test::WriteSamplePage(scan, test::ImageFormat::Jpg, 300, 420);
      leftAs = from;
      viewer = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    return rename(from, to);
  };
  {
    hosted::ScopedFileTransfer goingBack(transfer);
    OpenAndKeyFirst();
    ClickButton(L"BTN_SAV");
  }
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  CloseHandle(viewer);
  ASSERT_EQ(leftAs.rfind(store_, 0), 0u) << testing::PrintToString(leftAs);
  EXPECT_EQ(StoredFiles(), Texts{leftAs});
  ExpectSaveFailedWith(L"quedó como " + leftAs, L"a.jpg");
}

// A reader opens an external document whose number is the one a document of this save
// draws, at each moment of its filing: before the draw, while its file is copied into
// a store on another volume, once it is in the store, and after its insert; all but the
// one moment the data component's calls cannot close, between the save's last check and
// its insert. The reading, as the lists make it, is logged only while no document of
// ours holds the number. Every document is filed once, under a number no reading holds.
TEST_F(IndexScreenTest, NoDocumentIsFiledUnderANumberReadWhileItIsFiled) {
  Scans({L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg"});
  auto readExternal = [&](long number) {
    const std::wstring n = std::to_wstring(number);
    Sql(L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId) Select " + n + L", 'lector', 1 "
        L"Where Not Exists (Select 1 From Documentos Where DocumentoId = " + n + L")");
  };
  // What a draw gives now: between a document's draw and its insert, its own number.
  auto numberDrawnNow = [&] {
    return std::stol(Column(L"Select Max(M) + 1 From (Select Max(DocumentoId) As M From Documentos "
                            L"Union All Select Max(DocumentoId) From DocumentosLog) A")[0]);
  };
  std::wstring copying;  // the scan whose file moves, by its own name
  std::set<std::wstring> readDuring;  // the scans a reading has met
  auto readOnceDuring = [&](const std::wstring& scan, long number) {
    if (copying == scan && readDuring.insert(scan).second) readExternal(number);
  };
  hosted::FileTransfer transfer = AnotherVolumeFor(source_, [&](const std::wstring& from, const std::wstring& to) {
    copying = std::filesystem::path(from).filename().wstring().substr(0, 1);
    readOnceDuring(L"b", numberDrawnNow());
    return hosted::FileTransferSeam::Real().copy(from, to);
  });
  transfer.rename = [&, rename = transfer.rename](const std::wstring& from, const std::wstring& to) {
    const DWORD error = rename(from, to);
    if (!error && to.rfind(store_, 0) == 0) readOnceDuring(L"c", numberDrawnNow());
    return error;
  };
  hosted::ScopedFileTransfer otherVolume(transfer);
  ScopedHostSeams reader(
      TappedDataAccess([&](const std::wstring& member, const std::wstring& text, const std::function<HRESULT()>& call) {
        if (text.rfind(L"Select (Coalesce(Max(DocumentoId)", 0) == 0 && readDuring.insert(L"a").second)
          readExternal(numberDrawnNow());
        const HRESULT result = call();
        if (_wcsicmp(member.c_str(), L"Execute") == 0 && text == L"Documentos_Add")
          readOnceDuring(L"d", numberDrawnNow() - 1);
        return result;
      }));
  Open();
  FindScans();
  for (int i = 0; i < 4; ++i) Key(i, L"REF-" + std::to_wstring(i));
  Messages();
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(readDuring, (std::set<std::wstring>{L"a", L"b", L"c", L"d"}));
  EXPECT_EQ(Column(std::wstring(L"Select Documento") + New()), (Texts{L"a.jpg", L"b.jpg", L"c.jpg", L"d.jpg"}));
  EXPECT_EQ(Column(L"Select Count(*) From DocumentosLog Where DocumentoId In (Select DocumentoId" + New() + L")"),
            Texts{L"0"});
  EXPECT_EQ(Column(L"Select Count(*) From DocumentosLog Where Usuario = 'lector'"), Texts{L"3"});
  Texts stored;
  for (const std::wstring& path : Column(std::wstring(L"Select Path") + New())) {
    stored.push_back(path);
    EXPECT_TRUE(Exists(path)) << testing::PrintToString(path);
  }
  std::sort(stored.begin(), stored.end());
  EXPECT_EQ(StoredFiles(), stored);
  EXPECT_TRUE(hosted::FolderFiles(source_).empty());
}

// Two clerks filing at the same moment: the other clerk (this program again, as a
// second process) has drawn the same id and inserts it while this clerk's file moves
// into the store. This clerk's insert then finds the id taken, and files under the next.
TEST_F(IndexScreenTest, TwoClerksDrawingTheSameIdBothFileWithoutAWord) {
  Scans({L"a.jpg"});
  Open();
  FindScans();
  Key(0, L"REF-A");
  Messages();
  CreateDirectoryW((store_ + L"\\00003").c_str(), nullptr);
  CreateDirectoryW((store_ + L"\\00003\\00001").c_str(), nullptr);
  const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, kOtherClerkReady);
  SetEnvironmentVariableW(L"VK_OTHER_CLERK_ID", std::to_wstring(firstNew_).c_str());
  SetEnvironmentVariableW(L"VK_OTHER_CLERK_WAITS_FOR", Stored(firstNew_, L"jpg").c_str());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=OtherClerk.*";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION clerk{};
  ASSERT_TRUE(CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &clerk));
  CloseHandle(clerk.hThread);
  const HANDLE started[] = {ready, clerk.hProcess};  // its insert is waiting, or it failed
  ASSERT_EQ(WaitForMultipleObjects(2, started, FALSE, kOtherClerkPatience), WAIT_OBJECT_0);
  ClickButton(L"BTN_SAV");
  ASSERT_EQ(WaitForSingleObject(clerk.hProcess, kOtherClerkPatience), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(clerk.hProcess, &exitCode);
  CloseHandle(clerk.hProcess);
  CloseHandle(ready);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(Messages(), Texts{kSaved});
  EXPECT_EQ(Column(std::wstring(L"Select DocumentoId || ' ' || Documento") + New()),
            (Texts{std::to_wstring(firstNew_) + L" otro.jpg", std::to_wstring(firstNew_ + 1) + L" a.jpg"}));
  EXPECT_EQ(StoredFiles(), Texts{Stored(firstNew_ + 1, L"jpg")});
}

TEST_F(IndexScreenTest, ACloseDuringTheSaveStopsBetweenTwoDocuments) {
  Scans({L"a.jpg", L"b.jpg", L"c.jpg"});
  FDocumentosIndex& screen = Open();
  FindScans();
  Key(0, L"REF-A");
  Key(1, L"REF-B");
  Key(2, L"REF-C");
  Messages();
  // Waiting in the queue as the save starts: a find and a thumbnail click (ignored
  // while the save runs), then the host's Kill.
  hosted::Toolbar& bar = *C().TBarMain;
  PostMessageW(bar.hwnd(), WM_COMMAND, MAKEWPARAM(bar.IndexOfKey(L"BTN_FIN"), 0),
               reinterpret_cast<LPARAM>(Inner(bar.hwnd())));
  const HWND icon = Find(L"PSlideState(0)");
  PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  host_.Post([this] { screen_->UnloadScreen(); });
  ClickButton(L"BTN_SAV");
  test::Pump();
  EXPECT_FALSE(screen.loaded());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(screen.SlideIndex(), 0);  // the thumbnail the pass filed last
  // Exactly the first document was filed, whole: its row, its stored file, its log.
  EXPECT_EQ(Column(std::wstring(L"Select Documento") + New()), Texts{L"a.jpg"});
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), Texts{L"1"});
  EXPECT_FALSE(InSource(L"a.jpg"));
  EXPECT_TRUE(InSource(L"b.jpg") && InSource(L"c.jpg"));
  screen_.reset();
}

TEST_F(IndexScreenTest, ACloseDuringAFindOrAPickerWaitsForItAndLeavesTheNormalPointer) {
  Scans({L"a.jpg", L"b.jpg", L"c.jpg"});
  Open();
  host_.Post([this] { screen_->UnloadScreen(); });
  FindScans();
  test::Pump();
  EXPECT_FALSE(screen_->loaded());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(MousePointer(), pointer::Default);

  // The picker is modal: a find meanwhile is ignored (a zoom, which only touches the
  // large view, is not), the host's Kill waits for it.
  Open();
  ScopedPicker picker{[this](const std::wstring&, const std::wstring&) {
    hosted::Toolbar& bar = *C().TBarMain;
    const double zoom = C().PSelection->Zoom();
    for (const wchar_t* key : {L"BTN_FIN", L"BTN_ZIN"})
      SendMessageW(bar.hwnd(), WM_COMMAND, MAKEWPARAM(bar.IndexOfKey(key), 0), reinterpret_cast<LPARAM>(Inner(bar.hwnd())));
    EXPECT_EQ(C().PSelection->Zoom(), zoom + 1);
    screen_->UnloadScreen();
    EXPECT_TRUE(screen_->loaded());
    return Variant(L"3");
  }};
  test::Click(Find(L"PCategoriaId"), 5, 5);
  test::Pump();
  EXPECT_FALSE(screen_->loaded());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(States(), std::vector<State>(3, State::Empty));
  screen_.reset();
}

// The other clerk of TwoClerksDrawingTheSameIdBothFileWithoutAWord, run only as its
// second process: it inserts the id it was given in an open transaction (so the first
// clerk still draws it), says it is ready, and commits once the first clerk's file has
// reached the store (between that clerk's draw and its insert).
TEST(OtherClerk, DISABLED_InsertsTheIdTheFirstClerkDrew) {
  wchar_t database[MAX_PATH] = {};
  DWORD size = sizeof database;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\QdPoolConnection\\Connections", kAppKey, RRF_RT_REG_SZ,
                         nullptr, database, &size),
            ERROR_SUCCESS);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open16(database, &db), SQLITE_OK);
  sqlite3_busy_timeout(db, kOtherClerkPatience);
  const std::string insert = "BEGIN IMMEDIATE; INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, "
                             "Documento) VALUES (" + std::to_string(std::stol(EnvironmentValue(L"VK_OTHER_CLERK_ID"))) +
                             ", '5', '1', 'otro.jpg')";
  ASSERT_EQ(sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  const std::wstring awaited = EnvironmentValue(L"VK_OTHER_CLERK_WAITS_FOR");
  const std::wstring folder = awaited.substr(0, awaited.rfind(L'\\'));
  const HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(change, INVALID_HANDLE_VALUE);
  SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, kOtherClerkReady));
  while (GetFileAttributesW(awaited.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ASSERT_EQ(WaitForSingleObject(change, kOtherClerkPatience), WAIT_OBJECT_0);
    FindNextChangeNotification(change);
  }
  FindCloseChangeNotification(change);
  EXPECT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

}  // namespace
