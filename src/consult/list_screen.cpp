// The list screens' set-up, layout and document query: the host protocol, the
// controls both screens carry, the column dictionary, combos and reset, the docked
// layout and LoadDocuments.
#include "consult/list_screen.h"

#include <algorithm>

#include "consult/combo_source.h"
#include "consult/list_query.h"
#include "host/clear_controls.h"
#include "host/grid_dictionary.h"
#include "host/screen_toolbar.h"
#include "host/shared_state.h"
#include "runtime/do_events.h"
#include "runtime/font.h"
#include "runtime/mouse_pointer.h"
#include "runtime/property_bag.h"
#include "runtime/steps.h"
#include "runtime/twips.h"

namespace vk::consult {
namespace {

// The design size: a host client area of 765 x 562 pixels.
constexpr double kDesignWidth = 11475, kDesignHeight = 8430;
constexpr double kToolbarHeight = 420;
constexpr double kStatusBarHeight = 330;

}  // namespace

ListScreen::ListScreen(std::wstring formName)
    : Form({.name = std::move(formName), .caption = L"Ostrela", .scaleWidth = kDesignWidth,
            .scaleHeight = kDesignHeight, .borderless = true}) {
  AmbientProperties ambient;
  ambient.fontName = L"Verdana";
  setAmbient(ambient);
  Resize.Connect([this] { Form_Resize(); });
  Unloading.Connect([this](bool&) { Form_Unload(); });
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

void ListScreen::BuildListAndPreview(double listTop, const ControlArgs& previewFrame) {
  const double listHeight = kDesignHeight - listTop - kStatusBarHeight - 200;
  c_.VkContainer = &Add<hosted::Frame>(ControlAt(L"VkContainer", 200, listTop, kDesignWidth - 600, listHeight),
                                       L"Documentos Recibidos");
  c_.GRDetail = &Add<grid::GridControl>(ControlAt(L"GRDetail", 200, 500, kDesignWidth - 1000, listHeight - 700,
                                           c_.VkContainer));
  c_.VkImageMain = &Add<hosted::Frame>(previewFrame, L"Imagen Seleccionada");
  c_.TBarDetail = &Add<hosted::Toolbar>(ControlAt(L"TBarDetail", 100, 500, previewFrame.width - 200, kToolbarHeight,
                                           c_.VkImageMain));
  c_.TBarDetail->AddSeparator();
  AddViewButtons(*c_.TBarDetail);
  c_.TBarDetail->ButtonClick.Connect(
      [this](hosted::ToolbarClick& click) { Command([this, &click] { TBarDetail_ButtonClick(click); }); });
  const double previewWidth = previewFrame.width - 400;
  c_.PSelection = &Add<capture::VkImage>(ControlAt(L"PSelection", 200, kToolbarHeight + 700, previewWidth,
                                            previewWidth * 100 / 75, c_.VkImageMain));
  c_.PSelection->ReadProperties(PropertyBag{});

  c_.STBar = &Add<controls::VkStatusBar>(ControlAt(L"STBar", 0, kDesignHeight - kStatusBarHeight, kDesignWidth,
                                            kStatusBarHeight));
  ComPtr<IFont> font = CreateOleFont({.name = L"Verdana", .size = 8.25});
  ComPtr<IDispatch> fontDispatch;
  if (font) font->QueryInterface(IID_IFontDisp, fontDispatch.put_void());
  c_.STBar->ReadProperties(PropertyBag{{L"BackColor", Variant(long(0x8000000F))},
                                       {L"Font", Variant(fontDispatch.get())},
                                       {L"Theme", Variant(4L)}});

  c_.GRDetail->RowSelected.Connect([this] { Command([this] { GRDetail_RowSelected(); }); });
  c_.GRDetail->DblClick.Connect([this] { Command([this] { GRDetail_DblClick(); }); });
  c_.GRDetail->MouseUp.Connect(
      [this](int button, int, float x, float y) { Command([this, button, x, y] { GRDetail_MouseUp(button, x, y); }); });
}

void ListScreen::Command(const std::function<void()>& handler) {
  if (busy_ > 0 || !loaded()) return;  // a running operation finishes first; the command is dropped
  BusyScope busy(*this);
  IgnoreErrors(handler);
}

// --- host protocol ---

bool ListScreen::MakeForm() {
  HandlerScope scope;  // a close that arrives in a yield frees nothing still running here
  BusyScope busy(*this);
  bool made = false;
  IgnoreErrors([&] {
    if (!CreateDataObject()) return;
    LoadGridLayout();
    if (!LoadCombos()) return;
    ClearForm();
    if (FillsOnMake()) {
      LoadDocuments();
      if (!StillHere()) return;
    }
    DockInto(reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwndContainer_)));
    SizeToHost();
    SetMousePointer(pointer::Default);
    Show();
    made = true;
  });
  return made;
}

bool ListScreen::KillForm() {
  data_.reset();
  IgnoreErrors([this] { Unload(); });
  return true;
}

void ListScreen::Form_Unload() {
  data_.reset();
  current_.reset();
}

bool ListScreen::CreateDataObject() {
  data_ = DataAccess::Create();
  OnCreateDataObject();
  return data_.has_value();
}

bool ListScreen::LoadGridLayout() {
  return IgnoreErrors([this] {
    grid::GridControl& grid = *c_.GRDetail;
    current_ = Data().GetData(Shared().gApplicationName,
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
    const DataAccess data = Data();
    const auto yield = [this] {
      DoEvents();
      return StillHere();
    };
    if (!LoadCombosFromTags(*this, data, current_, yield)) Raise(err::InvalidProcedureCall);
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

void ListScreen::SizeToHost() {
  const HWND host = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwndContainer_));
  if (!hwnd() || !host || GetParent(hwnd()) != host) return;
  RECT client{};
  if (!GetClientRect(host, &client)) return;
  Move(0, 0, PixelsToTwips(client.right), PixelsToTwips(client.bottom));
}

void ListScreen::Form_Resize() {
  if (!loaded() || layingOut_) return;
  layingOut_ = true;
  const bool wasVisible = visible();
  IgnoreErrors([this] {
    Hide();
    SizeToHost();
  });
  const double W = scaleWidth(), H = scaleHeight();
  hosted::Frame& list = *c_.VkContainer;
  hosted::Frame& preview = *c_.VkImageMain;
  grid::GridControl& grid = *c_.GRDetail;
  RunEachStep({
      [&] { c_.TBarMain->setWidth(W - 300); },
      [&] { c_.TBarMain->setTop(45); },
      [&] { c_.TBarMain->setLeft(50); },
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
  // Each data column takes its share of the list's width again.
  for (int position = 1; position < grid.Columns().Count(); ++position) {
    IgnoreErrors([&] {
      grid::GridColumn& column = grid.Columns().Item(position);
      column.Width = static_cast<float>(grid.width() * CDbl(Variant(column.Tag.get())) / 100.0);
    });
  }
  if (wasVisible) IgnoreErrors([this] { Show(); });
  layingOut_ = false;
}

// --- the document query ---

bool ListScreen::LoadDocuments() {
  BusyScope busy(*this);
  SetMousePointer(pointer::Hourglass);
  const bool read = IgnoreErrors([this] {
    if (!data_) Raise(err::ObjectNotSet);
    const std::wstring statement = DocumentStatement();
    current_ = Data().GetData(Shared().gApplicationName, statement);
    FillGrid(*c_.GRDetail, current_ ? &*current_ : nullptr);
  });
  SetMousePointer(pointer::Default);
  if (!read) return false;
  DoEvents();
  return true;
}

}  // namespace vk::consult
