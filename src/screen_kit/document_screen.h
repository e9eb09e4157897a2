#pragma once
// DocumentScreen: what the five document screens share as runtime forms that answer
// the host protocol. It keeps the mode and host window the host hands over, holds the
// screen's own data-access object (released when the screen unloads or closes itself)
// and its one busy flag, and runs MakeForm's frame: under the busy flag, the screen's
// own gated steps (FillScreen), then docking into the host window, the normal pointer,
// the host's size and the show. A host window that is no window fails MakeForm: the
// screen never appears as a loose window on the desktop.
//
// Layout: every Form_Resize sizes the screen to its host's client area, then lays it
// out; the screen's own resize lays it out at its size. A layout hides the screen
// while the controls move (PlaceControls) and shows it again only when it was shown,
// so a screen whose MakeForm failed stays hidden.
//
// Operations that yield (DoEvents, a modal box) hold a ScreenBusy::Scope on busy_ and
// check StillWanted() after every yield (or yield through ServeMessages()): a screen
// closed, asked to close or without its data object meanwhile stops quietly. The
// host's close waits for the running operation (UnloadScreen); the list screens close
// at once instead, so that a dialog of theirs goes with them.
#include <functional>
#include <optional>
#include <string>

#include "runtime/form.h"
#include "screen_kit/data_access.h"
#include "screen_kit/document_form.h"
#include "screen_kit/screen_busy.h"

namespace vk {

class DocumentScreen : public Form, public DocumentForm {
 public:
  // The design size: a host client area of 765 x 562 pixels.
  static constexpr double kDesignWidth = 11475, kDesignHeight = 8430;

  // DocumentForm
  void SetMode(const std::wstring& mode) final { mMode = mode; }
  void SetHWndContainer(long hwnd) final { mHWndContainer = hwnd; }
  long HWndContainer() const final { return mHWndContainer; }
  void Form_Resize() final;
  bool MakeForm() override;
  bool KillForm() final;
  void UnloadScreen() override { busy_.Close(); }
  bool IsScreenLoaded() const final { return loaded(); }

  bool busy() const { return busy_.busy(); }

 protected:
  DocumentScreen(std::wstring name, std::wstring caption);

  // The screen's own steps of MakeForm before it is docked (the data object first,
  // then building and filling); false when a step that gates the screen failed.
  virtual bool FillScreen() = 0;
  // Places the controls from the screen's size, each failing step skipped.
  virtual void PlaceControls() = 0;
  // Resets the controls by kind (ClearControlsByKind) with their events muted, plus
  // the screen's own resets; each step's errors are ignored, and so is the whole.
  virtual void ClearForm() = 0;
  // The platform's unload handler: releases what the screen holds.
  virtual void Form_Unload() { mData.reset(); }

  // Lays the screen out at its present size (nothing once it is unloaded).
  void Layout();
  bool CreateDataObject();
  const std::wstring& mode() const { return mMode; }
  // False once the screen is unloaded, asked to close or without its data object.
  bool StillWanted() const { return loaded() && !busy_.closeRequested() && mData.has_value(); }
  // Serves the waiting messages, then StillWanted().
  bool ServeMessages();
  // Runs a user's command under the busy flag, its errors ending it silently. One that
  // arrives while another runs (through its yield), or once the screen is gone, is
  // dropped.
  void Command(const std::function<void()>& command);
  // Runs a command that only changes how the current document is shown (the large
  // view's fit and zoom, the viewer program): live while another command yields, since
  // no operation reads those settings; dropped once the screen is gone.
  void ViewCommand(const std::function<void()>& command);

  std::optional<DataAccess> mData;
  ScreenBusy busy_{[this] { KillForm(); }};

 private:
  // Sizes the screen to its parent window's client area (nothing without a parent).
  void FitToHost();

  std::wstring mMode;
  long mHWndContainer = 0;
  bool fitting_ = false;  // sizing to the host: the resize it raises is laid out once
};

}  // namespace vk
