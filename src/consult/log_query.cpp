// The audit screen's routines behind its list: the data object, the grid's columns,
// value lists and styles, the filter combos, the reset, the query built from the
// filters and the fill of the grid.
#include "consult/log_query.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/steps.h"
#include "consult/log_screen.h"
#include "runtime/event.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/clear_controls.h"
#include "screen_kit/combo_source.h"
#include "screen_kit/grid_dictionary.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"

namespace vk::consult {

const LogColumn kLogColumns[kLogColumnCount] = {
    {L"DocumentoId", L"Documento", 20, grid::kAlignLeft, L"Select DocumentoId , Documento From Documentos", false},
    {L"Usuario", L"Usuario", 10, grid::kAlignLeft, L"Select UserName , UserDescription From Users", true},
    {L"RegistroId", L"Nro.", 5, grid::kAlignCenter, nullptr, false},
    {L"Fecha", L"Fecha", 10, grid::kAlignLeft, nullptr, false},
    {L"GerenciaId", L"Gerencia", 10, grid::kAlignLeft, L"Select GerenciaId , Gerencia From Gerencias", false},
    {L"ModuloId", L"C.Mod", 5, grid::kAlignCenter, nullptr, false},
    {L"Modulo", L"Modulo", 10, grid::kAlignLeft, nullptr, false},
    {L"EquipoId", L"Equipo", 10, grid::kAlignCenter, nullptr, false},
    {L"FechaAlta", L"F.Alta", 10, grid::kAlignLeft, nullptr, false},
    {L"FechaModificacion", L"F.Modificacion", 10, grid::kAlignLeft, nullptr, false},
};

namespace {

const wchar_t kTitle[] = L"Ostrela";
const wchar_t kSecurityKey[] = L"VkS";

// " And DocumentoId In ( Select DocumentoId From Documentos Where <column> = '<key>' ) "
std::wstring DocumentsWhere(const wchar_t* column, const std::wstring& key) {
  return std::wstring(L" And DocumentoId In ( Select DocumentoId From Documentos Where ") + column + L" = " +
         SqlQuoted(key) + L" ) ";
}

std::wstring DateBound(const wchar_t* comparison, DATE day) {
  return std::wstring(L" And Fecha ") + comparison + L" Convert(DateTime, '" + FormatDate(day, L"yyyy-mm-dd") +
         L"', 101)";
}

// A recordset field as a grid value, handed over without a copy; Null stays Null.
grid::GridValue CellOf(Variant value) {
  VARIANT owned = value.detach();
  return grid::GridValue::Attach(owned);
}

}  // namespace

std::wstring BuildLogQuery(const LogFilters& f) {
  std::wstring sql = L"Select * From DocumentosLog Where 1 = 1";
  if (f.categoriaId) sql += DocumentsWhere(L"CategoriaId", *f.categoriaId);
  if (f.subCategoriaId) sql += DocumentsWhere(L"SubCategoriaId", *f.subCategoriaId);
  if (f.gerenciaId) sql += DocumentsWhere(L"GerenciaId", *f.gerenciaId);
  if (f.usuario) sql += L" And Usuario = " + SqlQuoted(*f.usuario);
  if (f.documentoId) {
    // The document's key goes in as a number; a key that is none matches no reading.
    const std::optional<long> id = WholeNumber(*f.documentoId);
    sql += id ? L" And DocumentoId = " + std::to_wstring(*id) : L" And 1 = 0";
  }
  if (f.desde) sql += DateBound(L">=", std::floor(*f.desde));
  // The day after the upper date, so that the whole of that day is included.
  if (f.hasta) sql += DateBound(L"<", std::floor(*f.hasta) + 1);
  return sql;
}

bool FDocumentosLogGeneral::InitGrid() {
  ConfigureGrid();  // fails only silently, inside
  return true;
}

void FDocumentosLogGeneral::ConfigureGrid() {
  grid::GridControl& grid = *c_.GRDetail;
  // An error ends the set-up where it happens; what was made so far stays.
  IgnoreErrors([&] {
    for (const LogColumn& layout : kLogColumns) {
      grid::GridColumn& column = grid.Columns().Add(layout.key);
      column.Caption = layout.caption;
      column.Style().TextAlignment = layout.alignment;
      column.ReadOnly = true;  // a log is read, never edited
      column.Tag = grid::GridValue(static_cast<long>(layout.widthPercent));
      if (!layout.valueList) continue;
      column.EditorType = grid::kEditDropDownList;
      column.ListMode = 3;
      mRS = mData->GetData(layout.securityDatabase ? kSecurityKey : Shared().gApplicationName, layout.valueList);
      if (!mRS) continue;  // the column shows its stored values
      // Every document can be a row here: each field is looked up once, not per row.
      RecordsetWalker rows(*mRS, {mRS->FieldName(0), mRS->FieldName(1)});
      if (!rows.AtEnd()) mRS->MoveFirst();
      for (; !rows.AtEnd(); rows.Next()) {
        const Variant shown = rows.Value(1);
        column.AddValueItem(CellOf(rows.Value(0)), shown.isNull() ? std::wstring() : CStr(shown));
      }
    }
    ApplyListStyles(grid.Styles());
  });
}

bool FDocumentosLogGeneral::LoadCombos() {
  c_.cboCategoriaId->setTag(L"Select CategoriaId , Categoria From TipoCategorias");
  c_.cboSubCategoriaId->setTag(L"Select SubCategoriaId , SubCategoria From TipoSubCategorias");
  c_.cboGerenciaId->setTag(L"Select GerenciaId , Gerencia From Gerencias");
  c_.cboUsuarioId->setTag(L"Select Distinct UsuarioId , UsuarioId As Usuario From LogAcciones");
  c_.cboDocumentoId->setTag(L"Select DocumentoId , Documento From Documentos");
  return LoadCombosFromTags(*this, *mData, [this] { return ServeMessages(); });
}

void FDocumentosLogGeneral::ClearForm() {
  MuteEvents quiet;  // the reset writes nothing back through the controls' events
  ClearControlsByKind(*this);
  RunEachStep({
      [&] { c_.dtpFechaDesde->ClearValue(); },
      [&] { c_.dtpFechaHasta->ClearValue(); },
      [&] { c_.GRDetail->SetDataRowCount(0); },
      [&] { c_.GRDetail->RemoveAllRows(); },
      [&] { c_.GRDetail->SetDisplaySwitches(false); },
  });
}

bool FDocumentosLogGeneral::SearchLog() {
  SetMousePointer(pointer::Hourglass);
  const bool done = IgnoreErrors([&] {
    const Controls& c = c_;
    LogFilters filters;
    // Category and sub-category filter only on an item with a description; the others
    // on any item chosen. Each item filters on the key it was loaded with.
    if (!c.cboCategoriaId->SelectedDescription().empty()) filters.categoriaId = c.cboCategoriaId->SelectedKey();
    if (!c.cboSubCategoriaId->SelectedDescription().empty())
      filters.subCategoriaId = c.cboSubCategoriaId->SelectedKey();
    if (!c.cboGerenciaId->Text().empty()) filters.gerenciaId = c.cboGerenciaId->SelectedKey();
    if (!c.cboUsuarioId->Text().empty()) filters.usuario = c.cboUsuarioId->SelectedKey();
    if (!c.cboDocumentoId->Text().empty()) filters.documentoId = c.cboDocumentoId->SelectedKey();
    filters.desde = c.dtpFechaDesde->Value();
    filters.hasta = c.dtpFechaHasta->Value();
    mSQL = BuildLogQuery(filters);
    ExecuteQuery();
  });
  SetMousePointer(pointer::Default);
  return done;
}

bool FDocumentosLogGeneral::ExecuteQuery() {
  return IgnoreErrors([&] {
    mRS = mData->GetData(Shared().gApplicationName, mSQL);
    FillGrid();
    ServeMessages();
  });
}

bool FDocumentosLogGeneral::FillGrid() {
  grid::GridControl& grid = *c_.GRDetail;
  grid.RemoveAllRows();
  if (!mRS) {
    // The data object's reason goes beneath: a search refused because its result would
    // not fit in memory must not read as a search that found nothing.
    std::wstring reason;
    IgnoreErrors([&] { reason = mData->ErrDescription(); });
    ShowMessage(L"No Existe Información para la Busqueda Solicitada" + (reason.empty() ? L"" : L"\n\n" + reason),
                msg::Information, kTitle);
    return true;
  }
  grid.SetDisplaySwitches(true);
  int written = 0;
  const bool filled = IgnoreErrors([&] {
    std::vector<std::wstring> fields;
    for (const LogColumn& layout : kLogColumns) fields.push_back(layout.key);
    // The count only sizes the grid up front: the rows are walked to the end.
    grid.SetDataRowCount(std::max(0L, mRS->RecordCount()));
    RecordsetWalker rows(*mRS, fields);
    if (!rows.AtEnd()) mRS->MoveFirst();
    for (; !rows.AtEnd(); rows.Next()) {
      if (written == grid.DataRowCount()) grid.SetDataRowCount(written + 1);
      for (size_t f = 0; f < fields.size(); ++f) grid.SetValue(written, static_cast<int>(f), CellOf(rows.Value(f)));
      ++written;
    }
  });
  // Rows the walk did not reach (a count above the rows, or a failing read) go.
  IgnoreErrors([&] {
    if (grid.DataRowCount() > written) grid.SetDataRowCount(written);
  });
  grid.SetDisplaySwitches(false);
  grid.Refresh(1);
  return filled;
}

}  // namespace vk::consult
