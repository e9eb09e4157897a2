#include "hosted/tab_progress.h"

#include <commctrl.h>

#include "runtime/vb_error.h"

namespace vk::hosted {

void TabControl::OnCreated() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  CreateInner(WC_TABCONTROLW, WS_TABSTOP | TCS_TABS);
  std::vector<std::wstring> captions = std::move(captions_);
  captions_.clear();
  for (const auto& caption : captions) AddTab(caption);
}

void TabControl::AddTab(const std::wstring& caption) {
  captions_.push_back(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  SendMessageW(inner(), TCM_INSERTITEMW, static_cast<WPARAM>(TabCount()), reinterpret_cast<LPARAM>(&item));
}

int TabControl::TabCount() const { return static_cast<int>(SendMessageW(inner(), TCM_GETITEMCOUNT, 0, 0)); }
int TabControl::Tab() const { return static_cast<int>(SendMessageW(inner(), TCM_GETCURSEL, 0, 0)); }

void TabControl::SetTab(int tab) {
  if (tab < 0 || tab >= TabCount()) Raise(err::InvalidPropertyValue, L"TabControl.Tab");
  if (tab == Tab()) return;
  SendMessageW(inner(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  Click.Raise();
}

RECT TabControl::TabRect(int tab) const {
  RECT rect{};
  SendMessageW(inner(), TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

LRESULT TabControl::OnNotify(NMHDR* header) {
  if (header->code == static_cast<UINT>(TCN_SELCHANGE)) Click.Raise();
  return 0;
}

void ProgressBar::OnCreated() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  CreateInner(PROGRESS_CLASSW, PBS_SMOOTH);
  ApplyRange();
}

void ProgressBar::ApplyRange() {
  // The system bar needs a range of at least one step; a maximum of 0 shows an empty bar.
  SendMessageW(inner(), PBM_SETRANGE32, 0, max_ > 0 ? max_ : 1);
  SendMessageW(inner(), PBM_SETPOS, static_cast<WPARAM>(value_), 0);
}

void ProgressBar::SetMax(long max) {
  if (max < 0) Raise(err::InvalidPropertyValue, L"ProgressBar.Max");
  max_ = max;
  if (value_ > max_) value_ = max_;
  ApplyRange();
}

void ProgressBar::SetValue(long value) {
  if (value < 0 || value > max_) Raise(err::InvalidPropertyValue, L"ProgressBar.Value");
  value_ = value;
  SendMessageW(inner(), PBM_SETPOS, static_cast<WPARAM>(value_), 0);
}

}  // namespace vk::hosted
