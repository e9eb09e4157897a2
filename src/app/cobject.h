#pragma once
// CObject: the host's door into the component. The host writes its properties,
// calls Build to open the screen its form code names inside the host window,
// Resize when that window changes size and Kill to close the screen.
#include <windows.h>

#include <memory>
#include <string>

#include "MorvalZIVI01.h"
#include "com/com_object.h"
#include "com/error_info.h"
#include "com/type_info.h"
#include "screen_kit/document_form.h"

namespace vk::app {

class CObject : public com::ComObject<CObject, com::DispatchFromTypeInfo<_CObject>,
                                      com::SupportsErrorInfo<_CObject>> {
 public:
  CObject() = default;
  ~CObject() override;

  // _CObject
  STDMETHODIMP put_ApplicationName(BSTR value) override;
  STDMETHODIMP put_ObjectId(BSTR value) override;
  STDMETHODIMP put_ObjectName(BSTR value) override;
  STDMETHODIMP put_ObjectLocation(LONG value) override;
  STDMETHODIMP put_hwnd(LONG value) override;
  STDMETHODIMP put_ReservedValue2(VARIANT value) override;
  STDMETHODIMP put_ReservedValue3(VARIANT value) override;
  STDMETHODIMP put_ReservedValue4(VARIANT value) override;
  STDMETHODIMP put_ReservedValue5(VARIANT value) override;
  STDMETHODIMP put_Parameters(VARIANT value) override;
  STDMETHODIMP Build(VARIANT_BOOL* result) override;
  STDMETHODIMP Kill(VARIANT_BOOL* result) override;
  STDMETHODIMP Resize(VARIANT_BOOL* result) override;

  // What the host wrote, for the screens and for tests.
  const std::wstring& applicationName() const { return applicationName_; }
  const std::wstring& objectId() const { return objectId_; }
  const std::wstring& objectName() const { return objectName_; }
  long objectLocation() const { return objectLocation_; }
  long hwnd() const { return hwnd_; }
  const std::shared_ptr<DocumentForm>& heldScreen() const { return screen_; }

 private:
  static HRESULT StoreVariant(VARIANT& slot, const VARIANT& value);
  void BuildScreen();
  void KillScreen();
  void ResizeScreen() noexcept;

  std::wstring applicationName_;
  std::wstring objectId_;
  std::wstring objectName_;
  long objectLocation_ = 0;
  long hwnd_ = 0;
  VARIANT reservedValue2_{};
  VARIANT reservedValue3_{};
  VARIANT reservedValue4_{};
  VARIANT reservedValue5_{};
  VARIANT parameters_{};
  // The screen the last Build opened. An earlier one stays loaded on its own.
  std::shared_ptr<DocumentForm> screen_;
};

}  // namespace vk::app
