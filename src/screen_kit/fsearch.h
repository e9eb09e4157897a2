#pragma once
// FSearch, the modal search picker. A caller hands it a SELECT and the name of a key
// column; the picker runs the statement on the application database (at most 500 rows,
// highest key first), shows the rows a page at a time with two fixed filters, a free
// text and a per-column filter grid, and hands back the key of the accepted row.
// A statement with exactly one row gives that row's key without showing anything.
//
//   auto picker = vk::Form::Load<vk::FSearch>();
//   vk::SetWindowLayered(picker->hwnd());
//   picker->mSentence = L"Select * From Documentos";
//   picker->mFieldName = L"DocumentoId";
//   picker->ShowForm();                      // modal; returns when closed
//   vk::Variant key = picker->oReturn;       // Empty when nothing was chosen
//   picker->Unload();
//
// The query, filters and paging live in fsearch.cpp, the window (controls, fade-in,
// dragging, tabs, layout) in fsearch_window.cpp, the two grids in fsearch_grids.cpp.
// While a page fills (it yields after every cell) the commands are ignored, so no
// command can close the window under a running fill.
//
// Not handled: the two lines drawn while the window is dragged are not kept.
#include <functional>
#include <optional>
#include <string>

#include "base/seam.h"
#include "base/variant.h"
#include "controls/vk_animated_gif.h"
#include "hosted/combo_box.h"
#include "hosted/frame.h"
#include "hosted/grid/grid_control.h"
#include "hosted/picture_box.h"
#include "hosted/simple_controls.h"
#include "hosted/tab_progress.h"
#include "hosted/text_box.h"
#include "runtime/form.h"
#include "runtime/timer.h"
#include "screen_kit/data_access.h"

namespace vk {

// A line of the design, in twips of its container.
struct DesignLine {
  double x1, y1, x2, y2;
};

class FSearch : public Form {
 public:
  FSearch();
  ~FSearch() override;

  // What the caller sets and reads.
  std::optional<Recordset> mRecordSource;
  std::wstring mSentence;
  std::wstring mFieldName;
  std::wstring mFieldValue;
  bool mKeySimple = false;
  Variant oReturn;
  std::wstring oReturnFilter;
  std::wstring mOrderBy;
  std::wstring mWhere;
  std::wstring mFinalSentence;

  // Runs the query; returns at once with a single row's key, otherwise shows the
  // picker modally until it is closed. Always false.
  bool ShowForm();

  // For the tests and the benchmark: the controls and the paging state.
  struct Controls {
    hosted::Frame* VkContainer;
    hosted::PictureBox* IType2;
    controls::VkAnimatedGif* IType;
    hosted::TabControl* TContainer;
    hosted::Frame* VkSearch01;
    hosted::Frame* VkSearch02;
    hosted::Label* Label4;
    hosted::TextBox* txtSortKey;
    grid::GridControl* GRDetail;
    hosted::CommandButton *cmdFirst, *cmdPrevious, *cmdNext, *cmdLast;
    hosted::Label *lblPaginas, *lblDivision, *lblPageSize;
    hosted::TextBox *txtPageNumber, *txtPageCount;
    hosted::ComboBox* cboPageSize;
    grid::GridControl* GRFilter;
    hosted::CheckBox* chkFilter[2];
    hosted::CommandButton *cmdFilterClear, *cmdFilterApply, *cmdCancelar, *cmdAceptar, *cmdMaximizar, *cmdQuit;
    DesignLine Line1, Line2, LineC1, LineC2;
  };
  const Controls& controls() const { return c_; }
  long currentPage() const { return page_; }
  long pageCount() const { return pageCount_; }
  long pageSize() const { return pageSize_; }
  long recordTotal() const { return total_; }
  bool filling() const { return filling_; }
  long fadeAlpha() const { return alpha_; }

 protected:
  friend class Form;  // Load runs OnLoad
  void OnLoad() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Window side (fsearch_window.cpp).
  void BuildControls();
  void Form_Unload();
  void Form_MouseDown(int button, int shift, double x, double y);
  void tmrFade_Timer();
  void TContainer_Click();
  void cmdMaximizar_Click();
  void cmdQuit_Click();
  void Form_Resize();
  void StartAnimation();
  // Grids (fsearch_grids.cpp).
  bool SetupDetailGrid();
  bool SetupFilterGrid();
  // Query, filters and paging (fsearch.cpp).
  bool RunQuery();
  void BuildWhere();
  bool LoadPage();
  void ApplyColumnSelection();
  static int FindColumn(const grid::GridMembers& grid, const std::wstring& name);
  void cmdFilterApply_Click();
  void cmdFilterClear_Click();
  void cmdAceptar_Click();
  void GRDetail_DblClick();
  void GRDetail_HeadClick(int position);
  void cboPageSize_Click();
  void cmdFirst_Click();
  void cmdPrevious_Click();
  void cmdNext_Click();
  void cmdLast_Click();
  void GoToPage(long page);
  bool TakeResult();
  // A command runs only when no page is being filled.
  void Command(const std::function<void()>& handler);

  Controls c_{};
  std::optional<DataAccess> data_;
  Timer tmrFade_{100, false};
  long alpha_ = 10;
  long page_ = 1;
  long pageCount_ = 1;
  long pageSize_ = 20;
  long total_ = 0;
  bool filling_ = false;
};

// Runs the picker the way every caller does (load, layered style, sentence and key
// column, ShowForm, read oReturn, unload) and gives back oReturn.
Variant PickKey(const std::wstring& sentence, const std::wstring& fieldName);

// Who answers PickKey: the picker by default; tests of the callers put a chooser here.
using PickerHandler = std::function<Variant(const std::wstring& sentence, const std::wstring& fieldName)>;
template <>
PickerHandler Seam<PickerHandler>::Real();
using ScopedPicker = Seam<PickerHandler>::Scope;

}  // namespace vk
