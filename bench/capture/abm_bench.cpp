// Maintenance screen benchmark (run by hand under Wine and a display, never by CTest),
// over 100,000 documents and two more whose comment history is 1 MB, each of a type
// with ten fields of its own (their stored file a PDF, so that no image is decoded):
//   1. load: the find command loading that document (the picker's answer given), once
//      with its type's editors placed already and once after a document of another
//      type of ten fields, against plain SQLite stepping the same row (and the type's
//      definitions) and making every field a VARIANT;
//   2. save: the save command (Documentos_Update, its action-log entry, the reload),
//      against plain SQLite running the same statements;
//   3. find: the find command until the search picker shows its first page, against
//      the picker opened by itself on the same statement (the picker's own figure).
// The median of several rounds is reported.
// Usage: abm_bench.exe [documents] [rounds]
#include <windows.h>
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "capture/abm_screen.h"
#include "capture/document_record.h"
#include "com/com_ptr.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/sqlite_db.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/message_box.h"
#include "screen_kit/screen_host.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace {

using vk::bench::Check;
using vk::bench::Exec;
using vk::bench::OpenWithSchema;
using vk::bench::Median;
using vk::bench::Now;
using vk::bench::ReadScript;
using vk::bench::StepIntoVariants;
using vk::com::ComPtr;

const wchar_t kKey[] = L"AbmBench";
// The document with the long history, of type 9, and its twin of type 8 (ten other
// fields): the lowest ids, so the picker's 500 newest rows are those of its own benchmark.
constexpr long kHeavyDocument = 1;
constexpr long kOtherDocument = 2;

void Fill(const std::wstring& folder, long documents) {
  const std::wstring path = folder + L"\\data\\" + kKey + L".db";
  DeleteFileW(path.c_str());
  sqlite3* db = OpenWithSchema(path);
  Exec(db, ReadScript("application_data.sql"), "data");  // the catalogue tables; its documents go
  std::string sql = "DELETE FROM Documentos;INSERT INTO TipoDocumentos VALUES (9, 'Expediente', 1), (8, 'Legajo', 1);";
  for (int type : {8, 9})
    for (int d = 1; d <= 10; ++d)
      sql += "INSERT INTO TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, "
             "RelationSentence, Alignment, Decimales, ToolTipText) VALUES (" + std::to_string(type) + ", " +
             std::to_string(d) + ", 'Dato" + std::to_string(type) + "_" + std::to_string(d) +
             "', 0, 'TextBox', NULL, 0, 0, 'Dato " + std::to_string(d) + "');";
  sql += "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, "
         "Path, Campo01, Campo02, Fecha, CBarra, ReferenciaId, FechaAlta, IsEnabled, UsuarioAlta) "
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(documents) +
         ") SELECT i + 2, '1', '1', 'AD', 1 + i % 3, 'doc' || i || '.tif', 'C:\\Ostrela\\' || i || '.tif', "
         "'Campo uno ' || i, 'Campo dos', '2026-03-01 00:00:00', '779' || i, 'REF-' || i, "
         "'2026-12-07 09:00:00', 1, 'bench' FROM n;";
  sql += "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, "
         "Path, Campo01, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07, Campo08, Campo09, Campo10, Fecha, "
         "CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta) VALUES (" +
         std::to_string(kHeavyDocument) +
         ", '2', '1', 'OP', 9, 'expediente.pdf', 'C:\\Ostrela\\expediente.pdf', 'uno', 'dos', 'tres', 'cuatro', "
         "'cinco', 'seis', 'siete', 'ocho', 'nueve', 'diez', '2026-03-01 10:30:00', '7790001', 'EXP-1', "
         "printf('%.*c', 1048576, 'x'), '2026-03-02 00:00:00', 0, 'bench');";
  sql += "INSERT INTO Documentos SELECT " + std::to_string(kOtherDocument) +
         ", CategoriaId, SubCategoriaId, GerenciaId, 8, Documento, Path, Campo01, Campo02, Campo03, Campo04, Campo05, "
         "Campo06, Campo07, Campo08, Campo09, Campo10, Fecha, CBarra, ReferenciaId, Comentarios, FechaAlta, IsEnabled, "
         "UsuarioAlta, UsuarioModificacion, FechaModificacion FROM Documentos WHERE DocumentoId = " +
         std::to_string(kHeavyDocument) + ";";
  Exec(db, sql, "fill");
  sqlite3_close(db);
  const std::wstring security = folder + L"\\data\\VkS.db";
  DeleteFileW(security.c_str());
  Check(sqlite3_open(vk::data::Narrow(security).c_str(), &db), db, "open VkS");
  Exec(db, ReadScript("security_schema.sql"), "security schema");
  Exec(db, ReadScript("security_data.sql"), "security data");
  sqlite3_close(db);
}

// Plain SQLite doing the load's and the save's statements on the same database.
class Floor {
 public:
  explicit Floor(const std::wstring& path) {
    Check(sqlite3_open(vk::data::Narrow(path).c_str(), &db_), db_, "open");
    prepare(read_, "SELECT * FROM Documentos WHERE DocumentoId = ?1");
    prepare(details_, "SELECT * FROM TipoDocumentosDetalle WHERE TipoDocumentoId = ?1 ORDER BY TipoDocumentoId");
    prepare(update_,
            "UPDATE Documentos SET CategoriaId = ?2, SubCategoriaId = ?3, GerenciaId = ?4, TipoDocumentoId = ?5, "
            "Documento = ?6, Path = ?7, Campo01 = ?8, Campo02 = ?9, Campo03 = ?10, Campo04 = ?11, Campo05 = ?12, "
            "Campo06 = ?13, Campo07 = ?14, Campo08 = ?15, Campo09 = ?16, Campo10 = ?17, Fecha = ?18, CBarra = ?19, "
            "ReferenciaId = ?20, Comentarios = Coalesce(Comentarios, '') || ?21, UsuarioModificacion = ?23, "
            "FechaModificacion = ?24 WHERE DocumentoId = ?1");
    prepare(nextEvent_, "SELECT (Coalesce(Max(EventoId),0)+1) AS EventoId FROM LogAcciones");
    prepare(log_,
            "INSERT INTO LogAcciones (EventoId, ModoDetalle, ComponentId, ComponentName, TipoAccion, Accion, Detalle, "
            "Mensaje, Extra, EquipoId, UsuarioId, Fecha) VALUES ((SELECT (Coalesce(Max(EventoId),0)+1) FROM "
            "LogAcciones), 1, 'I01MAN', 'Mantenimiento', 3, 'N/A', ?1, ?2, '', 'PC', 'bench', '2026-03-01')");
  }
  ~Floor() {
    for (sqlite3_stmt* s : {read_, details_, update_, nextEvent_, log_}) sqlite3_finalize(s);
    sqlite3_close(db_);
  }
  double Load(long id) {
    const double start = Now();
    sqlite3_bind_int(read_, 1, id);
    StepIntoVariants(db_, read_);
    return Now() - start;
  }
  // A load that places the type's editors also reads the type's definitions.
  double LoadWithType(long id, long type) {
    const double start = Now();
    sqlite3_bind_int(details_, 1, type);
    StepIntoVariants(db_, details_);
    return Now() - start + Load(id);
  }
  double Save(long id) {
    const double start = Now();
    Exec(db_, "BEGIN", "begin");
    sqlite3_bind_int(update_, 1, id);
    const char* texts[] = {"2", "1", "OP", nullptr, "expediente.pdf", "C:\\Ostrela\\expediente.pdf", "uno", "dos",
                           "tres", "cuatro", "cinco", "seis", "siete", "ocho", "nueve", "diez", "2026-03-01 10:30:00",
                           "7790001", "EXP-1", "bench - Fecha : [ 3/1/2026 ]\r\n--\r\nDocumento\r\n\r\n"};
    for (int p = 2; p <= 21; ++p) {
      if (p == 5) sqlite3_bind_int(update_, p, 9);
      else sqlite3_bind_text(update_, p, texts[p - 2], -1, SQLITE_STATIC);
    }
    sqlite3_bind_text(update_, 23, "bench", -1, SQLITE_STATIC);
    sqlite3_bind_text(update_, 24, "2026-03-01", -1, SQLITE_STATIC);
    StepIntoVariants(db_, update_);
    Exec(db_, "COMMIT", "commit");
    StepIntoVariants(db_, nextEvent_);
    sqlite3_bind_int(log_, 1, id);
    sqlite3_bind_text(log_, 2, "Se ha Modificado la Catalogación", -1, SQLITE_STATIC);
    StepIntoVariants(db_, log_);
    const double write = Now() - start;
    return write + Load(id);  // the reload
  }

 private:
  void prepare(sqlite3_stmt*& s, const char* sql) { Check(sqlite3_prepare_v2(db_, sql, -1, &s, nullptr), db_, sql); }
  sqlite3* db_ = nullptr;
  sqlite3_stmt *read_ = nullptr, *details_ = nullptr, *update_ = nullptr, *nextEvent_ = nullptr, *log_ = nullptr;
};

void ClickKey(const vk::capture::FDocumentosABM& screen, const wchar_t* key) {
  vk::hosted::Toolbar& bar = *screen.controls().TBarMain;
  const RECT r = bar.ButtonRect(bar.IndexOfKey(key));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(bar.inner(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(bar.inner(), WM_LBUTTONUP, 0, at);
}

// The picker's own steps, as every caller takes them (load, layered style, statement and
// key column, ShowForm, oReturn, unload), with the moment it is first activated (its
// first page shown) noted; it is then cancelled. A hook would slow every window the
// picker makes, so the picker's own Activate event tells the time, as in its benchmark.
double pickerShownAt = 0;
vk::Variant TimedPicker(const std::wstring& sentence, const std::wstring& fieldName) {
  auto picker = vk::Form::Load<vk::FSearch>();
  vk::SetWindowLayered(picker->hwnd());
  picker->mSentence = sentence;
  picker->mFieldName = fieldName;
  picker->mFieldValue = L"";
  bool opened = false;
  picker->Activate.Connect([&] {
    if (opened) return;
    opened = true;
    pickerShownAt = Now();
    PostMessageW(picker->controls().cmdCancelar->inner(), BM_CLICK, 0, 0);
  });
  picker->ShowForm();
  vk::Variant key = picker->oReturn;
  picker->Unload();
  return key;
}

// The time from `open` until the picker it opens shows its first page.
double UntilPickerShows(const std::function<void()>& open) {
  vk::ScopedPicker timed(TimedPicker);
  const double start = Now();
  open();
  return pickerShownAt - start;
}

}  // namespace

int main(int argc, char** argv) {
  const long documents = argc > 1 ? atol(argv[1]) : 100000;
  const int rounds = argc > 2 ? atoi(argv[2]) : 7;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring folder = vk::bench::ScratchDataFolder(L"abmbench");
  Fill(folder, documents);

  vk::data::QdProcedure::SetDefaultFolder(folder);
  vk::HostSeams seams = vk::Seam<vk::HostSeams>::Real();
  seams.createDataAccess = [] { return ComPtr<IDispatch>::Attach(vk::data::QdProcedure::Create()); };
  vk::ScopedHostSeams scope(seams);
  vk::SharedState& state = vk::Shared();
  state.gApplicationName = kKey;
  state.gObjectId = L"I01MAN";
  state.gIsAdmin = true;
  vk::ScopedMessageBox answers([](const std::wstring&, long, const std::wstring&) { return vk::msg::OK; });

  vk::test::ScreenHost host;
  auto screen = vk::Form::Load<vk::capture::FDocumentosABM>();
  screen->SetHWndContainer(host.handle());
  screen->SetMode(L"ADM");
  if (!screen->MakeForm()) {
    fprintf(stderr, "the screen did not open\n");
    return 2;
  }

  Floor floor(folder + L"\\data\\" + kKey + L".db");
  std::vector<double> loads, loadFloors, placing, placingFloors, saves, saveFloors, finds, pickers;
  {
    long picked = 0;
    vk::ScopedPicker answer([&](const std::wstring&, const std::wstring&) { return vk::Variant(picked); });
    auto load = [&](long id) {
      picked = id;
      const double seconds = vk::bench::Seconds([&] { ClickKey(*screen, L"BTN_FIN"); });
      if (screen->currentDocumentId() != id) {
        fprintf(stderr, "document %ld did not load\n", id);
        ExitProcess(2);
      }
      return seconds;
    };
    for (int i = 0; i <= rounds; ++i) {
      const double same = load(kHeavyDocument);  // its type's editors are placed from the round before
      const double save = vk::bench::Seconds([&] { ClickKey(*screen, L"BTN_SAV"); });
      if (i == 0) continue;  // warm-up
      loads.push_back(same);
      saves.push_back(save);
      // In the state ours ran in: the load after the other connection's save, the save
      // after the connection's own load.
      loadFloors.push_back(floor.Load(kHeavyDocument));
      saveFloors.push_back(floor.Save(kHeavyDocument));
    }
    for (int i = 0; i <= rounds; ++i) {
      load(kOtherDocument);
      const double another = load(kHeavyDocument);  // a type change: its ten editors are placed
      if (i == 0) continue;
      placing.push_back(another);
      placingFloors.push_back(floor.LoadWithType(kHeavyDocument, 9));
    }
  }
  for (int i = 0; i <= rounds; ++i) {
    const double find = UntilPickerShows([&] { ClickKey(*screen, L"BTN_FIN"); });
    const double own = UntilPickerShows([] { TimedPicker(L"Select * From Documentos", L"DocumentoId"); });
    if (i == 0) continue;
    finds.push_back(find);
    pickers.push_back(own);
  }
  // The load's read alone through the screen's kind of data object: the row whole.
  std::vector<double> reads;
  {
    auto data = vk::DataAccess::Create();
    for (int i = 0; i <= rounds; ++i) {
      const double read = vk::bench::Seconds([&] {
        auto rows = data->GetData(kKey, L"Select * From Documentos Where DocumentoId = " +
                                            std::to_wstring(kHeavyDocument));
        if (rows) vk::capture::ReadDocumentRow(*rows);
      });
      if (i > 0) reads.push_back(read);
    }
  }
  screen->Unload();

  printf("maintenance screen on %ld documents, a 1 MB comment history, ten fields; median of %d rounds\n",
         documents, rounds);
  vk::bench::Report("load, its type's editors placed already", 1, Median(loads), Median(loadFloors));
  vk::bench::Report("  of which the row read whole", 1, Median(reads), Median(loadFloors));
  vk::bench::Report("load of another type (ten editors placed)", 1, Median(placing), Median(placingFloors));
  vk::bench::Report("save (update, log entry, reload)", 1, Median(saves), Median(saveFloors));
  vk::bench::Report("find until the picker's first page", 1, Median(finds), Median(pickers));
  printf("(the find's floor is the picker opened by itself on the same statement)\n");
  CoUninitialize();
  return 0;
}
