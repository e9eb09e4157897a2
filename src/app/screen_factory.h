#pragma once
// The screen factory: which screen each form code opens, and how CObject's Build makes
// it. The one place that names every document screen.
#include <functional>
#include <memory>
#include <string_view>

#include "base/seam.h"
#include "screen_kit/document_form.h"

namespace vk::app {

// Creates a new, loaded screen by its form name ("FDocumentosIndex", ...); nullptr
// for a name no screen answers to, which Build reports to the host as error 429.
using ScreenFactory = std::function<std::shared_ptr<DocumentForm>(std::wstring_view formName)>;

}  // namespace vk::app

namespace vk {
// The factory Build uses: the product's screens by default; tests put recorders here.
template <>
app::ScreenFactory Seam<app::ScreenFactory>::Real();
}  // namespace vk

namespace vk::app {

using ScopedScreenFactory = Seam<ScreenFactory>::Scope;

// The product's own screens.
std::shared_ptr<DocumentForm> CreateDocumentScreen(std::wstring_view formName);

// The screen a form code opens and the mode it gets; nullptr for any other code
// (the match is exact and case-sensitive).
struct FormCode {
  const wchar_t* code;
  const wchar_t* formName;
  const wchar_t* mode;
};
const FormCode* FindFormCode(std::wstring_view code);

}  // namespace vk::app
