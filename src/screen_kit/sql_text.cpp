#include "screen_kit/sql_text.h"

#include <cwctype>

#include "screen_kit/shared_functions.h"

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

std::optional<long> WholeNumber(std::wstring_view text) {
  const std::wstring trimmed = Trim(std::wstring(text));
  const bool hasSign = !trimmed.empty() && (trimmed[0] == L'-' || trimmed[0] == L'+');
  const size_t first = hasSign ? 1 : 0;
  if (first == trimmed.size() || trimmed.size() - first > 10) return std::nullopt;
  long long value = 0;
  for (size_t i = first; i < trimmed.size(); ++i) {
    if (!std::iswdigit(trimmed[i])) return std::nullopt;
    value = value * 10 + (trimmed[i] - L'0');
  }
  if (hasSign && trimmed[0] == L'-') value = -value;
  if (value < -2147483648LL || value > 2147483647LL) return std::nullopt;
  return static_cast<long>(value);
}

}  // namespace vk
