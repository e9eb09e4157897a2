#include "hosted/recordset_rows.h"

#include <algorithm>

#include "base/variant.h"
#include "base/vb_error.h"
#include "com/late_bound.h"

namespace vk::hosted {
namespace {

// An object a member must return (Fields, Fields(i)); anything else raises 424.
IDispatch* ObjectOf(const Variant& value) {
  IDispatch* object = value.vt() == VT_DISPATCH ? value.object() : nullptr;
  if (!object) Raise(err::ObjectRequired);
  return object;
}

// The text of a field as the controls show it: Null and Empty give "".
std::wstring TextOf(const Variant& value) { return value.isNull() || value.isEmpty() ? std::wstring() : value.toText(); }

}  // namespace

std::vector<std::vector<std::wstring>> RecordsetRows(IDispatch* recordset, long columns) {
  std::vector<std::vector<std::wstring>> rows;
  if (!recordset) return rows;
  const Variant count = com::Call(recordset, L"RecordCount");
  const Variant fields = com::Call(recordset, L"Fields");
  columns = std::min(columns, com::Call(ObjectOf(fields), L"Count").toLong());
  // ADO raises on MoveFirst over an empty recordset.
  if (count.toLong() == 0) return rows;
  com::Call(recordset, L"MoveFirst");
  // The Fields collection follows the current row, so one reference serves every row.
  IDispatch* rowFields = ObjectOf(fields);
  while (!com::Call(recordset, L"EOF").toBool()) {
    std::vector<std::wstring> row;
    for (long column = 0; column < columns; ++column) {
      const Variant field = com::Call(rowFields, L"Item", {column});
      row.push_back(TextOf(com::Call(ObjectOf(field), L"Value")));
    }
    rows.push_back(std::move(row));
    com::Call(recordset, L"MoveNext");
  }
  return rows;
}

}  // namespace vk::hosted
