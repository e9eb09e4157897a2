#pragma once
// Rounding to a whole number as the platform rounds: halves to even (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2), everything else to the nearest.
#include <cmath>

namespace vk {

inline long RoundHalfEven(double value) {
  return static_cast<long>(std::nearbyint(value));  // the default mode rounds half to even
}

}  // namespace vk
