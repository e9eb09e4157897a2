#pragma once
// FVkMsgBox: the component's own modal message box. Borderless, titled in its frame,
// with a text, an icon and up to three of its nine buttons; it fades in over about
// two and a half seconds, beeps once fully shown, and can be dragged by its frame.
#include <array>
#include <string>

#include "hosted/frame.h"
#include "hosted/picture_box.h"
#include "hosted/simple_controls.h"
#include "runtime/form.h"
#include "runtime/timer.h"

namespace vk {

class FVkMsgBox : public Form {
 public:
  // VkButtons: bits 0-2 the button set, bits 4-6 the icon kind.
  explicit FVkMsgBox(long vkButtons);

  // Shows the box modally and returns the result code once it is closed.
  long ShowForm();

  hosted::Frame& VkContainer() { return *frame_; }
  hosted::Label& LMessage() { return *message_; }
  long opacity() const { return opacity_; }

  static constexpr double kWidth = 7710;
  static constexpr double kHeight = 2370;

 protected:
  friend class Form;  // Form::Load runs the load step
  void OnLoad() override;

 private:
  void LayOutButtons();
  void OnFadeTick();
  void StartDrag(int button);

  long vkButtons_;
  long result_ = 0;
  long opacity_ = 10;
  hosted::Frame* frame_ = nullptr;
  hosted::Label* message_ = nullptr;
  hosted::PictureBox* icon_ = nullptr;
  std::array<hosted::CommandButton*, 9> buttons_{};
  Timer tmrFade_;
};

// Shows the component's own modal message box and returns the box's result code.
long ShowVkMsgBox(const std::wstring& text, long buttons, const std::wstring& title);

}  // namespace vk
