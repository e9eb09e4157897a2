#include "hosted/grid/export_blocks.h"

#include <windows.h>
#include <float.h>

#include <algorithm>
#include <exception>
#include <vector>

namespace vk::grid {

namespace {

// What the calling thread and the encoding threads share, under `lock`.
struct Shared {
  const std::function<void(int, int, int, int)>& encode;
  int rows, blocks, slots;
  unsigned int floating;  // the caller's floating-point control word
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
  int threads = 1;  // numbers given to threads so far: the caller is 0
  int next = 0;     // the next block to encode
  int taken = 0;    // blocks taken so far
  std::vector<char> ready = std::vector<char>(static_cast<size_t>(slots), 0);
  bool stop = false;
  std::exception_ptr failure = nullptr;

  bool MayEncode() const { return !stop && next < blocks && next < taken + slots; }
};

class Locked {
 public:
  explicit Locked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~Locked() { ReleaseSRWLockExclusive(&lock_); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  SRWLOCK& lock_;
};

// Encodes the next block when one may be encoded now; false otherwise.
bool EncodeNext(Shared& s, int thread) {
  int block;
  {
    Locked hold(s.lock);
    if (!s.MayEncode()) return false;
    block = s.next++;
  }
  try {
    const int first = block * kBlockRows;
    s.encode(thread, first, std::min(s.rows, first + kBlockRows), block % s.slots);
  } catch (...) {
    Locked hold(s.lock);
    if (!s.failure) s.failure = std::current_exception();
    s.stop = true;
    WakeAllConditionVariable(&s.changed);
    return false;
  }
  {
    Locked hold(s.lock);
    s.ready[static_cast<size_t>(block % s.slots)] = 1;
  }
  WakeAllConditionVariable(&s.changed);
  return true;
}

constexpr unsigned int kFloatingBits = _MCW_EM | _MCW_RC | _MCW_PC;

// A thread of the pool: encodes blocks until none is left.
void CALLBACK EncodeBlocks(PTP_CALLBACK_INSTANCE, void* context, PTP_WORK) {
  Shared& s = *static_cast<Shared*>(context);
  // Computes as the caller does (the same precision and rounding), and leaves the pool's
  // thread as it found it.
  const unsigned int own = _control87(0, 0);
  _control87(s.floating, kFloatingBits);
  int thread;
  {
    Locked hold(s.lock);
    thread = s.threads++;
  }
  for (;;) {
    if (EncodeNext(s, thread)) continue;
    Locked hold(s.lock);
    while (!s.stop && s.next < s.blocks && !s.MayEncode()) SleepConditionVariableSRW(&s.changed, &s.lock, INFINITE, 0);
    if (s.stop || s.next >= s.blocks) break;
  }
  _control87(own, kFloatingBits);
}

}  // namespace

int EncodingThreads(int rows) {
  if (rows < 2 * kBlockRows) return 1;
  // A few: the file and the memory bus are shared, and so is the user's machine.
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return static_cast<int>(std::clamp<DWORD>(system.dwNumberOfProcessors, 1, 4));
}

int BlockSlots(int threads) { return threads <= 1 ? 1 : 2 * threads; }

void EncodeInBlocks(int rows, int threads, const std::function<void(int, int, int, int)>& encode,
                    const std::function<void(int)>& take) {
  const int blocks = (rows + kBlockRows - 1) / kBlockRows;
  Shared s{encode, rows, blocks, BlockSlots(threads), _control87(0, 0)};
  // The other threads come from the process's pool, which keeps them between uses.
  PTP_WORK work = threads > 1 && blocks > 1 ? CreateThreadpoolWork(EncodeBlocks, &s, nullptr) : nullptr;
  if (!work) {
    for (int block = 0; block < blocks; ++block) {
      const int first = block * kBlockRows;
      encode(0, first, std::min(rows, first + kBlockRows), 0);
      take(0);
    }
    return;
  }
  // However the loop below ends, the pool's threads stop and are waited for before this
  // returns: they use what the caller owns.
  struct Finish {
    Shared& s;
    PTP_WORK work;
    ~Finish() {
      {
        Locked hold(s.lock);
        s.stop = true;
      }
      WakeAllConditionVariable(&s.changed);
      WaitForThreadpoolWorkCallbacks(work, TRUE);  // those not started yet never start
      CloseThreadpoolWork(work);
    }
  } finish{s, work};
  for (int t = 1; t < threads; ++t) SubmitThreadpoolWork(work);

  // The blocks are taken in order; while the next is not ready, this thread encodes too.
  for (int block = 0; block < blocks; ++block) {
    const size_t slot = static_cast<size_t>(block % s.slots);
    for (;;) {
      {
        Locked hold(s.lock);
        if (s.ready[slot] || s.failure) break;
        if (!s.MayEncode()) {
          SleepConditionVariableSRW(&s.changed, &s.lock, INFINITE, 0);
          continue;
        }
      }
      EncodeNext(s, 0);
    }
    {
      Locked hold(s.lock);
      if (s.failure) std::rethrow_exception(s.failure);
    }
    take(static_cast<int>(slot));
    {
      Locked hold(s.lock);
      s.ready[slot] = 0;
      ++s.taken;
    }
    WakeAllConditionVariable(&s.changed);
  }
}

void ForEachBlock(int count, int threads, const std::function<void(int, int, int)>& work) {
  EncodeInBlocks(count, threads, [&](int thread, int first, int end, int) { work(thread, first, end); }, [](int) {});
}

}  // namespace vk::grid
