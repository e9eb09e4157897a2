#pragma once
// IDispatch by name for objects that late-bound callers (scripts, the component)
// reach only through GetIDsOfNames and Invoke, the way the data-access component
// they stand in for is reached. A class lists its members; Invoke hands the call,
// with its arguments in the caller's order, to the class's Call. An error leaves
// as DISP_E_EXCEPTION with the number, source and text filled in.
#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>
#include <vector>

#include "base/exception_error.h"
#include "base/vb_error.h"
#include "com/error_info.h"

namespace vk::data {

struct Member {
  const wchar_t* name;
  DISPID id;
};

// The arguments of one call, first argument first, references followed.
class Arguments {
 public:
  explicit Arguments(const DISPPARAMS* params);
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;
  ~Arguments();
  size_t size() const { return values_.size(); }
  const VARIANT& operator[](size_t i) const { return values_[i]; }
  // The value of a property put (the named argument, always the last).
  const VARIANT& PutValue() const { return values_.back(); }

 private:
  std::vector<VARIANT> values_;
};

template <class Derived>
class NamedDispatch : public IDispatch {
 public:
  using interface_type = IDispatch;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (const Member& m : Derived::Members()) {
      if (CompareStringOrdinal(m.name, -1, names[0], -1, TRUE) == CSTR_EQUAL) ids[0] = m.id;
    }
    if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    if (count > 1) hr = DISP_E_UNKNOWNNAME;  // no member takes named arguments
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT*) override {
    bool known = false;
    for (const Member& m : Derived::Members()) known = known || m.id == id;
    if (!known) return DISP_E_MEMBERNOTFOUND;
    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT* out = result ? result : &ignored;
    VariantInit(out);
    HRESULT hr = S_OK;
    VbError error;
    try {
      Arguments args(params);
      hr = static_cast<Derived*>(this)->Call(id, flags, args, out);
    } catch (...) {
      error = CurrentVbError();
    }
    VariantClear(&ignored);
    if (error.number == 0) return hr;
    VariantClear(out);
    if (error.source.empty()) error.source = Derived::kSource;
    HRESULT code = com::ReportError(error, IID_IDispatch);
    if (exception) {
      *exception = EXCEPINFO{};
      exception->bstrSource = SysAllocString(error.source.c_str());
      exception->bstrDescription = SysAllocString(error.description.c_str());
      exception->scode = code;
    }
    return DISP_E_EXCEPTION;
  }

 protected:
  static bool IsPut(WORD flags) { return (flags & DISPATCH_PROPERTYPUT) != 0; }
};

// Errors the recordset raises, with the numbers and texts ADO gives them.
[[noreturn]] void RaiseNoCurrentRecord();
[[noreturn]] void RaiseItemNotFound();
[[noreturn]] void RaiseOutOfRange();

}  // namespace vk::data
