#pragma once
// UTF-8 for the files the grid writes and reads back (delimited text, reports).
#include <string>

namespace vk::grid {

std::string Utf8(const std::wstring& s);
std::wstring Wide(const std::string& utf8);

}  // namespace vk::grid
