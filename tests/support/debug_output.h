#pragma once
// Records what the program writes to the debugger's output while the recorder lives:
// the platform raises a debug-print exception for each text, which is seen here first
// and then handled as usual.
#include <windows.h>

#include <string>

namespace vk::test {

class DebugOutputRecorder {
 public:
  DebugOutputRecorder() : handler_(AddVectoredExceptionHandler(1, &Handler)) { current_ = this; }
  ~DebugOutputRecorder() {
    RemoveVectoredExceptionHandler(handler_);
    current_ = nullptr;
  }
  DebugOutputRecorder(const DebugOutputRecorder&) = delete;
  DebugOutputRecorder& operator=(const DebugOutputRecorder&) = delete;

  const std::string& text() const { return text_; }

 private:
  static LONG CALLBACK Handler(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (current_ && record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2)
      current_->text_ += reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    return EXCEPTION_CONTINUE_SEARCH;
  }

  inline static DebugOutputRecorder* current_ = nullptr;
  void* handler_;
  std::string text_;
};

}  // namespace vk::test
