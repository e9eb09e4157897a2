#pragma once
// Moving and deleting a file as a program outside Wine does (an administrator's shell
// restoring a copy of a database): Wine refuses both while one of its processes holds
// the file open without FILE_SHARE_DELETE, a Unix program is not asked. Wine starts a
// Unix program without a process to wait for, so each call waits until its change is
// seen (or gives up after half a minute, so a broken move fails the test, not hangs it).
#include <windows.h>

#include <string>

namespace vk::test {

namespace outside_wine {

// The Unix path Wine maps a Windows path to (as UTF-16 for a command line); empty
// outside Wine.
inline std::wstring UnixPath(const std::wstring& path) {
  using Converter = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Converter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* unixPath = convert ? convert(path.c_str()) : nullptr;
  if (!unixPath) return {};
  std::wstring out(MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, out.data(), static_cast<int>(out.size()));
  out.pop_back();  // the terminating NUL
  HeapFree(GetProcessHeap(), 0, unixPath);
  return out;
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs a Unix program on the files and waits until `done` holds.
template <class Done>
bool Run(const std::wstring& program, const std::wstring& from, const std::wstring& to, Done done) {
  std::wstring line = program;
  for (const std::wstring* path : {&from, &to}) {
    if (path->empty()) continue;
    const std::wstring unixPath = UnixPath(*path);
    if (unixPath.empty()) return false;
    line += L" \"" + unixPath + L"\"";
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int waited = 0; waited < 30000; waited += 10) {
    if (done()) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace outside_wine

// Renames `from` to `to`, replacing a file that has that name.
inline bool MoveFromOutsideWine(const std::wstring& from, const std::wstring& to) {
  return outside_wine::Run(L"Z:\\bin\\mv -f", from, to,
                           [&] { return !outside_wine::Exists(from) && outside_wine::Exists(to); });
}

inline bool DeleteFromOutsideWine(const std::wstring& path) {
  return outside_wine::Run(L"Z:\\bin\\rm -f", path, {}, [&] { return !outside_wine::Exists(path); });
}

}  // namespace vk::test
