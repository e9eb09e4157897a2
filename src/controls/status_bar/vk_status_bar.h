#pragma once
// VkStatusBar: a status bar docked to the bottom of its form. A row of panels, each
// with a text, a 16x16 icon or one bound child window; a size grip in the right
// corner that starts the system's size drag of the form; themed painting (classic,
// blue, olive, silver); in-place editing of panel texts on double click; mouse,
// key and enter/leave events.
//
// The model, properties and storage are in vk_status_bar.cpp, input and editing in
// status_bar_input.cpp, drawing in status_bar_paint.cpp, colours and the scheme
// choice in status_bar_colors.h, the icon transfer in trans_blt.h.
//
// Fonts and icons are the OLE font and picture objects, held by reference. A bound
// control is given by its window handle. Panels are not persisted: a stored panel
// count has no panels behind it and loads as 0. Bound controls go back to their old
// parent when the bar's window goes, before its children are destroyed with it.
//
// Not handled: panel tooltips (the text is kept and given back, never shown); the
// editor uses the system font, not the panel's.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "controls/subclass/window_subclasser.h"
#include "runtime/event.h"
#include "runtime/gdi_object.h"
#include "runtime/user_control.h"

namespace vk::controls {

using Font = com::ComPtr<IFont>;
using Picture = com::ComPtr<IPicture>;

// DrawText flags behind a panel's alignment: word ellipsis, vertical centre and
// left, centre or right.
inline constexpr long kAlignLeft = 0x40004, kAlignCentre = 0x40005, kAlignRight = 0x40006;

struct StatusBarPanel {
  long TextAlign = 0;
  bool AutoSize = false;
  HWND Control = nullptr;
  HWND OldParent = nullptr;
  long SizeMethod = 0;
  bool Editable = false;
  long ForeColor = 0;
  Font Font;
  Picture Icon;
  long IconState = 0;
  RECT Rect{};
  long MaskColor = 0;
  std::wstring Text;
  std::wstring ToolTipText;
  bool UseMaskColor = false;
  long Width = 0;
};

class VkStatusBar : public UserControl, public SubclassOwner {
 public:
  // Messages of the bar's window heard after its own procedure: enter/leave and the
  // repaints on non-client paint, sizing, theme and system-colour changes.
  void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lng_hWnd, UINT uMsg, WPARAM wParam,
                      LPARAM lParam) override;

  VkStatusBar(Form& form, ControlArgs args);
  ~VkStatusBar() override;

  // Panels.
  bool AddPanel(const std::wstring& sText, long uTextAlign = 0, bool bAutoSize = false, bool bEditable = false,
                IPicture* oIcon = nullptr, long bIconState = 0, bool bUseMaskColor = false, long lMaskColor = 0,
                long lForeColor = 0, IFont* oFont = nullptr, const std::wstring& sToolTipText = {},
                long lWidth = 0);
  void BoundControl(long index, HWND control, long SizeMethod);
  long PanelCount();

  long PanelAlignment(long index) const;
  void put_PanelAlignment(long index, long value);
  bool PanelAutoSize(long index) const;
  void put_PanelAutoSize(long index, bool value);
  bool PanelEditable(long index) const;
  void put_PanelEditable(long index, bool value);
  long PanelForeColor(long index) const;
  void put_PanelForeColor(long index, long value);
  Font PanelFont(long index) const;
  void put_PanelFont(long index, IFont* value);
  Picture PanelIcon(long index) const;
  void put_PanelIcon(long index, IPicture* value);
  std::wstring PanelText(long index) const;
  void put_PanelText(long index, const std::wstring& value);
  std::wstring PanelToolTipText(long index) const;
  void put_PanelToolTipText(long index, const std::wstring& value);
  long PanelWidth(long index) const;
  void put_PanelWidth(long index, long value);

  // Control-level properties.
  long BackColor() const { return backColor_; }
  void put_BackColor(long colour);
  long ForeColor() const { return foreColor_; }
  void put_ForeColor(long colour);
  Font GetFont() const { return font_; }
  void put_Font(IFont* font);
  long GripShape() const { return gripShape_; }
  void put_GripShape(long shape);
  bool Sizable() const { return sizable_; }
  void put_Sizable(bool sizable);
  long Theme() const { return theme_; }
  void put_Theme(long theme);
  bool IsWinXP() const;

  // Painting.
  void Refresh();
  void Clear();

  // Events.
  Event<> Click;
  Event<> DblClick;
  Event<int&, int&> KeyDown;
  Event<int&> KeyPress;
  Event<int&, int&> KeyUp;
  Event<int&, int&, float&, float&> MouseDown;
  Event<int&, int&, float&, float&> MouseMove;
  Event<int&, int&, float&, float&> MouseUp;
  Event<long&> PanelClick;
  Event<long&> PanelDblClick;  // the bar's own EditIndex: a handler may change it
  Event<long&, int&, int&, float&, float&> PanelMouseDown;
  Event<long&, int&, int&, float&, float&> PanelMouseMove;
  Event<long&, int&, int&, float&, float&> PanelMouseUp;
  Event<> MouseEnter;
  Event<> MouseLeave;
  // A property the container should store again ("BackColor", "Theme"...).
  Event<const std::wstring&> PropertyChanged;

  // What a host or a test may look at.
  long scheme() const { return scheme_; }
  long EditIndex() const { return editIndex_; }
  RECT GripSquare() const { return grip_; }
  RECT PanelRect(long index) const;
  HWND editor() { return Editor(); }
  bool editorVisible() const;
  int mousePointer() const { return mousePointer_; }
  bool subclassed() const { return subclassed_; }

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void OnResize() override;
  void OnShow() override;
  void OnMouseDown(int button, int shift, int x, int y) override;
  void OnMouseMove(int button, int shift, int x, int y) override;
  void OnMouseUp(int button, int shift, int x, int y) override;
  void OnClick() override;
  void OnDblClick() override;
  void OnKeyDown(int keyCode, int shift) override;
  void OnKeyUp(int keyCode, int shift) override;
  void OnKeyPress(int charCode) override;
  void OnLostFocus() override;
  void OnInitProperties() override;
  void OnReadProperties(const PropertyBag& bag) override;
  void OnWriteProperties(PropertyBag& bag) const override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Terminate() noexcept;

  // Model.
  StatusBarPanel& PanelAt(long index, const wchar_t* procedure);
  const StatusBarPanel& PanelAt(long index, const wchar_t* procedure) const;
  template <class F>
  void SetPanel(long index, const wchar_t* procedure, F&& store);
  Font DefaultFont() const;
  Font AmbientFont() const;

  // Input (status_bar_input.cpp).
  long GetPanelIndex() const;
  HWND Editor();
  void OpenEditor(const StatusBarPanel& panel);
  void CommitEditor();
  void HideEditor();
  void EditorKeyUp(int keyCode);
  void EditorLostFocus();
  void StartMessageHandling();
  void StopMessageHandling();
  void AfterMessage(UINT message);
  static LRESULT CALLBACK EditorSubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;

  // Painting (status_bar_paint.cpp).
  void PaintAll(HDC dc);
  void PaintGradients(HDC dc);
  void PaintGrip(HDC dc);
  void PaintPanels(HDC dc);
  void PlaceBoundControl(StatusBarPanel& panel);
  void APILine(HDC dc, long x1, long y1, long x2, long y2, long colour);
  void ClearOn(HDC dc);
  void SelectScheme();

  long editIndex_ = 0;
  long backColor_ = long(kButtonFace);
  long foreColor_ = long(kButtonText);
  Font font_;
  RECT grip_{};
  long gripShape_ = 1;
  bool sizable_ = true;
  long panelCount_ = 0;
  std::vector<StatusBarPanel> panels_;
  bool listCreated_ = false;
  long theme_ = 0;
  long scheme_ = 0;
  bool trackingAvailable_ = false;
  bool user32Tracking_ = false;
  bool mouseInside_ = false;
  bool subclassed_ = false;
  WindowSubclasser subclasser_{*this};

  HWND txtEdit_ = nullptr;
  bool editorOpen_ = false;
  int mousePointer_ = 0;
  bool resizing_ = false;
  GdiObject<HBRUSH> editorBrush_;
};

}  // namespace vk::controls
