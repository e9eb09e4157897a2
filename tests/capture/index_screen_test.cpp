// The cataloguing screen driven through its real windows under the display, docked in
// a host window, over a generated source folder and store and a copy of the sample
// databases: opening (through CObject too), the find, showing and accepting entries,
// scrolling, the toolbar, the batch save end to end and its failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/index_screen.h"
#include "host/cobject.h"
#include "host/message_box.h"
#include "host/shared_state.h"
#include "host/test_databases.h"
#include "hosted/sample_images.h"
#include "hosted/shell_launcher.h"
#include "hosted/window_driver.h"
#include "runtime/vk_name.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using capture::FDocumentosIndex;
using capture::VkImage;
using State = FDocumentosIndex::SlideState;

const wchar_t kAppKey[] = L"VkIndexScreen";
const wchar_t kFound[] = L"Las Imágenes a Catalogar se hay Incorporado con Éxito";
const wchar_t kSaved[] = L"Las Imagenes se Grabaron con Exito";
const wchar_t kSaveFailed[] = L"Se Produjo un Error al Grabar el Detalle del Documento : ";

// The host: a frameless window the screen fills. A posted WM_APP runs `onPosted`, as a
// host command that arrives while the screen is at work.
struct HostWindow {
  HWND hwnd = nullptr;
  std::function<void()> onPosted;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_APP && self && self->onPosted) self->onPosted();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VkIndexTestHost";
    RegisterClassW(&wc);
    hwnd = CreateWindowW(L"VkIndexTestHost", L"Host", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20, 765, 562,
                         nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~HostWindow() { DestroyWindow(hwnd); }
  long handle() const { return static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd)); }
};

struct RecordingLauncher : hosted::ShellLauncher {
  std::vector<std::wstring> parameters;
  bool Open(const std::wstring&, const std::wstring& p) override {
    parameters.push_back(p);
    return true;
  }
};

class IndexScreenTest : public ::testing::Test {
 protected:
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
    previousLauncher_ = hosted::SetShellLauncher(&launcher_);
  }
  void TearDown() override {
    if (screen_) screen_->Unload();
    test::Pump();
    hosted::SetShellLauncher(previousLauncher_);
  }

  void Sql(const std::wstring& sql) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(kAppKey, sql, &error)) << error << "\n" << sql;
  }
  // The first column of every row of a query on the application database.
  std::vector<std::wstring> Column(const std::wstring& sql) {
    std::vector<std::wstring> values;
    auto data = DataAccess::Create();
    auto rs = data->GetData(kAppKey, sql);
    if (!rs || rs->RecordCount() == 0) return values;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext()) values.push_back(rs->Field(0L).toText());
    return values;
  }
  // A small page of a format (by its extension) in the source folder; pdf and any
  // other name get a few bytes.
  void Scan(const std::wstring& name) {
    const std::wstring path = source_ + L"\\" + name;
    const std::wstring ext = name.substr(name.size() - 3);
    for (auto format : {test::ImageFormat::Bmp, test::ImageFormat::Gif, test::ImageFormat::Jpg,
                        test::ImageFormat::Png, test::ImageFormat::Tif}) {
      if (CompareStringOrdinal(ext.c_str(), 3, test::ExtensionOf(format), -1, TRUE) == CSTR_EQUAL) {
        ASSERT_TRUE(test::WriteSamplePage(path, format, 160, 226)) << testing::PrintToString(name);
        return;
      }
    }
    ASSERT_TRUE(test::WriteBytes(path, ext == L"pdf" || ext == L"Pdf" ? "%PDF-1.4\n%%EOF\n" : "not a picture"));
  }
  bool InSource(const std::wstring& name) const { return GetFileAttributesW((source_ + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

  // The screen opened the way the host opens it.
  FDocumentosIndex& Open(const wchar_t* mode = L"CAT", bool expectShown = true) {
    screen_ = Form::Load<FDocumentosIndex>();
    screen_->SetHWndContainer(host_.handle());
    screen_->SetMode(mode);
    EXPECT_EQ(screen_->MakeForm(), expectShown);
    test::Pump();
    return *screen_;
  }
  const FDocumentosIndex::Controls& C() const { return screen_->controls(); }
  HWND Find(const std::wstring& name) const { return FindVkWindow(host_.hwnd, name); }
  static HWND Inner(HWND outer) { return GetWindow(outer, GW_CHILD); }

  void ClickButton(const wchar_t* key) {
    hosted::Toolbar& bar = *C().TBarMain;
    test::ClickIn(Inner(Find(L"TBarMain")), bar.ButtonRect(bar.IndexOfKey(key)));
  }
  // A click that waits in the queue: it arrives while the screen is at work.
  void PostButton(const wchar_t* key) {
    hosted::Toolbar& bar = *C().TBarMain;
    const HWND outer = Find(L"TBarMain");
    PostMessageW(outer, WM_COMMAND, MAKEWPARAM(bar.IndexOfKey(key), 0), reinterpret_cast<LPARAM>(Inner(outer)));
  }
  void ClickIcon(int index) { test::Click(Find(VkNameText(L"PSlideState", index)), 5, 5); }
  void Find() { ClickButton(L"BTN_FIN"); }
  // The user's pick of the item loaded with `key` ("" for the empty item).
  void Pick(const wchar_t* comboName, const std::wstring& key) {
    auto& combo = *static_cast<hosted::ComboBox*>(screen_->FindControl(comboName));
    int index = -1;
    for (int i = 0; i < combo.ListCount() && index < 0; ++i)
      if (combo.ItemKey(i) == key) index = i;
    ASSERT_GE(index, 0) << testing::PrintToString(comboName) << " has no item " << testing::PrintToString(key);
    const HWND inner = Inner(Find(comboName));
    SendMessageW(inner, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Find(comboName), WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(inner));
  }
  void TypeInto(const wchar_t* name, const std::wstring& text) {
    const HWND edit = Inner(Find(name));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    test::Type(edit, text.c_str());
  }
  void Accept() { test::Click(Inner(Find(L"cmdAceptar")), 5, 5); }
  // Shows thumbnail `index`, keys an entry and accepts it.
  void Key(int index, const std::wstring& reference, const std::wstring& barCode = L"", const std::wstring& type = L"2") {
    ClickIcon(index);
    Pick(L"cboCategoriaId", L"3");
    Pick(L"cboSubCategoriaId", L"1");
    Pick(L"cboGerenciaId", L"OP");
    Pick(L"cboTipoDocumentoId", type);
    TypeInto(L"txtReferenciaId", reference);
    TypeInto(L"txtCBarra", barCode);
    Accept();
  }
  std::vector<State> States() const {
    std::vector<State> states;
    for (int i = 0; i < screen_->SlideCount(); ++i) states.push_back(screen_->slideState(i));
    return states;
  }
  // The message box's texts since the last call.
  std::vector<std::wstring> TakeMessages() { return std::exchange(messages_, {}); }

  test::ComApartment com_;
  test::TestDatabases databases_{kAppKey};
  HostWindow host_;
  std::wstring source_, store_;
  std::shared_ptr<FDocumentosIndex> screen_;
  std::vector<std::wstring> messages_;
  ScopedMessageBox box_{[this](const std::wstring& text, long, const std::wstring&) {
    messages_.push_back(text);
    return msg::OK;
  }};
  RecordingLauncher launcher_;
  hosted::ShellLauncher* previousLauncher_ = nullptr;
};

// --- opening ---

TEST_F(IndexScreenTest, FormCodesOpenTheScreenInTheHostWithTheirMode) {
  Scan(L"a.jpg");
  Sql(L"Update AplicationParameters Set ParameterValue = '" + source_ +
      L"' Where ParameterId = 'HKEY_DOCUMENTOS_PATH_ORIGEN'");
  for (const auto& [code, saves] : {std::pair{L"I01CAT", true}, std::pair{L"I01REV", false}}) {
    ComPtr<_CObject> object = ComPtr<_CObject>::Attach(vk::CObject::Create());
    object->put_ApplicationName(Bstr(kAppKey).get());
    object->put_ObjectId(Bstr(code).get());
    object->put_ObjectName(Bstr(code).get());
    object->put_hwnd(host_.handle());
    VARIANT_BOOL result = VARIANT_TRUE;
    ASSERT_HRESULT_SUCCEEDED(object->Build(&result));
    test::Pump();
    const HWND screen = Find(L"FDocumentosIndex");
    ASSERT_TRUE(screen) << code;
    EXPECT_TRUE(IsWindowVisible(screen)) << code;
    EXPECT_EQ(GetParent(screen), host_.hwnd);
    auto* form = static_cast<FDocumentosIndex*>(Form::FromWindow(screen));
    hosted::Toolbar& bar = *form->controls().TBarMain;
    EXPECT_EQ(bar.ButtonEnabled(bar.IndexOfKey(L"BTN_SAV")), saves) << code;
    ASSERT_HRESULT_SUCCEEDED(object->Kill(&result));
    test::Pump();
    EXPECT_FALSE(Find(L"FDocumentosIndex")) << code;
  }
}

TEST_F(IndexScreenTest, DesignSizeLayoutAndToolbarStatesByMode) {
  Scan(L"a.jpg");
  Scan(L"b.jpg");
  Scan(L"c.jpg");
  FDocumentosIndex& screen = Open();
  const auto& c = C();
  EXPECT_EQ(screen.scaleWidth(), 11475);
  EXPECT_EQ(screen.scaleHeight(), 8430);
  struct Box {
    Control* control;
    double left, top, width, height;
  };
  for (const Box& box : std::vector<Box>{{c.TBarMain, 50, 45, 11175, 435},
                                         {c.VkImageMain, 4500, 585, 6675, 4375},
                                         {c.VkImageSlide, 4500, 5155, 6675, 2715},
                                         {c.VkImageFrame, 200, 585, 4200, 7290},
                                         {c.PSelection, 200, 500, 3800, 6490},
                                         {c.VkDataParameter, 180, 2220, 6315, 1055},
                                         {c.cmdAceptar, 5160, 540, 1035, 315},
                                         {c.cmdPrevious, 3087.5, 60, 255, 255}}) {
    EXPECT_EQ(box.control->left(), box.left) << testing::PrintToString(box.control->name());
    EXPECT_EQ(box.control->top(), box.top) << testing::PrintToString(box.control->name());
    EXPECT_EQ(box.control->width(), box.width) << testing::PrintToString(box.control->name());
    EXPECT_EQ(box.control->height(), box.height) << testing::PrintToString(box.control->name());
  }
  ASSERT_EQ(screen.SlideCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(screen.PSlide(i).left(), 2075.0 * i);
    EXPECT_EQ(screen.PSlide(i).top(), 150);
    EXPECT_EQ(screen.PSlide(i).height(), 1900);
    EXPECT_EQ(screen.PSlideState(i).left(), 1590 + 2075.0 * i);
    // Every control is found by its name, array elements with their index.
    EXPECT_TRUE(Find(VkNameText(L"PSlide", i)));
  }
  EXPECT_FALSE(IsWindowVisible(Find(L"VkDataTemp")));
  EXPECT_FALSE(IsWindowVisible(Find(L"PState01")));

  // SetToolbarState: the nine managed buttons by mode; the others keep their state.
  const std::vector<int> managed = {3, 4, 8, 9, 10, 11, 12, 14, 15};
  const std::vector<std::pair<const wchar_t*, std::vector<int>>> modes = {
      {L"CAT", {3, 8, 9, 10, 11, 12, 14, 15}}, {L"REV", {8, 9, 10, 11, 12, 14, 15}}, {L"VAL", {4}},
      {L"ADM", managed},                       {L"rev", {}}};
  for (const auto& [mode, enabled] : modes) {
    if (std::wstring(mode) != L"CAT") {
      screen_->Unload();
      Open(mode);
    }
    hosted::Toolbar& bar = *C().TBarMain;
    for (int index : managed) {
      const bool on = std::find(enabled.begin(), enabled.end(), index) != enabled.end();
      EXPECT_EQ(bar.ButtonEnabled(index), on) << mode << " " << index;
      EXPECT_EQ(bar.ButtonState(index), on ? 0 : 5) << mode << " " << index;
    }
    for (int index : {1, 6, 17}) EXPECT_TRUE(bar.ButtonEnabled(index)) << mode << " " << index;
  }
  // In review mode a click on the disabled save does nothing.
  screen_->Unload();
  Open(L"REV");
  Find();
  TakeMessages();
  Key(0, L"R-1");
  ClickButton(L"BTN_SAV");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_TRUE(Column(L"Select DocumentoId From Documentos Where ReferenciaId = 'R-1'").empty());
}

TEST_F(IndexScreenTest, MissingSourceFolderLeavesTheScreenUnshownAndUndocked) {
  Shared().gPathOrigen = source_ + L"\\missing";
  FDocumentosIndex& screen = Open(L"CAT", false);
  EXPECT_TRUE(screen.loaded());
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
  EXPECT_NE(GetParent(screen.hwnd()), host_.hwnd);
  screen.Form_Resize();  // the host's resize never shows a screen that failed to build
  EXPECT_FALSE(IsWindowVisible(screen.hwnd()));
}

// --- the find ---

TEST_F(IndexScreenTest, FindLoadsEveryAcceptedFormatWithItsIcon) {
  for (const wchar_t* name : {L"a.bmp", L"b.gif", L"c.JPG", L"d.png", L"e.tif", L"f.Pdf", L"g.jpeg", L"h.tiff",
                              L"i.txt", L"j.png"})
    Scan(name);
  test::WriteBytes(source_ + L"\\j.png", "broken");  // a png that is no picture
  FDocumentosIndex& screen = Open();
  ASSERT_EQ(screen.SlideCount(), 7);
  EXPECT_EQ(States(), std::vector<State>(7, State::Empty));
  Find();
  EXPECT_EQ(TakeMessages(), std::vector<std::wstring>{kFound});
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded, State::Loaded, State::Loaded,
                                          State::Loaded, State::Loaded, State::Unreadable}));
  EXPECT_EQ(screen.PSlide(2).Documento(), L"c.JPG");
  EXPECT_EQ(screen.PSlide(2).Path(), source_ + L"\\c.JPG");
  EXPECT_TRUE(screen.PSlide(2).iImage().HasImage());
  EXPECT_TRUE(screen.PSlide(5).IsPDF());
  EXPECT_FALSE(screen.PSlide(4).IsPDF());
  // The icons are the state pictures: loaded for the six, the failure mark for j.png.
  BITMAP loaded{}, failed{};
  GetObjectW(screen.PSlideState(0).Picture(), sizeof loaded, &loaded);
  GetObjectW(screen.PSlideState(6).Picture(), sizeof failed, &failed);
  EXPECT_EQ(loaded.bmWidth, 19);
  EXPECT_EQ(failed.bmWidth, 19);
  EXPECT_NE(screen.PSlideState(6).Picture(), nullptr);
  EXPECT_EQ(C().VkProgressBar->Max(), 10);  // every file of the folder
  EXPECT_FALSE(C().VkProgressBar->visible());
}

TEST_F(IndexScreenTest, FindKeepsToTheLimitAndToTheThumbnailsItHas) {
  for (int i = 0; i < 4; ++i) Scan(L"p" + std::to_wstring(i) + L".png");
  Shared().gLoadMax = 2;
  FDocumentosIndex& screen = Open();
  EXPECT_EQ(screen.SlideCount(), 2);
  Shared().gLoadMax = 99;
  Scan(L"p9.png");  // added after the scan: no thumbnail of its own
  Find();
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded}));
  EXPECT_EQ(screen.PSlide(1).Documento(), L"p1.png");

  screen_->Unload();
  Shared().gLoadMax = 0;
  Open();
  EXPECT_EQ(screen_->SlideCount(), 1);
  Find();
  EXPECT_EQ(States(), std::vector<State>{State::Empty});
}

TEST_F(IndexScreenTest, EmptyFolderIsASuccessfulFindWithNoThumbnails) {
  FDocumentosIndex& screen = Open();
  Find();
  EXPECT_EQ(TakeMessages(), std::vector<std::wstring>{kFound});
  EXPECT_EQ(screen.SlideCount(), 1);
  EXPECT_EQ(screen.slideState(0), State::Empty);
  EXPECT_EQ(C().VkProgressBar->Max(), 0);
}

TEST_F(IndexScreenTest, RefillEmptiesEntriesThatLostTheirFile) {
  Scan(L"a.png");
  Scan(L"b.png");
  Scan(L"c.png");
  FDocumentosIndex& screen = Open();
  Find();
  Key(1, L"REF-B");
  Key(2, L"REF-C");
  ASSERT_EQ(screen.slideState(2), State::Accepted);
  ASSERT_TRUE(DeleteFileW((source_ + L"\\a.png").c_str()));
  Find();
  // b and c moved up a place: their thumbnails hold another file, so no entry; the
  // last thumbnail has no file left at all.
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Loaded, State::Empty}));
  EXPECT_EQ(screen.PSlide(0).Documento(), L"b.png");
  EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"");
  EXPECT_EQ(screen.PSlide(1).ReferenciaId(), L"");
  EXPECT_EQ(screen.PSlide(2).Path(), L"");
  EXPECT_EQ(screen.PSlide(2).ReferenciaId(), L"");
  EXPECT_EQ(screen.PSlideState(2).Picture(), nullptr);
  // A refill that leaves a file where it was keeps its accepted entry.
  Key(1, L"REF-C2");
  Find();
  EXPECT_EQ(screen.slideState(1), State::Accepted);
  EXPECT_EQ(screen.PSlide(1).ReferenciaId(), L"REF-C2");
  // The save files only what was keyed for the file it holds.
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(Column(L"Select Documento || '/' || ReferenciaId From Documentos Where DocumentoId >= 100"),
            std::vector<std::wstring>{L"c.png/REF-C2"});
}

// --- showing and accepting ---

TEST_F(IndexScreenTest, ShowAcceptAndShowAgainKeepTheEntry) {
  Scan(L"a.jpg");
  Scan(L"b.pdf");
  Scan(L"c.jpg");
  FDocumentosIndex& screen = Open();
  Find();
  const auto& c = C();
  hosted::Toolbar& bar = *c.TBarMain;
  const int z11 = bar.IndexOfKey(L"BTN_Z11");

  // Before anything is shown the accept goes to thumbnail 0.
  TypeInto(L"txtReferenciaId", L"FIRST");
  Accept();
  EXPECT_EQ(screen.slideState(0), State::Accepted);
  EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"FIRST");

  Key(2, L"REF-2", L"779000");
  EXPECT_EQ(screen.SlideIndex(), 2);
  EXPECT_EQ(c.PSelection->Path(), source_ + L"\\c.jpg");
  EXPECT_EQ(c.PSelection->Zoom(), 0.53);
  EXPECT_FALSE(c.PSelection->FitMode());
  EXPECT_EQ(bar.ButtonState(z11), 2);
  EXPECT_EQ(screen.slideState(2), State::Accepted);
  const VkImage& accepted = screen.PSlide(2);
  EXPECT_EQ(accepted.CategoriaId(), L"3");
  EXPECT_EQ(accepted.SubCategoriaId(), L"1");
  EXPECT_EQ(accepted.GerenciaId(), L"OP");
  EXPECT_EQ(accepted.TipoDocumentoId(), 2);
  EXPECT_EQ(accepted.CBarra(), L"779000");
  EXPECT_EQ(accepted.Documento(), L"c.jpg");  // the file's own values stay

  // Accepting again keeps the second entry.
  TypeInto(L"txtReferenciaId", L"REF-2B");
  Accept();
  EXPECT_EQ(accepted.ReferenciaId(), L"REF-2B");

  // A PDF: the large view holds its name and path, shows no picture, the toolbar stays.
  bar.SetButtonState(z11, 0);
  ClickIcon(1);
  EXPECT_TRUE(c.PSelection->IsPDF());
  EXPECT_EQ(c.PSelection->Documento(), L"b.pdf");
  EXPECT_EQ(bar.ButtonState(z11), 0);
  EXPECT_EQ(c.cboCategoriaId->SelectedKey(), L"");
  EXPECT_EQ(c.txtReferenciaId->Text(), L"");

  // Showing the accepted thumbnail again puts its entry back in the controls, unchanged.
  ClickIcon(2);
  EXPECT_EQ(c.cboCategoriaId->SelectedKey(), L"3");
  EXPECT_EQ(c.cboGerenciaId->SelectedKey(), L"OP");
  EXPECT_EQ(c.cboTipoDocumentoId->SelectedKey(), L"2");
  EXPECT_EQ(c.txtReferenciaId->Text(), L"REF-2B");
  EXPECT_EQ(c.txtCBarra->Text(), L"779000");
  EXPECT_EQ(accepted.ReferenciaId(), L"REF-2B");
  EXPECT_EQ(screen.PSlide(0).ReferenciaId(), L"FIRST");

  // The shown file went away: its thumbnail is emptied by the refill and the accept
  // has nowhere to go.
  ASSERT_TRUE(DeleteFileW((source_ + L"\\c.jpg").c_str()));
  Find();
  Accept();
  EXPECT_EQ(States(), (std::vector<State>{State::Accepted, State::Loaded, State::Empty}));
}

TEST_F(IndexScreenTest, ImageButtonsAndTheViewerProgram) {
  Scan(L"a.jpg");
  Open();
  const auto& c = C();
  hosted::Toolbar& bar = *c.TBarMain;
  VkImage& view = *c.PSelection;
  ClickButton(L"BTN_PAN");  // nothing shown yet: empty name and path
  ClickButton(L"BTN_FIT");
  EXPECT_EQ(bar.ButtonState(bar.IndexOfKey(L"BTN_FIT")), 2);
  EXPECT_TRUE(view.FitMode());
  ClickButton(L"BTN_FIT");
  EXPECT_EQ(bar.ButtonState(bar.IndexOfKey(L"BTN_FIT")), 0);
  EXPECT_FALSE(view.FitMode());
  EXPECT_EQ(view.Zoom(), 1);
  ClickButton(L"BTN_ZOU");
  EXPECT_EQ(view.Zoom(), 1);
  Find();
  ClickIcon(0);
  ClickButton(L"BTN_ZIN");
  EXPECT_DOUBLE_EQ(view.Zoom(), 1.53);
  ClickButton(L"BTN_ZOU");
  EXPECT_DOUBLE_EQ(view.Zoom(), 0.53);
  view.setZoom(25);
  ClickButton(L"BTN_ZIN");
  EXPECT_EQ(view.Zoom(), 25);
  ClickButton(L"BTN_Z11");
  EXPECT_EQ(view.Zoom(), 1);
  ClickButton(L"BTN_PAN");
  EXPECT_EQ(launcher_.parameters,
            (std::vector<std::wstring>{L"F00:Ostrela - |F01:", L"F00:Ostrela - a.jpg|F01:" + source_ + L"\\a.jpg"}));
}

TEST_F(IndexScreenTest, ScrollingMovesTheStripAndStopsAtItsEnds) {
  for (int i = 0; i < 5; ++i) Scan(L"p" + std::to_wstring(i) + L".png");
  FDocumentosIndex& screen = Open();
  auto lefts = [&] {
    std::vector<double> at;
    for (int i = 0; i < screen.SlideCount(); ++i) at.push_back(screen.PSlide(i).left());
    return at;
  };
  const std::vector<double> start = lefts();
  test::Click(Find(L"cmdPrevious"), 5, 5);
  EXPECT_EQ(lefts(), start);
  test::Click(Find(L"cmdNext"), 5, 5);
  EXPECT_EQ(screen.PSlide(0).left(), -500);
  EXPECT_EQ(screen.PSlideState(4).left(), start[4] + 1590 - 500);
  test::Click(Find(L"cmdPrevious"), 5, 5);
  EXPECT_EQ(lefts(), start);
  // The last thumbnail (at 8300) stops the strip once its Left is within the inner
  // frame's 6425.
  for (int i = 0; i < 10; ++i) test::Click(Find(L"cmdNext"), 5, 5);
  EXPECT_EQ(screen.PSlide(4).left(), 6300);
  screen.Form_Resize();  // a layout starts the strip again at 0
  EXPECT_EQ(lefts(), start);
}

// --- the batch save ---

TEST_F(IndexScreenTest, SaveFilesEveryKeyedScanAndReloadsTheStrip) {
  Scan(L"a.jpg");
  Scan(L"b.pdf");
  Scan(L"c.png");
  Scan(L"d.tif");
  // A deleted document's readings stay behind: new ids start above them.
  Sql(L"Insert Into DocumentosLog (DocumentoId, Usuario, RegistroId) Values (500, 'jean', 1)");
  FDocumentosIndex& screen = Open();
  Find();
  TakeMessages();
  Key(0, L"REF-A");
  Key(1, L"", L"7790001");   // a bar code alone is enough
  Key(2, L"", L"");          // neither: passed over
  Key(3, L"REF-D");
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(TakeMessages(), std::vector<std::wstring>{kSaved});

  EXPECT_EQ(Column(L"Select DocumentoId || ' ' || Documento || ' ' || Path From Documentos Where DocumentoId >= 100 "
                   L"Order By DocumentoId"),
            (std::vector<std::wstring>{L"501 a.jpg " + store_ + L"\\00003\\00001\\00000000000000000501.jpg",
                                       L"502 b.pdf " + store_ + L"\\00003\\00001\\00000000000000000502.pdf",
                                       L"503 d.tif " + store_ + L"\\00003\\00001\\00000000000000000503.tif"}));
  EXPECT_EQ(Column(L"Select Mensaje From LogAcciones Order By EventoId"),
            (std::vector<std::wstring>{L"Se ha Catalogado el Documento Nro. [ 501 ] - [ a.jpg ]",
                                       L"Se ha Catalogado el Documento Nro. [ 502 ] - [ b.pdf ]",
                                       L"Se ha Catalogado el Documento Nro. [ 503 ] - [ d.tif ]"}));
  EXPECT_EQ(Column(L"Select Accion || ' ' || Detalle From LogAcciones Where EventoId = 1"),
            std::vector<std::wstring>{L"ALTA-CREACION 501"});
  EXPECT_EQ(Column(L"Select Campo01 From Documentos Where DocumentoId = 501"), std::vector<std::wstring>{L""});
  for (const wchar_t* stored : {L"501.jpg", L"502.pdf", L"503.tif"})
    EXPECT_NE(GetFileAttributesW((store_ + L"\\00003\\00001\\00000000000000000" + stored).c_str()),
              INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(InSource(L"a.jpg"));
  EXPECT_TRUE(InSource(L"c.png"));
  // The reload: the one file left is in thumbnail 0, loaded and enabled; the rest is empty.
  EXPECT_EQ(States(), (std::vector<State>{State::Loaded, State::Empty, State::Empty, State::Empty}));
  EXPECT_EQ(screen.PSlide(0).Documento(), L"c.png");
  EXPECT_TRUE(screen.PSlide(0).enabled());
  EXPECT_EQ(TakeMessages(), std::vector<std::wstring>{});

  // A second save finds nothing to file and still tells so.
  ClickButton(L"BTN_SAV");
  EXPECT_EQ(TakeMessages(), std::vector<std::wstring>{kSaved});
  EXPECT_EQ(Column(L"Select Count(*) From Documentos Where DocumentoId >= 100"), std::vector<std::wstring>{L"3"});
}

TEST_F(IndexScreenTest, SaveStopsBeforeAnythingMovesWhenTheStoreCannotTakeIt) {
  Scan(L"a.jpg");
  Scan(L"b.jpg");
  FDocumentosIndex& screen = Open();
  Find();
  TakeMessages();
  Key(0, L"REF-A");
  Key(1, L"REF-B");
  for (const std::wstring& root : {store_ + L"\\missing", std::wstring(L"relative\\store"), std::wstring()}) {
    Shared().gPathDestino = root;
    ClickButton(L"BTN_SAV");
    const std::vector<std::wstring> shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u) << testing::PrintToString(root);
    EXPECT_EQ(shown[0].rfind(kSaveFailed, 0), 0u) << testing::PrintToString(shown[0]);
    EXPECT_TRUE(InSource(L"a.jpg") && InSource(L"b.jpg"));
    EXPECT_EQ(screen.slideState(0), State::Accepted);
  }
  // A stored file already where the second document would go: the first is filed, the
  // second keeps its file, its entry and its icon, and nothing names it in the database.
  Shared().gPathDestino = store_;
  const long first = std::stol(Column(L"Select Max(M) + 1 From (Select Max(DocumentoId) As M From Documentos "
                                      L"Union All Select Max(DocumentoId) From DocumentosLog) A")[0]);
  const std::wstring folder = store_ + L"\\00003\\00001";
  CreateDirectoryW((store_ + L"\\00003").c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t taken[64];
  swprintf(taken, 64, L"\\%020ld.jpg", first + 1);
  ASSERT_TRUE(test::WriteBytes(folder + taken, "someone else's"));
  ClickButton(L"BTN_SAV");
  const std::vector<std::wstring> shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find(L"ya existe"), std::wstring::npos) << testing::PrintToString(shown[0]);
  EXPECT_NE(shown[0].find(L"b.jpg"), std::wstring::npos);
  EXPECT_EQ(States(), (std::vector<State>{State::Catalogued, State::Accepted}));
  EXPECT_TRUE(InSource(L"b.jpg"));
  EXPECT_EQ(test::ReadBytes(folder + taken), "someone else's");
  EXPECT_EQ(Column(L"Select Documento From Documentos Where DocumentoId >= " + std::to_wstring(first)),
            std::vector<std::wstring>{L"a.jpg"});
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), std::vector<std::wstring>{L"1"});
}

TEST_F(IndexScreenTest, AFailedInsertPutsTheFileBackAndStopsThePass) {
  Scan(L"a.jpg");
  Scan(L"b.jpg");
  Scan(L"c.jpg");
  // The database refuses a document whose reference is FALLA.
  Sql(L"Create Trigger Refuse Before Insert On Documentos When New.ReferenciaId = 'FALLA' "
      L"Begin Select Raise(Abort, 'rechazado por la base'); End");
  FDocumentosIndex& screen = Open();
  Find();
  TakeMessages();
  Key(0, L"REF-A");
  Key(1, L"FALLA");
  Key(2, L"REF-C");
  ClickButton(L"BTN_SAV");
  const std::vector<std::wstring> shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind(kSaveFailed, 0), 0u);
  EXPECT_NE(shown[0].find(L"rechazado por la base"), std::wstring::npos) << testing::PrintToString(shown[0]);
  EXPECT_NE(shown[0].find(L"b.jpg"), std::wstring::npos);
  EXPECT_EQ(Column(L"Select Documento From Documentos Where DocumentoId >= 100"), std::vector<std::wstring>{L"a.jpg"});
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), std::vector<std::wstring>{L"1"});
  EXPECT_TRUE(InSource(L"b.jpg"));
  EXPECT_TRUE(InSource(L"c.jpg"));
  EXPECT_EQ(States(), (std::vector<State>{State::Catalogued, State::Accepted, State::Accepted}));
  EXPECT_EQ(screen.PSlide(1).ReferenciaId(), L"FALLA");
  EXPECT_TRUE(C().VkProgressBar->visible());  // not reloaded
}

TEST_F(IndexScreenTest, ACloseDuringTheSaveStopsBetweenTwoDocuments) {
  Scan(L"a.jpg");
  Scan(L"b.jpg");
  Scan(L"c.jpg");
  FDocumentosIndex& screen = Open();
  Find();
  TakeMessages();
  Key(0, L"REF-A");
  Key(1, L"REF-B");
  Key(2, L"REF-C");
  // Waiting in the queue as the save starts: a find, a thumbnail click (both ignored
  // while the save runs), then the host's Kill.
  PostButton(L"BTN_FIN");
  const HWND icon = Find(L"PSlideState(0)");
  PostMessageW(icon, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(icon, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  host_.onPosted = [this] { screen_->UnloadScreen(); };
  PostMessageW(host_.hwnd, WM_APP, 0, 0);
  const long shownBefore = screen.SlideIndex();
  ClickButton(L"BTN_SAV");
  test::Pump();
  EXPECT_FALSE(screen.loaded());
  EXPECT_FALSE(Find(L"FDocumentosIndex"));
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(screen.SlideIndex(), shownBefore);
  // Exactly the first document was filed, whole: its row, its stored file, its log.
  EXPECT_EQ(Column(L"Select Documento From Documentos Where DocumentoId >= 100"), std::vector<std::wstring>{L"a.jpg"});
  EXPECT_EQ(Column(L"Select Count(*) From LogAcciones"), std::vector<std::wstring>{L"1"});
  EXPECT_FALSE(InSource(L"a.jpg"));
  EXPECT_TRUE(InSource(L"b.jpg") && InSource(L"c.jpg"));
  screen_.reset();
}

}  // namespace
