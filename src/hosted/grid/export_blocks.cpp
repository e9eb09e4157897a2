#include "hosted/grid/export_blocks.h"

#include <algorithm>

namespace vk::grid {

void EncodeInBlocks(int rows, const std::function<void(int, int)>& encode, const std::function<void()>& take) {
  for (int first = 0; first < rows; first += kBlockRows) {
    encode(first, std::min(rows, first + kBlockRows));
    take();
  }
}

}  // namespace vk::grid
