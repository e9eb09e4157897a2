#pragma once
// The rows of an export in blocks, encoded on a few threads (the calling one and the
// process's thread pool) while the calling thread takes the finished blocks in order
// (and writes them). Reading a cell and making its bytes costs several times what
// writing the bytes does, and the rows do not depend on each other. At most a few blocks
// wait to be taken, so a million rows take no more memory than some thousands.
#include <functional>

namespace vk::grid {

inline constexpr int kBlockRows = 2048;

// How many threads encode a table of `rows`: one for a small table or a machine of one
// processor, a few otherwise.
int EncodingThreads(int rows);

// How many blocks can be encoded and not yet taken: the slots a writer keeps.
int BlockSlots(int threads);

// Calls encode(thread, first, end, slot) for the blocks [first, end) of [0, rows) on up
// to `threads` threads, the calling one numbered 0 (the number chooses the thread's own
// reading state), and take(slot) on the calling thread, block after block. A slot is
// encoded again only after it was taken. What encode or take raises ends the work and is
// raised here, once every thread has stopped.
void EncodeInBlocks(int rows, int threads, const std::function<void(int thread, int first, int end, int slot)>& encode,
                    const std::function<void(int slot)>& take);

// Calls work(thread, first, end) for the blocks of [0, count) on up to `threads` threads,
// in no particular order; returns when all are done.
void ForEachBlock(int count, int threads, const std::function<void(int thread, int first, int end)>& work);

}  // namespace vk::grid
