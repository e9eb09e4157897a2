// The export of the audit grid: the save dialog, the spreadsheet file and, when the
// grid does not fit one (or it cannot be written), the delimited text with the
// regional list separator. A file is only ever replaced by a complete new one, and a
// read-only file never (it takes the same path as a file held open).
#include "consult/log_export.h"

#include <windows.h>

#include <cwctype>

#include "base/steps.h"
#include "base/system_error_text.h"
#include "consult/log_screen.h"
#include "hosted/grid/export_file.h"
#include "runtime/app_path.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/message_box.h"
#include "screen_kit/save_dialog.h"
#include "screen_kit/shared_state.h"

namespace vk::consult {
namespace {

const wchar_t kTitle[] = L"Ostrela";
constexpr DWORD kDialogFlags = 0x00280204;  // hide read-only, multiple selection, explorer, long names

std::wstring Upper(std::wstring text) {
  for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towupper(ch));
  return text;
}

bool EndsWithXls(const std::wstring& name) {
  return name.size() >= 4 && Upper(name.substr(name.size() - 4)) == L".XLS";
}

// A failure's reason with the file it concerns, unless the reason names it already.
std::wstring ReasonFor(const VbError& reason, const std::wstring& path) {
  if (reason.description.find(path) != std::wstring::npos) return reason.description;
  return reason.description + L": " + path;
}

[[noreturn]] void FileFailure(DWORD code, const std::wstring& path) {
  throw VbError{err::PermissionDenied, L"FDocumentosLogGeneral.Export", SystemErrorText(code) + L": " + path};
}

std::wstring ListSeparator() {
  const Variant& separator = Shared().gListSeparator;
  return separator.isText() ? separator.toText() : L"";
}

}  // namespace

std::wstring ExportFileName(const std::wstring& folder, const std::wstring& name) {
  std::wstring full = folder + name;
  if (!EndsWithXls(full)) full += L".Xls";
  return full;
}

std::wstring FallbackFileName(const std::wstring& exportName) {
  std::wstring name = Upper(exportName);
  if (EndsWithXls(name)) name.resize(name.size() - 4);
  return name + L".csv";
}

void ReplaceFileWith(const std::wstring& target, const std::function<void(const std::wstring&)>& write) {
  grid::RefuseReadOnlyFile(target);
  const size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
  wchar_t temporary[MAX_PATH] = {};
  if (!GetTempFileNameW(folder.c_str(), L"vkx", 0, temporary)) FileFailure(GetLastError(), target);
  try {
    write(temporary);
    grid::RefuseReadOnlyFile(target);  // made read-only while the export ran
    if (!MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING)) FileFailure(GetLastError(), target);
  } catch (...) {
    DeleteFileW(temporary);
    throw;
  }
}

void FDocumentosLogGeneral::ExportGrid() {
  SaveDialogRecord& dialog = SaveDialogSettings();
  dialog.lpstrFilter = std::wstring(L"Excel Files (*.xls)") + L'\0' + L"*.xls";
  dialog.Flags = kDialogFlags;
  dialog.lpstrTitle = L"Show Open";
  dialog.lpstrInitialDir = AppPath() + L"\\";
  const SaveDialogResult chosen = ShowSaveDialog(hwnd(), true);
  if (chosen.Canceled || chosen.FileNames.empty()) return;
  if (!StillWanted()) return;  // closed while the dialog was open

  const std::wstring exportName = ExportFileName(chosen.Path, chosen.FileNames.front());
  std::wstring name = exportName;
  const grid::GridControl& grid = *c_.GRDetail;
  VbError reason, fallbackReason;
  SetMousePointer(pointer::Hourglass);
  bool written = IgnoreErrors(
      [&] { ReplaceFileWith(name, [&](const std::wstring& file) { grid.ExportData(file, 3, 2); }); }, &reason);
  bool delimited = false;
  // A read-only spreadsheet is kept, and the user is told why the text went beside it.
  const bool readOnly = !written && grid::IsReadOnlyFile(exportName);
  if (!written) {
    name = FallbackFileName(exportName);
    delimited = true;
    written = IgnoreErrors(
        [&] {
          const std::wstring separator = ListSeparator();
          ReplaceFileWith(name, [&](const std::wstring& file) { grid.ExportData(file, 2, 2, separator); });
        },
        &fallbackReason);
  }
  SetMousePointer(pointer::Default);
  if (!written) {
    // The file the user chose first, then why the text beside it failed too.
    ShowMessage(L"No se ha Podido Realizar la Exportación de Datos: " + ReasonFor(reason, exportName) + L"; " +
                    ReasonFor(fallbackReason, name),
                msg::Information, kTitle);
  } else if (delimited && readOnly) {
    ShowMessage(L"El archivo " + exportName + L" es de sólo lectura; los datos se grabaron en " + name,
                msg::Information, kTitle);
  } else if (delimited) {
    ShowMessage(L"Se ha Realizado la Exportación de Datos: " + name, msg::Information, kTitle);
  } else {
    ShowMessage(L"Se ha Realizado la Exportación de Datos", msg::Information, kTitle);
  }
}

}  // namespace vk::consult
