#include "host/sql_text.h"

namespace vk {

std::wstring SqlText(std::wstring_view value) {
  std::wstring out;
  out.reserve(value.size());
  for (wchar_t c : value) {
    out += c;
    if (c == L'\'') out += L'\'';
  }
  return out;
}

std::wstring SqlQuoted(std::wstring_view value) { return L"'" + SqlText(value) + L"'"; }

}  // namespace vk
