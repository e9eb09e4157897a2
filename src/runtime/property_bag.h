#pragma once
// The persisted properties of a user control: named values read with a default and
// written only when they differ from it, so an absent key always reads as its
// default. Keys compare without regard to case.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/variant.h"

namespace vk {

class PropertyBag {
 public:
  PropertyBag() = default;
  PropertyBag(std::initializer_list<std::pair<std::wstring, Variant>> entries);

  // The stored value, or defaultValue when the key is absent.
  Variant Read(std::wstring_view key, const Variant& defaultValue = {}) const;
  // Stores the value; a value equal to its default removes the key instead.
  void Write(std::wstring_view key, const Variant& value, const Variant& defaultValue = {});
  bool Contains(std::wstring_view key) const;
  void Clear() { entries_.clear(); }
  size_t size() const { return entries_.size(); }
  const std::vector<std::pair<std::wstring, Variant>>& entries() const { return entries_; }

 private:
  std::vector<std::pair<std::wstring, Variant>>::const_iterator Find(std::wstring_view key) const;

  std::vector<std::pair<std::wstring, Variant>> entries_;
};

// True when two values are the same for storage: the same text (case counts), the
// same number whatever its type, both Empty, both Null, or the same object.
bool SameValue(const Variant& a, const Variant& b);

}  // namespace vk
