#include "outlook/mail_item.h"

#include <windows.h>

#include "base/variant.h"
#include "com/com_ptr.h"
#include "outlook/outbox.h"

namespace vk::outlook {
namespace {

const wchar_t kSource[] = L"Outlook.MailItem";

std::wstring TextOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (path.empty() || file == INVALID_HANDLE_VALUE)
    throw VbError{err::FileNotFound, kSource, L"Cannot find the file \"" + path + L"\"."};
  std::string bytes;
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  const bool ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                                    read == bytes.size());
  CloseHandle(file);
  if (!ok) throw VbError{err::PermissionDenied, kSource, L"Cannot read the file \"" + path + L"\"."};
  return bytes;
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A header's value as given, or 380 naming the member when it holds a line break.
std::wstring HeaderValue(const wchar_t* member, BSTR value) {
  std::wstring text = TextOf(value);
  if (!IsHeaderText(text))
    throw VbError{err::InvalidPropertyValue, kSource,
                  std::wstring(member) + L" cannot hold a line break (CR or LF) or a NUL character."};
  return text;
}

std::string Boundary(const SYSTEMTIME& now) {
  char text[64];
  std::snprintf(text, sizeof text, "=_VkOutbox_%04u%02u%02u%02u%02u%02u%03u_%lu", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetCurrentProcessId());
  return text;
}

}  // namespace

STDMETHODIMP AttachmentList::get_Count(long* count) {
  if (!count) return E_POINTER;
  *count = static_cast<long>(mail_->attachments.size());
  return S_OK;
}

STDMETHODIMP AttachmentList::Add(VARIANT source, VARIANT, VARIANT, VARIANT displayName) {
  return com::ComMethod(IID_Attachments, [&] {
    const std::wstring path = Variant(source).toText();
    // The file system would read the name only up to the NUL: another file than the one named.
    if (path.find(L'\0') != std::wstring::npos)
      throw VbError{err::InvalidProcedureCall, kSource, L"The file name holds a NUL character."};
    LogCall(L"Attachments.Add " + path);
    MailAttachment attachment{FileNameOf(path), ReadWholeFile(path)};
    const Variant shown(displayName);
    if (!shown.isEmpty() && shown.vt() != VT_ERROR && !shown.toText().empty()) attachment.fileName = shown.toText();
    mail_->attachments.push_back(std::move(attachment));
  });
}

STDMETHODIMP MailItem::get_To(BSTR* value) {
  if (!value) return E_POINTER;
  *value = SysAllocString(mail_->to.c_str());
  return S_OK;
}

STDMETHODIMP MailItem::put_To(BSTR value) {
  return com::ComMethod(IID__MailItem, [&] {
    mail_->to = HeaderValue(L"To", value);
    LogCall(L"To=" + mail_->to);
  });
}

STDMETHODIMP MailItem::get_Subject(BSTR* value) {
  if (!value) return E_POINTER;
  *value = SysAllocStringLen(mail_->subject.data(), static_cast<UINT>(mail_->subject.size()));
  return S_OK;
}

STDMETHODIMP MailItem::put_Subject(BSTR value) {
  return com::ComMethod(IID__MailItem, [&] {
    mail_->subject = HeaderValue(L"Subject", value);
    LogCall(L"Subject=" + mail_->subject);
  });
}

STDMETHODIMP MailItem::get_Attachments(Attachments** attachments) {
  if (!attachments) return E_POINTER;
  *attachments = AttachmentList::Create(mail_);
  return S_OK;
}

STDMETHODIMP MailItem::Display(VARIANT) {
  return com::ComMethod(IID__MailItem, [&] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    TIME_ZONE_INFORMATION zone{};
    const DWORD kind = GetTimeZoneInformation(&zone);
    const long bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
    const std::wstring file = WriteToOutbox(ComposeEml(*mail_, SenderAddress(), now, bias, Boundary(now)));
    LogCall(L"Display " + file);
  });
}

STDMETHODIMP Application::CreateItem(long itemType, IDispatch** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  return com::ComMethod(IID__Application, [&] {
    LogCall(L"CreateItem " + std::to_wstring(itemType));
    if (itemType != 0) throw VbError{err::InvalidProcedureCall, L"Outlook.Application", L"Only mail items are made here"};
    *item = MailItem::Create();
  });
}

}  // namespace vk::outlook
