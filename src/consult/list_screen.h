#pragma once
// The document lists: the search screen FDocumentosSearchS and the unread-documents
// screen FDocumentosView are one design in two configurations. This base holds what
// they share: the controls of the list and the preview, the set-up (column
// dictionary, combos, reset), the document query, the toolbars, the grid events, the
// menus and the routines (marking as read, report, comments, mail). The host protocol,
// the data object and the busy flag are the document screens' own
// (screen_kit/document_screen).
//
// Where the code lives: set-up, layout and the query run in list_screen.cpp; the
// toolbars, grid events, current row and read marking in list_commands.cpp; the
// menus, report, comments and mail in list_menus.cpp.
//
// The busy flag: while an operation runs (the set-up, a fill, a dialog, a menu), the
// commands that arrive through its yields are dropped; a close (the host's or
// "BTN_KIL") is honoured at once, closing a dialog of the screen with it, and the
// operation then stops quietly at its next check (StillWanted).
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "consult/comment_editor.h"
#include "controls/status_bar/vk_status_bar.h"
#include "hosted/frame.h"
#include "hosted/grid/grid_control.h"
#include "hosted/toolbar.h"
#include "runtime/popup_menu.h"
#include "screen_kit/document_screen.h"
#include "screen_kit/screen_toolbar.h"
#include "screen_kit/vk_image.h"

namespace vk::consult {

// The document of the last data row selected in the list, read whole from the row's
// cells (Null or missing cells read as "" and 0). DocumentoId 0: no document.
struct ListDocument {
  long DocumentoId = 0;
  std::wstring CategoriaId, SubCategoriaId, GerenciaId;
  long TipoDocumentoId = 0;
  std::wstring Documento, Path;
  std::array<std::wstring, 10> Campo;  // Campo01 to Campo10
  std::wstring ReferenciaId;
};

// A list row as read from its cells: the document, and the cells that did not convert
// (their column and text). Read whole when none did.
struct RowReading {
  ListDocument document;
  std::vector<std::pair<std::wstring, std::wstring>> unreadable;
  bool whole() const { return unreadable.empty(); }
};

// The document a command acts on (DocumentoId 0: none) and the data row that shows it
// (-1 on a grouping row); `told` when the user was told why there is none; `pathRead`
// unless the row's Path cell could not be read; `external` when its row was found in
// the external documents, not in Documentos.
struct CommandTarget {
  ListDocument document;
  int dataRow = -1;
  bool told = false;
  bool pathRead = true;
  bool external = false;
};

// What a list reads: the statement, and whether it reads the external documents too.
struct ListStatement {
  std::wstring sql;
  bool withExternal = false;
};

// The items of the three pop-up menus.
enum MenuCommand : UINT {
  mnuReportView = kReportView,
  mnuReportPrint = kReportPrint,
  mnuImageView,
  mnuImagePrint,
  mnuSendMail,
  mnuComentariosAdd,
  mnuComentariosView,
};

class ListScreen : public DocumentScreen {
 public:
  ~ListScreen() override;

  // The host's close is done at once, whatever runs.
  void UnloadScreen() override { Unload(); }

  // The controls both screens carry, for tests, drivers and benchmarks.
  struct Controls {
    hosted::Toolbar* TBarMain = nullptr;
    hosted::Frame* VkContainer = nullptr;
    grid::GridControl* GRDetail = nullptr;
    hosted::Frame* VkImageMain = nullptr;
    hosted::Toolbar* TBarDetail = nullptr;
    VkImage* PSelection = nullptr;
    controls::VkStatusBar* STBar = nullptr;
  };
  const Controls& controls() const { return c_; }
  const ListDocument& currentDocument() const { return document_; }
  const std::optional<Recordset>& currentRecordset() const { return current_; }
  bool hasDataObject() const { return mData.has_value(); }

  // The screen's routines.
  bool LoadDocuments();
  // Marks the current document read; false when it could not, after telling the user
  // why.
  bool MarkDocumentRead();
  // The list as a report in the preview window; the flag has no effect.
  bool ReportPreview(bool flag);
  // Printing the image from its menu does nothing: always true.
  bool ImagePrint(bool flag) {
    (void)flag;
    return true;
  }
  // The comment editor, modal: the plain text accepted, "" when it was cancelled or
  // closed, `text` itself when the editor could not be shown.
  std::wstring EditComments(const std::wstring& title, const std::wstring& text, bool readOnly);

 protected:
  explicit ListScreen(std::wstring formName);

  // Building, in design order: the main toolbar with the screen's keys, then (the
  // search screen) its filter panel, then the list, the preview and the status bar.
  void BuildMainToolbar(std::initializer_list<ToolbarKey> keys);
  // The preview frame, hidden, stands beside the list at `previewLeft`.
  void BuildListAndPreview(double listTop, double previewLeft, double previewHeight);

  // What the two screens do differently.
  virtual void OnCreateDataObject() {}
  virtual void SetComboTags() {}
  virtual void AfterClear() {}
  virtual bool FillsOnMake() const = 0;
  virtual ListStatement DocumentStatement() = 0;
  // The screen's own main-toolbar keys ("BTN_VAL", "BTN_VIE").
  virtual void OnMainKey(const std::wstring& key) = 0;
  // Steps of the layout that differ: the list frame's width (and the filter panel),
  // then, once the list frame has its height, the preview frame.
  virtual void LayoutListWidth(double width) = 0;
  virtual void LayoutPreviewFrame(double width) { (void)width; }
  virtual bool ImageMenuSeparator() const = 0;

  std::optional<Recordset>& CurrentRecordset() { return current_; }

  Controls c_;

 private:
  // Set-up and layout (list_screen.cpp).
  bool FillScreen() override;
  bool LoadGridLayout();
  bool LoadCombos();
  void ClearForm() override;
  void PlaceControls() override;
  void Form_Unload() override;

  // Toolbars, grid events and the current row (list_commands.cpp).
  void TBarMain_ButtonClick(hosted::ToolbarClick& click);
  void TBarDetail_ButtonClick(hosted::ToolbarClick& click);
  // Opens a key's menu; its chosen item runs while the screen is still there.
  void PopUpFromKey(hosted::Toolbar& toolbar, hosted::ToolbarClick& click, const std::vector<MenuItem>& menu,
                    double frameLeft, double frameTop);
  void ShowInPreview();
  // No current document, and nothing of one in the preview.
  void ShowNoDocument();
  bool CurrentDataRow(int& dataRow) const;
  RowReading ReadRow(int dataRow) const;
  // The document a command acts on: the current data row's, or on a grouping row the
  // current document. A command reads only the values it needs (`needed`, with
  // DocumentoId always), so another value that does not convert does not stop it; a
  // needed one that does not convert, or a document gone from the database or replaced
  // there (its row looked for where the list read it), is told to the user and leaves
  // no document.
  CommandTarget TargetOfCommand(std::initializer_list<const wchar_t*> needed);
  // The target's row looked for by its id where the list read it: Documentos, then the
  // external documents when the list read them too. Found with the list's Path, it
  // notes which of the two holds it (`external`); otherwise false after telling the user
  // the document is gone, that another document now holds its id (every row under the
  // id has another Path), or that it could not be read, with `stopped` appended; the
  // screen then shows no document if it was the current one.
  bool StillListed(CommandTarget& target, std::wstring_view stopped = {});
  bool GRDetail_RowSelected();
  void GRDetail_DblClick();
  void GRDetail_MouseUp(int button, float x, float y);
  void OpenInViewer();
  // Writes the read-log entry, then shows the row as read. The read log knows a
  // document by its id alone: the reading of an external document goes there only while
  // no document of ours holds its id, checked right before the write.
  bool MarkRead(const CommandTarget& target);

  // Menus and their routines (list_menus.cpp).
  std::vector<MenuItem> ImageMenu() const;
  std::vector<MenuItem> CommentMenu() const;
  void RunMenuCommand(UINT command);
  void mnuSendMail_Click();
  void mnuComentariosAdd_Click();
  void mnuComentariosView_Click();
  bool AppendComment(int dataRow, long documentId, const std::wstring& text);

  std::optional<Recordset> current_;
  bool readsExternal_ = false;  // the listed rows were read with the external documents
  ListDocument document_;
  std::shared_ptr<FEditorRTF> editor_;  // the comment editor while it is open
};

// The list screen a form name names ("FDocumentosView", "FDocumentosSearchS"), loaded;
// nullptr for any other name.
std::shared_ptr<DocumentForm> CreateListScreen(std::wstring_view formName);

}  // namespace vk::consult
