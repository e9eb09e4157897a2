// The type library inside the DLL, read back as a host's tools would read it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MorvalZIVI01.h"
#include "support/com_test.h"

namespace {

struct Member {
  std::wstring name;
  INVOKEKIND kind;
  VARTYPE argument;  // VT_EMPTY when there is none
  VARTYPE result;    // of the [retval], VT_EMPTY when there is none
};

vk::com::ComPtr<ITypeLib> LoadOwnLibrary() {
  vk::com::ComPtr<ITypeLib> library;
  std::wstring path = vk::test::BinFolder() + L"\\MorvalZIVI01.dll";
  EXPECT_HRESULT_SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()));
  return library;
}

std::vector<Member> MembersOf(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  info->GetTypeAttr(&attr);
  std::vector<Member> members;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    info->GetFuncDesc(i, &func);
    vk::com::Bstr name;
    info->GetDocumentation(func->memid, name.put(), nullptr, nullptr, nullptr);
    Member m{name.str(), func->invkind, VT_EMPTY, VT_EMPTY};
    for (SHORT p = 0; p < func->cParams; ++p) {
      const ELEMDESC& e = func->lprgelemdescParam[p];
      if (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)
        m.result = e.tdesc.lptdesc ? e.tdesc.lptdesc->vt : e.tdesc.vt;
      else
        m.argument = e.tdesc.vt;
    }
    members.push_back(m);
    info->ReleaseFuncDesc(func);
  }
  info->ReleaseTypeAttr(attr);
  return members;
}

TEST(TypeLibrary, NameVersionAndCreatableClass) {
  auto library = LoadOwnLibrary();
  ASSERT_TRUE(library);
  vk::com::Bstr name;
  library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(name.str(), L"MorvalZIVI01");
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attr));
  EXPECT_EQ(attr->guid, LIBID_MorvalZIVI01);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attr);

  vk::com::ComPtr<ITypeInfo> coclass;
  ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(CLSID_CObject, coclass.put()));
  TYPEATTR* classAttr = nullptr;
  coclass->GetTypeAttr(&classAttr);
  EXPECT_EQ(classAttr->typekind, TKIND_COCLASS);
  EXPECT_TRUE(classAttr->wTypeFlags & TYPEFLAG_FCANCREATE);
  coclass->ReleaseTypeAttr(classAttr);
  vk::com::Bstr className;
  coclass->GetDocumentation(MEMBERID_NIL, className.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(className.str(), L"CObject");
}

TEST(TypeLibrary, CObjectInterfaceMembersInOrder) {
  auto library = LoadOwnLibrary();
  ASSERT_TRUE(library);
  vk::com::ComPtr<ITypeInfo> dispatchInfo;
  ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(IID__CObject, dispatchInfo.put()));
  TYPEATTR* attr = nullptr;
  dispatchInfo->GetTypeAttr(&attr);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
  dispatchInfo->ReleaseTypeAttr(attr);
  // The vtable half of the dual interface lists the members in declared order.
  HREFTYPE vtableHalf = 0;
  ASSERT_HRESULT_SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(-1, &vtableHalf));
  vk::com::ComPtr<ITypeInfo> info;
  ASSERT_HRESULT_SUCCEEDED(dispatchInfo->GetRefTypeInfo(vtableHalf, info.put()));

  const std::vector<Member> expected = {
      {L"ApplicationName", INVOKE_PROPERTYPUT, VT_BSTR, VT_EMPTY},
      {L"ObjectId", INVOKE_PROPERTYPUT, VT_BSTR, VT_EMPTY},
      {L"ObjectName", INVOKE_PROPERTYPUT, VT_BSTR, VT_EMPTY},
      {L"ObjectLocation", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"hwnd", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"ReservedValue2", INVOKE_PROPERTYPUT, VT_VARIANT, VT_EMPTY},
      {L"ReservedValue3", INVOKE_PROPERTYPUT, VT_VARIANT, VT_EMPTY},
      {L"ReservedValue4", INVOKE_PROPERTYPUT, VT_VARIANT, VT_EMPTY},
      {L"ReservedValue5", INVOKE_PROPERTYPUT, VT_VARIANT, VT_EMPTY},
      {L"Parameters", INVOKE_PROPERTYPUT, VT_VARIANT, VT_EMPTY},
      {L"Build", INVOKE_FUNC, VT_EMPTY, VT_BOOL},
      {L"Kill", INVOKE_FUNC, VT_EMPTY, VT_BOOL},
      {L"Resize", INVOKE_FUNC, VT_EMPTY, VT_BOOL},
  };
  const std::vector<Member> actual = MembersOf(info.get());
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(actual[i].name, expected[i].name);
    EXPECT_EQ(actual[i].kind, expected[i].kind);
    EXPECT_EQ(actual[i].argument, expected[i].argument);
    EXPECT_EQ(actual[i].result, expected[i].result);
  }
}

// The vtable half of a dual interface, which lists the members in declared order.
vk::com::ComPtr<ITypeInfo> VtableHalf(ITypeLib* library, REFIID iid) {
  vk::com::ComPtr<ITypeInfo> dispatchInfo;
  EXPECT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(iid, dispatchInfo.put()));
  vk::com::ComPtr<ITypeInfo> info;
  HREFTYPE vtableHalf = 0;
  if (dispatchInfo && SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(-1, &vtableHalf)))
    dispatchInfo->GetRefTypeInfo(vtableHalf, info.put());
  return info;
}

TEST(TypeLibrary, ToolTipBalloonIsCreatableWithItsMembersInOrder) {
  auto library = LoadOwnLibrary();
  ASSERT_TRUE(library);
  vk::com::ComPtr<ITypeInfo> coclass;
  ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(CLSID_CToolTipBaloon, coclass.put()));
  vk::com::Bstr className;
  coclass->GetDocumentation(MEMBERID_NIL, className.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(className.str(), L"CToolTipBaloon");
  TYPEATTR* classAttr = nullptr;
  coclass->GetTypeAttr(&classAttr);
  EXPECT_TRUE(classAttr->wTypeFlags & TYPEFLAG_FCANCREATE);
  coclass->ReleaseTypeAttr(classAttr);

  auto info = VtableHalf(library.get(), IID__CToolTipBaloon);
  ASSERT_TRUE(info);
  constexpr VARTYPE kEnum = VT_USERDEFINED;
  const std::vector<Member> expected = {
      // First: the hook's callback keeps its place in the interface.
      {L"zSubclass_Proc", INVOKE_FUNC, VT_PTR, VT_EMPTY},
      {L"Alive", INVOKE_PROPERTYPUT, VT_BOOL, VT_EMPTY},
      {L"Alive", INVOKE_PROPERTYGET, VT_EMPTY, VT_BOOL},
      {L"Shadow", INVOKE_PROPERTYPUT, VT_BOOL, VT_EMPTY},
      {L"Shadow", INVOKE_PROPERTYGET, VT_EMPTY, VT_BOOL},
      {L"Font", INVOKE_PROPERTYGET, VT_EMPTY, VT_DISPATCH},
      {L"Font", INVOKE_PROPERTYPUTREF, VT_DISPATCH, VT_EMPTY},
      {L"Font", INVOKE_PROPERTYPUT, VT_DISPATCH, VT_EMPTY},
      {L"IconSize", INVOKE_PROPERTYPUT, kEnum, VT_EMPTY},
      {L"IconSize", INVOKE_PROPERTYGET, VT_EMPTY, kEnum},
      {L"ToolTipStyle", INVOKE_PROPERTYPUT, kEnum, VT_EMPTY},
      {L"ToolTipStyle", INVOKE_PROPERTYGET, VT_EMPTY, kEnum},
      {L"TextColor", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"TextColor", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"GradientColorStart", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"GradientColorStart", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"GradientColorEnd", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"GradientColorEnd", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"BackColor", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"BackColor", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"BackStyle", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"BackStyle", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"DelayTime", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"DelayTime", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"KillTime", INVOKE_PROPERTYPUT, VT_I4, VT_EMPTY},
      {L"KillTime", INVOKE_PROPERTYGET, VT_EMPTY, VT_I4},
      {L"Picture", INVOKE_PROPERTYPUTREF, VT_DISPATCH, VT_EMPTY},
      {L"Picture", INVOKE_PROPERTYGET, VT_EMPTY, VT_DISPATCH},
      {L"ShowToolTip", INVOKE_FUNC, VT_I4, VT_EMPTY},
  };
  const std::vector<Member> actual = MembersOf(info.get());
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(std::to_wstring(i) + L" " + expected[i].name);
    EXPECT_EQ(actual[i].name, expected[i].name);
    EXPECT_EQ(actual[i].kind, expected[i].kind);
    EXPECT_EQ(actual[i].argument, expected[i].argument);
    EXPECT_EQ(actual[i].result, expected[i].result);
  }
}

TEST(TypeLibrary, ToolTipBalloonEnumerations) {
  auto library = LoadOwnLibrary();
  ASSERT_TRUE(library);
  struct Constant {
    const wchar_t* enumeration;
    const wchar_t* name;
    long value;
  };
  const Constant expected[] = {
      {L"ttIconSize", L"TTIcon16", 16}, {L"ttIconSize", L"TTIcon24", 24},
      {L"ttIconSize", L"TTIcon32", 32}, {L"ttIconSize", L"TTIcon48", 48},
      {L"ttIconSize", L"TTIcon72", 72}, {L"ttIcon", L"TTI_ERROR", 1},
      {L"ttIcon", L"TTI_INFO", 2},      {L"ttIcon", L"TTI_WARNING", 3},
      {L"ttStyleEnum", L"TTStandard", 0}, {L"ttStyleEnum", L"TTBalloon", 1},
      {L"ttFillStyle", L"TTNrml", 1},   {L"ttFillStyle", L"TTGdtH", 2},
      {L"ttFillStyle", L"TTGdtV", 3},   {L"ttFillStyle", L"TTPict", 4},
  };
  for (const Constant& c : expected) {
    SCOPED_TRACE(c.name);
    // Each constant is found by name and belongs to its enumeration.
    ITypeInfo* found[1] = {};
    MEMBERID ids[1] = {};
    USHORT count = 1;
    std::wstring name = c.name;
    ASSERT_HRESULT_SUCCEEDED(library->FindName(name.data(), 0, found, ids, &count));
    ASSERT_EQ(count, 1);
    vk::com::ComPtr<ITypeInfo> info = vk::com::ComPtr<ITypeInfo>::Attach(found[0]);
    vk::com::Bstr enumName;
    info->GetDocumentation(MEMBERID_NIL, enumName.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(enumName.str(), c.enumeration);
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    EXPECT_EQ(attr->typekind, TKIND_ENUM);
    bool matched = false;
    for (UINT i = 0; i < attr->cVars; ++i) {
      VARDESC* var = nullptr;
      info->GetVarDesc(i, &var);
      if (var->memid == ids[0]) {
        VARIANT value;
        VariantInit(&value);
        EXPECT_HRESULT_SUCCEEDED(VariantChangeType(&value, var->lpvarValue, 0, VT_I4));
        EXPECT_EQ(V_I4(&value), c.value);
        matched = true;
      }
      info->ReleaseVarDesc(var);
    }
    info->ReleaseTypeAttr(attr);
    EXPECT_TRUE(matched);
  }
}

}  // namespace
