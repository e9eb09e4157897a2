#include "dataaccess/file_identity.h"

#include <winternl.h>

#include "base/system_error_text.h"
#include "dataaccess/data_error.h"

extern "C" NTSTATUS NTAPI NtQueryFullAttributesFile(POBJECT_ATTRIBUTES, PFILE_NETWORK_OPEN_INFORMATION);

namespace vk::data {
namespace {

[[noreturn]] void CannotIdentify(const std::wstring& path, DWORD error) {
  throw DataError{L"No se pudo comprobar el archivo de la base de datos \"" + path + L"\": " + SystemErrorText(error)};
}

struct HandleFacts {
  uint64_t number;
  FILE_NETWORK_OPEN_INFORMATION attributes;
};

HandleFacts FactsOf(HANDLE file, const std::wstring& path) {
  HandleFacts facts{};
  IO_STATUS_BLOCK io{};
  FILE_INTERNAL_INFORMATION internal{};
  NTSTATUS status = NtQueryInformationFile(file, &io, &internal, sizeof internal, FileInternalInformation);
  if (NT_SUCCESS(status))
    status = NtQueryInformationFile(file, &io, &facts.attributes, sizeof facts.attributes, FileNetworkOpenInformation);
  if (!NT_SUCCESS(status)) CannotIdentify(path, RtlNtStatusToDosError(status));
  facts.number = static_cast<uint64_t>(internal.IndexNumber.QuadPart);
  return facts;
}

std::wstring NtPathOf(const std::wstring& path) {
  UNICODE_STRING nt{};
  if (!RtlDosPathNameToNtPathName_U(path.c_str(), &nt, nullptr, nullptr)) CannotIdentify(path, ERROR_BAD_PATHNAME);
  std::wstring text(nt.Buffer, nt.Length / sizeof(wchar_t));
  RtlFreeUnicodeString(&nt);
  return text;
}

}  // namespace

HeldFile::HeldFile(HANDLE file, std::wstring path)
    : path_(std::move(path)), ntPath_(NtPathOf(path_)), number_(FactsOf(file, path_).number) {}

std::optional<HeldFile::Stamp> HeldFile::PathStamp() const {
  UNICODE_STRING name{};
  name.Buffer = const_cast<wchar_t*>(ntPath_.c_str());
  name.Length = name.MaximumLength = static_cast<USHORT>(ntPath_.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES object;
  InitializeObjectAttributes(&object, &name, OBJ_CASE_INSENSITIVE, nullptr, nullptr);
  FILE_NETWORK_OPEN_INFORMATION info{};
  const NTSTATUS status = NtQueryFullAttributesFile(&object, &info);
  if (!NT_SUCCESS(status)) {
    const DWORD error = RtlNtStatusToDosError(status);
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    CannotIdentify(path_, error);
  }
  return Stamp{info.CreationTime.QuadPart, info.ChangeTime.QuadPart, info.LastWriteTime.QuadPart,
               info.EndOfFile.QuadPart};
}

HeldFile::AtPath HeldFile::Look() {
  const std::optional<Stamp> stamp = PathStamp();
  if (!stamp) return AtPath::Nothing;
  if (stamp == seen_) return AtPath::Held;
  // Backup semantics let a folder that took the name open too: it is then another file.
  HANDLE file = CreateFileW(path_.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return AtPath::Nothing;
    CannotIdentify(path_, error);
  }
  struct Closer {
    HANDLE file;
    ~Closer() { CloseHandle(file); }
  } closer{file};
  // The number and the attributes come from one open, so they are one file's.
  const HandleFacts facts = FactsOf(file, path_);
  if (facts.number != number_) return AtPath::Other;
  const FILE_NETWORK_OPEN_INFORMATION& a = facts.attributes;
  seen_ = Stamp{a.CreationTime.QuadPart, a.ChangeTime.QuadPart, a.LastWriteTime.QuadPart, a.EndOfFile.QuadPart};
  return AtPath::Held;
}

}  // namespace vk::data
