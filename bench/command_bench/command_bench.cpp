// Command benchmark (run by hand under Wine, never by CTest): one Execute of SQL
// text holding 20,000 short statements (inserts and updates of a work table), against
// plain SQLite running the same text with sqlite3_exec between BEGIN and COMMIT. The
// cost must grow with the length of the command: ours within 2x of the floor.
// Usage: command_bench.exe [statements] [rounds]
#include <windows.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/support/bench_sqlite.h"
#include "bench/support/bench_timing.h"
#include "com/com_ptr.h"
#include "dataaccess/qd_procedure.h"
#include "dataaccess/utf8.h"

namespace {

using vk::com::ComPtr;
using vk::bench::Check;
using vk::bench::OpenWithSchema;
using vk::bench::ReadScript;
using vk::bench::Seconds;

constexpr double kFloorRatio = 2.0;

// Statement n of the command: mostly inserts, every tenth an update of an earlier row.
std::wstring Command(long statements) {
  std::wstring text;
  text.reserve(static_cast<size_t>(statements) * 80);
  for (long n = 1; n <= statements; ++n) {
    if (n % 10 == 0) {
      text += L"Update Lote Set Texto = 'cambiado " + std::to_wstring(n) + L"' Where Id = " + std::to_wstring(n / 2) +
              L";\r\n";
    } else {
      text += L"Insert Into Lote (Id, Texto, Fecha) Values (" + std::to_wstring(n) + L", 'línea " +
              std::to_wstring(n) + L" de O''Brien', '2026-12-07 10:00:00');\r\n";
    }
  }
  return text;
}

// A fresh database with the work table, so both sides start alike.
void MakeDatabase(const std::wstring& path) {
  DeleteFileW(path.c_str());
  sqlite3* db = OpenWithSchema(path);
  Check(sqlite3_exec(db, "CREATE TABLE Lote (Id INT NOT NULL PRIMARY KEY, Texto VARCHAR(100), Fecha DATETIME)",
                     nullptr, nullptr, nullptr),
        db, "table");
  sqlite3_close(db);
}

double Floor(const std::wstring& path, const std::string& command) {
  MakeDatabase(path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(vk::data::Narrow(path).c_str(), &db), db, "open");
  double elapsed = Seconds([&] {
    Check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db, "begin");
    Check(sqlite3_exec(db, command.c_str(), nullptr, nullptr, nullptr), db, "command");
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
  });
  sqlite3_close(db);
  return elapsed;
}

double Ours(const std::wstring& folder, const std::wstring& path, const std::wstring& command) {
  MakeDatabase(path);
  vk::data::QdProcedure::SetDefaultFolder(folder);
  ComPtr<IDispatch> data = ComPtr<IDispatch>::Attach(vk::data::QdProcedure::Create());
  wchar_t executeName[] = L"Execute";
  LPOLESTR names[] = {executeName};
  DISPID execute = 0;
  data->GetIDsOfNames(IID_NULL, names, 1, 0, &execute);
  VARIANT args[6];
  for (VARIANT& a : args) VariantInit(&a);
  V_VT(&args[5]) = VT_BSTR;
  V_BSTR(&args[5]) = SysAllocString(L"Bench");
  V_VT(&args[4]) = VT_BSTR;
  V_BSTR(&args[4]) = SysAllocStringLen(command.data(), static_cast<UINT>(command.size()));
  V_VT(&args[3]) = VT_NULL;
  V_VT(&args[1]) = VT_I4;
  V_I4(&args[1]) = 1;
  DISPPARAMS params{args, nullptr, 6, 0};
  VARIANT ok;
  VariantInit(&ok);
  double elapsed =
      Seconds([&] { data->Invoke(execute, IID_NULL, 0, DISPATCH_METHOD, &params, &ok, nullptr, nullptr); });
  for (VARIANT& a : args) VariantClear(&a);
  if (V_VT(&ok) != VT_BOOL || !V_BOOL(&ok)) {
    fprintf(stderr, "the command failed\n");
    ExitProcess(4);
  }
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  const long statements = argc > 1 ? atol(argv[1]) : 20000;
  const int rounds = argc > 2 ? atoi(argv[2]) : 5;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring folder = vk::bench::ScratchDataFolder(L"qdcommandbench");
  const std::wstring path = folder + L"\\data\\Bench.db";

  // Alternating rounds, the best of each side, so a slow spell of the disk falls on both;
  // then twice the statements, which should take about twice as long on both sides.
  double ratio = 0;
  printf("(floor: plain SQLite, sqlite3_exec of the same text in one transaction; target ratio <= %.1f)\n",
         kFloorRatio);
  for (long count : {statements, statements * 2}) {
    const std::wstring command = Command(count);
    const std::string utf8 = vk::data::Narrow(command);
    double floor = 1e9, ours = 1e9;
    for (int round = 0; round < rounds; ++round) {
      floor = std::min(floor, Floor(path, utf8));
      ours = std::min(ours, Ours(folder, path, command));
    }
    vk::bench::Report("one command of short statements", static_cast<int>(count), ours, floor);
    if (count == statements) ratio = ours / floor;
  }
  DeleteFileW(path.c_str());
  CoUninitialize();
  printf("%s\n", ratio <= kFloorRatio ? "within the target" : "OVER the target");
  return 0;
}
