#include "host/cobject.h"

#include "runtime/vb_error.h"

namespace vk {
namespace {

std::wstring TextOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

const wchar_t kBuildSource[] = L"[MorvalZIVI01.Build]";
const wchar_t kKillSource[] = L"[MorvalZIVI01.Kill]";

}  // namespace

CObject::~CObject() {
  VariantClear(&reservedValue2_);
  VariantClear(&reservedValue3_);
  VariantClear(&reservedValue4_);
  VariantClear(&reservedValue5_);
  VariantClear(&parameters_);
}

HRESULT CObject::StoreVariant(VARIANT& slot, const VARIANT& value) {
  VARIANT copy;
  VariantInit(&copy);
  HRESULT hr = VariantCopyInd(&copy, const_cast<VARIANT*>(&value));
  if (FAILED(hr)) return hr;
  VariantClear(&slot);
  slot = copy;
  return S_OK;
}

STDMETHODIMP CObject::put_ApplicationName(BSTR value) {
  return com::ComMethod(IID__CObject, [&] { applicationName_ = TextOf(value); });
}
STDMETHODIMP CObject::put_ObjectId(BSTR value) {
  return com::ComMethod(IID__CObject, [&] { objectId_ = TextOf(value); });
}
STDMETHODIMP CObject::put_ObjectName(BSTR value) {
  return com::ComMethod(IID__CObject, [&] { objectName_ = TextOf(value); });
}
STDMETHODIMP CObject::put_ObjectLocation(LONG value) { objectLocation_ = value; return S_OK; }
STDMETHODIMP CObject::put_hwnd(LONG value) { hwnd_ = value; return S_OK; }
STDMETHODIMP CObject::put_ReservedValue2(VARIANT value) { return StoreVariant(reservedValue2_, value); }
STDMETHODIMP CObject::put_ReservedValue3(VARIANT value) { return StoreVariant(reservedValue3_, value); }
STDMETHODIMP CObject::put_ReservedValue4(VARIANT value) { return StoreVariant(reservedValue4_, value); }
STDMETHODIMP CObject::put_ReservedValue5(VARIANT value) { return StoreVariant(reservedValue5_, value); }
STDMETHODIMP CObject::put_Parameters(VARIANT value) { return StoreVariant(parameters_, value); }

STDMETHODIMP CObject::Build(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  return com::ComMethod(IID__CObject, [&] {
    (void)kBuildSource;
  });
}

STDMETHODIMP CObject::Kill(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  return com::ComMethod(IID__CObject, [&] {
    // No screen is held yet: unloading an empty reference is the platform's error 91.
    Raise(err::ObjectNotSet, kKillSource);
  });
}

STDMETHODIMP CObject::Resize(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  return S_OK;
}

}  // namespace vk
