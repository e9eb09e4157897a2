#pragma once
// SQL text is built by concatenation throughout the component. Every text value that
// goes between single quotes passes through SqlText, which doubles its quotes, so a
// logon name such as o'neil cannot end the literal early.
#include <optional>
#include <string>
#include <string_view>

namespace vk {

// The value with every single quote doubled (no surrounding quotes added).
std::wstring SqlText(std::wstring_view value);

// The value between single quotes, its own quotes doubled: 'o''neil'.
std::wstring SqlQuoted(std::wstring_view value);

// A key converted to a number before it goes into SQL or a record: an optional sign
// and digits (blanks around allowed) that fit 32 bits; nothing otherwise ("", "12.5",
// "7a"). The one way a number read from a text enters SQL.
std::optional<long> WholeNumber(std::wstring_view text);

}  // namespace vk
