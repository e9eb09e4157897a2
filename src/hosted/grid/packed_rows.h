#pragma once
// The grid's data rows, held packed: a row is a run of bytes (a tag, then the value)
// in large chunks, and a text that comes back is kept once and named by its number.
// A log of a million readings would otherwise hold a VARIANT per cell and a string
// per text, more than three times the values' own size. A value is made when it is
// read. The row written last is held unpacked until another row is written, so a
// fill that writes a row field by field packs it once.
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "hosted/grid/grid_value.h"

namespace vk::grid {

class PackedRows {
 public:
  PackedRows() = default;
  PackedRows(const PackedRows&) = delete;
  PackedRows& operator=(const PackedRows&) = delete;

  size_t Count() const { return start_.size(); }
  // Keeps the rows below the count, adds blank ones.
  void Resize(size_t count);
  void Clear();

  // A row's value in a slot; blank past the row's end.
  GridValue Read(size_t row, size_t slot) const;
  // A row's values by slot, valid until the next call on these rows.
  const std::vector<GridValue>& ReadRow(size_t row) const;
  void Write(size_t row, size_t slot, GridValue value, size_t slotCount);
  // Puts the rows in the order given: the row now at i is the row that was at order[i].
  void Reorder(const std::vector<int>& order);

  // Bytes held for the rows, for the benchmarks.
  size_t HeldBytes() const;

 private:
  static constexpr uint32_t kNoRow = UINT32_MAX;
  static constexpr size_t kChunkBytes = size_t(1) << 20;

  void Flush() const;
  void Load(size_t row) const;
  void Pack(const std::vector<GridValue>& values) const;
  // The value of the cell at p, which moves past it.
  GridValue Unpack(const uint8_t*& p) const;
  // The packed row as stored; nullptr for a blank row.
  const uint8_t* Bytes(size_t row) const;
  // Stores the bytes in `packing_` and returns where they went.
  uint32_t Store() const;
  uint32_t TextNumber(std::wstring_view text) const;
  void Compact() const;

  mutable std::vector<uint32_t> start_;  // where each row's bytes begin, kNoRow when blank
  mutable std::vector<std::unique_ptr<uint8_t[]>> chunks_;
  mutable size_t used_ = 0;       // bytes of the last chunk in use
  mutable size_t abandoned_ = 0;  // bytes of rows packed again elsewhere
  mutable std::vector<GridValue> texts_;  // the texts kept once, by number
  mutable std::unordered_map<std::wstring_view, uint32_t> textNumbers_;
  mutable std::vector<GridValue> objects_;  // values with no packed form (objects, arrays)
  // The row held unpacked; `open_` tells whether it differs from its packed bytes.
  mutable size_t heldRow_ = SIZE_MAX;
  mutable bool open_ = false;
  mutable std::vector<GridValue> held_;
  mutable std::vector<uint32_t> heldTexts_;  // the kept text each held value is, or kNoRow
  mutable std::vector<uint8_t> packing_;
};

}  // namespace vk::grid
