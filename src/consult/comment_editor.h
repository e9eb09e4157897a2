#pragma once
// FEditorRTF: the modal comment editor in which a user writes a comment on a document
// or reads a document's comment history. A borderless window holding one rich-text
// editor; it fades in, is dragged by its body and can be maximised.
//
//   auto editor = vk::Form::Load<vk::consult::FEditorRTF>();
//   vk::SetWindowLayered(editor->hwnd());     // the fade-in shows a layered window
//   editor->mTitle = L"Comentarios del Documento";
//   editor->mTexto = history;
//   editor->mReadOnly = true;
//   long result = editor->ShowForm(screenHwnd);  // modal; FEditorRTF::kOK when accepted
//   std::wstring text = result == vk::consult::FEditorRTF::kOK ? editor->mTexto : L"";
//   editor->Unload();
//
// The texts come back with CR LF line breaks and are never cut, however long. Given the
// screen's window, the editor is modal over the host and closes when the screen does;
// ShowForm then gives kClosed and the caller must look whether its screen is still
// loaded before touching anything of it.
// The pictures PCornerTop and PCornerRigth mark the frame's top-left and bottom-right
// corners; nothing reads them.
#include <optional>
#include <string>

#include "hosted/frame.h"
#include "hosted/line.h"
#include "hosted/picture_box.h"
#include "hosted/rich_text.h"
#include "hosted/simple_controls.h"
#include "runtime/form.h"
#include "runtime/timer.h"
#include "screen_kit/data_access.h"

namespace vk::consult {

class FEditorRTF : public Form {
 public:
  FEditorRTF();

  // ShowForm's results.
  static constexpr long kClosed = 0;  // closed another way, or the set-up failed
  static constexpr long kCancel = 1;  // Cancel or the quit button
  static constexpr long kOK = 4;

  // What the caller sets and reads.
  std::wstring mTexto;      // in: the text shown; out: the plain text after OK, "" after Cancel
  std::wstring mTextoRTF;   // out, after OK: the content as rich text
  std::wstring mTitle;      // the frame's caption; empty keeps "Editor"
  bool mReadOnly = false;
  bool mRulerBarVisible = false;
  long mRightMargin = 0;

  // Sets the editor up from the variables and shows it modally over `owner` (the
  // opening screen's window); returns one of the results above.
  long ShowForm(HWND owner = nullptr);

  hosted::Frame& VkContainer() { return *container_; }
  hosted::RichTextEditor& rtfTexto() { return *editor_; }
  hosted::CommandButton& cmdOK() { return *ok_; }
  hosted::CommandButton& cmdCancel() { return *cancel_; }
  hosted::CommandButton& cmdQuit() { return *quit_; }
  hosted::CommandButton& cmdMaximizar() { return *maximise_; }
  hosted::Line& Separator() { return *line_; }
  long fadeLevel() const { return fadeLevel_; }
  bool hasDataObject() const { return data_.has_value(); }

  static constexpr double kWidth = 9000, kHeight = 6000;

 protected:
  friend class Form;  // Load runs OnLoad
  void OnLoad() override;

 private:
  bool SetupEditor();
  bool InitEditor();
  void Form_Resize();
  void Form_MouseDown(int button);
  void tmrFade_Timer();
  void cmdOK_Click();
  void cmdCancel_Click();
  void cmdMaximizar_Click();

  hosted::Frame* container_ = nullptr;
  hosted::RichTextEditor* editor_ = nullptr;
  hosted::Line* line_ = nullptr;
  hosted::CommandButton* ok_ = nullptr;
  hosted::CommandButton* cancel_ = nullptr;
  hosted::CommandButton* quit_ = nullptr;
  hosted::CommandButton* maximise_ = nullptr;
  hosted::PictureBox* cornerTop_ = nullptr;
  hosted::PictureBox* cornerRight_ = nullptr;
  Timer tmrFade_{*this, 100, false};
  long result_ = kClosed;
  long fadeLevel_ = 10;
  std::optional<DataAccess> data_;
};

}  // namespace vk::consult
