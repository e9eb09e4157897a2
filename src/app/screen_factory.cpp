#include "app/screen_factory.h"

#include "capture/abm_screen.h"
#include "capture/index_screen.h"
#include "consult/list_screen.h"
#include "consult/log_screen.h"

namespace vk::app {
namespace {

const FormCode kFormCodes[] = {
    {L"I01REV", L"FDocumentosIndex", L"REV"},      {L"I01CAT", L"FDocumentosIndex", L"CAT"},
    {L"I01VAL", L"FDocumentosABM", L"VAL"},        {L"I01MAN", L"FDocumentosABM", L"ADM"},
    {L"R01VIE", L"FDocumentosView", L"ADM"},       {L"R01MRK", L"FDocumentosLogGeneral", L"GEN"},
    {L"B01F01", L"FDocumentosSearchS", L"ADM"},    {L"B01F02", L"FDocumentosSearchS", L"ADM"},
};

}  // namespace

const FormCode* FindFormCode(std::wstring_view code) {
  for (const FormCode& entry : kFormCodes)
    if (code == entry.code) return &entry;
  return nullptr;
}

std::shared_ptr<DocumentForm> CreateDocumentScreen(std::wstring_view formName) {
  // The document screens join here as they are built.
  if (formName == L"FDocumentosABM") return Form::Load<capture::FDocumentosABM>();
  if (formName == L"FDocumentosIndex") return Form::Load<capture::FDocumentosIndex>();
  if (auto screen = consult::CreateListScreen(formName)) return screen;
  if (formName == L"FDocumentosLogGeneral") return Form::Load<consult::FDocumentosLogGeneral>();
  return nullptr;
}

}  // namespace vk::app

namespace vk {
template <>
app::ScreenFactory Seam<app::ScreenFactory>::Real() {
  return app::CreateDocumentScreen;
}
}  // namespace vk
