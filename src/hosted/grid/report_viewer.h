#pragma once
// The report viewer: shows the pages of a ReportDocument one at a time, with a strip
// of page buttons ("|<", "<", ">", ">|", zoom "-" and "+") and the page number above
// the page; the page scrolls when it is taller than the window. Keys: Page Up/Down,
// Home/End, + and -. It loads and saves report files of ReportDocument's format.
// A control of the runtime's forms (the preview dialog's ARVPrint):
//
//   auto& arv = form.Add<ReportViewer>({.name = L"ARVPrint", .width = 9000, .height = 6000});
//   grid.Print().Viewer = &arv;  grid.PrintPreview();
#include <string>

#include "hosted/form_control.h"
#include "hosted/grid/report_document.h"

namespace vk::grid {

class ReportViewer : public hosted::FormControl {
 public:
  ReportViewer(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  enum Button { kFirst, kPrevious, kNext, kLast, kZoomOut, kZoomIn, kButtonCount };

  void SetDocument(ReportDocument doc);
  const ReportDocument& Document() const { return doc_; }
  // Raises for a missing file or one that is not a report of ours; the document shown
  // before stays.
  void LoadFile(const std::wstring& path);
  void SaveFile(const std::wstring& path) const { doc_.Save(path); }

  int PageCount() const { return static_cast<int>(doc_.pages.size()); }
  int Page() const { return page_ + 1; }  // from 1; 0 with no pages
  void SetPage(int page);                 // raises outside 1..PageCount
  void FirstPage() { Go(0); }
  void PreviousPage() { Go(page_ - 1); }
  void NextPage() { Go(page_ + 1); }
  void LastPage() { Go(PageCount() - 1); }

  int Zoom() const { return zoom_; }  // percent of the page's real size
  void SetZoom(int percent);          // raises outside 10..400
  void ZoomIn();
  void ZoomOut();

  // A setting the list screens give one of the viewer's own parts before a preview;
  // it changes nothing here and reads back.
  int Option() const { return option_; }
  void SetOption(int value) { option_ = value; }

  // Where a strip button is, in client pixels (for clicks in tests).
  RECT ButtonRect(Button b) const;
  int StripHeight() const { return 28; }
  int ScrollY() const { return scrollY_; }

 protected:
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  DWORD ExtraStyle() const override { return WS_VSCROLL; }
  void OnResized(int width, int height) override;

 private:
  void Go(int page);
  void ScrollTo(int y);
  void UpdateScrollBar();
  double Scale() const;  // pixels per twip
  int PageHeightPx() const;
  void PaintStrip(HDC dc, const RECT& client);

  ReportDocument doc_;
  int page_ = -1;
  int zoom_ = 100;
  int scrollY_ = 0;
  int option_ = 0;
};

}  // namespace vk::grid
