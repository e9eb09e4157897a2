#include "hosted/grid/grid_style.h"

#include <olectl.h>

#include <cwctype>

namespace vk::grid {

namespace {
std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}
}  // namespace

StyleFont& GridStyle::OwnFont() {
  Font = StyleFont{};
  return *Font;
}

void GridStyle::OverlayFrom(const GridStyle& over) {
  if (over.ForeColor) ForeColor = over.ForeColor;
  if (over.BackColor) BackColor = over.BackColor;
  if (over.BackColor2) BackColor2 = over.BackColor2;
  if (over.BorderColor) BorderColor = over.BorderColor;
  if (over.TextAlignment) TextAlignment = over.TextAlignment;
  if (over.PictureAlignment) PictureAlignment = over.PictureAlignment;
  if (over.BackgroundStyle) BackgroundStyle = over.BackgroundStyle;
  if (over.Font) Font = over.Font;
  if (!over.Format.empty()) Format = over.Format;
}

StyleCollection::StyleCollection() {
  // The grid's own styles, with the look it has before a screen restyles it.
  GridStyle& normal = Item(L"Normal");
  normal.ForeColor = 0x000000;
  normal.BackColor = 0xFFFFFF;
  normal.BackColor2 = 0xFFFFFF;
  normal.BackgroundStyle = kBackgroundSolid;
  normal.TextAlignment = kAlignGeneral;
  normal.Font = StyleFont{};
  Item(L"Frozen");
  GridStyle& back = Item(L"GridBackground");
  back.BackColor = 0xFFFFFF;
  GridStyle& heading = Item(L"Heading");
  heading.BackColor = 0xE0E0E0;
  heading.ForeColor = 0x000000;
  GridStyle& sel = Item(L"Selection");
  sel.BackColor = 0xF0D8C0;
  GridStyle& inactive = Item(L"InactiveSelection");
  inactive.BackColor = 0xE8E8E8;
  Item(L"Tip");
  GridStyle& group = Item(L"GroupHeader");
  group.BackColor = 0xD0D0D0;
  group.Font = StyleFont{};
  group.Font->bold = true;
}

GridStyle& StyleCollection::Item(const std::wstring& name) {
  auto& slot = styles_[Upper(name)];
  if (!slot) slot = std::make_unique<GridStyle>(name);
  return *slot;
}

GridStyle* StyleCollection::Find(const std::wstring& name) {
  auto it = styles_.find(Upper(name));
  return it == styles_.end() ? nullptr : it->second.get();
}

const GridStyle* StyleCollection::Find(const std::wstring& name) const {
  auto it = styles_.find(Upper(name));
  return it == styles_.end() ? nullptr : it->second.get();
}

COLORREF ToColorRef(OLE_COLOR color) {
  COLORREF out = 0;
  if (FAILED(OleTranslateColor(color, nullptr, &out))) return color & 0xFFFFFF;
  return out;
}

}  // namespace vk::grid
