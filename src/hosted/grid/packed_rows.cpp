#include "hosted/grid/packed_rows.h"

#include <algorithm>
#include <cstring>

#include "base/byte_packing.h"

namespace vk::grid {

namespace {

enum Tag : uint8_t {
  kEmpty,
  kNull,
  kLong,
  kDouble,
  kDate,
  kTrue,
  kFalse,
  kKeptText,    // the number of a text kept once
  kInlineText,  // the length, then the UTF-16 characters
  kRaw,         // a whole VARIANT that holds no pointer (currency, decimal, small numbers)
  kObject,      // the number of a value kept aside
};

// Texts longer than this, or past this many different ones, are stored in their row:
// they rarely come back, and keeping them once would cost more than it saves.
constexpr size_t kLongestKeptText = 256;
constexpr size_t kMostKeptTexts = 65536;

// Reads one value and steps past it.
template <class T>
T GetRaw(const uint8_t*& p) {
  const T value = PeekRaw<T>(p);
  p += sizeof(T);
  return value;
}

// A VARIANT whose bytes are its whole value: it can be copied as bytes.
bool HoldsNoPointer(VARTYPE type) {
  switch (type) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
    case VT_I8: case VT_UI8: case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BOOL: case VT_ERROR:
    case VT_DECIMAL:
      return true;
    default:
      return false;
  }
}

// Steps over one packed cell.
void SkipCell(const uint8_t*& p) {
  switch (*p++) {
    case kLong: p += 4; break;
    case kDouble: case kDate: p += 8; break;
    case kRaw: p += sizeof(VARIANT); break;
    case kKeptText: case kObject: GetVarint(p); break;
    case kInlineText: p += GetVarint(p) * sizeof(wchar_t); break;
    default: break;
  }
}

size_t RowLength(const uint8_t* row) {
  const uint8_t* p = row;
  for (size_t cells = GetVarint(p); cells > 0; --cells) SkipCell(p);
  return static_cast<size_t>(p - row);
}

}  // namespace

void PackedRows::Resize(size_t count) {
  if (count == 0) {
    Clear();
    return;
  }
  if (heldRow_ != SIZE_MAX && heldRow_ >= count) {
    heldRow_ = SIZE_MAX;
    open_ = false;
    held_.clear();
    heldTexts_.clear();
  }
  start_.resize(count, kNoRow);
}

void PackedRows::Clear() {
  // Swapped with empty ones so that their memory goes too.
  std::vector<uint32_t>().swap(start_);
  std::vector<std::unique_ptr<uint8_t[]>>().swap(chunks_);
  used_ = abandoned_ = 0;
  std::unordered_map<std::wstring_view, uint32_t>().swap(textNumbers_);
  std::vector<GridValue>().swap(texts_);
  std::vector<GridValue>().swap(objects_);
  heldRow_ = SIZE_MAX;
  open_ = false;
  std::vector<GridValue>().swap(held_);
  std::vector<uint32_t>().swap(heldTexts_);
  std::vector<uint8_t>().swap(packing_);
}

const uint8_t* PackedRows::Bytes(size_t row) const {
  const uint32_t at = start_[row];
  if (at == kNoRow) return nullptr;
  return chunks_[at / kChunkBytes].get() + at % kChunkBytes;
}

GridValue PackedRows::Read(size_t row, size_t slot) const {
  if (row == heldRow_) return slot < held_.size() ? held_[slot] : GridValue();
  const uint8_t* p = Bytes(row);
  if (!p) return {};
  const size_t cells = GetVarint(p);
  if (slot >= cells) return {};
  for (size_t s = 0; s < slot; ++s) SkipCell(p);
  return Unpack(p);
}

GridValue PackedRows::Unpack(const uint8_t*& p) const {
  switch (*p++) {
    case kNull: return GridValue::Null();
    case kLong: return GridValue(static_cast<long>(GetRaw<int32_t>(p)));
    case kDouble: return GridValue(GetRaw<double>(p));
    case kDate: return GridValue::Date(GetRaw<double>(p));
    case kTrue: return GridValue::Bool(true);
    case kFalse: return GridValue::Bool(false);
    case kKeptText: return texts_[GetVarint(p)];
    case kInlineText: {
      const size_t length = GetVarint(p);
      VARIANT v;
      V_VT(&v) = VT_BSTR;
      V_BSTR(&v) = SysAllocStringLen(reinterpret_cast<const wchar_t*>(p), static_cast<UINT>(length));
      p += length * sizeof(wchar_t);
      return GridValue::Attach(v);
    }
    case kRaw: return GridValue(GetRaw<VARIANT>(p));
    case kObject: return objects_[GetVarint(p)];
    default: return {};
  }
}

const std::vector<GridValue>& PackedRows::ReadRow(size_t row) const {
  if (row != heldRow_) {
    Flush();
    Load(row);
  }
  return held_;
}

void PackedRows::Load(size_t row) const {
  heldRow_ = row;
  open_ = false;
  const uint8_t* p = Bytes(row);
  const size_t cells = p ? GetVarint(p) : 0;
  held_.resize(cells);
  heldTexts_.resize(cells, kNoRow);
  for (size_t s = 0; s < cells; ++s) {
    if (*p == kKeptText) {
      // A reader of every row (the export) meets the same texts row after row: a text
      // the slot holds already is not made again.
      ++p;
      const auto number = static_cast<uint32_t>(GetVarint(p));
      if (heldTexts_[s] != number) held_[s] = texts_[number];
      heldTexts_[s] = number;
    } else {
      held_[s] = Unpack(p);
      heldTexts_[s] = kNoRow;
    }
  }
}

void PackedRows::Write(size_t row, size_t slot, GridValue value, size_t slotCount) {
  if (row != heldRow_) {
    Flush();
    Load(row);
  }
  if (held_.size() <= slot) {
    held_.resize(std::max(slotCount, slot + 1));
    heldTexts_.resize(held_.size(), kNoRow);
  }
  held_[slot] = std::move(value);
  heldTexts_[slot] = kNoRow;
  open_ = true;
}

void PackedRows::Flush() const {
  if (!open_) return;
  open_ = false;
  if (const uint8_t* old = Bytes(heldRow_)) abandoned_ += RowLength(old);
  Pack(held_);
  start_[heldRow_] = Store();
  // Rows packed again leave their old bytes behind: gather the live ones when most
  // of what is held is left behind.
  const size_t held = chunks_.size() * kChunkBytes;
  if (abandoned_ > 4 * kChunkBytes && abandoned_ > held / 2) Compact();
}

uint32_t PackedRows::TextNumber(std::wstring_view text) const {
  if (const auto found = textNumbers_.find(text); found != textNumbers_.end()) return found->second;
  if (text.size() > kLongestKeptText || texts_.size() >= kMostKeptTexts) return kNoRow;
  const auto number = static_cast<uint32_t>(texts_.size());
  VARIANT kept;
  V_VT(&kept) = VT_BSTR;
  V_BSTR(&kept) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  texts_.push_back(GridValue::Attach(kept));
  textNumbers_.emplace(texts_.back().TextView(), number);
  return number;
}

void PackedRows::Pack(const std::vector<GridValue>& values) const {
  packing_.clear();
  PutVarint(packing_, values.size());
  for (const GridValue& value : values) {
    const VARIANT& v = value.get();
    switch (value.type()) {
      case VT_EMPTY: packing_.push_back(kEmpty); break;
      case VT_NULL: packing_.push_back(kNull); break;
      case VT_I4:
        packing_.push_back(kLong);
        PutRaw<int32_t>(packing_, V_I4(&v));
        break;
      case VT_R8:
        packing_.push_back(kDouble);
        PutRaw<double>(packing_, V_R8(&v));
        break;
      case VT_DATE:
        packing_.push_back(kDate);
        PutRaw<double>(packing_, V_DATE(&v));
        break;
      case VT_BOOL: packing_.push_back(V_BOOL(&v) ? kTrue : kFalse); break;
      case VT_BSTR: {
        if (!V_BSTR(&v)) {
          packing_.push_back(kRaw);
          PutRaw<VARIANT>(packing_, v);
          break;
        }
        const std::wstring_view text = value.TextView();
        const uint32_t number = TextNumber(text);
        if (number != kNoRow) {
          packing_.push_back(kKeptText);
          PutVarint(packing_, number);
        } else {
          packing_.push_back(kInlineText);
          PutVarint(packing_, text.size());
          const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
          packing_.insert(packing_.end(), bytes, bytes + text.size() * sizeof(wchar_t));
        }
        break;
      }
      default:
        if (HoldsNoPointer(value.type())) {
          packing_.push_back(kRaw);
          PutRaw<VARIANT>(packing_, v);
        } else {
          packing_.push_back(kObject);
          PutVarint(packing_, objects_.size());
          objects_.push_back(value);
        }
        break;
    }
  }
}

uint32_t PackedRows::Store() const {
  const size_t n = packing_.size();
  if (chunks_.empty() || used_ + n > kChunkBytes) {
    // A row larger than a chunk gets a chunk of its own, with places held for the
    // chunks it spans so that its start still names it.
    const size_t spans = (n + kChunkBytes - 1) / kChunkBytes;
    chunks_.push_back(std::make_unique<uint8_t[]>(std::max(n, kChunkBytes)));
    for (size_t i = 1; i < spans; ++i) chunks_.push_back(nullptr);
    used_ = spans > 1 ? kChunkBytes : 0;
    if (spans > 1) {
      std::memcpy(chunks_[chunks_.size() - spans].get(), packing_.data(), n);
      return static_cast<uint32_t>((chunks_.size() - spans) * kChunkBytes);
    }
  }
  const size_t at = (chunks_.size() - 1) * kChunkBytes + used_;
  std::memcpy(chunks_.back().get() + used_, packing_.data(), n);
  used_ += n;
  return static_cast<uint32_t>(at);
}

void PackedRows::Compact() const {
  std::vector<std::unique_ptr<uint8_t[]>> old;
  old.swap(chunks_);
  used_ = abandoned_ = 0;
  for (uint32_t& at : start_) {
    if (at == kNoRow) continue;
    const uint8_t* row = old[at / kChunkBytes].get() + at % kChunkBytes;
    packing_.assign(row, row + RowLength(row));
    at = Store();
  }
}

void PackedRows::Reorder(const std::vector<int>& order) {
  Flush();
  heldRow_ = SIZE_MAX;
  held_.clear();
  heldTexts_.clear();
  std::vector<uint32_t> sorted(order.size());
  for (size_t i = 0; i < order.size(); ++i) sorted[i] = start_[static_cast<size_t>(order[i])];
  start_ = std::move(sorted);
}

size_t PackedRows::HeldBytes() const {
  size_t bytes = chunks_.size() * kChunkBytes + start_.capacity() * sizeof(uint32_t);
  for (const GridValue& text : texts_) bytes += sizeof(GridValue) + 24 + text.TextView().size() * sizeof(wchar_t);
  return bytes + textNumbers_.size() * 24;
}

}  // namespace vk::grid
