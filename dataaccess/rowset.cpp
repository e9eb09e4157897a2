#include "dataaccess/rowset.h"

#include <sqlite3.h>

#include <cstring>
#include <deque>
#include <string_view>
#include <unordered_map>

#include "base/byte_packing.h"
#include "dataaccess/sqlite_db.h"
#include "dataaccess/stored_date.h"

namespace vk::data {

namespace {

bool Has(const std::string& upper, const char* part) { return upper.find(part) != std::string::npos; }

BSTR BstrFromUtf8(const uint8_t* text, uint32_t bytes) {
  if (bytes == 0) return SysAllocStringLen(L"", 0);
  const char* s = reinterpret_cast<const char*>(text);
  int n = MultiByteToWideChar(CP_UTF8, 0, s, static_cast<int>(bytes), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, n);
  MultiByteToWideChar(CP_UTF8, 0, s, static_cast<int>(bytes), out, n);
  return out;
}

// Short texts are kept once, up to this many different ones; longer or later ones
// stay in their row.
constexpr uint32_t kLongestKeptText = 64;
constexpr size_t kMostKeptTexts = 65536;

// Memory the process must keep once the rows are read: the caller copies them into
// its own list, and the rest of the program goes on.
constexpr uint64_t kMemoryReserve = 256ull << 20;
constexpr size_t kRowsBetweenMemoryChecks = 16384;

// Whether the process can still take this many bytes of address space: tried by
// reserving it in pieces and giving it back (neither the memory status, which Wine
// reports as all free, nor the free regions, among which Wine keeps reserved ones
// it allocates from, tell it).
bool AddressSpaceLeft(uint64_t bytes) {
  constexpr SIZE_T kPiece = 64 << 20;
  std::vector<void*> taken;
  uint64_t got = 0;
  for (SIZE_T piece = kPiece; got < bytes && piece >= (1 << 20);) {
    if (void* p = VirtualAlloc(nullptr, piece, MEM_RESERVE, PAGE_NOACCESS)) {
      taken.push_back(p);
      got += piece;
    } else {
      piece /= 2;
    }
  }
  for (void* p : taken) VirtualFree(p, 0, MEM_RELEASE);
  return got >= bytes;
}

// Refuses to go on when what is held so far, held once more by the caller, would not
// leave the reserve in what the process has left.
void CheckRoomFor(size_t heldBytes, size_t rows) {
  if (AddressSpaceLeft(2 * uint64_t(heldBytes) + kMemoryReserve)) return;
  throw DataError{L"El resultado de la consulta no cabe en la memoria disponible (más de " + std::to_wstring(rows) +
                  L" filas); acote la búsqueda"};
}

}  // namespace

// The texts kept once while the rows are read, found by their bytes.
class Rowset::TextKeeper {
 public:
  // The number of the text, kept now when it is new; -1 when it stays in its row.
  int64_t Number(const uint8_t* bytes, uint32_t n) {
    if (n > kLongestKeptText) return -1;
    const std::string_view text(reinterpret_cast<const char*>(bytes), n);
    if (auto found = numbers_.find(text); found != numbers_.end()) return found->second;
    if (texts_.size() >= kMostKeptTexts) return -1;
    const auto number = static_cast<uint32_t>(texts_.size());
    numbers_.emplace(texts_.emplace_back(text), number);
    return number;
  }
  void MoveInto(std::vector<uint8_t>& bytes, std::vector<uint32_t>& starts) const {
    for (const std::string& text : texts_) {
      starts.push_back(static_cast<uint32_t>(bytes.size()));
      PutVarint(bytes, static_cast<uint32_t>(text.size()));
      bytes.insert(bytes.end(), text.begin(), text.end());
    }
  }

 private:
  std::deque<std::string> texts_;  // a deque: its texts stay where they are
  std::unordered_map<std::string_view, uint32_t> numbers_;
};

short AdoTypeOfDeclared(const char* declared) {
  if (!declared || !*declared) return 0;
  std::string upper(declared);
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (Has(upper, "BIT") || Has(upper, "BOOL")) return ado::Boolean;
  if (Has(upper, "INT")) return ado::Integer;
  if (Has(upper, "MONEY")) return ado::Currency;
  if (Has(upper, "DEC") || Has(upper, "NUMERIC")) return ado::Numeric;
  if (Has(upper, "REAL") || Has(upper, "FLOA") || Has(upper, "DOUB")) return ado::Double;
  if (Has(upper, "DATETIME") || Has(upper, "TIMESTAMP")) return ado::DBTimeStamp;
  if (Has(upper, "DATE")) return ado::Date;
  if (Has(upper, "CHAR")) return ado::VarChar;
  if (Has(upper, "TEXT") || Has(upper, "MEMO") || Has(upper, "CLOB")) return ado::LongVarChar;
  return ado::VarChar;
}

std::shared_ptr<const Rowset> Rowset::Fetch(sqlite3_stmt* stmt) {
  auto rows = std::make_shared<Rowset>();
  const int columns = sqlite3_column_count(stmt);
  rows->columns_.resize(columns);
  std::vector<bool> typed(columns);
  for (int c = 0; c < columns; ++c) {
    rows->columns_[c].name = static_cast<const wchar_t*>(sqlite3_column_name16(stmt, c));
    short type = AdoTypeOfDeclared(sqlite3_column_decltype(stmt, c));
    typed[c] = type != 0;
    rows->columns_[c].type = type ? type : ado::VarChar;
  }
  std::vector<uint8_t>& data = rows->data_;
  TextKeeper kept;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    if (rows->rowStart_.size() % kRowsBetweenMemoryChecks == kRowsBetweenMemoryChecks - 1)
      CheckRoomFor(data.capacity() + rows->rowStart_.capacity() * sizeof(uint32_t), rows->rowStart_.size());
    rows->rowStart_.push_back(static_cast<uint32_t>(data.size()));
    for (int c = 0; c < columns; ++c) {
      ColumnInfo& column = rows->columns_[c];
      int kind = sqlite3_column_type(stmt, c);
      if (!typed[c] && kind != SQLITE_NULL) {
        // An expression declares no type: its first value decides, as a server would.
        // A text in the stored date form is a date (GetDate(), Max(Fecha)...).
        column.type = kind == SQLITE_INTEGER ? ado::Integer : kind == SQLITE_FLOAT ? ado::Double : ado::VarChar;
        if (kind == SQLITE_TEXT && sqlite3_column_bytes(stmt, c) == 19 &&
            OleDateFromStored(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c))))
          column.type = ado::DBTimeStamp;
        typed[c] = true;
      }
      bool date = column.type == ado::Date || column.type == ado::DBTimeStamp;
      switch (kind) {
        case SQLITE_NULL:
          data.push_back(Null);
          break;
        case SQLITE_INTEGER: {
          sqlite3_int64 v = sqlite3_column_int64(stmt, c);
          if (v >= INT32_MIN && v <= INT32_MAX) {
            data.push_back(Int32);
            PutRaw<int32_t>(data, static_cast<int32_t>(v));
          } else {
            data.push_back(Int64);
            PutRaw<int64_t>(data, v);
          }
          rows->valueBytes_ += 8;
          break;
        }
        case SQLITE_FLOAT:
          data.push_back(Real);
          PutRaw<double>(data, sqlite3_column_double(stmt, c));
          rows->valueBytes_ += 8;
          break;
        default: {
          const uint8_t* bytes = static_cast<const uint8_t*>(
              kind == SQLITE_BLOB ? sqlite3_column_blob(stmt, c) : sqlite3_column_text(stmt, c));
          uint32_t n = static_cast<uint32_t>(sqlite3_column_bytes(stmt, c));
          rows->valueBytes_ += n;
          if (date && kind == SQLITE_TEXT) {
            if (auto value = OleDateFromStored({reinterpret_cast<const char*>(bytes), n})) {
              data.push_back(DateValue);
              PutRaw<double>(data, *value);
              break;
            }
          }
          if (kind == SQLITE_TEXT) {
            if (const int64_t number = kept.Number(bytes, n); number >= 0) {
              data.push_back(KeptText);
              PutVarint(data, static_cast<uint32_t>(number));
              break;
            }
          }
          data.push_back(kind == SQLITE_BLOB ? Blob : Text);
          PutVarint(data, n);
          if (n) data.insert(data.end(), bytes, bytes + n);
          break;
        }
      }
    }
  }
  if (rc != SQLITE_DONE)
    throw DataError{static_cast<const wchar_t*>(sqlite3_errmsg16(sqlite3_db_handle(stmt)))};
  rows->data_.shrink_to_fit();
  rows->rowStart_.shrink_to_fit();
  kept.MoveInto(rows->keptTexts_, rows->keptTextStart_);
  return rows;
}

int Rowset::FindColumn(const wchar_t* name) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (CompareStringOrdinal(columns_[i].name.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL)
      return static_cast<int>(i);
  }
  return -1;
}

const uint8_t* Rowset::Cell(size_t row, size_t column) const {
  if (row != cachedRow_) {
    cellOffsets_.resize(columns_.size());
    const uint8_t* base = data_.data();
    const uint8_t* p = base + rowStart_[row];
    for (size_t c = 0; c < columns_.size(); ++c) {
      cellOffsets_[c] = static_cast<uint32_t>(p - base);
      switch (*p++) {
        case Int32: p += 4; break;
        case Int64: case Real: case DateValue: p += 8; break;
        case Text: case Blob: { uint32_t n = GetVarint<uint32_t>(p); p += n; break; }
        case KeptText: GetVarint<uint32_t>(p); break;
        default: break;
      }
    }
    cachedRow_ = row;
  }
  return data_.data() + cellOffsets_[column];
}

void Rowset::Read(size_t row, size_t column, VARIANT* out) const {
  VariantInit(out);
  const uint8_t* p = Cell(row, column);
  const uint8_t tag = *p++;
  const short type = columns_[column].type;
  double number = 0;
  switch (tag) {
    case Null:
      V_VT(out) = VT_NULL;
      return;
    case Text: case Blob: {
      uint32_t n = GetVarint<uint32_t>(p);
      if (tag == Blob) {
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, n);
        if (array && n) std::memcpy(array->pvData, p, n);
        V_VT(out) = VT_ARRAY | VT_UI1;
        V_ARRAY(out) = array;
      } else {
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = BstrFromUtf8(p, n);
      }
      return;
    }
    case KeptText: {
      const uint8_t* text = keptTexts_.data() + keptTextStart_[GetVarint<uint32_t>(p)];
      const uint32_t n = GetVarint<uint32_t>(text);
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = BstrFromUtf8(text, n);
      return;
    }
    case DateValue:
      V_VT(out) = VT_DATE;
      V_DATE(out) = PeekRaw<double>(p);
      return;
    case Int32: number = PeekRaw<int32_t>(p); break;
    case Int64: number = static_cast<double>(PeekRaw<int64_t>(p)); break;
    case Real: number = PeekRaw<double>(p); break;
  }
  switch (type) {
    case ado::Boolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case ado::Currency:
      V_VT(out) = VT_CY;
      VarCyFromR8(number, &V_CY(out));
      return;
    case ado::Numeric:
      V_VT(out) = VT_DECIMAL;
      VarDecFromR8(number, &V_DECIMAL(out));
      V_VT(out) = VT_DECIMAL;
      return;
    case ado::Date: case ado::DBTimeStamp:
      V_VT(out) = VT_DATE;
      V_DATE(out) = number;
      return;
    case ado::VarChar: case ado::LongVarChar: {
      // A number kept in a text column reads back as text.
      wchar_t text[40];
      if (tag == Real) swprintf(text, 40, L"%.15g", number);
      else swprintf(text, 40, L"%lld", tag == Int32 ? static_cast<long long>(PeekRaw<int32_t>(p)) : PeekRaw<int64_t>(p));
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = SysAllocString(text);
      return;
    }
    default:
      if (tag == Int32 && type != ado::Double) {
        V_VT(out) = VT_I4;
        V_I4(out) = PeekRaw<int32_t>(p);
      } else {
        V_VT(out) = VT_R8;
        V_R8(out) = number;
      }
      return;
  }
}

size_t Rowset::HeldBytes() const {
  size_t bytes = data_.capacity() + rowStart_.capacity() * sizeof(uint32_t) + sizeof(*this) +
                 keptTexts_.capacity() + keptTextStart_.capacity() * sizeof(uint32_t);
  for (const ColumnInfo& c : columns_) bytes += sizeof(ColumnInfo) + c.name.capacity() * sizeof(wchar_t);
  return bytes;
}

}  // namespace vk::data
