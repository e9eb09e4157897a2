// CObject through the DLL's own entry points, without registration: identity,
// late-bound property writes, errors as a Visual Basic host sees them, and the
// module count behind DllCanUnloadNow.
#include <gtest/gtest.h>

#include "MorvalZIVI01.h"
#include "support/com_test.h"

namespace {

using vk::com::ComPtr;
using vk::test::CallByName;
using vk::test::PutByName;

class CObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dll_ = LoadLibraryW((vk::test::BinFolder() + L"\\MorvalZIVI01.dll").c_str());
    ASSERT_NE(dll_, nullptr);
    getClassObject_ = reinterpret_cast<decltype(getClassObject_)>((void*)GetProcAddress(dll_, "DllGetClassObject"));
    canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>((void*)GetProcAddress(dll_, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject_ && canUnloadNow_);
    ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_CObject, IID_IClassFactory, factory_.put_void()));
  }
  void TearDown() override {
    factory_.reset();
    if (dll_) FreeLibrary(dll_);
  }

  ComPtr<IDispatch> Create() {
    ComPtr<IDispatch> object;
    EXPECT_HRESULT_SUCCEEDED(factory_->CreateInstance(nullptr, IID_IDispatch, object.put_void()));
    return object;
  }

  vk::test::ComApartment com_;
  HMODULE dll_ = nullptr;
  HRESULT(WINAPI* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(WINAPI* canUnloadNow_)() = nullptr;
  ComPtr<IClassFactory> factory_;
};

TEST_F(CObjectTest, AnswersItsInterfacesAndNoOthers) {
  auto object = Create();
  ASSERT_TRUE(object);
  EXPECT_TRUE(object.as<_CObject>());
  EXPECT_TRUE(object.as<IUnknown>());
  auto support = object.as<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID__CObject), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
  EXPECT_FALSE(object.as<IPersist>());

  // Identity: IUnknown from any interface is the same pointer.
  auto viaDispatch = object.as<IUnknown>();
  auto viaSupport = support.as<IUnknown>();
  EXPECT_EQ(viaDispatch.get(), viaSupport.get());
}

TEST_F(CObjectTest, UnknownClassIsRefused) {
  ComPtr<IClassFactory> other;
  EXPECT_EQ(getClassObject_(IID_IDispatch, IID_IClassFactory, other.put_void()), CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(CObjectTest, PropertiesAreWriteOnly) {
  auto object = Create();
  EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), L"ApplicationName", vk::test::Text(L"Ostrela")).hr);
  EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), L"ObjectId", vk::test::Text(L"C01")).hr);
  EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), L"ObjectName", vk::test::Text(L"I01CAT")).hr);
  EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), L"ObjectLocation", vk::test::Long(3)).hr);
  EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), L"hwnd", vk::test::Long(0x1234)).hr);
  // A Variant property takes any value, an array included.
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VARIANT list;
  VariantInit(&list);
  V_VT(&list) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&list) = array;
  EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), L"Parameters", list).hr);
  // (PutByName cleared the argument.)
  for (const wchar_t* name : {L"ReservedValue2", L"ReservedValue3", L"ReservedValue4", L"ReservedValue5"})
    EXPECT_HRESULT_SUCCEEDED(PutByName(object.get(), name, vk::test::Long(1)).hr) << name;

  auto read = CallByName(object.get(), L"ApplicationName");
  EXPECT_TRUE(FAILED(read.hr));
}

TEST_F(CObjectTest, KillWithoutAScreenRaisesWithKillSource) {
  auto object = Create();
  auto result = CallByName(object.get(), L"Kill");
  ASSERT_EQ(result.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(result.source, L"[MorvalZIVI01.Kill]");
  EXPECT_EQ(result.scode, static_cast<SCODE>(0x800A005B));  // error 91
  EXPECT_FALSE(result.description.empty());
}

TEST_F(CObjectTest, EarlyBoundCallsReturnFalse) {
  auto object = Create().as<_CObject>();
  VARIANT_BOOL result = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(object->Resize(&result));
  EXPECT_EQ(result, VARIANT_FALSE);
  result = VARIANT_TRUE;
  EXPECT_TRUE(FAILED(object->Kill(&result)));
  EXPECT_EQ(result, VARIANT_FALSE);
}

TEST_F(CObjectTest, ModuleStaysLoadedWhileObjectsOrLocksLive) {
  EXPECT_EQ(canUnloadNow_(), S_FALSE);  // the factory itself counts
  {
    auto object = Create();
    factory_.reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
  }
  EXPECT_EQ(canUnloadNow_(), S_OK);
  ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_CObject, IID_IClassFactory, factory_.put_void()));
  factory_->LockServer(TRUE);
  auto* raw = factory_.detach();
  raw->Release();
  EXPECT_EQ(canUnloadNow_(), S_FALSE);
  ASSERT_HRESULT_SUCCEEDED(getClassObject_(CLSID_CObject, IID_IClassFactory, factory_.put_void()));
  factory_->LockServer(FALSE);
  factory_.reset();
  EXPECT_EQ(canUnloadNow_(), S_OK);
}

}  // namespace
