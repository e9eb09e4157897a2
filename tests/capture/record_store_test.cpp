// The document record and the document store: stored paths, the move into a generated
// store (every refusal leaves the store and the source as they were), the observation
// text and the 24 procedure values under a fixed clock in the machine's own date
// format, and a save read back from a copy of the sample database.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "capture/document_record.h"
#include "capture/document_store.h"
#include "host/host_seams.h"
#include "host/shared_state.h"
#include "host/test_databases.h"
#include "runtime/clock.h"
#include "support/com_test.h"

namespace {

using namespace vk;
using capture::DocumentRecord;

const wchar_t kAppKey[] = L"VkCaptureRecord";

// A fresh folder under TEMP, removed with everything in it at the end.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
    Remove(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { Remove(path_); }
  const std::wstring& path() const { return path_; }

  void Write(const std::wstring& relative, const char* content) const {
    HANDLE file = CreateFileW((path_ + L"\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr);
    CloseHandle(file);
  }
  std::string Read(const std::wstring& relative) const {
    HANDLE file = CreateFileW((path_ + L"\\" + relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[256] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer - 1, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
  }
  // Every file and folder below, relative, folders ending in "\".
  std::set<std::wstring> Tree() const {
    std::set<std::wstring> entries;
    Walk(path_, L"", entries);
    return entries;
  }

 private:
  static void Walk(const std::wstring& folder, const std::wstring& prefix, std::set<std::wstring>& out) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        out.insert(prefix + name + L"\\");
        Walk(folder + L"\\" + name, prefix + name + L"\\", out);
      } else {
        out.insert(prefix + name);
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  static void Remove(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Remove(full);
        else DeleteFileW(full.c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }
  std::wstring path_;
};

DocumentRecord Entry(const std::wstring& category, const std::wstring& subCategory, long id,
                     const std::wstring& documento) {
  DocumentRecord record;
  record.CategoriaId = category;
  record.SubCategoriaId = subCategory;
  record.DocumentoId = id;
  record.Documento = documento;
  return record;
}

TEST(DocumentStorePath, PadsIdsAndKeepsTheExtensionAsItStands) {
  struct Case {
    const wchar_t *root, *category, *subCategory;
    long id;
    const wchar_t *documento, *expected;
  } cases[] = {
      {L"D:\\Docs", L"7", L"12", 1234, L"scan.JPG", L"D:\\Docs\\00007\\00012\\00000000000000001234.JPG"},
      {L"D:\\Docs", L" 7 ", L"1", 57, L"a.pdf", L"D:\\Docs\\00007\\00001\\00000000000000000057.pdf"},
      {L"D:\\Docs", L"123456", L"", 1, L"SCAN.TIF", L"D:\\Docs\\123456\\00000\\00000000000000000001.TIF"},
      {L"D:\\Docs", L"AD", L"X", 9, L"informe", L"D:\\Docs\\000AD\\0000X\\00000000000000000009.rme"},
      {L"D:\\Docs", L"1", L"1", 2, L"ab", L"D:\\Docs\\00001\\00001\\00000000000000000002.ab"},
      {L"D:\\Docs\\", L"1", L"1", 3, L"x.png", L"D:\\Docs\\\\00001\\00001\\00000000000000000003.png"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(capture::DocumentStorePath(c.root, c.category, c.subCategory, c.id, c.documento), c.expected)
        << c.category << L"/" << c.documento;
  }
  EXPECT_EQ(capture::SubCategoryFolder(L"R:", L"7", L"12"), L"R:\\00007\\00012");
  Shared().gPathDestino = L"E:\\Store";
  EXPECT_EQ(capture::DocumentStorePath(Entry(L"3", L"1", 57, L"a.pdf")),
            L"E:\\Store\\00003\\00001\\00000000000000000057.pdf");
}

class MoveDocumentFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW((store_.path() + L"\\root").c_str(), nullptr);
    source_.Write(L"scan.JPG", "scan bytes");
    Shared() = SharedState{};
    Shared().gPathDestino = store_.path() + L"\\root";
  }
  std::wstring Source() const { return source_.path() + L"\\scan.JPG"; }

  ScratchFolder store_{L"vkstore"};
  ScratchFolder source_{L"vksource"};
};

TEST_F(MoveDocumentFileTest, MovesIntoNewFoldersAndKeepsTheBytes) {
  EXPECT_TRUE(capture::MoveDocumentFile(Entry(L"7", L"12", 1234, L"scan.JPG"), Source()));
  EXPECT_EQ(store_.Tree(), (std::set<std::wstring>{L"root\\", L"root\\00007\\", L"root\\00007\\00012\\",
                                                   L"root\\00007\\00012\\00000000000000001234.JPG"}));
  EXPECT_EQ(store_.Read(L"root\\00007\\00012\\00000000000000001234.JPG"), "scan bytes");
  EXPECT_TRUE(source_.Tree().empty());
}

TEST_F(MoveDocumentFileTest, CreatesOnlyTheFoldersThatAreMissing) {
  CreateDirectoryW((store_.path() + L"\\root\\00007").c_str(), nullptr);
  EXPECT_TRUE(capture::MoveDocumentFile(Entry(L"7", L"12", 5, L"scan.JPG"), Source()));
  EXPECT_EQ(store_.Tree(), (std::set<std::wstring>{L"root\\", L"root\\00007\\", L"root\\00007\\00012\\",
                                                   L"root\\00007\\00012\\00000000000000000005.JPG"}));
  // Both folders there now: the next move only adds its file.
  source_.Write(L"scan.JPG", "second");
  auto expected = store_.Tree();
  EXPECT_TRUE(capture::MoveDocumentFile(Entry(L"7", L"12", 6, L"scan.JPG"), Source()));
  expected.insert(L"root\\00007\\00012\\00000000000000000006.JPG");
  EXPECT_EQ(store_.Tree(), expected);
  EXPECT_EQ(store_.Read(L"root\\00007\\00012\\00000000000000000006.JPG"), "second");
}

TEST_F(MoveDocumentFileTest, EveryRefusalMovesAndCreatesNothing) {
  // The stored file of id 9 exists already.
  CreateDirectoryW((store_.path() + L"\\root\\00001").c_str(), nullptr);
  CreateDirectoryW((store_.path() + L"\\root\\00001\\00001").c_str(), nullptr);
  store_.Write(L"root\\00001\\00001\\00000000000000000009.JPG", "already stored");
  const std::wstring root = store_.path() + L"\\root";
  struct Case {
    const wchar_t* why;
    std::wstring root;
    DocumentRecord record;
    std::wstring source;
  } cases[] = {
      {L"empty root", L"", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"relative root", L"root", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"drive-relative root", L"Z:root", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"missing root", root + L"\\nothere", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"root is a file", root + L"\\00001\\00001\\00000000000000000009.JPG", Entry(L"1", L"1", 10, L"scan.JPG"),
       Source()},
      {L"separator in category", root, Entry(L"a\\b", L"1", 10, L"scan.JPG"), Source()},
      {L"slash in sub-category", root, Entry(L"1", L"../x", 10, L"scan.JPG"), Source()},
      {L"colon in category", root, Entry(L"C:x", L"1", 10, L"scan.JPG"), Source()},
      {L"wildcards", root, Entry(L"*", L"?", 10, L"scan.JPG"), Source()},
      {L"quote, angles and bar", root, Entry(L"\"<", L">|", 10, L"scan.JPG"), Source()},
      {L"bad extension", root, Entry(L"1", L"2", 10, L"scan.a:b"), Source()},
      {L"missing source", root, Entry(L"2", L"2", 10, L"scan.JPG"), source_.path() + L"\\gone.JPG"},
      {L"source is a folder", root, Entry(L"2", L"2", 10, L"scan.JPG"), source_.path()},
      {L"stored file exists", root, Entry(L"1", L"1", 9, L"scan.JPG"), Source()},
  };
  const auto store = store_.Tree();
  const auto source = source_.Tree();
  for (const Case& c : cases) {
    Shared().gPathDestino = c.root;
    EXPECT_FALSE(capture::MoveDocumentFile(c.record, c.source)) << c.why;
    EXPECT_EQ(store_.Tree(), store) << c.why;
    EXPECT_EQ(source_.Tree(), source) << c.why;
  }
  EXPECT_EQ(store_.Read(L"root\\00001\\00001\\00000000000000000009.JPG"), "already stored");
  EXPECT_EQ(source_.Read(L"scan.JPG"), "scan bytes");
}

TEST(CopyToTemp, CopiesUnderTheTemporaryNameAndGivesNothingOnFailure) {
  ScratchFolder temp(L"vktemp");
  ScratchFolder from(L"vkfrom");
  from.Write(L"page.tif", "page");
  wchar_t saved[MAX_PATH] = {};
  GetEnvironmentVariableW(L"TEMP", saved, MAX_PATH);
  SetEnvironmentVariableW(L"TEMP", temp.path().c_str());
  HostSeams seams = HostSeams::Real();
  seams.logonName = [] { return std::wstring(L"jdoe"); };
  ScopedHostSeams scope(seams);
  FixedClock clock(MakeDate(2026, 12, 6, 9, 5));
  ClockScope clockScope(clock);

  EXPECT_EQ(capture::CopyToTemp(from.path() + L"\\page.tif"), temp.path() + L"\\IMjdoe695.TMP");
  EXPECT_EQ(temp.Read(L"IMjdoe695.TMP"), "page");
  EXPECT_EQ(from.Read(L"page.tif"), "page");
  EXPECT_EQ(capture::CopyToTemp(from.path() + L"\\none.tif"), L"");
  SetEnvironmentVariableW(L"TEMP", saved);
}

class DocumentRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSeams seams = HostSeams::Real();
    seams.logonName = [] { return std::wstring(L"user1"); };
    seams_ = std::make_unique<ScopedHostSeams>(seams);
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
  }
  // The machine's own short date and time for the fixed clock.
  static std::wstring RegionalNow() {
    SYSTEMTIME st{2026, 12, 0, 6, 9, 5, 7, 0};
    wchar_t date[80], time[80];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 80);
    return std::wstring(date) + L" " + time;
  }

  std::unique_ptr<ScopedHostSeams> seams_;
  FixedClock clock_{MakeDate(2026, 12, 6, 9, 5, 7)};
  ClockScope clockScope_{clock_};
};

TEST_F(DocumentRecordTest, ObservationBytes) {
  EXPECT_EQ(capture::ObservacionText(), L"user1 - Fecha : [ " + RegionalNow() +
                                            L"]\r\n----------------------------------\r\n"
                                            L"Documento Ingresado al Sistema\r\n\r\n");
  EXPECT_EQ(std::wstring(L"----------------------------------").size(), 34u);
}

TEST_F(DocumentRecordTest, TwentyFourValuesCopiedFromTheRecord) {
  DocumentRecord record = Entry(L"3", L"1", 57, L"a.pdf");
  record.GerenciaId = L"OP";
  record.TipoDocumentoId = 2;
  record.Path = L"C:\\S\\a.pdf";
  for (int n = 1; n <= 10; ++n) record.Campo(n) = L"c" + std::to_wstring(n);
  record.Fecha = MakeDate(2026, 3, 5);
  record.CBarra = L"779";
  record.ReferenciaId = L"REF";
  record.Observacion = L"obs";
  record.AppendObservacion = true;
  const Variant values = capture::DocumentParameters(record);
  record.CategoriaId = L"changed";
  record.Campo05 = L"changed";

  ASSERT_EQ(values.lbound(), 0);
  ASSERT_EQ(values.ubound(), 23);
  EXPECT_EQ(values.at(0).vt(), VT_I4);
  EXPECT_EQ(values.at(0).toLong(), 57);
  EXPECT_EQ(values.at(1).toText(), L"3");
  EXPECT_EQ(values.at(3).toText(), L"OP");
  EXPECT_EQ(values.at(4).toLong(), 2);
  EXPECT_EQ(values.at(6).toText(), L"C:\\S\\a.pdf");
  for (int n = 1; n <= 10; ++n) EXPECT_EQ(values.at(6 + n).toText(), L"c" + std::to_wstring(n));
  EXPECT_TRUE(values.at(17).isDate());
  EXPECT_EQ(values.at(17).toDate(), MakeDate(2026, 3, 5));
  EXPECT_EQ(values.at(18).toText(), L"779");
  EXPECT_EQ(values.at(19).toText(), L"REF");
  EXPECT_EQ(values.at(20).toText(), L"obs");
  EXPECT_EQ(values.at(21).vt(), VT_BOOL);
  EXPECT_TRUE(values.at(21).toBool());
  EXPECT_EQ(values.at(22).toText(), L"user1");
  EXPECT_EQ(values.at(23).toText(), L"2026-12-06");
  EXPECT_THROW(record.Campo(11), VbError);
}

TEST_F(DocumentRecordTest, SavesAreReadBackWhole) {
  test::ComApartment com;
  test::TestDatabases databases(kAppKey);
  auto data = DataAccess::Create();
  ASSERT_TRUE(data);
  DocumentRecord record = Entry(L"2", L"1", 90, L"o'brien.tif");
  record.TipoDocumentoId = 3;
  record.Path = L"C:\\S\\00002\\00001\\00000000000000000090.tif";
  record.Campo01 = L"1024";
  record.Campo02 = L"O'Neil, Ana";
  record.Fecha = MakeDate(2025, 12, 1);
  record.CBarra = L"779";
  ASSERT_TRUE(capture::ExecuteDocumentProcedure(*data, capture::kDocumentosAdd, record)) << data->ErrDescription();
  EXPECT_TRUE(record.AppendObservacion);
  EXPECT_EQ(record.Observacion, capture::ObservacionText());

  auto rs = data->GetData(kAppKey, L"Select * From Documentos Where DocumentoId = 90");
  ASSERT_TRUE(rs);
  rs->MoveFirst();
  const DocumentRecord back = capture::ReadDocumentRow(*rs);
  EXPECT_EQ(back.DocumentoId, 90);
  EXPECT_EQ(back.Documento, L"o'brien.tif");
  EXPECT_EQ(back.Campo02, L"O'Neil, Ana");
  EXPECT_EQ(back.Campo03, L"");  // Null reads as empty
  EXPECT_EQ(back.GerenciaId, L"");
  EXPECT_EQ(back.Fecha, MakeDate(2025, 12, 1));
  EXPECT_EQ(back.ReferenciaId, L"");
  EXPECT_EQ(rs->FieldText(L"Comentarios"), record.Observacion);

  record.DocumentoId = 91;  // no such row: the update refuses
  EXPECT_FALSE(capture::ExecuteDocumentProcedure(*data, capture::kDocumentosUpdate, record));
}

}  // namespace
