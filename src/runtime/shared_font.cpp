#include "runtime/shared_font.h"

#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace vk {
namespace {

class FontCache {
 public:
  ~FontCache() {
    for (auto& entry : fonts_) DeleteObject(entry.second);
  }
  HFONT Get(const FontSpec& spec) {
    const std::lock_guard<std::mutex> hold(lock_);
    const Key key{spec.name, std::lround(spec.size * 100), spec.bold, spec.italic, spec.underline,
                  spec.strikethrough, spec.charset};
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HFONT font = CreateGdiFont(spec);
    fonts_.emplace(key, font);
    return font;
  }

 private:
  using Key = std::tuple<std::wstring, long, bool, bool, bool, bool, BYTE>;
  std::mutex lock_;
  std::map<Key, HFONT> fonts_;
};

}  // namespace

HFONT SharedFont(const FontSpec& spec) {
  static FontCache cache;
  return cache.Get(spec);
}

}  // namespace vk
