#include "base/utf8.h"

#include <windows.h>

#include <cstdint>

namespace vk {

namespace {

bool IsHighSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

char* WriteUtf8(char* p, const wchar_t* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    uint32_t c = static_cast<uint16_t>(text[i]);
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
      continue;
    }
    if (IsHighSurrogate(c) && i + 1 < length && IsLowSurrogate(static_cast<uint16_t>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint16_t>(text[++i]) - 0xDC00);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
      // Two units give four bytes: within the six allowed for them.
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *p++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return p;
}

void AppendUtf8(std::string& out, const wchar_t* text, size_t length) {
  // Room for the longest form, then cut to what was written.
  const size_t start = out.size();
  out.resize(start + length * 3);
  out.resize(static_cast<size_t>(WriteUtf8(out.data() + start, text, length) - out.data()));
}

std::string Utf8(std::wstring_view text) {
  std::string out;
  AppendUtf8(out, text.data(), text.size());
  return out;
}

size_t UnpairedSurrogateAt(std::wstring_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const uint32_t c = static_cast<uint16_t>(text[i]);
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(static_cast<uint16_t>(text[i + 1])))
      ++i;
    else if (IsHighSurrogate(c) || IsLowSurrogate(c))
      return i;
  }
  return std::wstring_view::npos;
}

std::wstring Wide(std::string_view utf8) { return WideFromCodePage(CP_UTF8, utf8); }

std::wstring WideFromCodePage(unsigned codePage, std::string_view bytes, bool strict) {
  if (bytes.empty()) return {};
  const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  const int count = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, flags, bytes.data(), count, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), count, out.data(), n);
  return out;
}

}  // namespace vk
