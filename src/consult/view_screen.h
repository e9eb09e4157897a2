#pragma once
// FDocumentosView ("R01VIE"): the documents the user may see and has not read yet,
// listed while the screen is built, with the mark-as-read command "BTN_VAL". It has no
// filters; its list takes the whole width and its preview frame keeps its design
// place, hidden (the viewer program and the search screen show documents).
#include "consult/list_screen.h"

namespace vk::consult {

class FDocumentosView : public ListScreen {
 public:
  FDocumentosView();

 protected:
  bool FillsOnMake() const override { return true; }
  ListStatement DocumentStatement() override;
  void OnMainKey(const std::wstring& key) override;
  void LayoutListWidth(double width) override;
  bool ImageMenuSeparator() const override { return false; }
};

}  // namespace vk::consult
