#include "capture/field_editors.h"
#include "screen_kit/sql_text.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "base/clock.h"
#include "base/steps.h"
#include "base/vb_error.h"
#include "runtime/redraw_pause.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::capture {
namespace {

const wchar_t kDefinitions[] =
    L"Select Distinct Nombre , DataType , ScreenType , RelationSentence , Alignment , Decimales , ToolTipText "
    L"From TipoDocumentosDetalle";

constexpr double kRowSpacing = 400;
constexpr double kLabelOffset = 50;
// A row's editor height and the space kept below it.
constexpr double kRowHeight = 315, kRowMargin = 60;
// The widths an editor is built with.
constexpr double kBuiltTextWidth = 2000, kBuiltComboWidth = 2000, kBuiltDateWidth = 1500;

// The text box's alignment code for a definition's Alignment: 0 gives 2, 1 gives 0,
// 2 gives 1, anything else (nothing at all too) 2.
int AlignmentCode(const Variant& alignment) {
  if (alignment.isNull() || alignment.isEmpty() || !IsNumeric(alignment)) return 2;
  switch (CLng(alignment)) {
    case 1: return 0;
    case 2: return 1;
    default: return 2;
  }
}

const wchar_t* KindOf(const std::wstring& screenType) {
  if (screenType == L"TextBox") return kTextBoxArray;
  if (screenType == L"ComboBox") return kComboBoxArray;
  if (screenType == L"DTPicker") return kDatePickerArray;
  return nullptr;  // compared exactly: "textbox" makes no editor
}

bool IsEditorName(const std::wstring& name) {
  return name == kTextBoxArray || name == kComboBoxArray || name == kDatePickerArray;
}

const std::wstring* FieldNameOf(Control* control) {
  if (auto* box = dynamic_cast<hosted::TextBox*>(control)) return &box->FieldName();
  if (auto* combo = dynamic_cast<hosted::ComboBox*>(control)) return &combo->FieldName();
  if (auto* picker = dynamic_cast<hosted::DatePicker*>(control)) return &picker->FieldName();
  return nullptr;
}

// The least width at which an editor shows its typical value.
double TypicalWidth(Control& editor) {
  if (dynamic_cast<hosted::ComboBox*>(&editor)) return kComboEditorWidth;
  if (auto* picker = dynamic_cast<hosted::DatePicker*>(&editor))
    return picker->CheckNull() ? kNullableDateEditorWidth : kDateEditorWidth;
  return kTextEditorWidth;
}

double BuiltWidth(Control& editor) {
  if (dynamic_cast<hosted::ComboBox*>(&editor)) return kBuiltComboWidth;
  if (dynamic_cast<hosted::DatePicker*>(&editor)) return kBuiltDateWidth;
  return kBuiltTextWidth;
}

ControlArgs Template(const wchar_t* name, double top, double height, hosted::Frame& frame) {
  ControlArgs args;
  args.name = name;
  args.index = 0;
  args.left = 120;
  args.top = top;
  args.width = 1590;
  args.height = height;
  args.container = &frame;
  return args;
}

}  // namespace

// One distinct definition as the build reads it.
struct FieldEditors::Definition {
  bool readable = false;
  std::wstring nombre, screenType, relationSentence, toolTipText;
  int alignmentCode = 2;
};

// One definition row of the chosen type as the placement reads it.
struct FieldEditors::DetailRow {
  long detalleId = 0;
  std::wstring nombre, screenType;
  bool widen = false;  // a text box with DataType 0 takes the frame's width
};

FieldEditors::FieldEditors(Form& screen, Frames frames, FieldEditorGeometry geometry, DocumentRecord& record,
                           DataSource data)
    : screen_(screen),
      frames_(frames),
      geometry_(geometry),
      record_(record),
      data_(std::move(data)),
      scroll_(frames.VkDataParameter, frames.cmdAceptar) {
  hosted::Frame& temp = frames_.VkDataTemp;
  lblTitle_.Bind(screen.Add<hosted::Label>(Template(L"lblTitle", 120, 240, temp)));
  VkTextBox_.Bind(screen.Add<hosted::TextBox>(Template(kTextBoxArray, 480, 315, temp)));
  VkComboBox_.Bind(screen.Add<hosted::ComboBox>(Template(kComboBoxArray, 840, 315, temp)));
  VkDTPicker_.Bind(screen.Add<hosted::DatePicker>(Template(kDatePickerArray, 1200, 315, temp)));
  // Connected on the templates: every loaded element takes the handlers with it.
  VkTextBox_[0].Change.Connect([this](int index) {
    IgnoreErrors([&] { WriteBack(VkTextBox_[index].tag(), VkTextBox_[index].Text()); });
  });
  VkComboBox_[0].Change.Connect([this](int index) {
    IgnoreErrors([&] { WriteBack(VkComboBox_[index].tag(), VkComboBox_[index].SelectedKey()); });
  });
  VkDTPicker_[0].Change.Connect([this](int index) {
    IgnoreErrors([&] {
      // Only the user's change arrives here: a picker that shows today because its
      // field holds no date leaves that field as stored until the user sets a day. A
      // picker holding no date leaves its field as it was.
      if (auto date = VkDTPicker_[index].Value()) WriteBack(VkDTPicker_[index].tag(), DateToText(*date));
    });
  });
  frames_.cboTipoDocumentoId.Change.Connect([this](int) { cboTipoDocumentoId_Change(); });
}

bool FieldEditors::BuildFieldEditors(const DataAccess& screenData, const ScreenYield& yield) {
  const DataAccess data = screenData;  // ours for the whole build, whatever the screen does meanwhile
  std::vector<Definition> rows;
  const bool read = FalseOnError([&] {
    std::optional<Recordset> rs = data.GetData(Shared().gApplicationName, kDefinitions);
    if (!rs) return false;
    if (rs->RecordCount() > 0) {
      rs->MoveFirst();
      for (; !rs->IsEOF(); rs->MoveNext()) {
        Definition row;
        // Each row is read whole; a Null name leaves the row unreadable, nothing else.
        row.readable = IgnoreErrors([&] {
          row.nombre = CStr(rs->Field(L"Nombre"));
          row.screenType = rs->FieldText(L"ScreenType");
          row.relationSentence = rs->FieldText(L"RelationSentence");
          row.toolTipText = rs->FieldText(L"ToolTipText");
          row.alignmentCode = AlignmentCode(rs->Field(L"Alignment"));
        });
        rows.push_back(std::move(row));
      }
    }
    return true;
  });
  if (!read) return false;
  bool complete = true;
  int k = 0;
  for (const Definition& row : rows) {
    ++k;  // a skipped row keeps its number, so the next one never meets a half-made element
    bool stopped = false;
    if (!row.readable || !IgnoreErrors([&] { BuildOne(row, k, data, yield, stopped); })) complete = false;
    if (stopped) return false;
  }
  return complete;
}

void FieldEditors::BuildOne(const Definition& row, int k, const DataAccess& data, const ScreenYield& yield,
                            bool& stopped) {
  hosted::Frame& temp = frames_.VkDataTemp;
  hosted::Label& label = lblTitle_.Load(k);
  label.SetAutoSize(true);
  label.SetCaption(row.nombre);
  label.setVisible(true);
  label.setEnabled(true);
  label.Move(400, 0, label.width(), 285);
  label.setToolTipText(row.toolTipText);
  label.setContainer(temp);
  if (row.screenType == L"TextBox") {
    hosted::TextBox& box = VkTextBox_.Load(k);
    box.SetBackColor(0x80000005);  // the system's window background
    box.setVisible(true);
    box.Move(400, 0, kBuiltTextWidth, 315);
    box.SetFieldName(row.nombre);
    box.SetAlignment(row.alignmentCode);
    box.SetValueListEnabled(!row.relationSentence.empty());
    if (!row.relationSentence.empty()) {
      // The distinct values of the column named like the field; a query that fails
      // leaves the list empty.
      std::optional<Recordset> values =
          data.GetData(Shared().gApplicationName, L"Select Distinct " + row.nombre + L" As D_" + row.nombre +
                                                      L" From ( " + row.relationSentence + L" ) A");
      box.LoadValueList(values ? values->get() : nullptr);
    }
    box.setContainer(temp);
    stopped = !yield();
  } else if (row.screenType == L"ComboBox") {
    hosted::ComboBox& combo = VkComboBox_.Load(k);
    combo.setVisible(true);
    combo.Move(400, 0, kBuiltComboWidth, combo.height());
    combo.SetFieldName(row.nombre);
    combo.setTag(row.relationSentence);
    combo.setContainer(temp);
    if (!row.relationSentence.empty()) {
      stopped = LoadComboSource(combo, row.relationSentence, data, yield) == SourceLoad::Stopped;
    } else {
      stopped = !yield();
    }
  } else if (row.screenType == L"DTPicker") {
    hosted::DatePicker& picker = VkDTPicker_.Load(k);
    picker.setVisible(true);
    picker.Move(400, 0, kBuiltDateWidth, 315);
    picker.SetFieldName(row.nombre);
    picker.setContainer(temp);
  }
}

void FieldEditors::cboTipoDocumentoId_Change() {
  hosted::CommandButton* accept = frames_.cmdAceptar;
  const bool placed = IgnoreErrors([&] {
    if (accept) accept->setVisible(false);
    const std::optional<long> key = WholeNumber(frames_.cboTipoDocumentoId.SelectedKey());
    if (geometry_.typeIntoRecord) {
      if (!key) return;
      record_.TipoDocumentoId = *key;
    }
    RedrawPause pause(frames_.VkDataParameter.hwnd());
    Park();
    placedTypeId_.reset();  // the parked editors stand for no type until its rows are read
    const DataAccess* data = data_ ? data_() : nullptr;
    if (!key || !data) return;
    std::optional<Recordset> rs =
        data->GetData(Shared().gApplicationName, L"Select * From TipoDocumentosDetalle Where TipoDocumentoId = " +
                                                     std::to_wstring(*key) + L" Order By TipoDocumentoId");
    if (!rs) return;
    std::vector<DetailRow> rows;
    if (rs->RecordCount() > 0) {
      rs->MoveFirst();
      for (; !rs->IsEOF(); rs->MoveNext()) {
        DetailRow row;
        row.detalleId = rs->FieldLong(L"DetalleId");
        row.nombre = rs->FieldText(L"Nombre");
        row.screenType = rs->FieldText(L"ScreenType");
        const Variant dataType = rs->Field(L"DataType");
        row.widen = !dataType.isNull() && IsNumeric(dataType) && CDbl(dataType) == 0;
        rows.push_back(std::move(row));
      }
    }
    placedTypeId_ = *key;
    PlaceRows(rows);
    if (accept) accept->setVisible(true);
    scroll_.Update();
  });
  if (!placed && accept) IgnoreErrors([&] { accept->setVisible(false); });
}

void FieldEditors::Park() {
  scroll_.Reset();
  shown_.clear();
  Container* parameter = &frames_.VkDataParameter;
  for (Control* c : screen_.Controls()) {
    if (&c->container() == parameter && IsEditorName(c->name())) c->setContainer(frames_.VkDataTemp);
  }
  for (hosted::Label* label : lblTitle_.Elements()) {
    if (label->index() > 0) IgnoreErrors([&] { label->setContainer(frames_.VkDataTemp); });
  }
}

void FieldEditors::PlaceRows(const std::vector<DetailRow>& rows) {
  placed_.assign(rows.size(), PlacedField{});
  // Resetting the placed editors is code, not the user's edit: the record keeps its values.
  MuteEvents quiet;
  hosted::Frame& parameter = frames_.VkDataParameter;
  const std::vector<Control*> controls = screen_.Controls();
  // Tab reaches the placed editors right after the type combo, top to bottom.
  int tabIndex = frames_.cboTipoDocumentoId.tabIndex();
  double y = 0;
  for (size_t r = 0; r < rows.size(); ++r) {
    const DetailRow& row = rows[r];
    y += kRowSpacing;  // a row that places nothing leaves its gap
    const wchar_t* kind = KindOf(row.screenType);
    if (!kind) continue;
    for (Control* c : controls) {
      if (c->index() <= 0 || c->name() != kind) continue;  // element 0 is the design template
      const std::wstring* fieldName = FieldNameOf(c);
      if (!fieldName || *fieldName != row.nombre) continue;
      const int k = c->index();
      placed_[r] = {kind, k, row.detalleId, row.nombre};
      const bool stretch = std::wstring_view(kind) == kComboBoxArray || (std::wstring_view(kind) == kTextBoxArray && row.widen);
      c->Move(geometry_.editorLeft, y, c->width(), c->height());  // FitColumns sets the widths
      c->setContainer(parameter);
      c->setTabIndex(++tabIndex);
      if (auto* box = dynamic_cast<hosted::TextBox*>(c)) {
        box->SetText(L"");
      } else if (auto* picker = dynamic_cast<hosted::DatePicker*>(c)) {
        picker->SetValue(Today());
        picker->SetCheckNull(false);
      }
      c->setTag(std::to_wstring(row.detalleId));
      hosted::Label& label = lblTitle_[k];
      label.setContainer(parameter);
      label.setVisible(true);
      label.Move(geometry_.labelLeft, y + kLabelOffset, label.width(), label.height());
      // The build gave the label this caption already; measuring it again costs a
      // screen device context per label.
      if (label.Caption() != row.nombre) label.SetCaption(row.nombre);
      shown_.push_back({c, &label, stretch});
    }
  }
  FitColumns();
}

void FieldEditors::FitColumns() {
  if (shown_.empty()) return;
  // No editor passes the frame's inside (its scroll bar counted) or reaches the accept command.
  double right = scroll_.UsableWidth() - kControlGap;
  if (frames_.cmdAceptar) right = std::min(right, scroll_.PinnedLeft() - kControlGap);
  double typical = 0, caption = 0;
  for (const ShownEditor& shown : shown_) {
    typical = std::max(typical, TypicalWidth(*shown.editor));
    caption = std::max(caption, shown.label->width());
  }
  double editorLeft = std::min(geometry_.editorLeft, right - typical);
  double labelLeft = std::min(geometry_.labelLeft, editorLeft - kControlGap - caption);
  if (labelLeft < kControlGap) {  // the captions come first; the editors follow them
    labelLeft = std::min(geometry_.labelLeft, kControlGap);
    editorLeft = std::max(editorLeft, labelLeft + caption + kControlGap);
  }
  const double stretched = frames_.VkDataParameter.width() - geometry_.widthMargin;
  for (const ShownEditor& shown : shown_) {
    Control& editor = *shown.editor;
    const double least = TypicalWidth(editor);
    double width = shown.stretch && stretched >= 0 ? stretched : BuiltWidth(editor);
    width = std::min(std::max(width, least), std::max(least, right - editorLeft));
    IgnoreErrors([&] { editor.Move(editorLeft, editor.top(), width, editor.height()); });
    IgnoreErrors([&] { shown.label->setLeft(labelLeft); });
  }
}

double FieldEditors::WholeRowsHeight(double height) {
  // Row i (from 1) lies from i row spacings down; a frame that ends inside a row ends
  // above it instead.
  const double rows = std::floor(height / kRowSpacing);
  if (rows < 2 || height >= rows * kRowSpacing + kRowHeight + kRowMargin) return height;
  return rows * kRowSpacing - kRowSpacing + kRowHeight + kRowMargin;
}

void FieldEditors::WriteBack(const std::wstring& tag, const std::wstring& value) {
  for (int n = 1; n <= 10; ++n) {
    if (tag != std::to_wstring(n)) continue;
    record_.Campo(n) = value;
    CampoWritten.Raise(n, value);
    return;
  }
}

void FieldEditors::FillFromRecord() {
  std::vector<std::pair<int, std::wstring>> shown;
  {
    MuteEvents quiet;  // the record already holds these values
    for (const PlacedField& field : placed_) {
      if (field.kind.empty() || field.detalleId < 1 || field.detalleId > 10) continue;
      const int n = static_cast<int>(field.detalleId);
      const std::wstring value = record_.Campo(n);
      const bool filled = IgnoreErrors([&] {
        if (field.kind == kTextBoxArray) {
          VkTextBox_[field.index].SetText(value);
        } else if (field.kind == kComboBoxArray) {
          VkComboBox_[field.index].SelectStoredKey(value);
        } else {
          VkDTPicker_[field.index].SetValue(CampoDate(value).value_or(ValidDate(Today())));
        }
      });
      if (filled) shown.emplace_back(n, value);
    }
  }
  for (const auto& [n, value] : shown) CampoWritten.Raise(n, value);
}

std::optional<DATE> CampoDate(const std::wstring& text) {
  const std::wstring trimmed = Trim(text);
  if (trimmed.empty()) return std::nullopt;
  const std::wstring day = trimmed.substr(0, trimmed.find_first_of(L" T"));
  const bool iso = day.size() >= 8 && day[4] == L'-' && std::iswdigit(day[0]) && std::iswdigit(day[1]) &&
                   std::iswdigit(day[2]) && std::iswdigit(day[3]);
  if (iso) return hosted::ParseDateText(day);
  const Variant value(trimmed);
  if (!IsDate(value)) return std::nullopt;
  return std::floor(CDate(value));
}

}  // namespace vk::capture
