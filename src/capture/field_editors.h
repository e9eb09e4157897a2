#pragma once
// The field editors of the capture screens. Every document type defines up to ten
// fields of its own in TipoDocumentosDetalle (DetalleId n is stored in Campo n of the
// record). A screen builds one hidden editor for every distinct definition once
// (BuildFieldEditors: a caption label lblTitle(k) and a text box VkTextBox(k), combo
// box VkComboBox(k) or date picker VkDTPicker(k)); each change of the document-type
// combo parks every editor in the hidden frame VkDataTemp and places the chosen type's
// editors one under another in VkDataParameter, tagged with their field number
// (PlacedFields records which editor serves which field); the user's changes in an
// editor write its value into Campo n of the screen's record.
//
// One class serves both screens, told apart by their geometry:
//
//   // FDocumentosIndex: members record_, data_ (std::optional<DataAccess>), editors_
//   editors_.emplace(*this, capture::FieldEditors::Frames{*VkDataParameter, *VkDataTemp,
//                    *cboTipoDocumentoId, cmdAceptar}, capture::kCataloguingGeometry, record_,
//                    [this] { return data_ ? &*data_ : nullptr; });
//   editors_->BuildFieldEditors(*data_, YieldWhileLoaded(*this));   // MakeForm
//   editors_->CampoWritten.Connect([this](int n, const std::wstring& v) { PSelection->setCampo(n, v); });
//   ... select the stored type in cboTipoDocumentoId (its Change places), then
//   editors_->FillFromRecord();                                                 // ShowSlide / load
//
// Code never writes into the record through the editors: placing resets them and
// FillFromRecord shows the record with their Change events muted, so a reload never
// blanks a field; only the user's edits write back. A screen's own clear routine
// should mute them the same way.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/catalogue_combos.h"
#include "capture/document_record.h"
#include "capture/parameter_scroll.h"
#include "hosted/combo_box.h"
#include "hosted/date_picker.h"
#include "hosted/frame.h"
#include "hosted/simple_controls.h"
#include "hosted/text_box.h"
#include "runtime/event.h"
#include "runtime/form.h"
#include "screen_kit/data_access.h"

namespace vk::capture {

// Where a screen places the editors inside VkDataParameter (twips), and whether the
// chosen type goes into its record.
struct FieldEditorGeometry {
  double editorLeft;
  double widthMargin;  // a stretched editor is as wide as the frame minus this
  double labelLeft;
  bool typeIntoRecord;
};
inline constexpr FieldEditorGeometry kCataloguingGeometry{2200, 2400, 200, false};  // FDocumentosIndex
inline constexpr FieldEditorGeometry kMaintenanceGeometry{4000, 5000, 1000, true};  // FDocumentosABM

// What an editor needs to show its typical value in the screens' 8-point Verdana (twips):
// a text of 20 characters, and a combo box's with its drop-down button; a date with
// the drop-down button, and with the check box of a picker that may hold no date.
inline constexpr double kTextEditorWidth = 2000, kComboEditorWidth = kTextEditorWidth + 255;
inline constexpr double kDateEditorWidth = 1500, kNullableDateEditorWidth = 1800;
// The space kept between two controls side by side.
inline constexpr double kControlGap = 120;

// The control-array names of the three editor kinds.
inline constexpr wchar_t kTextBoxArray[] = L"VkTextBox";
inline constexpr wchar_t kComboBoxArray[] = L"VkComboBox";
inline constexpr wchar_t kDatePickerArray[] = L"VkDTPicker";

// One entry of the placement table: the editor's array name ("" for a definition row
// that placed no editor), its index k, the row's DetalleId and its Nombre.
struct PlacedField {
  std::wstring kind;
  int index = 0;
  long detalleId = 0;
  std::wstring nombre;
  bool operator==(const PlacedField&) const = default;
};

class FieldEditors {
 public:
  struct Frames {
    hosted::Frame& VkDataParameter;
    hosted::Frame& VkDataTemp;
    hosted::ComboBox& cboTipoDocumentoId;
    hosted::CommandButton* cmdAceptar;  // the cataloguing screen's accept command; nullptr elsewhere
  };
  // The screen's data object, or nullptr once it has none.
  using DataSource = std::function<const DataAccess*()>;

  // Adds the design elements 0 of lblTitle, VkTextBox, VkComboBox and VkDTPicker to
  // VkDataTemp and connects the type combo's Change (placing) and the editors' Change
  // (writing back into record). The screen keeps this object, record and its frames
  // alive together.
  FieldEditors(Form& screen, Frames frames, FieldEditorGeometry geometry, DocumentRecord& record, DataSource data);
  FieldEditors(const FieldEditors&) = delete;
  FieldEditors& operator=(const FieldEditors&) = delete;

  // One hidden editor and label per distinct field definition, k = 1, 2, ... in the
  // order the database gives them. Yields after each text box and combo box. A row
  // whose Nombre is Null, or that fails otherwise, is skipped and the build goes on.
  // True when every row was built; false when the definitions could not be read, a
  // row was skipped, or a yield said to stop.
  bool BuildFieldEditors(const DataAccess& data, const ScreenYield& yield);

  // The type combo's change (connected already): parks every editor, then places the
  // chosen type's editors and fills PlacedFields. A key that is not a whole number
  // places nothing (on the maintenance screen it ends before anything is parked); a
  // type without definitions places none and still shows the accept command.
  void cboTipoDocumentoId_Change();

  // Shows the record's Campo values in the placed editors (text as it stands, a combo's
  // key, a date read as yyyy-mm-dd or else in the regional short form, today when it
  // reads as neither), with their Change events muted: the record keeps exactly what it
  // holds, a combo key outside the list shows as an extra item. CampoWritten is raised
  // for every filled field with the record's own value.
  void FillFromRecord();

  // Lays the placed editors and their captions across the frame's current width; the
  // placement runs it, and a screen's layout after it sizes the frame. The screen's own
  // columns are kept where they fit; where an editor would reach past the frame (its
  // scroll bar counted) or under the accept command, or be narrower than its typical
  // value, the columns move left and the editor keeps that width.
  void FitColumns();
  // The tallest height up to `height` (twips) at which the frame shows only whole rows
  // of editors (a row cut in half reads like another field).
  static double WholeRowsHeight(double height);

  const std::vector<PlacedField>& PlacedFields() const { return placed_; }
  // The type the placed editors stand for: nothing before the first placement, and
  // nothing after one that parked the editors but could not read its type's rows.
  const std::optional<long>& PlacedTypeId() const { return placedTypeId_; }
  // After a user's edit reached Campo n of the record, and after a fill: the number and
  // the value, for the screen's large view.
  Event<int, const std::wstring&> CampoWritten;

  ControlArray<hosted::Label>& lblTitle() { return lblTitle_; }
  ControlArray<hosted::TextBox>& VkTextBox() { return VkTextBox_; }
  ControlArray<hosted::ComboBox>& VkComboBox() { return VkComboBox_; }
  ControlArray<hosted::DatePicker>& VkDTPicker() { return VkDTPicker_; }
  ParameterScroll& scroll() { return scroll_; }

 private:
  struct Definition;
  struct DetailRow;
  // A placed editor and its caption, with whether the editor takes the frame's width.
  struct ShownEditor {
    Control* editor;
    hosted::Label* label;
    bool stretch;
  };
  void BuildOne(const Definition& row, int k, const DataAccess& data, const ScreenYield& yield, bool& stopped);
  void Park();
  void PlaceRows(const std::vector<DetailRow>& rows);
  void WriteBack(const std::wstring& tag, const std::wstring& value);

  Form& screen_;
  Frames frames_;
  FieldEditorGeometry geometry_;
  DocumentRecord& record_;
  DataSource data_;
  ControlArray<hosted::Label> lblTitle_;
  ControlArray<hosted::TextBox> VkTextBox_;
  ControlArray<hosted::ComboBox> VkComboBox_;
  ControlArray<hosted::DatePicker> VkDTPicker_;
  ParameterScroll scroll_;
  std::vector<PlacedField> placed_;
  std::optional<long> placedTypeId_;
  std::vector<ShownEditor> shown_;
};

// A date kept in a Campo text: "yyyy-mm-dd" (a time after it is ignored) first, then
// the regional short date; nothing when it reads as neither. Never guessed day first.
std::optional<DATE> CampoDate(const std::wstring& text);

}  // namespace vk::capture
