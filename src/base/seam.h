#pragma once
// A seam: something outside (a dialog's answer, the clock, the shell, another
// program) that the product reaches through one replaceable handler. The real handler
// is in place unless a test put a substitute there for a scope; product code never
// asks which it has. A seam is known by its handler's type (two seams need two
// types): its header declares Seam<Handler>::Real() and its source defines it.
#include <utility>

namespace vk {

// Who sees a substitute: only the thread that put it in place, or every thread.
enum class SeamReach { Thread, Process };

template <class Handler, SeamReach reach = SeamReach::Thread>
class Seam {
 public:
  static Handler Real();

  static Handler& Current() {
    if constexpr (reach == SeamReach::Thread) {
      static thread_local Handler current = Real();
      return current;
    } else {
      static Handler current = Real();
      return current;
    }
  }

  // Puts a substitute in place for a block and puts the handler before back, also
  // when the block ends by an exception.
  class Scope {
   public:
    explicit Scope(Handler substitute) : saved_(std::exchange(Current(), std::move(substitute))) {}
    ~Scope() { Current() = std::move(saved_); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    Handler saved_;
  };
};

}  // namespace vk
