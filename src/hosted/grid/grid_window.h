#pragma once
// The grid's window: an owned, owner-drawn Win32 child window over a GridModel. It
// paints only the rows in view (a million rows cost what forty do), scrolls by rows,
// and turns mouse and keys into the grid's events: header click (column position),
// double click, current-row change, mouse up (button, shift, x, y in twips).
// The head column and the header row stay put; data columns scroll sideways.
// Not handled yet: resizing columns with the mouse, collapsing groups, several
// selected rows.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "hosted/grid/grid_model.h"
#include "runtime/gdi_object.h"

namespace vk::grid {

class CellEditor;

class GridWindow {
 public:
  // Creates the window as a child of `parent` at the given pixel rectangle, showing
  // `model`, which must outlive the window.
  GridWindow(HWND parent, const RECT& pixels, GridModel& model, bool visible = true);
  ~GridWindow();
  GridWindow(const GridWindow&) = delete;
  GridWindow& operator=(const GridWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  GridModel& Model() { return model_; }
  const GridModel& Model() const { return model_; }

  std::function<void(int position)> OnHeadClick;
  std::function<void()> OnDblClick;
  std::function<void()> OnRowSelected;
  std::function<void(int button, int shift, float x, float y)> OnMouseUp;

  // Layout in pixels, for tests and for the report of what is in view.
  int HeaderHeight() const;
  int RowHeight() const;
  int TopRow() const { Sync(); return topRow_; }
  int VisibleRowCount() const;  // whole rows that fit under the header
  void SetTopRow(int displayRow);
  void EnsureVisible(int displayRow);
  // Pixel rectangle of a cell in the window (the row may be out of view).
  RECT CellRect(int displayRow, int position) const;
  RECT HeaderRect(int position) const;
  // What lies at a point: the display row (-1 the header, -2 nothing) and the column.
  struct Hit { int row = -2; int position = -1; };
  Hit HitTest(POINT p) const;

  // The rows painted by the last paint, for the checks of painting only what is seen.
  int LastPaintedRows() const { return lastPainted_; }
  // Paints the whole client area into a DC (what WM_PAINT and WM_PRINTCLIENT do).
  void Paint(HDC dc);

  // Editing the current cell in place (text, drop-down list, date picker).
  bool BeginEdit(int position);
  void EndEdit(bool commit);
  bool Editing() const { return editor_ != nullptr; }
  CellEditor* Editor() const { return editor_.get(); }

  // The window procedure of the class.
  static LRESULT CALLBACK WndProcEntry(HWND, UINT, WPARAM, LPARAM) noexcept;
  // Posted by the editor (lParam its window): end the edit, keeping (wParam 1) or
  // dropping (0) the text.
  static constexpr UINT kEndEditMessage = WM_APP + 1;

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnModelChanged();
  // Brings the scroll position and bars up to the model after changes (done once per
  // batch of changes, not per written cell).
  void Sync() const;
  void UpdateScrollBars();
  void OnVScroll(int code);
  void OnHScroll(int code);
  void OnButtonDown(int button, WPARAM keys, POINT p, bool doubleClick);
  // The current row's first editable column that Space ticks (tick) or F2 and Enter
  // edit; 0 when it has none.
  int KeyColumn(bool tick) const;
  void OnKeyDown(WPARAM key);
  void MoveCurrent(int displayRow);
  void ToggleCheck(int dataRow, int position);
  HFONT FontFor(const GridStyle& style);
  int ColumnLeft(int position) const;  // pixels, before scrolling
  int ColumnWidthPx(int position) const;
  void PaintHeader(HDC dc, const RECT& client);
  void PaintRowMarker(HDC dc, const RECT& r);
  void PaintRow(HDC dc, int displayRow, int y, const RECT& client);
  void PaintCell(HDC dc, const RECT& r, const GridStyle& style, const std::wstring& text, int defaultAlign);
  void PaintBackground(HDC dc, const RECT& r, const GridStyle& style);

  GridModel& model_;
  HWND hwnd_ = nullptr;
  mutable int topRow_ = 0;
  mutable bool layoutPending_ = false;
  bool paintAsked_ = false;  // invalidated for a model change and not painted since
  int scrollX_ = 0;  // pixels
  int lastPainted_ = 0;
  bool focused_ = false;
  std::map<std::tuple<std::wstring, int, bool, bool>, GdiObject<HFONT>> fonts_;
  std::unique_ptr<CellEditor> editor_;
  friend class CellEditor;
};

}  // namespace vk::grid
