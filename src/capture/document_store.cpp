#include "capture/document_store.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <optional>
#include <vector>

#include "base/steps.h"
#include "hosted/file_system.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"

namespace vk::capture {
namespace {

std::wstring Padded(const std::wstring& id, short width) {
  std::wstring zero = L"0";
  return PadLeft(id, width, zero);
}

// The last three characters of the source name, as they stand.
std::wstring Extension(const std::wstring& documento) {
  return documento.size() > 3 ? documento.substr(documento.size() - 3) : documento;
}

// "C:\..." or "\\server\share...": a path that does not depend on the current folder.
bool IsRooted(const std::wstring& root) {
  auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  if (root.size() >= 3 && std::iswalpha(root[0]) && root[1] == L':' && separator(root[2])) return true;
  return root.size() > 2 && separator(root[0]) && separator(root[1]) && !separator(root[2]);
}

// One folder or file name that the store may create: no separator, no character the
// file system refuses, and not a name for the folder itself or its parent.
bool IsPlainName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  for (wchar_t c : name) {
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
  }
  return true;
}

// Makes the folder when missing and remembers it, so that a move that fails can take
// away what it made. A folder that cannot be made (a file or a broken link holds its
// name) is named in the reason: no other id would get past it.
void CreateFolderWhenMissing(const std::wstring& folder, std::vector<std::wstring>& made) {
  if (hosted::FolderExists(folder + L"\\")) return;
  VbError failure;
  if (!IgnoreErrors([&] { hosted::CreateFolder(folder); }, &failure))
    throw VbError{err::PathNotFound, failure.source,
                  L"no se pudo crear la carpeta " + folder + L" (" + failure.description + L")"};
  made.push_back(folder);
}

// The id a stored file's name holds: 20 digits (the first ten zeros, as for any id a
// document can take), a point, then the extension.
std::optional<long> StoredId(const std::wstring& name) {
  constexpr size_t kDigits = 20, kIdDigits = 10;
  if (name.size() <= kDigits || name[kDigits] != L'.') return std::nullopt;
  for (size_t i = 0; i < kDigits; ++i) {
    const wchar_t highest = i < kDigits - kIdDigits ? L'0' : L'9';
    if (name[i] < L'0' || name[i] > highest) return std::nullopt;
  }
  return WholeNumber(std::wstring_view(name).substr(kDigits - kIdDigits, kIdDigits));
}

std::wstring EnvironmentValue(const wchar_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

bool StoreRootUsable(const std::wstring& root) { return IsRooted(root) && hosted::FolderExists(root); }

std::wstring CategoryFolder(const std::wstring& root, const std::wstring& categoriaId) {
  return root + L"\\" + Padded(categoriaId, 5);
}

std::wstring SubCategoryFolder(const std::wstring& root, const std::wstring& categoriaId,
                               const std::wstring& subCategoriaId) {
  return CategoryFolder(root, categoriaId) + L"\\" + Padded(subCategoriaId, 5);
}

std::wstring DocumentStorePath(const std::wstring& root, const std::wstring& categoriaId,
                               const std::wstring& subCategoriaId, long documentoId, const std::wstring& documento) {
  return SubCategoryFolder(root, categoriaId, subCategoriaId) + L"\\" + Padded(std::to_wstring(documentoId), 20) +
         L"." + Extension(documento);
}

std::wstring DocumentStorePath(const DocumentRecord& record) {
  return DocumentStorePath(Shared().gPathDestino, record.CategoriaId, record.SubCategoriaId, record.DocumentoId,
                           record.Documento);
}

StoreMove MoveDocumentFile(const DocumentRecord& record, hosted::TrackedFile& file, std::wstring* reason) {
  VbError error;
  StoreMove outcome = StoreMove::Refused;
  std::vector<std::wstring> made;  // the folders this move created
  const std::wstring stored = DocumentStorePath(record), found = file.at;
  IgnoreErrors(
      [&] {
        const std::wstring root = Shared().gPathDestino;
        const std::wstring category = CategoryFolder(root, record.CategoriaId);
        const std::wstring subCategory = SubCategoryFolder(root, record.CategoriaId, record.SubCategoriaId);
        // Everything that can be known before the first folder is made is checked first,
        // so a refused move leaves no trace in the store.
        if (!StoreRootUsable(root)) return;
        if (!IsPlainName(Padded(record.CategoriaId, 5)) || !IsPlainName(Padded(record.SubCategoriaId, 5)) ||
            !IsPlainName(stored.substr(subCategory.size() + 1))) {
          return;
        }
        if (!hosted::FileExists(file.at)) return;
        if (hosted::FileExists(stored) || hosted::FolderExists(stored)) {
          outcome = StoreMove::PathTaken;
          return;
        }
        CreateFolderWhenMissing(category, made);
        CreateFolderWhenMissing(subCategory, made);
        hosted::MoveFileNoReplace(file, stored);
        outcome = StoreMove::Moved;
      },
      &error);
  // Another clerk's file took the path between the look above and the move: the next id
  // may be tried with the file where the move found it or back under its own name, as the
  // move's put-back tells (otherwise the move's reason says where it is). Any other
  // failure, whatever its number, is no reason to try the next id.
  const bool fileKept = !file.at.empty() && (file.at == found || file.at == file.home);
  if (error.number == err::FileAlreadyExists && (hosted::FileExists(stored) || hosted::FolderExists(stored)) &&
      fileKept)
    outcome = StoreMove::PathTaken;
  if (error.number == err::PathFileAccessError) outcome = StoreMove::AnotherFile;
  if (outcome != StoreMove::Moved)
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) RemoveDirectoryW(folder->c_str());
  if (reason) *reason = outcome == StoreMove::Moved ? std::wstring() : error.description;
  return outcome;
}

StoredIds StoredIds::Read(const std::wstring& root) {
  StoredIds stored;
  auto subFolders = [](const std::wstring& folder, const std::function<void(const std::wstring&)>& each) {
    hosted::VisitFolder(folder, [&](const std::wstring& name, bool isFolder) {
      if (isFolder) each(folder + L"\\" + name);
    });
  };
  subFolders(root, [&](const std::wstring& category) {
    subFolders(category, [&](const std::wstring& subCategory) {
      hosted::VisitFolder(subCategory, [&](const std::wstring& name, bool isFolder) {
        if (const std::optional<long> id = StoredId(name); id && !isFolder) stored.ids_.push_back(*id);
      });
    });
  });
  std::sort(stored.ids_.begin(), stored.ids_.end());
  return stored;
}

bool StoredIds::Holds(long id) const { return std::binary_search(ids_.begin(), ids_.end(), id); }

void StoredIds::Add(long id) {
  const auto place = std::lower_bound(ids_.begin(), ids_.end(), id);
  if (place == ids_.end() || *place != id) ids_.insert(place, id);
}

std::wstring CopyToTemp(const std::wstring& source) {
  std::wstring name;
  const bool copied = IgnoreErrors([&] {
    name = BuildTempFileName(EnvironmentValue(L"TEMP"), L"TMP");
    if (!name.empty()) hosted::CopyFileReplacing(source, name);
  });
  return copied ? name : std::wstring();
}

}  // namespace vk::capture
