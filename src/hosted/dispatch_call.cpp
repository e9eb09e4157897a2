#include "hosted/dispatch_call.h"

#include <algorithm>
#include <vector>

#include "runtime/vb_error.h"

namespace vk::hosted {
namespace {

void Invoke(IDispatch* object, DISPID id, const std::vector<VARIANT>& args, VARIANT* result,
            const wchar_t* name) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());  // IDispatch takes them last first
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO info{};
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                              &params, result, &info, nullptr);
  if (SUCCEEDED(hr)) return;
  VbError error;
  if (hr == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    error.number = info.scode ? static_cast<long>(info.scode) : info.wCode;
    if (info.bstrSource) error.source = info.bstrSource;
    if (info.bstrDescription) error.description = info.bstrDescription;
  } else {
    error.number = static_cast<long>(hr);
    error.source = name;
  }
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  throw error;
}

}  // namespace

void CallMember(IDispatch* object, const wchar_t* name, const std::vector<VARIANT>& args, VARIANT* result) {
  if (!object) Raise(err::ObjectRequired);
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw VbError{438, name, L"Object doesn't support this property or method"};
  Invoke(object, id, args, result, name);
}

void CallDefault(IDispatch* object, const std::vector<VARIANT>& args, VARIANT* result) {
  if (!object) Raise(err::ObjectRequired);
  Invoke(object, DISPID_VALUE, args, result, L"Item");
}

namespace {

long LongOf(const VARIANT& value) {
  VARIANT n;
  VariantInit(&n);
  if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(&value), 0, VT_I4))) Raise(err::TypeMismatch);
  return n.lVal;
}

bool BoolOf(const VARIANT& value) {
  VARIANT b;
  VariantInit(&b);
  if (FAILED(VariantChangeType(&b, const_cast<VARIANT*>(&value), 0, VT_BOOL))) Raise(err::TypeMismatch);
  return b.boolVal != VARIANT_FALSE;
}

IDispatch* ObjectOf(const VariantValue& value) {
  if (value.get().vt != VT_DISPATCH || !value.get().pdispVal) Raise(err::ObjectRequired);
  return value.get().pdispVal;
}

}  // namespace

std::vector<std::vector<std::wstring>> RecordsetRows(IDispatch* recordset, long columns) {
  std::vector<std::vector<std::wstring>> rows;
  if (!recordset) return rows;
  VariantValue count, fields, fieldCount, eof, ignored;
  CallMember(recordset, L"RecordCount", {}, count.put());
  CallMember(recordset, L"Fields", {}, fields.put());
  CallMember(ObjectOf(fields), L"Count", {}, fieldCount.put());
  columns = std::min(columns, LongOf(fieldCount.get()));
  // ADO raises on MoveFirst over an empty recordset.
  if (LongOf(count.get()) == 0) return rows;
  CallMember(recordset, L"MoveFirst", {}, ignored.put());
  // The Fields collection follows the current row, so one reference serves every row.
  IDispatch* rowFields = ObjectOf(fields);
  for (;;) {
    CallMember(recordset, L"EOF", {}, eof.put());
    if (BoolOf(eof.get())) break;
    std::vector<std::wstring> row;
    for (long column = 0; column < columns; ++column) {
      VariantValue field, value;
      VARIANT index;
      VariantInit(&index);
      index.vt = VT_I4;
      index.lVal = column;
      CallDefault(rowFields, {index}, field.put());
      CallMember(ObjectOf(field), L"Value", {}, value.put());
      row.push_back(TextOf(value.get()));
    }
    rows.push_back(std::move(row));
    CallMember(recordset, L"MoveNext", {}, ignored.put());
  }
  return rows;
}

std::wstring TextOf(const VARIANT& value) {
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) return {};
  if (value.vt == VT_BSTR) return value.bstrVal ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : L"";
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR))) {
    Raise(err::TypeMismatch);
  }
  std::wstring result(text.bstrVal, SysStringLen(text.bstrVal));
  VariantClear(&text);
  return result;
}

}  // namespace vk::hosted
