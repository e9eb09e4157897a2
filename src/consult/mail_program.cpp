#include "consult/mail_program.h"

#include "com/late_bound.h"

namespace vk {

template <>
consult::MailProgramFactory Seam<consult::MailProgramFactory>::Real() {
  return [] { return com::CreateObject(L"Outlook.Application"); };
}

}  // namespace vk
