// Outside objects reached by ProgID and member name, as the screens reach Outlook and
// the data-access component: creation failures and member failures carry the
// platform's numbers and descriptions.
#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>

#include "com/late_bound.h"
#include "runtime/vb_error.h"

namespace vk {
namespace {

struct ComApartment {
  ComApartment() { CoInitialize(nullptr); }
  ~ComApartment() { CoUninitialize(); }
};

VbError ErrorFrom(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& e) {
    return e;
  }
  return {};
}

TEST(CreateObject, AClassThatIsNotThereRaises429WithItsDescription) {
  ComApartment com;
  const VbError missing = ErrorFrom([] { com::CreateObject(L"Ostrela.NoSuchApplication"); });
  EXPECT_EQ(missing.number, err::CannotCreateObject);
  EXPECT_EQ(missing.description, L"ActiveX component can't create object");

  // A class the system has: created, and an unknown member raises 438 with its text.
  ComPtr<IDispatch> dictionary = com::CreateObject(L"Scripting.Dictionary");
  ASSERT_TRUE(dictionary);
  com::Call(dictionary.get(), L"Add", {Variant(L"clave-1"), Variant(L"valor")});
  EXPECT_EQ(com::Get(dictionary.get(), L"Count").toLong(), 1);
  const VbError unknown = ErrorFrom([&] { com::Call(dictionary.get(), L"NoSuchMember"); });
  EXPECT_EQ(unknown.number, err::ObjectDoesNotSupport);
  EXPECT_EQ(unknown.description, L"Object doesn't support this property or method");
}

}  // namespace
}  // namespace vk
