#pragma once
// VkImage: the catalogue entry control. It shows one document image through its inner
// image viewer `iImage` and carries that image's catalogue entry as plain properties.
// The cataloguing screen keeps one per thumbnail (the control array PSlide) and one as
// its large view; the maintenance screen and the document lists use one as their
// preview (PSelection).
//
//   auto& view = form.Add<VkImage>({.name = L"PSelection", ...});
//   view.ReadProperties(designBag);          // FitMode True and Fecha now when absent
//   view.setIsPDF(false);
//   view.setFitMode(false);
//   view.setZoom(0.53);                      // set before LoadDocument to take effect
//   view.setDocumento(L"scan.jpg");
//   view.setPath(L"C:\\store\\...\\00000000000000000001.jpg");
//   view.Resize();
//   view.LoadDocument();                     // fit off, zoom 0.53 (1 when Zoom is 0)
//   view.setFitMode(true);                   // set after LoadDocument to fit
//
// Display rules the screens rely on:
//   - LoadDocument hides the viewer and, unless IsPDF, shows it again with the file
//     named by Path, fit off and the zoom Zoom (1 when Zoom is 0). It returns False.
//   - While IsPDF is True, FitMode and Zoom are only stored; the viewer is not touched.
//     The control then shows a plain "PDF" mark where the viewer was, so a PDF
//     thumbnail is recognisable.
//   - The viewer decodes at the size it shows (fitted, or the zoomed window's part),
//     never the full-resolution page per thumbnail.
//   - A file the viewer cannot open raises its error (53 missing, 481 not an image)
//     to the caller of LoadDocument and leaves the viewer empty. Nothing else checks:
//     an empty Path, an id that names nothing or a date of 0 are stored as given.
//
// Persisted: FitMode and the nineteen catalogue fields (see OnWriteProperties for the
// keys, their order and defaults). Enabled, IsPDF and Zoom are never stored. A control
// made without a bag starts from 0, "" and False everywhere (Enabled from its
// settings). An element loaded into a control array reads the bag element 0 was read
// from and gets a viewer of its own.
//
// The control raises no events: a mouse press on it is accepted and ignored.
#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>

#include "hosted/image_viewer.h"
#include "runtime/user_control.h"
#include "screen_kit/catalog_entry.h"

namespace vk {

class VkImage : public UserControl {
 public:
  VkImage(Form& form, ControlArgs args);

  // Members in interface order. Enabled is the control's own enabled()/setEnabled().
  bool IsPDF() const { return isPDF_; }
  void setIsPDF(bool value);
  bool FitMode() const { return fitMode_; }
  void setFitMode(bool value);  // also the viewer's fit, unless IsPDF
  double Zoom() const { return zoom_; }
  // Also the viewer's zoom, unless IsPDF (0 shows the image's own size; a negative
  // zoom raises 380 from the viewer, after it was stored).
  void setZoom(double value);
  // Kept for the screens that set them; they do nothing and read back 0.
  long WorkMode() const { return 0; }
  void setWorkMode(long) {}
  long MouseIcon() const { return 0; }
  void setMouseIcon(long) {}

  const std::wstring& CategoriaId() const { return entry_.CategoriaId; }
  void setCategoriaId(std::wstring value) { entry_.CategoriaId = std::move(value); }
  const std::wstring& SubCategoriaId() const { return entry_.SubCategoriaId; }
  void setSubCategoriaId(std::wstring value) { entry_.SubCategoriaId = std::move(value); }
  const std::wstring& GerenciaId() const { return entry_.GerenciaId; }
  void setGerenciaId(std::wstring value) { entry_.GerenciaId = std::move(value); }
  long TipoDocumentoId() const { return entry_.TipoDocumentoId; }
  void setTipoDocumentoId(long value) { entry_.TipoDocumentoId = value; }
  const std::wstring& Documento() const { return entry_.Documento; }
  void setDocumento(std::wstring value) { entry_.Documento = std::move(value); }
  const std::wstring& Path() const { return entry_.Path; }
  void setPath(std::wstring value) { entry_.Path = std::move(value); }
  // Campo01 ... Campo10 by number; a number outside 1 to 10 raises 9.
  const std::wstring& Campo(int number) const { return entry_.Campo(number); }
  void setCampo(int number, std::wstring value) { entry_.Campo(number) = std::move(value); }
  DATE Fecha() const { return entry_.Fecha; }
  void setFecha(DATE value) { entry_.Fecha = value; }
  const std::wstring& CBarra() const { return entry_.CBarra; }
  void setCBarra(std::wstring value) { entry_.CBarra = std::move(value); }
  const std::wstring& ReferenciaId() const { return entry_.ReferenciaId; }
  void setReferenciaId(std::wstring value) { entry_.ReferenciaId = std::move(value); }

  // Shows the file named by Path (rules above). Always returns false.
  bool LoadDocument();
  // Shows no file: IsPDF off, Documento and Path empty and the viewer emptied. The rest
  // of the entry stays as it is.
  void ShowNoFile();
  // Does nothing; the control repaints by itself.
  void Repaint() {}
  // Fits the viewer to the control, as the control's own resize does.
  void Resize();

  // The whole entry at once (the record's CatalogEntry part), for copying into a
  // document record.
  const CatalogEntry& Entry() const { return entry_; }
  // The inner viewer, for drivers and tests.
  hosted::ImageViewer& iImage() const { return *viewer_; }

 protected:
  void Paint(HDC dc, const RECT& client) override;
  void OnResize() override { Resize(); }
  void OnReadProperties(const PropertyBag& bag) override;
  void OnWriteProperties(PropertyBag& bag) const override;
  std::unique_ptr<Control> Clone(Form& form, const ControlArgs& args) const override;

 private:
  hosted::ImageViewer* viewer_;  // a constituent: owned by the user control base
  bool isPDF_ = false;
  bool fitMode_ = false;
  double zoom_ = 0;
  CatalogEntry entry_;
};

// A PDF is told by the last three characters of its path, in any case ("scan.PDF").
bool IsPdfPath(const std::wstring& path);

}  // namespace vk
