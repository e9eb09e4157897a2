// Document lists benchmark (run by hand under Wine with the data-access component
// registered, never by CTest):
//   1. Opening R01VIE on 100,000 documents of which 20,000 are unread: the unread query
//      and the fill of the list, against plain SQLite running the same statement and
//      making a Variant of every field.
//   2. A search that returns all 100,000 documents, the same way.
//   3. Selecting a row whose stored file is an A4 scan (2480 x 3508, jpg and tif): the
//      row read and the preview shown, against decoding (scaled, through the imaging
//      component) the band of the page the preview holds for its window.
// Usage: consult_bench.exe [documents] [unread]
#include <windows.h>
#include <sqlite3.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "bench/support/bench_variants.h"
#include "com/com_ptr.h"
#include "consult/list_query.h"
#include "consult/search_screen.h"
#include "consult/view_screen.h"
#include "dataaccess/sqlite_db.h"
#include "hosted/sample_images.h"
#include "hosted/window_driver.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_state.h"

namespace {

using vk::com::ComPtr;
using vk::bench::Check;
using vk::bench::OpenWithSchema;
using vk::bench::Now;
using vk::bench::ReadScript;
using vk::bench::Report;

const wchar_t kKey[] = L"ListsBench";
const wchar_t kReader[] = L"lector";

void MakeDatabase(const std::wstring& path, long documents, long unread) {
  DeleteFileW(path.c_str());
  sqlite3* db = OpenWithSchema(path);
  Check(sqlite3_exec(db, ReadScript("application_data.sql").c_str(), nullptr, nullptr, nullptr), db, "data");
  const std::string fill =
      "DELETE FROM Documentos; DELETE FROM DocumentosLog;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(documents) + ") "
      "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, Path,"
      " Campo01, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07, Campo08, Campo09, Campo10, Fecha, CBarra,"
      " ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta) "
      "SELECT i, CAST(1 + i % 3 AS TEXT), CAST(1 + i % 2 AS TEXT), CASE i % 2 WHEN 0 THEN 'AD' ELSE 'OP' END,"
      " 1 + i % 3, 'scan_' || i || '.tif', printf('C:\\Ostrela\\Documentos\\%05d\\%05d\\%020d.tif', 1 + i % 3,"
      " 1 + i % 2, i), 'Valor 1 del documento ' || i, 'Valor 2 del documento ' || i, 'Valor 3 del documento ' || i,"
      " 'Valor 4 del documento ' || i, 'Valor 5 del documento ' || i, 'Valor 6 del documento ' || i,"
      " 'Valor 7 del documento ' || i, 'Valor 8 del documento ' || i, 'Valor 9 del documento ' || i,"
      " 'Valor 10 del documento ' || i, '2026-12-06 00:00:00', '779' || (1000000 + i), 'REF-' || i,"
      " 'bench - Fecha : [ 07/12/2026 10:00:00]' || char(13, 10) || 'Documento Ingresado al Sistema' ||"
      " char(13, 10, 13, 10), '2026-12-07 00:00:00', 0, 'bench' FROM n;"
      "INSERT INTO DocumentosLog (DocumentoId, Usuario, RegistroId, Fecha) SELECT DocumentoId, 'lector', 1,"
      " '2026-12-07 10:00:00' FROM Documentos WHERE DocumentoId > " + std::to_string(unread) + ";";
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  Check(sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr), db, "documents");
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_close(db);
}

// Plain SQLite: the statement stepped to its end, a Variant made of every field.
double ReadFloor(const std::wstring& path, const std::wstring& statement, long& rows) {
  sqlite3* db = nullptr;
  sqlite3_open(vk::data::Narrow(path).c_str(), &db);
  const double start = Now();
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare16_v2(db, statement.c_str(), -1, &stmt, nullptr), db, "prepare");
  const std::vector<bool> isDate = vk::bench::DateColumns(stmt);
  rows = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    vk::bench::MakeRowVariants(stmt, isDate);
    ++rows;
  }
  sqlite3_finalize(stmt);
  const double elapsed = Now() - start;
  sqlite3_close(db);
  return elapsed;
}

// The best of three openings: each on a fresh screen, as the user meets it. The
// unread list fills while it opens; the search fills on its first "BTN_FIN".
template <class Screen>
double TimeFirstFill(HWND host, bool fillsOnOpen, long& rows);

double BestFloor(const std::wstring& path, const std::wstring& statement, long& rows) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) best = std::min(best, ReadFloor(path, statement, rows));
  return best;
}

// The imaging component alone: the page scaled to `shown`, the part `part` copied out.
double DecodeFloor(const std::wstring& file, vk::hosted::PixelSize shown, RECT part) {
  const double start = Now();
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapScaler> scaler;
  ComPtr<IWICFormatConverter> converter;
  CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                   factory.put_void());
  factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                     decoder.put());
  decoder->GetFrame(0, frame.put());
  factory->CreateBitmapScaler(scaler.put());
  scaler->Initialize(frame.get(), static_cast<UINT>(shown.width), static_cast<UINT>(shown.height),
                     WICBitmapInterpolationModeFant);
  factory->CreateFormatConverter(converter.put());
  converter->Initialize(scaler.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                        WICBitmapPaletteTypeCustom);
  const WICRect rect{part.left, part.top, part.right - part.left, part.bottom - part.top};
  std::vector<BYTE> pixels(static_cast<size_t>(rect.Width) * 4 * static_cast<size_t>(rect.Height));
  converter->CopyPixels(&rect, static_cast<UINT>(rect.Width * 4), static_cast<UINT>(pixels.size()), pixels.data());
  return Now() - start;
}

HWND MakeHost() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ListsBenchHost";
  RegisterClassW(&wc);
  RECT r{0, 0, 765, 562};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND host = CreateWindowW(L"ListsBenchHost", L"Bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(host, SW_SHOWNORMAL);
  return host;
}

template <class Screen>
std::shared_ptr<Screen> OpenScreen(HWND host);

template <class Screen>
double TimeFirstFill(HWND host, bool fillsOnOpen, long& rows) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    std::shared_ptr<Screen> screen;
    double elapsed = 0;
    if (fillsOnOpen) {
      elapsed = vk::bench::Seconds([&] { screen = OpenScreen<Screen>(host); });
    } else {
      screen = OpenScreen<Screen>(host);
      elapsed = vk::bench::Seconds([&] { screen->LoadDocuments(); });
    }
    best = std::min(best, elapsed);
    rows = screen->controls().GRDetail->DataRowCount();
    screen->Unload();
  }
  return best;
}

template <class Screen>
std::shared_ptr<Screen> OpenScreen(HWND host) {
  auto screen = vk::Form::Load<Screen>();
  screen->SetHWndContainer(static_cast<long>(reinterpret_cast<LONG_PTR>(host)));
  screen->SetMode(L"ADM");
  if (!screen->MakeForm()) {
    std::fprintf(stderr, "the screen did not open (is QdPoolConnection.dll registered?)\n");
    ExitProcess(3);
  }
  return screen;
}

}  // namespace

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const long documents = argc > 1 ? std::max(1L, std::atol(argv[1])) : 100000;
  const long unread = argc > 2 ? std::max(1L, std::atol(argv[2])) : documents / 5;
  const std::wstring folder = vk::test::FreshFolder(L"lists_bench");
  const std::wstring database = folder + L"\\lists.db";
  MakeDatabase(database, documents, unread);
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\QdPoolConnection\\Connections", kKey, REG_SZ, database.c_str(),
                  static_cast<DWORD>((database.size() + 1) * sizeof(wchar_t)));
  vk::HostSeams seams = vk::Seam<vk::HostSeams>::Real();
  seams.logonName = [] { return std::wstring(kReader); };
  vk::ScopedHostSeams useSeams(seams);
  vk::SharedState& shared = vk::Shared();
  shared.gApplicationName = kKey;
  shared.gIsAdmin = true;
  shared.gCategorias = L"ALL";
  const vk::consult::Reader reader{kReader, true, L"ALL"};
  HWND host = MakeHost();
  std::printf("Document lists on %ld documents, %ld unread\n", documents, unread);

  long rows = 0, floorRows = 0;
  {
    const double ours = TimeFirstFill<vk::consult::FDocumentosView>(host, true, rows);
    const double floor = BestFloor(database, vk::consult::UnreadStatement(reader), floorRows);
    if (floorRows != rows) std::printf("rows differ: %ld listed, %ld read\n", rows, floorRows);
    Report("R01VIE opening: query + fill (rows)", static_cast<int>(rows), ours, floor);
  }
  {
    const double ours = TimeFirstFill<vk::consult::FDocumentosSearchS>(host, false, rows);
    const double floor = BestFloor(database, vk::consult::SearchStatement(reader, true, {}), floorRows);
    if (floorRows != rows) std::printf("rows differ: %ld listed, %ld read\n", rows, floorRows);
    Report("B01F01 search: query + fill (rows)", static_cast<int>(rows), ours, floor);
  }
  auto search = OpenScreen<vk::consult::FDocumentosSearchS>(host);
  search->LoadDocuments();
  // The preview: rows 1 and 2 show A4 scans; the preview pane is shown.
  const auto& c = search->controls();
  vk::test::ClickIn(c.TBarMain->inner(), c.TBarMain->ButtonRect(c.TBarMain->IndexOfKey(L"BTN_VIE")));
  vk::grid::GridControl& grid = *c.GRDetail;
  for (vk::test::ImageFormat format : {vk::test::ImageFormat::Jpg, vk::test::ImageFormat::Tif}) {
    const std::wstring page = folder + L"\\page." + vk::test::ExtensionOf(format);
    vk::test::WriteSamplePage(page, format, 2480, 3508);
    const int rowA = grid.Model().DisplayRowOf(0), rowB = grid.Model().DisplayRowOf(1);
    grid.SetCellValue(0, L"Path", vk::Variant(page));
    grid.SetCellValue(1, L"Path", vk::Variant(page));
    const int selections = 10;
    double ours = 0, floor = 0;
    for (int i = 0; i < selections; ++i) {
      const double start = Now();
      grid.Model().SetCurrentDisplayRow(i % 2 ? rowA : rowB);
      UpdateWindow(c.PSelection->hwnd());
      UpdateWindow(c.PSelection->iImage().hwnd());
      ours += Now() - start;
      vk::hosted::ImageViewer& viewer = c.PSelection->iImage();
      floor += DecodeFloor(page, viewer.ShownSize(), viewer.HeldPart());
    }
    const std::string what = std::string("select a row, A4 ") + (format == vk::test::ImageFormat::Jpg ? "jpg" : "tif");
    Report(what.c_str(), selections, ours / selections, floor / selections);
  }
  search->Unload();
  DestroyWindow(host);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\QdPoolConnection\\Connections", kKey);
  CoUninitialize();
  return 0;
}
