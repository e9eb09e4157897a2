#pragma once
// FDocumentosSearchS ("B01F01", "B01F02"): the documents the user may see, narrowed by
// a filter panel (category, sub-category, department, document type, reference and bar
// code, each text exact when its box is ticked) and joined with the site's external
// documents when the database offers them. The list starts empty until the user
// searches; "BTN_VIE" shows or hides the preview beside the list.
#include "consult/list_screen.h"
#include "hosted/combo_box.h"
#include "hosted/simple_controls.h"
#include "hosted/text_box.h"

namespace vk::consult {

class FDocumentosSearchS : public ListScreen {
 public:
  FDocumentosSearchS();

  struct Filters {
    hosted::Frame* VkHeader = nullptr;
    hosted::ComboBox* cboCategoriaId = nullptr;
    hosted::ComboBox* cboSubCategoriaId = nullptr;
    hosted::ComboBox* cboGerenciaId = nullptr;
    hosted::ComboBox* cboTipoDocumentoId = nullptr;
    hosted::TextBox* txtReferenciaId = nullptr;
    hosted::CheckBox* chkReferenciaId = nullptr;
    hosted::TextBox* txtCBarra = nullptr;
    hosted::CheckBox* chkCBarra = nullptr;
  };
  const Filters& filters() const { return f_; }
  bool previewShown() const { return preview_; }
  const std::optional<Recordset>& probeRecordset() const { return probe_; }

 protected:
  void OnCreateDataObject() override { preview_ = false; }
  void SetComboTags() override;
  void AfterClear() override;
  bool FillsOnMake() const override { return false; }
  ListStatement DocumentStatement() override;
  void OnMainKey(const std::wstring& key) override;
  void LayoutListWidth(double width) override;
  void LayoutPreviewFrame(double width) override;
  bool ImageMenuSeparator() const override { return true; }

 private:
  void BuildFilterPanel();

  Filters f_;
  bool preview_ = false;
  std::optional<Recordset> probe_;
};

}  // namespace vk::consult
