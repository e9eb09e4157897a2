#pragma once
// The grid's print settings and the rendering of the grid into report pages: a page
// header (text and style), the column captions, the rows as shown (group rows and
// format conditions included) and a page footer with the page number. No printer is
// involved: the pages go to a report viewer.
#include <string>

#include "hosted/grid/grid_model.h"
#include "hosted/grid/report_document.h"

namespace vk::grid {

class ReportViewer;

struct ReportTextStyle {
  std::wstring fontName = L"Verdana";
  float fontSize = 9.0f;
  bool bold = false;
  bool italic = false;
  OLE_COLOR foreColor = 0;
  int alignment = 4;  // 1-9 as the grid's codes
  int option = 0;     // a further setting the screens give the footer; no effect here, kept
};

struct PrintSettings {
  // Page values, in twips.
  double MarginLeft = 300, MarginTop = 400, MarginRight = 400, MarginBottom = 400;
  double PageHeaderHeight = 750, PageFooterHeight = 750;
  std::wstring PageHeader;
  ReportTextStyle PageHeaderStyle;
  std::wstring PageFooter;
  ReportTextStyle PageFooterStyle;
  // Switches.
  int Copies = 1;
  bool RepeatColumnHeaders = true;
  bool PrintGridLines = true;
  bool PrintGroupRows = true;
  bool ShowPageNumbers = true;
  bool PrintHiddenColumns = false;
  bool Landscape = false;
  // Where PrintPreview renders to.
  ReportViewer* Viewer = nullptr;
};

// The grid laid out as report pages. Columns wider than the page together are
// narrowed in proportion to fit it.
ReportDocument RenderGridReport(const GridModel& model, const PrintSettings& settings);

}  // namespace vk::grid
