#pragma once
// Type information read from the type library inside this module (resource 1), so
// IDispatch works whether or not the library is registered. One ITypeInfo per
// interface, cached for the life of the module.
#include <windows.h>
#include <oaidl.h>

namespace vk::com {

// The cached type information of an interface of our library; nullptr when the
// library has no such interface. The pointer is borrowed, not AddRef'ed.
ITypeInfo* TypeInfoOf(REFIID iid);

// The type library itself (borrowed), or nullptr when the resource cannot be read.
ITypeLib* OwnTypeLib();

// IDispatch served straight from the type information of Interface.
template <class Interface>
class DispatchFromTypeInfo : public Interface {
 public:
  using interface_type = Interface;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = TypeInfoOf(__uuidof(Interface)) ? 1 : 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* info = TypeInfoOf(__uuidof(Interface));
    if (!info) return TYPE_E_ELEMENTNOTFOUND;
    info->AddRef();
    *out = info;
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    ITypeInfo* info = TypeInfoOf(__uuidof(Interface));
    if (!info) return E_UNEXPECTED;
    return info->GetIDsOfNames(names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override {
    ITypeInfo* info = TypeInfoOf(__uuidof(Interface));
    if (!info) return E_UNEXPECTED;
    return info->Invoke(static_cast<Interface*>(this), id, flags, params, result, exception, argError);
  }
};

}  // namespace vk::com
