// Search picker benchmark (run by hand under Wine and a display, never by CTest):
//   - open: load the picker on "Select * From Documentos" over 100,000 documents, run
//     the query (at most 500 rows, newest first), build both grids and show the first
//     page of 20, until the window is activated;
//   - last page: the click on ">>" until that page is filled;
// each against the floor of plain SQLite stepping the same 500 rows and making every
// field's value. The median of several rounds is reported.
// Usage: picker_bench.exe [documents] [rounds]
#include <windows.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "com/com_ptr.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/sqlite_db.h"
#include "runtime/timer.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace {

using vk::bench::Check;
using vk::bench::OpenWithSchema;
using vk::bench::Median;
using vk::bench::Now;
using vk::bench::ReadScript;
using vk::com::ComPtr;

void Fill(const std::wstring& path, long documents) {
  sqlite3* db = OpenWithSchema(path);
  const std::string insert =
      "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, "
      "Path, Campo01, Campo02, Fecha, CBarra, ReferenciaId, FechaAlta, IsEnabled, UsuarioAlta) "
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(documents) + ") "
      "SELECT i, '1', '1', 'AD', 1 + i % 3, 'doc' || i || '.tif', 'C:\\Ostrela\\' || i || '.tif', "
      "'Campo uno ' || i, 'Campo dos', '2026-03-01 00:00:00', '779' || i, 'REF-' || i, "
      "'2026-12-07 09:00:00', 1, 'bench' FROM n";
  Check(sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr), db, "fill");
  sqlite3_close(db);
}

// Plain SQLite: the same 500 rows stepped and every field made into a VARIANT.
double Floor(const std::wstring& path) {
  const double start = Now();
  const long rows = vk::bench::ReadAllIntoVariants(
      vk::data::Narrow(path), "SELECT * FROM (SELECT * FROM Documentos) A ORDER BY DocumentoId DESC LIMIT 500");
  const double elapsed = Now() - start;
  if (rows != 500) fprintf(stderr, "floor read %ld rows\n", rows);
  return elapsed;
}

struct Round {
  double open = 0, last = 0;
  long total = 0, lastPage = 0;
};

Round RunPicker() {
  Round r;
  const double start = Now();
  auto picker = vk::Form::Load<vk::FSearch>();
  vk::SetWindowLayered(picker->hwnd());
  picker->mSentence = L"Select * From Documentos";
  picker->mFieldName = L"DocumentoId";
  picker->mFieldValue = L"";
  bool opened = false, done = false;
  picker->Activate.Connect([&] {
    if (!opened) r.open = Now() - start;
    opened = true;
  });
  vk::Timer ticks(20);
  ticks.Tick.Connect([&] {
    // The last page is measured once the window is opaque, as the user sees it.
    if (done || !opened || picker->filling() || picker->fadeAlpha() < 255) return;
    done = true;
    const double t = Now();
    SendMessageW(picker->controls().cmdLast->inner(), BM_CLICK, 0, 0);
    r.last = Now() - t;
    r.total = picker->recordTotal();
    r.lastPage = picker->currentPage();
    SendMessageW(picker->controls().cmdCancelar->inner(), BM_CLICK, 0, 0);
  });
  picker->ShowForm();
  picker->Unload();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const long documents = argc > 1 ? atol(argv[1]) : 100000;
  const int rounds = argc > 2 ? atoi(argv[2]) : 7;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring folder = vk::bench::ScratchDataFolder(L"pickerbench");
  const std::wstring path = folder + L"\\data\\PickerBench.db";
  DeleteFileW(path.c_str());
  Fill(path, documents);

  vk::data::QdProcedure::SetDefaultFolder(folder);
  vk::HostSeams seams = vk::Seam<vk::HostSeams>::Real();
  seams.createDataAccess = [] { return ComPtr<IDispatch>::Attach(vk::data::QdProcedure::Create()); };
  vk::ScopedHostSeams scope(seams);
  vk::Shared().gApplicationName = L"PickerBench";

  std::vector<double> floors, opens, lasts;
  Round r;
  Floor(path);
  RunPicker();  // warm-up
  for (int i = 0; i < rounds; ++i) {
    floors.push_back(Floor(path));
    r = RunPicker();
    opens.push_back(r.open);
    lasts.push_back(r.last);
  }
  const double floor = Median(floors), open = Median(opens), last = Median(lasts);
  printf("picker on %ld documents: %ld rows fetched, last page %ld\n", documents, r.total, r.lastPage);
  printf("floor (SQLite, 500 rows, every field): %.4f s\n", floor);
  printf("open and first page of 20: %.4f s (ratio %.1f)\n", open, open / floor);
  printf("last page: %.4f s (ratio %.1f)\n", last, last / floor);
  CoUninitialize();
  return 0;
}
