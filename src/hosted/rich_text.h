#pragma once
// The rich-text editor over the platform's RichEdit control. TextRTF takes a document
// in rich text, or a plain text which then shows as that text; it reads back as rich
// text. Text is the plain text, its line breaks CR LF. The text has no length limit
// beyond memory (the system control's default limit would cut long texts). The ruler bar,
// when switched on, is a strip above the text in the machine's unit with the right
// margin marked (rich_text_ruler.h); the right margin, in twips, is the width lines wrap
// at (0: the window's width). Two display options are accepted and kept, and mean
// nothing here.
// Not handled: the ruler follows no horizontal scrolling and sets no tabs or indents.
#include <string>

#include "hosted/form_control.h"

namespace vk::hosted {

class RichTextEditor : public FormControl {
 public:
  RichTextEditor(Form& form, ControlArgs args) : FormControl(form, std::move(args)) {}
  std::wstring TextRTF() const;
  // Rich text (starting with "{\rtf") or plain text; other text is taken as plain.
  void SetTextRTF(const std::wstring& rtf);
  std::wstring Text() const;
  void SetText(const std::wstring& text);

  // The font of plain text shown from now on (a document in rich text brings its own).
  void SetFontName(const std::wstring& name);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);
  bool RulerBar() const { return rulerBar_; }
  void SetRulerBar(bool shown);
  long RightMargin() const { return rightMargin_; }
  // 0 or more; below 0 raises 380.
  void SetRightMargin(long twips);

  bool AutoVerbMenu() const { return autoVerbMenu_; }
  void SetAutoVerbMenu(bool on) { autoVerbMenu_ = on; }
  int ScrollBars() const { return scrollBars_; }
  // 0 none, 1 horizontal, 2 vertical, 3 both; anything else raises 380.
  void SetScrollBars(int bars);

 protected:
  void OnCreated() override;
  void OnResized(int width, int height) override;
  // The outer window shows only the ruler strip; the text control covers the rest.
  bool PaintsItself() const override { return true; }
  void Paint(HDC dc) override;

 private:
  bool readOnly_ = false;
  bool rulerBar_ = false;
  long rightMargin_ = 0;
  bool autoVerbMenu_ = false;
  int scrollBars_ = 3;
};

}  // namespace vk::hosted
