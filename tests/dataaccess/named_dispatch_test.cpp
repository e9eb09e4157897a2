// The dispatcher's edge: a member that fails with a C++ exception reaches its caller as
// an error whose text is the exception's, accents and all.
#include "dataaccess/named_dispatch.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "com/com_object.h"
#include "support/com_test.h"

namespace vk::data {
namespace {

class FailingMember : public com::ComObject<FailingMember, NamedDispatch<FailingMember>> {
 public:
  static constexpr const wchar_t* kSource = L"QdPoolConnection.Test";
  static std::span<const Member> Members() {
    static const Member members[] = {{L"Run", 1}};
    return members;
  }
  HRESULT Call(DISPID, WORD, const Arguments&, VARIANT*) { throw std::runtime_error("Año ñandú"); }
};

TEST(NamedDispatch, ALibraryFailureKeepsItsTextInTheError) {
  const auto object = com::ComPtr<IDispatch>::Attach(FailingMember::Create());
  const test::DispResult result = test::CallByName(object.get(), L"Run");
  EXPECT_EQ(result.hr, DISP_E_EXCEPTION);
  EXPECT_EQ(result.scode, static_cast<SCODE>(0x800A0000 + err::InternalError));
  EXPECT_EQ(result.source, L"QdPoolConnection.Test");
  EXPECT_EQ(result.description, L"Año ñandú");
}

}  // namespace
}  // namespace vk::data
