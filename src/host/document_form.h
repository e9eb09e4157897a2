#pragma once
// The host protocol of the document screens: CObject hands a screen its container
// window and mode, asks it to build itself, lays it out again and unloads it.
// A screen is a runtime Form that also implements this interface (the product's
// screens through DocumentScreen, host/document_screen.h); while it lives it keeps
// the DLL loaded.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

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

// Creates a new, loaded screen by its form name ("FDocumentosIndex", ...); nullptr
// for a name no screen answers to, which Build reports to the host as error 429.
using ScreenFactory = std::function<std::shared_ptr<DocumentForm>(std::wstring_view formName)>;

// The factory Build uses: the product's screens by default; tests put recorders here.
ScreenFactory& CurrentScreenFactory();

// The product's own screens.
std::shared_ptr<DocumentForm> CreateDocumentScreen(std::wstring_view formName);

class ScopedScreenFactory {
 public:
  explicit ScopedScreenFactory(ScreenFactory factory) : saved_(CurrentScreenFactory()) {
    CurrentScreenFactory() = std::move(factory);
  }
  ~ScopedScreenFactory() { CurrentScreenFactory() = std::move(saved_); }
  ScopedScreenFactory(const ScopedScreenFactory&) = delete;
  ScopedScreenFactory& operator=(const ScopedScreenFactory&) = delete;

 private:
  ScreenFactory saved_;
};

// The screen a form code opens and the mode it gets; nullptr for any other code
// (the match is exact and case-sensitive).
struct FormCode {
  const wchar_t* code;
  const wchar_t* formName;
  const wchar_t* mode;
};
const FormCode* FindFormCode(std::wstring_view code);

}  // namespace vk
