#pragma once
// The mail program the lists mail a document through: reached only by the ProgID
// "Outlook.Application", late bound. The factory is a seam: tests point it at a ProgID
// no class answers to, to see the screens without a mail program.
#include <functional>

#include "com/com_ptr.h"

namespace vk::consult {

// Makes the mail program's application object; raises (429) when it cannot.
using MailProgramFactory = std::function<ComPtr<IDispatch>()>;
MailProgramFactory& CurrentMailProgram();

class ScopedMailProgram {
 public:
  explicit ScopedMailProgram(MailProgramFactory factory) : saved_(CurrentMailProgram()) {
    CurrentMailProgram() = std::move(factory);
  }
  ~ScopedMailProgram() { CurrentMailProgram() = std::move(saved_); }
  ScopedMailProgram(const ScopedMailProgram&) = delete;
  ScopedMailProgram& operator=(const ScopedMailProgram&) = delete;

 private:
  MailProgramFactory saved_;
};

}  // namespace vk::consult
