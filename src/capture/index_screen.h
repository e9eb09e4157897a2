#pragma once
// FDocumentosIndex, the cataloguing screen (form codes "I01CAT", mode "CAT", and
// "I01REV", mode "REV": review, no saving). The scans of the source folder show as a
// strip of thumbnails; the clerk shows one in the large view, keys its catalogue entry
// and accepts it into the thumbnail; the save command files every keyed scan into the
// document store and the database.
//
// The frame (controls, layout, toolbar, the steps of MakeForm) lives in
// index_screen.cpp, the strip (folder scan, loading, showing, accepting, scrolling) in
// thumbnail_strip.cpp, the batch save in batch_catalogue.cpp; the host protocol, the
// data object and the busy flag are the document screens' own (screen_kit/document_screen).
//
// The busy flag covers MakeForm, the find, the save, the pickers and the report menu
// (both modal): while it is set, find, save, accept, the pickers and the state-icon
// clicks are ignored; a close (BTN_KIL or the host's Kill) stops the running operation
// at its next yield (between two documents) and then closes, with the normal pointer. Fit, zoom, the viewer program and scrolling stay live.
//
// A thumbnail's entry belongs to its file, and follows it wherever a save that could
// not file it left it (under the name it was keyed as): a refill that puts another file
// under a thumbnail empties its entry, thumbnails past the last file are emptied, an accept
// goes only to the thumbnail whose file the large view shows (with nothing shown it
// goes nowhere and says so), and a catalogued thumbnail is neither accepted nor filed
// again. After a save pass the screen starts again as it opened: the strip from its
// first scan, nothing shown, the entry reset, no progress.
#include <optional>
#include <string>
#include <vector>

#include "capture/catalogue_combos.h"
#include "capture/document_record.h"
#include "capture/field_editors.h"
#include "controls/status_bar/vk_status_bar.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/file_system.h"
#include "hosted/frame.h"
#include "hosted/picture_box.h"
#include "hosted/simple_controls.h"
#include "hosted/tab_progress.h"
#include "hosted/text_box.h"
#include "hosted/toolbar.h"
#include "runtime/gdi_object.h"
#include "screen_kit/document_screen.h"
#include "screen_kit/vk_image.h"

namespace vk::capture {

class FDocumentosIndex : public DocumentScreen {
 public:
  FDocumentosIndex();

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
  // The failure mark a thumbnail whose file cannot be decoded shows.
  HBITMAP FailureMark() const { return failureMark_.get(); }

  // The strip (thumbnail_strip.cpp), as the toolbar and the clicks run them.
  bool LoadImages();
  void ShowSlide(int index);
  void cmdAceptar_Click();
  void cmdPrevious_Click();
  void cmdNext_Click();
  // The batch save (batch_catalogue.cpp).
  void CatalogDocuments();

 private:
  struct Slide {
    VkImage* image = nullptr;
    hosted::PictureBox* icon = nullptr;
    SlideState state = SlideState::Empty;
    std::optional<hosted::FileIdentity> file;  // its file as loaded: the file its entry is keyed for
    std::wstring home;  // where its file was loaded from: the scan's own name, wherever a save left it
  };

  // Frame (index_screen.cpp).
  void BuildControls();
  void BuildToolbar();
  void ConnectEvents();
  bool FillScreen() override;
  bool InitStatusBar() { return false; }  // the bar needs no set-up
  void ClearForm() override;
  bool SetToolbarState();
  // After a save pass: the screen as it opened, on the folder's remaining scans.
  void StartAfresh();
  void PlaceControls() override;
  // The thumbnails side by side from the strip's start, each icon on its thumbnail.
  void PlaceSlides();
  void TBarMain_ButtonClick(hosted::ToolbarClick& click);
  void PickKey(Catalogue which);
  void PSlideState_Click(int index);

  // Strip (thumbnail_strip.cpp).
  bool LoadSlides();
  void AddSlide(int index);
  void FillSlide(int index, const hosted::FolderFile& file);
  void EmptySlide(int index);
  // The large view shows no file and the record holds no entry, as at the opening.
  void ShowNothing();
  void SetSlideState(int index, SlideState state);
  // The file a thumbnail's entry is keyed for: its own name, where it is and what it is.
  hosted::TrackedFile SlideFile(int index) const;
  // The entry follows its file to where a save that could not file it left it (nowhere
  // when the save could not tell), so that saving again files it.
  void FollowFile(int index, const hosted::TrackedFile& file);
  // The thumbnail an accept writes to; nothing, with the clerk's reason, when none.
  std::optional<int> AcceptTarget(std::wstring& refusal) const;
  std::wstring PlacedValue(const PlacedField& field);
  void MoveStrip(double offset);

  Controls c_{};
  CatalogueCombos combos_;
  DocumentRecord record_;  // the entry being keyed; the field editors write into it
  std::optional<FieldEditors> editors_;
  long mSlideIndex = 0;
  std::vector<Slide> slides_;
  GdiObject<HBITMAP> failureMark_;
};

}  // namespace vk::capture
