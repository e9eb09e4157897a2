#pragma once
// A font as the controls describe it (face, size in points, weight and styles), made
// into the GDI font a DC draws with or into the OLE font object a host sees, and read
// back from such an object.
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "com/com_ptr.h"

namespace vk {

struct FontDescription {
  std::wstring name = L"MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  BYTE charset = DEFAULT_CHARSET;
};

// The same face (in any case), size, weight and styles.
bool SameFont(const FontDescription& a, const FontDescription& b);

// A GDI font at the screen's resolution; the caller deletes it.
HFONT CreateGdiFont(const FontDescription& wanted);

// A new OLE font object (IFontDisp through QueryInterface).
com::ComPtr<IFont> CreateOleFont(const FontDescription& wanted);

// What an OLE font object describes; `fallback` for none or an object that is no font.
FontDescription FontDescriptionOf(IUnknown* font, const FontDescription& fallback = {});

// The container's ambient font.
struct AmbientProperties;
FontDescription AmbientFont(const AmbientProperties& ambient);

// A font object in a property bag. One like the default is not stored; they are
// compared as font objects, which name the face the system actually gives them.
class PropertyBag;
void WriteFontProperty(PropertyBag& bag, const wchar_t* key, IFont* value, const FontDescription& defaultValue);
// The stored font object, or none.
com::ComPtr<IFont> ReadFontProperty(const PropertyBag& bag, const wchar_t* key);

}  // namespace vk
