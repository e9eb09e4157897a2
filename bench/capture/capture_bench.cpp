// Field-editor benchmark (run by hand under Wine and a display, never by CTest), over
// 10 document types of 10 fields each (4 text boxes with a value list, 2 combos filled
// from a statement, 1 fixed-list combo, 3 date pickers: 100 editors) and 100,000
// documents:
//   1. opening: a screen's frames and combos, BuildFieldEditors and LoadCombos, against
//      plain SQLite stepping the same statements plus as many plain windows (one per
//      control, the combos given their items);
//   2. placing: a change of document type among the 100 editors until the screen has
//      painted, against the definition query on plain SQLite plus moving as many plain
//      windows between two frames (without painting in between) and painting once.
// The median of several rounds is reported, with the paints a placement causes.
// Usage: capture_bench.exe [documents] [rounds]
#include <windows.h>
#include <commctrl.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "capture/catalogue_combos.h"
#include "capture/field_editors.h"
#include "com/com_ptr.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/sqlite_db.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_state.h"

namespace {

using vk::bench::Check;
using vk::bench::OpenWithSchema;
using vk::bench::Median;
using vk::bench::Now;
using vk::bench::ReadScript;

constexpr int kTypes = 10;
constexpr int kFields = 10;
const wchar_t kKey[] = L"CaptureBench";

std::wstring FieldName(int type, int field) { return L"T" + std::to_wstring(type) + L"F" + std::to_wstring(field); }

// The definition of field d of type t: what kind, and its RelationSentence.
struct FieldDefinition {
  const wchar_t* screenType;
  std::wstring relation;
};
FieldDefinition Definition(int type, int field) {
  if (field <= 4) {
    return {L"TextBox", L"Select Campo0" + std::to_wstring(field) + L" As " + FieldName(type, field) +
                            L" From Documentos Where TipoDocumentoId = " + std::to_wstring(type)};
  }
  if (field == 5) return {L"ComboBox", L"Select GerenciaId , Gerencia From Gerencias Where IsEnabled = 1"};
  if (field == 6) return {L"ComboBox", L"Alta|Media|Baja"};
  if (field == 7) return {L"ComboBox", L"Select CategoriaId , Categoria From TipoCategorias Where IsEnabled = 1"};
  return {L"DTPicker", L""};
}

void Fill(const std::wstring& path, long documents) {
  sqlite3* db = OpenWithSchema(path);
  std::string sql =
      "INSERT INTO TipoCategorias VALUES ('1', 'Contratos', 1), ('2', 'Facturas', 1), ('3', 'Personal', 1);"
      "INSERT INTO TipoSubCategorias VALUES ('1', 'Originales', 1), ('2', 'Copias', 1);"
      "INSERT INTO Gerencias VALUES ('AD', 'Administración', 1), ('OP', 'Operaciones', 1), ('RH', 'Personal', 1);";
  for (int t = 1; t <= kTypes; ++t) {
    sql += "INSERT INTO TipoDocumentos VALUES (" + std::to_string(t) + ", 'Tipo " + std::to_string(t) + "', 1);";
    for (int d = 1; d <= kFields; ++d) {
      const FieldDefinition def = Definition(t, d);
      sql += "INSERT INTO TipoDocumentosDetalle (TipoDocumentoId, DetalleId, Nombre, DataType, ScreenType, "
             "RelationSentence, Alignment, Decimales, ToolTipText) VALUES (" +
             std::to_string(t) + ", " + std::to_string(d) + ", '" + vk::Utf8(FieldName(t, d)) + "', " +
             (d <= 2 ? "0" : "1") + ", '" + vk::Utf8(def.screenType) + "', " +
             (def.relation.empty() ? std::string("NULL") : "'" + vk::Utf8(def.relation) + "'") + ", 0, 0, 'Campo " +
             std::to_string(d) + "');";
    }
  }
  sql += "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, "
         "Path, Campo01, Campo02, Campo03, Campo04, Fecha, CBarra, ReferenciaId, FechaAlta, IsEnabled, UsuarioAlta) "
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(documents) +
         ") SELECT i, '1', '1', 'AD', 1 + i % " + std::to_string(kTypes) +
         ", 'doc' || i || '.tif', 'C:\\Ostrela\\' || i || '.tif', 'Parte ' || (i % 50), 'Expediente ' || (i % 40), "
         "'Zona ' || (i % 30), 'Rubro ' || (i % 20), '2026-03-01 00:00:00', '779' || i, 'REF-' || i, "
         "'2026-12-07 09:00:00', 1, 'bench' FROM n;";
  Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, "fill");
  sqlite3_close(db);
}

// A screen's share of the editors: the four combos, the two frames, the accept command.
class FBench : public vk::Form {
 public:
  FBench() : Form({.name = L"FBench", .caption = L"Capture bench", .scaleWidth = 11475, .scaleHeight = 8430}) {
    auto at = [](const wchar_t* name, double top, double height, vk::Container* in = nullptr) {
      vk::ControlArgs args;
      args.name = name;
      args.left = 180;
      args.top = top;
      args.width = 6315;
      args.height = height;
      args.container = in;
      return args;
    };
    combos.cboCategoriaId = &Add<vk::hosted::ComboBox>(at(L"cboCategoriaId", 540, 315));
    combos.cboSubCategoriaId = &Add<vk::hosted::ComboBox>(at(L"cboSubCategoriaId", 900, 315));
    combos.cboGerenciaId = &Add<vk::hosted::ComboBox>(at(L"cboGerenciaId", 1260, 315));
    combos.cboTipoDocumentoId = &Add<vk::hosted::ComboBox>(at(L"cboTipoDocumentoId", 1620, 315));
    parameter = &Add<vk::hosted::Frame>(at(L"VkDataParameter", 2040, 5000));
    vk::ControlArgs accept = at(L"cmdAceptar", 4400, 315, parameter);
    accept.width = 1035;
    accept.left = 5160;
    cmdAceptar = &Add<vk::hosted::CommandButton>(accept, L"&Aceptar");
    vk::ControlArgs hidden = at(L"VkDataTemp", 7200, 300);
    hidden.visible = false;
    temp = &Add<vk::hosted::Frame>(hidden);
    editors.emplace(*this,
                    vk::capture::FieldEditors::Frames{*parameter, *temp, *combos.cboTipoDocumentoId, cmdAceptar},
                    vk::capture::kCataloguingGeometry, record, [this] { return data ? &*data : nullptr; });
  }
  vk::capture::CatalogueCombos combos;
  vk::hosted::Frame* parameter = nullptr;
  vk::hosted::Frame* temp = nullptr;
  vk::hosted::CommandButton* cmdAceptar = nullptr;
  vk::capture::DocumentRecord record;
  std::optional<vk::DataAccess> data;
  std::optional<vk::capture::FieldEditors> editors;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The statements opening runs, in its order: the definitions, each text box's value
// list and each statement combo (build), then the four catalogue lists and the
// statement combos again (LoadCombos). `toCombo`: its rows become combo items.
struct Statement {
  std::wstring sql;
  bool toCombo;
};
std::vector<Statement> OpeningStatements() {
  std::vector<Statement> statements{
      {L"Select Distinct Nombre , DataType , ScreenType , RelationSentence , Alignment , Decimales , ToolTipText "
       L"From TipoDocumentosDetalle",
       false}};
  std::vector<Statement> combos;
  for (int t = 1; t <= kTypes; ++t) {
    for (int d = 1; d <= kFields; ++d) {
      const FieldDefinition def = Definition(t, d);
      const std::wstring name = FieldName(t, d);
      if (d <= 4) {
        statements.push_back({L"Select Distinct " + name + L" As D_" + name + L" From ( " + def.relation + L" ) A", false});
      }
      if (d == 5 || d == 7) combos.push_back({def.relation, true});
    }
  }
  statements.insert(statements.end(), combos.begin(), combos.end());
  for (const wchar_t* source : {vk::capture::kCategoriaSource, vk::capture::kSubCategoriaSource,
                                vk::capture::kGerenciaSource, vk::capture::kTipoDocumentoSource}) {
    statements.push_back({source, true});
  }
  statements.insert(statements.end(), combos.begin(), combos.end());
  return statements;
}

// Steps a statement, reading every column as text; the rows' first two columns as
// "key - text" items.
std::vector<std::wstring> Step(sqlite3* db, const std::wstring& sql) {
  sqlite3_stmt* s = nullptr;
  Check(sqlite3_prepare16_v2(db, sql.c_str(), -1, &s, nullptr), db, "prepare");
  std::vector<std::wstring> items;
  const int columns = sqlite3_column_count(s);
  while (sqlite3_step(s) == SQLITE_ROW) {
    std::wstring item;
    for (int c = 0; c < columns; ++c) {
      const auto* text = static_cast<const wchar_t*>(sqlite3_column_text16(s, c));
      if (c < 2) item += (c ? L" - " : L"") + std::wstring(text ? text : L"");
    }
    items.push_back(std::move(item));
  }
  sqlite3_finalize(s);
  return items;
}

double OpeningFloor(const std::wstring& path, const std::vector<Statement>& statements) {
  const double start = Now();
  sqlite3* db = nullptr;
  Check(sqlite3_open(vk::data::Narrow(path).c_str(), &db), db, "open");
  HWND top = CreateWindowExW(0, L"STATIC", L"floor", WS_POPUP, 0, 0, 765, 562, nullptr, nullptr, nullptr, nullptr);
  auto child = [top](const wchar_t* cls, DWORD style) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 130, 21, top, nullptr, nullptr, nullptr);
  };
  auto add = [](HWND combo, const std::wstring& item) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  };
  // The screen's own combos, frames and accept command, then a label and an editor per
  // field; the fixed lists are given their entries twice, as the screen does.
  std::vector<HWND> combos;
  for (int i = 0; i < 4; ++i) combos.push_back(child(WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_HASSTRINGS));
  for (int i = 0; i < 2; ++i) child(L"STATIC", 0);
  child(L"BUTTON", 0);
  std::vector<std::vector<std::wstring>> valueLists;
  size_t nextCombo = 0;
  for (size_t n = 0; n < statements.size(); ++n) {
    std::vector<std::wstring> items = Step(db, statements[n].sql);
    if (n == 0) {
      for (size_t k = 0; k < items.size(); ++k) {
        child(L"STATIC", 0);
        const int field = static_cast<int>(k % kFields) + 1;
        if (field <= 4) {
          child(L"EDIT", 0);
        } else if (field <= 7) {
          HWND combo = child(WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_HASSTRINGS);
          if (field == 6) {
            for (int pass = 0; pass < 2; ++pass) {
              for (const wchar_t* entry : {L"Alta", L"Media", L"Baja"}) add(combo, entry);
            }
          } else {
            combos.push_back(combo);
          }
        } else {
          child(DATETIMEPICK_CLASSW, 0);
        }
      }
    } else if (statements[n].toCombo) {
      HWND combo = combos[nextCombo++ % combos.size()];
      for (const std::wstring& item : items) add(combo, item);
    } else {
      valueLists.push_back(std::move(items));
    }
  }
  sqlite3_close(db);
  const double elapsed = Now() - start;
  DestroyWindow(top);
  return elapsed;
}

double Opening(std::shared_ptr<FBench>* kept = nullptr) {
  const double start = Now();
  auto screen = vk::Form::Load<FBench>();
  screen->data = vk::DataAccess::Create();
  screen->editors->BuildFieldEditors(*screen->data, vk::YieldWhileLoaded(*screen));
  vk::capture::LoadCombos(*screen, *screen->data, screen->combos, vk::YieldWhileLoaded(*screen));
  const double elapsed = Now() - start;
  if (kept) *kept = screen;
  else screen->Unload();
  return elapsed;
}

int paints = 0;
LRESULT CALLBACK CountPaints(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && reinterpret_cast<MSG*>(lp)->message == WM_PAINT) ++paints;
  return CallNextHookEx(nullptr, code, wp, lp);
}

// One change of type on a shown screen, until everything has painted.
double Placing(FBench& screen, int type) {
  const double start = Now();
  screen.combos.cboTipoDocumentoId->SelectKey(std::to_wstring(type));
  Pump();
  return Now() - start;
}

// The floor of a placement: the type's definitions read, the previous type's 20
// windows moved back into the hidden frame, the new type's 20 into the shown one,
// with painting held until the end, then one paint.
struct PlacingFloor {
  HWND top, shown, hidden;
  std::vector<HWND> windows;  // 20 per type: label and editor per field
  sqlite3* db = nullptr;
  int current = 0;

  explicit PlacingFloor(const std::wstring& path) {
    top = CreateWindowExW(0, L"STATIC", L"floor", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 400, 0, 765, 562,
                          nullptr, nullptr, nullptr, nullptr);
    shown = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 12, 136, 421, 333, top,
                            nullptr, nullptr, nullptr);
    hidden = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 12, 480, 121, 20, top, nullptr, nullptr, nullptr);
    for (int t = 1; t <= kTypes; ++t) {
      for (int d = 1; d <= kFields; ++d) {
        windows.push_back(CreateWindowExW(0, L"STATIC", FieldName(t, d).c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 106, 16,
                                          hidden, nullptr, nullptr, nullptr));
        windows.push_back(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 133, 21, hidden,
                                          nullptr, nullptr, nullptr));
      }
    }
    Check(sqlite3_open(vk::data::Narrow(path).c_str(), &db), db, "open");
  }
  ~PlacingFloor() {
    sqlite3_close(db);
    DestroyWindow(top);
  }
  double Place(int type) {
    const double start = Now();
    Step(db, L"Select * From TipoDocumentosDetalle Where TipoDocumentoId = " + std::to_wstring(type) +
                 L" Order By TipoDocumentoId");
    SendMessageW(shown, WM_SETREDRAW, FALSE, 0);
    if (current) {
      for (int i = 0; i < 2 * kFields; ++i) SetParent(windows[(current - 1) * 2 * kFields + i], hidden);
    }
    for (int i = 0; i < 2 * kFields; ++i) {
      HWND w = windows[(type - 1) * 2 * kFields + i];
      SetParent(w, shown);
      SetWindowPos(w, nullptr, i % 2 ? 146 : 13, 27 * (i / 2 + 1), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(shown, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(shown, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    Pump();
    current = type;
    return Now() - start;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const long documents = argc > 1 ? atol(argv[1]) : 100000;
  const int rounds = argc > 2 ? atoi(argv[2]) : 5;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"capturebench";
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateDirectoryW((folder + L"\\data").c_str(), nullptr);
  const std::wstring path = folder + L"\\data\\" + kKey + L".db";
  DeleteFileW(path.c_str());
  Fill(path, documents);

  vk::data::QdProcedure::SetDefaultFolder(folder);
  vk::HostSeams seams = vk::Seam<vk::HostSeams>::Real();
  seams.createDataAccess = [] { return vk::com::ComPtr<IDispatch>::Attach(vk::data::QdProcedure::Create()); };
  vk::ScopedHostSeams scope(seams);
  vk::Shared().gApplicationName = kKey;

  const std::vector<Statement> statements = OpeningStatements();
  std::vector<double> floors, opens;
  OpeningFloor(path, statements);  // warm-up
  Opening();
  for (int i = 0; i < rounds; ++i) {
    floors.push_back(OpeningFloor(path, statements));
    opens.push_back(Opening());
  }
  printf("opening on %ld documents: %d editors, %zu statements\n", documents, kTypes * kFields, statements.size());
  vk::bench::Report("build and LoadCombos", kTypes * kFields, Median(opens), Median(floors));

  // Placing: every type in turn, several times over, on a shown screen.
  std::shared_ptr<FBench> screen;
  Opening(&screen);
  screen->Show();
  Pump();
  PlacingFloor floor(path);
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountPaints, nullptr, GetCurrentThreadId());
  std::vector<double> ours, bare;
  int ourPaints = 0, barePaints = 0;
  for (int i = 0; i < rounds * kTypes; ++i) {
    const int type = 1 + i % kTypes;
    paints = 0;
    ours.push_back(Placing(*screen, type));
    ourPaints += paints;
    paints = 0;
    bare.push_back(floor.Place(type));
    barePaints += paints;
  }
  UnhookWindowsHookEx(hook);
  printf("placing among %d editors: %.1f paints per change (floor %.1f)\n", kTypes * kFields,
         static_cast<double>(ourPaints) / (rounds * kTypes), static_cast<double>(barePaints) / (rounds * kTypes));
  vk::bench::Report("change of type (10 fields)", rounds * kTypes, Median(ours), Median(bare));
  screen->Unload();
  CoUninitialize();
  return 0;
}
