// The list screens' pop-up menus and what their items do: the list as a report, the
// (empty) image items, mailing the current document's stored file, and appending to or
// reading the comment history of a document.
#include "base/clock.h"
#include "base/steps.h"
#include "com/late_bound.h"
#include "consult/list_query.h"
#include "consult/list_screen.h"
#include "consult/mail_program.h"
#include "consult/report_preview.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"

namespace vk::consult {
namespace {

const wchar_t kTitle[] = L"Ostrela";
// How often a comment is joined again to a history other users keep changing.
constexpr int kAppendAttempts = 5;

}  // namespace

// --- menus ---

std::vector<MenuItem> ListScreen::ImageMenu() const {
  std::vector<MenuItem> items{{.id = mnuImageView, .caption = L"Vista Previa de la Imagen"}};
  if (ImageMenuSeparator()) items.push_back({});
  items.push_back({.id = mnuImagePrint, .caption = L"Imprimir Imagen por Impresora"});
  return items;
}

std::vector<MenuItem> ListScreen::CommentMenu() const {
  return {{.id = mnuSendMail, .caption = L"Enviar Imágen por Mail"},
          {},
          {.id = mnuComentariosAdd, .caption = L"Agregar Comentarios"},
          {.id = mnuComentariosView, .caption = L"Ver Comentarios"}};
}

void ListScreen::RunMenuCommand(UINT command) {
  switch (command) {
    case mnuReportView:
    case mnuReportPrint: ReportPreview(true); break;
    case mnuImageView:
    case mnuImagePrint: ImagePrint(true); break;
    case mnuSendMail: mnuSendMail_Click(); break;
    case mnuComentariosAdd: mnuComentariosAdd_Click(); break;
    case mnuComentariosView: mnuComentariosView_Click(); break;
    default: break;
  }
}

// --- report and comment editor ---

bool ListScreen::ReportPreview(bool) {
  return IgnoreErrors([this] { ShowListReport(*c_.GRDetail, hwnd()); });
}

std::wstring ListScreen::EditComments(const std::wstring& title, const std::wstring& text, bool readOnly) {
  std::wstring result = text;
  IgnoreErrors([&] {
    editor_ = Form::Load<FEditorRTF>();
    SetWindowLayered(editor_->hwnd());  // its fade-in shows a layered window
    editor_->mTitle = title;
    editor_->mTexto = text;
    editor_->mReadOnly = readOnly;
    result = editor_->ShowForm(hwnd()) == FEditorRTF::kOK ? editor_->mTexto : std::wstring();
  });
  if (editor_) IgnoreErrors([this] { editor_->Unload(); });
  editor_.reset();
  return result;
}

// --- mail ---

void ListScreen::mnuSendMail_Click() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow)) return;
  VbError error;
  const bool shown = IgnoreErrors(
      [&] {
        const std::wstring path = CellText(*c_.GRDetail, dataRow, L"Path");
        com::ComPtr<IDispatch> outlook = Seam<MailProgramFactory>::Current()();
        Variant item = com::Call(outlook.get(), L"CreateItem", {0L});
        com::Put(item.object(), L"To", L"");
        // A file the mail program refuses, or a display that fails, leaves the rest as it is.
        IgnoreErrors([&] {
          Variant attachments = com::Get(item.object(), L"Attachments");
          com::Call(attachments.object(), L"Add", {path});
        });
        IgnoreErrors([&] { com::Call(item.object(), L"Display"); });
      },
      &error);
  if (!shown)
    ShowMessage(L"No se ha podido Enviar el Mail con el Documento. Error [ " + error.description + L" ]",
                msg::Information, kTitle);
}

// --- comments ---

void ListScreen::mnuComentariosAdd_Click() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow)) return;
  // The row whose cell shows the history is the row whose document takes the entry.
  const long documentId = CellLong(*c_.GRDetail, dataRow, L"DocumentoId");
  if (documentId <= 0) return;
  const std::wstring text = EditComments(L"Comentarios del Documento", L"", false);
  if (text.empty() || !StillWanted()) return;  // cancelled, or closed while the editor was open
  AppendComment(dataRow, documentId, text);
}

void ListScreen::mnuComentariosView_Click() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow)) return;
  EditComments(L"Comentarios del Documento", CellText(*c_.GRDetail, dataRow, L"Comentarios"), true);
}

bool ListScreen::AppendComment(int dataRow, long documentId, const std::wstring& text) {
  if (documentId <= 0) return false;
  const std::wstring& key = Shared().gApplicationName;
  const std::wstring id = std::to_wstring(documentId);
  const std::wstring entry =
      GetUserNameNT() + L" - Fecha : [ " + DateToText(ValidDate(Now())) + L"]\r\n" + text + L"\r\n\r\n";
  std::wstring history;
  VbError error;
  const bool written = IgnoreErrors(
      [&] {
        // The entry is written only over the history it was joined to: when another
        // user's entry lands between the read and the write, the write changes no row
        // and the entry joins the history again, so no entry is ever lost.
        for (int attempt = 1;; ++attempt) {
          auto stored = mData->GetData(key, L"Select Comentarios From Documentos Where DocumentoId = " + id);
          if (!stored) throw VbError{err::InternalError, L"", mData->ErrDescription()};
          if (stored->RecordCount() == 0) throw VbError{err::NoCurrentRecord, L"", L"No existe el documento " + id};
          const std::wstring present = stored->FieldText(L"Comentarios");
          history = present + entry;
          if (!mData->ExecuteSql(key, L"Update Documentos Set Comentarios = '" + SqlText(history) +
                                          L"' Where DocumentoId = " + id + L" And Coalesce(Comentarios, '') = '" +
                                          SqlText(present) + L"'"))
            throw VbError{err::InternalError, L"", mData->ErrDescription()};
          if (mData->RecordsAffected() > 0) return;
          if (attempt == kAppendAttempts)
            throw VbError{err::InternalError, L"", L"Los comentarios del documento " + id + L" cambian sin cesar"};
        }
      },
      &error);
  if (!written) {
    ShowMessage(L"No se ha podido Grabar el Comentario. Error [ " + error.description + L" ]", msg::Information,
                kTitle);
    return false;
  }
  IgnoreErrors([&] { c_.GRDetail->SetCellValue(dataRow, L"Comentarios", Variant(history)); });
  return true;
}

}  // namespace vk::consult
