// The list screens' pop-up menus and what their items do: the list as a report, the
// (empty) image items, mailing the current document's stored file, and appending to or
// reading the comment history of a document.
#include "base/clock.h"
#include "base/steps.h"
#include "com/late_bound.h"
#include "consult/comment_history.h"
#include "consult/list_query.h"
#include "consult/list_screen.h"
#include "consult/mail_program.h"
#include "consult/report_preview.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::consult {
namespace {

const wchar_t kTitle[] = L"Ostrela";
// Appended when the check after the editor stops the comment.
const wchar_t kNotStored[] = L"; el comentario no se grabó";

// An external document's history is not ours to write: the update by its id would land
// in our document of the same id, or in nothing. True after telling the user so.
bool RefusedAsExternal(const CommandTarget& target, std::wstring_view stopped = {}) {
  if (!target.external) return false;
  ShowMessage(L"El documento " + std::to_wstring(target.document.DocumentoId) +
                  L" es externo: sus comentarios no se pueden escribir aquí" + std::wstring(stopped),
              msg::Information, kTitle);
  return true;
}

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
  const CommandTarget target = TargetOfCommand({L"Path"});
  if (target.document.DocumentoId <= 0) return;
  VbError error;
  const bool shown = IgnoreErrors(
      [&] {
        const std::wstring& path = target.document.Path;
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
  CommandTarget target = TargetOfCommand({});
  if (target.document.DocumentoId <= 0 || RefusedAsExternal(target)) return;
  const std::wstring text = EditComments(L"Comentarios del Documento", L"", false);
  if (text.empty() || !StillWanted()) return;  // cancelled, or closed while the editor was open
  // The editor may stay open a long time: the document must still be the listed one.
  if (!StillListed(target, kNotStored) || RefusedAsExternal(target, kNotStored)) return;
  AppendComment(dataRow, target.document.DocumentoId, text);
}

void ListScreen::mnuComentariosView_Click() {
  int dataRow = -1;
  if (!CurrentDataRow(dataRow) || TargetOfCommand({}).document.DocumentoId <= 0) return;
  EditComments(L"Comentarios del Documento", CellText(*c_.GRDetail, dataRow, L"Comentarios"), true);
}

bool ListScreen::AppendComment(int dataRow, long documentId, const std::wstring& text) {
  if (documentId <= 0) return false;
  AppendOutcome outcome;
  VbError error;
  const bool written = IgnoreErrors(
      [&] {
        outcome = AppendToHistory(*mData, Shared().gApplicationName, documentId,
                                  CommentEntry(GetUserNameNT(), ValidDate(Now()), text));
      },
      &error);
  if (!written) {
    ShowMessage(L"No se ha podido Grabar el Comentario. Error [ " + error.description + L" ]", msg::Information,
                kTitle);
    return false;
  }
  // A comment sent and not confirmed shows as sent too: the comments the message below
  // points to must hold it, or the clerk writes it again and it is stored twice.
  IgnoreErrors([&] { c_.GRDetail->SetCellValue(dataRow, L"Comentarios", Variant(outcome.history)); });
  if (outcome.confirmed) return true;
  ShowMessage(L"El Comentario se envió, pero no se pudo comprobar que quedó grabado. Error [ " + outcome.reason +
                  L" ]. Vea los comentarios del documento antes de escribirlo de nuevo; al actualizar la lista "
                  L"verá lo que guarda la base de datos.",
              msg::Information, kTitle);
  return false;
}

}  // namespace vk::consult
