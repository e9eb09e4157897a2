#pragma once
// An unsent message as a standard Internet message file (.eml, RFC 5322 with MIME):
// "X-Unsent: 1" so a mail program opens it as a draft to complete and send, the
// sender, the recipients and subject, an empty text part and each attachment in base64 under its file name.
#include <windows.h>

#include <string>
#include <vector>

namespace vk::outlook {

struct MailAttachment {
  std::wstring fileName;  // without folder
  std::string bytes;
};

struct UnsentMail {
  std::wstring to;
  std::wstring subject;
  std::vector<MailAttachment> attachments;
};

// The message with CRLF line ends; `from` is the sender's address, `now` gives its Date
// header, `boundary` separates the parts (it must not occur in them; base64 and empty
// text never hold "=_"). To and Subject must hold no CR or LF (see HeaderText).
std::string ComposeEml(const UnsentMail& mail, const std::wstring& from, const SYSTEMTIME& now,
                       long utcBiasMinutes, const std::string& boundary);

// The address an unsent message of this machine's default account comes from: the
// logon user at the machine ("user@machine"), the user quoted where the address
// syntax needs it.
std::wstring SenderAddress();

// True when `text` can stand as a header's value: no CR, LF or NUL, which would end
// the header and start another.
bool IsHeaderText(const std::wstring& text);

// Base64 in lines of 76 characters, each ended by CRLF.
std::string Base64Lines(const std::string& bytes);

// The MIME type a mail program expects for a file name's extension.
std::string ContentTypeOf(const std::wstring& fileName);

}  // namespace vk::outlook
