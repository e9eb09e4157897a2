#include "controls/status_bar/vk_status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/status_bar/status_bar_colors.h"
#include "controls/status_bar/status_bar_error.h"
#include "runtime/font.h"
#include "runtime/property_bag.h"

namespace vk::controls {

VkStatusBar::VkStatusBar(Form& form, ControlArgs args) : UserControl(form, std::move(args)) {}

HWND VkStatusBar::Editor() {
  // The in-place editor: a single-line box, made hidden the first time it is needed.
  if (!txtEdit_ && hwnd()) {
    txtEdit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, hwnd(), nullptr, nullptr,
                               nullptr);
    if (txtEdit_)
      SetWindowSubclass(txtEdit_, &VkStatusBar::EditorSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  return txtEdit_;
}

VkStatusBar::~VkStatusBar() { Terminate(); }

void VkStatusBar::Terminate() noexcept {
  // Runs when the window goes (before its children do) and again, harmlessly, at
  // the object's end. An error here ends the teardown quietly.
  try {
    for (long i = 1; i <= panelCount_ && i <= long(panels_.size()); ++i) {
      const StatusBarPanel& p = panels_[size_t(i - 1)];
      if (p.Control && IsWindow(p.Control) && GetParent(p.Control) == hwnd() && p.OldParent != hwnd())
        SetParent(p.Control, p.OldParent);
    }
    if (subclassed_) StopMessageHandling();
    if (txtEdit_) RemoveWindowSubclass(txtEdit_, &VkStatusBar::EditorSubclassProc, 1);
    txtEdit_ = nullptr;
    editorBrush_.reset();
  } catch (...) {
  }
}

Font VkStatusBar::AmbientFont() const { return CreateOleFont(vk::AmbientFont(ambient())); }

Font VkStatusBar::DefaultFont() const { return font_ ? font_ : AmbientFont(); }

// --- panels ---------------------------------------------------------------------

StatusBarPanel& VkStatusBar::PanelAt(long index, const wchar_t* procedure) {
  return const_cast<StatusBarPanel&>(std::as_const(*this).PanelAt(index, procedure));
}

const StatusBarPanel& VkStatusBar::PanelAt(long index, const wchar_t* procedure) const {
  if (index < 1) index = 1;
  if (index > panelCount_) index = panelCount_;
  if (index < 1 || index > long(panels_.size())) RaiseFrom(err::SubscriptOutOfRange, procedure);
  return panels_[size_t(index - 1)];
}

template <class F>
void VkStatusBar::SetPanel(long index, const wchar_t* procedure, F&& store) {
  Rethrown(procedure, [&] {
    if (panelCount_ < 1) return;
    store(PanelAt(index, procedure));
    Refresh();
  });
}

bool VkStatusBar::AddPanel(const std::wstring& sText, long uTextAlign, bool bAutoSize, bool bEditable,
                           IPicture* oIcon, long bIconState, bool bUseMaskColor, long lMaskColor,
                           long lForeColor, IFont* oFont, const std::wstring& sToolTipText, long lWidth) {
  Rethrown(L"AddPanel", [&] {
    ++panelCount_;
    panels_.resize(size_t(panelCount_));
    listCreated_ = true;
    StatusBarPanel& p = panels_.back();
    p = StatusBarPanel{};
    p.TextAlign = uTextAlign == 0 ? kAlignLeft : uTextAlign == 1 ? kAlignCentre : uTextAlign == 2 ? kAlignRight : 0;
    p.AutoSize = bAutoSize;
    p.Editable = bEditable;
    p.Font = oFont ? Font(oFont) : DefaultFont();
    p.ForeColor = lForeColor;
    p.Icon = Picture(oIcon);
    p.IconState = bIconState;
    p.MaskColor = lMaskColor;
    p.Text = sText;
    p.ToolTipText = sToolTipText;
    p.UseMaskColor = bUseMaskColor;
    p.Width = lWidth >= 1 ? lWidth : 40;
    Refresh();
  });
  return false;  // callers learn of failures through the error only
}

void VkStatusBar::BoundControl(long index, HWND control, long SizeMethod) {
  Rethrown(L"BoundControl", [&] {
    if (panelCount_ < 1) return;
    StatusBarPanel& p = PanelAt(index, L"BoundControl");
    if (!control) {
      if (p.Control) {
        SetParent(p.Control, p.OldParent);
        p.Control = nullptr;
      }
    } else {
      p.OldParent = GetParent(control);
      p.Control = control;
      SetParent(control, hwnd());
    }
    p.SizeMethod = SizeMethod;
    Refresh();
  });
}

long VkStatusBar::PanelCount() {
  panelCount_ = listCreated_ ? long(panels_.size()) : 0;
  return panelCount_;
}

RECT VkStatusBar::PanelRect(long index) const { return PanelAt(index, L"PanelRect").Rect; }

long VkStatusBar::PanelAlignment(long index) const {
  return Rethrown(L"PanelAlignment", [&] {
    switch (PanelAt(index, L"PanelAlignment").TextAlign) {
      case kAlignCentre: return 1L;
      case kAlignRight: return 2L;
      default: return 0L;
    }
  });
}

void VkStatusBar::put_PanelAlignment(long index, long value) {
  SetPanel(index, L"PanelAlignment", [&](StatusBarPanel& p) {
    if (value == 0) p.TextAlign = kAlignLeft;
    else if (value == 1) p.TextAlign = kAlignCentre;
    else if (value == 2) p.TextAlign = kAlignRight;
  });
}

#define VK_PANEL_PROPERTY(Name, Type, Field, ParamType, Store)                                \
  Type VkStatusBar::Name(long index) const {                                                  \
    return Rethrown(L## #Name, [&]() -> Type { return PanelAt(index, L## #Name).Field; });    \
  }                                                                                           \
  void VkStatusBar::put_##Name(long index, ParamType value) {                                 \
    SetPanel(index, L## #Name, [&](StatusBarPanel& p) { p.Field = Store; });                  \
  }

VK_PANEL_PROPERTY(PanelAutoSize, bool, AutoSize, bool, value)
VK_PANEL_PROPERTY(PanelEditable, bool, Editable, bool, value)
VK_PANEL_PROPERTY(PanelForeColor, long, ForeColor, long, value)
VK_PANEL_PROPERTY(PanelFont, Font, Font, IFont*, Font(value))
VK_PANEL_PROPERTY(PanelIcon, Picture, Icon, IPicture*, Picture(value))
VK_PANEL_PROPERTY(PanelText, std::wstring, Text, const std::wstring&, value)
VK_PANEL_PROPERTY(PanelToolTipText, std::wstring, ToolTipText, const std::wstring&, value)
VK_PANEL_PROPERTY(PanelWidth, long, Width, long, value)

#undef VK_PANEL_PROPERTY

// --- control-level properties ---------------------------------------------------------

void VkStatusBar::put_BackColor(long colour) {
  Rethrown(L"BackColor", [&] {
    backColor_ = colour;
    Refresh();
    PropertyChanged.Raise(L"BackColor");
  });
}

void VkStatusBar::put_ForeColor(long colour) {
  Rethrown(L"ForeColor", [&] {
    foreColor_ = colour;
    Refresh();
    PropertyChanged.Raise(L"ForeColor");
  });
}

void VkStatusBar::put_Font(IFont* font) {
  Rethrown(L"Font", [&] {
    font_ = Font(font);
    Refresh();
    PropertyChanged.Raise(L"Font");
  });
}

void VkStatusBar::put_GripShape(long shape) {
  Rethrown(L"GripShape", [&] {
    if (shape == gripShape_) return;
    gripShape_ = shape;
    Refresh();
    PropertyChanged.Raise(L"GripShape");
  });
}

void VkStatusBar::put_Sizable(bool sizable) {
  Rethrown(L"Sizable", [&] {
    sizable_ = sizable;
    gripShape_ = sizable ? (IsWinXP() ? 1 : 2) : 0;
    Refresh();
    PropertyChanged.Raise(L"Sizable");
  });
}

void VkStatusBar::put_Theme(long theme) {
  Rethrown(L"Theme", [&] {
    theme_ = theme;
    Refresh();
    PropertyChanged.Raise(L"Theme");
  });
}

bool VkStatusBar::IsWinXP() const { return controls::IsWinXP(); }

// --- persistence ------------------------------------------------------------------

void VkStatusBar::OnInitProperties() {
  Rethrown(L"UserControl_InitProperties", [&] {
    backColor_ = long(kButtonFace);
    foreColor_ = long(kButtonText);
    font_ = DefaultFont();
    gripShape_ = 1;
    sizable_ = true;
    theme_ = 0;
  });
}

void VkStatusBar::OnReadProperties(const PropertyBag& bag) {
  Rethrown(L"UserControl_ReadProperties", [&] {
    const AmbientProperties& a = ambient();
    backColor_ = bag.Read(L"BackColor", Variant(long(a.backColor))).toLong();
    foreColor_ = bag.Read(L"ForeColor", Variant(long(a.foreColor))).toLong();
    font_ = ReadFontProperty(bag, L"Font");
    if (!font_) font_ = AmbientFont();
    gripShape_ = bag.Read(L"GripShape", Variant(1L)).toLong();
    // A stored count has no panels behind it: the list starts empty.
    (void)bag.Read(L"PanelCount", Variant(0L)).toLong();
    panelCount_ = 0;
    sizable_ = bag.Read(L"Sizable", Variant(true)).toBool();
    put_Theme(bag.Read(L"Theme", Variant(0L)).toLong());
    setAlign(Align::Bottom);
    if (a.userMode) StartMessageHandling();
  });
}

void VkStatusBar::OnWriteProperties(PropertyBag& bag) const {
  Rethrown(L"UserControl_WriteProperties", [&] {
    const AmbientProperties& a = ambient();
    bag.Write(L"BackColor", Variant(backColor_), Variant(long(a.backColor)));
    bag.Write(L"ForeColor", Variant(foreColor_), Variant(long(a.foreColor)));
    WriteFontProperty(bag, L"Font", font_.get(), vk::AmbientFont(a));
    bag.Write(L"GripShape", Variant(gripShape_), Variant(1L));
    bag.Write(L"PanelCount", Variant(panelCount_), Variant(0L));
    bag.Write(L"Sizable", Variant(sizable_), Variant(true));
    bag.Write(L"Theme", Variant(theme_), Variant(0L));
  });
}

}  // namespace vk::controls
