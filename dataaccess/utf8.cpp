#include "dataaccess/utf8.h"

#include <windows.h>

#include <cstdio>

#include "dataaccess/data_error.h"

namespace vk::data {

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string Utf8Of(std::wstring_view text, std::wstring_view what) {
  size_t bytes = 0;  // counted first, so the text is written once into its own size
  for (wchar_t c : text) bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : (c >= 0xD800 && c <= 0xDFFF) ? 2 : 3;
  std::string out(bytes, '\0');
  char* p = out.data();
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
      continue;
    }
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
      wchar_t code[8];
      swprintf(code, 8, L"%04X", static_cast<unsigned>(c));
      throw DataError{std::wstring(what) + L" contiene un carácter U+" + code +
                      L" sin su par (texto UTF-16 no válido) en la posición " + std::to_wstring(i + 1)};
    }
    if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int bytes = static_cast<int>(utf8.size());
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), bytes, out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view text) { return Utf8Of(text, L"El texto"); }

}  // namespace vk::data
