// The list screens' set-up, layout and document query: the controls both screens
// carry, the steps of MakeForm (column dictionary, combos, reset, first fill), the
// layout and LoadDocuments.
#include "consult/list_screen.h"

#include <algorithm>

#include "base/steps.h"
#include "consult/list_query.h"
#include "runtime/do_events.h"
#include "runtime/font.h"
#include "runtime/mouse_pointer.h"
#include "runtime/property_bag.h"
#include "screen_kit/clear_controls.h"
#include "screen_kit/combo_source.h"
#include "screen_kit/grid_dictionary.h"
#include "screen_kit/screen_toolbar.h"
#include "screen_kit/shared_state.h"

namespace vk::consult {
namespace {

constexpr double kDesignWidth = DocumentScreen::kDesignWidth, kDesignHeight = DocumentScreen::kDesignHeight;
constexpr double kToolbarHeight = 420;
constexpr double kStatusBarHeight = 330;
constexpr double kPreviewWidth = 3740;

}  // namespace

ListScreen::ListScreen(std::wstring formName) : DocumentScreen(std::move(formName), L"Ostrela") {
  AmbientProperties ambient;
  ambient.fontName = L"Verdana";
  setAmbient(ambient);
}

ListScreen::~ListScreen() = default;

void ListScreen::BuildMainToolbar(std::initializer_list<ToolbarKey> keys) {
  c_.TBarMain = &Add<hosted::Toolbar>(ControlAt(L"TBarMain", 50, 45, kDesignWidth - 300, kToolbarHeight));
  for (const ToolbarKey& k : keys) {
    AddToolbarButton(*c_.TBarMain, k.key, k.toolTip);
    c_.TBarMain->AddSeparator();
  }
  c_.TBarMain->ButtonClick.Connect([this](hosted::ToolbarClick& click) {
    // The close is honoured even while an operation runs; it stops at its next check.
    if (click.key == L"BTN_KIL") IgnoreErrors([this] { KillForm(); });
    else Command([this, &click] { TBarMain_ButtonClick(click); });
  });
}

void ListScreen::BuildListAndPreview(double listTop, double previewLeft, double previewHeight) {
  const double listHeight = kDesignHeight - listTop - kStatusBarHeight - 200;
  c_.VkContainer = &Add<hosted::Frame>(ControlAt(L"VkContainer", 200, listTop, kDesignWidth - 600, listHeight),
                                       L"Documentos Recibidos");
  c_.GRDetail = &Add<grid::GridControl>(ControlAt(L"GRDetail", 200, 500, kDesignWidth - 1000, listHeight - 700,
                                           c_.VkContainer));
  ControlArgs previewFrame = ControlAt(L"VkImageMain", previewLeft, listTop, kPreviewWidth, previewHeight);
  previewFrame.visible = false;  // the search screen's preview flag starts off; the unread screen never shows it
  c_.VkImageMain = &Add<hosted::Frame>(previewFrame, L"Imagen Seleccionada");
  c_.TBarDetail = &Add<hosted::Toolbar>(ControlAt(L"TBarDetail", 100, 500, kPreviewWidth - 200, kToolbarHeight,
                                           c_.VkImageMain));
  c_.TBarDetail->AddSeparator();
  AddViewButtons(*c_.TBarDetail);
  c_.TBarDetail->ButtonClick.Connect(
      [this](hosted::ToolbarClick& click) { Command([this, &click] { TBarDetail_ButtonClick(click); }); });
  const double previewWidth = kPreviewWidth - 400;
  c_.PSelection = &Add<VkImage>(ControlAt(L"PSelection", 200, kToolbarHeight + 700, previewWidth,
                                            previewWidth * 100 / 75, c_.VkImageMain));
  c_.PSelection->ReadProperties(PropertyBag{});

  c_.STBar = &Add<controls::VkStatusBar>(ControlAt(L"STBar", 0, kDesignHeight - kStatusBarHeight, kDesignWidth,
                                            kStatusBarHeight));
  com::ComPtr<IFont> font = CreateOleFont({.name = L"Verdana", .size = 8.25});
  com::ComPtr<IDispatch> fontDispatch;
  if (font) font->QueryInterface(IID_IFontDisp, fontDispatch.put_void());
  c_.STBar->ReadProperties(PropertyBag{{L"BackColor", Variant(long(0x8000000F))},
                                       {L"Font", Variant(fontDispatch.get())},
                                       {L"Theme", Variant(4L)}});

  c_.GRDetail->RowSelected.Connect([this] { Command([this] { GRDetail_RowSelected(); }); });
  c_.GRDetail->DblClick.Connect([this] { Command([this] { GRDetail_DblClick(); }); });
  c_.GRDetail->MouseUp.Connect(
      [this](int button, int, float x, float y) { Command([this, button, x, y] { GRDetail_MouseUp(button, x, y); }); });
}

// --- the steps of MakeForm ---

bool ListScreen::FillScreen() {
  const bool created = CreateDataObject();
  OnCreateDataObject();
  if (!created) return false;
  LoadGridLayout();
  if (!LoadCombos()) return false;
  ClearForm();
  if (FillsOnMake()) {
    LoadDocuments();
    if (!StillWanted()) return false;
  }
  return true;
}

void ListScreen::Form_Unload() {
  DocumentScreen::Form_Unload();
  current_.reset();
}

bool ListScreen::LoadGridLayout() {
  return IgnoreErrors([this] {
    grid::GridControl& grid = *c_.GRDetail;
    current_ = mData->GetData(Shared().gApplicationName,
                             L"Select * From DictionaryFields Where TableName = 'DocumentosView' Order By FieldId");
    if (current_ && !SetupGridFromDictionary(grid, &*current_)) Raise(err::InvalidProcedureCall);
    // The list is for reading: no cell takes the user's typing or ticks.
    for (int position = 1; position < grid.Columns().Count(); ++position) grid.Columns().Item(position).ReadOnly = true;
    grid.Styles().Item(L"IsNew").OwnFont().bold = true;
    grid.AddFormatCondition(L"IsNew", grid::FormatCondition::kEqual, grid::GridValue(0L), L"IsNew");
    grid::GridStyle& header = grid.Styles().Item(L"GroupHeader");
    header.BackColor = 0x80000005;  // the grid's own window colours, until a fill styles it
    header.ForeColor = 0x80000008;
  });
}

bool ListScreen::LoadCombos() {
  return IgnoreErrors([this] {
    SetComboTags();
    // The loader keeps its own reference to the data object while the queue runs.
    const DataAccess data = *mData;
    if (!LoadCombosFromTags(*this, data, [this] { return ServeMessages(); }))
      Raise(err::InvalidProcedureCall);
  });
}

void ListScreen::ClearForm() {
  {
    MuteEvents quiet;  // the reset writes nothing back through the controls' events
    ClearControlsByKind(*this);
  }
  IgnoreErrors([this] { AfterClear(); });
}

// --- layout ---

void ListScreen::PlaceControls() {
  const double W = scaleWidth(), H = scaleHeight();
  hosted::Frame& list = *c_.VkContainer;
  hosted::Frame& preview = *c_.VkImageMain;
  grid::GridControl& grid = *c_.GRDetail;
  PlaceMainToolbar(*c_.TBarMain, W);
  RunEachStep({
      [&] { LayoutListWidth(W); },
      [&] { list.setHeight(H - list.top() - c_.STBar->height() - 200); },
      [&] { LayoutPreviewFrame(W); },
      [&] { grid.setTop(500); },
      [&] { grid.setLeft(200); },
      [&] { grid.setWidth(list.width() - 400); },
      [&] { grid.setHeight(list.height() - 700); },
      [&] { c_.TBarDetail->setLeft(100); },
      [&] { c_.TBarDetail->setWidth(preview.width() - 200); },
      [&] { c_.TBarDetail->setTop(500); },
      [&] { c_.PSelection->setTop(c_.TBarDetail->height() + 700); },
      [&] { c_.PSelection->setLeft(200); },
      [&] { c_.PSelection->setWidth(preview.width() - 400); },
      [&] { c_.PSelection->setHeight(c_.PSelection->width() * 100 / 75); },  // a portrait page, 3 by 4
  });
  FitColumnsToShares(grid);
}

// --- the document query ---

bool ListScreen::LoadDocuments() {
  ScreenBusy::Scope working(busy_);
  SetMousePointer(pointer::Hourglass);
  const bool read = IgnoreErrors([this] {
    if (!mData) Raise(err::ObjectNotSet);
    const ListStatement statement = DocumentStatement();
    current_ = mData->GetData(Shared().gApplicationName, statement.sql);
    ShowNoDocument();  // the refill leaves no row current: no document until one is selected
    readsExternal_ = statement.withExternal;
    FillGrid(*c_.GRDetail, current_ ? &*current_ : nullptr);
  });
  SetMousePointer(pointer::Default);
  if (!read) return false;
  DoEvents();
  return true;
}

}  // namespace vk::consult
