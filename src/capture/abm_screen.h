#pragma once
// FDocumentosABM, the maintenance screen (form codes "I01VAL", mode "VAL", and "I01MAN",
// mode "ADM"): one catalogued document found through the search picker, shown with its
// image and catalogue entry, corrected and saved, validated or deleted.
//
// The frame (controls, layout, toolbar and its states by mode, the large view's
// commands, the reset of the controls, the steps of MakeForm) lives in abm_screen.cpp;
// the record operations (find, load, save, validate, delete) in abm_operations.cpp; the
// host protocol, the data object and the busy flag are the document screens' own
// (screen_kit/document_screen).
//
// The current document is explicit: its id is the record's DocumentoId, 0 for none. It
// changes only when a load has read the whole row; a cancelled find and a delete leave
// none, and a load that fails changes nothing. With no document, save, validate and
// delete show their failure text without running any SQL. A save sends the loaded
// values apart from what the user changed on screen (a date kept to the second, no date
// kept as none, keys that are no longer enabled kept): a field no editor shows keeps its
// stored value, and so does a date field whose editor shows only today for a text that
// is empty or reads as no date, until the user sets a day there. While the type's
// definitions could not be read, a save is refused. A data-object call that raises
// fails as one that answers False, with the reason after the failure text.
//
// The busy flag covers MakeForm and every command (they yield or open modal boxes):
// commands that arrive meanwhile are ignored, and a close (the host's Kill or "BTN_KIL")
// is done once the running command has stopped, quietly, at its next yield. The large
// view's display keys (fit, zoom, re-fit, the viewer program) stay live.
#include <optional>
#include <string>

#include "capture/catalogue_combos.h"
#include "capture/document_record.h"
#include "capture/field_editors.h"
#include "controls/status_bar/vk_status_bar.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/frame.h"
#include "hosted/picture_box.h"
#include "hosted/simple_controls.h"
#include "hosted/text_box.h"
#include "hosted/toolbar.h"
#include "screen_kit/document_screen.h"
#include "screen_kit/vk_image.h"

namespace vk::capture {

class FDocumentosABM : public DocumentScreen {
 public:
  FDocumentosABM();
  ~FDocumentosABM() override;

  // For tests and outside drivers.
  struct Controls {
    hosted::Toolbar* TBarMain;
    hosted::Frame* VkImageMain;
    VkImage* PSelection;
    hosted::ComboBox *cboCategoriaId, *cboSubCategoriaId, *cboGerenciaId, *cboTipoDocumentoId;
    hosted::Label *lblCategoriaId, *lblSubCategoriaId, *lblGerenciaId, *lblTipoDocumentoId;
    hosted::PictureBox *PCategoriaId, *PSubCategoriaId, *PGerenciaId, *PTipoDocumentoId;
    hosted::Frame *VkDataParameter, *VkDataTemp;
    hosted::TextBox* txtCBarra;
    hosted::Label* lblCBarra;
    hosted::TextBox* txtReferenciaId;
    hosted::Label* lblReferenciaId;
    hosted::DatePicker* dtpFecha;
    hosted::Label* lblFecha;
    controls::VkStatusBar* STBar;
    hosted::MenuHook* ctxHookMenu1;
  };
  const Controls& controls() const { return c_; }
  const FieldEditors& editors() const { return *editors_; }
  // The current document's id, 0 when there is none, and the working record.
  long currentDocumentId() const { return record_.DocumentoId; }
  const DocumentRecord& record() const { return record_; }

 private:
  // Frame (abm_screen.cpp).
  void BuildControls();
  void BuildToolbar();
  bool FillScreen() override;
  void PlaceControls() override;
  bool InitStatusBar();
  void ClearForm() override;
  bool SetToolbarState();
  void TBarMain_ButtonClick(hosted::ToolbarClick& click);
  void RunCommand(hosted::ToolbarClick& click);
  bool ShowReport(bool /*toPrinter*/) { return false; }  // the screen has no report
  void mnuReportView_Click() { ShowReport(false); }
  void mnuReportPrint_Click() { ShowReport(true); }
  void PickerButton_Click(Catalogue which);

  // Record operations (abm_operations.cpp).
  bool FindDocument();
  bool LoadDocumentById(double id);
  bool SaveDocument();
  bool ValidateDocument();
  bool DeleteDocument();
  std::optional<DocumentRecord> ReadDocument(long id) const;
  void ShowDocument(const DocumentRecord& staged);
  // False when the stored file could not be shown (the view is then empty).
  bool ShowLargeView();
  DATE FechaToSave() const;
  // Whether the placed field editors stand for the record's document type (the last
  // placement read that type's definitions).
  bool EditorsStandForRecordType() const;
  bool RunDocumentStatement(const std::wstring& statement, const std::wstring& failureText);
  void DropCurrentDocument();
  // No current document, and nothing of the last one on screen: the large view empty,
  // no date, the controls reset.
  void ShowNoDocument();

  Controls c_{};
  CatalogueCombos combos_{};
  DocumentRecord record_;
  std::optional<FieldEditors> editors_;  // made with the frames, kept with the record
};

}  // namespace vk::capture
