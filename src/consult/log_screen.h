#pragma once
// FDocumentosLogGeneral, the audit screen (form code "R01MRK"): the document-access
// log filtered by category, sub-category, department, user, document and dates, with
// the grid's column layout dialog and an export to a spreadsheet file.
//
// The frame (controls, layout, header, toolbars, the steps of MakeForm) lives in
// log_screen.cpp, the query, the grid and the filters in log_query.cpp, the export in
// log_export.cpp; the host protocol, the data object and the busy flag are the document
// screens' own (screen_kit/document_screen).
//
// The busy flag covers MakeForm and every command (the search and the export yield or
// open modal boxes): commands that arrive meanwhile are ignored, and a close (the
// host's or "BTN_KIL") is kept and done once the running command stops, which it does
// quietly at its next yield.
#include <memory>
#include <optional>
#include <string>

#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/frame.h"
#include "hosted/grid/grid_control.h"
#include "hosted/line.h"
#include "hosted/simple_controls.h"
#include "hosted/toolbar.h"
#include "screen_kit/document_screen.h"

namespace vk::consult {

class FGridLayout;

class FDocumentosLogGeneral : public DocumentScreen {
 public:
  FDocumentosLogGeneral();
  ~FDocumentosLogGeneral() override;

  // The header's switch lays the screen out only once MakeForm has shown it.
  bool MakeForm() override;
  // The host's close: an open column layout dialog goes at once, the screen once the
  // command that opened it has ended.
  void UnloadScreen() override;

  // For tests and outside drivers.
  struct Controls {
    hosted::Toolbar* TBarMain;
    hosted::Frame* VkHeader;
    hosted::Label *lblCategoriaId, *lblSubCategoriaId, *lblGerenciaId;
    hosted::ComboBox *cboCategoriaId, *cboSubCategoriaId, *cboGerenciaId;
    hosted::Label *lblUsuarioId, *lblDesdeHasta, *lblDocumentoId;
    hosted::ComboBox* cboUsuarioId;
    hosted::DatePicker *dtpFechaDesde, *dtpFechaHasta;
    hosted::ComboBox* cboDocumentoId;
    hosted::Line* Line1;
    hosted::Frame* VkContainerData;
    hosted::Toolbar* TBarDetail;
    grid::GridControl* GRDetail;
    hosted::CommonStatusBar* STBar;
  };
  const Controls& controls() const { return c_; }
  const std::wstring& sql() const { return mSQL; }
  bool ready() const { return mReady; }

 private:
  // Frame (log_screen.cpp).
  void BuildControls();
  bool FillScreen() override;
  void PlaceControls() override;
  void VkHeaderExpand();
  void VkHeaderCollapse();
  void TBarMain_ButtonClick(hosted::ToolbarClick& click);
  void TBarDetail_ButtonClick(hosted::ToolbarClick& click);
  void OpenReportMenu(hosted::ToolbarClick& click);
  void ShowGridLayout();
  void mnuReportView_Click() {}   // the audit screen has no report
  void mnuReportPrint_Click() {}

  // Query and grid (log_query.cpp).
  bool InitGrid();
  void ConfigureGrid();
  bool LoadCombos();
  void ClearForm() override;
  bool SearchLog();
  bool ExecuteQuery();
  bool FillGrid();

  // Export (log_export.cpp).
  void ExportGrid();

  Controls c_{};
  std::weak_ptr<FGridLayout> layoutDialog_;  // while CFG_GRD shows it
  std::optional<Recordset> mRS;
  std::wstring mSQL;
  bool mReady = false;
};

}  // namespace vk::consult
