#pragma once
// ShowSaveDialog: the operating system's save-file dialog, centred on the screen or
// on its owner, giving back the chosen folder and file names. The dialog record
// (filter, start folder, title, flags) is kept between calls; the caller sets what
// it needs before the call.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/seam.h"

namespace vk {

struct SaveDialogRecord {
  // Filter pairs (text, pattern) joined by NUL characters: "Excel Files (*.xls)\0*.xls".
  std::wstring lpstrFilter;
  std::wstring lpstrInitialDir;
  std::wstring lpstrTitle;
  DWORD Flags = 0;  // 0: ask before overwriting, hide read-only, explorer style, long names
};

struct SaveDialogResult {
  long FileCount = 0;
  std::vector<std::wstring> FileNames;  // the chosen names without their folder (slot 1 first)
  std::wstring Path;                    // the chosen folder, ending with its backslash
  bool Canceled = true;
};

// This thread's dialog record.
SaveDialogRecord& SaveDialogSettings();

SaveDialogResult ShowSaveDialog(HWND owner, bool centreOnOwner);

// What the dialog's file buffer says: one full name, or (multiple selection) the
// folder followed by NUL-separated names and a double NUL.
SaveDialogResult SplitSaveDialogFile(const std::wstring& buffer, WORD fileOffset);

// Who answers ShowSaveDialog: the real dialog by default; tests put their own here.
using SaveDialogHandler = std::function<SaveDialogResult(HWND owner, bool centreOnOwner)>;
template <>
SaveDialogHandler Seam<SaveDialogHandler>::Real();
using ScopedSaveDialog = Seam<SaveDialogHandler>::Scope;

}  // namespace vk
