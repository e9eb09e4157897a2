#pragma once
// The busy animation the search picker plays ("Vk_OstrelaGIF01.gif"): eight dots
// on a ring, one of them lit, going round. Our own drawing, made by make_sample_gif.
#include <cstdint>
#include <vector>

namespace vk::gif {

inline constexpr int kSampleSize = 32;
inline constexpr int kSampleFrames = 8;

std::vector<uint8_t> SampleAnimation();

}  // namespace vk::gif
