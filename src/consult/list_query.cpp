#include "consult/list_query.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/steps.h"
#include "com/com_ptr.h"
#include "com/late_bound.h"
#include "screen_kit/data_access.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/sql_text.h"

namespace vk::consult {
namespace {

std::wstring DocumentsWithIsNew(const Reader& reader) {
  return L"Select A.* , Coalesce(B.IsNew,0) As IsNew From Documentos A Left Join ( Select DocumentoId , Usuario , "
         L"1 As IsNew From DocumentosLog Where Usuario = '" +
         SqlText(reader.logonName) + L"' Group By DocumentoId , Usuario ) B On A.DocumentoId = B.DocumentoId";
}

std::wstring CategoryLimit(const Reader& reader, const wchar_t* column) {
  return std::wstring(L" Where ") + column + L" In ( " + reader.categorias + L" )";
}

void AddKeyFilter(std::wstring& where, const wchar_t* column, const std::wstring& key) {
  if (!key.empty()) where += std::wstring(L" ") + column + L" = '" + SqlText(key) + L"' And ";
}

// A numeric key goes in as a number; a key that is none matches no document.
void AddNumberFilter(std::wstring& where, const wchar_t* column, const std::wstring& key) {
  if (key.empty()) return;
  const std::optional<long> number = WholeNumber(key);
  where += number ? std::wstring(L" ") + column + L" = " + std::to_wstring(*number) + L" And " : L" 1 = 0 And ";
}

void AddTextFilter(std::wstring& where, const wchar_t* column, const std::wstring& text, bool exact) {
  if (text.empty()) return;
  if (exact) where += std::wstring(L" ") + column + L" = '" + SqlText(Trim(text)) + L"' And ";
  else where += std::wstring(L" ") + column + L" Like '%" + SqlText(text) + L"%' And ";
}

// One list field: where it comes from and where it goes (position 0: no such column).
struct FieldSlot {
  // Read through its Field object, held for the whole fill: ADO's fields follow the
  // current row, and asking the recordset for the field again would cost three calls.
  std::optional<com::BoundMember> source;
  int position = 0;
  bool isDate = false;
};

// A date cell: Null, Empty or a value that reads as no date leaves the cell empty.
grid::GridValue DateCell(VARIANT& value) {
  if (value.vt == VT_DATE) return grid::GridValue::Attach(value);
  VARIANT converted;
  VariantInit(&converted);
  if (value.vt == VT_EMPTY || value.vt == VT_NULL ||
      FAILED(VariantChangeType(&converted, &value, 0, VT_DATE)))
    return grid::GridValue();
  return grid::GridValue::Date(converted.date);
}

void StyleGroupHeaders(grid::GridMembers& grid) {
  grid::GridStyle& header = grid.Styles().Item(L"GroupHeader");
  header.BackColor = 14334632;  // &HDABAA8: red 168, green 186, blue 218
  // One colour, painted solid: the list's Normal style is a gradient that would fade it
  // to white under the white text.
  header.BackgroundStyle = grid::kBackgroundSolid;
  header.ForeColor = 0xFFFFFF;
  grid::StyleFont& font = header.OwnFont();
  font.name = L"Verdana";
  font.size = 8;
  font.bold = true;
  header.TextAlignment = grid::kAlignLeft;
}

}  // namespace

std::wstring SearchStatement(const Reader& reader, bool withExternal, const SearchFilters& filters) {
  std::wstring statement = DocumentsWithIsNew(reader);
  if (reader.isAdmin) {
    statement += L" ";
    if (withExternal) statement += L"Union All Select * From V_DocumentosExternos";
  } else {
    statement += CategoryLimit(reader, L"A.CategoriaId");
    if (withExternal)
      statement += L" Union All Select * From V_DocumentosExternos" + CategoryLimit(reader, L"CategoriaId");
  }
  std::wstring where;
  AddKeyFilter(where, L"CategoriaId", filters.categoriaId);
  AddKeyFilter(where, L"SubCategoriaId", filters.subCategoriaId);
  AddKeyFilter(where, L"GerenciaId", filters.gerenciaId);
  AddNumberFilter(where, L"TipoDocumentoId", filters.tipoDocumentoId);
  AddTextFilter(where, L"ReferenciaId", filters.referenciaId, filters.referenciaExact);
  AddTextFilter(where, L"CBarra", filters.cBarra, filters.cBarraExact);
  if (where.empty()) return statement;
  where.resize(where.size() - 4);  // the last "And ", which leaves a blank at the end
  return L"Select * From ( " + statement + L" ) A Where " + where;
}

std::wstring UnreadStatement(const Reader& reader) {
  std::wstring inner = DocumentsWithIsNew(reader);
  if (!reader.isAdmin) inner += CategoryLimit(reader, L"A.CategoriaId");
  return L"Select * From ( " + inner + L" ) A Where IsNew = 0";
}

std::wstring CellText(const grid::GridMembers& grid, int dataRow, const wchar_t* key) {
  if (grid.Columns().Find(key) < 0) return {};
  const Variant value = grid.CellValue(dataRow, key);
  if (value.isNull() || value.isEmpty()) return {};
  return value.toText();
}

long CellLong(const grid::GridMembers& grid, int dataRow, const wchar_t* key) {
  if (grid.Columns().Find(key) < 0) return 0;
  const Variant value = grid.CellValue(dataRow, key);
  if (value.isNull() || value.isEmpty()) return 0;
  return value.toLong();
}

bool FillGrid(grid::GridMembers& grid, const Recordset* records) {
  grid.RemoveAllRows();
  grid.RemoveAllGroups();
  grid.AddGroup(L"CategoriaId");
  bool whole = true;
  if (records) {
    grid::GridModel& model = grid.Model();
    grid.SetDisplaySwitches(true);
    // Whatever happens below, the switches come off again and no blank row stays.
    int written = 0;
    whole = IgnoreErrors([&] {
      std::vector<FieldSlot> slots;
      Variant fields = com::Call(records->get(), L"Fields");
      for (const wchar_t* name : kListFields) {
        FieldSlot slot;
        slot.position = std::max(0, model.Columns().Find(name));
        slot.isDate = std::wstring_view(name) == L"Fecha" || std::wstring_view(name) == L"FechaAlta";
        IgnoreErrors([&] {
          Variant field = com::Call(fields.object(), L"Item", {std::wstring(name)});
          if (field.object()) slot.source.emplace(field.object(), L"Value");
        });
        if (slot.source && slot.position > 0) slots.push_back(std::move(slot));
      }
      // The count only sizes the grid up front (ADO gives -1 when it cannot count): the
      // records are walked to their end.
      grid.SetDataRowCount(std::max(0L, records->RecordCount()));
      const com::BoundMember atEnd(records->get(), L"EOF"), moveNext(records->get(), L"MoveNext");
      if (!atEnd.Call().toBool()) records->MoveFirst();
      std::vector<grid::GridValue> row(slots.size());
      while (!atEnd.Call().toBool()) {
        if (written == grid.DataRowCount()) grid.SetDataRowCount(written + 1);
        // The record is read whole before any of it is written.
        for (size_t i = 0; i < slots.size(); ++i) {
          VARIANT value = slots[i].source->Call().detach();
          row[i] = slots[i].isDate ? DateCell(value) : grid::GridValue::Attach(value);
          if (V_VT(&value) != VT_EMPTY) VariantClear(&value);
        }
        for (size_t i = 0; i < slots.size(); ++i) model.SetCellValue(written, slots[i].position, std::move(row[i]));
        ++written;
        moveNext.Call();
      }
    });
    IgnoreErrors([&] { grid.SetDataRowCount(written); });
    grid.SetDisplaySwitches(false);
  }
  StyleGroupHeaders(grid);
  grid.Refresh(1);
  return whole;
}

}  // namespace vk::consult
