// The document record and the document store: stored paths, the move into a generated
// store (every refusal leaves the store and the source as they were), the observation
// text and the 24 procedure values under a fixed clock in the machine's own date
// format, and a save read back from a copy of the sample database.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "base/clock.h"
#include "base/system_error_text.h"
#include "capture/document_record.h"
#include "capture/document_store.h"
#include "hosted/file_system.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"
#include "support/error_of.h"

namespace {

using namespace vk;
using capture::DocumentRecord;
namespace fs = std::filesystem;

const wchar_t kAppKey[] = L"VkCaptureRecord";

// A fresh folder under TEMP, removed with everything in it at the end.
struct ScratchFolder {
  explicit ScratchFolder(const wchar_t* name)
      : path(fs::temp_directory_path().wstring() + name + std::to_wstring(GetCurrentProcessId())) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchFolder() { fs::remove_all(path); }
  void Write(const std::wstring& relative, const char* content) const {
    std::ofstream(fs::path(path) / relative, std::ios::binary) << content;
  }
  std::string Read(const std::wstring& relative) const {
    std::stringstream text;
    text << std::ifstream(fs::path(path) / relative, std::ios::binary).rdbuf();
    return text.str();
  }
  // Every file and folder below, relative, folders ending in "\".
  std::set<std::wstring> Tree() const {
    std::set<std::wstring> entries;
    for (const auto& entry : fs::recursive_directory_iterator(path)) {
      entries.insert(fs::relative(entry.path(), path).wstring() + (entry.is_directory() ? L"\\" : L""));
    }
    return entries;
  }
  std::wstring path;
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

// Moves the scan whose own name is `source` (only the file `keyed`, when given).
capture::StoreMove MoveFrom(const DocumentRecord& record, const std::wstring& source,
                            const std::optional<hosted::FileIdentity>& keyed = std::nullopt,
                            std::wstring* reason = nullptr) {
  hosted::TrackedFile scan{source, source, keyed};
  return capture::MoveDocumentFile(record, scan, reason);
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
  Shared().gPathDestino = L"E:\\Store";
  EXPECT_EQ(capture::DocumentStorePath(Entry(L"3", L"1", 57, L"a.pdf")),
            L"E:\\Store\\00003\\00001\\00000000000000000057.pdf");
}

class MoveDocumentFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_);
    source_.Write(L"scan.JPG", "scan bytes");
    Shared() = SharedState{};
    Shared().gPathDestino = root_;
  }
  std::wstring Source() const { return source_.path + L"\\scan.JPG"; }
  // The store on another volume: a move into or out of the source folder copies (a
  // rename within it, or within the store, stays a rename).
  hosted::FileTransfer AnotherVolume() const {
    const hosted::FileTransfer real = hosted::FileTransferSeam::Real();
    const std::wstring folder = source_.path + L"\\";
    hosted::FileTransfer transfer = real;
    transfer.rename = [real, folder](const std::wstring& from, const std::wstring& to) -> DWORD {
      const bool across = (from.rfind(folder, 0) == 0) != (to.rfind(folder, 0) == 0);
      return across ? ERROR_NOT_SAME_DEVICE : real.rename(from, to);
    };
    return transfer;
  }

  ScratchFolder store_{L"vkstore"};
  ScratchFolder source_{L"vksource"};
  std::wstring root_ = store_.path + L"\\root";
};

TEST_F(MoveDocumentFileTest, CreatesOnlyTheFoldersThatAreMissing) {
  EXPECT_EQ(MoveFrom(Entry(L"7", L"12", 1234, L"scan.JPG"), Source()), capture::StoreMove::Moved);
  EXPECT_EQ(store_.Tree(), (std::set<std::wstring>{L"root\\", L"root\\00007\\", L"root\\00007\\00012\\",
                                                   L"root\\00007\\00012\\00000000000000001234.JPG"}));
  EXPECT_EQ(store_.Read(L"root\\00007\\00012\\00000000000000001234.JPG"), "scan bytes");
  EXPECT_TRUE(source_.Tree().empty());

  fs::create_directories(root_ + L"\\00008");  // only the category folder there, then both
  for (long id : {5, 6}) {
    source_.Write(L"scan.JPG", "next");
    auto expected = store_.Tree();
    EXPECT_EQ(MoveFrom(Entry(L"8", L"3", id, L"scan.JPG"), Source()), capture::StoreMove::Moved);
    expected.insert(L"root\\00008\\00003\\");
    expected.insert(L"root\\00008\\00003\\0000000000000000000" + std::to_wstring(id) + L".JPG");
    EXPECT_EQ(store_.Tree(), expected);
  }
}

TEST_F(MoveDocumentFileTest, EveryRefusalMovesAndCreatesNothing) {
  fs::create_directories(root_ + L"\\00001\\00001");
  store_.Write(L"root\\00001\\00001\\00000000000000000009.JPG", "already stored");
  struct Case {
    const wchar_t* why;
    std::wstring root;
    DocumentRecord record;
    std::wstring source;
  } cases[] = {
      {L"empty root", L"", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"relative root", L"root", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"drive-relative root", L"Z:root", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"missing root", root_ + L"\\nothere", Entry(L"1", L"1", 10, L"scan.JPG"), Source()},
      {L"root is a file", root_ + L"\\00001\\00001\\00000000000000000009.JPG", Entry(L"1", L"1", 10, L"s.JPG"),
       Source()},
      {L"separator in category", root_, Entry(L"a\\b", L"1", 10, L"scan.JPG"), Source()},
      {L"slash in sub-category", root_, Entry(L"1", L"../x", 10, L"scan.JPG"), Source()},
      {L"colon in category", root_, Entry(L"C:x", L"1", 10, L"scan.JPG"), Source()},
      {L"wildcards", root_, Entry(L"*", L"?", 10, L"scan.JPG"), Source()},
      {L"quote, angles and bar", root_, Entry(L"\"<", L">|", 10, L"scan.JPG"), Source()},
      {L"bad extension", root_, Entry(L"1", L"2", 10, L"scan.a:b"), Source()},
      {L"missing source", root_, Entry(L"2", L"2", 10, L"scan.JPG"), source_.path + L"\\gone.JPG"},
      {L"source is a folder", root_, Entry(L"2", L"2", 10, L"scan.JPG"), source_.path},
      {L"stored file exists", root_, Entry(L"1", L"1", 9, L"scan.JPG"), Source()},
  };
  const auto store = store_.Tree();
  const auto source = source_.Tree();
  for (const Case& c : cases) {
    Shared().gPathDestino = c.root;
    const capture::StoreMove expected =
        std::wstring_view(c.why) == L"stored file exists" ? capture::StoreMove::PathTaken : capture::StoreMove::Refused;
    EXPECT_EQ(MoveFrom(c.record, c.source), expected) << c.why;
    EXPECT_EQ(store_.Tree(), store) << c.why;
    EXPECT_EQ(source_.Tree(), source) << c.why;
  }
  EXPECT_EQ(store_.Read(L"root\\00001\\00001\\00000000000000000009.JPG"), "already stored");
  EXPECT_EQ(source_.Read(L"scan.JPG"), "scan bytes");
}

// Another volume: the rename out of the source folder is refused as between two
// disks, so the move copies. A copy that fails part-way, a source that cannot go, or
// one whose delete answers success while the file stays (a read-only folder under
// Wine), leaves the store as it was (no fragment, no temporary file, no folder of its
// own), the source whole, and the reason; a copy that completes lands whole.
TEST_F(MoveDocumentFileTest, AMoveToAnotherVolumeIsWholeOrLeavesNothing) {
  const hosted::FileTransfer real = hosted::FileTransferSeam::Real();
  const auto rename = AnotherVolume().rename;
  auto fillsHalfWay = [](const std::wstring&, const std::wstring& to) -> DWORD {
    std::ofstream(fs::path(to), std::ios::binary) << "scan ";
    return ERROR_DISK_FULL;
  };
  // A read-only source folder under Wine: its deletes answer success and do nothing.
  auto answersButStays = [](HANDLE) -> DWORD { return 0; };
  constexpr DWORD kSharesAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  struct Case {
    const wchar_t* why;
    std::function<DWORD(const std::wstring&, const std::wstring&)> copy;
    std::function<DWORD(HANDLE)> removeOpen;
    DWORD heldAccess, heldSharing;  // another program's hold on the scan, none when 0
    std::wstring reason;  // a part of it; empty when the move succeeds
  } cases[] = {
      {L"disk full part-way", fillsHalfWay, real.removeOpen, 0, 0, SystemErrorText(ERROR_DISK_FULL)},
      {L"source held open", real.copy, real.removeOpen, GENERIC_READ, FILE_SHARE_READ, L"abierto en otro programa"},
      {L"source held by a reader that shares everything", real.copy, real.removeOpen, GENERIC_READ, kSharesAll,
       L"abierto en otro programa"},
      {L"source held by a writer that shares everything", real.copy, real.removeOpen, GENERIC_READ | GENERIC_WRITE,
       kSharesAll, L"abierto en otro programa"},
      {L"source stays after its delete", real.copy, answersButStays, 0, 0, L"carpeta de origen"},
      {L"whole copy", real.copy, real.removeOpen, 0, 0, L""},
  };
  for (const Case& c : cases) {
    hosted::ScopedFileTransfer transfer({rename, c.copy, real.remove, c.removeOpen});
    const auto store = store_.Tree();
    HANDLE held = c.heldAccess ? CreateFileW(Source().c_str(), c.heldAccess, c.heldSharing, nullptr,
                                             OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
    std::wstring reason = L"unset";
    const bool moved =
        MoveFrom(Entry(L"4", L"2", 70, L"scan.JPG"), Source(), std::nullopt, &reason) ==
        capture::StoreMove::Moved;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    if (!c.reason.empty()) {
      EXPECT_FALSE(moved) << c.why;
      EXPECT_NE(reason.find(c.reason), std::wstring::npos) << c.why << ": " << reason;
      EXPECT_EQ(store_.Tree(), store) << c.why;
      EXPECT_EQ(source_.Tree(), std::set<std::wstring>{L"scan.JPG"}) << c.why;
      EXPECT_EQ(source_.Read(L"scan.JPG"), "scan bytes") << c.why;
    } else {
      EXPECT_TRUE(moved) << c.why;
      EXPECT_EQ(reason, L"");
      EXPECT_EQ(store_.Read(L"root\\00004\\00002\\00000000000000000070.JPG"), "scan bytes");
      EXPECT_EQ(store_.Tree().size(), store.size() + 3);  // two folders and the file
      EXPECT_TRUE(source_.Tree().empty());
    }
  }
  // A scanner saves its next page under the scan's name while the scan is being copied:
  // the scan was taken for the move first, under a name of ours that a folder scan still
  // finds, so the new page is another file and stays.
  source_.Write(L"scan.JPG", "scan bytes");
  std::set<std::wstring> whileCopying;
  auto newPageMeanwhile = [&](const std::wstring& from, const std::wstring& to) -> DWORD {
    for (const hosted::FolderFile& file : hosted::FolderFiles(source_.path)) whileCopying.insert(file.name);
    const DWORD error = real.copy(from, to);
    source_.Write(L"scan.JPG", "new page");
    return error;
  };
  {
    hosted::ScopedFileTransfer transfer({rename, newPageMeanwhile, real.remove, real.removeOpen});
    EXPECT_EQ(MoveFrom(Entry(L"4", L"2", 71, L"scan.JPG"), Source()), capture::StoreMove::Moved);
  }
  EXPECT_EQ(store_.Read(L"root\\00004\\00002\\00000000000000000071.JPG"), "scan bytes");
  EXPECT_EQ(source_.Tree(), std::set<std::wstring>{L"scan.JPG"});
  EXPECT_EQ(source_.Read(L"scan.JPG"), "new page");
  ASSERT_EQ(whileCopying.size(), 1u);
  EXPECT_TRUE(whileCopying.begin()->ends_with(L".JPG") && *whileCopying.begin() != L"scan.JPG")
      << testing::PrintToString(*whileCopying.begin());

  // A move that fails while a new page has the name: the scan is not put over it, and
  // the reason says where the scan is.
  auto failsAfterNewPage = [&](const std::wstring&, const std::wstring&) -> DWORD {
    source_.Write(L"scan.JPG", "newer page");
    return ERROR_DISK_FULL;
  };
  {
    hosted::ScopedFileTransfer transfer({rename, failsAfterNewPage, real.remove, real.removeOpen});
    std::wstring reason;
    EXPECT_EQ(MoveFrom(Entry(L"4", L"2", 72, L"scan.JPG"), Source(), std::nullopt, &reason),
              capture::StoreMove::Refused);
    EXPECT_EQ(source_.Read(L"scan.JPG"), "newer page");
    std::wstring kept;
    for (const std::wstring& name : source_.Tree())
      if (name != L"scan.JPG") kept = name;
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(source_.Read(kept), "new page");
    EXPECT_NE(reason.find(source_.path + L"\\" + kept), std::wstring::npos) << reason;
  }

  // A read-only scan: its copy is read-only too, and goes all the same when the scan
  // cannot be deleted from its folder.
  for (const std::wstring& name : source_.Tree()) DeleteFileW((source_.path + L"\\" + name).c_str());
  source_.Write(L"scan.JPG", "scan bytes");
  SetFileAttributesW(Source().c_str(), FILE_ATTRIBUTE_READONLY);
  const auto store = store_.Tree();
  {
    hosted::ScopedFileTransfer transfer({rename, real.copy, real.remove, real.removeOpen});
    std::wstring reason;
    EXPECT_EQ(MoveFrom(Entry(L"4", L"2", 73, L"scan.JPG"), Source(), std::nullopt, &reason),
              capture::StoreMove::Refused);
    EXPECT_NE(reason.find(L"sólo lectura"), std::wstring::npos) << reason;
    EXPECT_NE(reason.find(L"(el archivo sigue en su carpeta)"), std::wstring::npos) << reason;
  }
  EXPECT_EQ(store_.Tree(), store);
  EXPECT_EQ(source_.Tree(), std::set<std::wstring>{L"scan.JPG"});
  SetFileAttributesW(Source().c_str(), FILE_ATTRIBUTE_NORMAL);

  // A read-only file a save puts back from the store to its folder on another volume
  // stays in the store, and the refusal says only that.
  const std::wstring stored = root_ + L"\\00004\\00002\\00000000000000000074.JPG";
  fs::create_directories(fs::path(stored).parent_path());
  ASSERT_TRUE(MoveFileW(Source().c_str(), stored.c_str()));
  SetFileAttributesW(stored.c_str(), FILE_ATTRIBUTE_READONLY);
  hosted::TrackedFile kept{Source(), stored, hosted::IdentityOf(stored)};
  const auto keptStore = store_.Tree();
  {
    hosted::ScopedFileTransfer transfer({rename, real.copy, real.remove, real.removeOpen});
    const VbError refused = test::RaisedBy([&] { hosted::MoveFileNoReplace(kept, kept.home); });
    EXPECT_EQ(refused.number, err::PermissionDenied);
    const std::wstring& text = refused.description;
    EXPECT_NE(text.find(L"el archivo " + Source() + L" es de sólo lectura"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"llevarlo a la carpeta " + source_.path + L", que está en otro volumen; el archivo " +
                        Source() + L" quedó como " + stored),
              std::wstring::npos)
        << text;
    EXPECT_EQ(text.find(L"sigue en su carpeta"), std::wstring::npos) << text;
    EXPECT_EQ(text.find(L"almacén"), std::wstring::npos) << text;
  }
  EXPECT_EQ(kept.at, stored);
  EXPECT_EQ(store_.Tree(), keptStore);
  EXPECT_EQ(store_.Read(L"root\\00004\\00002\\00000000000000000074.JPG"), "scan bytes");
  EXPECT_TRUE(source_.Tree().empty());
  SetFileAttributesW(stored.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Another clerk's file takes the stored path while the scan is copied, and a viewer
// opens the scan then, sharing it for reading only, so that it cannot be given its name
// back: the move is refused (no other id is tried with a scan that is not under its
// name), and its reason says where the scan is.
TEST_F(MoveDocumentFileTest, AScanThatCannotBeGivenItsNameBackIsToldWhereItIs) {
  const std::wstring stored = root_ + L"\\00004\\00002\\00000000000000000075.JPG";
  HANDLE viewer = INVALID_HANDLE_VALUE;
  std::wstring takenAs;
  hosted::FileTransfer transfer = AnotherVolume();
  transfer.copy = [&](const std::wstring& from, const std::wstring& to) {
    takenAs = from;
    viewer = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::ofstream(fs::path(stored), std::ios::binary) << "another clerk's";
    return hosted::FileTransferSeam::Real().copy(from, to);
  };
  std::wstring reason;
  capture::StoreMove moved;
  {
    hosted::ScopedFileTransfer scope(transfer);
    moved = MoveFrom(Entry(L"4", L"2", 75, L"scan.JPG"), Source(), std::nullopt, &reason);
  }
  ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
  CloseHandle(viewer);
  EXPECT_EQ(moved, capture::StoreMove::Refused);
  EXPECT_NE(reason.find(L"quedó como " + takenAs), std::wstring::npos) << reason;
  EXPECT_EQ(store_.Read(L"root\\00004\\00002\\00000000000000000075.JPG"), "another clerk's");
  EXPECT_EQ(source_.Tree(), std::set<std::wstring>{fs::path(takenAs).filename().wstring()});
  EXPECT_EQ(source_.Read(fs::path(takenAs).filename().wstring()), "scan bytes");
}

// A scan an earlier move left under a name of ours is moved from there and named by its
// own name. A move that fails gives it its own name back, or, while a new page has that
// name, leaves it where it was found and says so; a move that is done leaves it under
// neither name.
TEST_F(MoveDocumentFileTest, AScanLeftUnderANameOfOursGoesBackUnderItsOwnName) {
  const std::wstring leftAs = source_.path + L"\\scan~vk1-1.JPG";
  ASSERT_TRUE(MoveFileW(Source().c_str(), leftAs.c_str()));
  hosted::TrackedFile scan{Source(), leftAs, hosted::IdentityOf(leftAs)};
  const hosted::FileTransfer real = hosted::FileTransferSeam::Real();
  auto diskFull = [](const std::wstring&, const std::wstring&) -> DWORD { return ERROR_DISK_FULL; };
  {
    hosted::ScopedFileTransfer failing({AnotherVolume().rename, diskFull, real.remove, real.removeOpen});
    source_.Write(L"scan.JPG", "new page");
    std::wstring reason;
    EXPECT_EQ(capture::MoveDocumentFile(Entry(L"4", L"2", 120, L"scan.JPG"), scan, &reason),
              capture::StoreMove::Refused);
    EXPECT_EQ(scan.at, leftAs);
    EXPECT_NE(reason.find(L"el archivo " + Source() + L" quedó como " + leftAs), std::wstring::npos) << reason;
    EXPECT_EQ(source_.Read(L"scan~vk1-1.JPG"), "scan bytes");
    EXPECT_EQ(source_.Read(L"scan.JPG"), "new page");

    DeleteFileW(Source().c_str());
    EXPECT_EQ(capture::MoveDocumentFile(Entry(L"4", L"2", 120, L"scan.JPG"), scan, &reason),
              capture::StoreMove::Refused);
    EXPECT_EQ(scan.at, Source());
    EXPECT_EQ(reason.find(L"quedó como"), std::wstring::npos) << reason;
    EXPECT_EQ(source_.Tree(), std::set<std::wstring>{L"scan.JPG"});
  }
  EXPECT_EQ(capture::MoveDocumentFile(Entry(L"4", L"2", 120, L"scan.JPG"), scan), capture::StoreMove::Moved);
  const std::wstring stored = root_ + L"\\00004\\00002\\00000000000000000120.JPG";
  EXPECT_EQ(scan.at, stored);
  EXPECT_EQ(scan.identity, hosted::IdentityOf(stored));
  EXPECT_EQ(store_.Read(L"root\\00004\\00002\\00000000000000000120.JPG"), "scan bytes");
  EXPECT_TRUE(source_.Tree().empty());
}

// Writes a scanning program's next page into the file it holds open, in place.
void WriteInPlace(HANDLE file, const std::string& bytes) {
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  SetEndOfFile(file);
}

HANDLE OpenToWrite(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

// A scanning program that had the scan open before the save (sharing it in every way)
// rewrites it in place while it is copied into a store on another volume, at any moment
// of the copy, or once the copy is checked and filed, closing it then (the last look
// before the delete, through the delete's own handle, still sees it): nothing of it is
// filed, the page now in the file stays under the scan's own name, and the move says the
// scan changed.
TEST_F(MoveDocumentFileTest, AScanRewrittenInPlaceDuringItsCopyIsRefusedWithItsNewPageKept) {
  const hosted::FileTransfer real = hosted::FileTransferSeam::Real();
  const std::string nextPage = "scan bytes and the next page";
  HANDLE scanner = INVALID_HANDLE_VALUE;
  struct Case {
    const wchar_t* why;
    std::function<DWORD(const std::wstring& from, const std::wstring& to)> copy;
    bool lastOnceFiled = false;  // the page written and the scan closed once its copy is in the store
  } cases[] = {
      {L"the next page before the copy reads it",
       [&](const std::wstring& from, const std::wstring& to) {
         WriteInPlace(scanner, nextPage);
         return real.copy(from, to);
       }},
      {L"the next page while it is copied: the copy is torn",
       [&](const std::wstring& from, const std::wstring& to) {
         const DWORD error = real.copy(from, to);
         WriteInPlace(scanner, nextPage);
         return error;
       }},
      {L"other bytes of the same size", [&](const std::wstring& from, const std::wstring& to) {
         const DWORD error = real.copy(from, to);
         WriteInPlace(scanner, "SCAN BYTES");
         return error;
       }},
      {L"the next page once the copy is filed, the scan closed", real.copy, true},
  };
  long id = 80;
  for (const Case& c : cases) {
    source_.Write(L"scan.JPG", "scan bytes");
    // Written a moment ago: a rewrite of the same size must still show in the time.
    Sleep(20);
    const std::optional<hosted::FileIdentity> keyed = hosted::IdentityOf(Source());
    scanner = OpenToWrite(Source());
    ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
    hosted::FileTransfer transfer = AnotherVolume();
    transfer.copy = c.copy;
    if (c.lastOnceFiled)
      transfer.rename = [&, rename = transfer.rename](const std::wstring& from, const std::wstring& to) {
        const DWORD error = rename(from, to);
        if (!error && to.rfind(root_, 0) == 0) {
          WriteInPlace(scanner, nextPage);
          CloseHandle(std::exchange(scanner, INVALID_HANDLE_VALUE));
        }
        return error;
      };
    const auto store = store_.Tree();
    std::wstring reason;
    capture::StoreMove moved;
    {
      hosted::ScopedFileTransfer scope(transfer);
      moved = MoveFrom(Entry(L"4", L"2", ++id, L"scan.JPG"), Source(), keyed, &reason);
    }
    CloseHandle(scanner);
    EXPECT_EQ(moved, capture::StoreMove::AnotherFile) << c.why;
    EXPECT_NE(reason.find(L"cambió después de cargarlo"), std::wstring::npos) << c.why << ": " << reason;
    EXPECT_EQ(store_.Tree(), store) << c.why;
    EXPECT_EQ(source_.Tree(), std::set<std::wstring>{L"scan.JPG"}) << c.why;
    EXPECT_NE(source_.Read(L"scan.JPG"), "scan bytes") << c.why;
  }

  // Nobody had it open for writing when it was taken: no program can open it for
  // writing until it is filed, while a reader still can.
  source_.Write(L"scan.JPG", "scan bytes");
  DWORD writerError = 0;
  bool readerOpened = false;
  hosted::FileTransfer transfer = AnotherVolume();
  transfer.copy = [&](const std::wstring& from, const std::wstring& to) {
    const HANDLE writer = OpenToWrite(from);
    writerError = writer == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    const HANDLE reader = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    readerOpened = reader != INVALID_HANDLE_VALUE;
    if (readerOpened) CloseHandle(reader);
    return real.copy(from, to);
  };
  {
    hosted::ScopedFileTransfer scope(transfer);
    EXPECT_EQ(MoveFrom(Entry(L"4", L"2", 90, L"scan.JPG"), Source(), hosted::IdentityOf(Source())),
              capture::StoreMove::Moved);
  }
  EXPECT_EQ(writerError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_TRUE(readerOpened);
  EXPECT_EQ(store_.Read(L"root\\00004\\00002\\00000000000000000090.JPG"), "scan bytes");
  EXPECT_TRUE(source_.Tree().empty());
}

// The name a move takes its scan under never stops the move: it fits wherever the scan's
// own name fits, and a file left under it (by a host killed part-way) is stepped over.
TEST_F(MoveDocumentFileTest, TheNameAScanIsTakenUnderNeverStopsItsMove) {
  // 123 accented letters and ".pdf": 250 bytes on a Linux disk, whose names hold 255.
  const std::wstring longName = std::wstring(123, L'\u00e1') + L".pdf";
  long id = 100;
  for (const bool otherVolume : {false, true}) {
    source_.Write(longName, "long page");
    std::optional<hosted::ScopedFileTransfer> scope;
    if (otherVolume) scope.emplace(AnotherVolume());
    std::wstring reason;
    EXPECT_EQ(MoveFrom(Entry(L"5", L"1", ++id, longName), source_.path + L"\\" + longName,
                                        std::nullopt, &reason),
              capture::StoreMove::Moved)
        << otherVolume << ": " << reason;
    EXPECT_EQ(store_.Read(L"root\\00005\\00001\\00000000000000000" + std::to_wstring(id) + L".pdf"), "long page");
    EXPECT_EQ(source_.Tree(), std::set<std::wstring>{L"scan.JPG"}) << otherVolume;
  }

  // The name the last move took tells the next: files already under the next names stay.
  std::wstring takenAs;
  hosted::FileTransfer transfer = AnotherVolume();
  transfer.copy = [&](const std::wstring& from, const std::wstring& to) {
    takenAs = from;
    return hosted::FileTransferSeam::Real().copy(from, to);
  };
  hosted::ScopedFileTransfer scope(transfer);
  ASSERT_EQ(MoveFrom(Entry(L"5", L"1", 110, L"scan.JPG"), Source()), capture::StoreMove::Moved);
  const size_t dash = takenAs.rfind(L'-'), dot = takenAs.rfind(L'.');
  ASSERT_TRUE(dash != std::wstring::npos && dot > dash) << takenAs;
  const unsigned long count = std::wcstoul(takenAs.substr(dash + 1, dot - dash - 1).c_str(), nullptr, 16);
  std::set<std::wstring> leftovers;
  for (unsigned long next = count + 1; next <= count + 3; ++next) {
    wchar_t name[64];
    swprintf(name, 64, L"-%lx.JPG", next);
    const std::wstring leftover = takenAs.substr(source_.path.size() + 1, dash - source_.path.size() - 1) + name;
    source_.Write(leftover, "left over");
    leftovers.insert(leftover);
  }
  source_.Write(L"scan.JPG", "scan bytes");
  std::wstring reason;
  EXPECT_EQ(MoveFrom(Entry(L"5", L"1", 111, L"scan.JPG"), Source(), std::nullopt, &reason),
            capture::StoreMove::Moved)
      << reason;
  EXPECT_EQ(store_.Read(L"root\\00005\\00001\\00000000000000000111.JPG"), "scan bytes");
  EXPECT_EQ(source_.Tree(), leftovers);
  for (const std::wstring& leftover : leftovers) EXPECT_EQ(source_.Read(leftover), "left over");
}

TEST(CopyToTemp, CopiesUnderTheTemporaryNameAndGivesNothingOnFailure) {
  ScratchFolder temp(L"vktemp");
  temp.Write(L"page.tif", "page");
  wchar_t saved[MAX_PATH] = {};
  GetEnvironmentVariableW(L"TEMP", saved, MAX_PATH);
  SetEnvironmentVariableW(L"TEMP", temp.path.c_str());
  HostSeams seams = Seam<HostSeams>::Real();
  seams.logonName = [] { return std::wstring(L"jdoe"); };
  ScopedHostSeams scope(seams);
  FixedClock clock(MakeDate(2026, 12, 6, 9, 5));
  ClockScope clockScope(clock);
  EXPECT_EQ(capture::CopyToTemp(temp.path + L"\\page.tif"), temp.path + L"\\IMjdoe695.TMP");
  EXPECT_EQ(temp.Read(L"IMjdoe695.TMP"), "page");
  EXPECT_EQ(capture::CopyToTemp(temp.path + L"\\none.tif"), L"");
  SetEnvironmentVariableW(L"TEMP", saved);
}

class DocumentRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HostSeams seams = Seam<HostSeams>::Real();
    seams.logonName = [] { return std::wstring(L"user1"); };
    seams_ = std::make_unique<ScopedHostSeams>(seams);
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
  }
  std::unique_ptr<ScopedHostSeams> seams_;
  FixedClock clock_{MakeDate(2026, 12, 6, 9, 5, 7)};
  ClockScope clockScope_{clock_};
};

TEST_F(DocumentRecordTest, ObservationAndTheTwentyFourValues) {
  SYSTEMTIME st{2026, 12, 0, 6, 9, 5, 7, 0};  // the machine's own short date and time
  wchar_t date[80], time[80];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 80);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 80);
  EXPECT_EQ(capture::ObservacionText(), L"user1 - Fecha : [ " + std::wstring(date) + L" " + time +
                                            L"]\r\n----------------------------------\r\n"
                                            L"Documento Ingresado al Sistema\r\n\r\n");

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
  record.CategoriaId = record.Campo05 = L"changed";  // the values were copied

  ASSERT_EQ(values.lbound(), 0);
  ASSERT_EQ(values.ubound(), 23);
  const std::wstring texts[] = {L"57", L"3", L"1", L"OP", L"2", L"a.pdf", L"C:\\S\\a.pdf", L"c1", L"c2", L"c3",
                                L"c4", L"c5", L"c6", L"c7", L"c8", L"c9", L"c10", L"", L"779", L"REF", L"obs",
                                L"", L"user1", L"2026-12-06"};
  for (long i = 0; i < 24; ++i) {
    if (i == 17 || i == 21) continue;  // the date and the flag, below
    EXPECT_EQ(values.at(i).toText(), texts[i]) << i;
  }
  EXPECT_EQ(values.at(0).vt(), VT_I4);
  EXPECT_EQ(values.at(4).vt(), VT_I4);
  EXPECT_EQ(values.at(17).vt(), VT_DATE);
  EXPECT_EQ(values.at(17).toDate(), MakeDate(2026, 3, 5));
  EXPECT_EQ(values.at(21).vt(), VT_BOOL);
  EXPECT_TRUE(values.at(21).toBool());
  EXPECT_THROW(record.Campo(11), VbError);
}

TEST_F(DocumentRecordTest, SavesAreReadBackWhole) {
  test::ComApartment com;
  test::TestDatabases databases(kAppKey);
  auto data = DataAccess::Create();
  ASSERT_TRUE(data);
  DocumentRecord record = Entry(L"2", L"1", 90, L"o'brien.tif");
  record.TipoDocumentoId = 3;
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
  EXPECT_EQ(back.Documento + back.Campo02 + back.Campo03 + back.GerenciaId, L"o'brien.tifO'Neil, Ana");  // Null is ""
  EXPECT_EQ(back.Fecha, MakeDate(2025, 12, 1));
  EXPECT_EQ(rs->FieldText(L"Comentarios"), record.Observacion);

  record.DocumentoId = 91;  // no such row: the update refuses
  EXPECT_FALSE(capture::ExecuteDocumentProcedure(*data, capture::kDocumentosUpdate, record));
}

}  // namespace
