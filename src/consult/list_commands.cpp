// The list screens' toolbars, grid events and current row: the main and preview
// commands, the pop-up menus opened from a toolbar key or the grid's right button,
// the row read whole into the current document, the viewer program and the marking
// of a document as read.
#include <algorithm>
#include <cwchar>
#include <optional>
#include <vector>

#include "base/steps.h"
#include "consult/comment_history.h"
#include "consult/list_query.h"
#include "consult/list_screen.h"
#include "hosted/shell_launcher.h"
#include "runtime/app_path.h"
#include "screen_kit/audit_log.h"
#include "screen_kit/document_row.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/view_commands.h"

namespace vk::consult {
namespace {

const wchar_t kTitle[] = L"Ostrela";

// Names the document by its id, or by its file when the id is what cannot be read.
std::wstring UnreadableValueText(const ListDocument& document, const std::wstring& column, const std::wstring& text) {
  const std::wstring name =
      column == L"DocumentoId" ? document.Documento : std::to_wstring(document.DocumentoId);
  return L"El valor '" + text + L"' de " + column + L" del documento " + name + L" no se puede leer";
}

// Reads one cell into the document; a cell that does not convert is noted with its
// text, and the rest of the row is read all the same.
void ReadCell(const grid::GridControl& grid, int dataRow, const wchar_t* column, RowReading& reading,
              const std::function<void()>& read) {
  if (IgnoreErrors(read)) return;
  std::wstring text;
  IgnoreErrors([&] { text = CellText(grid, dataRow, column); });
  reading.unreadable.push_back({column, text});
}

}  // namespace

// --- toolbars ---

void ListScreen::TBarMain_ButtonClick(hosted::ToolbarClick& click) {
  if (click.key == L"BTN_FIN") {
    LoadDocuments();
  } else if (click.key == L"BTN_REP") {
    PopUpFromKey(*c_.TBarMain, click, ReportMenu(), 0, 0);
  } else {
    OnMainKey(click.key);
  }
}

void ListScreen::TBarDetail_ButtonClick(hosted::ToolbarClick& click) {
  if (click.key == L"BTN_PAN") {
    OpenInViewer();
  } else if (click.key == L"BTN_REP") {
    const hosted::Frame& frame = *c_.VkImageMain;
    PopUpFromKey(*c_.TBarDetail, click, ImageMenu(), frame.left(), frame.top());
  } else {
    // The fit key's own state decides, not FitMode: a row selection turns fit off and
    // leaves the key pressed.
    RunViewCommand(*c_.TBarDetail, click, *c_.PSelection);
  }
}

void ListScreen::PopUpFromKey(hosted::Toolbar& toolbar, hosted::ToolbarClick& click, const std::vector<MenuItem>& menu,
                              double frameLeft, double frameTop) {
  vk::PopUpFromKey(
      *this, toolbar, click, menu,
      [this](UINT chosen) {
        if (StillWanted()) RunMenuCommand(chosen);
      },
      frameLeft, frameTop);
}

// --- the current row ---

bool ListScreen::CurrentDataRow(int& dataRow) const {
  const grid::GridControl& grid = *c_.GRDetail;
  if (!grid.HasCurrentRow()) return false;
  const grid::RowRef row = grid.CurrentRow();
  if (row.Kind != grid::kDataRow) return false;
  dataRow = row.Index;
  return true;
}

RowReading ListScreen::ReadRow(int dataRow) const {
  const grid::GridControl& grid = *c_.GRDetail;
  RowReading reading;
  ListDocument& d = reading.document;
  auto text = [&](const wchar_t* column, std::wstring& to) {
    ReadCell(grid, dataRow, column, reading, [&] { to = CellText(grid, dataRow, column); });
  };
  auto number = [&](const wchar_t* column, long& to) {
    ReadCell(grid, dataRow, column, reading, [&] { to = CellLong(grid, dataRow, column); });
  };
  text(L"CategoriaId", d.CategoriaId);
  text(L"SubCategoriaId", d.SubCategoriaId);
  text(L"GerenciaId", d.GerenciaId);
  number(L"TipoDocumentoId", d.TipoDocumentoId);
  number(L"DocumentoId", d.DocumentoId);
  text(L"Documento", d.Documento);
  text(L"Path", d.Path);
  for (size_t i = 0; i < d.Campo.size(); ++i) {
    wchar_t key[8];
    swprintf(key, 8, L"Campo%02u", static_cast<unsigned>(i + 1));
    text(key, d.Campo[i]);
  }
  text(L"ReferenciaId", d.ReferenciaId);
  return reading;
}

bool ListScreen::GRDetail_RowSelected() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow)) return false;
  RowReading reading = ReadRow(dataRow);
  if (!reading.whole()) {
    // Not this row's document, and no longer the one before it either.
    ShowNoDocument();
    return false;
  }
  document_ = std::move(reading.document);
  // A preview that cannot show the file leaves the document selected.
  IgnoreErrors([this] { ShowInPreview(); });
  return true;
}

void ListScreen::ShowNoDocument() {
  document_ = ListDocument{};
  c_.PSelection->ShowNoFile();
}

void ListScreen::ShowInPreview() {
  VkImage& preview = *c_.PSelection;
  const std::wstring& path = document_.Path;
  if (IsPdfPath(path)) {
    // A PDF only hides the viewer; fit and zoom stay as they were.
    preview.setIsPDF(true);
    preview.setDocumento(document_.Documento);
    preview.setPath(path);
    preview.LoadDocument();
    return;
  }
  preview.setIsPDF(false);
  preview.setFitMode(false);
  preview.setZoom(0.53);
  preview.setDocumento(document_.Documento);
  preview.setPath(path);
  preview.Resize();
  preview.LoadDocument();
  // Drawn anew, without hiding and showing it again (which repaints the whole pane).
  RedrawWindow(preview.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ListScreen::GRDetail_DblClick() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow)) return;
  // A row with a value that cannot be read opens as the panoramic view opens it: the
  // viewer needs only its id, name and path.
  GRDetail_RowSelected();
  OpenInViewer();
}

void ListScreen::GRDetail_MouseUp(int button, float x, float y) {
  int dataRow = -1;
  if (button != 2 || !CurrentDataRow(dataRow)) return;
  GRDetail_RowSelected();
  const UINT chosen = PopupMenu(c_.GRDetail->hwnd(), CommentMenu(), x, y);
  if (chosen && StillWanted()) RunMenuCommand(chosen);
}

// --- the viewer program and the read marking ---

CommandTarget ListScreen::TargetOfCommand(std::initializer_list<const wchar_t*> needed) {
  CommandTarget target;
  if (!CurrentDataRow(target.dataRow)) {
    target.dataRow = -1;
    target.document = document_;
  } else {
    RowReading reading = ReadRow(target.dataRow);
    for (const auto& [column, text] : reading.unreadable) {
      if (column == L"Path") target.pathRead = false;
      const bool isNeeded = column == L"DocumentoId" ||
                            std::any_of(needed.begin(), needed.end(), [&](const wchar_t* n) { return column == n; });
      if (!isNeeded) continue;
      ShowMessage(UnreadableValueText(reading.document, column, text), msg::Information, kTitle);
      target.told = true;
      return target;
    }
    target.document = std::move(reading.document);
  }
  if (target.document.DocumentoId <= 0) return target;  // no document: nothing to check
  target.told = !StillListed(target);
  if (target.told) target.document = ListDocument{};
  return target;
}

bool ListScreen::StillListed(CommandTarget& target, std::wstring_view stopped) {
  const long documentId = target.document.DocumentoId;
  const std::wstring id = std::to_wstring(documentId);
  // A row under the id with another path is a document filed after the listed one went.
  auto listedPath = [&](const std::wstring& stored) {
    return !target.pathRead || SameStoredPath(stored, target.document.Path);
  };
  bool idHeld = false;
  std::optional<bool> external;  // where the listed row is, once found
  VbError error;
  const bool read = IgnoreErrors(
      [&] {
        if (!mData) Raise(err::ObjectNotSet);
        // Ours first: an external row with our id and our file is our document.
        if (std::optional<std::wstring> path = DocumentRowPath(*mData, documentId)) {
          idHeld = true;
          if (listedPath(*path)) {
            external = false;
            return;
          }
        }
        if (!readsExternal_) return;
        for (const std::wstring& path : RowPaths(*mData, L"V_DocumentosExternos", documentId)) {
          idHeld = true;
          if (listedPath(path)) {
            external = true;
            return;
          }
        }
      },
      &error);
  if (read && external) {
    target.external = *external;
    return true;
  }
  std::wstring told;
  if (!read) {
    told = L"No se ha podido leer el documento " + id + L": " + error.description;
  } else {
    told = idHeld ? L"El documento " + id + L" cambió; actualice la lista" : DocumentGoneText(documentId);
    // Nothing of it stays on screen, before the message lets other input in.
    if (document_.DocumentoId == documentId) ShowNoDocument();
  }
  ShowMessage(told + std::wstring(stopped), msg::Information, kTitle);
  return false;
}

void ListScreen::OpenInViewer() {
  // The viewer shows, and the read log names, the document of the current row: an
  // audit record must name what was opened. Only a viewer that started is a reading.
  const CommandTarget target = TargetOfCommand({L"Documento", L"Path"});
  const ListDocument& document = target.document;
  if (document.DocumentoId <= 0 || document.Path.empty()) return;
  if (!hosted::LaunchViewer(AppPath(), document.Documento, document.Path, hwnd())) return;
  MarkRead(target);
}

bool ListScreen::MarkDocumentRead() {
  const CommandTarget target = TargetOfCommand({});
  if (target.told) return false;
  if (MarkRead(target)) return true;
  ShowMessage(L"Se Produjo un Error al Marcar el Documento", msg::Information, kTitle);
  return false;
}

bool ListScreen::MarkRead(const CommandTarget& target) {
  const long documentId = target.document.DocumentoId;
  if (documentId <= 0) return false;
  // An external document whose id one of ours holds (filed at any moment, even while
  // the viewer started) is opened unlogged: under that id the log would name ours.
  ReadingStillLoggable loggable;
  if (target.external)
    loggable = [documentId](const DataAccess& data) { return !DocumentRowExists(data, documentId); };
  bool marked = false;
  IgnoreErrors([&] {
    if (!DocumentosLog_Add(static_cast<double>(documentId), L"N/A", loggable)) return;
    if (target.dataRow >= 0)
      IgnoreErrors([&] { c_.GRDetail->SetCellValue(target.dataRow, L"IsNew", Variant(1L)); });
    marked = true;
  });
  return marked;
}

}  // namespace vk::consult
