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
  HFONT Get(const std::wstring& faceName, double points, bool bold) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto key = std::make_tuple(faceName, std::lround(points * 100), bold);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HDC screen = GetDC(nullptr);
    const int height = -static_cast<int>(std::lround(points * GetDeviceCaps(screen, LOGPIXELSY) / 72.0));
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             faceName.c_str());
    fonts_.emplace(key, font);
    return font;
  }

 private:
  std::mutex lock_;
  std::map<std::tuple<std::wstring, long, bool>, HFONT> fonts_;
};

}  // namespace

HFONT SharedFont(const std::wstring& faceName, double points, bool bold) {
  static FontCache cache;
  return cache.Get(faceName, points, bold);
}

}  // namespace vk
