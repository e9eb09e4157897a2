// The mail stand-in registered as "Outlook.Application", driven late bound the way the
// document lists drive the mail program, writing into a scratch outbox.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <functional>
#include <string>

#include "base/steps.h"
#include "com/late_bound.h"
#include "support/com_test.h"
#include "support/error_of.h"
#include "support/outbox_folder.h"

namespace vk::test {
namespace {

ComApartment com;

// The bytes of the base64 part whose headers hold `marker`, decoded.
std::string AttachmentAfter(const std::string& eml, const std::string& marker) {
  const size_t at = eml.find(marker);
  if (at == std::string::npos) return "<no part>";
  const size_t start = eml.find("\r\n\r\n", at) + 4;
  const std::string encoded = eml.substr(start, eml.find("\r\n--", start) - start);
  DWORD size = 0;
  CryptStringToBinaryA(encoded.c_str(), 0, CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr);
  std::string bytes(size, '\0');
  CryptStringToBinaryA(encoded.c_str(), 0, CRYPT_STRING_BASE64, reinterpret_cast<BYTE*>(bytes.data()), &size,
                       nullptr, nullptr);
  return bytes;
}

TEST(OutlookStandIn, RegistersUnderTheMailProgramsProgIdOnly) {
  ASSERT_EQ(Regsvr32(L"OutlookStandIn.dll", L"/s /u"), 0u);
  EXPECT_FALSE(ClassesKeyExists(L"Outlook.Application"));
  EXPECT_EQ(ErrorOf([] { com::CreateObject(L"Outlook.Application"); }), 429);
  ASSERT_EQ(Regsvr32(L"OutlookStandIn.dll", L"/s"), 0u);
  EXPECT_TRUE(com::CreateObject(L"Outlook.Application"));
}

TEST(OutlookStandIn, DisplayWritesAnUnsentMessageWithItsReadableAttachments) {
  ScopedOutbox outbox;
  std::string scan(70000, '\0');
  for (size_t i = 0; i < scan.size(); ++i) scan[i] = static_cast<char>(i * 7 + i / 256);
  const std::wstring path = outbox.folder() + L"\\00000000000000000101.tif";
  std::ofstream(std::filesystem::path(path), std::ios::binary) << scan;
  std::ofstream(std::filesystem::path(outbox.folder() + L"\\legajo_pérez.pdf"), std::ios::binary) << "%PDF-1.4";

  com::ComPtr<IDispatch> outlook = com::CreateObject(L"Outlook.Application");
  EXPECT_EQ(ErrorOf([&] { com::Call(outlook.get(), L"CreateItem", {1L}); }), 5) << "only mail items";
  Variant item = com::Call(outlook.get(), L"CreateItem", {0L});
  com::Put(item.object(), L"To", L"");
  Variant attachments = com::Get(item.object(), L"Attachments");
  com::Call(attachments.object(), L"Add", {path});
  com::Call(attachments.object(), L"Add", {outbox.folder() + L"\\legajo_pérez.pdf"});
  VbError missing;
  IgnoreErrors([&] { com::Call(attachments.object(), L"Add", {outbox.folder() + L"\\no.tif"}); }, &missing);
  EXPECT_EQ(missing.number, 53);
  EXPECT_NE(missing.description.find(L"no.tif"), std::wstring::npos);
  EXPECT_EQ(com::Get(attachments.object(), L"Count").toLong(), 2);
  com::Call(item.object(), L"Display");

  const auto mails = outbox.Mails();
  ASSERT_EQ(mails.size(), 1u);
  const std::string& eml = mails[0];
  EXPECT_EQ(eml.rfind("X-Unsent: 1\r\n", 0), 0u);
  EXPECT_NE(eml.find("\r\nTo: \r\n"), std::string::npos);
  EXPECT_NE(eml.find("Content-Type: image/tiff; name=\"00000000000000000101.tif\""), std::string::npos);
  EXPECT_EQ(AttachmentAfter(eml, "filename=\"00000000000000000101.tif\""), scan);
  EXPECT_EQ(AttachmentAfter(eml, "filename*=utf-8''legajo_p%C3%A9rez.pdf"), "%PDF-1.4");

  const auto log = outbox.LogLines();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log[0], "CreateItem 1");
  EXPECT_EQ(log[2], "To=");
  EXPECT_EQ(log[3], "Attachments.Add " + std::string(path.begin(), path.end()));
  EXPECT_EQ(log[6].rfind("Display ", 0), 0u);
}

TEST(OutlookStandIn, TheMessageComesFromTheLogonUserAtThisMachineUnderItsSubject) {
  ScopedOutbox outbox;
  wchar_t user[256], machine[256];
  DWORD userSize = 256, machineSize = 256;
  ASSERT_TRUE(GetUserNameW(user, &userSize) && GetComputerNameW(machine, &machineSize));
  com::ComPtr<IDispatch> outlook = com::CreateObject(L"Outlook.Application");
  Variant item = com::Call(outlook.get(), L"CreateItem", {0L});
  com::Put(item.object(), L"Subject", L"Legajo 101");
  EXPECT_EQ(com::Get(item.object(), L"Subject").toText(), L"Legajo 101");
  com::Call(item.object(), L"Display");
  const auto mails = outbox.Mails();
  ASSERT_EQ(mails.size(), 1u);
  const std::wstring from = std::wstring(user) + L"@" + machine;
  EXPECT_NE(mails[0].find("\r\nFrom: " + std::string(from.begin(), from.end()) + "\r\n"), std::string::npos) << mails[0];
  EXPECT_NE(mails[0].find("\r\nSubject: Legajo 101\r\n"), std::string::npos);
}

TEST(OutlookStandIn, LineBreaksInHeadersAndNulInAttachmentPathsAreRefused) {
  ScopedOutbox outbox;
  const std::wstring path = outbox.folder() + L"\\scan.tif";
  std::ofstream(std::filesystem::path(path), std::ios::binary) << "scan";
  com::ComPtr<IDispatch> outlook = com::CreateObject(L"Outlook.Application");
  Variant item = com::Call(outlook.get(), L"CreateItem", {0L});
  Variant attachments = com::Get(item.object(), L"Attachments");
  const struct {
    const wchar_t* what;
    std::function<void()> call;
    long error;
  } cases[] = {
      {L"To with CR LF", [&] { com::Put(item.object(), L"To", L"a@b.es\r\nBcc: x@y.es"); }, 380},
      {L"To with LF", [&] { com::Put(item.object(), L"To", L"a@b.es\nBcc: x@y.es"); }, 380},
      {L"Subject with CR", [&] { com::Put(item.object(), L"Subject", L"Hola\rBcc: x@y.es"); }, 380},
      {L"path with NUL", [&] { com::Call(attachments.object(), L"Add", {path + std::wstring(1, L'\0') + L".exe"}); }, 5},
  };
  for (const auto& c : cases) {
    VbError reason;
    IgnoreErrors(c.call, &reason);
    EXPECT_EQ(reason.number, c.error) << c.what;
    EXPECT_FALSE(reason.description.empty()) << c.what;
  }
  EXPECT_EQ(com::Get(attachments.object(), L"Count").toLong(), 0);
  com::Call(item.object(), L"Display");
  const auto mails = outbox.Mails();
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].find("Bcc"), std::string::npos);
  EXPECT_NE(mails[0].find("\r\nTo: \r\n"), std::string::npos);
}

}  // namespace
}  // namespace vk::test
