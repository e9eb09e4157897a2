#pragma once
// A compound document ("structured storage") holding one stream, written in one go:
// what a spreadsheet reader expects around a workbook stream. Version 3, 512-byte
// sectors; a stream shorter than the 4096-byte cut-off is padded so that no mini
// stream is needed; FAT sectors past the header's 109 go through DIFAT sectors.
#include <cstdint>
#include <string>
#include <vector>

namespace vk::grid {

// The whole file for one stream of the given name.
std::vector<uint8_t> BuildCompoundFile(const std::wstring& streamName, std::vector<uint8_t> stream);

}  // namespace vk::grid
