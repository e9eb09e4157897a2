#pragma once
// CToolTipBaloon: the balloon tooltip as a creatable COM class. A host sets the look
// through properties and calls ShowToolTip; the work is done by BalloonTip. The
// font and the picture are the host's OLE objects, kept by reference.
#include <windows.h>
#include <ocidl.h>

#include "MorvalZIVI01.h"
#include "com/com_object.h"
#include "com/com_ptr.h"
#include "com/error_info.h"
#include "com/type_info.h"
#include "controls/balloon/balloon_tip.h"

namespace vk::controls {

class CToolTipBaloon
    : public com::ComObject<CToolTipBaloon, com::DispatchFromTypeInfo<_CToolTipBaloon>,
                            com::SupportsErrorInfo<_CToolTipBaloon>> {
 public:
  CToolTipBaloon();
  ~CToolTipBaloon() override = default;

  // _CToolTipBaloon
  STDMETHODIMP zSubclass_Proc(VARIANT_BOOL bBefore, VARIANT_BOOL* bHandled, LONG* lReturn,
                              LONG* lng_hWnd, LONG* uMsg, LONG* wParam, LONG* lParam) override;
  STDMETHODIMP put_Alive(VARIANT_BOOL value) override;
  STDMETHODIMP get_Alive(VARIANT_BOOL* value) override;
  STDMETHODIMP put_Shadow(VARIANT_BOOL value) override;
  STDMETHODIMP get_Shadow(VARIANT_BOOL* value) override;
  STDMETHODIMP get_Font(IDispatch** value) override;
  STDMETHODIMP putref_Font(IDispatch* value) override;
  STDMETHODIMP put_Font(IDispatch* value) override;
  STDMETHODIMP put_IconSize(ttIconSize value) override;
  STDMETHODIMP get_IconSize(ttIconSize* value) override;
  STDMETHODIMP put_ToolTipStyle(ttStyleEnum value) override;
  STDMETHODIMP get_ToolTipStyle(ttStyleEnum* value) override;
  STDMETHODIMP put_TextColor(LONG value) override;
  STDMETHODIMP get_TextColor(LONG* value) override;
  STDMETHODIMP put_GradientColorStart(LONG value) override;
  STDMETHODIMP get_GradientColorStart(LONG* value) override;
  STDMETHODIMP put_GradientColorEnd(LONG value) override;
  STDMETHODIMP get_GradientColorEnd(LONG* value) override;
  STDMETHODIMP put_BackColor(LONG value) override;
  STDMETHODIMP get_BackColor(LONG* value) override;
  STDMETHODIMP put_BackStyle(LONG value) override;
  STDMETHODIMP get_BackStyle(LONG* value) override;
  STDMETHODIMP put_DelayTime(LONG value) override;
  STDMETHODIMP get_DelayTime(LONG* value) override;
  STDMETHODIMP put_KillTime(LONG value) override;
  STDMETHODIMP get_KillTime(LONG* value) override;
  STDMETHODIMP putref_Picture(IDispatch* value) override;
  STDMETHODIMP get_Picture(IDispatch** value) override;
  STDMETHODIMP ShowToolTip(LONG aWnd, BSTR Title, BSTR Text, LONG cIcon,
                           LONG TransparentAlpha) override;

  BalloonTip& balloon() { return balloon_; }

 private:
  BalloonTip balloon_;
};

}  // namespace vk::controls
