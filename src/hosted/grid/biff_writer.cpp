#include "hosted/grid/biff_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "base/vb_error.h"
#include "hosted/grid/compound_file.h"
#include "hosted/grid/export_file.h"
#include "hosted/grid/grid_value.h"

namespace vk::grid {

namespace {

constexpr size_t kMaxRecordData = 8224;
constexpr uint16_t kXfGeneral = 15, kXfDate = 16, kXfDateTime = 17;

// Records written in place into a buffer that grows by doubling (sized up front for a
// sheet); only the first Size() bytes are written.
class Records {
 public:
  void Reserve(size_t size) {
    if (size > capacity_) Grow(size);
  }
  size_t Size() const { return used_; }
  const uint8_t* Data() const { return bytes_.get(); }
  uint8_t& At(size_t offset) { return bytes_[offset]; }

  void Begin(uint16_t type) {
    start_ = used_;
    U16(type);
    U16(0);
  }
  void End() {
    const size_t len = used_ - start_ - 4;
    bytes_[start_ + 2] = len & 0xFF;
    bytes_[start_ + 3] = (len >> 8) & 0xFF;
  }
  size_t DataSize() const { return used_ - start_ - 4; }
  void U8(uint8_t v) { Raw(&v, 1); }
  // Little-endian, as the format is and as this machine is.
  void U16(uint16_t v) { Raw(&v, 2); }
  void U32(uint32_t v) { Raw(&v, 4); }
  void Raw(const void* data, size_t size) {
    if (capacity_ - used_ < size) Grow(used_ + size);
    std::memcpy(bytes_.get() + used_, data, size);
    used_ += size;
  }
  void Chars(std::wstring_view s) {
    static_assert(sizeof(wchar_t) == 2, "UTF-16 as stored");
    Raw(s.data(), s.size() * 2);
  }
  // A short string with its one-byte length, always stored as UTF-16.
  void ShortString(std::wstring_view s) {
    U8(static_cast<uint8_t>(s.size()));
    U8(1);
    Chars(s);
  }
  void LongString(std::wstring_view s) {
    U16(static_cast<uint16_t>(s.size()));
    U8(1);
    Chars(s);
  }
  void Record(uint16_t type, std::initializer_list<uint16_t> words) {
    Begin(type);
    for (uint16_t w : words) U16(w);
    End();
  }
  // A whole record of a cell at once: its type, row, column and XF, then `body`.
  template <size_t N>
  void CellRecord(uint16_t type, uint16_t row, uint16_t column, uint16_t xf, const uint8_t (&body)[N]) {
    uint8_t record[10 + N];
    const uint16_t head[5] = {type, static_cast<uint16_t>(6 + N), row, column, xf};
    std::memcpy(record, head, 10);
    std::memcpy(record + 10, body, N);
    Raw(record, sizeof record);
  }

 private:
  void Grow(size_t atLeast) {
    // Left unset: a sheet's buffer is only touched where it is written.
    const size_t capacity = std::max(atLeast, capacity_ * 2);
    std::unique_ptr<uint8_t[]> bigger(new uint8_t[capacity]);
    if (used_) std::memcpy(bigger.get(), bytes_.get(), used_);
    bytes_ = std::move(bigger);
    capacity_ = capacity;
  }
  std::unique_ptr<uint8_t[]> bytes_;
  size_t capacity_ = 0;
  size_t used_ = 0;
  size_t start_ = 0;
};

void Bof(Records& r, uint16_t kind) {
  r.Begin(0x0809);
  r.U16(0x0600);
  r.U16(kind);
  r.U16(0x0DBB);
  r.U16(0x07CC);
  r.U32(0);
  r.U32(6);
  r.End();
}

void Font(Records& r, bool bold) {
  r.Begin(0x0031);
  r.U16(200);                // 10 points in twentieths
  r.U16(0);
  r.U16(0x7FFF);             // automatic colour
  r.U16(bold ? 700 : 400);
  r.U16(0);
  r.U8(0); r.U8(0); r.U8(0); r.U8(0);
  r.ShortString(L"Arial");
  r.End();
}

void Format(Records& r, uint16_t id, const std::wstring& pattern) {
  r.Begin(0x041E);
  r.U16(id);
  r.LongString(pattern);
  r.End();
}

void Xf(Records& r, bool style, uint16_t font, uint16_t format) {
  r.Begin(0x00E0);
  r.U16(font);
  r.U16(format);
  r.U16(style ? 0xFFF5 : 0x0001);  // style XFs have no parent; cells take XF 0
  r.U8(0x20);                      // general, bottom
  r.U8(0);
  r.U8(0);
  r.U8(style ? 0xF4 : 0xFC);
  r.U32(0);
  r.U32(0);
  r.U16(0x20C0);
  r.End();
}

struct TextHash {
  using is_transparent = void;
  size_t operator()(std::wstring_view text) const { return std::hash<std::wstring_view>{}(text); }
};
using TextNumbers = std::unordered_map<std::wstring, uint32_t, TextHash, std::equal_to<>>;

// The shared string table, split into CONTINUE records where it passes the record size;
// a string cut in two repeats its flags byte at the start of the continuation.
class StringTable {
 public:
  // The number of a string, added at its first use.
  uint32_t Add(std::wstring_view s) {
    // Looked up first: most texts of a log repeat, and a new key costs a copy.
    if (auto found = index_.find(s); found != index_.end()) return found->second;
    auto [it, added] = index_.emplace(std::wstring(s), static_cast<uint32_t>(strings_.size()));
    strings_.push_back(&it->first);
    return it->second;
  }
  // Counts the cells that show strings (the table records how many there are).
  void CountUses(size_t uses) { total_ += static_cast<uint32_t>(uses); }

  // Writes the table and, after it, the index of every dsst-th string (EXTSST) that
  // readers use to find a string without walking the whole table.
  void Write(Records& r) const {
    const uint16_t perBucket = static_cast<uint16_t>(std::max<size_t>(8, (strings_.size() + 127) / 128));
    std::vector<std::pair<uint32_t, uint16_t>> buckets;
    r.Begin(0x00FC);
    r.U32(total_);
    r.U32(static_cast<uint32_t>(strings_.size()));
    for (size_t i = 0; i < strings_.size(); ++i) {
      std::wstring_view s = *strings_[i];
      if (kMaxRecordData - r.DataSize() < 5) Continue(r);
      if (i % perBucket == 0)
        buckets.emplace_back(static_cast<uint32_t>(r.Size()), static_cast<uint16_t>(r.DataSize() + 4));
      r.U16(static_cast<uint16_t>(s.size()));
      r.U8(1);
      // As many characters as the record holds, then a continuation.
      while (!s.empty()) {
        size_t fits = (kMaxRecordData - r.DataSize()) / 2;
        if (fits == 0) {
          Continue(r);
          r.U8(1);
          fits = (kMaxRecordData - r.DataSize()) / 2;
        }
        const size_t n = std::min(fits, s.size());
        r.Chars(s.substr(0, n));
        s.remove_prefix(n);
      }
    }
    r.End();
    r.Begin(0x00FF);
    r.U16(perBucket);
    for (const auto& [offset, inRecord] : buckets) {
      r.U32(offset);
      r.U16(inRecord);
      r.U16(0);
    }
    r.End();
  }

 private:
  static void Continue(Records& r) {
    r.End();
    r.Begin(0x003C);
  }
  uint32_t total_ = 0;
  TextNumbers index_;
  std::vector<const std::wstring*> strings_;
};

constexpr size_t kLongestCellText = 32767;  // the longest text a cell holds
constexpr uint32_t kNoString = UINT32_MAX;

std::wstring_view Cut(std::wstring_view text) { return text.substr(0, kLongestCellText); }

// The numbers of the cells' strings in the shared string table, which also counts the
// cells. A repeating piece (a value list's text) is found by its id, a column's text the
// same as the cell above it without a look-up, the others by the table's hash.
class CellStrings {
 public:
  CellStrings(StringTable& sst, int columns) : sst_(sst), last_(static_cast<size_t>(columns)) {}

  uint32_t Of(int column, const ShownCell& cell) {
    sst_.CountUses(1);
    if (cell.pieceCount == 1 && cell.pieces[0].id >= 0) {
      const auto id = static_cast<size_t>(cell.pieces[0].id);
      if (id >= byPiece_.size()) byPiece_.resize(id + 1, kNoString);
      if (byPiece_[id] == kNoString) byPiece_[id] = sst_.Add(Cut(cell.pieces[0].text));
      return byPiece_[id];
    }
    Last& last = last_[static_cast<size_t>(column)];
    if (cell.pieceCount == 1) {
      const std::wstring_view text = Cut(cell.pieces[0].text);
      if (last.number != kNoString && text == last.text) return last.number;
      last.text.assign(text);
    } else {
      last.text = JoinedText(cell);
      if (last.text.size() > kLongestCellText) last.text.resize(kLongestCellText);
    }
    return last.number = sst_.Add(last.text);
  }

 private:
  struct Last {
    std::wstring text;
    uint32_t number = kNoString;
  };
  StringTable& sst_;
  std::vector<uint32_t> byPiece_;  // by the piece's id
  std::vector<Last> last_;
};

// The workbook stream in its two parts, written one after the other: the globals
// (formats, styles, the shared strings, the sheet's place), then the sheet.
struct Workbook {
  Records globals, sheet;
  size_t Size() const { return globals.Size() + sheet.Size(); }
};

void WriteCells(Records& sheet, CellStrings& strings, const ExportRow& cells, uint16_t row) {
  for (size_t c = 0; c < cells.cells.size(); ++c) {
    const ShownCell& cell = cells.cells[c];
    const auto column = static_cast<uint16_t>(c);
    switch (cell.kind) {
      case ExportCell::kBlank:
        break;
      case ExportCell::kText: {
        const uint32_t number = strings.Of(static_cast<int>(c), cell);
        uint8_t body[4];
        std::memcpy(body, &number, 4);
        sheet.CellRecord(0x00FD, row, column, kXfGeneral, body);
        break;
      }
      case ExportCell::kNumber:
      case ExportCell::kDate: {
        uint16_t xf = kXfGeneral;
        if (cell.kind == ExportCell::kDate) xf = cell.number == std::floor(cell.number) ? kXfDate : kXfDateTime;
        uint8_t body[8];
        std::memcpy(body, &cell.number, 8);
        sheet.CellRecord(0x0203, row, column, xf, body);
        break;
      }
      case ExportCell::kBool: {
        const uint8_t body[2] = {static_cast<uint8_t>(cell.number != 0 ? 1 : 0), 0};
        sheet.CellRecord(0x0205, row, column, kXfGeneral, body);
        break;
      }
    }
  }
}

Workbook BuildWorkbook(const ExportTable& table, const std::wstring& sheetName) {
  const int columns = table.ColumnCount();
  const int rows = table.RowCount();
  CheckSpreadsheetFits(rows, columns);

  // The sheet first, so that its strings are known when the globals are written.
  Workbook book;
  StringTable sst;
  Records& sheet = book.sheet;
  Bof(sheet, 0x0010);
  sheet.Begin(0x0200);
  sheet.U32(0);
  sheet.U32(static_cast<uint32_t>(rows + 1));
  sheet.U16(0);
  sheet.U16(static_cast<uint16_t>(columns));
  sheet.U16(0);
  sheet.End();
  for (int c = 0; c < columns; ++c) {
    // Column widths in 1/256 of a character (a character is about 107 twips).
    const double chars = table.ColumnWidth(c) / 107.0;
    const uint16_t width = static_cast<uint16_t>(std::fmin(255.0, std::fmax(1.0, chars)) * 256);
    sheet.Record(0x007D, {static_cast<uint16_t>(c), static_cast<uint16_t>(c), width, kXfGeneral, 0, 0});
  }
  for (int c = 0; c < columns; ++c) {
    uint8_t body[4];
    const uint32_t number = sst.Add(Cut(table.Caption(c)));
    std::memcpy(body, &number, 4);
    sheet.CellRecord(0x00FD, 0, static_cast<uint16_t>(c), kXfGeneral, body);
  }
  sst.CountUses(static_cast<size_t>(columns));

  // The largest cell record (a number's) for every cell: the buffer never grows.
  sheet.Reserve(sheet.Size() + static_cast<size_t>(rows) * static_cast<size_t>(columns) * 18);
  CellStrings strings(sst, columns);
  ExportRow cells;
  for (int r = 0; r < rows; ++r) {
    table.ReadRow(r, cells, ExportText::kTextsOnly);
    WriteCells(sheet, strings, cells, static_cast<uint16_t>(r + 1));
  }

  sheet.Begin(0x023E);  // window: gridlines, headers, zeros, first sheet selected
  sheet.U16(0x06B6);
  sheet.U16(0);
  sheet.U16(0);
  sheet.U32(0x40);
  sheet.U16(0);
  sheet.U16(0);
  sheet.U32(0);
  sheet.End();
  sheet.Record(0x000A, {});

  Records& globals = book.globals;
  Bof(globals, 0x0005);
  globals.Record(0x0042, {1200});  // code page: UTF-16
  globals.Record(0x003D, {0, 0, 0x3000, 0x2000, 0x0038, 0, 0, 1, 0x0258});
  for (int i = 0; i < 5; ++i) Font(globals, false);  // font 4 is never referenced, by convention
  Format(globals, 164, L"dd/mm/yyyy");
  Format(globals, 165, L"dd/mm/yyyy hh:mm:ss");
  for (int i = 0; i < 15; ++i) Xf(globals, true, 0, 0);
  Xf(globals, false, 0, 0);
  Xf(globals, false, 0, 164);
  Xf(globals, false, 0, 165);
  globals.Record(0x0293, {0x8000, 0xFF00});  // the built-in Normal style on XF 0
  globals.Begin(0x0085);
  const size_t sheetOffsetAt = globals.Size();
  globals.U32(0);
  globals.U8(0);
  globals.U8(0);
  globals.ShortString(std::wstring_view(sheetName).substr(0, 31));
  globals.End();
  sst.Write(globals);
  globals.Record(0x000A, {});

  const uint32_t sheetOffset = static_cast<uint32_t>(globals.Size());
  for (int i = 0; i < 4; ++i) globals.At(sheetOffsetAt + i) = (sheetOffset >> (8 * i)) & 0xFF;
  return book;
}

}  // namespace

void CheckSpreadsheetFits(int rows, int columns) {
  if (columns > 256 || rows + 1 > 65536)
    throw VbError{err::InvalidProcedureCall, kGridSource,
                  L"Too many rows or columns for a spreadsheet of this format (65,536 rows, 256 columns)"};
}

std::vector<uint8_t> BuildWorkbookStream(const ExportTable& table, const std::wstring& sheetName) {
  const Workbook book = BuildWorkbook(table, sheetName);
  std::vector<uint8_t> stream;
  for (const Records* r : {&book.globals, &book.sheet}) stream.insert(stream.end(), r->Data(), r->Data() + r->Size());
  return stream;
}

void WriteSpreadsheet(const std::wstring& path, const ExportTable& table) {
  const Workbook book = BuildWorkbook(table, L"Hoja1");
  const CompoundFileFrame frame = FrameStream(L"Workbook", book.Size());
  ExportFile file(path);
  file.Write(frame.head.data(), frame.head.size());
  for (const Records* r : {&book.globals, &book.sheet}) file.Write(r->Data(), r->Size());
  file.Write(frame.tail.data(), frame.tail.size());
  file.Commit();
}

}  // namespace vk::grid
