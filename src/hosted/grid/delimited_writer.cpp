#include "hosted/grid/delimited_writer.h"

#include "hosted/grid/utf8_text.h"

#include "hosted/grid/grid_value.h"
#include "runtime/vb_error.h"

namespace vk::grid {

namespace {

bool NeedsQuotes(const std::wstring& field, const std::wstring& separator) {
  return (!separator.empty() && field.find(separator) != std::wstring::npos) ||
         field.find_first_of(L"\"\r\n") != std::wstring::npos;
}

void AppendField(std::string& out, const std::wstring& field, const std::wstring& separator) {
  if (!NeedsQuotes(field, separator)) {
    AppendUtf8(out, field.data(), field.size());
    return;
  }
  const std::wstring quoted = QuoteField(field, separator);
  AppendUtf8(out, quoted.data(), quoted.size());
}

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

std::string BuildDelimitedText(const ExportTable& table, const std::wstring& separator) {
  std::string out = "\xEF\xBB\xBF";
  // About ten bytes a field, so that the text is seldom moved while it grows.
  out.reserve(static_cast<size_t>(table.RowCount() + 1) * (table.ColumnCount() + 1) * 10);
  std::string between;
  AppendUtf8(between, separator.data(), separator.size());
  for (int c = 0; c < table.ColumnCount(); ++c) {
    if (c) out += between;
    AppendField(out, table.Caption(c), separator);
  }
  out += "\r\n";
  // Written straight into the output, one reused cell for the whole table.
  ExportCell cell;
  for (int r = 0; r < table.RowCount(); ++r) {
    for (int c = 0; c < table.ColumnCount(); ++c) {
      if (c) out += between;
      table.FillCell(r, c, cell);
      AppendField(out, cell.text, separator);
    }
    out += "\r\n";
  }
  return out;
}

void WriteDelimited(const std::wstring& path, const ExportTable& table, const std::wstring& separator) {
  const std::string text = BuildDelimitedText(table, separator);
  WriteWholeFile(path, text.data(), text.size());
}

void WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    long number = err::PathNotFound;
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION) number = err::PermissionDenied;
    throw VbError{number, kGridSource, StandardErrorText(number) + L": " + path};
  }
  const auto* p = static_cast<const char*>(data);
  bool ok = true;
  while (ok && size > 0) {
    DWORD wrote = 0;
    const DWORD chunk = size > (1u << 24) ? (1u << 24) : static_cast<DWORD>(size);
    ok = WriteFile(file, p, chunk, &wrote, nullptr) && wrote == chunk;
    p += chunk;
    size -= chunk;
  }
  CloseHandle(file);
  if (!ok) {
    // A half-written file is worse than none.
    DeleteFileW(path.c_str());
    throw VbError{61, kGridSource, L"Disk full or write failed: " + path};
  }
}

}  // namespace vk::grid
