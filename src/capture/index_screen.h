#pragma once
// FDocumentosIndex, the cataloguing screen (form codes "I01CAT", mode "CAT", and
// "I01REV", mode "REV": review, no saving). The scans of the source folder show as a
// strip of thumbnails; the clerk shows one in the large view, keys its catalogue entry
// and accepts it into the thumbnail; the save command files every keyed scan into the
// document store and the database.
//
// The frame (controls, layout, toolbar, host protocol) lives in index_screen.cpp, the
// strip (folder scan, loading, showing, accepting, scrolling) in thumbnail_strip.cpp,
// the batch save in batch_catalogue.cpp.
//
// One busy flag covers MakeForm, the find and the save: while it is set, find, save,
// accept, the pickers and the state-icon clicks are ignored; a close (BTN_KIL or the
// host's Kill) stops the running operation at its next yield (between two documents)
// and then closes. Fit, zoom, the viewer program and scrolling stay live.
//
// A thumbnail's entry belongs to its file: a refill that puts another file under a
// thumbnail empties its entry, thumbnails past the last file are emptied, an accept
// goes only to the thumbnail whose file the large view shows, and a catalogued
// thumbnail is neither accepted nor filed again.
#include <optional>
#include <string>
#include <vector>

#include "capture/catalogue_combos.h"
#include "capture/document_record.h"
#include "capture/field_editors.h"
#include "capture/vk_image.h"
#include "controls/status_bar/vk_status_bar.h"
#include "host/data_access.h"
#include "host/document_form.h"
#include "host/screen_busy.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/file_system.h"
#include "hosted/frame.h"
#include "hosted/picture_box.h"
#include "hosted/simple_controls.h"
#include "hosted/tab_progress.h"
#include "hosted/text_box.h"
#include "hosted/toolbar.h"
#include "runtime/form.h"

namespace vk::capture {

class FDocumentosIndex : public Form, public DocumentForm {
 public:
  FDocumentosIndex();
  ~FDocumentosIndex() override;

  // DocumentForm
  void SetMode(const std::wstring& mode) override { mMode = mode; }
  void SetHWndContainer(long hwnd) override { mHWndContainer = hwnd; }
  long HWndContainer() const override { return mHWndContainer; }
  void Form_Resize() override;
  bool MakeForm() override;
  bool KillForm() override;
  void UnloadScreen() override { busy_.Close(); }
  bool IsScreenLoaded() const override { return loaded(); }

  struct Controls {
    hosted::Toolbar* TBarMain;
    hosted::Frame* VkImageFrame;
    VkImage* PSelection;
    hosted::Frame* VkImageMain;
    hosted::ComboBox *cboCategoriaId, *cboSubCategoriaId, *cboGerenciaId, *cboTipoDocumentoId;
    hosted::Label *lblCategoriaId, *lblSubCategoriaId, *lblGerenciaId, *lblTipoDocumentoId;
    hosted::PictureBox *PCategoriaId, *PSubCategoriaId, *PGerenciaId, *PTipoDocumentoId;
    hosted::Frame* VkDataParameter;
    hosted::CommandButton* cmdAceptar;
    hosted::Frame* VkDataTemp;
    hosted::TextBox* txtCBarra;
    hosted::Label* lblCBarra;
    hosted::TextBox* txtReferenciaId;
    hosted::Label* lblReferenciaId;
    hosted::DatePicker* dtpFecha;
    hosted::Label* lblFecha;
    hosted::Frame* VkImageSlide;
    hosted::PictureBox *cmdPrevious, *cmdNext;
    hosted::Frame* VkImageSlideInt;
    hosted::PictureBox *PState01, *PState02, *PState03;
    hosted::ProgressBar* VkProgressBar;
    controls::VkStatusBar* STBar;
    hosted::MenuHook* ctxHookMenu1;
  };
  const Controls& controls() const { return c_; }
  // The field editors of the document types (VkTextBox, VkComboBox, VkDTPicker, lblTitle).
  FieldEditors& editors() { return *editors_; }

  // Where a thumbnail stands; the state icon shows it.
  enum class SlideState {
    Empty,       // no file (made by the scan, or emptied by a refill)
    Loaded,      // PState01
    Unreadable,  // its file is there but cannot be shown: the failure mark
    Accepted,    // PState02: an entry was accepted into it
    Catalogued,  // PState03: filed by a save
  };
  int SlideCount() const { return static_cast<int>(slides_.size()); }
  VkImage& PSlide(int index) const;
  hosted::PictureBox& PSlideState(int index) const;
  SlideState slideState(int index) const;
  long SlideIndex() const { return mSlideIndex; }
  bool busy() const { return busy_.busy(); }
  // The failure mark a thumbnail whose file cannot be decoded shows.
  HBITMAP FailureMark() const { return failureMark_; }

  // The strip (thumbnail_strip.cpp), as the toolbar and the clicks run them.
  bool LoadImages();
  void ShowSlide(int index);
  void cmdAceptar_Click();
  void cmdPrevious_Click();
  void cmdNext_Click();
  // The batch save (batch_catalogue.cpp).
  void CatalogDocuments();

 protected:
  friend class Form;  // Load runs OnLoad
  void OnLoad() override {}

 private:
  struct Slide {
    VkImage* image = nullptr;
    hosted::PictureBox* icon = nullptr;
    SlideState state = SlideState::Empty;
  };

  // Frame (index_screen.cpp).
  void BuildControls();
  void BuildToolbar();
  void ConnectEvents();
  bool CreateDataObject();
  bool InitStatusBar() { return false; }  // the bar needs no set-up
  bool ClearForm();
  bool SetToolbarState();
  void Layout();
  void TBarMain_ButtonClick(hosted::ToolbarClick& click);
  void PickKey(Catalogue which);
  void PSlideState_Click(int index);
  void Form_Unload() { mData.reset(); }
  // Serves waiting messages; false when the screen has since been closed, asked to
  // close or has lost its data object: the caller then stops quietly.
  bool ServeMessages();
  bool StillWanted() const { return loaded() && !busy_.closeRequested() && mData.has_value(); }

  // Strip (thumbnail_strip.cpp).
  bool LoadSlides();
  void AddSlide(int index);
  void FillSlide(int index, const hosted::FolderFile& file);
  void EmptySlide(int index);
  void SetSlideState(int index, SlideState state);
  std::optional<int> AcceptTarget() const;
  std::wstring PlacedValue(const PlacedField& field);
  void MoveStrip(double offset);

  Controls c_{};
  std::wstring mMode;
  long mHWndContainer = 0;
  std::optional<DataAccess> mData;
  CatalogueCombos combos_;
  DocumentRecord record_;  // the entry being keyed; the field editors write into it
  std::optional<FieldEditors> editors_;
  long mSlideIndex = 0;
  bool slideShown_ = false;  // ShowSlide has run: accepts follow the large view's file
  std::vector<Slide> slides_;
  HBITMAP failureMark_ = nullptr;  // owned
  ScreenBusy busy_;
  bool fitting_ = false;  // sizing to the host: the resize it raises is laid out once
};

}  // namespace vk::capture
