#pragma once
// A small reader of what the spreadsheet export writes, for the tests: follows the
// compound file's sector chains (DIFAT included) to the workbook stream and collects
// the cells of its first worksheet as texts ("n:" numbers, "d:" dated numbers, "b:"
// Booleans, plain text for strings).
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vk::grid::test {

struct XlsSheet {
  std::map<std::pair<int, int>, std::wstring> cells;
  std::vector<uint16_t> recordTypes;  // in stream order, for structure checks
  std::string error;                  // empty when the file read cleanly
  size_t sstIndexBuckets = 0;         // entries of the string index (EXTSST)
  std::vector<uint32_t> sstIndexTargets;  // where they point in the stream
  std::vector<std::wstring> sharedStrings;  // the string table in its order
  uint32_t sharedStringUses = 0;            // the cells it says show strings
};

XlsSheet ReadXls(const std::vector<uint8_t>& file);

}  // namespace vk::grid::test
