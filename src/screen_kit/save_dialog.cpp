#include "screen_kit/save_dialog.h"

#include <commdlg.h>

#include <cmath>

namespace vk {
namespace {

constexpr DWORD kDefaultFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;
constexpr size_t kBufferChars = 2048;

// The one-shot hook that places the dialog when it first activates.
struct PlacementHook {
  HHOOK hook = nullptr;
  HWND owner = nullptr;
  bool centreOnOwner = false;
};
thread_local PlacementHook t_placement;

void PlaceDialog(HWND dialog) {
  RECT box{};
  GetWindowRect(dialog, &box);
  const double width = box.right - box.left;
  const double height = box.bottom - box.top;
  double x = 0, y = 0;
  RECT owner{};
  if (t_placement.centreOnOwner && GetWindowRect(t_placement.owner, &owner)) {
    x = owner.left + (owner.right - owner.left) / 2.0 - width / 2;
    y = owner.top + (owner.bottom - owner.top) / 2.0 - height / 2;
  } else {
    x = GetSystemMetrics(SM_CXSCREEN) / 2.0 - width / 2;
    y = GetSystemMetrics(SM_CYSCREEN) / 2.0 - height / 2;
  }
  SetWindowPos(dialog, nullptr, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RemoveHook() {
  if (t_placement.hook) UnhookWindowsHookEx(t_placement.hook);
  t_placement.hook = nullptr;
}

LRESULT CALLBACK PlacementHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
  HHOOK self = t_placement.hook;
  if (code == HCBT_ACTIVATE) {
    PlaceDialog(reinterpret_cast<HWND>(wParam));
    RemoveHook();
    return 0;
  }
  return CallNextHookEx(self, code, wParam, lParam);
}

SaveDialogResult RealSaveDialog(HWND owner, bool centreOnOwner) {
  SaveDialogRecord& record = SaveDialogSettings();
  if (record.Flags == 0) record.Flags = kDefaultFlags;
  // The filter ends with a double NUL, as the dialog reads it.
  std::wstring filter = record.lpstrFilter;
  filter.append(2, L'\0');
  std::wstring file(kBufferChars, L' ');
  file[0] = L'\0';
  std::wstring fileTitle(kBufferChars, L' ');

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = record.lpstrFilter.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(kBufferChars);
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(kBufferChars);
  dialog.lpstrInitialDir = record.lpstrInitialDir.empty() ? nullptr : record.lpstrInitialDir.c_str();
  dialog.lpstrTitle = record.lpstrTitle.empty() ? nullptr : record.lpstrTitle.c_str();
  dialog.Flags = record.Flags;

  RemoveHook();
  t_placement.owner = owner;
  t_placement.centreOnOwner = centreOnOwner;
  HINSTANCE instance = owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)) : nullptr;
  t_placement.hook = SetWindowsHookExW(WH_CBT, PlacementHookProc, instance, GetCurrentThreadId());
  const BOOL chosen = GetSaveFileNameW(&dialog);
  RemoveHook();  // also when the dialog never activated
  if (!chosen) return {};
  return SplitSaveDialogFile(file, dialog.nFileOffset);
}

}  // namespace

SaveDialogRecord& SaveDialogSettings() {
  static thread_local SaveDialogRecord record;
  return record;
}

SaveDialogResult SplitSaveDialogFile(const std::wstring& buffer, WORD fileOffset) {
  SaveDialogResult result;
  if (fileOffset == 0 || fileOffset >= buffer.size()) return result;
  std::wstring folder = buffer.substr(0, fileOffset);
  // A multiple selection puts a NUL after the folder and ends its list of names with
  // a double NUL; a single one is the full name up to its NUL.
  const bool several = folder.back() == L'\0';
  if (several) folder.pop_back();
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  for (size_t at = fileOffset; at < buffer.size() && buffer[at] != L'\0';) {
    size_t end = buffer.find(L'\0', at);
    if (end == std::wstring::npos) end = buffer.size();
    result.FileNames.push_back(buffer.substr(at, end - at));
    if (!several) break;
    at = end + 1;
  }
  if (result.FileNames.empty()) return {};
  result.Path = folder;
  result.FileCount = static_cast<long>(result.FileNames.size());
  result.Canceled = false;
  return result;
}

template <>
SaveDialogHandler Seam<SaveDialogHandler>::Real() {
  return RealSaveDialog;
}

SaveDialogResult ShowSaveDialog(HWND owner, bool centreOnOwner) {
  return Seam<SaveDialogHandler>::Current()(owner, centreOnOwner);
}

}  // namespace vk
