#pragma once
// The system's own status bar (the common controls' one), for a screen that shows the
// platform's bar rather than VkStatusBar. It docks to the bottom of its form and takes
// the height the system gives the bar (when its settings give none); the screen reads
// only its position and size.
#include "hosted/form_control.h"

namespace vk::hosted {

class SystemStatusBar : public FormControl {
 public:
  SystemStatusBar(Form& form, ControlArgs args);

  // The height the system gives its status bar, in twips.
  static double NaturalHeight();

 protected:
  void OnCreated() override;

 private:
  static ControlArgs WithHeight(ControlArgs args);
};

}  // namespace vk::hosted
