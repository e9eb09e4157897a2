#include "controls/subclass/window_subclasser.h"

#include <commctrl.h>

#include <algorithm>

#include "base/edge_report.h"
#include "base/vb_error.h"

namespace vk::controls {

struct WindowSubclasser::Record {
  HWND hwnd = nullptr;
  WindowSubclasser* subclasser = nullptr;  // whose record array holds this one
  unsigned long long order = 0;  // later hooks have higher numbers
  std::vector<UINT> before, after;  // 0 marks a hole
  bool allBefore = false, allAfter = false;
  int routing = 0;       // messages of this hook being routed right now
  bool stopped = false;  // unhooked while routing: delete when the last one returns

  std::vector<UINT>& Table(When w) { return w == When::Before ? before : after; }
  bool& All(When w) { return w == When::Before ? allBefore : allAfter; }
  bool Hears(When w, UINT msg) {
    if (stopped) return false;
    if (All(w)) return true;
    const auto& t = Table(w);
    return std::find(t.begin(), t.end(), msg) != t.end();
  }
  void Silence() {
    before.clear();
    after.clear();
    allBefore = allAfter = false;
  }
};

namespace {

unsigned long long g_nextOrder = 1;

}  // namespace

// An owner's failure must not cross the window procedure of a window it does not own.
void WindowSubclasser::CallOwner(Record& rec, bool before, bool& handled, LRESULT& result,
                                 HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  GuardEdge(L"subclass callback",
            [&] { rec.subclasser->owner_.zSubclass_Proc(before, handled, result, hwnd, msg, wParam, lParam); });
}

LRESULT CALLBACK WindowSubclasser::Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData) noexcept {
  auto* rec = reinterpret_cast<Record*>(refData);
  ++rec->routing;
  LRESULT result = 0;
  bool handled = false;
  if (rec->Hears(When::Before, msg))
    CallOwner(*rec, true, handled, result, hwnd, msg, wParam, lParam);
  if (!handled) {
    result = DefSubclassProc(hwnd, msg, wParam, lParam);
    if (rec->Hears(When::After, msg))
      CallOwner(*rec, false, handled, result, hwnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY && !rec->stopped) {
    // The window's last message. comctl32 (Wine's at least) keeps a window's subclass
    // block until its last subclass is removed, even once the window is gone: remove
    // ours, and free the record's slot, so a destroyed window leaves nothing behind.
    RemoveWindowSubclass(hwnd, Route, id);
    auto& records = rec->subclasser->records_;
    std::replace(records.begin(), records.end(), rec, static_cast<Record*>(nullptr));
    rec->Silence();
    rec->stopped = true;
  }
  if (--rec->routing == 0 && rec->stopped) delete rec;
  return result;
}

WindowSubclasser::~WindowSubclasser() { StopAll(); }

int WindowSubclasser::Start(HWND hwnd) {
  int index = -1;
  for (int i = static_cast<int>(records_.size()) - 1; i >= 0 && index < 0; --i)
    if (!records_[i]) index = i;
  if (index < 0) {
    records_.push_back(nullptr);
    index = static_cast<int>(records_.size()) - 1;
  }
  auto* rec = new Record;
  rec->hwnd = hwnd;
  rec->subclasser = this;
  rec->order = g_nextOrder++;
  records_[index] = rec;
  // The record's address is the hook's id: unique while the hook lives.
  SetWindowSubclass(hwnd, Route, reinterpret_cast<UINT_PTR>(rec),
                    reinterpret_cast<DWORD_PTR>(rec));
  return index;
}

int WindowSubclasser::Find(HWND hwnd) const {
  int found = -1;
  for (int i = 0; i < static_cast<int>(records_.size()); ++i) {
    const Record* r = records_[i];
    if (r && r->hwnd == hwnd && (found < 0 || r->order > records_[found]->order))
      found = i;
  }
  return found;
}

int WindowSubclasser::FindOrRaise(HWND hwnd) const {
  int index = Find(hwnd);
  if (index < 0) Raise(err::SubscriptOutOfRange);
  return index;
}

void WindowSubclasser::AddMsg(HWND hwnd, UINT uMsg, When when) {
  Record& rec = *records_[FindOrRaise(hwnd)];
  for (When side : {When::Before, When::After}) {
    if ((static_cast<int>(when) & static_cast<int>(side)) == 0) continue;
    if (uMsg == kAllMessages) {
      rec.All(side) = true;
      continue;
    }
    // A table that hears every message still records the entry; it matters only
    // once "every message" is cleared, which empties the table anyway.
    auto& table = rec.Table(side);
    if (std::find(table.begin(), table.end(), uMsg) != table.end()) continue;
    auto hole = std::find(table.begin(), table.end(), 0u);
    if (hole != table.end())
      *hole = uMsg;
    else
      table.push_back(uMsg);
  }
}

void WindowSubclasser::DelMsg(HWND hwnd, UINT uMsg, When when) {
  Record& rec = *records_[FindOrRaise(hwnd)];
  for (When side : {When::Before, When::After}) {
    if ((static_cast<int>(when) & static_cast<int>(side)) == 0) continue;
    auto& table = rec.Table(side);
    if (uMsg == kAllMessages) {
      rec.All(side) = false;
      table.clear();
      continue;
    }
    auto it = std::find(table.begin(), table.end(), uMsg);
    if (it != table.end()) *it = 0;  // a hole, reused by the next AddMsg
  }
}

int WindowSubclasser::HookCount() const {
  return static_cast<int>(std::count_if(records_.begin(), records_.end(),
                                        [](const Record* r) { return r != nullptr; }));
}

int WindowSubclasser::Count(HWND hwnd, When when) const {
  Record& rec = *records_[FindOrRaise(hwnd)];
  return rec.All(when) ? -1 : static_cast<int>(rec.Table(when).size());
}

void WindowSubclasser::Stop(HWND hwnd) { StopAt(FindOrRaise(hwnd)); }

void WindowSubclasser::StopAll() noexcept {
  for (int i = static_cast<int>(records_.size()) - 1; i >= 0; --i)
    if (records_[i]) StopAt(i);
}

void WindowSubclasser::StopAt(int index) noexcept {
  Record* rec = records_[index];
  records_[index] = nullptr;
  rec->Silence();
  RemoveWindowSubclass(rec->hwnd, Route, reinterpret_cast<UINT_PTR>(rec));
  if (rec->routing > 0)
    rec->stopped = true;  // Route deletes it once the message in progress returns
  else
    delete rec;
}

}  // namespace vk::controls
