// Outside objects reached by ProgID, as the screens reach Outlook: a class that is not
// there raises the platform's number and description.
#include <gtest/gtest.h>

#include <objbase.h>

#include "base/vb_error.h"
#include "com/late_bound.h"

namespace vk {
namespace {

TEST(CreateObject, AClassThatIsNotThereRaises429WithItsDescription) {
  CoInitialize(nullptr);
  VbError error;
  try {
    com::CreateObject(L"Ostrela.NoSuchApplication");
  } catch (const VbError& e) {
    error = e;
  }
  EXPECT_EQ(error.number, err::CannotCreateObject);
  EXPECT_EQ(error.description, L"ActiveX component can't create object");
  EXPECT_TRUE(com::CreateObject(L"Scripting.Dictionary"));  // one the system has
  CoUninitialize();
}

}  // namespace
}  // namespace vk
