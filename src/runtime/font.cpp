#include "runtime/font.h"

#include <olectl.h>

#include <cmath>

#include "base/rounding.h"
#include "runtime/form.h"
#include "runtime/property_bag.h"

namespace vk {

bool SameFont(const FontDescription& a, const FontDescription& b) {
  return _wcsicmp(a.name.c_str(), b.name.c_str()) == 0 && a.size == b.size && a.bold == b.bold &&
         a.italic == b.italic && a.underline == b.underline && a.strikethrough == b.strikethrough;
}

HFONT CreateGdiFont(const FontDescription& wanted) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTW lf{};
  lf.lfHeight = -RoundHalfEven(wanted.size * dpi / 72.0);
  lf.lfWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = wanted.italic;
  lf.lfUnderline = wanted.underline;
  lf.lfStrikeOut = wanted.strikethrough;
  lf.lfCharSet = wanted.charset;
  lstrcpynW(lf.lfFaceName, wanted.name.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

com::ComPtr<IFont> CreateOleFont(const FontDescription& wanted) {
  com::Bstr face(wanted.name);
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = face.get();
  desc.cySize.int64 = std::llround(wanted.size * 10000.0);
  desc.sWeight = wanted.bold ? FW_BOLD : FW_NORMAL;
  desc.sCharset = wanted.charset;
  desc.fItalic = wanted.italic;
  desc.fUnderline = wanted.underline;
  desc.fStrikethrough = wanted.strikethrough;
  com::ComPtr<IFont> font;
  OleCreateFontIndirect(&desc, IID_IFont, font.put_void());
  return font;
}

FontDescription FontDescriptionOf(IUnknown* object, const FontDescription& fallback) {
  com::ComPtr<IFont> font;
  if (object) object->QueryInterface(IID_IFont, font.put_void());
  if (!font) return fallback;
  FontDescription wanted = fallback;
  com::Bstr name;
  if (SUCCEEDED(font->get_Name(name.put()))) wanted.name = name.str();
  CY size{};
  if (SUCCEEDED(font->get_Size(&size))) wanted.size = static_cast<double>(size.int64) / 10000.0;
  BOOL flag = FALSE;
  if (SUCCEEDED(font->get_Bold(&flag))) wanted.bold = flag;
  if (SUCCEEDED(font->get_Italic(&flag))) wanted.italic = flag;
  if (SUCCEEDED(font->get_Underline(&flag))) wanted.underline = flag;
  if (SUCCEEDED(font->get_Strikethrough(&flag))) wanted.strikethrough = flag;
  SHORT charset = DEFAULT_CHARSET;
  if (SUCCEEDED(font->get_Charset(&charset))) wanted.charset = static_cast<BYTE>(charset);
  return wanted;
}

void WriteFontProperty(PropertyBag& bag, const wchar_t* key, IFont* value, const FontDescription& defaultValue) {
  com::ComPtr<IDispatch> object;
  if (value) value->QueryInterface(IID_IFontDisp, object.put_void());
  const Variant stored(object.get());
  if (value && SameFont(FontDescriptionOf(value), FontDescriptionOf(CreateOleFont(defaultValue).get())))
    bag.Write(key, stored, stored);  // equal to its default: not kept
  else
    bag.Write(key, stored);
}

com::ComPtr<IFont> ReadFontProperty(const PropertyBag& bag, const wchar_t* key) {
  com::ComPtr<IFont> font;
  if (IDispatch* object = bag.Read(key).object()) object->QueryInterface(IID_IFont, font.put_void());
  return font;
}

FontDescription AmbientFont(const AmbientProperties& ambient) {
  FontDescription wanted;
  wanted.name = ambient.fontName;
  wanted.size = ambient.fontSize;
  wanted.bold = ambient.fontBold;
  return wanted;
}

}  // namespace vk
