// The mail stand-in registered as "Outlook.Application", driven late bound the way the
// document lists drive the mail program, writing into a scratch outbox.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "com/late_bound.h"
#include "support/com_test.h"
#include "support/outbox_folder.h"

namespace vk::test {
namespace {

ComApartment com;

// The bytes of the base64 part that follows `marker` in a message, decoded.
std::string AttachmentAfter(const std::string& eml, const std::string& marker) {
  size_t at = eml.find(marker);
  if (at == std::string::npos) return "<no part>";
  const size_t start = eml.find("\r\n\r\n", at) + 4;
  const size_t end = eml.find("\r\n--", start);
  const std::string encoded = eml.substr(start, end - start);
  DWORD size = 0;
  CryptStringToBinaryA(encoded.c_str(), static_cast<DWORD>(encoded.size()), CRYPT_STRING_BASE64, nullptr, &size,
                       nullptr, nullptr);
  std::string bytes(size, '\0');
  CryptStringToBinaryA(encoded.c_str(), static_cast<DWORD>(encoded.size()), CRYPT_STRING_BASE64,
                       reinterpret_cast<BYTE*>(bytes.data()), &size, nullptr, nullptr);
  return bytes;
}

std::wstring WriteScratchFile(const std::wstring& folder, const std::wstring& name, const std::string& bytes) {
  const std::wstring path = folder + L"\\" + name;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return path;
}

TEST(OutlookStandIn, RegistersUnderTheMailProgramsProgIdAndUnregistersCleanly) {
  ASSERT_EQ(Regsvr32(L"OutlookStandIn.dll", L"/s /u"), 0u);
  EXPECT_FALSE(ClassesKeyExists(L"Outlook.Application"));
  try {
    com::CreateObject(L"Outlook.Application");
    ADD_FAILURE() << "created without registration";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, 429);
    EXPECT_EQ(e.description, L"ActiveX component can't create object");
  }
  ASSERT_EQ(Regsvr32(L"OutlookStandIn.dll", L"/s"), 0u);
  EXPECT_TRUE(ClassesKeyExists(L"Outlook.Application\\Clsid"));
  EXPECT_TRUE(com::CreateObject(L"Outlook.Application"));
}

TEST(OutlookStandIn, DisplayWritesAnUnsentMessageWithTheFileAttached) {
  ScopedOutbox outbox;
  std::string scan(70000, '\0');
  for (size_t i = 0; i < scan.size(); ++i) scan[i] = static_cast<char>(i * 7 + i / 256);
  const std::wstring path = WriteScratchFile(outbox.folder(), L"00000000000000000101.tif", scan);
  const std::wstring accented = WriteScratchFile(outbox.folder(), L"legajo_pérez.pdf", "%PDF-1.4 tiny");

  ComPtr<IDispatch> outlook = com::CreateObject(L"Outlook.Application");
  Variant item = com::Call(outlook.get(), L"CreateItem", {0L});
  com::Put(item.object(), L"To", L"");
  Variant attachments = com::Get(item.object(), L"Attachments");
  com::Call(attachments.object(), L"Add", {path});
  com::Call(attachments.object(), L"Add", {accented});
  EXPECT_EQ(com::Get(attachments.object(), L"Count").toLong(), 2);
  com::Call(item.object(), L"Display");

  const auto mails = outbox.Files(L"*.eml");
  ASSERT_EQ(mails.size(), 1u);
  const std::string eml = outbox.ReadFile(mails[0]);
  EXPECT_EQ(eml.rfind("X-Unsent: 1\r\n", 0), 0u);
  EXPECT_NE(eml.find("\r\nTo: \r\n"), std::string::npos);
  EXPECT_NE(eml.find("\r\nDate: "), std::string::npos);
  EXPECT_NE(eml.find("Content-Type: multipart/mixed; boundary="), std::string::npos);
  EXPECT_EQ(AttachmentAfter(eml, "filename=\"00000000000000000101.tif\""), scan);
  EXPECT_NE(eml.find("Content-Type: image/tiff; name=\"00000000000000000101.tif\""), std::string::npos);
  EXPECT_EQ(AttachmentAfter(eml, "filename*=utf-8''legajo_p%C3%A9rez.pdf"), "%PDF-1.4 tiny");

  const std::string narrowPath(path.begin(), path.end());
  const auto log = outbox.LogLines();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0], "CreateItem 0");
  EXPECT_EQ(log[1], "To=");
  EXPECT_EQ(log[2], "Attachments.Add " + narrowPath);
  EXPECT_EQ(log[4].rfind("Display ", 0), 0u);
  EXPECT_NE(log[4].find(".eml"), std::string::npos);
}

TEST(OutlookStandIn, RefusesMissingFilesAndOtherItemKindsButStillDisplaysTheMail) {
  ScopedOutbox outbox;
  ComPtr<IDispatch> outlook = com::CreateObject(L"Outlook.Application");
  try {
    com::Call(outlook.get(), L"CreateItem", {1L});
    ADD_FAILURE() << "an appointment was made";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, 5);
  }
  Variant item = com::Call(outlook.get(), L"CreateItem", {0L});
  Variant attachments = com::Get(item.object(), L"Attachments");
  const std::wstring missing = outbox.folder() + L"\\no_such_scan.tif";
  try {
    com::Call(attachments.object(), L"Add", {missing});
    ADD_FAILURE() << "a missing file was attached";
  } catch (const VbError& e) {
    EXPECT_EQ(e.number, 53);
    EXPECT_NE(e.description.find(L"no_such_scan.tif"), std::wstring::npos);
  }
  com::Call(item.object(), L"Display");
  const auto mails = outbox.Files(L"*.eml");
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(outbox.ReadFile(mails[0]).find("Content-Disposition: attachment"), std::string::npos);
}

}  // namespace
}  // namespace vk::test
