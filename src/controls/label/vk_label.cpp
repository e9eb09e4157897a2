#include "controls/label/vk_label.h"

#include <olectl.h>

#include <algorithm>
#include <cwctype>

#include "base/edge_report.h"
#include "runtime/gdi_object.h"
#include "runtime/mouse_pointer.h"
#include "runtime/select_guard.h"
#include "runtime/shared_font.h"
#include "runtime/twips.h"
#include "runtime/window_class.h"

namespace vk::controls {

namespace {

constexpr wchar_t kIconClass[] = L"VkLabelHelpIcon";
constexpr wchar_t kBalloonTitle[] = L"Palvexor - Ayuda On Line";
constexpr double kIconTwips = 240;  // 16 pixels

HICON HelpIcon() { return LoadIconW(nullptr, IDI_QUESTION); }

}  // namespace

VkLabel::VkLabel(Form& form, ControlArgs args) : UserControl(form, std::move(args)) {
  timer1_.Tick.Connect([this] { OnTimer1Tick(); });
  // The balloon's look for help texts.
  balloon_.look.delayTime = 25;
  balloon_.look.killTime = 500;
  balloon_.look.backColor = 0x80000018;
  balloon_.look.textColor = 0x80000012;
  balloon_.look.gradientStart = 0x80000018;
  balloon_.look.gradientEnd = 0x80000018;
  balloon_.look.backStyle = static_cast<long>(BalloonFill::GradientH);
  FontDescription verdana;
  verdana.name = L"Verdana";
  balloon_.look.font = CreateOleFont(verdana).as<IDispatch>();
  balloon_.look.shadow = true;
  balloon_.look.style = BalloonStyle::Balloon;
  font_ = AmbientFont(ambient());
}

VkLabel::~VkLabel() {
  timer1_.setEnabled(false);
  if (icon_) DestroyWindow(icon_);
}

HWND VkLabel::CreateWindowIn(HWND parent, const RECT& pixels) {
  HWND own = UserControl::CreateWindowIn(parent, pixels);
  if (!own) return own;
  static bool registered = false;
  if (!registered) {
    RegisterRuntimeClass(kIconClass, IconProc, 0, nullptr);
    registered = true;
  }
  // Hidden until a help text is given.
  icon_ = CreateWindowExW(0, kIconClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 16, 16, own,
                          nullptr, RuntimeModule(), this);
  PlaceIcon();
  return own;
}

LRESULT CALLBACK VkLabel::IconProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = WindowOwner<VkLabel>(hwnd, msg, lParam);
  switch (msg) {
    case WM_NCDESTROY:
      if (self && self->icon_ == hwnd) self->icon_ = nullptr;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r{};
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
      DrawIconEx(dc, 0, 0, HelpIcon(), 16, 16, 0, nullptr, DI_NORMAL);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      // Arming the balloon reads the host's font: a failure there arms no balloon.
      if (self) GuardEdge(L"label's help icon", [&] { self->OnIconMouseMove(); });
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void VkLabel::Changed(const wchar_t* property) { PropertyChanged.Raise(property); }

void VkLabel::SetCaptionColor(OleColor color) {
  captionColor_ = color;
  Refresh();
}

// Properties that only change the caption's look.
#define VK_LABEL_PROPERTY(Name, Type, field)        \
  void VkLabel::put_##Name(Type value) {             \
    field = value;                                   \
    Refresh();                                       \
    Changed(L## #Name);                              \
  }
VK_LABEL_PROPERTY(Alignment, long, alignment_)
VK_LABEL_PROPERTY(Enabled, bool, labelEnabled_)
VK_LABEL_PROPERTY(FontBold, bool, font_.bold)
VK_LABEL_PROPERTY(FontItalic, bool, font_.italic)
VK_LABEL_PROPERTY(FontStrikethru, bool, font_.strikethrough)
VK_LABEL_PROPERTY(FontStrikeOut, bool, font_.strikethrough)
VK_LABEL_PROPERTY(FontUnderline, bool, font_.underline)
VK_LABEL_PROPERTY(FontName, const std::wstring&, font_.name)
VK_LABEL_PROPERTY(FontSize, double, font_.size)
VK_LABEL_PROPERTY(BackColor, OleColor, backColor_)
VK_LABEL_PROPERTY(ForeColorDown, OleColor, foreColorDown_)
VK_LABEL_PROPERTY(ForeColorOver, OleColor, foreColorOver_)
VK_LABEL_PROPERTY(MousePointer, int, mousePointer_)
VK_LABEL_PROPERTY(BackStyle, long, backStyle_)
#undef VK_LABEL_PROPERTY

void VkLabel::put_Font(IFont* value) {
  font_ = FontDescriptionOf(value, font_);
  Refresh();
  Changed(L"Font");
}

void VkLabel::put_MouseIcon(IPicture* value) {
  mouseIcon_ = com::ComPtr<IPicture>(value);
  Changed(L"MouseIcon");
}

bool VkLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Over the caption only: the help icon is a window of its own with its own pointer.
  if (message != WM_SETCURSOR || reinterpret_cast<HWND>(wParam) != hwnd() || LOWORD(lParam) != HTCLIENT)
    return false;
  HCURSOR cursor = CursorFor(mousePointer_);
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (mousePointer_ == pointer::Custom && mouseIcon_ && SUCCEEDED(mouseIcon_->get_Type(&type)) &&
      type == PICTYPE_ICON && SUCCEEDED(mouseIcon_->get_Handle(&handle)))
    cursor = reinterpret_cast<HCURSOR>(static_cast<INT_PTR>(handle));
  if (!cursor) return false;
  SetCursor(cursor);
  result = TRUE;
  return true;
}

void VkLabel::put_AutoSize(bool value) {
  autoSize_ = value;
  Layout();
  Changed(L"AutoSize");
}

void VkLabel::put_ForeColor(OleColor value) {
  foreColor_ = value;
  captionColor_ = value;
  Refresh();
  Changed(L"ForeColor");
}

void VkLabel::put_Caption(const std::wstring& value) {
  caption_ = value;
  Changed(L"Caption");
  Layout();
  setToolTipText(value);
  Changed(L"ToolTipText");
}

void VkLabel::put_BallonToolTipText(const std::wstring& value) {
  balloonText_ = value;
  Changed(L"ToolTipText");
  iconTag_ = value;
  if (!value.empty()) {
    iconShown_ = true;
    PlaceIcon();
    Layout();
  }
}

SIZE VkLabel::TextSize(const std::wstring& text) const {
  HDC dc = GetDC(nullptr);
  SIZE size{};
  {
    SelectGuard guard(dc, SharedFont(AmbientFont(ambient())));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  }
  ReleaseDC(nullptr, dc);
  return SIZE{static_cast<LONG>(PixelsToTwips(size.cx)), static_cast<LONG>(PixelsToTwips(size.cy))};
}

void VkLabel::Layout() {
  if (layoutDepth_ >= 2) return;  // the pass started by our own resize is the last
  ++layoutDepth_;
  const bool withIcon = !iconTag_.empty();
  const std::wstring first =
      caption_.empty() ? std::wstring() : std::wstring(1, static_cast<wchar_t>(std::towupper(caption_[0])));
  if (autoSize_) {
    if (withIcon) iconLeft_ = labelWidth_ + 50;
    labelWidth_ = (withIcon ? kIconTwips : 0) + TextSize(caption_).cx + (withIcon ? 20 : 300);
    labelHeight_ = TextSize(first).cy;
    PlaceIcon();
    if (withIcon)
      Move(left(), top(), kIconTwips + labelWidth_ + 50, kIconTwips);
    else
      Move(left(), top(), labelWidth_ + 20, labelHeight_);
  } else {
    if (withIcon) {
      iconLeft_ = labelWidth_ + 50;
      labelWidth_ = kIconTwips + width() + 100;
    } else {
      labelWidth_ = width() + 50;
    }
    labelHeight_ = height() + 50;
    PlaceIcon();
  }
  Refresh();
  --layoutDepth_;
}

void VkLabel::PlaceIcon() {
  if (!icon_) return;
  SetWindowPos(icon_, nullptr, TwipsToPixels(iconLeft_), 0, 16, 16,
               SWP_NOZORDER | SWP_NOACTIVATE | (iconShown_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void VkLabel::OnResize() { Layout(); }

void VkLabel::Paint(HDC dc, const RECT& client) {
  GdiObject<HBRUSH> back(CreateSolidBrush(OleColorToRgb(ambient().backColor)));
  FillRect(dc, &client, back.get());
  RECT label{0, 0, TwipsToPixels(labelWidth_), TwipsToPixels(labelHeight_)};
  if (backStyle_ == 1) {
    GdiObject<HBRUSH> fill(CreateSolidBrush(OleColorToRgb(backColor_)));
    FillRect(dc, &label, fill.get());
  }
  {
    SelectGuard guard(dc, SharedFont(font_));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, labelEnabled_ ? OleColorToRgb(captionColor_) : GetSysColor(COLOR_GRAYTEXT));
    const UINT align = alignment_ == 1 ? DT_RIGHT : alignment_ == 2 ? DT_CENTER : DT_LEFT;
    DrawTextW(dc, caption_.c_str(), -1, &label, align | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void VkLabel::OnMouseMove(int, int, int, int) {
  if (hovering_) return;
  hovering_ = true;
  savedColor_ = captionColor_;
  SetCaptionColor(foreColorOver_);
  timer1_.setEnabled(true);
}

void VkLabel::OnMouseDown(int, int, int, int) { SetCaptionColor(foreColorDown_); }

void VkLabel::OnMouseUp(int, int, int, int) {
  SetCaptionColor(hovering_ ? foreColorOver_ : savedColor_);
}

void VkLabel::OnTimer1Tick() {
  POINT p{};
  GetCursorPos(&p);
  if (WindowFromPoint(p) == hwnd()) return;
  hovering_ = false;
  SetCaptionColor(savedColor_);
  timer1_.setEnabled(false);
}

void VkLabel::OnIconMouseMove() {
  if (balloon_.alive && balloonShown_) return;
  balloonShown_ = true;
  balloon_.look.style = BalloonStyle::Balloon;
  balloon_.ShowToolTip(icon_, kBalloonTitle, iconTag_,
                       static_cast<long>(reinterpret_cast<INT_PTR>(HelpIcon())), 100);
}

void VkLabel::OnInitProperties() {
  // A new label shows its own name, with no plain tooltip.
  caption_ = name();
  Layout();
}

void VkLabel::OnReadProperties(const PropertyBag& bag) {
  alignment_ = CLng(bag.Read(L"Alignment", 0L));
  autoSize_ = CBool(bag.Read(L"AutoSize", true));
  labelEnabled_ = CBool(bag.Read(L"Enabled", false));
  font_ = FontDescriptionOf(ReadFontProperty(bag, L"Font").get(), AmbientFont(ambient()));
  font_.bold = CBool(bag.Read(L"FontBold", false));
  font_.italic = CBool(bag.Read(L"FontItalic", false));
  // An absent name or size keeps the face and size of the font read above.
  std::wstring fontName = CStr(bag.Read(L"FontName", L""));
  if (!fontName.empty()) font_.name = fontName;
  double fontSize = CDbl(bag.Read(L"FontSize", 0L));
  if (fontSize > 0) font_.size = fontSize;
  font_.strikethrough = CBool(bag.Read(L"FontStrikeOut", false));
  font_.underline = CBool(bag.Read(L"FontUnderline", false));
  caption_ = CStr(bag.Read(L"Caption", name()));
  foreColor_ = static_cast<OleColor>(CLng(bag.Read(L"ForeColor", static_cast<long>(0xC65D21))));
  captionColor_ = foreColor_;
  backColor_ = static_cast<OleColor>(CLng(bag.Read(L"BackColor", static_cast<long>(0xFFFFFF))));
  backStyle_ = CLng(bag.Read(L"BackStyle", 0L));
  foreColorDown_ = static_cast<OleColor>(CLng(bag.Read(L"ForeColorDown", 0L)));
  foreColorOver_ = static_cast<OleColor>(CLng(bag.Read(L"ForeColorOver", 0L)));
  mouseIcon_ = com::ComPtr<IPicture>();
  if (IDispatch* icon = bag.Read(L"MouseIcon").object()) icon->QueryInterface(IID_IPicture, mouseIcon_.put_void());
  mousePointer_ = static_cast<int>(CLng(bag.Read(L"MousePointer", 0L)));
  setToolTipText(CStr(bag.Read(L"ToolTipText", L"")));
  iconTag_ = CStr(bag.Read(L"BaloonToolTipText", L""));
  Layout();  // sized for the restored caption
}

void VkLabel::OnWriteProperties(PropertyBag& bag) const {
  bag.Write(L"Alignment", alignment_, 0L);
  bag.Write(L"AutoSize", autoSize_, true);
  bag.Write(L"Caption", caption_, name());
  bag.Write(L"Enabled", labelEnabled_, false);
  WriteFontProperty(bag, L"Font", CreateOleFont(font_).get(), AmbientFont(ambient()));
  bag.Write(L"FontBold", font_.bold, false);
  bag.Write(L"FontItalic", font_.italic, false);
  bag.Write(L"FontName", font_.name, L"");
  bag.Write(L"FontSize", font_.size, 0L);
  bag.Write(L"FontStrikeOut", font_.strikethrough, false);
  bag.Write(L"FontUnderline", font_.underline, false);
  bag.Write(L"ForeColor", static_cast<long>(foreColor_), static_cast<long>(0xC65D21));
  bag.Write(L"BackColor", static_cast<long>(backColor_), static_cast<long>(0xFFFFFF));
  bag.Write(L"BackStyle", backStyle_, 0L);
  bag.Write(L"ForeColorDown", static_cast<long>(foreColorDown_), 0L);
  bag.Write(L"ForeColorOver", static_cast<long>(foreColorOver_), 0L);
  const Variant noIcon(static_cast<IDispatch*>(nullptr));
  bag.Write(L"MouseIcon", mouseIcon_ ? Variant(mouseIcon_.as<IDispatch>().get()) : noIcon, noIcon);
  bag.Write(L"MousePointer", static_cast<long>(mousePointer_), 0L);
  bag.Write(L"ToolTipText", toolTipText(), L"");
  bag.Write(L"BaloonToolTipText", iconTag_, L"");
}

}  // namespace vk::controls
