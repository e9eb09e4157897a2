#include "hosted/grid/biff_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "hosted/grid/compound_file.h"
#include "hosted/grid/grid_value.h"
#include "runtime/vb_error.h"

namespace vk::grid {

namespace {

constexpr size_t kMaxRecordData = 8224;
constexpr uint16_t kXfGeneral = 15, kXfDate = 16, kXfDateTime = 17;

class Records {
 public:
  std::vector<uint8_t> bytes;

  void Begin(uint16_t type) {
    start_ = bytes.size();
    U16(type);
    U16(0);
  }
  void End() {
    const size_t len = bytes.size() - start_ - 4;
    bytes[start_ + 2] = len & 0xFF;
    bytes[start_ + 3] = (len >> 8) & 0xFF;
  }
  size_t DataSize() const { return bytes.size() - start_ - 4; }
  void U8(uint8_t v) { bytes.push_back(v); }
  // Little-endian, as the format is and as this machine is.
  void U16(uint16_t v) { Raw(&v, 2); }
  void U32(uint32_t v) { Raw(&v, 4); }
  void F64(double d) { Raw(&d, 8); }
  void Raw(const void* data, size_t size) {
    const size_t at = bytes.size();
    bytes.resize(at + size);
    std::memcpy(bytes.data() + at, data, size);
  }
  void Chars(const std::wstring& s) { for (wchar_t c : s) U16(static_cast<uint16_t>(c)); }
  // A short string with its one-byte length, always stored as UTF-16.
  void ShortString(const std::wstring& s) {
    U8(static_cast<uint8_t>(s.size()));
    U8(1);
    Chars(s);
  }
  void LongString(const std::wstring& s) {
    U16(static_cast<uint16_t>(s.size()));
    U8(1);
    Chars(s);
  }
  void Record(uint16_t type, std::initializer_list<uint16_t> words) {
    Begin(type);
    for (uint16_t w : words) U16(w);
    End();
  }

 private:
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

// The shared string table, split into CONTINUE records where it passes the record size;
// a string cut in two repeats its flags byte at the start of the continuation.
class StringTable {
 public:
  uint32_t Index(const std::wstring& s) {
    ++total_;
    // Looked up first: most texts of a log repeat, and a new key costs a copy.
    if (auto found = index_.find(s); found != index_.end()) return found->second;
    auto [it, added] = index_.emplace(s, static_cast<uint32_t>(strings_.size()));
    strings_.push_back(&it->first);
    return it->second;
  }
  // Writes the table and, after it, the index of every dsst-th string (EXTSST) that
  // readers use to find a string without walking the whole table.
  void Write(Records& r) const {
    const uint16_t perBucket = static_cast<uint16_t>(std::max<size_t>(8, (strings_.size() + 127) / 128));
    std::vector<std::pair<uint32_t, uint16_t>> buckets;
    r.Begin(0x00FC);
    r.U32(total_);
    r.U32(static_cast<uint32_t>(strings_.size()));
    for (size_t i = 0; i < strings_.size(); ++i) {
      const std::wstring* s = strings_[i];
      if (kMaxRecordData - r.DataSize() < 5) Continue(r);
      if (i % perBucket == 0)
        buckets.emplace_back(static_cast<uint32_t>(r.bytes.size()), static_cast<uint16_t>(r.DataSize() + 4));
      r.U16(static_cast<uint16_t>(s->size()));
      r.U8(1);
      for (wchar_t c : *s) {
        if (kMaxRecordData - r.DataSize() < 2) {
          Continue(r);
          r.U8(1);
        }
        r.U16(static_cast<uint16_t>(c));
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
  std::unordered_map<std::wstring, uint32_t> index_;
  std::vector<const std::wstring*> strings_;
};

constexpr size_t kLongestCellText = 32767;  // the longest text a cell holds

}  // namespace

std::vector<uint8_t> BuildWorkbookStream(const ExportTable& table, const std::wstring& sheetName) {
  const int columns = table.ColumnCount();
  const int rows = table.RowCount();
  if (columns > 256 || rows + 1 > 65536)
    throw VbError{err::InvalidProcedureCall, kGridSource,
                  L"Too many rows or columns for a spreadsheet of this format (65,536 rows, 256 columns)"};

  // The sheet first, so that its strings are known when the globals are written.
  StringTable sst;
  Records sheet;
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
  auto label = [&](int row, int col, const std::wstring& text) {
    sheet.Begin(0x00FD);
    sheet.U16(static_cast<uint16_t>(row));
    sheet.U16(static_cast<uint16_t>(col));
    sheet.U16(kXfGeneral);
    sheet.U32(text.size() > kLongestCellText ? sst.Index(text.substr(0, kLongestCellText)) : sst.Index(text));
    sheet.End();
  };
  for (int c = 0; c < columns; ++c) label(0, c, table.Caption(c));
  sheet.bytes.reserve(static_cast<size_t>(rows) * columns * 16);
  ExportCell cell;  // one for the whole table: its text buffer is reused
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      table.FillCell(r, c, cell, ExportText::kTextsOnly);
      const uint16_t row = static_cast<uint16_t>(r + 1);
      switch (cell.kind) {
        case ExportCell::kBlank:
          break;
        case ExportCell::kText:
          label(row, c, cell.text);
          break;
        case ExportCell::kNumber:
        case ExportCell::kDate: {
          uint16_t xf = kXfGeneral;
          if (cell.kind == ExportCell::kDate) xf = cell.number == std::floor(cell.number) ? kXfDate : kXfDateTime;
          sheet.Begin(0x0203);
          sheet.U16(row);
          sheet.U16(static_cast<uint16_t>(c));
          sheet.U16(xf);
          sheet.F64(cell.number);
          sheet.End();
          break;
        }
        case ExportCell::kBool:
          sheet.Begin(0x0205);
          sheet.U16(row);
          sheet.U16(static_cast<uint16_t>(c));
          sheet.U16(kXfGeneral);
          sheet.U8(cell.number != 0 ? 1 : 0);
          sheet.U8(0);
          sheet.End();
          break;
      }
    }
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

  Records book;
  Bof(book, 0x0005);
  book.Record(0x0042, {1200});  // code page: UTF-16
  book.Record(0x003D, {0, 0, 0x3000, 0x2000, 0x0038, 0, 0, 1, 0x0258});
  for (int i = 0; i < 5; ++i) Font(book, false);  // font 4 is never referenced, by convention
  Format(book, 164, L"dd/mm/yyyy");
  Format(book, 165, L"dd/mm/yyyy hh:mm:ss");
  for (int i = 0; i < 15; ++i) Xf(book, true, 0, 0);
  Xf(book, false, 0, 0);
  Xf(book, false, 0, 164);
  Xf(book, false, 0, 165);
  book.Record(0x0293, {0x8000, 0xFF00});  // the built-in Normal style on XF 0
  book.Begin(0x0085);
  const size_t sheetOffsetAt = book.bytes.size();
  book.U32(0);
  book.U8(0);
  book.U8(0);
  book.ShortString(sheetName.substr(0, 31));
  book.End();
  sst.Write(book);
  book.Record(0x000A, {});

  const uint32_t sheetOffset = static_cast<uint32_t>(book.bytes.size());
  for (int i = 0; i < 4; ++i) book.bytes[sheetOffsetAt + i] = (sheetOffset >> (8 * i)) & 0xFF;
  book.bytes.insert(book.bytes.end(), sheet.bytes.begin(), sheet.bytes.end());
  return std::move(book.bytes);
}

void WriteSpreadsheet(const std::wstring& path, const ExportTable& table) {
  const std::vector<uint8_t> file = BuildCompoundFile(L"Workbook", BuildWorkbookStream(table, L"Hoja1"));
  WriteWholeFile(path, file.data(), file.size());
}

}  // namespace vk::grid
