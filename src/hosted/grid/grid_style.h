#pragma once
// Named display styles of the grid ("Normal", "Heading", "Selection", "IsNew",
// "GroupHeader"...): font, colours (two for a gradient), alignment. A style leaves
// a value unset to take it from the style beneath it when a cell is drawn.
#include <windows.h>
#include <ocidl.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace vk::grid {

// Text alignment codes: 1-3 top, 4-6 middle, 7-9 bottom; left, centre, right in each.
// 0 leaves the text as its type puts it (numbers right, text left).
enum Alignment : int {
  kAlignGeneral = 0,
  kAlignLeft = 4,
  kAlignCenter = 5,
  kAlignRight = 6,
};

// Background styles: 0 solid back colour, 8 a vertical gradient from BackColor to BackColor2.
inline constexpr int kBackgroundSolid = 0;
inline constexpr int kBackgroundGradient = 8;

struct StyleFont {
  std::wstring name = L"Verdana";
  float size = 8.25f;
  bool bold = false;
  bool italic = false;
};

class GridStyle {
 public:
  explicit GridStyle(std::wstring name) : name_(std::move(name)) {}
  const std::wstring& Name() const { return name_; }

  // Unset values come from the style below.
  std::optional<OLE_COLOR> ForeColor, BackColor, BackColor2, BorderColor;
  std::optional<int> TextAlignment, PictureAlignment, BackgroundStyle;
  std::optional<StyleFont> Font;  // a font of its own; unset shares the grid's
  std::wstring Format;            // a display format; "FormatText Event" hands the text to the owner
  // Settings the screens give whose look is ours to choose; kept so they read back.
  int Transparency[4] = {255, 255, 255, 255};

  // Drops the shared font and starts a fresh one of its own (default Verdana 8.25).
  StyleFont& OwnFont();
  // Copies every set value of `over` onto this style.
  void OverlayFrom(const GridStyle& over);

 private:
  std::wstring name_;
};

// Named styles, fetched or added by name without regard to case.
class StyleCollection {
 public:
  StyleCollection();
  GridStyle& Item(const std::wstring& name);  // adds the style when missing
  GridStyle* Find(const std::wstring& name);
  const GridStyle* Find(const std::wstring& name) const;
  GridStyle& Add(const std::wstring& name) { return Item(name); }
  size_t Count() const { return styles_.size(); }

 private:
  std::map<std::wstring, std::unique_ptr<GridStyle>> styles_;  // key upper-cased
};

// An OLE colour (system colours included) as a GDI colour.
COLORREF ToColorRef(OLE_COLOR color);

}  // namespace vk::grid
