#pragma once
// UTF-8 for the files the grid writes and reads back (delimited text, reports).
#include <string>

namespace vk::grid {

std::string Utf8(const std::wstring& s);
// Appends UTF-16 text to `out` as UTF-8 (an unpaired surrogate becomes U+FFFD, as the
// system's converter writes it): the writers build whole files this way without a
// string per piece.
void AppendUtf8(std::string& out, const wchar_t* text, size_t length);
std::wstring Wide(const std::string& utf8);

}  // namespace vk::grid
