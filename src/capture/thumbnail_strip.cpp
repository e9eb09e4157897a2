// The cataloguing screen's strip of thumbnails: the folder scan that makes one
// thumbnail per accepted file when the screen is built, the find that loads the
// folder's files into them, showing one thumbnail's entry in the screen's controls
// and the large view, accepting the keyed entry back into it, and scrolling.
#include <algorithm>
#include <cwctype>

#include "base/clock.h"
#include "base/steps.h"
#include "capture/index_screen.h"
#include "hosted/file_system.h"
#include "runtime/mouse_pointer.h"
#include "runtime/redraw_pause.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/sql_text.h"

namespace vk::capture {
namespace {

constexpr double kSlideHeight = 1900;
constexpr double kScrollStep = 500;
// The zoom a thumbnail is loaded at before it is fitted: small enough that no page
// needs scroll bars, so the viewer's frame never changes between the load and the fit
// (a frame change costs about as much as decoding a small page).
constexpr double kLoadZoom = 0.01;

// A scan the strip takes: the last three characters of its path, in any case, are
// bmp, gif, jpg, png, tif or pdf (so .jpeg and .tiff are not taken).
bool IsAcceptedFile(const std::wstring& path) {
  if (path.size() < 3) return false;
  std::wstring ending = path.substr(path.size() - 3);
  for (wchar_t& ch : ending) ch = static_cast<wchar_t>(std::towlower(ch));
  for (const wchar_t* accepted : {L"bmp", L"gif", L"jpg", L"png", L"tif", L"pdf"})
    if (ending == accepted) return true;
  return false;
}

// A fresh entry, as a thumbnail made without a stored state holds it (its date now).
CatalogEntry EmptyEntry() {
  CatalogEntry entry;
  entry.Fecha = Now();
  return entry;
}

void PutEntry(VkImage& slide, const CatalogEntry& entry) {
  slide.setCategoriaId(entry.CategoriaId);
  slide.setSubCategoriaId(entry.SubCategoriaId);
  slide.setGerenciaId(entry.GerenciaId);
  slide.setTipoDocumentoId(entry.TipoDocumentoId);
  for (int n = 1; n <= 10; ++n) slide.setCampo(n, entry.Campo(n));
  slide.setFecha(entry.Fecha);
  slide.setCBarra(entry.CBarra);
  slide.setReferenciaId(entry.ReferenciaId);
}

// No file and no entry: the viewer emptied, each step on its own.
void EmptyImage(VkImage& image) {
  RunEachStep({
      [&] { PutEntry(image, EmptyEntry()); },
      [&] { image.ShowNoFile(); },
  });
}

}  // namespace

// --- the scan and the find ---

bool FDocumentosIndex::LoadSlides() {
  return FalseOnError([&] {
    const std::wstring& folder = Shared().gPathOrigen;
    if (!hosted::FolderExists(folder)) return false;
    const long limit = Shared().gLoadMax;
    long counted = 0;
    for (const hosted::FolderFile& file : hosted::FolderFiles(folder)) {
      if (!IsAcceptedFile(file.path)) continue;
      if (counted >= limit) break;
      if (counted > 0) AddSlide(static_cast<int>(counted));  // the first file has thumbnail 0
      ++counted;
    }
    return true;
  });
}

void FDocumentosIndex::AddSlide(int index) {
  // Clones of element 0 (its design state, its click handler), made hidden.
  hosted::PictureBox& icon = static_cast<hosted::PictureBox&>(LoadElement(L"PSlideState", index));
  VkImage& image = static_cast<VkImage&>(LoadElement(L"PSlide", index));
  image.setVisible(true);
  image.setHeight(kSlideHeight);
  icon.SetPicture(nullptr);
  icon.setVisible(true);
  slides_.push_back({&image, &icon, SlideState::Empty, {}});
}

bool FDocumentosIndex::LoadImages() {
  SetMousePointer(pointer::Hourglass);
  std::vector<hosted::FolderFile> files;
  const bool listed = IgnoreErrors([&] {
    if (!hosted::FolderExists(Shared().gPathOrigen)) Raise(err::PathNotFound);
    files = hosted::FolderFiles(Shared().gPathOrigen);
  });
  if (!listed) {
    SetMousePointer(pointer::Default);
    return false;
  }
  hosted::ProgressBar& progress = *c_.VkProgressBar;
  const long count = static_cast<long>(files.size());
  IgnoreErrors([&] {
    progress.setVisible(true);
    progress.SetMax(count);
  });
  const long limit = Shared().gLoadMax;
  long last = -1;  // the index of the last thumbnail the walk reached
  for (const hosted::FolderFile& file : files) {
    if (IsAcceptedFile(file.path)) {
      if (last + 1 >= limit) break;
      ++last;
      // Files added since the scan go only as far as there are thumbnails.
      if (last < SlideCount()) FillSlide(static_cast<int>(last), file);
      if (!ServeMessages()) {
        SetMousePointer(pointer::Default);  // closed: the host keeps no hourglass
        return false;
      }
    }
    IgnoreErrors([&] { progress.SetValue(last); });
  }
  // A thumbnail past the last file keeps nothing of a file that has gone.
  for (int i = static_cast<int>(std::min<long>(last + 1, SlideCount())); i < SlideCount(); ++i) EmptySlide(i);
  IgnoreErrors([&] { progress.SetValue(count); });
  SetMousePointer(pointer::Default);
  return ServeMessages();
}

void FDocumentosIndex::FillSlide(int index, const hosted::FolderFile& file) {
  Slide& slide = slides_[static_cast<size_t>(index)];
  VkImage& image = *slide.image;
  // The entry belongs to the file it was keyed for: another file under the thumbnail,
  // a new one in the place of a catalogued file, or another page saved under the same
  // name since, starts from an empty entry.
  const std::optional<hosted::FileIdentity> identity = hosted::IdentityOf(file.path);
  // The same file keeps the name it was keyed as, even under a name a save left it under.
  const bool sameFile = slide.state != SlideState::Catalogued && slide.state != SlideState::Empty &&
                        image.Path() == file.path && identity && identity == slide.file;
  slide.file = identity;
  const bool accepted = sameFile && slide.state == SlideState::Accepted;
  if (!sameFile) {
    slide.home = file.path;
    IgnoreErrors([&] { PutEntry(image, EmptyEntry()); });
  }
  bool readable = true;
  RunEachStep({
      [&] { image.setIsPDF(IsPdfPath(file.path)); },
      [&] {
        if (!sameFile) image.setDocumento(file.name);
      },
      [&] { image.setPath(file.path); },
      [&] { image.setVisible(true); },
      [&] { image.setEnabled(true); },
      [&] { image.setZoom(kLoadZoom); },
      [&] { readable = IgnoreErrors([&] { image.LoadDocument(); }); },
      [&] { image.setFitMode(true); },
  });
  SetSlideState(index, !readable ? SlideState::Unreadable : accepted ? SlideState::Accepted : SlideState::Loaded);
}

void FDocumentosIndex::EmptySlide(int index) {
  Slide& slide = slides_[static_cast<size_t>(index)];
  if (slide.state == SlideState::Empty && slide.image->Path().empty()) return;
  VkImage& image = *slide.image;
  slide.file.reset();
  slide.home.clear();
  EmptyImage(image);
  IgnoreErrors([&] { image.setEnabled(true); });
  SetSlideState(index, SlideState::Empty);
}

void FDocumentosIndex::ShowNothing() {
  VkImage& view = *c_.PSelection;
  EmptyImage(view);
  // Its display settings as the screen opened with them.
  RunEachStep({
      [&] { view.setFitMode(true); },
      [&] { view.setZoom(0); },
  });
  record_ = DocumentRecord{};
  mSlideIndex = 0;
}

void FDocumentosIndex::SetSlideState(int index, SlideState state) {
  Slide& slide = slides_[static_cast<size_t>(index)];
  slide.state = state;
  IgnoreErrors([&] {
    switch (state) {
      case SlideState::Empty: slide.icon->SetPicture(nullptr); break;
      case SlideState::Loaded: slide.icon->CopyPictureFrom(*c_.PState01); break;
      case SlideState::Accepted: slide.icon->CopyPictureFrom(*c_.PState02); break;
      case SlideState::Catalogued: slide.icon->CopyPictureFrom(*c_.PState03); break;
      case SlideState::Unreadable:
        slide.icon->SetPicture(static_cast<HBITMAP>(CopyImage(failureMark_.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        break;
    }
  });
}

hosted::TrackedFile FDocumentosIndex::SlideFile(int index) const {
  const Slide& slide = slides_[static_cast<size_t>(index)];
  const std::wstring& at = slide.image->Path();
  return {slide.home.empty() ? at : slide.home, at, slide.file};
}

void FDocumentosIndex::FollowFile(int index, const hosted::TrackedFile& file) {
  if (file.at.empty()) return;
  Slide& slide = slides_[static_cast<size_t>(index)];
  slide.file = file.identity;
  VkImage& image = *slide.image;
  if (image.Path() == file.at) return;
  // The large view showing it still shows this thumbnail's file: an accept finds it.
  if (c_.PSelection->Path() == image.Path()) c_.PSelection->setPath(file.at);
  image.setPath(file.at);
}

// --- showing and accepting ---

void FDocumentosIndex::ShowSlide(int index) {
  IgnoreErrors([&] {
    VkImage& slide = PSlide(index);
    mSlideIndex = index;
    static_cast<CatalogEntry&>(record_) = slide.Entry();
    const Controls& c = c_;
    {
      // Showing a stored entry is not the user's choice: only the type places editors.
      MuteEvents quiet(c.cboCategoriaId->Change, c.cboSubCategoriaId->Change, c.cboGerenciaId->Change,
                       c.txtCBarra->Change, c.txtReferenciaId->Change, c.dtpFecha->Change);
      c.cboCategoriaId->SelectStoredKey(record_.CategoriaId);
      c.cboSubCategoriaId->SelectStoredKey(record_.SubCategoriaId);
      c.cboGerenciaId->SelectStoredKey(record_.GerenciaId);
    }
    c.cboTipoDocumentoId->SelectKey(record_.TipoDocumentoId == 0 ? L"" : std::to_wstring(record_.TipoDocumentoId));
    {
      MuteEvents quiet(c.txtCBarra->Change, c.txtReferenciaId->Change, c.dtpFecha->Change);
      c.dtpFecha->SetValue(record_.Fecha);
      c.txtCBarra->SetText(record_.CBarra);
      c.txtReferenciaId->SetText(record_.ReferenciaId);
    }
    VkImage& view = *c.PSelection;
    // A file that cannot be shown leaves the large view empty; the entry still shows.
    if (IsPdfPath(record_.Path)) {
      view.setIsPDF(true);
      view.setDocumento(record_.Documento);
      view.setPath(record_.Path);
      IgnoreErrors([&] { view.LoadDocument(); });
    } else {
      view.setIsPDF(false);
      view.setFitMode(false);
      view.setZoom(0.53);
      view.setDocumento(record_.Documento);
      view.setPath(record_.Path);
      view.Resize();
      IgnoreErrors([&] { view.LoadDocument(); });
      hosted::Toolbar& bar = *c.TBarMain;
      bar.SetLook(2, bar.IndexOfKey(L"BTN_Z11"), 9);
      view.setVisible(false);
      view.setVisible(true);
    }
    // The type selected above has placed its editors: they show the stored fields.
    editors_->FillFromRecord();
  });
}

std::wstring FDocumentosIndex::PlacedValue(const PlacedField& field) {
  if (field.kind == kTextBoxArray) return editors_->VkTextBox()[field.index].Text();
  if (field.kind == kComboBoxArray) return editors_->VkComboBox()[field.index].SelectedKey();
  const std::optional<DATE> date = editors_->VkDTPicker()[field.index].Value();
  return date ? DateToText(*date) : L"";
}

std::optional<int> FDocumentosIndex::AcceptTarget(std::wstring& refusal) const {
  // The thumbnail whose file the large view shows, wherever a refill has put it.
  const std::wstring& shown = c_.PSelection->Path();
  if (shown.empty()) {
    refusal = L"No hay ninguna imagen en la vista";
    return std::nullopt;
  }
  auto holds = [&](int i) { return PSlide(i).Path() == shown; };
  const int current = static_cast<int>(mSlideIndex);
  std::optional<int> found;
  if (current < SlideCount() && holds(current)) found = current;
  for (int i = 0; !found && i < SlideCount(); ++i)
    if (holds(i)) found = i;
  if (!found) {
    refusal = L"La imagen de la vista ya no está en la carpeta de origen";
    return std::nullopt;
  }
  if (slideState(*found) == SlideState::Catalogued) {
    refusal = L"La imagen de la vista ya fue catalogada";
    return std::nullopt;
  }
  return found;
}

void FDocumentosIndex::cmdAceptar_Click() {
  Command([&] {
    // Only the thumbnail the clerk sees in the large view takes an entry.
    std::wstring refusal;
    const std::optional<int> target = AcceptTarget(refusal);
    if (!target) {
      ShowMessage(refusal + L": seleccione una imagen antes de Aceptar", msg::Information, L"Ostrela");
      return;
    }
    // Every value is read before anything is written: an accept is whole or nothing.
    const Controls& c = c_;
    CatalogEntry entry;
    entry.CategoriaId = c.cboCategoriaId->SelectedKey();
    entry.SubCategoriaId = c.cboSubCategoriaId->SelectedKey();
    entry.GerenciaId = c.cboGerenciaId->SelectedKey();
    const std::wstring type = c.cboTipoDocumentoId->SelectedKey();
    const std::optional<long> typeId = type.empty() ? std::optional<long>(0) : WholeNumber(type);
    if (!typeId) {
      ShowMessage(L"La clave del Tipo Documento no es un número [ " + type + L" ]: la entrada no se aceptó",
                  msg::Information, L"Ostrela");
      return;
    }
    entry.TipoDocumentoId = *typeId;
    // The fields as the placed editors show them; a field the type does not place is "".
    for (const PlacedField& field : editors_->PlacedFields())
      if (!field.kind.empty() && field.detalleId >= 1 && field.detalleId <= kCampoCount)
        entry.Campo(static_cast<int>(field.detalleId)) = PlacedValue(field);
    entry.Fecha = c.dtpFecha->Value().value_or(Today());
    entry.CBarra = c.txtCBarra->Text();
    entry.ReferenciaId = c.txtReferenciaId->Text();
    mSlideIndex = *target;
    PutEntry(PSlide(*target), entry);
    SetSlideState(*target, SlideState::Accepted);
  });
}

// --- scrolling ---

// The strip scrolls 500 at a step between two ends: the first thumbnail at Left 0, and
// the last one, its state icon included, whole inside the inner frame. A step that
// would pass an end stops at it.
void FDocumentosIndex::cmdPrevious_Click() {
  IgnoreErrors([&] {
    if (slides_.empty()) return;
    const double hidden = -slides_.front().image->left();
    if (hidden > 0) MoveStrip(std::min(kScrollStep, hidden));
  });
}

void FDocumentosIndex::cmdNext_Click() {
  IgnoreErrors([&] {
    if (slides_.empty()) return;
    const Slide& last = slides_.back();
    const double right =
        std::max(last.image->left() + last.image->width(), last.icon->left() + last.icon->width());
    const double hidden = right - c_.VkImageSlideInt->width();
    if (hidden > 0) MoveStrip(-std::min(kScrollStep, hidden));
  });
}

void FDocumentosIndex::MoveStrip(double offset) {
  // The strip is drawn once, after every thumbnail and icon has moved.
  RedrawPause pause(c_.VkImageSlideInt->hwnd());
  for (const Slide& slide : slides_) {
    slide.image->setLeft(slide.image->left() + offset);
    slide.icon->setLeft(slide.icon->left() + offset);
  }
}

}  // namespace vk::capture
