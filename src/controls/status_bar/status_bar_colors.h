#pragma once
// The status bar's colour schemes: which scheme a Theme setting selects (the
// automatic setting follows the system's visual style), the grip shape that goes
// with it, and the colour arithmetic every painted colour is derived from.
//
// The visual-style query sits behind a replaceable source: under Wine the theme
// name call may fail or answer nothing, and tests need to pick each answer.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace vk::controls {

enum Scheme : long { kNoScheme = 0, kClassic = 1, kBlue = 2, kOlive = 3, kSilver = 4 };

// Where the system's version and visual style come from.
struct VisualStyleSource {
  // The version record as GetVersionExA fills it, and the call's result.
  std::function<BOOL(OSVERSIONINFOA&)> version;
  // GetCurrentThemeName into a colour-name buffer of `length` characters.
  std::function<HRESULT(wchar_t* colourName, int length)> currentThemeName;
};
VisualStyleSource SystemVisualStyle();

// Puts a source in place for the scope's life (tests).
class VisualStyleScope {
 public:
  explicit VisualStyleScope(VisualStyleSource source);
  ~VisualStyleScope();
  VisualStyleScope(const VisualStyleScope&) = delete;
  VisualStyleScope& operator=(const VisualStyleScope&) = delete;

 private:
  VisualStyleSource previous_;
};

// True only on version 5.1 build 2600 or later of the NT family (the visual
// styles the bar imitates).
bool IsWinXP();
// The colour variant of the current visual style, "None" or "UxTheme_Error".
std::wstring GetThemeInfo();
// The text of a raw colour-name buffer: everything up to its last NUL, NULs
// removed; "None" when nothing but blanks is left.
std::wstring ColourVariantName(const wchar_t* buffer, size_t length);

// The scheme for a Theme setting, and the grip shape that suits it (a shape of 0
// stays 0).
struct SchemeChoice {
  long scheme;
  long gripShape;
};
SchemeChoice SelectScheme(long theme, long gripShape);

// An OLE colour as RGB, or -1 when it cannot be translated.
long TranslateColor(long colour);
// Lightened (positive amount) or darkened; blue moves in proportion to its level.
long ShiftColor(long colour, long amount);
// The weighted mix of two colours, the weight (0 to 255) going to the first.
long BlendColors(long first, long second, long weight);

// Every colour of one painting pass, from the back colour and the client height.
struct SchemeColours {
  long back;          // the translated back colour
  long base;          // back shifted by -1
  long edge;          // row 1 of the themed schemes
  long separator;     // the dark line after a panel; the dot shadow too
  long classicShadow; // the diagonal grip's shadow
  long BlendRow(int y, int height) const;
  long BottomRow(int i, int height) const;
};
SchemeColours ColoursFor(long scheme, long backColor);

}  // namespace vk::controls
