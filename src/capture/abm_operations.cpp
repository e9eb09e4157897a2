// The maintenance screen's record operations: find a document through the search
// picker, load it whole, save the edited entry with Documentos_Update and an action-log
// entry, validate it and delete its row.
#include <windows.h>

#include <cmath>

#include "base/rounding.h"
#include "base/steps.h"
#include "base/variant.h"
#include "capture/abm_screen.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/audit_log.h"
#include "screen_kit/document_row.h"
#include "screen_kit/fsearch.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::capture {
namespace {

constexpr wchar_t kTitle[] = L"Ostrela";
constexpr wchar_t kLoadFailed[] = L"Se Produjo un Error al Visualizar el Documento";

bool NothingChosen(const Variant& key) { return key.isEmpty() || key.isNull() || key.toText().empty(); }

// Why a call on the data object failed: the error it raised, or, when it answered False
// (or raised without a text), the object's own ErrDescription.
std::wstring DataFailureReason(const DataAccess& data, const VbError& raised) {
  if (!raised.description.empty()) return raised.description;
  std::wstring reason;
  IgnoreErrors([&] { reason = data.ErrDescription(); });
  return reason;
}

}  // namespace

bool FDocumentosABM::FindDocument() {
  Variant picked;
  // However the picker ends, it is unloaded by now; its failure leaves everything as it was.
  if (!IgnoreErrors([&] { picked = PickKey(L"Select * From Documentos", L"DocumentoId"); })) {
    SetMousePointer(pointer::Default);
    return false;
  }
  if (!StillWanted()) return false;  // closed while the picker was open
  SetMousePointer(pointer::Hourglass);
  bool found = true;
  if (NothingChosen(picked)) {
    ShowNoDocument();
  } else {
    double id = 0;
    // A key that is no number loads nothing and changes nothing.
    found = IgnoreErrors([&] { id = CDbl(picked); });
    if (found) LoadDocumentById(id);
  }
  SetMousePointer(pointer::Default);
  return found;
}

bool FDocumentosABM::LoadDocumentById(double id) {
  SetMousePointer(pointer::Hourglass);
  std::optional<DocumentRecord> staged;
  IgnoreErrors([&] {
    if (std::fabs(id) < 2147483647.5) staged = ReadDocument(RoundHalfEven(id));
  });
  if (!staged) {
    // Nothing changed: the document shown before, if any, is still the current one.
    SetMousePointer(pointer::Default);
    if (StillWanted()) ShowMessage(kLoadFailed, msg::Information, kTitle);
    return false;
  }
  ShowDocument(*staged);
  const bool imageShown = ShowLargeView();
  SetMousePointer(pointer::Default);
  hosted::Toolbar& bar = *c_.TBarMain;
  VkImage& view = *c_.PSelection;
  RunEachStep({
      [&] { bar.SetButtonState(bar.IndexOfKey(L"BTN_FIT"), 2); },
      [&] { view.Resize(); },
      [&] { view.setVisible(true); },  // the view repaints itself: no hiding it first
  });
  if (!ServeMessages()) return true;  // closed meanwhile: the document is loaded, nothing more to say
  // The entry is loaded and can be corrected even when its stored file cannot be shown.
  if (!imageShown) ShowMessage(kLoadFailed, msg::Information, kTitle);
  return true;
}

std::optional<DocumentRecord> FDocumentosABM::ReadDocument(long id) const {
  if (id == 0 || !mData) return std::nullopt;  // id 0 names no document
  std::optional<Recordset> rows =
      mData->GetData(Shared().gApplicationName, L"Select * From Documentos Where DocumentoId = " + std::to_wstring(id));
  if (!rows || rows->IsEOF()) return std::nullopt;
  return ReadDocumentRow(*rows);  // raises rather than give half a row
}

void FDocumentosABM::ShowDocument(const DocumentRecord& staged) {
  record_ = staged;
  Controls& c = c_;
  // A control already showing the value is left alone: a reload repaints only what changed.
  auto showKey = [](hosted::ComboBox& combo, const std::wstring& key) {
    if (combo.SelectedKey() != key) combo.SelectStoredKey(key);  // a key no longer enabled: an extra item
  };
  auto showText = [](hosted::TextBox& box, const std::wstring& text) {
    if (box.Text() != text) box.SetText(text);
  };
  RunEachStep({
      [&] {
        MuteEvents quiet(c.cboCategoriaId->Change, c.cboSubCategoriaId->Change, c.cboGerenciaId->Change);
        showKey(*c.cboCategoriaId, record_.CategoriaId);
        showKey(*c.cboSubCategoriaId, record_.SubCategoriaId);
        showKey(*c.cboGerenciaId, record_.GerenciaId);
      },
      [&] {
        const std::wstring type = std::to_wstring(record_.TipoDocumentoId);
        if (c.cboTipoDocumentoId->SelectedKey() != type) {
          // The type's change stays live: it places the type's field editors, which then
          // show the record's fields.
          c.cboTipoDocumentoId->SelectStoredKey(type);
          return;
        }
        // The type is shown already (a reload): its editors are placed, unless the last
        // placement could not read its fields; then they are placed again now.
        if (!EditorsStandForRecordType()) editors_->cboTipoDocumentoId_Change();
        editors_->FillFromRecord();
      },
      [&] {
        MuteEvents quiet(c.dtpFecha->Change, c.txtCBarra->Change, c.txtReferenciaId->Change);
        if (record_.Fecha == 0) {
          if (c.dtpFecha->Value()) c.dtpFecha->ClearValue();
        } else if (c.dtpFecha->Value() != std::trunc(record_.Fecha)) {
          c.dtpFecha->SetValue(ValidDate(record_.Fecha));
        }
        showText(*c.txtCBarra, record_.CBarra);
        showText(*c.txtReferenciaId, record_.ReferenciaId);
      },
  });
}

bool FDocumentosABM::ShowLargeView() {
  VkImage& view = *c_.PSelection;
  return IgnoreErrors([&] {
    // The viewer program's title names the document, a PDF's too.
    view.setDocumento(record_.Documento);
    view.setPath(record_.Path);
    if (IsPdfPath(record_.Path)) {
      view.setIsPDF(true);
      view.LoadDocument();  // a PDF is not drawn inside the view; "BTN_PAN" opens it
      return;
    }
    view.setIsPDF(false);
    view.setMouseIcon(2);
    view.setFitMode(false);
    view.setZoom(0.53);
    view.Resize();
    // A document stored without a file shows an empty view, and that is no failure.
    if (record_.Path.empty()) {
      IgnoreErrors([&] { view.LoadDocument(); });
      return;
    }
    view.LoadDocument();
  });
}

DATE FDocumentosABM::FechaToSave() const {
  const std::optional<DATE> shown = c_.dtpFecha->Value();
  if (!shown) return 0;  // no date shown: none stored
  // The day loaded is kept as it was stored, its time of day included.
  if (record_.Fecha != 0 && std::trunc(record_.Fecha) == *shown) return record_.Fecha;
  return *shown;
}

bool FDocumentosABM::EditorsStandForRecordType() const {
  return editors_->PlacedTypeId() == record_.TipoDocumentoId;
}

bool FDocumentosABM::SaveDocument() {
  if (!mData) return false;
  if (record_.DocumentoId == 0) {
    ShowMessage(std::wstring(kSaveFailedText) + L"no hay documento cargado", msg::Information, kTitle);
    return false;
  }
  // The shown type's fields could not be read, so none of them is on screen: nothing is
  // saved that the clerk could not see.
  if (!EditorsStandForRecordType()) {
    ShowMessage(SaveFailureText(L"no se pudo leer la definición de los campos del tipo de documento " +
                                    std::to_wstring(record_.TipoDocumentoId),
                                record_.Documento),
                msg::Information, kTitle);
    return false;
  }
  SetMousePointer(pointer::Hourglass);
  const std::wstring id = std::to_wstring(record_.DocumentoId);
  bool saved = false;
  VbError error;
  IgnoreErrors(
      [&] {
        // The field editors' values are in the record already: each user edit wrote its
        // own, and a date editor showing only today for an empty or unreadable text
        // wrote nothing, so that text is sent back as loaded.
        record_.Fecha = FechaToSave();
        record_.CBarra = c_.txtCBarra->Text();
        record_.ReferenciaId = c_.txtReferenciaId->Text();
        saved = ExecuteDocumentProcedure(*mData, kDocumentosUpdate, record_);
      },
      &error);
  // An update that raised failed as one that answered False: no log entry, its reason shown.
  const std::wstring failure = saved ? L"" : SaveFailureText(DataFailureReason(*mData, error), record_.Documento);
  // The update and its log entry go together, with no yield between them.
  if (saved)
    LogAcciones_Add(1, action::Modified, id,
                    L"Se ha Modificado la Catalogación en el Documento Nro. [ " + id + L" ] - [ " +
                        record_.Documento + L" ]",
                    L"");
  SetMousePointer(pointer::Default);
  if (!ServeMessages()) return false;  // closed meanwhile: the save is done, nothing more
  if (!saved) {
    ShowMessage(failure, msg::Information, kTitle);
    // Another user deleted it meanwhile: the screen no longer shows it.
    bool gone = false;
    IgnoreErrors([&] { gone = StillWanted() && !DocumentRowExists(*mData, record_.DocumentoId); });
    if (gone) ShowNoDocument();
    return false;
  }
  ShowMessage(L"La Imagen se Grabó con Exito", msg::Information, kTitle);
  // The screen shows the row as it is stored now.
  if (StillWanted()) LoadDocumentById(record_.DocumentoId);
  return false;
}

bool FDocumentosABM::ValidateDocument() {
  return RunDocumentStatement(L"Update Documentos Set IsEnabled = 1 Where DocumentoId = ",
                              L"Se Produjo un Error al Validar el Documento");
}

bool FDocumentosABM::DeleteDocument() {
  const bool deleted =
      RunDocumentStatement(L"Delete Documentos Where DocumentoId = ", L"Se Produjo un Error al Anular el Documento");
  DropCurrentDocument();  // the screen is cleared next, whatever happened
  return deleted;
}

bool FDocumentosABM::RunDocumentStatement(const std::wstring& statement, const std::wstring& failureText) {
  bool done = false;
  std::wstring reason;  // why the data object failed; none when no statement could run
  VbError error;
  const bool ran = IgnoreErrors(
      [&] {
        const long id = record_.DocumentoId;
        // No document, or one another user has deleted meanwhile: no statement runs.
        if (id == 0 || !mData || !DocumentRowExists(*mData, id)) return;
        done = mData->ExecuteSql(Shared().gApplicationName, statement + std::to_wstring(id));
        if (!done) reason = DataFailureReason(*mData, VbError{});
      },
      &error);
  // A call that raised failed as one that answered False.
  if (!ran && mData) reason = DataFailureReason(*mData, error);
  if (!done && StillWanted())
    ShowMessage(reason.empty() ? failureText : failureText + L" : " + reason, msg::Information, L"");
  return done;
}

void FDocumentosABM::DropCurrentDocument() { record_ = DocumentRecord{}; }

void FDocumentosABM::ShowNoDocument() {
  DropCurrentDocument();
  VkImage& view = *c_.PSelection;
  RunEachStep({
      [&] {
        for (int n = 1; n <= kCampoCount; ++n) view.setCampo(n, L"");
      },
      [&] { view.ShowNoFile(); },
      [&] {
        MuteEvents quiet(c_.dtpFecha->Change);
        c_.dtpFecha->ClearValue();
      },
  });
  ClearForm();
}

}  // namespace vk::capture
