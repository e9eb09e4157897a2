#include "consult/comment_editor.h"

#include <cstdint>

#include "base/steps.h"
#include "runtime/colour_bitmap.h"
#include "runtime/do_events.h"
#include "runtime/twips.h"
#include "screen_kit/shared_functions.h"

namespace vk::consult {
namespace {

constexpr double kMargin = 100;          // the editor's left edge in the frame
constexpr double kEditorTop = 400;       // below the frame's caption bar
constexpr double kCornerButton = 300;    // cmdQuit and cmdMaximizar, square
constexpr double kButtonWidth = 1100, kButtonHeight = 375;
constexpr int kCornerPixels = 8;         // PCornerTop and PCornerRigth, square

// A corner's accent: a right triangle in the selection colour whose legs lie along the
// two edges of the corner it marks (top and left, or bottom and right).
HBITMAP CornerPicture(bool topLeft) {
  void* bits = nullptr;
  HBITMAP picture = CreateColourBitmap(nullptr, kCornerPixels, kCornerPixels, &bits);
  if (!picture) return nullptr;
  const COLORREF accent = GetSysColor(COLOR_HIGHLIGHT), face = GetSysColor(COLOR_BTNFACE);
  auto* pixel = static_cast<uint32_t*>(bits);
  for (int y = 0; y < kCornerPixels; ++y)
    for (int x = 0; x < kCornerPixels; ++x) {
      const bool inside = topLeft ? x + y < kCornerPixels : x + y >= kCornerPixels - 1;
      const COLORREF c = inside ? accent : face;
      *pixel++ = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
  return picture;
}

}  // namespace

FEditorRTF::FEditorRTF()
    : Form({.name = L"FEditorRTF", .caption = L"Editor", .scaleWidth = kWidth, .scaleHeight = kHeight,
            .borderless = true}) {
  const double frameWidth = kWidth - 60, frameHeight = kHeight - 50;
  container_ = &Add<hosted::Frame>(
      {.name = L"VkContainer", .left = 30, .top = 25, .width = frameWidth, .height = frameHeight}, L"Editor");
  editor_ = &Add<hosted::RichTextEditor>({.name = L"rtfTexto", .left = kMargin, .top = kEditorTop,
                                          .width = frameWidth - 200, .height = frameHeight - 1200,
                                          .container = container_});
  const double lineY = kEditorTop + frameHeight - 1200 + 150;
  line_ = &Add<hosted::Line>({.name = L"Line1", .container = container_},
                             hosted::LinePoints{kMargin, lineY, frameWidth - 100, lineY});
  auto button = [&](const wchar_t* name, const wchar_t* caption, double left, double top, double width,
                    double height) {
    return &Add<hosted::CommandButton>(
        {.name = name, .left = left, .top = top, .width = width, .height = height, .container = container_}, caption);
  };
  const double buttonTop = lineY + 100, editorWidth = frameWidth - 200;
  cancel_ = button(L"cmdCancel", L"&Cancel", editorWidth - 2 * kButtonWidth - 100, buttonTop, kButtonWidth,
                   kButtonHeight);
  ok_ = button(L"cmdOK", L"&Ok", editorWidth - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
  maximise_ = button(L"cmdMaximizar", L"[ ]", frameWidth - 2 * kCornerButton - 60, 0, kCornerButton, kCornerButton);
  quit_ = button(L"cmdQuit", L"X", frameWidth - kCornerButton - 50, 0, kCornerButton, kCornerButton);
  editor_->SetFontName(L"Verdana");
  const double corner = PixelsToTwips(kCornerPixels);
  cornerTop_ = &Add<hosted::PictureBox>(
      {.name = L"PCornerTop", .left = 0, .top = 0, .width = corner, .height = corner, .container = container_});
  cornerRight_ = &Add<hosted::PictureBox>({.name = L"PCornerRigth", .left = frameWidth - corner,
                                           .top = frameHeight - corner, .width = corner, .height = corner,
                                           .container = container_});
  cornerTop_->SetPicture(CornerPicture(true));
  cornerRight_->SetPicture(CornerPicture(false));
  setDefaultButton(ok_);  // Enter in the text is a new line; elsewhere it is Ok
  setCancelButton(cancel_);

  ok_->Click.Connect([this](int) { cmdOK_Click(); });
  cancel_->Click.Connect([this](int) { cmdCancel_Click(); });
  quit_->Click.Connect([this](int) { cmdCancel_Click(); });
  maximise_->Click.Connect([this](int) { cmdMaximizar_Click(); });
  MouseDown.Connect([this](int pressed, int, double, double) { Form_MouseDown(pressed); });
  container_->MouseDown.Connect([this](int pressed, int, double, double) { Form_MouseDown(pressed); });
  Resize.Connect([this] { Form_Resize(); });
  tmrFade_.Tick.Connect([this] { tmrFade_Timer(); });
}

void FEditorRTF::OnLoad() {
  fadeLevel_ = 10;
  tmrFade_.setInterval(100);
  tmrFade_.setEnabled(true);
  // The dialog's own data object; it holds no combo box, so there is nothing to load.
  data_ = DataAccess::Create();
}

long FEditorRTF::ShowForm(HWND owner) {
  if (!SetupEditor() || !InitEditor()) return result_;
  Show(ShowMode::Modal, owner);
  const long result = result_;
  DoEvents();
  return result;
}

bool FEditorRTF::SetupEditor() {
  return IgnoreErrors([this] {
    editor_->SetAutoVerbMenu(true);
    editor_->SetRulerBar(mRulerBarVisible);
    editor_->SetRightMargin(mRightMargin);
  });
}

bool FEditorRTF::InitEditor() {
  const bool done = IgnoreErrors([this] {
    if (!mTitle.empty()) container_->SetCaption(mTitle);
    editor_->SetTextRTF(mTexto);
    editor_->SetReadOnly(mReadOnly);
  });
  if (done) IgnoreErrors([this] { editor_->SetScrollBars(3); });
  return done;
}

void FEditorRTF::Form_Resize() {
  hosted::Frame& frame = *container_;
  hosted::RichTextEditor& editor = *editor_;
  RunEachStep({
      [&] {
        frame.setWidth(width() - 60);
        frame.setHeight(height() - 50);
      },
      [&] { quit_->setLeft(frame.width() - quit_->width() - 50); },
      [&] { maximise_->setLeft(frame.width() - quit_->width() - maximise_->width() - 60); },
      [&] {
        editor.setWidth(frame.width() - 200);
        editor.setHeight(frame.height() - 1200);
      },
      [&] {
        const double y = editor.top() + editor.height() + 150;
        line_->SetPoints({line_->X1(), y, editor.left() + editor.width(), y});
      },
      [&] {
        ok_->setTop(line_->Y1() + 100);
        cancel_->setTop(line_->Y1() + 100);
        ok_->setLeft(editor.width() - ok_->width());
        cancel_->setLeft(editor.width() - ok_->width() - cancel_->width() - 100);
      },
      [&] { cornerRight_->Move(frame.width() - cornerRight_->width(), frame.height() - cornerRight_->height(),
                               cornerRight_->width(), cornerRight_->height()); },
  });
  DoEvents();
}

void FEditorRTF::Form_MouseDown(int button) {
  if (button != 1 || !container_->visible()) return;
  DragWindowByBody(hwnd(), true);
  DoEvents();
}

void FEditorRTF::tmrFade_Timer() {
  if (FadeInStep(hwnd(), fadeLevel_, 10)) tmrFade_.setEnabled(false);
}

void FEditorRTF::cmdOK_Click() {
  result_ = kOK;
  mTexto = editor_->Text();
  mTextoRTF = editor_->TextRTF();
  Unload();
}

void FEditorRTF::cmdCancel_Click() {
  result_ = kCancel;
  mTexto.clear();
  Unload();
}

void FEditorRTF::cmdMaximizar_Click() {
  setWindowState(windowState() == WindowState::Maximized ? WindowState::Normal : WindowState::Maximized);
}

}  // namespace vk::consult
