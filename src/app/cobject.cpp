#include "app/cobject.h"

#include "app/screen_factory.h"
#include "base/edge_report.h"
#include "base/exception_error.h"
#include "base/steps.h"
#include "base/vb_error.h"
#include "com/com_ptr.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/profile_loaders.h"
#include "screen_kit/registry.h"
#include "screen_kit/shared_state.h"

namespace vk::app {
namespace {

std::wstring TextOf(BSTR value) { return value ? std::wstring(value, SysStringLen(value)) : std::wstring(); }

const wchar_t kBuildSource[] = L"[MorvalZIVI01.Build]";
const wchar_t kKillSource[] = L"[MorvalZIVI01.Kill]";

}  // namespace

CObject::~CObject() {
  // Releasing the object closes its screen; nothing may fail the release.
  if (screen_) IgnoreErrors([&] { screen_->UnloadScreen(); });
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

// Error exits of Build and Kill: the normal pointer back, the error to the host
// under the method's own source.
template <class Body>
HRESULT RaiseToHost(const wchar_t* source, Body&& body) noexcept {
  return com::ComMethod(IID__CObject, [&] {
    try {
      body();
    } catch (...) {
      SetMousePointer(pointer::Default);
      VbError error = CurrentVbError();
      error.source = source;
      throw error;
    }
  });
}

void CObject::BuildScreen() {
  SetMousePointer(pointer::ArrowHourglass);
  LoadInternationalSettings();
  SharedState& state = Shared();
  state.gApplicationName = applicationName_;
  // A failed parameter load leaves no error of its own: the host gets error 5.
  if (!LoadParameters()) Raise(err::InvalidProcedureCall);
  state.gObjectId = objectId_;
  if (!LoadUser()) {
    state.gEmpleadoId = L"-1";
    state.gUserLevel = -1;
    state.gGerenciaId = L"-1";
    state.gPermissions.fill(false);
  }
  const FormCode* code = FindFormCode(objectName_);
  if (!code) return;  // nothing opened; the busy pointer stays
  std::shared_ptr<DocumentForm> screen = Seam<ScreenFactory>::Current()(code->formName);
  // A code that names a screen this component cannot make is a failure the host must
  // hear of, not a busy pointer left on.
  if (!screen) Raise(err::CannotCreateObject);
  screen_ = screen;
  screen->SetHWndContainer(hwnd_);
  screen->SetMode(code->mode);
  screen->MakeForm();
}

void CObject::KillScreen() {
  // No screen held: unloading an empty reference is the platform's error 91.
  if (!screen_) Raise(err::ObjectNotSet);
  screen_->UnloadScreen();
}

void CObject::ResizeScreen() noexcept {
  // The host's resizing never fails.
  GuardEdge(L"host's resize", [&] {
    if (screen_ && screen_->IsScreenLoaded()) screen_->Form_Resize();
  });
}

// Build and Kill yield (a message box, a screen's own loops): a host that releases
// this object meanwhile must not free it under the running call.
STDMETHODIMP CObject::Build(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  const com::ComPtr<_CObject> holdWhileBuilding(this);
  return RaiseToHost(kBuildSource, [&] { BuildScreen(); });
}

STDMETHODIMP CObject::Kill(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  const com::ComPtr<_CObject> holdWhileKilling(this);
  return RaiseToHost(kKillSource, [&] { KillScreen(); });
}

STDMETHODIMP CObject::Resize(VARIANT_BOOL* result) {
  if (!result) return E_POINTER;
  *result = VARIANT_FALSE;
  ResizeScreen();
  return S_OK;
}

}  // namespace vk::app
