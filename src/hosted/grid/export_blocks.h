#pragma once
// The rows of an export in blocks: a block of rows is encoded, then taken (written),
// then the next, so a million rows take no more memory than one block. Everything runs
// on the calling thread: the component starts no threads of its own.
#include <functional>

namespace vk::grid {

inline constexpr int kBlockRows = 2048;

// Calls encode(first, end) for each block [first, end) of [0, rows), in order, each
// followed by take(). What either raises ends the work and is raised here.
void EncodeInBlocks(int rows, const std::function<void(int first, int end)>& encode, const std::function<void()>& take);

}  // namespace vk::grid
