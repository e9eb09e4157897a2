#pragma once
// An IDispatch that passes every call on to another object through a hook, for tests
// that step in between a screen and its data object: something run before a call, an
// answer changed after it, or a member that raises (the hook throws a VbError, which
// reaches the caller as the component's exception).
//
//   ComPtr<IDispatch> tapped = DispatchTap::Wrap(real, [](const std::wstring& member,
//       DISPPARAMS* params, VARIANT* result, const std::function<HRESULT()>& call) {
//     return call();  // the real object's answer, unchanged
//   });
//
// OnlyMembers gives an object that knows no member but the ones named, as an outside
// component that offers fewer members than the object it wraps.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/vb_error.h"
#include "com/com_ptr.h"
#include "com/error_info.h"

namespace vk::test {

class DispatchTap final : public IDispatch {
 public:
  // The member's name as the caller spelled it, the arguments (last first, as IDispatch
  // passes them), the result, and the call on the real object; it answers the HRESULT.
  using Hook = std::function<HRESULT(const std::wstring& member, DISPPARAMS* params, VARIANT* result,
                                     const std::function<HRESULT()>& call)>;

  static com::ComPtr<IDispatch> Wrap(com::ComPtr<IDispatch> inner, Hook hook) {
    if (!inner) return inner;
    return com::ComPtr<IDispatch>::Attach(new DispatchTap(std::move(inner), std::move(hook), {}));
  }

  // `inner` answering to `members` only: any other name is unknown, as GetIDsOfNames
  // says of a member an object does not have.
  static com::ComPtr<IDispatch> OnlyMembers(com::ComPtr<IDispatch> inner, std::vector<std::wstring> members) {
    if (!inner) return inner;
    return com::ComPtr<IDispatch>::Attach(new DispatchTap(
        std::move(inner), [](const std::wstring&, DISPPARAMS*, VARIANT*, const std::function<HRESULT()>& call) {
          return call();
        },
        std::move(members)));
  }

  // The text of a call's second argument ("" when it has no such text): the statement
  // or procedure of the data component's GetData and Execute.
  static std::wstring CommandText(const DISPPARAMS* params) {
    if (!params || params->cArgs < 2) return L"";
    const VARIANT& command = params->rgvarg[params->cArgs - 2];  // passed last first
    return V_VT(&command) == VT_BSTR ? V_BSTR(&command) : L"";
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override { return inner_->GetTypeInfo(i, lcid, info); }
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    if (!members_.empty() && count > 0 && !Offers(names[0])) {
      for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    const HRESULT hr = inner_->GetIDsOfNames(iid, names, count, lcid, ids);
    if (SUCCEEDED(hr) && count > 0) names_[ids[0]] = names[0];
    return hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* error, UINT* argError) override {
    const auto name = names_.find(id);
    try {
      return hook_(name == names_.end() ? std::wstring() : name->second, params, result,
                   [&] { return inner_->Invoke(id, iid, lcid, flags, params, result, error, argError); });
    } catch (const VbError& raised) {
      if (error) {
        *error = EXCEPINFO{};
        error->scode = com::HresultOf(raised.number);
        error->bstrSource = SysAllocString(raised.source.c_str());
        error->bstrDescription = SysAllocString(raised.description.c_str());
      }
      return DISP_E_EXCEPTION;
    }
  }

 private:
  DispatchTap(com::ComPtr<IDispatch> inner, Hook hook, std::vector<std::wstring> members)
      : inner_(std::move(inner)), hook_(std::move(hook)), members_(std::move(members)) {}

  bool Offers(const wchar_t* name) const {
    for (const std::wstring& member : members_)
      if (_wcsicmp(member.c_str(), name) == 0) return true;
    return false;
  }

  com::ComPtr<IDispatch> inner_;
  Hook hook_;
  std::vector<std::wstring> members_;  // empty: every member of the inner object
  std::map<DISPID, std::wstring> names_;
  LONG refs_ = 1;
};

}  // namespace vk::test
