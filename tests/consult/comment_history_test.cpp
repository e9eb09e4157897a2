// A document's comment history appended to from two computers at once, each through a
// data object that answers to the component's three members only: every entry is kept,
// once; a write the database drops, or a document that is gone, is a failure.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/vb_error.h"
#include "consult/comment_history.h"
#include "list_fixture.h"
#include "screen_kit/data_access.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace vk::test {
namespace {

constexpr long kDocument = 106;
constexpr int kEntries = 8;  // from each computer
const wchar_t kReady[] = L"VkCommentHistoryReady";
const wchar_t kGo[] = L"VkCommentHistoryGo";

std::wstring Entry(const std::wstring& who, int n) { return who + L" " + std::to_wstring(n) + L"\r\n"; }

void AppendEntries(const std::wstring& who) {
  const DataAccess data(ThreeMemberDataObject());
  for (int n = 1; n <= kEntries; ++n) consult::AppendToHistory(data, kAppKey, kDocument, Entry(who, n));
}

std::wstring StoredHistory() {
  auto data = DataAccess::Create();
  auto row = data->GetData(kAppKey, L"Select Comentarios From Documentos Where DocumentoId = " +
                                        std::to_wstring(kDocument));
  return row && !row->IsEOF() ? row->FieldText(L"Comentarios") : L"<none>";
}

size_t Occurrences(const std::wstring& text, const std::wstring& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The other computer: a second copy of this program, started by the test below, that
// appends its entries when told to go.
TEST(OtherComputer, DISABLED_AppendsItsEntries) {
  ComApartment com;
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, kReady);
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, kGo);
  ASSERT_TRUE(ready && go);
  SetEvent(ready);
  ASSERT_EQ(WaitForSingleObject(go, 60000), WAIT_OBJECT_0);
  AppendEntries(L"otro");
  CloseHandle(ready);
  CloseHandle(go);
}

TEST(CommentHistory, TwoComputersAppendingAtOnceKeepEveryEntryOnce) {
  ComApartment com;
  TestDatabases databases{kAppKey};
  const std::wstring before = StoredHistory();
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, kReady);
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, kGo);
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(program) +
                      L"\" --gtest_also_run_disabled_tests --gtest_filter=OtherComputer.DISABLED_AppendsItsEntries";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION other{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &other));
  ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
  SetEvent(go);
  EXPECT_NO_THROW(AppendEntries(L"este"));
  WaitForSingleObject(other.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(other.hProcess, &code);
  CloseHandle(other.hThread);
  CloseHandle(other.hProcess);
  CloseHandle(ready);
  CloseHandle(go);
  EXPECT_EQ(code, 0u) << "the other computer's appends";

  const std::wstring history = StoredHistory();
  EXPECT_EQ(history.rfind(before, 0), 0u) << "earlier text is never changed";
  size_t length = before.size();
  for (const wchar_t* who : {L"este", L"otro"}) {
    for (int n = 1; n <= kEntries; ++n) {
      EXPECT_EQ(Occurrences(history, Entry(who, n)), 1u) << "entry " << n;
      length += Entry(who, n).size();
    }
  }
  EXPECT_EQ(history.size(), length);
}

TEST(CommentHistory, AWriteTheDatabaseDropsAndADocumentGoneAreFailures) {
  ComApartment com;
  TestDatabases databases{kAppKey};
  const DataAccess data(ThreeMemberDataObject());
  auto reason = [&](long document) {
    try {
      consult::AppendToHistory(data, kAppKey, document, L"nunca\r\n");
    } catch (const VbError& e) {
      return e.description;
    }
    return std::wstring(L"written");
  };
  ASSERT_TRUE(databases.Sql(kAppKey, L"Create Trigger Dropped Before Update Of Comentarios On Documentos "
                                     L"Begin Select Raise(Ignore); End"));
  EXPECT_EQ(reason(kDocument), L"La base de datos no guardó el comentario del documento 106");
  EXPECT_EQ(reason(99999), L"El documento 99999 ya no existe");
}

}  // namespace
}  // namespace vk::test
