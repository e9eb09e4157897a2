#include "screen_kit/fvk_msg_box.h"

#include <algorithm>

#include "runtime/gdi_object.h"
#include "runtime/select_guard.h"
#include "runtime/twips.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"

namespace vk {
namespace {

struct ButtonDesign {
  const wchar_t* name;
  const wchar_t* caption;
  long result;
};

// In the order of buttons_.
const ButtonDesign kButtons[] = {
    {L"cmdAbort", L"&Abortar", msg::Abort}, {L"cmdCancel", L"&Cancel", msg::Cancel},
    {L"cmdQuit", L"X", msg::Quit},          {L"cmdIgnore", L"&Ignorar", msg::Ignore},
    {L"cmdNo", L"No", msg::No},             {L"cmdOK", L"&Ok", msg::OK},
    {L"cmdRetry", L"&Reiterar", msg::Retry}, {L"cmdYes", L"Si", msg::Yes},
    {L"cmdPrint", L"&Imprimir", msg::Print},
};
enum ButtonIndex { kAbort, kCancel, kQuit, kIgnore, kNo, kOK, kRetry, kYes, kPrint };

constexpr double kButtonTop = 1800, kButtonWidth = 915, kButtonHeight = 330;
constexpr double kLeft1 = 4725, kLeft2 = 5670, kLeft3 = 6615;

// The buttons of each set (value AND 7), left to right, and their left edges.
struct ButtonSet {
  int count;
  ButtonIndex buttons[3];
  double lefts[3];
};
const ButtonSet kSets[8] = {
    {1, {kOK}, {kLeft3}},
    {2, {kOK, kCancel}, {kLeft2, kLeft3}},
    {3, {kAbort, kRetry, kIgnore}, {kLeft1, kLeft2, kLeft3}},
    {3, {kYes, kNo, kCancel}, {kLeft1, kLeft2, kLeft3}},
    {2, {kYes, kNo}, {kLeft2, kLeft3}},
    {2, {kRetry, kCancel}, {kLeft2, kLeft3}},
    {3, {kYes, kPrint, kNo}, {kLeft1, kLeft2, kLeft3}},
    {1, {kOK}, {kLeft3}},
};

// The box's one icon picture, whatever the icon kind asked for.
HBITMAP IconPicture() {
  const int size = 32;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  {
    MemoryDc memory(CreateCompatibleDC(screen));
    SelectGuard drawn(memory.get(), bitmap);
    RECT all{0, 0, size, size};
    FillRect(memory.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    DrawIconEx(memory.get(), 0, 0, LoadIconW(nullptr, IDI_INFORMATION), size, size, 0, nullptr, DI_NORMAL);
  }
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

FVkMsgBox::FVkMsgBox(long vkButtons)
    : Form({.name = L"FVkMsgBox", .caption = L"", .scaleWidth = kWidth, .scaleHeight = kHeight,
            .borderless = true}),
      vkButtons_(vkButtons) {
  AmbientProperties ambient;
  ambient.fontName = L"Verdana";
  setAmbient(ambient);  // before the controls: they take the form's font
  frame_ = &Add<hosted::Frame>({.name = L"VkContainer", .left = 0, .top = 0, .width = kWidth, .height = kHeight});
  icon_ = &Add<hosted::PictureBox>(
      {.name = L"IType", .left = 240, .top = 540, .width = 480, .height = 480, .visible = false, .container = frame_});
  message_ = &Add<hosted::Label>(
      {.name = L"LMessage", .left = 900, .top = 480, .width = 6600, .height = 1200, .container = frame_},
      L"Message");
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const bool quit = i == kQuit;
    ControlArgs args{.name = kButtons[i].name,
                     .left = quit ? 7380 : kLeft3,
                     .top = quit ? 45 : kButtonTop,
                     .width = quit ? 300 : kButtonWidth,
                     .height = quit ? 270 : kButtonHeight,
                     .visible = quit,
                     .container = frame_};
    buttons_[i] = &Add<hosted::CommandButton>(std::move(args), kButtons[i].caption);
    const long result = kButtons[i].result;
    buttons_[i]->Click.Connect([this, result](int) {
      result_ = result;
      Unload();
    });
  }
  frame_->MouseDown.Connect([this](int button, int, double, double) { StartDrag(button); });
  MouseDown.Connect([this](int button, int, double, double) { StartDrag(button); });
  tmrFade_.Tick.Connect([this] { OnFadeTick(); });
}

void FVkMsgBox::OnLoad() {
  LayOutButtons();
  icon_->SetPicture(IconPicture());
  icon_->setVisible(true);
  opacity_ = 10;
  tmrFade_.setInterval(100);
  tmrFade_.setEnabled(true);
}

void FVkMsgBox::LayOutButtons() {
  const ButtonSet& set = kSets[vkButtons_ & 7];
  // Tab goes left to right, then to the close box; Enter is the first button, Esc
  // the Cancel button or else the close box.
  setCancelButton(buttons_[kQuit]);
  for (int i = 0; i < set.count; ++i) {
    hosted::CommandButton& button = *buttons_[set.buttons[i]];
    button.setLeft(set.lefts[i]);
    button.setVisible(true);
    button.setTabIndex(i);
    if (set.buttons[i] == kCancel) setCancelButton(&button);
  }
  setDefaultButton(buttons_[set.buttons[0]]);
}

void FVkMsgBox::OnFadeTick() {
  if (FadeInStep(hwnd(), opacity_, 10)) tmrFade_.setEnabled(false);
}

void FVkMsgBox::StartDrag(int button) {
  if (button != 1 || !frame_->visible()) return;
  DragWindowByBody(hwnd(), false);
}

long FVkMsgBox::ShowForm() {
  Show(ShowMode::Modal);
  return result_;
}

long ShowVkMsgBox(const std::wstring& text, long buttons, const std::wstring& title) {
  auto box = Form::Load<FVkMsgBox>(buttons);
  box->Move((PixelsToTwips(GetSystemMetrics(SM_CXSCREEN)) - FVkMsgBox::kWidth) / 2,
            (PixelsToTwips(GetSystemMetrics(SM_CYSCREEN)) - FVkMsgBox::kHeight) / 2, FVkMsgBox::kWidth,
            FVkMsgBox::kHeight);
  SetWindowLayered(box->hwnd());
  box->VkContainer().SetCaption(title);
  box->LMessage().SetCaption(text);
  const long result = box->ShowForm();
  box->Unload();
  return result;
}

}  // namespace vk
