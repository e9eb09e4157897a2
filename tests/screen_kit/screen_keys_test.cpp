// The document screens as a clerk's day meets them, docked in a host whose loop is a
// plain GetMessage/DispatchMessage: Tab and Shift+Tab walk the capture screens in
// reading order, and opening and closing every screen many times leaves no window,
// GDI or USER object and no memory behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/abm_screen.h"
#include "capture/index_screen.h"
#include "hosted/sample_images.h"
#include "runtime/dialog_keys.h"
#include "screen_kit/screen_fixture.h"
#include "screen_kit/shared_state.h"
#include "support/host_keys.h"
#include "support/resource_counts.h"

namespace {

using namespace vk;
using Names = std::vector<std::wstring>;
using test::PressKey;

const wchar_t kAppKey[] = L"VkScreenKeys";
// The name of the control holding the focus, with its index ("VkTextBox(3)").
std::wstring Focused() {
  for (HWND w = GetFocus(); w; w = GetParent(w))
    if (Control* c = Control::FromWindow(w)) return VkNameText(c->name(), c->index());
  return L"(none)";
}

// From `start`, the controls `count` presses of Tab (or Shift+Tab) visit.
Names Walk(Control& start, size_t count, bool shift) {
  start.SetFocus();
  Names visits;
  for (size_t i = 0; i < count; ++i) {
    PressKey(VK_TAB, shift);
    visits.push_back(Focused());
  }
  return visits;
}

Names Reversed(Names names, const std::wstring& start) {
  names.pop_back();
  std::reverse(names.begin(), names.end());
  names.push_back(start);
  return names;
}

template <class Screen>
class KeysTest : public test::ScreenTest<Screen> {
 protected:
  explicit KeysTest(const wchar_t* mode) : test::ScreenTest<Screen>(kAppKey, mode) {}
  void SetUp() override {
    source_ = test::FreshFolder(L"keys_source");
    Shared() = SharedState{};
    Shared().gApplicationName = kAppKey;
    Shared().gPathOrigen = source_;
    Shared().gPathDestino = test::FreshFolder(L"keys_store");
    Shared().gLoadMax = 99;
  }
  // The editors the type placed, top to bottom.
  Names PlacedEditors() {
    Names names;
    for (const capture::PlacedField& field : this->screen_->editors().PlacedFields())
      if (field.index > 0) names.push_back(VkNameText(field.kind, field.index));
    return names;
  }
  // Tab from the first combo all the way round, then Shift+Tab back.
  void ExpectReadingOrder(const Names& afterFields) {
    auto& c = this->screen_->controls();
    c.cboTipoDocumentoId->SelectKey(L"5");
    Names order{L"cboSubCategoriaId", L"cboGerenciaId", L"cboTipoDocumentoId"};
    const Names fields = PlacedEditors();
    ASSERT_EQ(fields.size(), 5u);
    order.insert(order.end(), fields.begin(), fields.end());
    order.insert(order.end(), afterFields.begin(), afterFields.end());
    order.push_back(L"cboCategoriaId");
    EXPECT_EQ(Walk(*c.cboCategoriaId, order.size(), false), order);
    EXPECT_EQ(Walk(*c.cboCategoriaId, order.size(), true), Reversed(order, L"cboCategoriaId"));
  }
  std::wstring source_;
};

class IndexKeysTest : public KeysTest<capture::FDocumentosIndex> {
 protected:
  IndexKeysTest() : KeysTest(L"CAT") {}
};

class AbmKeysTest : public KeysTest<capture::FDocumentosABM> {
 protected:
  AbmKeysTest() : KeysTest(L"ADM") {}
};

TEST_F(IndexKeysTest, TabWalksTheCataloguingScreenInReadingOrder) {
  Open();
  ExpectReadingOrder({L"txtCBarra", L"dtpFecha", L"txtReferenciaId", L"cmdAceptar"});
}

TEST_F(AbmKeysTest, TabWalksTheMaintenanceScreenInReadingOrder) {
  Open();
  ExpectReadingOrder({L"txtCBarra", L"dtpFecha", L"txtReferenciaId"});
}

// Every screen as it opens (no type chosen yet): Tab goes once round the controls that
// take the focus in reading order, and Shift+Tab goes the same way back.
TEST_F(IndexKeysTest, TabGoesRoundEveryScreenAndShiftTabBack) {
  Sql(L"Update AplicationParameters Set ParameterValue = '" + source_ +
      L"' Where ParameterId = 'HKEY_DOCUMENTOS_PATH_ORIGEN'");
  const Names capture = {L"cboCategoriaId", L"cboSubCategoriaId", L"cboGerenciaId", L"cboTipoDocumentoId",
                         L"txtCBarra",      L"dtpFecha",          L"txtReferenciaId"};
  const struct {
    const wchar_t* code;
    Names order;
  } cases[] = {
      {L"I01CAT", capture},
      {L"I01MAN", capture},
      {L"R01VIE", {L"GRDetail"}},
      {L"R01MRK",
       {L"cboCategoriaId", L"cboSubCategoriaId", L"cboGerenciaId", L"cboUsuarioId", L"dtpFechaDesde",
        L"dtpFechaHasta", L"cboDocumentoId", L"GRDetail"}},
      {L"B01F01",
       {L"cboCategoriaId", L"cboSubCategoriaId", L"cboGerenciaId", L"cboTipoDocumentoId", L"txtReferenciaId",
        L"chkReferenciaId", L"txtCBarra", L"chkCBarra", L"GRDetail"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.code)));
    com::ComPtr<_CObject> object;
    ASSERT_HRESULT_SUCCEEDED(Build(c.code, object));
    Form* screen = Form::FromWindow(GetWindow(host_.hwnd, GW_CHILD));
    ASSERT_TRUE(screen);
    FocusFirstControl(*screen);
    Names forward{Focused()}, backward{Focused()};
    for (size_t i = 0; i < c.order.size(); ++i) {
      PressKey(VK_TAB, false);
      forward.push_back(Focused());
    }
    for (size_t i = 0; i < c.order.size(); ++i) {
      PressKey(VK_TAB, true);
      backward.push_back(Focused());
    }
    Names round = c.order;
    round.push_back(c.order.front());
    EXPECT_EQ(forward, round);
    std::reverse(round.begin(), round.end());
    EXPECT_EQ(backward, round);
    ASSERT_HRESULT_SUCCEEDED(Kill(object));
  }
}

int AllThreadWindows() {
  struct Count {
    static BOOL CALLBACK Child(HWND, LPARAM n) {
      ++*reinterpret_cast<int*>(n);
      return TRUE;
    }
    static BOOL CALLBACK Top(HWND w, LPARAM n) {
      ++*reinterpret_cast<int*>(n);
      EnumChildWindows(w, Child, n);
      return TRUE;
    }
  };
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), Count::Top, reinterpret_cast<LPARAM>(&n));
  return n;
}

// What an opening could leave behind in the process.
struct Held {
  int windows = AllThreadWindows();
  int gdi = test::GdiObjectCount();
  int user = test::UserObjectCount();
  long long bytes = static_cast<long long>(test::PrivateBytes());
};

// The openings of each screen: 16 in the test command, SCREEN_CYCLES in the soak
// (scripts/soak.sh: 200).
int Openings() {
  wchar_t text[16] = {};
  GetEnvironmentVariableW(L"SCREEN_CYCLES", text, 16);
  return std::max(_wtoi(text), 16);
}

// The first openings of a screen make what is made once (window classes, shared fonts
// and pictures, caches), so what counts is what a second batch of openings as long
// as the first adds: no window, GDI or USER object, and less than 50 KB of memory an
// opening. Half of 100 KB, so that the heaps committing and giving back a few hundred
// KB between two counts neither hides 100 KB an opening nor fails a clean run.
TEST_F(IndexKeysTest, OpeningAndClosingEveryScreenLeavesNothingBehind) {
  Sql(L"Update AplicationParameters Set ParameterValue = '" + source_ +
      L"' Where ParameterId = 'HKEY_DOCUMENTOS_PATH_ORIGEN'");
  const int batch = Openings() / 2;
  for (const wchar_t* code : {L"I01CAT", L"I01MAN", L"R01VIE", L"R01MRK", L"B01F01"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(code)));
    auto open = [&](int times) {
      for (int i = 0; i < times; ++i) {
        com::ComPtr<_CObject> object;
        ASSERT_HRESULT_SUCCEEDED(Build(code, object));
        ASSERT_HRESULT_SUCCEEDED(Kill(object));
      }
    };
    open(batch);
    const Held first;
    open(batch);
    const Held second;
    EXPECT_EQ(second.windows, first.windows);
    EXPECT_EQ(second.gdi, first.gdi);
    EXPECT_EQ(second.user, first.user);
    EXPECT_LT(second.bytes - first.bytes, batch * 50 * 1024LL);
  }
}

}  // namespace
