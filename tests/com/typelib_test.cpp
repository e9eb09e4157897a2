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

vk::ComPtr<ITypeLib> LoadOwnLibrary() {
  vk::ComPtr<ITypeLib> library;
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
    vk::Bstr name;
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
  vk::Bstr name;
  library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(name.str(), L"MorvalZIVI01");
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attr));
  EXPECT_EQ(attr->guid, LIBID_MorvalZIVI01);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attr);

  vk::ComPtr<ITypeInfo> coclass;
  ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(CLSID_CObject, coclass.put()));
  TYPEATTR* classAttr = nullptr;
  coclass->GetTypeAttr(&classAttr);
  EXPECT_EQ(classAttr->typekind, TKIND_COCLASS);
  EXPECT_TRUE(classAttr->wTypeFlags & TYPEFLAG_FCANCREATE);
  coclass->ReleaseTypeAttr(classAttr);
  vk::Bstr className;
  coclass->GetDocumentation(MEMBERID_NIL, className.put(), nullptr, nullptr, nullptr);
  EXPECT_EQ(className.str(), L"CObject");
}

TEST(TypeLibrary, CObjectInterfaceMembersInOrder) {
  auto library = LoadOwnLibrary();
  ASSERT_TRUE(library);
  vk::ComPtr<ITypeInfo> dispatchInfo;
  ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(IID__CObject, dispatchInfo.put()));
  TYPEATTR* attr = nullptr;
  dispatchInfo->GetTypeAttr(&attr);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
  dispatchInfo->ReleaseTypeAttr(attr);
  // The vtable half of the dual interface lists the members in declared order.
  HREFTYPE vtableHalf = 0;
  ASSERT_HRESULT_SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(-1, &vtableHalf));
  vk::ComPtr<ITypeInfo> info;
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

}  // namespace
