#include "com/late_bound.h"

#include <string>
#include <vector>

#include "base/vb_error.h"
#include "com/error_info.h"

namespace vk::com {
namespace {

[[noreturn]] void Fail(HRESULT hr, EXCEPINFO& exception, std::wstring_view member) {
  if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
  VbError error;
  HRESULT code = hr == DISP_E_EXCEPTION && exception.scode ? exception.scode : hr;
  if (hr == DISP_E_EXCEPTION && !exception.scode && exception.wCode) code = HresultOf(exception.wCode);
  error.number = ErrorNumberOf(code);
  if (exception.bstrSource) error.source = exception.bstrSource;
  if (exception.bstrDescription) error.description = exception.bstrDescription;
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) error.number = 438;
  if (error.description.empty()) {
    error.description = StandardErrorText(error.number);
    if (error.description.empty()) error.description = std::wstring(member) + L" failed";
  }
  throw error;
}

DISPID IdOf(IDispatch* object, std::wstring_view member) {
  if (!object) Raise(err::ObjectNotSet);
  std::wstring name(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = 0;
  EXCEPINFO exception{};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) Fail(hr, exception, member);
  return id;
}

Variant Invoke(IDispatch* object, std::wstring_view member, WORD flags, std::initializer_list<Variant> args) {
  const DISPID id = IdOf(object, member);
  EXCEPINFO exception{};
  HRESULT hr = S_OK;

  // DISPPARAMS wants the arguments last to first.
  std::vector<VARIANT> reversed;
  reversed.reserve(args.size());
  for (auto it = std::rbegin(args); it != std::rend(args); ++it) reversed.push_back(it->get());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Variant result;
  UINT argError = 0;
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                      (flags & DISPATCH_PROPERTYPUT) ? nullptr : result.put(), &exception, &argError);
  if (FAILED(hr)) Fail(hr, exception, member);
  return result;
}

}  // namespace

ComPtr<IDispatch> CreateObject(std::wstring_view progId) {
  const std::wstring name(progId);
  CLSID clsid{};
  ComPtr<IDispatch> object;
  HRESULT hr = CLSIDFromProgID(name.c_str(), &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch, object.put_void());
  if (hr == E_NOINTERFACE) Raise(430);
  if (FAILED(hr) || !object) Raise(err::CannotCreateObject);
  return object;
}

BoundMember::BoundMember(IDispatch* object, std::wstring_view member)
    : object_(object), member_(member), id_(IdOf(object, member)) {}

Variant BoundMember::Call() const {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXCEPINFO exception{};
  UINT argError = 0;
  Variant result;
  const HRESULT hr = object_->Invoke(id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                     &none, result.put(), &exception, &argError);
  if (FAILED(hr)) Fail(hr, exception, member_);
  return result;
}

long ErrorNumberOf(HRESULT hr) {
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
  return static_cast<long>(hr);
}

Variant Call(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args) {
  return Invoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
}

Variant Get(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args) {
  return Invoke(object, member, DISPATCH_PROPERTYGET, args);
}

void Put(IDispatch* object, std::wstring_view member, const Variant& value) {
  Invoke(object, member, DISPATCH_PROPERTYPUT, {value});
}

}  // namespace vk::com
