#include "outlook/eml_message.h"

#include <lmcons.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "base/utf8.h"
#include "outlook/outbox.h"

namespace vk::outlook {
namespace {

bool IsPlainAscii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c < 0x20 || c > 0x7e || c == L'"' || c == L'\\') return false;
  return true;
}

// filename="name" for plain names, RFC 2231's filename*=utf-8''%xx for the rest.
std::string FileNameParameter(const char* parameter, const std::wstring& name) {
  if (IsPlainAscii(name)) return std::string(parameter) + "=\"" + Utf8(name) + "\"";
  std::string out = std::string(parameter) + "*=utf-8''";
  for (unsigned char c : Utf8(name)) {
    if (std::isalnum(c) || c == '.' || c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string DateHeader(const SYSTEMTIME& t, long utcBiasMinutes) {
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // The bias is UTC minus local time; the header gives local minus UTC.
  const long offset = -utcBiasMinutes;
  const long magnitude = offset < 0 ? -offset : offset;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u %c%02ld%02ld", days[t.wDayOfWeek % 7], t.wDay,
                months[(t.wMonth + 11) % 12], t.wYear, t.wHour, t.wMinute, t.wSecond, offset < 0 ? '-' : '+',
                magnitude / 60, magnitude % 60);
  return text;
}

}  // namespace

std::string Base64Lines(const std::string& bytes) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve(bytes.size() * 4 / 3 + bytes.size() / 57 * 2 + 8);
  size_t lineLength = 0;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    unsigned long group = static_cast<unsigned char>(bytes[i]) << 16;
    if (n > 1) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (n > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += alphabet[(group >> 18) & 63];
    out += alphabet[(group >> 12) & 63];
    out += n > 1 ? alphabet[(group >> 6) & 63] : '=';
    out += n > 2 ? alphabet[group & 63] : '=';
    lineLength += 4;
    if (lineLength == 76) {
      out += "\r\n";
      lineLength = 0;
    }
  }
  if (lineLength > 0) out += "\r\n";
  return out;
}

std::string ContentTypeOf(const std::wstring& fileName) {
  const size_t dot = fileName.rfind(L'.');
  std::wstring extension = dot == std::wstring::npos ? L"" : fileName.substr(dot + 1);
  for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  struct Known { const wchar_t* extension; const char* type; };
  static const Known known[] = {{L"pdf", "application/pdf"}, {L"tif", "image/tiff"}, {L"tiff", "image/tiff"},
                                {L"jpg", "image/jpeg"},      {L"jpeg", "image/jpeg"}, {L"png", "image/png"},
                                {L"gif", "image/gif"},       {L"bmp", "image/bmp"},   {L"txt", "text/plain"}};
  for (const Known& k : known)
    if (extension == k.extension) return k.type;
  return "application/octet-stream";
}

bool IsHeaderText(const std::wstring& text) {
  return text.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
}

std::wstring SenderAddress() {
  wchar_t user[UNLEN + 1] = {}, machine[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD userSize = UNLEN + 1, machineSize = MAX_COMPUTERNAME_LENGTH + 1;
  GetUserNameW(user, &userSize);
  GetComputerNameW(machine, &machineSize);
  // A local part of letters, digits and RFC 5322's other atom characters stands as it
  // is; anything else ("Ana María") goes in quotes.
  const std::wstring name = user;
  bool atom = !name.empty() && name.front() != L'.' && name.back() != L'.';
  for (wchar_t c : name)
    if (!(std::iswalnum(c) && c < 0x80) && !std::wcschr(L"!#$%&'*+-/=?^_`{|}~.", c)) atom = false;
  std::wstring local = name;
  if (!atom) {
    local = L"\"";
    for (wchar_t c : name) {
      if (c == L'"' || c == L'\\') local += L'\\';
      local += c;
    }
    local += L'"';
  }
  return local + L"@" + machine;
}

std::string ComposeEml(const UnsentMail& mail, const std::wstring& from, const SYSTEMTIME& now,
                       long utcBiasMinutes, const std::string& boundary) {
  std::string m;
  m += "X-Unsent: 1\r\n";
  m += "Date: " + DateHeader(now, utcBiasMinutes) + "\r\n";
  m += "From: " + Utf8(from) + "\r\n";
  m += "To: " + Utf8(mail.to) + "\r\n";
  m += "Subject: " + Utf8(mail.subject) + "\r\n";
  m += "MIME-Version: 1.0\r\n";
  m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n";
  m += "\r\n";
  m += "--" + boundary + "\r\n";
  m += "Content-Type: text/plain; charset=utf-8\r\n";
  m += "Content-Transfer-Encoding: 7bit\r\n";
  m += "\r\n";
  for (const MailAttachment& a : mail.attachments) {
    m += "\r\n--" + boundary + "\r\n";
    m += "Content-Type: " + ContentTypeOf(a.fileName) + "; " + FileNameParameter("name", a.fileName) + "\r\n";
    m += "Content-Transfer-Encoding: base64\r\n";
    m += "Content-Disposition: attachment; " + FileNameParameter("filename", a.fileName) + "\r\n";
    m += "\r\n";
    m += Base64Lines(a.bytes);
  }
  m += "\r\n--" + boundary + "--\r\n";
  return m;
}

}  // namespace vk::outlook
