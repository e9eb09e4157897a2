#pragma once
// FDocumentosLogGeneral, the audit screen (form code "R01MRK"): the document-access
// log filtered by category, sub-category, department, user, document and dates, with
// the grid's column layout dialog and an export to a spreadsheet file.
//
// The frame (controls, layout, header, toolbars, host protocol, busy flag) lives in
// log_screen.cpp, the query, the grid and the filters in log_query.cpp, the export in
// log_export.cpp.
//
// One busy flag covers MakeForm and every command (the search and the export yield or
// open modal boxes): commands that arrive meanwhile are ignored, and a close (the
// host's or "BTN_KIL") is kept and done once the running command stops, which it does
// quietly at its next yield.
#include <optional>
#include <string>

#include "host/data_access.h"
#include "host/document_form.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/frame.h"
#include "hosted/grid/grid_control.h"
#include "hosted/line.h"
#include "hosted/simple_controls.h"
#include "hosted/toolbar.h"
#include "runtime/form.h"

namespace vk {

class FDocumentosLogGeneral : public Form, public DocumentForm {
 public:
  FDocumentosLogGeneral();
  ~FDocumentosLogGeneral() override;

  // DocumentForm
  void SetMode(const std::wstring& mode) override { mMode = mode; }
  void SetHWndContainer(long hwnd) override { mHWndContainer = hwnd; }
  long HWndContainer() const override { return mHWndContainer; }
  void Form_Resize() override;
  bool MakeForm() override;
  bool KillForm() override;
  void UnloadScreen() override;
  bool IsScreenLoaded() const override { return loaded(); }

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
  bool busy() const { return busy_ > 0; }
  bool ready() const { return mReady; }

 private:
  class BusyScope;

  // Frame (log_screen.cpp).
  void BuildControls();
  void Layout();
  void VkHeaderExpand();
  void VkHeaderCollapse();
  void TBarMain_ButtonClick(hosted::ToolbarClick& click);
  void TBarDetail_ButtonClick(hosted::ToolbarClick& click);
  void OpenReportMenu(hosted::ToolbarClick& click);
  void ShowGridLayout();
  void mnuReportView_Click() {}   // the audit screen has no report
  void mnuReportPrint_Click() {}
  void Form_Unload();
  // Serves waiting messages; false when the screen has since been closed, asked to
  // close or has lost its data object: the caller then stops quietly.
  bool ServeMessages();
  bool StillWanted() const;
  void CloseNow();

  // Query and grid (log_query.cpp).
  bool CreateDataObject();
  bool InitGrid();
  void ConfigureGrid();
  bool LoadCombos();
  bool ClearForm();
  bool SearchLog();
  bool ExecuteQuery();
  bool FillGrid();

  // Export (log_export.cpp).
  void ExportGrid();

  Controls c_{};
  std::wstring mMode;
  long mHWndContainer = 0;
  std::optional<DataAccess> mData;
  std::optional<Recordset> mRS;
  std::wstring mSQL;
  bool mReady = false;

  int busy_ = 0;
  bool closeRequested_ = false;
  bool fitting_ = false;  // sizing to the host: the resize it raises is laid out once
};

}  // namespace vk
