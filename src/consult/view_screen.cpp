#include "consult/view_screen.h"

#include "base/steps.h"
#include "consult/list_query.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_functions.h"
#include "screen_kit/shared_state.h"

namespace vk::consult {
namespace {

constexpr double kListTop = 520;

}  // namespace

FDocumentosView::FDocumentosView() : ListScreen(L"FDocumentosView") {
  BuildMainToolbar({{L"BTN_KIL", L"Salir"},
                    {L"BTN_VAL", L"Marcar Como Leído"},
                    {L"BTN_FIN", L"Buscar Documentos"},
                    {L"BTN_REP", L""}});
  BuildListAndPreview(kListTop, 7435, 7180);
}

ListStatement FDocumentosView::DocumentStatement() {
  const SharedState& shared = Shared();
  return {UnreadStatement(Reader{GetUserNameNT(), shared.gIsAdmin, shared.gCategorias}), false};
}

void FDocumentosView::OnMainKey(const std::wstring& key) {
  if (key != L"BTN_VAL") return;
  if (ShowMessage(L"Desea Marcar como Leído el Documento?", msg::QuestionYesNo, L"Ostrela") != msg::Yes) return;
  if (!StillWanted()) return;  // closed while the question was open
  MarkDocumentRead();  // tells why when it cannot
}

void FDocumentosView::LayoutListWidth(double) {
  RunEachStep({
      [&] { c_.VkContainer->setLeft(200); },
      [&] { c_.VkContainer->setWidth(c_.TBarMain->width() - 300); },
  });
}

}  // namespace vk::consult
