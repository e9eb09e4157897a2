#include "list_fixture.h"

#include "app/cobject.h"
#include "consult/list_query.h"
#include "hosted/window_driver.h"
#include "runtime/timer.h"
#include "screen_kit/data_access.h"
#include "support/dispatch_tap.h"

namespace vk::test {
namespace {

// The design's host: a client area of 765 x 562 pixels.
HWND MakeHost() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VkListsTestHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  RECT r{0, 0, 765, 562};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND host = CreateWindowW(L"VkListsTestHost", L"Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(host, SW_SHOWNORMAL);
  return host;
}

}  // namespace

com::ComPtr<IDispatch> ThreeMemberDataObject() {
  return DispatchTap::OnlyMembers(Seam<HostSeams>::Real().createDataAccess(),
                                  {L"GetData", L"Execute", L"ErrDescription"});
}

void AnswerNextMenu(std::vector<UINT> keys) {
  auto timer = std::make_shared<Timer>(20);
  timer->Tick.Connect([timer, keys] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    timer->setEnabled(false);
    for (UINT key : keys) PostMessageW(menu, WM_KEYDOWN, key, 0);
  });
  // The timer lives until it has answered one menu.
  static std::vector<std::shared_ptr<Timer>> pending;
  pending.push_back(timer);
}

void ListScreenTest::SetUp() {
  HostSeams seams = Seam<HostSeams>::Real();
  seams.createDataAccess = ThreeMemberDataObject;
  seams_ = std::make_unique<ScopedHostSeams>(seams);
  box_ = std::make_unique<ScopedMessageBox>([this](const std::wstring& text, long style, const std::wstring& title) {
    messages.push_back({text, style, title});
    if (answers.empty()) return msg::OK;
    auto answer = std::move(answers.front());
    answers.pop_front();
    return answer();
  });
  host_ = MakeHost();
}

void ListScreenTest::TearDown() {
  object_.reset();  // the release closes the screen
  Pump();
  DestroyWindow(host_);
  Pump();
}

consult::ListScreen& ListScreenTest::Open(const wchar_t* formCode, const std::wstring& user) {
  Seam<HostSeams>::Current().logonName = [user] { return user; };
  object_ = com::ComPtr<_CObject>::Attach(vk::app::CObject::Create());
  object_->put_ApplicationName(com::Bstr(kAppKey).get());
  object_->put_ObjectId(com::Bstr(formCode).get());
  object_->put_ObjectName(com::Bstr(formCode).get());
  object_->put_hwnd(static_cast<long>(reinterpret_cast<LONG_PTR>(host_)));
  VARIANT_BOOL result = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(object_->Build(&result));
  Pump();
  auto* held = static_cast<vk::app::CObject*>(object_.get())->heldScreen().get();
  screen_ = dynamic_cast<consult::ListScreen*>(held);
  if (!screen_) throw std::runtime_error("no list screen opened");
  return *screen_;
}

void ListScreenTest::Kill() {
  VARIANT_BOOL result;
  object_->Kill(&result);
}

void ListScreenTest::Sql(const wchar_t* key, const std::wstring& sql) {
  std::wstring error;
  ASSERT_TRUE(databases_.Sql(key, sql, &error)) << error;
}

std::wstring ListScreenTest::Scalar(const std::wstring& sql) {
  auto data = DataAccess::Create();
  auto rs = data->GetData(kAppKey, sql);
  if (!rs || rs->RecordCount() == 0) return {};
  const Variant v = rs->Field(0L);
  return v.isNull() ? std::wstring() : v.toText();
}

void ListScreenTest::ClickKey(hosted::Toolbar& toolbar, const wchar_t* key) {
  ClickIn(toolbar.inner(), toolbar.ButtonRect(toolbar.IndexOfKey(key)));
}

int ListScreenTest::RowOf(long documentId) const {
  const grid::GridModel& model = grid().Model();
  for (int shown = 0; shown < model.DisplayRowCount(); ++shown) {
    const grid::RowRef row = model.DisplayRow(shown);
    if (row.Kind == grid::kDataRow && consult::CellLong(grid(), row.Index, L"DocumentoId") == documentId) return shown;
  }
  return -1;
}

namespace {
POINT CellCentre(grid::GridControl& grid, int displayRow) {
  grid.Window()->EnsureVisible(displayRow);
  const RECT r = grid.Window()->CellRect(displayRow, 1);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
}  // namespace

void ListScreenTest::ClickRow(int displayRow) {
  const POINT p = CellCentre(grid(), displayRow);
  Click(grid().hwnd(), p.x, p.y);
}

void ListScreenTest::DoubleClickRow(int displayRow) {
  const POINT p = CellCentre(grid(), displayRow);
  Click(grid().hwnd(), p.x, p.y);
  SendMessageW(grid().hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(grid().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Pump();
}

void ListScreenTest::RightClickRow(int displayRow, std::vector<UINT> keys) {
  const POINT p = CellCentre(grid(), displayRow);
  if (!keys.empty()) AnswerNextMenu(std::move(keys));
  SendMessageW(grid().hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageW(grid().hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Pump();
}

std::vector<long> ListScreenTest::ListedIds() const {
  std::vector<long> ids;
  for (int row = 0; row < grid().DataRowCount(); ++row) ids.push_back(consult::CellLong(grid(), row, L"DocumentoId"));
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace vk::test
