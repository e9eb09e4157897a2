#include "dataaccess/recordset.h"

namespace vk::data {

namespace {

enum : DISPID {
  kRecordCount = 1, kMoveFirst, kMoveNext, kEOF, kAbsolutePosition,
  kCount = 20, kName, kType,
};

// ADO's answers for a position that is no record.
constexpr long kPositionUnknown = -1;
constexpr long kPositionEOF = -3;

void SetDispatch(VARIANT* out, IDispatch* object) {
  V_VT(out) = VT_DISPATCH;
  V_DISPATCH(out) = object;
}

long WholeNumber(const VARIANT& given) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(VariantChangeType(&v, const_cast<VARIANT*>(&given), 0, VT_I4))) RaiseOutOfRange();
  return V_I4(&v);
}

}  // namespace

std::span<const Member> Recordset::Members() {
  static const Member members[] = {
      {L"RecordCount", kRecordCount}, {L"MoveFirst", kMoveFirst}, {L"MoveNext", kMoveNext},
      {L"EOF", kEOF}, {L"AbsolutePosition", kAbsolutePosition},
      {L"Fields", DISPID_VALUE},  // the default member, as in ADO: rs("name") is rs.Fields("name")
  };
  return members;
}

Recordset::Recordset(std::shared_ptr<const Rowset> rows) : cursor_(std::make_shared<Cursor>()) {
  cursor_->rows = std::move(rows);
}

HRESULT Recordset::Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result) {
  Cursor& c = *cursor_;
  const size_t count = c.rows->RowCount();
  switch (id) {
    case kRecordCount:
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<long>(count);
      return S_OK;
    case kMoveFirst:
      if (count == 0) RaiseNoCurrentRecord();
      c.position = 0;
      return S_OK;
    case kMoveNext:
      if (c.AtEnd()) RaiseNoCurrentRecord();
      ++c.position;
      return S_OK;
    case kEOF:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = c.AtEnd() ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case kAbsolutePosition:
      if (IsPut(flags)) {
        long position = WholeNumber(args.PutValue());
        if (position < 1 || static_cast<size_t>(position) > count) RaiseOutOfRange();
        c.position = static_cast<size_t>(position - 1);
        return S_OK;
      }
      V_VT(result) = VT_I4;
      V_I4(result) = count == 0 ? kPositionUnknown : c.AtEnd() ? kPositionEOF : static_cast<long>(c.position + 1);
      return S_OK;
    case DISPID_VALUE:
      if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
      if (args.size() >= 1) {
        SetDispatch(result, Fields::Item(cursor_, args[0]));
      } else {
        SetDispatch(result, Fields::Create(cursor_));
      }
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

std::span<const Member> Fields::Members() {
  static const Member members[] = {{L"Count", kCount}, {L"Item", DISPID_VALUE}};
  return members;
}

IDispatch* Fields::Item(const std::shared_ptr<Cursor>& cursor, const VARIANT& key) {
  const Rowset& rows = *cursor->rows;
  long column = -1;
  if (V_VT(&key) == VT_BSTR) {
    column = rows.FindColumn(V_BSTR(&key) ? V_BSTR(&key) : L"");
  } else {
    VARIANT index;
    VariantInit(&index);
    if (FAILED(VariantChangeType(&index, const_cast<VARIANT*>(&key), 0, VT_I4))) RaiseItemNotFound();
    column = V_I4(&index);
  }
  if (column < 0 || static_cast<size_t>(column) >= rows.ColumnCount()) RaiseItemNotFound();
  return Field::Create(cursor, static_cast<size_t>(column));
}

HRESULT Fields::Call(DISPID id, WORD flags, const Arguments& args, VARIANT* result) {
  if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
  if (id == kCount) {
    V_VT(result) = VT_I4;
    V_I4(result) = static_cast<long>(cursor_->rows->ColumnCount());
    return S_OK;
  }
  if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
  SetDispatch(result, Item(cursor_, args[0]));
  return S_OK;
}

std::span<const Member> Field::Members() {
  static const Member members[] = {{L"Value", DISPID_VALUE}, {L"Name", kName}, {L"Type", kType}};
  return members;
}

HRESULT Field::Call(DISPID id, WORD flags, const Arguments&, VARIANT* result) {
  if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
  const ColumnInfo& column = cursor_->rows->Column(column_);
  switch (id) {
    case DISPID_VALUE:
      if (cursor_->AtEnd()) RaiseNoCurrentRecord();
      cursor_->rows->Read(cursor_->position, column_, result);
      return S_OK;
    case kName:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(column.name.c_str());
      return S_OK;
    case kType:
      V_VT(result) = VT_I4;
      V_I4(result) = column.type;
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace vk::data
