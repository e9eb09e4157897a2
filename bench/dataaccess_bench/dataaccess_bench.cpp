// Data-access benchmark (run by hand under Wine, never by CTest):
//   1. GetData of 100,000 Documentos rows, every field read through IDispatch as a
//      late-bound caller does (Fields(i).Value), against plain SQLite stepping the
//      same rows and making the same Variants; plus the recordset's memory against
//      the size of the values themselves.
//   2. 10,000 Documentos_Add calls through Execute, against plain SQLite running the
//      same INSERT with the same 24 values, one transaction each.
//   3. 10,000 GetData calls of one row, against plain SQLite stepping the same prepared
//      statement: what each call costs beyond its rows (the object's own work).
// Usage: dataaccess_bench.exe [rows] [adds] [reads]
#include <windows.h>
#include <psapi.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "bench/support/bench_variants.h"
#include "com/com_ptr.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/rowset.h"
#include "dataaccess/sqlite_db.h"

namespace {

using vk::bench::Check;
using vk::bench::OpenWithSchema;
using vk::bench::Now;
using vk::bench::ReadScript;
using vk::com::ComPtr;

size_t WorkingSetBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.WorkingSetSize;
}

const char kInsert[] =
    "INSERT INTO Documentos (DocumentoId, CategoriaId, SubCategoriaId, GerenciaId, TipoDocumentoId, Documento, Path, "
    "Campo01, Campo02, Campo03, Campo04, Campo05, Campo06, Campo07, Campo08, Campo09, Campo10, Fecha, CBarra, "
    "ReferenciaId, Comentarios, FechaAlta, IsEnabled, UsuarioAlta) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
    "?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, 0, ?23)";

// The text values of document n, in parameter order 2..20 (strings) and the observation.
struct DocumentValues {
  std::wstring texts[24];
};

DocumentValues MakeDocument(long n) {
  DocumentValues d;
  wchar_t buffer[160];
  d.texts[1] = std::to_wstring(1 + n % 3);
  d.texts[2] = std::to_wstring(1 + n % 2);
  d.texts[3] = (n % 2) ? L"OP" : L"AD";
  d.texts[5] = L"scan_" + std::to_wstring(n) + L".tif";
  swprintf(buffer, 160, L"C:\\Ostrela\\Documentos\\%05ld\\%05ld\\%020ld.tif", 1 + n % 3, 1 + n % 2, n);
  d.texts[6] = buffer;
  for (int i = 0; i < 10; ++i) d.texts[7 + i] = L"Valor " + std::to_wstring(i + 1) + L" del documento " + std::to_wstring(n);
  d.texts[18] = L"779" + std::to_wstring(1000000 + n);
  d.texts[19] = L"REF-" + std::to_wstring(n);
  d.texts[20] = L"bench - Fecha : [ 07/12/2026 10:00:00]\r\n----------------------------------\r\nDocumento Ingresado al Sistema\r\n\r\n";
  return d;
}

// Binds one document to the INSERT: its id, its type and its field texts.
void BindDocument(sqlite3_stmt* insert, long id, const DocumentValues& d, int type) {
  sqlite3_bind_int64(insert, 1, id);
  for (int i = 1; i <= 19; ++i) {
    if (i == 4) sqlite3_bind_int(insert, 5, type);
    else sqlite3_bind_text16(insert, i + 1, d.texts[i].c_str(), -1, SQLITE_TRANSIENT);
  }
  sqlite3_bind_text(insert, 18, "2026-12-06 00:00:00", -1, SQLITE_STATIC);
  sqlite3_bind_text16(insert, 21, d.texts[20].c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(insert, 22, "2026-12-07 00:00:00", -1, SQLITE_STATIC);
  sqlite3_bind_text(insert, 23, "bench", -1, SQLITE_STATIC);
}

void Fill(const std::wstring& path, long rows) {
  sqlite3* db = OpenWithSchema(path);
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr), db, "prepare");
  for (long n = 1; n <= rows; ++n) {
    DocumentValues d = MakeDocument(n);
    BindDocument(insert, n, d, int(1 + n % 3));
    Check(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  sqlite3_close(db);
}

// Plain SQLite: step every row and make every field's Variant, as a caller needs it.
double ReadFloor(const std::wstring& path, long& fields) {
  sqlite3* db = nullptr;
  sqlite3_open(vk::data::Narrow(path).c_str(), &db);
  double start = Now();
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db, "Select * From Documentos", -1, &stmt, nullptr), db, "select");
  const std::vector<bool> isDate = vk::bench::DateColumns(stmt);
  const long columns = static_cast<long>(isDate.size());
  fields = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    vk::bench::MakeRowVariants(stmt, isDate);
    fields += columns;
  }
  sqlite3_finalize(stmt);
  double elapsed = Now() - start;
  sqlite3_close(db);
  return elapsed;
}

HRESULT Invoke(IDispatch* object, DISPID id, WORD flags, VARIANT* arg, VARIANT* result) {
  DISPPARAMS params{arg, nullptr, arg ? 1u : 0u, 0};
  return object->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  return id;
}

VARIANT Str(const wchar_t* text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(text);
  return v;
}

// GetData as a caller calls it; the recordset, or the program ends.
VARIANT GetData(IDispatch* data, DISPID getData, const wchar_t* sql) {
  VARIANT args[7];
  for (VARIANT& a : args) VariantInit(&a);
  args[6] = Str(L"Bench");
  args[5] = Str(sql);
  V_VT(&args[4]) = VT_NULL;
  DISPPARAMS params{args, nullptr, 7, 0};
  VARIANT rsv;
  VariantInit(&rsv);
  data->Invoke(getData, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, &rsv, nullptr, nullptr);
  for (VARIANT& a : args) VariantClear(&a);
  if (V_VT(&rsv) != VT_DISPATCH || !V_DISPATCH(&rsv)) {
    fprintf(stderr, "GetData failed\n");
    ExitProcess(3);
  }
  return rsv;
}

// Through the data-access object: GetData, then Fields(i).Value for every field.
double ReadOurs(IDispatch* data, long& fields, size_t& memory) {
  const WORD get = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  size_t before = WorkingSetBytes();
  double start = Now();
  VARIANT rsv = GetData(data, IdOf(data, L"GetData"), L"Select * From Documentos");
  memory = WorkingSetBytes() - before;
  IDispatch* rs = V_DISPATCH(&rsv);
  DISPID eof = IdOf(rs, L"EOF"), moveNext = IdOf(rs, L"MoveNext"), fieldsId = IdOf(rs, L"Fields");
  VARIANT fv;
  VariantInit(&fv);
  Invoke(rs, fieldsId, get, nullptr, &fv);
  IDispatch* fieldsObject = V_DISPATCH(&fv);
  VARIANT countV;
  VariantInit(&countV);
  Invoke(fieldsObject, IdOf(fieldsObject, L"Count"), get, nullptr, &countV);
  const long columns = V_I4(&countV);
  // A caller keeps the field objects and reads their values row after row.
  std::vector<IDispatch*> fieldObjects(columns);
  for (long c = 0; c < columns; ++c) {
    VARIANT index;
    VariantInit(&index);
    V_VT(&index) = VT_I4;
    V_I4(&index) = c;
    VARIANT f;
    VariantInit(&f);
    Invoke(fieldsObject, DISPID_VALUE, get, &index, &f);
    fieldObjects[c] = V_DISPATCH(&f);
  }
  fields = 0;
  for (;;) {
    VARIANT atEnd;
    VariantInit(&atEnd);
    Invoke(rs, eof, get, nullptr, &atEnd);
    if (V_BOOL(&atEnd)) break;
    for (long c = 0; c < columns; ++c) {
      VARIANT v;
      VariantInit(&v);
      Invoke(fieldObjects[c], DISPID_VALUE, DISPATCH_PROPERTYGET, nullptr, &v);
      VariantClear(&v);
      ++fields;
    }
    Invoke(rs, moveNext, DISPATCH_METHOD, nullptr, nullptr);
  }
  double elapsed = Now() - start;
  for (IDispatch* f : fieldObjects) f->Release();
  VariantClear(&fv);
  VariantClear(&rsv);
  return elapsed;
}

const wchar_t kOneRow[] = L"Select * From Documentos Where DocumentoId = 7";

// Plain SQLite: the statement prepared once, each read stepping its row into Variants.
double ReadOneFloor(const std::wstring& path, long reads) {
  sqlite3* db = nullptr;
  sqlite3_open(vk::data::Narrow(path).c_str(), &db);
  sqlite3_stmt* stmt = nullptr;
  Check(sqlite3_prepare_v2(db, vk::data::Narrow(kOneRow).c_str(), -1, &stmt, nullptr), db, "select");
  const std::vector<bool> isDate = vk::bench::DateColumns(stmt);
  double start = Now();
  for (long k = 0; k < reads; ++k) {
    while (sqlite3_step(stmt) == SQLITE_ROW) vk::bench::MakeRowVariants(stmt, isDate);
    sqlite3_reset(stmt);
  }
  double elapsed = Now() - start;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return elapsed;
}

double ReadOneOurs(IDispatch* data, long reads) {
  const DISPID getData = IdOf(data, L"GetData");
  double start = Now();
  for (long k = 0; k < reads; ++k) {
    VARIANT rs = GetData(data, getData, kOneRow);
    VariantClear(&rs);
  }
  return Now() - start;
}

double AddFloor(const std::wstring& path, long first, long count) {
  sqlite3* db = nullptr;
  sqlite3_open(vk::data::Narrow(path).c_str(), &db);
  std::vector<DocumentValues> docs;
  for (long n = first; n < first + count; ++n) docs.push_back(MakeDocument(n));
  double start = Now();
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr), db, "prepare");
  for (long k = 0; k < count; ++k) {
    const DocumentValues& d = docs[k];
    Check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db, "begin");
    BindDocument(insert, first + k, d, 2);
    Check(sqlite3_step(insert), db, "insert");
    sqlite3_reset(insert);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  }
  sqlite3_finalize(insert);
  double elapsed = Now() - start;
  sqlite3_close(db);
  return elapsed;
}

double AddOurs(IDispatch* data, long first, long count) {
  // The callers' parameter arrays are made before the clock starts.
  std::vector<VARIANT> arrays(count);
  for (long k = 0; k < count; ++k) {
    DocumentValues d = MakeDocument(first + k);
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 24);
    VARIANT* items = static_cast<VARIANT*>(array->pvData);
    V_VT(&items[0]) = VT_R8;
    V_R8(&items[0]) = first + k;
    for (int i = 1; i <= 20; ++i) {
      if (i == 4) { V_VT(&items[4]) = VT_I4; V_I4(&items[4]) = 2; continue; }
      if (i == 17) { V_VT(&items[17]) = VT_DATE; V_DATE(&items[17]) = 46362; continue; }
      items[i] = Str(d.texts[i].c_str());
    }
    V_VT(&items[21]) = VT_BOOL;
    V_BOOL(&items[21]) = VARIANT_TRUE;
    items[22] = Str(L"bench");
    items[23] = Str(L"2026-12-07");
    VariantInit(&arrays[k]);
    V_VT(&arrays[k]) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&arrays[k]) = array;
  }
  DISPID execute = IdOf(data, L"Execute");
  double start = Now();
  for (long k = 0; k < count; ++k) {
    VARIANT args[6];
    for (VARIANT& a : args) VariantInit(&a);
    args[5] = Str(L"Bench");
    args[4] = Str(L"Documentos_Add");
    args[3] = arrays[k];  // shallow: the array stays owned by arrays[k]
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 4;
    DISPPARAMS params{args, nullptr, 6, 0};
    VARIANT ok;
    VariantInit(&ok);
    data->Invoke(execute, IID_NULL, 0, DISPATCH_METHOD, &params, &ok, nullptr, nullptr);
    VariantClear(&args[5]);
    VariantClear(&args[4]);
    if (V_VT(&ok) != VT_BOOL || !V_BOOL(&ok)) {
      fprintf(stderr, "Documentos_Add %ld failed\n", first + k);
      ExitProcess(4);
    }
  }
  double elapsed = Now() - start;
  for (VARIANT& a : arrays) VariantClear(&a);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc > 1 ? atol(argv[1]) : 100000;
  const long adds = argc > 2 ? atol(argv[2]) : 10000;
  const long reads = argc > 3 ? atol(argv[3]) : 10000;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring folder = vk::bench::ScratchDataFolder(L"qdbench");
  std::wstring path = folder + L"\\data\\Bench.db";
  DeleteFileW(path.c_str());
  Fill(path, rows);
  vk::data::QdProcedure::SetDefaultFolder(folder);
  ComPtr<IDispatch> data = ComPtr<IDispatch>::Attach(vk::data::QdProcedure::Create());

  // Reads: one warm-up pass each, then the measured pass.
  long floorFields = 0, ourFields = 0;
  size_t memory = 0;
  ReadFloor(path, floorFields);
  double floorRead = ReadFloor(path, floorFields);
  ReadOurs(data.get(), ourFields, memory);
  double ourRead = ReadOurs(data.get(), ourFields, memory);

  // The rowset's own accounting, for the same query.
  size_t held = 0, values = 0;
  {
    auto db = vk::data::Database::Open(path);
    auto rowset = vk::data::Rowset::Fetch(db->Prepare("Select * From Documentos"));
    held = rowset->HeldBytes();
    values = rowset->ValueBytes();
  }

  // Adds: alternating rounds, so that a slow spell of the disk falls on both sides.
  double floorAdd = 0, ourAdd = 0;
  const long round = adds < 500 ? adds : 500;
  for (long done = 0; done < adds; done += round) {
    floorAdd += AddFloor(path, rows + 1 + done, round);
    ourAdd += AddOurs(data.get(), rows + adds + 1 + done, round);
  }

  // Small reads: a warm-up of each, then the measured run.
  ReadOneFloor(path, reads / 10);
  ReadOneOurs(data.get(), reads / 10);
  const double floorOne = ReadOneFloor(path, reads);
  const double ourOne = ReadOneOurs(data.get(), reads);

  printf("read %ld rows, %ld fields: floor %.3f s, ours %.3f s, ratio %.2f\n", rows, ourFields, floorRead, ourRead,
         ourRead / floorRead);
  printf("recordset memory: held %.1f MB for %.1f MB of values (ratio %.2f); working set grew %.1f MB in GetData\n",
         held / 1048576.0, values / 1048576.0, static_cast<double>(held) / values, memory / 1048576.0);
  printf("Documentos_Add x %ld: floor %.3f s, ours %.3f s, ratio %.2f\n", adds, floorAdd, ourAdd, ourAdd / floorAdd);
  printf("GetData of one row x %ld: floor %.1f us, ours %.1f us a call, ratio %.2f\n", reads, floorOne * 1e6 / reads,
         ourOne * 1e6 / reads, ourOne / floorOne);
  data.reset();
  CoUninitialize();
  return floorFields == ourFields ? 0 : 1;
}
