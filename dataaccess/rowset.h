#pragma once
// The rows of one query, read to the end and held compactly: every row is a run of
// cells in one byte buffer (a tag byte, then the value: 4 or 8 bytes for numbers,
// a length and UTF-8 bytes for text, or the number of a short text that came before:
// a log repeats its users, modules and machines on every row). A Variant is made only
// when a field is read. A result that would not fit in the memory the process has
// left is refused while it is read, before it takes the rest.
#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace vk::data {

// ADO's type codes for the columns a recordset describes.
namespace ado {
inline constexpr short Integer = 3;
inline constexpr short Double = 5;
inline constexpr short Currency = 6;
inline constexpr short Date = 7;
inline constexpr short Boolean = 11;
inline constexpr short Numeric = 131;
inline constexpr short DBTimeStamp = 135;
inline constexpr short VarChar = 200;
inline constexpr short LongVarChar = 201;
}  // namespace ado

// The ADO type code for a column's declared type; 0 when it declares none.
short AdoTypeOfDeclared(const char* declared);

struct ColumnInfo {
  std::wstring name;
  short type = ado::VarChar;
};

class Rowset {
 public:
  // Steps the statement to its end; throws DataError when a step fails or the rows
  // would not fit in memory.
  static std::shared_ptr<const Rowset> Fetch(sqlite3_stmt* stmt);

  size_t RowCount() const { return rowStart_.size(); }
  size_t ColumnCount() const { return columns_.size(); }
  const ColumnInfo& Column(size_t index) const { return columns_[index]; }
  // Index of a column by name, case-insensitive; -1 when none has it.
  int FindColumn(const wchar_t* name) const;

  // The cell as a Variant of the column's type (VT_NULL for Null).
  void Read(size_t row, size_t column, VARIANT* out) const;

  // Bytes held for the rows (buffer, row index), against the values' own size.
  size_t HeldBytes() const;
  size_t ValueBytes() const { return valueBytes_; }

 private:
  enum Tag : uint8_t { Null, Int32, Int64, Real, Text, DateValue, Blob, KeptText };
  class TextKeeper;

  const uint8_t* Cell(size_t row, size_t column) const;

  std::vector<ColumnInfo> columns_;
  std::vector<uint8_t> data_;
  std::vector<uint32_t> rowStart_;
  std::vector<uint8_t> keptTexts_;      // each kept text: a length, then its UTF-8 bytes
  std::vector<uint32_t> keptTextStart_;
  size_t valueBytes_ = 0;
  // Cell offsets of the row read last: reading a row field by field walks it once.
  mutable size_t cachedRow_ = SIZE_MAX;
  mutable std::vector<uint32_t> cellOffsets_;
};

}  // namespace vk::data
