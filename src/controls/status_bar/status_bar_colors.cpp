#include "controls/status_bar/status_bar_colors.h"

#include <olectl.h>

#include <algorithm>

#include "base/rounding.h"
#include "controls/status_bar/status_bar_error.h"

namespace vk::controls {

namespace {

constexpr long kWhite = 0xFFFFFF;

using ThemeNameProc = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);

VisualStyleSource& CurrentSource() {
  static VisualStyleSource source = SystemVisualStyle();
  return source;
}

long Rgb(long r, long g, long b) { return r + g * 256 + b * 65536; }

}  // namespace

VisualStyleSource SystemVisualStyle() {
  VisualStyleSource s;
  s.version = [](OSVERSIONINFOA& info) { return GetVersionExA(&info); };
  s.currentThemeName = [](wchar_t* colourName, int length) -> HRESULT {
    // Looked up at run time: a system without visual styles has no uxtheme.
    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (!uxtheme) return E_FAIL;
    auto proc = reinterpret_cast<ThemeNameProc>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetCurrentThemeName")));
    wchar_t themeFile[255] = {};
    HRESULT hr = proc ? proc(themeFile, 255, colourName, length, nullptr, 0) : E_FAIL;
    FreeLibrary(uxtheme);
    return hr;
  };
  return s;
}

VisualStyleScope::VisualStyleScope(VisualStyleSource source) : previous_(CurrentSource()) {
  CurrentSource() = std::move(source);
}

VisualStyleScope::~VisualStyleScope() { CurrentSource() = std::move(previous_); }

bool IsWinXP() {
  return Rethrown(L"IsWinXP", [] {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    const BOOL ok = CurrentSource().version(info);
    return ok == 1 && info.dwPlatformId == 2 && info.dwMajorVersion == 5 && info.dwMinorVersion == 1 &&
           info.dwBuildNumber >= 2600;
  });
}

std::wstring ColourVariantName(const wchar_t* buffer, size_t length) {
  std::wstring text(buffer, length);
  const size_t lastNul = text.rfind(L'\0');
  text = lastNul == std::wstring::npos ? std::wstring() : text.substr(0, lastNul);
  std::erase(text, L'\0');
  const bool blank = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L' '; });
  return blank ? L"None" : text;
}

std::wstring GetThemeInfo() {
  return Rethrown(L"GetThemeInfo", []() -> std::wstring {
    if (!IsWinXP()) return L"None";
    wchar_t colourName[255] = {};
    if (CurrentSource().currentThemeName(colourName, 255) != 0) return L"UxTheme_Error";
    return ColourVariantName(colourName, 255);
  });
}

SchemeChoice SelectScheme(long theme, long gripShape) {
  long scheme = kBlue;
  switch (theme) {
    case 0: {
      const std::wstring name = GetThemeInfo();
      if (name == L"None" || name == L"UxTheme_Error") scheme = kClassic;
      else if (name == L"HomeStead") scheme = kOlive;
      else if (name == L"Metallic") scheme = kSilver;
      else scheme = kBlue;  // "NormalColor" and every name we do not know
      break;
    }
    case 1: case 2: case 3: case 4:
      scheme = theme;
      break;
    default:
      break;
  }
  const long grip = gripShape == 0 ? 0 : scheme == kClassic ? 2 : 1;
  return {scheme, grip};
}

long TranslateColor(long colour) {
  return Rethrown(L"TranslateColor", [colour]() -> long {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(static_cast<OLE_COLOR>(colour), nullptr, &rgb))) return -1;
    return static_cast<long>(rgb);
  });
}

long ShiftColor(long colour, long amount) {
  return Rethrown(L"ShiftColor", [=] {
    const long c = TranslateColor(colour);
    // -1 (untranslatable) reads as red 255, green 0, blue 0.
    const long r = c & 0xFF, g = (c / 256) % 256, b = (c / 65536) % 256;
    long r2 = r + amount, g2 = g + amount, b2 = b + (b * amount) / 192;
    if (amount > 0) {
      r2 = std::min(r2, 255L), g2 = std::min(g2, 255L), b2 = std::min(b2, 255L);
    } else if (amount < 0) {
      r2 = std::max(r2, 0L), g2 = std::max(g2, 0L), b2 = std::max(b2, 0L);
    }
    return Rgb(r2, g2, b2);
  });
}

long BlendColors(long first, long second, long weight) {
  auto rgbOf = [](long colour) -> long {
    COLORREF rgb = 0;
    return FAILED(OleTranslateColor(static_cast<OLE_COLOR>(colour), nullptr, &rgb)) ? 0 : long(rgb);
  };
  const long a = rgbOf(first), b = rgbOf(second);
  long out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const long ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    // 255 is odd, so the exact mix never ends in a half.
    const long mixed = (ca * weight + cb * (255 - weight) + 127) / 255;
    if (mixed < 0 || mixed > 255) throw VbError{err::Overflow, L"", StandardErrorText(err::Overflow)};
    out |= mixed << shift;
  }
  return out;
}

SchemeColours ColoursFor(long scheme, long backColor) {
  SchemeColours c{};
  c.back = TranslateColor(backColor);
  c.base = ShiftColor(c.back, -1);
  const long tint = scheme == kOlive ? 0x69A18B : scheme == kSilver ? 0x947C7C : 0xB99D7F;
  c.edge = BlendColors(ShiftColor(c.base, -64), tint, 128);
  c.separator = BlendColors(0x909090, c.back, 128);
  c.classicShadow = BlendColors(kWhite, ShiftColor(c.back, -112), 128);
  return c;
}

long SchemeColours::BlendRow(int y, int height) const {
  const long w = RoundHalfEven(double(y) / double(height) * 48.0);
  return BlendColors(kWhite, base, w);
}

long SchemeColours::BottomRow(int i, int height) const {
  const long k = RoundHalfEven(double(i) * double(height) / 3.0);
  return ShiftColor(base, -k);
}

}  // namespace vk::controls
