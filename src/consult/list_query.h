#pragma once
// What the document lists read and how they show it: the statements of the search and
// of the unread documents (every pasted text through SqlText), and the fill of the list
// grid from a recordset, grouped by category, with unread rows in the "IsNew" style.
#include <string>

#include "hosted/grid/grid_members.h"

namespace vk {
class Recordset;
}

namespace vk::consult {

// The search screen's filters as the user left them: combo keys ("" for no filter; the
// document type's goes in as a number), the reference and bar code as typed, and
// whether each must match exactly.
struct SearchFilters {
  std::wstring categoriaId, subCategoriaId, gerenciaId, tipoDocumentoId;
  std::wstring referenciaId;
  bool referenciaExact = false;
  std::wstring cBarra;
  bool cBarraExact = false;
};

// Who reads: the logon name (for IsNew), the administrator flag and, for any other
// user, the category list ready for an In clause.
struct Reader {
  std::wstring logonName;
  bool isAdmin = false;
  std::wstring categorias;
};

// The documents the reader may see, each with IsNew (1 once this reader has a read-log
// entry for it), joined with the external documents when `withExternal`, narrowed by
// the filters.
std::wstring SearchStatement(const Reader& reader, bool withExternal, const SearchFilters& filters);

// The documents the reader may see and has not read.
std::wstring UnreadStatement(const Reader& reader);

// The 23 fields of a list row, as the column dictionary of "DocumentosView" keys them.
inline constexpr const wchar_t* kListFields[] = {
    L"CategoriaId", L"SubCategoriaId", L"Fecha",   L"TipoDocumentoId", L"Campo01", L"ReferenciaId",
    L"GerenciaId",  L"DocumentoId",    L"Documento", L"Path",          L"Campo02", L"Campo03",
    L"Campo04",     L"Campo05",        L"Campo06", L"Campo07",         L"Campo08", L"Campo09",
    L"Campo10",     L"CBarra",         L"Comentarios", L"FechaAlta",   L"IsNew"};

// Replaces the grid's rows with one row per record, each field written under the
// column of its own name (a field or column the other side lacks stays empty; a Null
// or unreadable Fecha or FechaAlta becomes an empty cell), groups the rows on
// CategoriaId and styles the group headers. The records are walked to their end, so a
// RecordCount that is wrong (or ADO's -1) neither cuts nor pads the list. No recordset
// leaves the list empty. A
// record that cannot be read ends the fill there: the rows before it stay, no blank
// row is left behind, and the result is false.
bool FillGrid(grid::GridMembers& grid, const Recordset* records);

// A cell of a list row as text: "" for Null, Empty or a column the grid lacks.
std::wstring CellText(const grid::GridMembers& grid, int dataRow, const wchar_t* key);
// A cell as a whole number: 0 for Null, Empty or a column the grid lacks; a text that
// is no number raises (type mismatch).
long CellLong(const grid::GridMembers& grid, int dataRow, const wchar_t* key);

}  // namespace vk::consult
