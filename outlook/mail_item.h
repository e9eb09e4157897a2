#pragma once
// The mail stand-in's objects, served from its type library to late-bound callers:
//   Application.CreateItem(0)           -> a new, unsent mail item
//   MailItem.To, MailItem.Subject       -> the recipients and the subject (text with no
//                                          line break: refused with 380)
//   MailItem.Attachments.Add(path, ...) -> a copy of the file, kept under its file name
//   MailItem.Attachments.Count
//   MailItem.Display([modal])           -> the message written into the outbox as .eml
// Every call whose arguments can stand goes into the outbox's call log first (outbox.h).
// A file that cannot be read, or whose name holds a NUL, is refused at Add, as the mail
// program refuses it; the message goes on without it. The message comes from the logon
// user at this machine.
#include <memory>

#include "OutlookStandIn.h"
#include "com/com_object.h"
#include "com/error_info.h"
#include "com/type_info.h"
#include "outlook/eml_message.h"

namespace vk::outlook {

// {58F14731-63B1-48B7-AB00-EB4227A55C00}: ours, not the mail program's.
inline constexpr CLSID CLSID_OutlookApplication = {
    0x58f14731, 0x63b1, 0x48b7, {0xab, 0x00, 0xeb, 0x42, 0x27, 0xa5, 0x5c, 0x00}};

class AttachmentList : public com::ComObject<AttachmentList, com::DispatchFromTypeInfo<Attachments>,
                                             com::SupportsErrorInfo<Attachments>> {
 public:
  explicit AttachmentList(std::shared_ptr<UnsentMail> mail) : mail_(std::move(mail)) {}
  STDMETHODIMP get_Count(long* count) override;
  STDMETHODIMP Add(VARIANT source, VARIANT type, VARIANT position, VARIANT displayName) override;

 private:
  std::shared_ptr<UnsentMail> mail_;
};

class MailItem : public com::ComObject<MailItem, com::DispatchFromTypeInfo<_MailItem>,
                                       com::SupportsErrorInfo<_MailItem>> {
 public:
  STDMETHODIMP get_To(BSTR* value) override;
  STDMETHODIMP put_To(BSTR value) override;
  STDMETHODIMP get_Attachments(Attachments** attachments) override;
  STDMETHODIMP Display(VARIANT modal) override;
  STDMETHODIMP get_Subject(BSTR* value) override;
  STDMETHODIMP put_Subject(BSTR value) override;

 private:
  std::shared_ptr<UnsentMail> mail_ = std::make_shared<UnsentMail>();
};

class Application : public com::ComObject<Application, com::DispatchFromTypeInfo<_Application>,
                                          com::SupportsErrorInfo<_Application>> {
 public:
  STDMETHODIMP CreateItem(long itemType, IDispatch** item) override;
};

}  // namespace vk::outlook
