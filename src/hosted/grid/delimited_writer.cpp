#include "hosted/grid/delimited_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/utf8.h"
#include "hosted/grid/export_file.h"

namespace vk::grid {

namespace {

constexpr int kBlockRows = 2048;

bool NeedsQuotes(std::wstring_view field, std::wstring_view separator) {
  return (!separator.empty() && field.find(separator) != std::wstring_view::npos) ||
         field.find_first_of(L"\"\r\n") != std::wstring_view::npos;
}

// Bytes of the file, made in place.
class Output {
 public:
  // Room for `size` bytes at the returned place; Advance says where the bytes end.
  char* Room(size_t size) {
    if (static_cast<size_t>(end_ - at_) < size) Grow(size);
    return at_;
  }
  void Advance(char* to) { at_ = to; }
  void Put(const char* data, size_t size) {
    std::memcpy(Room(size), data, size);
    at_ += size;
  }
  void Put(char c) {
    *Room(1) = c;
    ++at_;
  }
  // Bytes followed by at least kPadding readable bytes: most pieces are shorter than
  // that, and one fixed copy costs less than a call to memcpy.
  static constexpr size_t kPadding = 32;
  void PutPadded(const char* data, size_t size) {
    char* to = Room(size + kPadding);
    std::memcpy(to, data, kPadding);
    if (size > kPadding) std::memcpy(to + kPadding, data + kPadding, size - kPadding);
    at_ = to + size;
  }
  const char* Data() const { return buffer_.data(); }
  size_t Size() const { return static_cast<size_t>(at_ - buffer_.data()); }
  void Clear() { at_ = buffer_.data(); }

 private:
  void Grow(size_t size) {
    const size_t used = Size();
    buffer_.resize(std::max(buffer_.size() * 2, used + size + 4096));
    at_ = buffer_.data() + used;
    end_ = buffer_.data() + buffer_.size();
  }
  std::vector<char> buffer_;
  char* at_ = nullptr;
  char* end_ = nullptr;
};

// Writes fields for one separator.
class FieldWriter {
 public:
  explicit FieldWriter(std::wstring_view separator) : separator_(separator) {
    for (wchar_t c : {L'"', L'\r', L'\n'}) stops_[c] = true;
    if (!separator.empty() && separator[0] < 0x80) stops_[separator[0]] = true;
  }

  // The field as it goes into the file: UTF-8, quoted where needed.
  void Put(Output& out, std::wstring_view field) const {
    // The longest form: three bytes a unit (a doubled quote takes two) and the quotes.
    char* const start = out.Room(field.size() * 3 + 2);
    char* p = start;
    // Most fields are plain ASCII with nothing to quote: copied as they are read.
    for (wchar_t c : field) {
      if (c >= 0x80 || stops_[c]) {
        out.Advance(PutSlowly(start, field));
        return;
      }
      *p++ = static_cast<char>(c);
    }
    out.Advance(p);
  }

  bool NeedsQuotes(std::wstring_view field) const { return grid::NeedsQuotes(field, separator_); }

 private:
  char* PutSlowly(char* p, std::wstring_view field) const {
    if (!NeedsQuotes(field)) return WriteUtf8(p, field.data(), field.size());
    *p++ = '"';
    for (size_t quote; (quote = field.find(L'"')) != std::wstring_view::npos; field.remove_prefix(quote + 1)) {
      p = WriteUtf8(p, field.data(), quote);
      *p++ = '"';
      *p++ = '"';
    }
    p = WriteUtf8(p, field.data(), field.size());
    *p++ = '"';
    return p;
  }

  std::wstring_view separator_;
  bool stops_[0x80] = {};  // ASCII characters that end the plain copy
};

// The UTF-8 of each repeating piece (a value list's text, a day, a time), made once.
class EncodedPieces {
 public:
  explicit EncodedPieces(const FieldWriter& fields) : fields_(fields) {}

  struct Encoded {
    size_t offset = 0, size = 0;
    bool quotes = false;  // the piece alone needs quotes
    bool made = false;
  };
  const Encoded& Of(const TextPiece& piece) {
    const auto id = static_cast<size_t>(piece.id);
    if (id < pieces_.size() && pieces_[id].made) return pieces_[id];
    return Make(piece);
  }
  const char* Bytes(const Encoded& e) const { return bytes_.data() + e.offset; }

 private:
  const Encoded& Make(const TextPiece& piece) {
    const auto id = static_cast<size_t>(piece.id);
    if (id >= pieces_.size()) pieces_.resize(id + 1);
    Encoded& e = pieces_[id];
    // The padding after the last piece moves behind the new one.
    bytes_.resize(bytes_.size() - Output::kPadding);
    e.offset = bytes_.size();
    AppendUtf8(bytes_, piece.text.data(), piece.text.size());
    e.size = bytes_.size() - e.offset;
    bytes_.append(Output::kPadding, '\0');
    e.quotes = fields_.NeedsQuotes(piece.text);
    e.made = true;
    return e;
  }

  const FieldWriter& fields_;
  std::vector<Encoded> pieces_;
  std::string bytes_ = std::string(Output::kPadding, '\0');  // ends in padding for PutPadded
};

}  // namespace

std::wstring QuoteField(const std::wstring& field, const std::wstring& separator) {
  if (!NeedsQuotes(field, separator)) return field;
  std::wstring out = L"\"";
  for (wchar_t c : field) {
    if (c == L'"') out += L'"';
    out += c;
  }
  return out + L"\"";
}

void WriteDelimited(const std::wstring& path, const ExportTable& table, const std::wstring& separator) {
  ExportFile file(path);
  const FieldWriter fields(separator);
  const std::string between = Utf8(separator);
  auto putSeparator = [&](Output& out) {
    if (between.size() == 1)
      out.Put(between[0]);
    else
      out.Put(between.data(), between.size());
  };
  Output captions;
  captions.Put("\xEF\xBB\xBF", 3);
  for (int c = 0; c < table.ColumnCount(); ++c) {
    if (c) putSeparator(captions);
    fields.Put(captions, table.Caption(c));
  }
  captions.Put("\r\n", 2);
  file.Write(captions.Data(), captions.Size());

  EncodedPieces encoded(fields);
  ExportRow row;
  Output out;
  // A separator of several characters may span two pieces: such fields are checked whole.
  const bool spans = separator.size() > 1;
  EncodedPieces::Encoded parts[2];  // copies: meeting the second piece may move the first
  for (int r = 0; r < table.RowCount(); ++r) {
    table.ReadRow(r, row, ExportText::kAll);
    for (size_t c = 0; c < row.cells.size(); ++c) {
      if (c) putSeparator(out);
      const ShownCell& cell = row.cells[c];
      if (cell.pieceCount == 1 && cell.pieces[0].id < 0) {
        fields.Put(out, cell.pieces[0].text);
        continue;
      }
      // Pieces converted once, unless the field needs quotes as a whole.
      bool whole = spans && cell.pieceCount > 1;
      for (int p = 0; p < cell.pieceCount && !whole; ++p) {
        if (cell.pieces[p].id < 0) {
          whole = true;
        } else {
          parts[p] = encoded.Of(cell.pieces[p]);
          whole = parts[p].quotes;
        }
      }
      if (whole) {
        fields.Put(out, JoinedText(cell));
        continue;
      }
      for (int p = 0; p < cell.pieceCount; ++p) out.PutPadded(encoded.Bytes(parts[p]), parts[p].size);
    }
    out.Put('\r');
    out.Put('\n');
    // Written a block of rows at a time: a million rows take no more memory than a block.
    if ((r + 1) % kBlockRows == 0 || r + 1 == table.RowCount()) {
      file.Write(out.Data(), out.Size());
      out.Clear();
    }
  }
  file.Commit();
}

}  // namespace vk::grid
