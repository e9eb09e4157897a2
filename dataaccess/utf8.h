#pragma once
// SQLite reads UTF-8 that we convert ourselves, so that the dialect translator and
// SQLite see the same characters: a UTF-16 surrogate without its pair (which SQLite's
// own conversion would join with the next code unit, quote included) is refused.
#include <string>
#include <string_view>

#include "base/utf8.h"

namespace vk::data {

// Throws DataError "<what> contiene ..." when the text holds an unpaired surrogate.
std::string Utf8Of(std::wstring_view text, std::wstring_view what);

// Utf8Of for texts that name no caller's value (paths of tests and tools).
std::string Narrow(std::wstring_view text);

}  // namespace vk::data
