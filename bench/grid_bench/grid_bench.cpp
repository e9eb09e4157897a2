// The grid at scale: 100,000 rows of 23 columns filled from a recordset's rows, scrolled
// to the end, sorted by one column and grouped on one column, then exported. Prints
// the time of each step and the process's memory. Run under a display:
//   wine grid_bench.exe                 the timings
//   wine grid_bench.exe --sample DIR    writes grid_sample.xls and grid_sample.csv of a
//                                       small grid for the spreadsheet check
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/vb_error.h"
#include "bench/support/bench_timing.h"
#include "hosted/grid/grid_control.h"
#include "runtime/form.h"

using namespace vk::grid;

namespace {

using vk::bench::Now;

double MemoryMb() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
  return pmc.PagefileUsage / (1024.0 * 1024.0);
}

const wchar_t* const kFields[23] = {
    L"CategoriaId", L"SubCategoriaId", L"Fecha", L"TipoDocumentoId", L"Campo01", L"ReferenciaId",
    L"GerenciaId", L"DocumentoId", L"Documento", L"Path", L"Campo02", L"Campo03", L"Campo04", L"Campo05",
    L"Campo06", L"Campo07", L"Campo08", L"Campo09", L"Campo10", L"CBarra", L"Comentarios", L"FechaAlta",
    L"IsNew"};

// The rows as a recordset hands them over: one VARIANT per field.
std::vector<std::vector<GridValue>> MakeRecords(int rows) {
  std::vector<std::vector<GridValue>> records(static_cast<size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    auto& rec = records[r];
    rec.reserve(23);
    rec.emplace_back(std::to_wstring(1 + (r * 7919) % 20));      // CategoriaId
    rec.emplace_back(std::to_wstring(1 + r % 50));                // SubCategoriaId
    rec.push_back(GridValue::Date(40000.0 + (r * 31) % 5000));    // Fecha
    rec.emplace_back(static_cast<long>(1 + r % 12));              // TipoDocumentoId
    for (int f = 4; f < 23; ++f) {
      if (f == 7) rec.emplace_back(static_cast<long>(100000 - r));  // DocumentoId
      else if (f == 21) rec.push_back(GridValue::Date(44000.0 + r % 700));
      else if (f == 22) rec.emplace_back(static_cast<long>(r % 3 == 0 ? 0 : 1));
      else rec.emplace_back(std::wstring(kFields[f]) + L" " + std::to_wstring(r));
    }
  }
  return records;
}

void SetUpColumns(GridControl& grid) {
  for (int f = 0; f < 23; ++f) {
    GridColumn& c = grid.Columns().Add(kFields[f]);
    c.Width = 1100;
    if (f == 2 || f == 21) c.DataType = kTypeDate;
  }
  grid.Styles().Add(L"IsNew").OwnFont().bold = true;
  grid.AddFormatCondition(L"IsNew", FormatCondition::kEqual, GridValue(0L), L"IsNew");
}

void Fill(GridControl& grid, const std::vector<std::vector<GridValue>>& records) {
  grid.RemoveAllRows();
  grid.SetDisplaySwitches(true);
  grid.SetDataRowCount(static_cast<int>(records.size()));
  for (size_t r = 0; r < records.size(); ++r)
    for (int f = 0; f < 23; ++f) grid.SetValue(static_cast<int>(r), f, records[r][f]);
  grid.SetDisplaySwitches(false);
  grid.Refresh(1);
}

// A shown form of 1000 by 700 pixels holding one grid of 14000 by 9000 twips.
class BenchForm : public vk::Form {
 public:
  BenchForm() : Form({.name = L"FGridBench", .caption = L"grid bench", .scaleWidth = 15000, .scaleHeight = 10500}) {
    grid = &Add<GridControl>({.name = L"GRDetail", .width = 14000, .height = 9000});
  }
  GridControl* grid;
};

void Paint(HWND hwnd) {
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

int Sample(const std::wstring& folder) {
  auto form = vk::Form::Load<BenchForm>();
  form->Show();
  GridControl& grid = *form->grid;
  SetUpColumns(grid);
  grid.Columns().Item(L"Documento").AddValueItem(GridValue(L"Documento 5"), L"Cinco; \"quinto\"");
  Fill(grid, MakeRecords(2000));
  grid.ExportData(folder + L"\\grid_sample.xls", kExportSpreadsheet, 2);
  grid.ExportData(folder + L"\\grid_sample.csv", kExportDelimited, 2, L",");
  std::printf("wrote grid_sample.xls and grid_sample.csv\n");
  return 0;
}

}  // namespace

int Run(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--sample") {
    const std::string folder = argv[2];
    return Sample(std::wstring(folder.begin(), folder.end()));
  }
  const int rows = 100000;
  const double mem0 = MemoryMb();
  double t = Now();
  const auto records = MakeRecords(rows);
  std::printf("recordset rows made:          %8.3f s  (%d x 23)\n", Now() - t, rows);
  const double memRecords = MemoryMb();

  auto form = vk::Form::Load<BenchForm>();
  form->Show();
  GridControl& grid = *form->grid;
  SetUpColumns(grid);
  t = Now();
  Fill(grid, records);
  std::printf("fill 100,000 x 23:            %8.3f s\n", Now() - t);
  std::printf("memory: records %.1f MB, grid %.1f MB more\n", memRecords - mem0, MemoryMb() - memRecords);

  GridWindow& w = *grid.Window();
  t = Now();
  Paint(w.hwnd());
  std::printf("first paint:                  %8.4f s  (%d rows painted)\n", Now() - t, w.LastPaintedRows());
  t = Now();
  SendMessageW(w.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  Paint(w.hwnd());
  std::printf("scroll to the end + paint:    %8.4f s  (top row %d)\n", Now() - t, w.TopRow());
  t = Now();
  const int pages = 500;
  SendMessageW(w.hwnd(), WM_VSCROLL, SB_TOP, 0);
  for (int i = 0; i < pages; ++i) {
    SendMessageW(w.hwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    Paint(w.hwnd());
  }
  std::printf("page down + paint, average:   %8.4f s  (%d pages)\n", (Now() - t) / pages, pages);

  {
    // The painting alone, into a memory bitmap: what the grid itself costs per screen.
    HDC screen = GetDC(w.hwnd());
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1000, 700);
    HGDIOBJ old = SelectObject(memory, bitmap);
    t = Now();
    for (int i = 0; i < 100; ++i) w.Paint(memory);
    std::printf("paint a screen off-screen:    %8.4f s  (average of 100)\n", (Now() - t) / 100);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(w.hwnd(), screen);
  }

  grid.Columns().Item(L"Documento").SortOrder = kSortAscending;
  t = Now();
  grid.Sort(grid.Columns().Find(L"Documento"));
  std::printf("sort by Documento (text):     %8.3f s\n", Now() - t);
  grid.Columns().Item(L"DocumentoId").SortType = kSortNumeric;
  t = Now();
  grid.Sort(grid.Columns().Find(L"DocumentoId"));
  std::printf("sort by DocumentoId (number): %8.3f s\n", Now() - t);

  t = Now();
  grid.RemoveAllGroups();
  grid.AddGroup(L"CategoriaId");
  const int shown = grid.Model().DisplayRowCount();
  std::printf("group on CategoriaId:         %8.3f s  (%d rows shown)\n", Now() - t, shown);
  t = Now();
  SendMessageW(w.hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  Paint(w.hwnd());
  std::printf("grouped scroll to end+paint:  %8.4f s\n", Now() - t);

  // A fill as the audit screen makes it: no display switches, cell by cell, while the
  // grid is grouped and shown.
  t = Now();
  grid.SetDataRowCount(0);
  grid.SetDataRowCount(rows);
  for (size_t r = 0; r < records.size(); ++r)
    for (int f = 0; f < 23; ++f) grid.SetValue(static_cast<int>(r), f, records[r][f]);
  Paint(w.hwnd());
  std::printf("fill without switches, grouped:%7.3f s\n", Now() - t);

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  t = Now();
  grid.ExportData(std::wstring(temp) + L"grid_bench.csv", kExportDelimited, 2, L";");
  std::printf("export 100,000 rows as text:  %8.3f s\n", Now() - t);
  grid.SetDataRowCount(65000);
  t = Now();
  grid.ExportData(std::wstring(temp) + L"grid_bench.xls", kExportSpreadsheet, 2);
  std::printf("export 65,000 rows as .xls:   %8.3f s\n", Now() - t);
  std::printf("memory at the end:            %8.1f MB\n", MemoryMb());
  form->Unload();
  return 0;
}

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const vk::VbError& e) {
    std::printf("error %ld: %ls\n", e.number, e.description.c_str());
    return 1;
  }
}
