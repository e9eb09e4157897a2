// The list screens' toolbars, grid events and current row: the main and preview
// commands, the pop-up menus opened from a toolbar key or the grid's right button,
// the row read whole into the current document, the viewer program and the marking
// of a document as read.
#include <cwchar>

#include "base/steps.h"
#include "consult/list_query.h"
#include "consult/list_screen.h"
#include "hosted/shell_launcher.h"
#include "runtime/app_path.h"
#include "screen_kit/audit_log.h"
#include "screen_kit/view_commands.h"

namespace vk::consult {

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

ListDocument ListScreen::ReadRow(int dataRow) const {
  const grid::GridControl& grid = *c_.GRDetail;
  ListDocument d;
  d.CategoriaId = CellText(grid, dataRow, L"CategoriaId");
  d.SubCategoriaId = CellText(grid, dataRow, L"SubCategoriaId");
  d.GerenciaId = CellText(grid, dataRow, L"GerenciaId");
  d.TipoDocumentoId = CellLong(grid, dataRow, L"TipoDocumentoId");
  d.DocumentoId = CellLong(grid, dataRow, L"DocumentoId");
  d.Documento = CellText(grid, dataRow, L"Documento");
  d.Path = CellText(grid, dataRow, L"Path");
  for (size_t i = 0; i < d.Campo.size(); ++i) {
    wchar_t key[8];
    swprintf(key, 8, L"Campo%02u", static_cast<unsigned>(i + 1));
    d.Campo[i] = CellText(grid, dataRow, key);
  }
  d.ReferenciaId = CellText(grid, dataRow, L"ReferenciaId");
  return d;
}

bool ListScreen::GRDetail_RowSelected() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow)) return false;
  ListDocument staged;
  if (!IgnoreErrors([&] { staged = ReadRow(dataRow); })) return false;
  document_ = std::move(staged);
  // A preview that cannot show the file leaves the document selected.
  IgnoreErrors([this] { ShowInPreview(); });
  return true;
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
  if (!CurrentDataRow(dataRow) || !GRDetail_RowSelected()) return;
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

ListDocument ListScreen::DocumentOfCurrentRow(int& dataRow) const {
  if (!CurrentDataRow(dataRow)) {
    dataRow = -1;
    return document_;
  }
  ListDocument row;
  if (!IgnoreErrors([&] { row = ReadRow(dataRow); })) return {};
  return row;
}

void ListScreen::OpenInViewer() {
  // The viewer shows, and the read log names, the document of the current row: an
  // audit record must name what was opened.
  int dataRow = -1;
  const ListDocument document = DocumentOfCurrentRow(dataRow);
  if (document.DocumentoId <= 0 || document.Path.empty()) return;
  if (!hosted::LaunchViewer(AppPath(), document.Documento, document.Path, hwnd())) return;
  MarkRead(document.DocumentoId, dataRow);
}

bool ListScreen::MarkDocumentRead() {
  int dataRow = -1;
  const long documentId = DocumentOfCurrentRow(dataRow).DocumentoId;
  return MarkRead(documentId, dataRow);
}

bool ListScreen::MarkRead(long documentId, int dataRow) {
  if (documentId <= 0) return false;
  bool marked = false;
  IgnoreErrors([&] {
    if (!DocumentosLog_Add(static_cast<double>(documentId), L"N/A")) return;
    if (dataRow >= 0) IgnoreErrors([&] { c_.GRDetail->SetCellValue(dataRow, L"IsNew", Variant(1L)); });
    marked = true;
  });
  return marked;
}

}  // namespace vk::consult
