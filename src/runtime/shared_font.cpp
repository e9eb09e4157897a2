#include "runtime/shared_font.h"

#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include "runtime/gdi_object.h"

namespace vk {
namespace {

class FontCache {
 public:
  HFONT Get(const FontDescription& wanted) {
    const std::lock_guard<std::mutex> hold(lock_);
    const Key key{wanted.name, std::lround(wanted.size * 100), wanted.bold, wanted.italic, wanted.underline,
                  wanted.strikethrough, wanted.charset};
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second.get();
    HFONT font = CreateGdiFont(wanted);
    fonts_.emplace(key, font);
    return font;
  }

 private:
  using Key = std::tuple<std::wstring, long, bool, bool, bool, bool, BYTE>;
  std::mutex lock_;
  std::map<Key, GdiObject<HFONT>> fonts_;
};

}  // namespace

HFONT SharedFont(const FontDescription& wanted) {
  static FontCache cache;
  return cache.Get(wanted);
}

}  // namespace vk
