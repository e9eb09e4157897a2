// CObject.Build, Kill and Resize driven through the shared-state loaders against
// copies of the sample databases, with recording screens in place of the real ones.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/cobject.h"
#include "app/screen_factory.h"
#include "base/vb_error.h"
#include "runtime/mouse_pointer.h"
#include "screen_kit/data_access.h"
#include "screen_kit/host_seams.h"
#include "screen_kit/message_box.h"
#include "screen_kit/shared_state.h"
#include "screen_kit/test_databases.h"
#include "support/com_test.h"

namespace vk::app {
namespace {

const wchar_t kAppKey[] = L"VkBuildTest";
const wchar_t kBuild[] = L"[MorvalZIVI01.Build]";
const wchar_t kKill[] = L"[MorvalZIVI01.Kill]";

// A screen that records what CObject asks of it.
struct RecordingScreen : DocumentForm {
  std::wstring formName;
  std::vector<std::wstring>* calls;
  bool loaded = true;
  long container = 0;
  std::function<void()> onMakeForm;  // runs inside MakeForm (may raise)
  std::function<void()> onUnload;    // runs once inside the next unload (may raise)

  RecordingScreen(std::wstring name, std::vector<std::wstring>* log) : formName(std::move(name)), calls(log) {}
  void SetMode(const std::wstring& mode) override { calls->push_back(L"Mode=" + mode); }
  void SetHWndContainer(long hwnd) override {
    container = hwnd;
    calls->push_back(L"HWndContainer=" + std::to_wstring(hwnd));
  }
  long HWndContainer() const override { return container; }
  void Form_Resize() override { calls->push_back(L"Form_Resize"); }
  bool MakeForm() override {
    calls->push_back(L"MakeForm " + formName);
    if (onMakeForm) onMakeForm();
    SetMousePointer(pointer::Default);
    return true;
  }
  bool KillForm() override { return true; }
  void UnloadScreen() override {
    calls->push_back(L"Unload " + formName);
    loaded = false;
    if (auto hook = std::exchange(onUnload, nullptr)) hook();
  }
  bool IsScreenLoaded() const override { return loaded; }
};

class BuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seams_ = std::make_unique<ScopedHostSeams>(SeamsFor(L"usuario1"));
    screens_ = std::make_unique<ScopedScreenFactory>([this](std::wstring_view name) {
      auto screen = std::make_shared<RecordingScreen>(std::wstring(name), &calls_);
      made_.push_back(screen);
      return screen;
    });
    messages_ = std::make_unique<ScopedMessageBox>([this](const std::wstring& text, long, const std::wstring&) {
      shownMessages_.push_back(text);
      return msg::OK;
    });
    Shared() = SharedState{};
  }

  static HostSeams SeamsFor(std::wstring user) {
    HostSeams seams = Seam<HostSeams>::Real();
    seams.logonName = [user] { return user; };
    return seams;
  }
  void UseLogon(const std::wstring& user) { Seam<HostSeams>::Current().logonName = [user] { return user; }; }
  void Sql(const wchar_t* key, const std::wstring& sql) {
    std::wstring error;
    ASSERT_TRUE(databases_.Sql(key, sql, &error)) << error;
  }

  // A CObject with the properties a host writes.
  com::ComPtr<_CObject> NewObject(const wchar_t* formCode, long hwnd = 0x1234) {
    com::ComPtr<_CObject> object = com::ComPtr<_CObject>::Attach(CObject::Create());
    object->put_ApplicationName(com::Bstr(kAppKey).get());
    object->put_ObjectId(com::Bstr(L"I01CAT").get());
    object->put_ObjectName(com::Bstr(formCode).get());
    object->put_hwnd(hwnd);
    return object;
  }
  // Calls Build and answers the error raised, or 0.
  long Build(_CObject* object, std::wstring* source = nullptr) { return Call(&_CObject::Build, object, source); }
  long Kill(_CObject* object, std::wstring* source = nullptr) { return Call(&_CObject::Kill, object, source); }
  long Call(HRESULT (STDMETHODCALLTYPE _CObject::*method)(VARIANT_BOOL*), _CObject* object, std::wstring* source) {
    VARIANT_BOOL result = VARIANT_TRUE;
    HRESULT hr = (object->*method)(&result);
    EXPECT_EQ(result, VARIANT_FALSE);
    if (SUCCEEDED(hr)) return 0;
    com::ComPtr<IErrorInfo> info;
    GetErrorInfo(0, info.put());
    if (info && source) {
      com::Bstr text;
      info->GetSource(text.put());
      *source = text.str();
    }
    return HRESULT_CODE(hr);
  }

  test::ComApartment com_;
  test::TestDatabases databases_{kAppKey};
  std::unique_ptr<ScopedHostSeams> seams_;
  std::unique_ptr<ScopedScreenFactory> screens_;
  std::unique_ptr<ScopedMessageBox> messages_;
  std::vector<std::wstring> calls_;
  std::vector<std::shared_ptr<RecordingScreen>> made_;
  std::vector<std::wstring> shownMessages_;
};

TEST_F(BuildTest, EachFormCodeOpensItsScreenWithItsMode) {
  struct Case { const wchar_t* code; const wchar_t* form; const wchar_t* mode; };
  const Case cases[] = {
      {L"I01REV", L"FDocumentosIndex", L"REV"},   {L"I01CAT", L"FDocumentosIndex", L"CAT"},
      {L"I01VAL", L"FDocumentosABM", L"VAL"},     {L"I01MAN", L"FDocumentosABM", L"ADM"},
      {L"R01VIE", L"FDocumentosView", L"ADM"},    {L"R01MRK", L"FDocumentosLogGeneral", L"GEN"},
      {L"B01F01", L"FDocumentosSearchS", L"ADM"}, {L"B01F02", L"FDocumentosSearchS", L"ADM"},
  };
  for (const Case& c : cases) {
    calls_.clear();
    auto object = NewObject(c.code, 0x4321);
    EXPECT_EQ(Build(object.get()), 0) << c.code;
    const std::vector<std::wstring> expected = {L"HWndContainer=17185", std::wstring(L"Mode=") + c.mode,
                                                std::wstring(L"MakeForm ") + c.form};
    EXPECT_EQ(calls_, expected) << c.code;
  }
}

TEST_F(BuildTest, UnknownCodesOpenNothingAndLeaveTheBusyPointer) {
  for (const wchar_t* code : {L"i01cat", L"I01CAT ", L"", L"X99"}) {
    calls_.clear();
    SetMousePointer(pointer::Default);
    auto object = NewObject(code);
    EXPECT_EQ(Build(object.get()), 0) << code;
    EXPECT_TRUE(calls_.empty()) << code;
    EXPECT_EQ(MousePointer(), pointer::ArrowHourglass) << code;
  }
}

TEST_F(BuildTest, RestrictedUserProfileIsLoadedField) {
  auto object = NewObject(L"I01CAT");
  ASSERT_EQ(Build(object.get()), 0);
  const SharedState& s = Shared();
  EXPECT_EQ(s.gApplicationName, kAppKey);
  EXPECT_EQ(s.gObjectId, L"I01CAT");
  EXPECT_EQ(s.gPathOrigen, L"C:\\Ostrela\\Origen\\usuario1");
  EXPECT_EQ(s.gPathDestino, L"C:\\Ostrela\\Documentos");
  EXPECT_EQ(s.gLoadMax, 50);
  EXPECT_FALSE(s.gIsAdmin);
  EXPECT_EQ(s.gUserLevel, 1);
  EXPECT_EQ(s.gEmpleadoId, L"E0001");
  EXPECT_EQ(s.gGerenciaId, L"OP");
  EXPECT_EQ(s.gCategorias, L"'1' , '2'");
  for (int flag = 1; flag <= 10; ++flag) EXPECT_EQ(s.gPermissions[flag], flag <= 3) << flag;
}

TEST_F(BuildTest, AdministratorNeedsOnlyTheUsersRow) {
  UseLogon(L"administrador");
  Sql(L"VkS", L"Delete From UsersPermissions");
  Sql(kAppKey, L"Delete From Empleados");
  auto object = NewObject(L"I01CAT");
  ASSERT_EQ(Build(object.get()), 0);
  const SharedState& s = Shared();
  EXPECT_TRUE(s.gIsAdmin);
  EXPECT_EQ(s.gEmpleadoId, L"ADMIN");
  EXPECT_EQ(s.gGerenciaId, L"AD");
  EXPECT_EQ(s.gCategorias, L"ALL");
  for (int flag = 1; flag <= 10; ++flag) EXPECT_TRUE(s.gPermissions[flag]) << flag;
}

TEST_F(BuildTest, UnknownUserStillGetsTheScreenWithFallbacks) {
  UseLogon(L"nadie");
  auto object = NewObject(L"R01MRK");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gGerenciaId, L"-1");
  EXPECT_EQ(Shared().gEmpleadoId, L"-1");
  EXPECT_EQ(Shared().gUserLevel, -1);
  EXPECT_EQ(calls_.back(), L"MakeForm FDocumentosLogGeneral");
}

TEST_F(BuildTest, ProfileFailuresFallBack) {
  // Without a permissions row for the component, and with a Verbos that is not a list
  // of numbers, the profile load fails; flags set by an earlier Build do not survive.
  auto object = NewObject(L"I01CAT");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_TRUE(Shared().gPermissions[1]);
  Sql(L"VkS", L"Update UsersPermissions Set Verbos = '1|x' Where UserName = 'usuario1'");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gGerenciaId, L"-1");
  EXPECT_FALSE(Shared().gPermissions[1]);
  EXPECT_EQ(Shared().gCategorias, L"'1' , '2'") << "the category list of the earlier Build stays";

  Sql(L"VkS", L"Delete From UsersPermissions");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gGerenciaId, L"-1");

  // A user with a quote in the logon name is looked up safely and simply not found.
  UseLogon(L"o'neil");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gGerenciaId, L"-1");
}

TEST_F(BuildTest, OneCategoryAndNoCategory) {
  auto object = NewObject(L"I01CAT");
  Sql(L"VkS", L"Update UsersCategorias Set CategoriaId = 'G2' Where UserName = 'usuario1'");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gCategorias, L"'3'");
  // None: the profile load fails; a first Build's list stays empty.
  Sql(L"VkS", L"Delete From UsersCategorias");
  Shared() = SharedState{};
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gGerenciaId, L"-1");
  EXPECT_EQ(Shared().gCategorias, L"");
}

TEST_F(BuildTest, ParameterDefaultsMarkersAndRowsWithoutAKey) {
  // The sample table takes no Null key; one that does stands in for it.
  Sql(kAppKey, L"Create Table P (ParameterId VARCHAR(60), ParameterValue VARCHAR(255))");
  Sql(kAppKey, L"Insert Into P Select * From AplicationParameters Union All Select Null, 'sin clave'");
  Sql(kAppKey, L"Drop Table AplicationParameters");
  Sql(kAppKey, L"Alter Table P Rename To AplicationParameters");
  Sql(kAppKey, L"Delete From AplicationParameters Where ParameterId = 'HKEY_DOCUMENTOS_LOAD_MAX'");
  Sql(kAppKey, L"Update AplicationParameters Set ParameterValue = '[UserNameNT]\\x\\[UserNameNT]\\[usernament]' "
               L"Where ParameterId = 'HKEY_DOCUMENTOS_PATH_ORIGEN'");
  auto object = NewObject(L"I01CAT");
  ASSERT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gLoadMax, 99);
  EXPECT_EQ(Shared().gPathOrigen, L"usuario1\\x\\usuario1\\[usernament]");
}

TEST_F(BuildTest, EmptyParameterTableRaisesFiveWithoutAMessage) {
  Sql(kAppKey, L"Delete From AplicationParameters");
  SetMousePointer(pointer::Hourglass);
  auto object = NewObject(L"I01CAT");
  std::wstring source;
  EXPECT_EQ(Build(object.get(), &source), 5);
  EXPECT_EQ(source, L"[MorvalZIVI01.Build]");
  EXPECT_TRUE(calls_.empty());
  EXPECT_TRUE(shownMessages_.empty());
  EXPECT_EQ(MousePointer(), pointer::Default);
}

TEST_F(BuildTest, MissingDatabaseTellsTheUserThenRaisesFive) {
  auto object = com::ComPtr<_CObject>::Attach(CObject::Create());
  object->put_ApplicationName(com::Bstr(L"NoSuchKeyAnywhere").get());
  object->put_ObjectName(com::Bstr(L"I01CAT").get());
  std::wstring source;
  EXPECT_EQ(Build(object.get(), &source), 5);
  EXPECT_EQ(source, L"[MorvalZIVI01.Build]");
  ASSERT_EQ(shownMessages_.size(), 1u);
  EXPECT_EQ(shownMessages_[0].rfind(L"CObject.Build : Se produjo un Error al Cargar los Parametros - [ ", 0), 0u);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(BuildTest, ErrorsOfTheScreenReachTheHostUnderTheirSourceWithTheDefaultPointer) {
  struct Case {
    std::function<void()> inFactory, inMakeForm, inUnload;  // where the screen fails
    long number;
    const wchar_t* source;
  };
  const Case cases[] = {
      {[] { throw VbError{481, L"FDocumentosIndex", L"Invalid picture"}; }, nullptr, nullptr, 481, kBuild},
      {[] { throw std::bad_alloc(); }, nullptr, nullptr, 7, kBuild},
      {nullptr, [] { Raise(err::PathNotFound); }, nullptr, 76, kBuild},
      {nullptr, nullptr, nullptr, 429, kBuild},  // no screen comes back
      {nullptr, nullptr, [] { Raise(err::PermissionDenied); }, 70, kKill},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    ScopedScreenFactory factory([&](std::wstring_view name) -> std::shared_ptr<DocumentForm> {
      if (c.inFactory) c.inFactory();
      if (c.number == err::CannotCreateObject) return nullptr;
      auto screen = std::make_shared<RecordingScreen>(std::wstring(name), &calls_);
      screen->onMakeForm = c.inMakeForm;
      screen->onUnload = c.inUnload;
      return screen;
    });
    auto object = NewObject(L"I01CAT");
    std::wstring source;
    const long built = Build(object.get(), &source);
    if (c.source == kKill) {
      ASSERT_EQ(built, 0);
      SetMousePointer(pointer::Hourglass);
      EXPECT_EQ(Kill(object.get(), &source), c.number);
    } else {
      EXPECT_EQ(built, c.number);
    }
    EXPECT_EQ(source, c.source);
    EXPECT_EQ(MousePointer(), pointer::Default);
  }
}

TEST_F(BuildTest, AHostReleasingTheObjectDuringBuildOrKillFreesItOnlyAfterTheCall) {
  // Build: the host lets the object go while the parameter failure's message is up.
  auto object = NewObject(L"I01MAN");
  ASSERT_EQ(Build(object.get()), 0);
  object->put_ApplicationName(com::Bstr(L"NoSuchKeyAnywhere").get());
  messages_.reset();
  messages_ = std::make_unique<ScopedMessageBox>([&](const std::wstring&, long, const std::wstring&) {
    object.reset();
    calls_.push_back(L"released");
    return msg::OK;
  });
  calls_.clear();
  EXPECT_EQ(Build(object.get()), 5);
  EXPECT_EQ(calls_, (std::vector<std::wstring>{L"released", L"Unload FDocumentosABM"}));

  // Kill: the host lets the object go while its screen unloads.
  object = NewObject(L"R01VIE");
  ASSERT_EQ(Build(object.get()), 0);
  made_.back()->onUnload = [&] {
    object.reset();
    calls_.push_back(L"released");
  };
  calls_.clear();
  EXPECT_EQ(Kill(object.get()), 0);
  EXPECT_EQ(calls_, (std::vector<std::wstring>{L"Unload FDocumentosView", L"released", L"Unload FDocumentosView"}));
}

TEST_F(BuildTest, AnyFailureInsideTheLoadersTakesTheirFallback) {
  // The parameter load fails (error 5, no message), whatever failed inside it.
  Seam<HostSeams>::Current().createDataAccess = []() -> com::ComPtr<IDispatch> { throw std::bad_alloc(); };
  auto object = NewObject(L"I01CAT");
  EXPECT_EQ(Build(object.get()), 5);
  EXPECT_TRUE(shownMessages_.empty());
  // The profile load fails silently: the fallback values, and the screen opens.
  int created = 0;
  Seam<HostSeams>::Current().createDataAccess = [&created]() -> com::ComPtr<IDispatch> {
    if (++created > 1) throw std::runtime_error("profile");
    return Seam<HostSeams>::Real().createDataAccess();
  };
  EXPECT_EQ(Build(object.get()), 0);
  EXPECT_EQ(Shared().gGerenciaId, L"-1");
  EXPECT_EQ(calls_.back(), L"MakeForm FDocumentosIndex");
}

TEST_F(BuildTest, SecondBuildKeepsTheFirstScreenAndKillUnloadsTheSecond) {
  auto object = NewObject(L"I01MAN");
  ASSERT_EQ(Build(object.get()), 0);
  ASSERT_EQ(Build(object.get()), 0);
  ASSERT_EQ(made_.size(), 2u);
  VARIANT_BOOL result = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(object->Kill(&result));
  EXPECT_EQ(result, VARIANT_FALSE);
  EXPECT_TRUE(made_[0]->loaded);
  EXPECT_FALSE(made_[1]->loaded);
}

TEST_F(BuildTest, ResizeReachesOnlyALoadedHeldScreen) {
  auto object = NewObject(L"I01CAT");
  VARIANT_BOOL result = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(object->Resize(&result));  // nothing held yet
  ASSERT_EQ(Build(object.get()), 0);
  calls_.clear();
  EXPECT_HRESULT_SUCCEEDED(object->Resize(&result));
  EXPECT_EQ(result, VARIANT_FALSE);
  EXPECT_EQ(calls_, std::vector<std::wstring>{L"Form_Resize"});
  made_.back()->loaded = false;  // the screen closed itself
  calls_.clear();
  EXPECT_HRESULT_SUCCEEDED(object->Resize(&result));
  EXPECT_TRUE(calls_.empty());
}

TEST_F(BuildTest, ReleasingTheObjectUnloadsItsScreen) {
  {
    auto object = NewObject(L"B01F02");
    ASSERT_EQ(Build(object.get()), 0);
  }
  ASSERT_EQ(made_.size(), 1u);
  EXPECT_FALSE(made_[0]->loaded);
}

}  // namespace
}  // namespace vk::app
