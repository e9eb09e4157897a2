// SampleScans.exe <folder> [pages]: fills a folder with sample scanned pages in
// every accepted format, for the demo's source folder and the tests. The folder
// and its parents are created when missing. Exit code 0 on success.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <stdexcept>

#include "scan_writer.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: SampleScans.exe <folder> [pages]\n");
    return 2;
  }
  std::wstring folder = argv[1];
  int pages = argc > 2 ? _wtoi(argv[2]) : 2;
  int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
    fwprintf(stderr, L"cannot create %ls (%d)\n", folder.c_str(), made);
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int rc = 0;
  try {
    for (const std::wstring& path : vk::tools::WriteSampleScans(folder, pages)) wprintf(L"%ls\n", path.c_str());
  } catch (const std::exception& e) {
    fprintf(stderr, "SampleScans: %s\n", e.what());
    rc = 1;
  }
  CoUninitialize();
  return rc;
}
