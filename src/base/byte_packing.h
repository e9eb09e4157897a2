#pragma once
// Values packed into a byte vector, as the recordset and the grid keep their rows:
// whole numbers as 7-bit groups (low first, the high bit saying another follows, so
// the usual small lengths and indexes take one byte) and other values as their bytes.
#include <cstdint>
#include <cstring>
#include <vector>

namespace vk {

template <class Unsigned>
void PutVarint(std::vector<uint8_t>& out, Unsigned value) {
  while (value >= 0x80) {
    out.push_back(static_cast<uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<uint8_t>(value));
}

// Reads one number and steps past it.
template <class Unsigned = size_t>
Unsigned GetVarint(const uint8_t*& p) {
  Unsigned value = 0;
  int shift = 0;
  while (*p & 0x80) {
    value |= static_cast<Unsigned>(*p++ & 0x7f) << shift;
    shift += 7;
  }
  return value | static_cast<Unsigned>(*p++) << shift;
}

template <class T>
void PutRaw(std::vector<uint8_t>& out, const T& value) {
  uint8_t bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

// The value whose bytes start at p (which need not be aligned).
template <class T>
T PeekRaw(const uint8_t* p) {
  T value;
  std::memcpy(&value, p, sizeof(T));
  return value;
}

}  // namespace vk
