#include "runtime/property_bag.h"

#include <windows.h>

namespace vk {

namespace {

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

PropertyBag::PropertyBag(std::initializer_list<std::pair<std::wstring, Variant>> entries) {
  for (const auto& [key, value] : entries) {
    auto found = Find(key);
    if (found == entries_.end()) entries_.emplace_back(key, value);
    else entries_[static_cast<size_t>(found - entries_.begin())].second = value;
  }
}

std::vector<std::pair<std::wstring, Variant>>::const_iterator PropertyBag::Find(std::wstring_view key) const {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (EqualsNoCase(it->first, key)) return it;
  }
  return entries_.end();
}

Variant PropertyBag::Read(std::wstring_view key, const Variant& defaultValue) const {
  auto it = Find(key);
  return it == entries_.end() ? defaultValue : it->second;
}

bool PropertyBag::Contains(std::wstring_view key) const { return Find(key) != entries_.end(); }

void PropertyBag::Write(std::wstring_view key, const Variant& value, const Variant& defaultValue) {
  auto found = Find(key);
  const auto index = found - entries_.begin();
  if (SameValue(value, defaultValue)) {
    if (found != entries_.end()) entries_.erase(entries_.begin() + index);
    return;
  }
  if (found != entries_.end()) {
    entries_[static_cast<size_t>(index)].second = value;
  } else {
    entries_.emplace_back(std::wstring(key), value);
  }
}

bool SameValue(const Variant& a, const Variant& b) {
  if (a.isEmpty() || b.isEmpty() || a.isNull() || b.isNull()) return a.vt() == b.vt();
  if (a.isText() && b.isText()) return a.toText() == b.toText();
  if (a.isObject() || b.isObject()) return a.isObject() && b.isObject() && a.object() == b.object();
  if (a.isArray() || b.isArray()) return false;
  const bool aNumber = a.isNumeric() || a.isDate(), bNumber = b.isNumeric() || b.isDate();
  if (aNumber && bNumber) return a.toDouble() == b.toDouble();
  return false;
}

}  // namespace vk
