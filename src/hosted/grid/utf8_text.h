#pragma once
// UTF-8 for the files the grid writes and reads back (delimited text, reports).
#include <string>

namespace vk::grid {

std::string Utf8(const std::wstring& s);
// Writes UTF-16 text as UTF-8 at `out`, which has room for three bytes a unit, and
// returns the end of what was written (an unpaired surrogate becomes U+FFFD, as the
// system's converter writes it).
char* WriteUtf8(char* out, const wchar_t* text, size_t length);
// The same appended to `out`: the writers build whole files this way without a string
// per piece.
void AppendUtf8(std::string& out, const wchar_t* text, size_t length);
std::wstring Wide(const std::string& utf8);

}  // namespace vk::grid
