#pragma once
// One busy flag a document screen (DocumentScreen holds it): it is set while MakeForm
// or an operation that yields runs (loading the thumbnails, a batch save, a search).
// Commands that arrive through a yield ask busy() and are ignored (all but the large
// view's display keys, which change nothing an operation uses); a close that
// arrives meanwhile (the screen's own or the host's) is kept, the running operation
// sees it at its next yield and stops quietly, and the close is done when the last
// scope ends.
//
//   ScreenBusy busy_{[this] { KillForm(); }};          // a member of the screen
//   { ScreenBusy::Scope working(busy_); ... }           // around the operation
//   busy_.Close();                                      // the host's Kill, "BTN_KIL"
#include <functional>
#include <utility>

namespace vk {

class ScreenBusy {
 public:
  explicit ScreenBusy(std::function<void()> closeNow) : closeNow_(std::move(closeNow)) {}
  ScreenBusy(const ScreenBusy&) = delete;
  ScreenBusy& operator=(const ScreenBusy&) = delete;

  bool busy() const { return depth_ > 0; }
  bool closeRequested() const { return closeRequested_; }
  // Closes now when idle; otherwise the close waits for the running operation's end.
  void Close() {
    if (busy()) {
      closeRequested_ = true;
      return;
    }
    closeNow_();
  }

  class Scope {
   public:
    explicit Scope(ScreenBusy& flag) : flag_(flag) { ++flag_.depth_; }
    ~Scope() {
      if (--flag_.depth_ > 0 || !flag_.closeRequested_) return;
      flag_.closeRequested_ = false;
      flag_.closeNow_();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ScreenBusy& flag_;
  };

 private:
  std::function<void()> closeNow_;
  int depth_ = 0;
  bool closeRequested_ = false;
};

}  // namespace vk
