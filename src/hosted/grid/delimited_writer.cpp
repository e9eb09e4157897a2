#include "hosted/grid/delimited_writer.h"

#include "hosted/grid/grid_value.h"
#include "hosted/grid/utf8_text.h"
#include "runtime/vb_error.h"

namespace vk::grid {

std::wstring QuoteField(const std::wstring& field, const std::wstring& separator) {
  const bool quote = (!separator.empty() && field.find(separator) != std::wstring::npos) ||
                     field.find_first_of(L"\"\r\n") != std::wstring::npos;
  if (!quote) return field;
  std::wstring out = L"\"";
  for (wchar_t c : field) {
    if (c == L'"') out += L'"';
    out += c;
  }
  return out + L"\"";
}

std::string BuildDelimitedText(const ExportTable& table, const std::wstring& separator) {
  std::string out = "\xEF\xBB\xBF";
  std::wstring line;
  auto flush = [&] {
    line += L"\r\n";
    out += Utf8(line);
    line.clear();
  };
  for (int c = 0; c < table.ColumnCount(); ++c) {
    if (c) line += separator;
    line += QuoteField(table.Caption(c), separator);
  }
  flush();
  for (int r = 0; r < table.RowCount(); ++r) {
    for (int c = 0; c < table.ColumnCount(); ++c) {
      if (c) line += separator;
      line += QuoteField(table.Cell(r, c).text, separator);
    }
    flush();
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
