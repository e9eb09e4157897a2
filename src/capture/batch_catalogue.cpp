// The batch save of the cataloguing screen: every thumbnail with a reference or a bar
// code becomes a catalogued document (a new id, its file moved into the document
// store, the Documentos row, an action-log entry), then the strip is loaded again.
//
// A document and its file never part: the move, the insert and the log entry of one
// document run with no yield between them; a failed move inserts nothing, and a
// failed insert moves the file back to where it came from before the pass stops.
// A document id is never drawn twice: one whose stored file exists anywhere in the
// store (a deleted document's) is passed over, and an insert that loses its id to
// another clerk's, or to a reading logged under it since the draw, draws again. An
// insert that is refused or raises is settled by the row that holds its id: ours by its
// path, or another clerk's. A thumbnail whose file changed since it was loaded is not
// filed; a refused move says why and where the scan is, and the thumbnail's entry
// follows the scan there, so that saving again, as the message may advise, files it.
#include <algorithm>

#include "base/steps.h"
#include "capture/document_store.h"
#include "capture/index_screen.h"
#include "hosted/file_system.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/audit_log.h"
#include "screen_kit/document_row.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::capture {
namespace {

const wchar_t kSaved[] = L"Las Imagenes se Grabaron con Exito";

// Above every id a document row or a reading holds: a deleted document's id stays in
// the read log, and a new document must never inherit its readings. Its stored file
// stays too: FileDocument passes over an id whose stored file exists.
const wchar_t kNextDocumentId[] =
    L"Select (Coalesce(Max(DocumentoId),0)+1) As DocumentoId From "
    L"(Select Max(DocumentoId) As DocumentoId From Documentos "
    L"Union All Select Max(DocumentoId) As DocumentoId From DocumentosLog) A";

// Tries a draw may take before the pass gives up: each one lost to another clerk's
// insert of the same id.
constexpr int kDrawAttempts = 10;
// Stored paths a document may find taken, one after the other, by files filed since the
// store was read, before the pass gives up.
constexpr int kTakenPathsAllowed = 100;

// Why a move into the store was refused, in the clerk's words, naming the scan by its
// own name, with the move's own reason when there is one: it says where the scan is when
// it is not under that name. Only a move without a reason found no scan to move.
std::wstring MoveRefusal(const hosted::TrackedFile& scan, const std::wstring& stored, const std::wstring& reason) {
  if (reason.empty() && !hosted::FileExists(scan.at)) return L"no se encuentra el archivo " + scan.at;
  std::wstring text = L"no se pudo mover el archivo " + scan.home + L" a " + stored;
  return reason.empty() ? text : text + L": " + reason;
}

// The document's insert. A data object may raise instead of answering False: either
// way the insert was refused, and `reason` says why.
bool Inserted(const DataAccess& data, DocumentRecord& document, std::wstring& reason) {
  bool inserted = false;
  VbError raised;
  if (!IgnoreErrors([&] { inserted = ExecuteDocumentProcedure(data, kDocumentosAdd, document); }, &raised)) {
    reason = raised.description;
    return false;
  }
  if (!inserted) IgnoreErrors([&] { reason = data.ErrDescription(); });
  return inserted;
}

// What became of a document's insert, once its file is in the store.
enum class Insert {
  Filed,
  IdTaken,  // another clerk's row, or a reading, holds the id now
  Refused,
  Unknown,  // neither the insert nor the row can tell
};

// Inserts the document's row unless its id was taken since the draw. A reading logged
// under the id meanwhile (an external document of that number opened) takes it as a row
// would: the read log knows a document by its id alone, and would name ours. The check
// runs right before the insert. An insert that is refused or raises is settled by the row
// that holds the id: ours by its path, or another clerk's.
Insert InsertUnlessTaken(const DataAccess& data, DocumentRecord& document, std::wstring& reason) {
  const std::wstring id = std::to_wstring(document.DocumentoId);
  bool read = false;
  VbError unread;
  if (!IgnoreErrors([&] { read = RowHoldsId(data, L"DocumentosLog", document.DocumentoId); }, &unread)) {
    reason = L"no se pudo leer el registro de lecturas del documento " + id + L" (" + unread.description + L")";
    return Insert::Refused;
  }
  if (read) {
    reason = L"el documento " + id + L" se leyó mientras se grababa";
    return Insert::IdTaken;
  }
  if (Inserted(data, document, reason)) return Insert::Filed;
  // A component may refuse or raise after its insert went in: the row that holds the id
  // tells whose it is by its path. Ours is filed; another's was another clerk's insert.
  std::optional<std::wstring> holder;
  if (!IgnoreErrors([&] { holder = DocumentRowPath(data, document.DocumentoId); }, &unread)) {
    reason = L"no se pudo comprobar si el documento " + id + L" quedó grabado (" + reason + L" - " +
             unread.description + L")";
    return Insert::Unknown;
  }
  if (holder && SameStoredPath(*holder, document.Path)) return Insert::Filed;
  return holder ? Insert::IdTaken : Insert::Refused;
}

// Draws the document's id, moves its file into the store and inserts its row. An id
// that a stored file holds, in any folder of the store, is passed over (a deleted
// document's file stays in the store), and so is one that another clerk's insert, or a
// reading, took between our draw and our insert: the file goes back and a new id is
// drawn. False, with the failure's text in `message`, when the document could not be
// filed; `scan` then says where its file is (nothing when that cannot be told), and the
// text says so when it is not under its own name. Only the file the thumbnail was keyed
// for (`scan.identity`) is moved; it follows the file copied back.
bool FileDocument(const DataAccess& data, StoredIds& stored, DocumentRecord& document, hosted::TrackedFile& scan,
                  std::wstring& message) {
  // The pass stops at this document, with `why` in the clerk's message.
  auto refuse = [&](const std::wstring& why) {
    message = SaveFailureText(why, document.Documento);
    return false;
  };
  int takenPaths = 0;
  for (int attempt = 1;; ++attempt) {
    std::optional<Recordset> next = data.GetData(Shared().gApplicationName, kNextDocumentId);
    if (!next) return refuse(data.ErrDescription());
    document.DocumentoId = CLng(next->Field(L"DocumentoId"));
    next.reset();
    for (;;) {
      while (stored.Holds(document.DocumentoId)) ++document.DocumentoId;
      document.Path = DocumentStorePath(document);
      std::wstring reason;
      const StoreMove move = MoveDocumentFile(document, scan, &reason);
      if (move == StoreMove::Moved) break;
      if (move == StoreMove::AnotherFile) return refuse(reason);
      if (move == StoreMove::Refused) return refuse(MoveRefusal(scan, document.Path, reason));
      if (++takenPaths == kTakenPathsAllowed)
        return refuse(L"las rutas del documento en el almacén están ocupadas hasta " + document.Path);
      stored.Add(document.DocumentoId);  // filed since the store was read
    }
    std::wstring reason;
    const Insert insert = InsertUnlessTaken(data, document, reason);
    if (insert == Insert::Filed) {
      stored.Add(document.DocumentoId);
      return true;
    }
    if (insert == Insert::Unknown) {
      // Filed or not, nobody can tell now: the file stays with the id it may be filed
      // under, and the thumbnail never files it again. Where it is is told as seen.
      const bool there = hosted::IdentityOf(document.Path) == scan.identity;
      scan.at.clear();
      return refuse(reason + (there ? L"; el archivo quedó en " : L"; el archivo no se encuentra en ") + document.Path);
    }
    // The file goes back to its own name, never over another file; a copy back from
    // another volume is another file, and the thumbnail is keyed for it now. One that
    // cannot go back is told where it is by the move's reason.
    VbError stuck;
    if (!IgnoreErrors([&] { hosted::MoveFileNoReplace(scan, scan.home); }, &stuck))
      return refuse(reason + L" - el archivo no pudo volver a " + scan.home + L" (" + stuck.description + L")");
    if (insert == Insert::Refused) return refuse(reason);
    if (attempt == kDrawAttempts)
      return refuse(L"ninguno de los " + std::to_wstring(kDrawAttempts) + L" números tomados quedó libre (el último, " +
                    reason + L")");
  }
}

}  // namespace

void FDocumentosIndex::CatalogDocuments() {
  std::wstring message;  // the failure's text; empty while all goes well
  std::optional<DataAccess> data = mData;  // ours for the whole pass
  VbError error;
  const bool passed = IgnoreErrors(
      [&] {
        SetMousePointer(pointer::Hourglass);
        hosted::ProgressBar& progress = *c_.VkProgressBar;
        progress.setVisible(true);
        progress.SetMax(std::max(0, SlideCount() - 1));
        if (!data) Raise(err::ObjectNotSet);
        // Nothing moves while the store has nowhere to go.
        const std::wstring& root = Shared().gPathDestino;
        if (!StoreRootUsable(root)) {
          message = std::wstring(kSaveFailedText) + L"no existe la carpeta de destino de los documentos: " + root;
          return;
        }
        std::optional<StoredIds> stored;  // read at the pass's first document
        for (int i = 0; i < SlideCount(); ++i) {
          IgnoreErrors([&] { progress.SetValue(i); });
          VkImage& slide = PSlide(i);
          if (slides_[static_cast<size_t>(i)].state == SlideState::Catalogued) continue;
          if (slide.ReferenciaId().empty() && slide.CBarra().empty()) continue;

          mSlideIndex = i;
          // Only the very file the entry was keyed for is filed: the move tells it by its
          // identity, wherever it is now.
          hosted::TrackedFile scan = SlideFile(i);
          if (!scan.identity) {
            message = SaveFailureText(L"no se encuentra el archivo " + scan.at, slide.Documento());
            return;
          }
          DocumentRecord document;
          static_cast<CatalogEntry&>(document) = slide.Entry();
          document.Fecha = ValidDate(slide.Fecha());
          if (!stored) stored = StoredIds::Read(root);
          if (!FileDocument(*data, *stored, document, scan, message)) {
            FollowFile(i, scan);
            return;
          }
          const std::wstring id = std::to_wstring(document.DocumentoId);
          LogAcciones_Add(1, action::Catalogued, id,
                          L"Se ha Catalogado el Documento Nro. [ " + id + L" ] - [ " + document.Documento + L" ]",
                          L"");
          SetSlideState(i, SlideState::Catalogued);
          RunEachStep({
              [&] { slide.setReferenciaId(L""); },
              [&] { slide.setCBarra(L""); },
              [&] { slide.setEnabled(false); },
          });
          if (!ServeMessages()) return;  // closed: stop between two documents
        }
      },
      &error);
  if (passed && message.empty()) {
    SetMousePointer(pointer::Default);
    if (!StillWanted()) return;
    RunEachStep({
        [&] { c_.VkProgressBar->setVisible(false); },
        [&] { c_.VkProgressBar->SetValue(0); },
    });
    if (!ServeMessages()) return;
    ShowMessage(kSaved, msg::Information, L"Ostrela");
    // The folder's remaining scans, and nothing of the filed ones on screen.
    if (StillWanted()) LoadImages();
    if (StillWanted()) StartAfresh();
    return;
  }
  if (message.empty() && data) IgnoreErrors([&] { message = data->ErrDescription(); });
  if (message.empty()) message = error.description;
  SetMousePointer(pointer::Default);
  if (!ServeMessages()) return;
  ShowMessage(message, msg::Information, L"Ostrela");
}

}  // namespace vk::capture
