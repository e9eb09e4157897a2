#include "dataaccess/utf8.h"

#include <cstdio>

#include "dataaccess/data_error.h"

namespace vk::data {

std::string Utf8Of(std::wstring_view text, std::wstring_view what) {
  const size_t at = UnpairedSurrogateAt(text);
  if (at != std::wstring_view::npos) {
    wchar_t code[8];
    swprintf(code, 8, L"%04X", static_cast<unsigned>(static_cast<uint16_t>(text[at])));
    throw DataError{std::wstring(what) + L" contiene un carácter U+" + code +
                    L" sin su par (texto UTF-16 no válido) en la posición " + std::to_wstring(at + 1)};
  }
  return Utf8(text);
}

std::string Narrow(std::wstring_view text) { return Utf8Of(text, L"El texto"); }

}  // namespace vk::data
