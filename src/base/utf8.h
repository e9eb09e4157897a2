#pragma once
// UTF-8 for what we write and read outside the process: files, mail, the database.
#include <string>
#include <string_view>

namespace vk {

// Writes UTF-16 text as UTF-8 at `out`, which has room for three bytes a unit, and
// returns the end of what was written. An unpaired surrogate becomes U+FFFD, as the
// system's converter writes it.
char* WriteUtf8(char* out, const wchar_t* text, size_t length);
// The same appended to `out`: a writer builds a whole file this way without a string
// per piece.
void AppendUtf8(std::string& out, const wchar_t* text, size_t length);
std::string Utf8(std::wstring_view text);

// Where the first surrogate without its pair is, npos when the text has none.
size_t UnpairedSurrogateAt(std::wstring_view text);

std::wstring Wide(std::string_view utf8);
// Bytes in any code page as text. Strict: empty when the bytes are not valid in it
// (otherwise a bad byte becomes a replacement character).
std::wstring WideFromCodePage(unsigned codePage, std::string_view bytes, bool strict = false);

}  // namespace vk
