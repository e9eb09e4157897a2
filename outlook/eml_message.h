#pragma once
// An unsent message as a standard Internet message file (.eml, RFC 5322 with MIME):
// "X-Unsent: 1" so a mail program opens it as a draft to complete and send, the
// recipients, an empty text part and each attachment in base64 under its file name.
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
  std::vector<MailAttachment> attachments;
};

// The message with CRLF line ends; `now` gives its Date header, `boundary` separates
// the parts (it must not occur in them; base64 and empty text never hold "=_").
std::string ComposeEml(const UnsentMail& mail, const SYSTEMTIME& now, long utcBiasMinutes,
                       const std::string& boundary);

// Base64 in lines of 76 characters, each ended by CRLF.
std::string Base64Lines(const std::string& bytes);

// The MIME type a mail program expects for a file name's extension.
std::string ContentTypeOf(const std::wstring& fileName);

}  // namespace vk::outlook
