// The cataloguing screen's benchmark (run by hand under Wine and a display, never by
// CTest), each figure against its floor in the same run:
//   1. opening the screen on a folder of 99 scans (MakeForm), against as many bare
//      windows as the screen has plus the same SQL on plain SQLite;
//   2. the find over 99 A4 pages at 300 dpi in every accepted format: the time until
//      the strip is shown with its visible thumbnails painted and until all 99 are
//      decoded, against decoding the same files to the same thumbnail size in one
//      loop, and the working set the find adds;
//   3. scrolling the strip, against moving as many bare windows (one deferred move a
//      step, then painting);
//   4. saving 99 documents, against 99 x (rename + insert of the document + insert of
//      the log row) on plain SQLite, each insert its own transaction, on the same disk;
//      the run checks 99 rows, 99 stored files, 99 log rows and an empty source folder;
//   5. reading the ids a store of 20,000 files holds (what a save pass does once before
//      its first document), against listing the same folders bare.
// Usage: index_screen_bench.exe
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "bench/support/bench_timing.h"
#include "capture/document_record.h"
#include "capture/document_store.h"
#include "capture/index_screen.h"
#include "hosted/image_decoder.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "runtime/do_events.h"
#include "scan_writer.h"
#include "screen_kit/audit_log.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using capture::FDocumentosIndex;

const wchar_t kKey[] = L"VkIndexBench";

double WorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.WorkingSetSize / (1024.0 * 1024.0);
}

BOOL CALLBACK CountOne(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int CountWindows(HWND root) {
  int count = 1;
  EnumChildWindows(root, CountOne, reinterpret_cast<LPARAM>(&count));
  return count;
}

int FilesIn(const std::wstring& folder) {
  int count = 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

int FilesUnder(const std::wstring& folder) {
  int count = FilesIn(folder);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return count;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != L'.')
      count += FilesUnder(folder + L"\\" + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND MakeHost(const wchar_t* className) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassW(&wc);
  return CreateWindowW(className, L"", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 765, 562, nullptr, nullptr,
                       wc.hInstance, nullptr);
}

void Step(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return;
  while (sqlite3_step(stmt) == SQLITE_ROW)
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) sqlite3_column_text(stmt, c);
  sqlite3_finalize(stmt);
}

// The statements the screen's MakeForm sends, on plain SQLite: the field definitions,
// each text box's value list and each combo's list (twice: the editors' build, then
// the combo loader), and the four catalogue lists.
void RunScreenSql(sqlite3* db) {
  Step(db, "Select Distinct Nombre , DataType , ScreenType , RelationSentence , Alignment , Decimales , ToolTipText "
           "From TipoDocumentosDetalle");
  sqlite3_stmt* definitions = nullptr;
  sqlite3_prepare_v2(db,
                     "Select Distinct Nombre, ScreenType, Coalesce(RelationSentence, '') From TipoDocumentosDetalle",
                     -1, &definitions, nullptr);
  while (sqlite3_step(definitions) == SQLITE_ROW) {
    const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(definitions, 0));
    const std::string kind = reinterpret_cast<const char*>(sqlite3_column_text(definitions, 1));
    const std::string relation = reinterpret_cast<const char*>(sqlite3_column_text(definitions, 2));
    if (relation.empty() || relation.find('|') != std::string::npos) continue;
    if (kind == "TextBox") Step(db, "Select Distinct " + name + " As D_" + name + " From ( " + relation + " ) A");
    if (kind == "ComboBox") {
      Step(db, relation);
      Step(db, relation);
    }
  }
  sqlite3_finalize(definitions);
  for (const char* sql :
       {"Select CategoriaId , Categoria From TipoCategorias Where IsEnabled = 1 Order By CategoriaId",
        "Select SubCategoriaId , SubCategoria From TipoSubCategorias Where IsEnabled = 1 Order By SubCategoriaId",
        "Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1 Order By GerenciaId",
        "Select TipoDocumentoId , TipoDocumento From TipoDocumentos Where IsEnabled = 1 Order By TipoDocumentoId"})
    Step(db, sql);
}

// A database file of our own for the floors: a copy of the sample one.
sqlite3* OpenFloorDatabase(const std::wstring& path) {
  CopyFileW((test::BinFolder() + L"\\data\\Ostrela.db").c_str(), path.c_str(), FALSE);
  sqlite3* db = nullptr;
  sqlite3_open(vk::Utf8(path).c_str(), &db);
  return db;
}

class Bench {
 public:
  Bench() {
    Shared() = SharedState{};
    Shared().gApplicationName = kKey;
    Shared().gObjectId = L"I01CAT";
    Shared().gLoadMax = 99;
    host_ = MakeHost(L"VkIndexBenchHost");
  }
  ~Bench() { DestroyWindow(host_); }

  FDocumentosIndex& Open(double* seconds = nullptr) {
    if (screen_) screen_->Unload();
    test::Pump();
    screen_ = Form::Load<FDocumentosIndex>();
    screen_->SetHWndContainer(static_cast<long>(reinterpret_cast<LONG_PTR>(host_)));
    screen_->SetMode(L"CAT");
    const double start = bench::Now();
    screen_->MakeForm();
    test::Pump();
    if (seconds) *seconds = bench::Now() - start;
    return *screen_;
  }
  void Click(const wchar_t* key) {
    hosted::Toolbar& bar = *screen_->controls().TBarMain;
    test::ClickIn(GetWindow(bar.hwnd(), GW_CHILD), bar.ButtonRect(bar.IndexOfKey(key)));
  }
  HWND host() const { return host_; }
  FDocumentosIndex& screen() { return *screen_; }

 private:
  HWND host_;
  std::shared_ptr<FDocumentosIndex> screen_;
};

// Records when each watched thumbnail's viewer has painted a decoded picture.
struct PaintWatch {
  std::vector<HWND> windows;
  std::vector<bool> painted;
  double done = 0;
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    const LRESULT result = DefSubclassProc(w, m, wp, lp);
    if (m == WM_PAINT) reinterpret_cast<PaintWatch*>(self)->Painted(w);
    return result;
  }
  void Watch(const std::vector<HWND>& viewers) {
    windows = viewers;
    painted.assign(viewers.size(), false);
    for (HWND w : windows) SetWindowSubclass(w, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  void Painted(HWND w) {
    for (size_t i = 0; i < windows.size(); ++i) {
      auto* viewer = static_cast<hosted::ImageViewer*>(Control::FromWindow(w));
      if (windows[i] == w && viewer && viewer->HasImage()) painted[i] = true;
    }
    if (done == 0 && std::find(painted.begin(), painted.end(), false) == painted.end()) done = bench::Now();
  }
  ~PaintWatch() {
    for (HWND w : windows) RemoveWindowSubclass(w, Proc, 1);
  }
};

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  test::TestDatabases databases(kKey);
  double messageAt = 0;
  ScopedMessageBox answers([&](const std::wstring&, long, const std::wstring&) {
    messageAt = bench::Now();
    return msg::OK;
  });
  Bench bench;
  const std::wstring pages = test::FreshFolder(L"index_bench_pages");
  const std::wstring store = test::FreshFolder(L"index_bench_store");
  Shared().gPathDestino = store;
  Shared().gPathOrigen = pages;
  std::printf("writing 102 A4 pages at 300 dpi (bmp, gif, jpg, png, tif, pdf)...\n");
  tools::WriteSampleScans(pages, 17, tools::PageSize{2480, 3508});

  // 1. Opening the screen on 99 scans.
  double opening = 0;
  FDocumentosIndex& screen = bench.Open(&opening);
  const int windows = CountWindows(screen.hwnd());
  sqlite3* floorDb = OpenFloorDatabase(test::FreshFolder(L"index_bench_floor") + L"\\floor.db");
  const double openingFloor = bench::Seconds([&] {
    HWND parent = MakeHost(L"VkIndexBenchBare");
    for (int i = 1; i < windows; ++i)
      CreateWindowW(L"VkIndexBenchBare", L"", WS_CHILD | WS_VISIBLE, (i % 40) * 10, (i / 40) * 10, 120, 120, parent,
                    nullptr, nullptr, nullptr);
    RunScreenSql(floorDb);
    test::Pump();
    DestroyWindow(parent);
  });
  std::printf("%d thumbnails, %d windows\n", screen.SlideCount(), windows);
  bench::Report("opening the screen (99 thumbnails)", 1, opening, openingFloor);

  // 2. The find over 99 pages: ours first, then the bare decoding loop.
  std::vector<HWND> visible;
  const double stripWidth = screen.controls().VkImageSlideInt->width();
  for (int i = 0; i < screen.SlideCount() && screen.PSlide(i).left() < stripWidth; ++i)
    visible.push_back(screen.PSlide(i).iImage().hwnd());
  PaintWatch watch;
  watch.Watch(visible);
  const double memoryBefore = WorkingSetMb();
  const double findStart = bench::Now();
  bench.Click(L"BTN_FIN");
  const double found = messageAt - findStart;
  const double shown = watch.done - findStart;
  const double memoryAfter = WorkingSetMb();
  const hosted::PixelSize box{screen.PSlide(0).clientWidth(), screen.PSlide(0).clientHeight()};
  std::vector<std::wstring> images;
  for (int i = 0; i < screen.SlideCount(); ++i)
    if (!screen.PSlide(i).IsPDF()) images.push_back(screen.PSlide(i).Path());
  const double decodeFloor = bench::Seconds([&] {
    for (const std::wstring& path : images) DeleteObject(hosted::DecodeThumbnail(path, box));
  });
  const double visibleFloor = bench::Seconds([&] {
    for (size_t i = 0; i < visible.size(); ++i)
      if (!screen.PSlide(static_cast<int>(i)).IsPDF())
        DeleteObject(hosted::DecodeThumbnail(screen.PSlide(static_cast<int>(i)).Path(), box));
  });
  std::printf("%zu pages decoded into %dx%d thumbnails (%zu visible), the rest pdf\n", images.size(), box.width,
              box.height, visible.size());
  bench::Report("find: visible strip painted", static_cast<int>(visible.size()), shown, visibleFloor);
  std::printf("  visible strip after %.0f ms (target 500 ms)\n", shown * 1000);
  bench::Report("find: all thumbnails decoded", screen.SlideCount(), found, decodeFloor);
  std::printf("  working set %.1f MB -> %.1f MB: +%.1f MB (target 30 MB)\n", memoryBefore, memoryAfter,
              memoryAfter - memoryBefore);

  // 3. Scrolling: 12 steps along the strip and back.
  const int steps = 12;
  const double scrolling = bench::Seconds([&] {
    for (int i = 0; i < steps; ++i) test::Click(screen.controls().cmdNext->hwnd(), 4, 4);
    for (int i = 0; i < steps; ++i) test::Click(screen.controls().cmdPrevious->hwnd(), 4, 4);
  });
  const int moved = 2 * screen.SlideCount();
  HWND strip = MakeHost(L"VkIndexBenchStrip");
  std::vector<HWND> bare;
  for (int i = 0; i < moved; ++i)
    bare.push_back(CreateWindowW(L"VkIndexBenchStrip", L"", WS_CHILD | WS_VISIBLE, i * 70, 10, 125, 127, strip,
                                 nullptr, nullptr, nullptr));
  const double scrollFloor = bench::Seconds([&] {
    for (int step = 0; step < 2 * steps; ++step) {
      const int dx = step < steps ? -33 : 33;
      HDWP batch = BeginDeferWindowPos(moved);
      for (HWND w : bare) {
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, strip, reinterpret_cast<POINT*>(&r), 2);
        batch = DeferWindowPos(batch, w, nullptr, r.left + dx, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      EndDeferWindowPos(batch);
      test::Pump();
    }
  });
  DestroyWindow(strip);
  bench::Report("scrolling the strip (a step)", 2 * steps, scrolling / (2 * steps), scrollFloor / (2 * steps));

  // 4. Saving 99 documents from a folder of 99 small scans.
  const std::wstring source = test::FreshFolder(L"index_bench_source");
  Shared().gPathOrigen = source;
  for (int i = 0; i < 99; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"\\page_%03d.png", i);
    test::WriteSamplePage(source + name, test::ImageFormat::Png, 124, 175);
  }
  FDocumentosIndex& saving = bench.Open();
  bench.Click(L"BTN_FIN");
  for (int i = 0; i < saving.SlideCount(); ++i) {
    VkImage& slide = saving.PSlide(i);
    slide.setCategoriaId(L"3");
    slide.setSubCategoriaId(L"1");
    slide.setGerenciaId(L"OP");
    slide.setTipoDocumentoId(2);
    slide.setReferenciaId(L"BENCH-" + std::to_wstring(i));
  }
  const double saveStart = bench::Now();
  messageAt = 0;
  bench.Click(L"BTN_SAV");
  const double saved = messageAt - saveStart;
  auto count = [&](const wchar_t* sql) {
    auto data = DataAccess::Create();
    auto rs = data->GetData(kKey, sql);
    return rs ? rs->Field(0L).toLong() : -1;
  };
  const long rows = count(L"Select Count(*) From Documentos Where ReferenciaId Like 'BENCH-%'");
  const long logRows = count(L"Select Count(*) From LogAcciones Where Mensaje Like 'Se ha Catalogado%'");
  const int storedFiles = FilesUnder(store);
  const int left = FilesIn(source);

  // The floor: the same files moved again (store to a second folder), and the two
  // inserts, each its own transaction as each procedure call is.
  const std::wstring floorStore = test::FreshFolder(L"index_bench_floor_store");
  sqlite3_exec(floorDb, "Delete From Documentos; Delete From LogAcciones;", nullptr, nullptr, nullptr);
  sqlite3_stmt* document = nullptr;
  sqlite3_stmt* log = nullptr;
  sqlite3_prepare_v2(floorDb,
                     "Insert Into Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, "
                     "Documento, Path, Campo01, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07, Campo08, Campo09, "
                     "Campo10, Fecha, CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta) Values "
                     "(?1, '3', '1', 'OP', 2, ?2, ?3, '', '', '', '', '', '', '', '', '', '', '2026-01-01', '', ?4, "
                     "'obs', '2026-01-01', 0, 'bench')",
                     -1, &document, nullptr);
  sqlite3_prepare_v2(floorDb,
                     "Insert Into LogAcciones (EventoId, ModoDetalle, ComponentId, ComponentName, TipoAccion, Accion, "
                     "Detalle, Mensaje, Extra, EquipoId, UsuarioId, Fecha) Values (?1, 1, 'I01CAT', 'Catalogacion', 2, "
                     "'ALTA-CREACION', ?2, ?3, '', 'PC', 'bench', '2026-01-01')",
                     -1, &log, nullptr);
  std::vector<std::wstring> storedPaths;
  for (long id = 100; id < 100 + rows; ++id) {
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\00003\\00001\\%020ld.png", store.c_str(), id);
    storedPaths.push_back(path);
  }
  const double saveFloor = bench::Seconds([&] {
    for (size_t i = 0; i < storedPaths.size(); ++i) {
      const std::wstring to = floorStore + L"\\" + std::to_wstring(i) + L".png";
      MoveFileExW(storedPaths[i].c_str(), to.c_str(), MOVEFILE_COPY_ALLOWED);
      const std::string id = std::to_string(100 + i), name = "page_" + std::to_string(i) + ".png";
      const std::string stored = vk::Utf8(to), ref = "BENCH-" + std::to_string(i);
      sqlite3_bind_text(document, 1, id.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(document, 2, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(document, 3, stored.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(document, 4, ref.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(document);
      sqlite3_reset(document);
      const std::string message = "Se ha Catalogado el Documento Nro. [ " + id + " ] - [ " + name + " ]";
      sqlite3_bind_text(log, 1, id.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(log, 2, id.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(log, 3, message.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(log);
      sqlite3_reset(log);
    }
  });
  sqlite3_finalize(document);
  sqlite3_finalize(log);
  sqlite3_close(floorDb);
  bench::Report("saving 99 documents", static_cast<int>(rows), saved, saveFloor);
  std::printf("  %ld rows, %d stored files, %ld log rows, %d files left in the source folder\n", rows, storedFiles,
              logRows, left);
  // Where the save's time goes beyond the floor: the data calls alone, as the save makes
  // them (the next id, the document's procedure, its action-log entry, which makes a
  // data object of its own), with no file moved and no window touched.
  const double logWriter = bench::Seconds([] {
    for (int i = 0; i < 99; ++i) LogAcciones_Add(1, action::Catalogued, L"0", L"bench", L"");
  });
  const double dataCalls = bench::Seconds([&] {
    auto data = DataAccess::Create();
    for (int i = 0; i < 99; ++i) {
      capture::DocumentRecord record;
      auto next = data->GetData(kKey, L"Select (Coalesce(Max(DocumentoId),0)+1) From Documentos");
      record.DocumentoId = next ? next->Field(0L).toLong() : 0;
      record.CategoriaId = L"3";
      record.SubCategoriaId = L"1";
      record.GerenciaId = L"OP";
      record.TipoDocumentoId = 2;
      record.Documento = L"page.png";
      record.Path = store + L"\\page.png";
      record.ReferenciaId = L"DATA-" + std::to_wstring(i);
      capture::ExecuteDocumentProcedure(*data, capture::kDocumentosAdd, record);
      LogAcciones_Add(1, action::Catalogued, L"0", L"bench", L"");
    }
  });
  std::printf("  of which the data calls alone: %.0f ms (the action log's writer %.0f ms for 99 entries)\n",
              dataCalls * 1000, logWriter * 1000);
  // 5. What a save pass reads of a large store once, before its first document: the
  // ids every stored file holds, against listing the same folders bare.
  const std::wstring bigStore = test::FreshFolder(L"index_bench_big_store");
  constexpr int kFolders = 20, kFilesPerFolder = 1000;
  std::vector<std::wstring> storeFolders;
  for (int f = 0; f < kFolders; ++f) {
    wchar_t folder[MAX_PATH];
    swprintf(folder, MAX_PATH, L"%ls\\%05d", bigStore.c_str(), f % 4 + 1);
    CreateDirectoryW(folder, nullptr);
    swprintf(folder, MAX_PATH, L"%ls\\%05d\\%05d", bigStore.c_str(), f % 4 + 1, f / 4 + 1);
    CreateDirectoryW(folder, nullptr);
    storeFolders.push_back(folder);
    for (int i = 0; i < kFilesPerFolder; ++i) {
      wchar_t name[MAX_PATH];
      swprintf(name, MAX_PATH, L"%ls\\%020d.png", folder, f * kFilesPerFolder + i + 1);
      CloseHandle(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
  }
  bool allIds = true;
  const double idsRead = bench::Seconds([&] {
    const capture::StoredIds ids = capture::StoredIds::Read(bigStore);
    allIds = ids.Holds(1) && ids.Holds(kFolders * kFilesPerFolder) && !ids.Holds(kFolders * kFilesPerFolder + 1);
  });
  const double listingFloor = bench::Seconds([&] {
    for (const std::wstring& folder : storeFolders) FilesIn(folder);
  });
  bench::Report("the store's ids read once a pass", kFolders * kFilesPerFolder, idsRead, listingFloor);
  if (!allIds) std::printf("  not every stored id was read!\n");

  const bool whole = rows == 99 && storedFiles == 99 && logRows == 99 && left == 0 && allIds;
  if (!whole) std::printf("  the save is not whole!\n");
  CoUninitialize();
  return whole ? 0 : 1;
}
