#include "consult/list_screen.h"
#include "consult/search_screen.h"
#include "consult/view_screen.h"

namespace vk::consult {

std::shared_ptr<DocumentForm> CreateListScreen(std::wstring_view formName) {
  if (formName == L"FDocumentosView") return Form::Load<FDocumentosView>();
  if (formName == L"FDocumentosSearchS") return Form::Load<FDocumentosSearchS>();
  return nullptr;
}

}  // namespace vk::consult
