#include "controls/balloon/ctooltip_baloon.h"

#include <olectl.h>

#include <string>

namespace vk::controls {

namespace {

std::wstring TextOf(BSTR value) {
  return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

// A new font object as a host gets from a new StdFont.
com::ComPtr<IDispatch> NewDefaultFont() { return CreateOleFont(FontDescription{}).as<IDispatch>(); }

}  // namespace

CToolTipBaloon::CToolTipBaloon() { balloon_.look.font = NewDefaultFont(); }

STDMETHODIMP CToolTipBaloon::zSubclass_Proc(VARIANT_BOOL bBefore, VARIANT_BOOL* bHandled,
                                            LONG* lReturn, LONG* lng_hWnd, LONG* uMsg,
                                            LONG* wParam, LONG* lParam) {
  if (!bHandled || !lReturn || !lng_hWnd || !uMsg || !wParam || !lParam) return E_POINTER;
  return com::ComMethod(IID__CToolTipBaloon, [&] {
    bool handled = *bHandled != VARIANT_FALSE;
    LRESULT result = *lReturn;
    balloon_.zSubclass_Proc(bBefore != VARIANT_FALSE, handled, result,
                            reinterpret_cast<HWND>(static_cast<INT_PTR>(*lng_hWnd)),
                            static_cast<UINT>(*uMsg), static_cast<WPARAM>(*wParam),
                            static_cast<LPARAM>(*lParam));
    *bHandled = handled ? VARIANT_TRUE : VARIANT_FALSE;
    *lReturn = static_cast<LONG>(result);
  });
}

#define VK_BOOL_PROPERTY(Name, field)                                                      \
  STDMETHODIMP CToolTipBaloon::put_##Name(VARIANT_BOOL value) {                           \
    field = value != VARIANT_FALSE;                                                        \
    return S_OK;                                                                           \
  }                                                                                        \
  STDMETHODIMP CToolTipBaloon::get_##Name(VARIANT_BOOL* value) {                          \
    if (!value) return E_POINTER;                                                          \
    *value = field ? VARIANT_TRUE : VARIANT_FALSE;                                         \
    return S_OK;                                                                           \
  }

#define VK_LONG_PROPERTY(Name, Type, field, FieldType)                                     \
  STDMETHODIMP CToolTipBaloon::put_##Name(Type value) {                                    \
    field = static_cast<FieldType>(value);                                                 \
    return S_OK;                                                                           \
  }                                                                                        \
  STDMETHODIMP CToolTipBaloon::get_##Name(Type* value) {                                   \
    if (!value) return E_POINTER;                                                          \
    *value = static_cast<Type>(field);                                                     \
    return S_OK;                                                                           \
  }

VK_BOOL_PROPERTY(Alive, balloon_.alive)
VK_BOOL_PROPERTY(Shadow, balloon_.look.shadow)
VK_LONG_PROPERTY(IconSize, ttIconSize, balloon_.look.iconSize, long)
VK_LONG_PROPERTY(ToolTipStyle, ttStyleEnum, balloon_.look.style, BalloonStyle)
VK_LONG_PROPERTY(TextColor, LONG, balloon_.look.textColor, OleColor)
VK_LONG_PROPERTY(GradientColorStart, LONG, balloon_.look.gradientStart, OleColor)
VK_LONG_PROPERTY(GradientColorEnd, LONG, balloon_.look.gradientEnd, OleColor)
VK_LONG_PROPERTY(BackColor, LONG, balloon_.look.backColor, OleColor)
VK_LONG_PROPERTY(BackStyle, LONG, balloon_.look.backStyle, long)
VK_LONG_PROPERTY(DelayTime, LONG, balloon_.look.delayTime, long)
VK_LONG_PROPERTY(KillTime, LONG, balloon_.look.killTime, long)

#undef VK_BOOL_PROPERTY
#undef VK_LONG_PROPERTY

STDMETHODIMP CToolTipBaloon::get_Font(IDispatch** value) {
  if (!value) return E_POINTER;
  *value = balloon_.look.font.get();
  if (*value) (*value)->AddRef();
  return S_OK;
}

// Both setters keep the caller's object, as the font is shared with whoever set it.
STDMETHODIMP CToolTipBaloon::putref_Font(IDispatch* value) {
  balloon_.look.font = com::ComPtr<IDispatch>(value);
  return S_OK;
}
STDMETHODIMP CToolTipBaloon::put_Font(IDispatch* value) { return putref_Font(value); }

STDMETHODIMP CToolTipBaloon::putref_Picture(IDispatch* value) {
  balloon_.look.picture = com::ComPtr<IDispatch>(value);
  return S_OK;
}

STDMETHODIMP CToolTipBaloon::get_Picture(IDispatch** value) {
  if (!value) return E_POINTER;
  *value = balloon_.look.picture.get();
  if (*value) (*value)->AddRef();
  return S_OK;
}

STDMETHODIMP CToolTipBaloon::ShowToolTip(LONG aWnd, BSTR Title, BSTR Text, LONG cIcon,
                                         LONG TransparentAlpha) {
  return com::ComMethod(IID__CToolTipBaloon, [&] {
    balloon_.ShowToolTip(reinterpret_cast<HWND>(static_cast<INT_PTR>(aWnd)), TextOf(Title),
                         TextOf(Text), cIcon, TransparentAlpha);
  });
}

}  // namespace vk::controls
