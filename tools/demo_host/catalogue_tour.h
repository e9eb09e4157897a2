#pragma once
// The demo's first steps on the cataloguing screen, taken from outside through the
// screen's windows (found by their "VkName"), as a clerk starts the day: the find
// command, OK on its message, the first thumbnail shown in the large view and a
// document type chosen, so its field editors are placed. One step a tick; a step whose
// window is not there yet waits for the next tick. Other screens are left alone.
#include <windows.h>

class CatalogueTour {
 public:
  explicit CatalogueTour(HWND host) : host_(host) {}
  // Takes the next step; false once the tour is over (done, or no cataloguing screen).
  bool Step();

 private:
  HWND host_;
  int step_ = 0;
  int waited_ = 0;
};
