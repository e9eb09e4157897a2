#pragma once
// A compound document ("structured storage") holding one stream, written in one go:
// what a spreadsheet reader expects around a workbook stream. Version 3, 512-byte
// sectors; a stream shorter than the 4096-byte cut-off is padded so that no mini
// stream is needed; FAT and DIFAT sectors past the header's 109 go through DIFAT sectors.
#include <cstdint>
#include <string>
#include <vector>

namespace vk::grid {

// What goes around a stream of a given size: the header sector before it, and after it
// the stream's padding, the directory, the FAT and the DIFAT sectors. The stream is
// written between them as it is, without a copy.
struct CompoundFileFrame {
  std::vector<uint8_t> head;
  std::vector<uint8_t> tail;
};
CompoundFileFrame FrameStream(const std::wstring& streamName, size_t streamSize);

// The whole file for one stream of the given name.
std::vector<uint8_t> BuildCompoundFile(const std::wstring& streamName, const std::vector<uint8_t>& stream);

}  // namespace vk::grid
