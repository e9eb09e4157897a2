#pragma once
// The mail program the lists mail a document through: reached only by the ProgID
// "Outlook.Application", late bound. The factory is a seam: tests point it at a ProgID
// no class answers to, to see the screens without a mail program.
#include <functional>

#include "base/seam.h"
#include "com/com_ptr.h"

namespace vk::consult {

// Makes the mail program's application object; raises (429) when it cannot.
using MailProgramFactory = std::function<com::ComPtr<IDispatch>()>;

}  // namespace vk::consult

namespace vk {
template <>
consult::MailProgramFactory Seam<consult::MailProgramFactory>::Real();
}  // namespace vk

namespace vk::consult {
using ScopedMailProgram = Seam<MailProgramFactory>::Scope;
}  // namespace vk::consult
