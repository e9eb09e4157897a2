#include "runtime/font.h"

#include <olectl.h>

#include <cmath>

#include "runtime/form.h"
#include "runtime/property_bag.h"
#include "runtime/rounding.h"

namespace vk {

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return _wcsicmp(a.name.c_str(), b.name.c_str()) == 0 && a.size == b.size && a.bold == b.bold &&
         a.italic == b.italic && a.underline == b.underline && a.strikethrough == b.strikethrough;
}

HFONT CreateGdiFont(const FontSpec& spec) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  LOGFONTW lf{};
  lf.lfHeight = -RoundHalfEven(spec.size * dpi / 72.0);
  lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = spec.italic;
  lf.lfUnderline = spec.underline;
  lf.lfStrikeOut = spec.strikethrough;
  lf.lfCharSet = spec.charset;
  lstrcpynW(lf.lfFaceName, spec.name.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

ComPtr<IFont> CreateOleFont(const FontSpec& spec) {
  Bstr face(spec.name);
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof(desc);
  desc.lpstrName = face.get();
  desc.cySize.int64 = std::llround(spec.size * 10000.0);
  desc.sWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  desc.sCharset = spec.charset;
  desc.fItalic = spec.italic;
  desc.fUnderline = spec.underline;
  desc.fStrikethrough = spec.strikethrough;
  ComPtr<IFont> font;
  OleCreateFontIndirect(&desc, IID_IFont, font.put_void());
  return font;
}

FontSpec FontSpecOf(IUnknown* object, const FontSpec& fallback) {
  ComPtr<IFont> font;
  if (object) object->QueryInterface(IID_IFont, font.put_void());
  if (!font) return fallback;
  FontSpec spec = fallback;
  Bstr name;
  if (SUCCEEDED(font->get_Name(name.put()))) spec.name = name.str();
  CY size{};
  if (SUCCEEDED(font->get_Size(&size))) spec.size = static_cast<double>(size.int64) / 10000.0;
  BOOL flag = FALSE;
  if (SUCCEEDED(font->get_Bold(&flag))) spec.bold = flag;
  if (SUCCEEDED(font->get_Italic(&flag))) spec.italic = flag;
  if (SUCCEEDED(font->get_Underline(&flag))) spec.underline = flag;
  if (SUCCEEDED(font->get_Strikethrough(&flag))) spec.strikethrough = flag;
  SHORT charset = DEFAULT_CHARSET;
  if (SUCCEEDED(font->get_Charset(&charset))) spec.charset = static_cast<BYTE>(charset);
  return spec;
}

void WriteFontProperty(PropertyBag& bag, const wchar_t* key, IFont* value, const FontSpec& defaultValue) {
  ComPtr<IDispatch> object;
  if (value) value->QueryInterface(IID_IFontDisp, object.put_void());
  const Variant stored(object.get());
  if (value && SameFont(FontSpecOf(value), FontSpecOf(CreateOleFont(defaultValue).get())))
    bag.Write(key, stored, stored);  // equal to its default: not kept
  else
    bag.Write(key, stored);
}

ComPtr<IFont> ReadFontProperty(const PropertyBag& bag, const wchar_t* key) {
  ComPtr<IFont> font;
  if (IDispatch* object = bag.Read(key).object()) object->QueryInterface(IID_IFont, font.put_void());
  return font;
}

FontSpec AmbientFont(const AmbientProperties& ambient) {
  FontSpec spec;
  spec.name = ambient.fontName;
  spec.size = ambient.fontSize;
  spec.bold = ambient.fontBold;
  return spec;
}

}  // namespace vk
