#pragma once
// The host protocol of the document screens: CObject hands a screen its container
// window and mode, asks it to build itself, lays it out again and unloads it.
// A screen is a runtime Form that also implements this interface (the product's
// screens through DocumentScreen, screen_kit/document_screen.h); while it lives it keeps
// the DLL loaded.
#include <string>

#include "com/module.h"

namespace vk {

class DocumentForm {
 public:
  virtual ~DocumentForm() = default;

  virtual void SetMode(const std::wstring& mode) = 0;
  virtual void SetHWndContainer(long hwnd) = 0;
  virtual long HWndContainer() const = 0;
  // Lays every control out again from the screen's size; ignores every error.
  virtual void Form_Resize() = 0;
  // Builds and fills the screen, docks it into the container and shows it; false
  // (with nothing shown and the busy pointer left on) when a gating step failed.
  virtual bool MakeForm() = 0;
  // The screen's own close command: releases its data object and unloads it.
  virtual bool KillForm() = 0;
  // The platform's unloading of the screen (its unload handler runs).
  virtual void UnloadScreen() = 0;
  virtual bool IsScreenLoaded() const = 0;

 private:
  com::ModuleLock moduleLock_;
};

}  // namespace vk
