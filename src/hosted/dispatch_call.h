#pragma once
// Late-bound calls on an automation object by member name, as the controls make them
// on the recordsets they are handed (RecordCount, MoveFirst, EOF, Fields(i).Value).
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace vk::hosted {

// A VARIANT that clears itself.
class VariantValue {
 public:
  VariantValue() { VariantInit(&v_); }
  VariantValue(const VariantValue&) = delete;
  VariantValue& operator=(const VariantValue&) = delete;
  ~VariantValue() { VariantClear(&v_); }
  VARIANT* put() { VariantClear(&v_); return &v_; }
  const VARIANT& get() const { return v_; }
  VARIANT& get() { return v_; }

 private:
  VARIANT v_;
};

// Calls member `name` (a method or property read) with the given arguments, in the
// caller's order. Throws VbError with the callee's error when the call fails.
void CallMember(IDispatch* object, const wchar_t* name, const std::vector<VARIANT>& args, VARIANT* result);
// Reads the default member with the given arguments: collection(i).
void CallDefault(IDispatch* object, const std::vector<VARIANT>& args, VARIANT* result);

// The rows of an ADO recordset as texts, the first `columns` fields of each (fewer when
// the recordset has fewer); walked with RecordCount, MoveFirst, EOF, MoveNext and
// Fields(i).Value. A null recordset has no rows.
std::vector<std::vector<std::wstring>> RecordsetRows(IDispatch* recordset, long columns);

// The text of a value as the controls show it: Null and Empty give "".
std::wstring TextOf(const VARIANT& value);

}  // namespace vk::hosted
