// The picker's query, filters, paging, sorting and the choice of a row.
#include "screen_kit/fsearch.h"

#include <oleauto.h>

#include "base/clock.h"
#include "base/steps.h"
#include "runtime/do_events.h"
#include "runtime/event.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/fsearch_query.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk {
namespace {

const wchar_t kTitle[] = L"Ostrela";

// The whole row as a two-dimensional array: (0, c) the name of data column c, (1, c)
// its value, the first index 0 to 1 and the second 0 to n - 1.
Variant NamesAndValues(const std::vector<std::wstring>& names, const std::vector<Variant>& values) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {static_cast<ULONG>(names.size()), 0}};  // first dimension first
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (!array) Raise(err::OutOfMemory);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ARRAY | VT_VARIANT;
  v.parray = array;
  Variant result = Variant::Attach(v);  // owns the array from here on, also when a put fails
  auto put = [array](LONG row, LONG column, const Variant& value) {
    LONG at[2] = {row, column};  // the first dimension's index first
    if (FAILED(SafeArrayPutElement(array, at, const_cast<VARIANT*>(&value.get())))) Raise(err::SubscriptOutOfRange);
  };
  for (size_t c = 0; c < names.size(); ++c) {
    put(0, static_cast<LONG>(c), Variant(names[c]));
    put(1, static_cast<LONG>(c), values[c]);
  }
  return result;
}

}  // namespace

void FSearch::Command(const std::function<void()>& handler) {
  if (filling_) return;  // a running fill finishes first; the command is dropped
  IgnoreErrors(handler);
}

bool FSearch::ShowForm() {
  SetMousePointer(pointer::Hourglass);
  mSentence = picker::CutOrderBy(mSentence);
  if (!picker::Mentions(mSentence, L"USUARIO")) c_.chkFilter[0]->setEnabled(false);
  if (!picker::Mentions(mSentence, L"FECHAALTA")) c_.chkFilter[1]->setEnabled(false);
  if (!RunQuery() || !SetupDetailGrid() || !SetupFilterGrid()) {
    SetMousePointer(pointer::Default);
    return false;
  }
  c_.cmdFirst->setVisible(true);
  c_.cmdPrevious->setVisible(true);
  page_ = 1;
  pageSize_ = picker::kFirstPageSize;
  {
    MuteEvents quiet(c_.cboPageSize->Change);  // the first page is loaded just below
    c_.cboPageSize->SelectKey(L"20");
  }
  if (!LoadPage()) {
    SetMousePointer(pointer::Default);
    return false;
  }
  SetMousePointer(pointer::Default);
  if (total_ == 1) {
    IgnoreErrors([this] {
      mRecordSource->MoveFirst();
      for (long i = 0; i < mRecordSource->FieldCount(); ++i) {
        if (mRecordSource->FieldName(i) == mFieldName) {
          oReturn = mRecordSource->Field(i);
          break;
        }
      }
    });
    Hide();
    return false;
  }
  StartAnimation();
  c_.TContainer->SetTab(0);
  TContainer_Click();
  Show(ShowMode::Modal);
  return false;
}

bool FSearch::RunQuery() {
  BuildWhere();
  mOrderBy = picker::OrderByClause(mFieldName);
  total_ = 0;
  mFinalSentence = picker::FinalSentence(mSentence, mWhere, mOrderBy);
  mRecordSource.reset();
  const bool read = IgnoreErrors([this] {
    if (data_) mRecordSource = data_->GetData(Shared().gApplicationName, mFinalSentence);
    if (mRecordSource) total_ = mRecordSource->RecordCount();
  });
  if (!read || !mRecordSource) {
    mRecordSource.reset();
    total_ = 0;
    ShowMessage(L"No se han encontrado datos para la consulta", msg::Information, kTitle);
    return false;
  }
  return true;
}

void FSearch::BuildWhere() {
  picker::Filters f;
  // A disabled box cannot be ticked: its condition never applies.
  f.ownUser = c_.chkFilter[0]->enabled() && c_.chkFilter[0]->Value() == 1;
  f.lastSixMonths = c_.chkFilter[1]->enabled() && c_.chkFilter[1]->Value() == 1;
  f.user = GetUserNameNT();
  f.today = Today();
  f.freeText = c_.txtSortKey->Text();
  // A result whose fields cannot be read ends the condition after the two boxes.
  IgnoreErrors([&] {
    if (!mRecordSource) return;
    std::vector<std::wstring> fields;
    for (long i = 0; i < mRecordSource->FieldCount(); ++i) fields.push_back(mRecordSource->FieldName(i));
    f.fields = std::move(fields);
  });
  grid::GridControl& filter = *c_.GRFilter;
  if (filter.Columns().Count() > 3) {
    for (int r = 0; r < filter.DataRowCount(); ++r)
      f.rows.push_back({filter.CellValue(r, 2).toText(), filter.CellValue(r, 3).toText()});
  }
  mWhere = picker::BuildWhere(f);
}

bool FSearch::LoadPage() {
  MousePointerScope busy(pointer::Hourglass);
  grid::GridControl& g = *c_.GRDetail;
  g.RemoveAllRows();
  if (!mRecordSource) {
    SetMousePointer(pointer::Default);
    ShowMessage(L"No existe información para Mostar en el Buscador", msg::Information, kTitle);
    return false;
  }
  filling_ = true;
  // The page shows when it is whole: the grid is not repainted for every cell written
  // (a repaint per cell costs a whole window update on a layered window).
  g.SetRedraw(false);
  const bool filled = IgnoreErrors([&] {
    const Recordset& rs = *mRecordSource;
    const picker::PageSpan span = picker::PageOf(page_, pageSize_, total_);
    if (span.firstRecord > total_) Raise(err::NoCurrentRecord);  // as positioning past the end does
    rs.SetAbsolutePosition(span.firstRecord);
    g.SetDataRowCount(span.rows);
    // Columns by name: each field goes to every data column of the same name.
    std::vector<std::vector<int>> columnsOf(rs.FieldCount());
    for (long f = 0; f < rs.FieldCount(); ++f) {
      const std::wstring name = rs.FieldName(f);
      for (int p = 1; p < g.Columns().Count(); ++p)
        if (g.Columns().Item(p).Key == name) columnsOf[f].push_back(p);
    }
    for (long r = 0; !rs.IsEOF() && r < pageSize_; ++r) {
      for (long f = 0; f < rs.FieldCount(); ++f) {
        for (int p : columnsOf[f]) {
          g.SetCellValue(r, p, BlankIfNoDate(rs.Field(f)));
          DoEvents();
          if (!loaded()) return;
        }
      }
      rs.MoveNext();
    }
  });
  filling_ = false;
  g.SetRedraw(true);
  if (!filled || !loaded()) return false;
  pageCount_ = picker::PageCount(total_, pageSize_);
  c_.txtPageNumber->SetText(std::to_wstring(page_));
  c_.txtPageCount->SetText(std::to_wstring(pageCount_));
  return true;
}

void FSearch::ApplyColumnSelection() {
  grid::GridControl& filter = *c_.GRFilter;
  for (int r = 0; r < filter.DataRowCount(); ++r) {
    const int position = FindColumn(*c_.GRDetail, filter.CellValue(r, 2).toText());
    if (position == 0) continue;  // no such column: the row-header strip stays as it is
    const Variant tick = filter.CellValue(r, 1);
    const bool selected = tick.vt() == VT_BOOL && tick.get().boolVal != VARIANT_FALSE;
    c_.GRDetail->Columns().Item(position).Hidden = !selected;
  }
  c_.GRDetail->Refresh();
}

int FSearch::FindColumn(const grid::GridMembers& grid, const std::wstring& name) {
  const grid::ColumnCollection& columns = const_cast<grid::GridMembers&>(grid).Columns();
  for (int p = 1; p < columns.Count(); ++p)
    if (columns.Item(p).Key == name) return p;
  return 0;
}

void FSearch::cmdFilterApply_Click() {
  page_ = 1;
  bool ok = false;
  const bool noError = IgnoreErrors([&] {
    ok = RunQuery();
    if (ok) {
      ApplyColumnSelection();
      ok = LoadPage();
    }
  });
  if (noError && ok) return;
  if (!loaded()) return;
  c_.txtSortKey->SetText(L"");
  c_.chkFilter[0]->SetValue(0);
  c_.chkFilter[1]->SetValue(0);
  RunQuery();
  LoadPage();
}

void FSearch::cmdFilterClear_Click() {
  page_ = 1;
  c_.txtSortKey->SetText(L"");
  c_.chkFilter[0]->SetValue(0);
  c_.chkFilter[1]->SetValue(0);
  grid::GridControl& filter = *c_.GRFilter;
  for (int r = 0; r < filter.DataRowCount(); ++r) filter.SetCellValue(r, 3, Variant(L""));
  if (RunQuery()) LoadPage();
}

void FSearch::GoToPage(long page) {
  page_ = page;
  LoadPage();
}

void FSearch::cmdFirst_Click() {
  if (page_ > 1) GoToPage(1);
}
void FSearch::cmdPrevious_Click() {
  if (page_ > 1) GoToPage(page_ - 1);
}
void FSearch::cmdNext_Click() {
  if (page_ < pageCount_) GoToPage(page_ + 1);
}
void FSearch::cmdLast_Click() {
  if (page_ < pageCount_) GoToPage(pageCount_);
}

void FSearch::cboPageSize_Click() {
  pageSize_ = CLng(Variant(c_.cboPageSize->Text()));
  // The current page is brought within the new page count before loading.
  GoToPage(picker::ClampPage(page_, picker::PageCount(total_, pageSize_)));
}

void FSearch::GRDetail_HeadClick(int position) {
  grid::GridColumn& column = c_.GRDetail->Columns().Item(position);
  column.SortType = grid::kSortDefault;
  column.SortOrder = column.SortOrder == grid::kSortAscending ? grid::kSortDescending : grid::kSortAscending;
  c_.GRDetail->Sort(position);
}

bool FSearch::TakeResult() {
  grid::GridControl& g = *c_.GRDetail;
  const grid::RowRef row = g.CurrentRow();
  if (!mKeySimple) {
    const int key = FindColumn(g, mFieldName);
    if (key == 0) Raise(err::InvalidProcedureCall);  // no key column: the picker stays open
    oReturn = g.CellValue(row.Index, key);
  } else {
    std::vector<std::wstring> names;
    std::vector<Variant> values;
    for (int p = 1; p < g.Columns().Count(); ++p) {
      names.push_back(g.Columns().Item(p).Key);
      values.push_back(g.CellValue(row.Index, p));
    }
    oReturn = NamesAndValues(names, values);
  }
  Hide();
  return true;
}

void FSearch::cmdAceptar_Click() {
  grid::GridControl& g = *c_.GRDetail;
  const int key = FindColumn(g, mFieldName);
  if (key == 0) Raise(err::InvalidProcedureCall);
  std::vector<std::wstring> keys;
  for (int r = 0; r < g.DataRowCount(); ++r) keys.push_back(g.CellValue(r, key).toText());
  oReturnFilter = picker::JoinKeys(keys);
  TakeResult();
}

void FSearch::GRDetail_DblClick() { TakeResult(); }

Variant PickKey(const std::wstring& sentence, const std::wstring& fieldName) {
  return Seam<PickerHandler>::Current()(sentence, fieldName);
}

template <>
PickerHandler Seam<PickerHandler>::Real() {
  return [](const std::wstring& sentence, const std::wstring& fieldName) {
    // However the picker ends, even by an error, it is unloaded and the pointer is
    // the default again: a picker left loaded would stay in the thread's forms.
    struct Cleanup {
      std::shared_ptr<FSearch> picker = Form::Load<FSearch>();
      ~Cleanup() {
        IgnoreErrors([this] { picker->Unload(); });
        SetMousePointer(pointer::Default);
      }
    } scope;
    FSearch& picker = *scope.picker;
    SetWindowLayered(picker.hwnd());
    picker.mSentence = sentence;
    picker.mFieldName = fieldName;
    picker.mFieldValue = L"";
    picker.ShowForm();
    SetMousePointer(pointer::Hourglass);
    return picker.oReturn;
  };
}

}  // namespace vk
