// Audit screen benchmark (run by hand under Wine and a display, never by CTest):
//   - search: the screen's search over a log of 1,000,000 readings with a user filter
//     that matches 100,000, from the click to the filled grid, against plain SQLite
//     running the same statement and making every field a VARIANT;
//   - export: the grid's 100,000 rows as delimited text and 65,000 as a spreadsheet,
//     through the export command, against writing the same bytes to a file;
//   - memory: the whole log (1,000,000 rows) in the grid, as the process's private bytes
//     the search adds, beside the size of the values themselves (numbers 8 bytes,
//     texts their UTF-8 bytes).
// Usage: log_bench.exe [readings] [rounds]
#include <windows.h>
#include <psapi.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "com/com_ptr.h"
#include "consult/log_screen.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/sqlite_db.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/message_box.h"
#include "screen_kit/save_dialog.h"
#include "screen_kit/shared_state.h"

namespace {

using vk::com::ComPtr;
using vk::bench::Check;
using vk::bench::OpenWithSchema;
using vk::bench::Median;
using vk::bench::Now;
using vk::bench::ReadScript;
using vk::bench::Report;

constexpr long kDocuments = 20000;
constexpr int kUsers = 10;  // each reads a tenth of the log

// The log: readings spread over ten users, 20,000 documents and three years.
void Fill(const std::wstring& path, long readings) {
  sqlite3* db = OpenWithSchema(path);
  const std::string documents =
      "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, Documento) "
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(kDocuments) + ") "
      "SELECT i, '1', '1', 'AD', 'documento_' || i || '.tif' FROM n";
  Check(sqlite3_exec(db, documents.c_str(), nullptr, nullptr, nullptr), db, "documents");
  Check(sqlite3_exec(db, "INSERT INTO Gerencias (GerenciaId, Gerencia) VALUES ('AD', 'Administracion')", nullptr,
                     nullptr, nullptr),
        db, "departments");
  const std::string log =
      "INSERT INTO DocumentosLog (DocumentoId, Usuario, RegistroId, Fecha, GerenciaId, ModuloId, Modulo, EquipoId, "
      "FechaAlta) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(readings - 1) + ") "
      "SELECT 1 + i % " + std::to_string(kDocuments) + ", 'usuario' || (i % " + std::to_string(kUsers) + "), i, "
      "datetime('2024-01-01', '+' || (i % 1096) || ' days', '+' || (i % 86400) || ' seconds'), 'AD', 'B01F01', "
      "'Busqueda de Documentos', 'PC-' || (i % 37), datetime('2024-01-01', '+' || (i % 1096) || ' days') FROM n";
  Check(sqlite3_exec(db, log.c_str(), nullptr, nullptr, nullptr), db, "log");
  Check(sqlite3_exec(db, "INSERT INTO LogAcciones (EventoId, UsuarioId) SELECT i, 'usuario' || i FROM "
                         "(WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9) SELECT i FROM n)",
                     nullptr, nullptr, nullptr),
        db, "actions");
  sqlite3_close(db);
}

// The security database with the ten users, whose descriptions the grid shows.
void FillUsers(const std::wstring& path) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(vk::data::Narrow(path).c_str(), &db), db, "open");
  Check(sqlite3_exec(db, ReadScript("security_schema.sql").c_str(), nullptr, nullptr, nullptr), db, "schema");
  const std::string users = "INSERT INTO Users (UserName, UserDescription) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL "
                            "SELECT i + 1 FROM n WHERE i < " + std::to_string(kUsers - 1) + ") "
                            "SELECT 'usuario' || i, 'Usuario Numero ' || i FROM n";
  Check(sqlite3_exec(db, users.c_str(), nullptr, nullptr, nullptr), db, "users");
  sqlite3_close(db);
}

// Plain SQLite: the same statement stepped and every field made into a VARIANT.
double Floor(const std::wstring& path, const std::string& sql, long expected) {
  const double start = Now();
  const long rows = vk::bench::ReadAllIntoVariants(vk::data::Narrow(path), sql.c_str());
  const double elapsed = Now() - start;
  if (rows != expected) fprintf(stderr, "floor read %ld rows, expected %ld\n", rows, expected);
  return elapsed;
}

// The size of the log's values themselves, as the grid's ten columns hold them.
double ValuesMb(const std::wstring& path) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(vk::data::Narrow(path).c_str(), &db), db, "open");
  std::string sum = "SELECT SUM(0";
  for (const char* column : {"DocumentoId", "Usuario", "RegistroId", "Fecha", "GerenciaId", "ModuloId", "Modulo",
                             "EquipoId", "FechaAlta", "FechaModificacion"}) {
    sum += std::string(" + CASE typeof(") + column + ") WHEN 'null' THEN 0 WHEN 'integer' THEN 8 WHEN 'real' THEN 8 "
           "ELSE length(CAST(" + column + " AS BLOB)) END";
  }
  sum += ") FROM DocumentosLog";
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db, sum.c_str(), -1, &stmt, nullptr), db, "values");
  const double bytes = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_double(stmt, 0) : 0;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return bytes / (1024.0 * 1024.0);
}

// The process's committed private memory (what counts against a 32-bit address space).
double PrivateMb() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return pmc.PagefileUsage / (1024.0 * 1024.0);
}

// The bytes of a file the export wrote (its folder has a plain name).
std::vector<char> ReadBytes(const std::wstring& path) {
  std::ifstream in(vk::data::Narrow(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writing the bytes the export wrote, to a new file: the export's floor.
double WriteFloor(const std::wstring& path, const std::vector<char>& bytes) {
  const double start = Now();
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD wrote = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(file);
  return Now() - start;
}


// The screen docked in a plain host window of the design size.
struct Screen {
  HWND host;
  std::shared_ptr<vk::consult::FDocumentosLogGeneral> form;
  Screen() {
    host = CreateWindowW(L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 765, 562, nullptr, nullptr, nullptr, nullptr);
    form = vk::Form::Load<vk::consult::FDocumentosLogGeneral>();
    form->SetHWndContainer(static_cast<long>(reinterpret_cast<LONG_PTR>(host)));
    form->SetMode(L"GEN");
    if (!form->MakeForm()) fprintf(stderr, "the screen did not open\n");
  }
  ~Screen() {
    form->Unload();
    DestroyWindow(host);
  }
  // A click on a toolbar key as the toolbar reports it.
  void Press(vk::hosted::Toolbar& bar, const wchar_t* key) {
    const HWND inner = GetWindow(bar.hwnd(), GW_CHILD);
    SendMessageW(bar.hwnd(), WM_COMMAND, MAKEWPARAM(bar.IndexOfKey(key), 0), reinterpret_cast<LPARAM>(inner));
  }
  double Search(const wchar_t* user) {
    form->controls().cboUsuarioId->SelectKey(user);
    const double start = Now();
    Press(*form->controls().TBarMain, L"BTN_FIN");
    return Now() - start;
  }
  double Export(const std::wstring& folder, const std::wstring& name) {
    vk::Seam<vk::SaveDialogHandler>::Current() = [&](HWND, bool) {
      vk::SaveDialogResult r;
      r.Canceled = false;
      r.FileCount = 1;
      r.FileNames = {name};
      r.Path = folder;
      return r;
    };
    const double start = Now();
    Press(*form->controls().TBarDetail, L"EXP_XLS");
    return Now() - start;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const long readings = argc > 1 ? atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? atoi(argv[2]) : 3;
  const long matching = readings / kUsers;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring folder = vk::bench::ScratchDataFolder(L"logbench") + L"\\";
  const std::wstring path = folder + L"data\\LogBench.db";
  DeleteFileW(path.c_str());
  DeleteFileW((folder + L"data\\VkS.db").c_str());
  const double fillStart = Now();
  Fill(path, readings);
  FillUsers(folder + L"data\\VkS.db");
  printf("log of %ld readings made in %.1f s\n", readings, Now() - fillStart);

  vk::data::QdProcedure::SetDefaultFolder(folder);
  vk::HostSeams seams = vk::Seam<vk::HostSeams>::Real();
  seams.createDataAccess = [] { return ComPtr<IDispatch>::Attach(vk::data::QdProcedure::Create()); };
  vk::ScopedHostSeams scope(seams);
  vk::ScopedMessageBox quiet([](const std::wstring&, long, const std::wstring&) { return vk::msg::OK; });
  vk::Shared().gApplicationName = L"LogBench";
  vk::Shared().gListSeparator = vk::Variant(L";");

  const double before = PrivateMb();
  {
    Screen screen;
    const std::string sql = "Select * From DocumentosLog Where 1 = 1 And Usuario = 'usuario7'";
    std::vector<double> floors, searches;
    for (int i = 0; i < rounds; ++i) {
      floors.push_back(Floor(path, sql, matching));
      searches.push_back(screen.Search(L"usuario7"));
    }
    const int shown = screen.form->controls().GRDetail->DataRowCount();
    printf("search with a user filter: %d rows in the grid\n", shown);
    Report("search and fill (user filter)", shown, Median(searches), Median(floors));

    std::vector<double> texts, textFloors, sheets, sheetFloors;
    for (int i = 0; i < rounds; ++i) {
      DeleteFileW((folder + L"LOG.csv").c_str());
      texts.push_back(screen.Export(folder, L"log.xls"));  // too many rows for a spreadsheet: text
      textFloors.push_back(WriteFloor(folder + L"floor.csv", ReadBytes(folder + L"LOG.csv")));
    }
    Report("export as delimited text", shown, Median(texts), Median(textFloors));
    const int sheetRows = std::min(65000, shown);
    screen.form->controls().GRDetail->SetDataRowCount(sheetRows);
    for (int i = 0; i < rounds; ++i) {
      sheets.push_back(screen.Export(folder, L"log65.xls"));
      sheetFloors.push_back(WriteFloor(folder + L"floor.xls", ReadBytes(folder + L"log65.xls")));
    }
    Report("export as a spreadsheet", sheetRows, Median(sheets), Median(sheetFloors));

    screen.form->controls().GRDetail->RemoveAllRows();  // what the last search left goes first
    const double beforeAll = PrivateMb();
    const double all = screen.Search(L"");
    const int rows = screen.form->controls().GRDetail->DataRowCount();
    const double added = PrivateMb() - beforeAll;
    const double values = ValuesMb(path);
    printf("whole log in the grid: %d rows in %.2f s; private bytes %.0f MB (%.0f MB before the screen, "
           "%.0f MB before this search)\n",
           rows, all, PrivateMb(), before, beforeAll);
    printf("the search added %.0f MB (%.0f bytes a reading) for %.0f MB of values: %.2f times their size\n", added,
           rows ? added * 1024 * 1024 / rows : 0.0, values, values > 0 ? added / values : 0.0);
  }
  printf("after the screen closed: %.0f MB\n", PrivateMb());
  CoUninitialize();
  return 0;
}
