// The export: the spreadsheet file read back through its compound file and records,
// the delimited text, and the errors of a bad call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/utf8.h"
#include "base/variant.h"
#include "base/vb_error.h"
#include "hosted/grid/biff_writer.h"
#include "hosted/grid/compound_file.h"
#include "hosted/grid/delimited_writer.h"
#include "hosted/grid/grid_export.h"
#include "support/error_of.h"
#include "support/file_bytes.h"
#include "xls_reader.h"

using namespace vk::grid;
using vk::grid::test::ReadXls;

namespace {

using vk::test::ErrorOf;

std::vector<uint8_t> ReadAll(const std::wstring& path) { return vk::test::ReadFileBytes(path); }

std::wstring TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

// The audit grid's shape: value list, hidden column, numbers, dates, texts.
void FillAuditGrid(GridModel& m) {
  GridColumn& doc = m.Columns().Add(L"DocumentoId");
  doc.Caption = L"Documento";
  doc.AddValueItem(GridValue(7L), L"Contrato 7.pdf");
  m.Columns().Add(L"Usuario").Caption = L"Usuario";
  m.Columns().Add(L"RegistroId").Caption = L"Nro.";
  m.Columns().Add(L"Secreto").Hidden = true;
  GridColumn& fecha = m.Columns().Add(L"Fecha");
  fecha.DataType = kTypeDate;
  m.Columns().Add(L"Leido").DataType = kTypeBoolean;
  m.SetDataRowCount(3);
  const wchar_t* users[] = {L"ana", L"luis; \"el jefe\"", L"línea\r\nnueva"};
  for (int r = 0; r < 3; ++r) {
    m.SetValue(r, 0, GridValue(r == 0 ? 7L : 8L + r));
    m.SetValue(r, 1, GridValue(users[r]));
    m.SetValue(r, 2, GridValue(r + 1.5));
    m.SetValue(r, 3, GridValue(L"no sale"));
    m.SetValue(r, 4, GridValue::Date(45292.0 + r));  // 1 January 2024 onward
    m.SetValue(r, 5, GridValue(r % 2 ? 1L : 0L));
  }
}

// A table made up on the fly, for sizes the grid would take long to fill.
class GeneratedTable : public ExportTable {
 public:
  GeneratedTable(int rows, int columns, std::function<ExportCell(int, int)> cell)
      : rows_(rows), columns_(columns), cell_(std::move(cell)) {}
  int ColumnCount() const override { return columns_; }
  int RowCount() const override { return rows_; }
  std::wstring Caption(int c) const override { return L"C" + std::to_wstring(c); }
  float ColumnWidth(int) const override { return 1200; }
  ExportCell Cell(int r, int c) const override { return cell_(r, c); }

 private:
  int rows_, columns_;
  std::function<ExportCell(int, int)> cell_;
};

// The lines of a delimited file, its byte-order mark and captions left out.
std::vector<std::string> DataLines(const std::wstring& path) {
  const auto bytes = ReadAll(path);
  std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> lines;
  size_t at = text.find("\r\n") + 2;
  for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) lines.push_back(text.substr(at, end - at));
  return lines;
}

// More rows than the delimited export writes at a time, so that several blocks are written.
constexpr int kManyRows = 9000;

}  // namespace

TEST(SpreadsheetExport, HoldsTheVisibleColumnsAndTheRowsAsShown) {
  GridModel m;
  FillAuditGrid(m);
  const std::wstring path = TempPath(L"grid_export_test.xls");
  ExportData(m, path, kExportSpreadsheet, 2);
  const auto sheet = ReadXls(ReadAll(path));
  ASSERT_EQ(sheet.error, "");
  const struct {
    int row, col;
    const wchar_t* value;
  } cells[] = {
      {0, 0, L"Documento"}, {0, 1, L"Usuario"}, {0, 2, L"Nro."}, {0, 3, L"Fecha"}, {0, 4, L"Leido"},
      {1, 0, L"Contrato 7.pdf"},  // the value list's text
      {2, 0, L"n:9"},             // no item: the number
      {2, 1, L"luis; \"el jefe\""}, {3, 1, L"línea\r\nnueva"},
      {1, 2, L"n:1.5"}, {1, 3, L"d:45292"}, {3, 3, L"d:45294"},
      {1, 4, L"b:0"}, {2, 4, L"b:1"},
  };
  for (const auto& c : cells) EXPECT_EQ(sheet.cells.at({c.row, c.col}), c.value) << c.row << "," << c.col;
  EXPECT_EQ(sheet.cells.count({0, 5}), 0u);  // the hidden column is left out
  DeleteFileW(path.c_str());
}

TEST(SpreadsheetExport, GroupedGridsExportTheirDataRowsInTheOrderShown) {
  GridModel m;
  m.Columns().Add(L"CategoriaId");
  m.SetDataRowCount(3);
  m.SetValue(0, 0, GridValue(L"B"));
  m.SetValue(1, 0, GridValue(L"A"));
  m.SetValue(2, 0, GridValue(L"B"));
  m.AddGroup(L"CategoriaId");
  GridExportTable table(m);
  ASSERT_EQ(table.RowCount(), 3);  // group rows are not data
  EXPECT_EQ(table.Cell(0, 0).text, L"A");
  EXPECT_EQ(table.Cell(1, 0).text, L"B");
}

TEST(SpreadsheetExport, LongStringTablesContinueAcrossRecords) {
  // 3,000 distinct texts of 37 characters: the string table passes 8,224 bytes many
  // times, and some strings are cut between two records.
  GeneratedTable table(1000, 3, [](int r, int c) {
    ExportCell cell;
    cell.kind = ExportCell::kText;
    cell.text = L"texto número " + std::to_wstring(r) + L" columna " + std::to_wstring(c) + L" ñandú";
    return cell;
  });
  const auto sheet = ReadXls(BuildCompoundFile(L"Workbook", BuildWorkbookStream(table, L"Hoja1")));
  ASSERT_EQ(sheet.error, "");
  int continues = 0;
  for (uint16_t t : sheet.recordTypes) continues += t == 0x003C;
  EXPECT_GT(continues, 5);
  // 3,003 strings (captions included) in buckets of 24: 126 index entries, the first at
  // the first string, which stands 12 bytes into the table's record.
  EXPECT_EQ(sheet.sstIndexBuckets, 126u);
  ASSERT_FALSE(sheet.sstIndexTargets.empty());
  const auto stream = BuildWorkbookStream(table, L"Hoja1");
  for (uint32_t at : sheet.sstIndexTargets) EXPECT_LT(at, stream.size());
  const uint32_t first = sheet.sstIndexTargets[0];
  EXPECT_EQ(stream[first - 12], 0xFC);
  EXPECT_EQ(stream[first] | (stream[first + 1] << 8), 2);  // "C0": the first caption
  for (int r = 0; r < 1000; r += 37)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(sheet.cells.at({r + 1, c}), table.Cell(r, c).text);
}

TEST(SpreadsheetExport, LargeFilesNeedDifatSectorsAndStayReadable) {
  // About 13 MB of numbers: more FAT sectors than the header lists.
  GeneratedTable table(60000, 12, [](int r, int c) {
    ExportCell cell;
    cell.kind = ExportCell::kNumber;
    cell.number = r * 100.0 + c;
    return cell;
  });
  const auto file = BuildCompoundFile(L"Workbook", BuildWorkbookStream(table, L"Hoja1"));
  ASSERT_GT(file.size(), 109u * 128 * 512);
  const auto sheet = ReadXls(file);
  ASSERT_EQ(sheet.error, "");
  EXPECT_EQ(sheet.cells.at({1, 0}), L"n:0");
  EXPECT_EQ(sheet.cells.at({60000, 11}), L"n:5999911");
  EXPECT_EQ(sheet.cells.size(), 60001u * 12);
}

TEST(SpreadsheetExport, SmallFilesArePaddedPastTheMiniStreamCutoff) {
  GeneratedTable table(0, 1, [](int, int) { return ExportCell{}; });
  const auto file = BuildCompoundFile(L"Workbook", BuildWorkbookStream(table, L"Hoja1"));
  const auto sheet = ReadXls(file);
  ASSERT_EQ(sheet.error, "");
  EXPECT_EQ(sheet.cells.at({0, 0}), L"C0");
  EXPECT_EQ(file.size() % 512, 0u);
}

TEST(SpreadsheetExport, StringsAreNumberedInTheOrderTheyFirstAppear) {
  // Thousands of rows: a value list's texts, texts repeated in a column and texts met
  // again thousands of rows later all keep one number, given at first use.
  GridModel m;
  GridColumn& doc = m.Columns().Add(L"DocumentoId");
  for (long id = 1; id <= 700; ++id) doc.AddValueItem(GridValue(id), L"doc " + std::to_wstring(id));
  m.Columns().Add(L"Equipo");
  m.Columns().Add(L"Nro");
  m.SetDataRowCount(kManyRows);
  for (int r = 0; r < kManyRows; ++r) {
    m.SetValue(r, 0, GridValue(static_cast<long>(1 + r * 7919 % 800)));  // some ids have no item
    m.SetValue(r, 1, GridValue(r % 5 ? L"PC-" + std::to_wstring(r / 300 % 11) : L"doc 3"));
    m.SetValue(r, 2, GridValue(static_cast<long>(r)));
  }
  const std::wstring path = TempPath(L"grid_export_strings.xls");
  ExportData(m, path, kExportSpreadsheet, 2);
  const auto sheet = ReadXls(ReadAll(path));
  ASSERT_EQ(sheet.error, "");
  std::vector<std::wstring> expected = {L"DocumentoId", L"Equipo", L"Nro"};
  uint32_t uses = 3;
  const GridExportTable table(m);
  for (int r = 0; r < kManyRows; ++r)
    for (int c = 0; c < 2; ++c) {
      const ExportCell cell = table.Cell(r, c);
      if (cell.kind != ExportCell::kText) continue;
      ++uses;
      if (std::find(expected.begin(), expected.end(), cell.text) == expected.end()) expected.push_back(cell.text);
      ASSERT_EQ(sheet.cells.at({r + 1, c}), cell.text) << r << "," << c;
    }
  EXPECT_EQ(sheet.sharedStrings, expected);
  EXPECT_EQ(sheet.sharedStringUses, uses);
  DeleteFileW(path.c_str());
}

TEST(SpreadsheetExport, TooManyRowsForTheFormatRaiseInsteadOfLosingRows) {
  GeneratedTable table(65536, 1, [](int, int) { return ExportCell{}; });
  EXPECT_EQ(ErrorOf([&] { BuildWorkbookStream(table, L"Hoja1"); }), vk::err::InvalidProcedureCall);
}

TEST(DelimitedExport, QuotesOnlyFieldsThatNeedIt) {
  const struct {
    const wchar_t* field;
    const wchar_t* separator;
    const wchar_t* written;
  } cases[] = {
      {L"plain", L";", L"plain"},
      {L"a;b", L";", L"\"a;b\""},
      {L"a,b", L";", L"a,b"},
      {L"a,b", L",", L"\"a,b\""},
      {L"di \"hola\"", L";", L"\"di \"\"hola\"\"\""},
      {L"dos\nlíneas", L";", L"\"dos\nlíneas\""},
      {L"retorno\r", L";", L"\"retorno\r\""},
      {L"", L";", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteField(c.field, c.separator), c.written) << c.field;
}

TEST(DelimitedExport, Utf8AsTheSystemWritesIt) {
  // Our converter, which writes whole files without a string per field, against the
  // system's: one to four bytes, a surrogate pair, a lone surrogate.
  for (const std::wstring& text : {std::wstring(L"a\u00ed\u20ac"), std::wstring(L"\xD83D\xDE00x"),
                                  std::wstring(L"\xD800"), std::wstring(L"x\xDC00y"), std::wstring()}) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string expected(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), expected.data(), n, nullptr, nullptr);
    std::string ours = "pre";
    vk::AppendUtf8(ours, text.data(), text.size());
    EXPECT_EQ(ours, "pre" + expected);
  }
}

TEST(DelimitedExport, WritesCaptionsThenRowsAsShown) {
  GridModel m;
  FillAuditGrid(m);
  const std::wstring path = TempPath(L"grid_export_test.csv");
  ExportData(m, path, kExportDelimited, 2, L";");
  const auto bytes = ReadAll(path);
  const std::string text(bytes.begin(), bytes.end());
  ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  const size_t firstLine = text.find("\r\n");
  EXPECT_EQ(text.substr(3, firstLine - 3), "Documento;Usuario;Nro.;Fecha;Leido");
  EXPECT_NE(text.find("\r\nContrato 7.pdf;ana;"), std::string::npos);
  EXPECT_NE(text.find(";\"luis; \"\"el jefe\"\"\";"), std::string::npos);
  EXPECT_NE(text.find(";\"l\xC3\xAdnea\r\nnueva\";"), std::string::npos);
  EXPECT_EQ(text.find("no sale"), std::string::npos);
  DeleteFileW(path.c_str());
}

TEST(DelimitedExport, RowsWrittenInBlocksKeepTheirOrderAndEveryByte) {
  // Several blocks of rows, a field longer than any buffer, quotes,
  // separators and characters of every UTF-8 length, against each field written alone.
  GeneratedTable table(kManyRows, 3, [](int r, int c) {
    ExportCell cell;
    cell.kind = ExportCell::kText;
    if (c == 0) cell.text = std::to_wstring(r);
    if (c == 1) cell.text = r % 3 ? L"texto; \"" + std::to_wstring(r % 17) + L"\"" : L"\u00f1\u20ac\xD83D\xDE00";
    if (c == 2 && r == 4321) cell.text = std::wstring(1500000, L'\u00e9');
    return cell;
  });
  const std::wstring path = TempPath(L"grid_export_blocks.csv");
  WriteDelimited(path, table, L";");
  const auto lines = DataLines(path);
  ASSERT_EQ(lines.size(), static_cast<size_t>(kManyRows));
  for (int r = 0; r < kManyRows; ++r) {
    std::string expected;
    for (int c = 0; c < 3; ++c) expected += (c ? ";" : "") + vk::Utf8(QuoteField(table.Cell(r, c).text, L";"));
    ASSERT_EQ(lines[static_cast<size_t>(r)], expected) << r;
  }
  DeleteFileW(path.c_str());
}

TEST(DelimitedExport, DatesShowTheirOwnTextFromDayAndTimeOfDay) {
  // A date's text is made from its day and its second of the day: rounding into the next
  // day, half seconds, days past 2079, dates before 1900 and past any real day all read
  // as the date's own text.
  std::vector<DATE> dates = {1.0, 1.5, 2.25, 45292.0, 45292.5, 45292.99999999, 45292.999994, 45292.9999942,
                             45300.0000057870370, 36526.041666666664, 70000.25, 2958465.99, 1e10, 0.75, -1.25,
                             -700000.75};
  for (int s = 0; s < 86400; s += 997) {
    const DATE half = 45000.0 + (s + 0.5) / 86400.0;
    dates.insert(dates.end(), {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9), 44000.0 + s / 86400.0});
  }
  while (dates.size() < static_cast<size_t>(kManyRows)) dates.push_back(40000.0 + dates.size() * 1.37);
  GridModel m;
  m.Columns().Add(L"Fecha");
  m.SetDataRowCount(static_cast<int>(dates.size()));
  for (size_t r = 0; r < dates.size(); ++r) m.SetValue(static_cast<int>(r), 0, GridValue::Date(dates[r]));
  const std::wstring path = TempPath(L"grid_export_dates.csv");
  ExportData(m, path, kExportDelimited, 2, L";");
  const auto lines = DataLines(path);
  ASSERT_EQ(lines.size(), dates.size());
  for (size_t r = 0; r < dates.size(); ++r) {
    // Dates from 31/12/1899 on as CStr writes them; earlier ones as the value's text.
    const std::wstring shown = dates[r] >= 1 ? vk::DateToText(dates[r]) : GridValue::Date(dates[r]).Text();
    ASSERT_EQ(lines[r], vk::Utf8(QuoteField(shown, L";"))) << dates[r];
  }
  DeleteFileW(path.c_str());
}

TEST(ExportCalls, BadCallsAndUnwritablePathsRaise) {
  GridModel m;
  FillAuditGrid(m);
  const std::wstring missingFolder = TempPath(L"no_such_folder_4711\\x.xls");
  const struct {
    const char* what;
    std::function<void()> call;
    long error;
  } cases[] = {
      {"folder missing, spreadsheet", [&] { ExportData(m, missingFolder, 3, 2); }, vk::err::PathNotFound},
      {"folder missing, text", [&] { ExportData(m, missingFolder, 2, 2, L";"); }, vk::err::PathNotFound},
      {"no name", [&] { ExportData(m, L"", 3, 2); }, vk::err::FileNotFound},
      {"unknown format", [&] { ExportData(m, TempPath(L"x.xls"), 5, 2); }, vk::err::InvalidProcedureCall},
      {"unknown layout", [&] { ExportData(m, TempPath(L"x.xls"), 3, 9); }, vk::err::InvalidProcedureCall},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
}

TEST(ExportCalls, AReadOnlyFileIsRefusedAndKeptInEitherFormat) {
  GridModel m;
  FillAuditGrid(m);
  const std::wstring path = TempPath(L"protegido.xls");
  for (int format : {kExportSpreadsheet, kExportDelimited}) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(std::filesystem::path(path), std::ios::binary) << "kept";
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    vk::VbError reason;
    try {
      ExportData(m, path, format, 2, L";");
    } catch (const vk::VbError& e) {
      reason = e;
    }
    EXPECT_EQ(reason.number, vk::err::PermissionDenied) << format;
    EXPECT_NE(reason.description.find(path), std::wstring::npos) << format;
    const auto bytes = ReadAll(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "kept") << format;
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(path.c_str());
}
