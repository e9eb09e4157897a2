// A seam's scope puts its substitute in place and the handler before it back, nested
// and when the scope ends by an exception.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/seam.h"

namespace vk {

struct Greeting {
  std::string text;
};

template <>
Greeting Seam<Greeting>::Real() {
  return {"real"};
}

namespace {

std::string Current() { return Seam<Greeting>::Current().text; }

TEST(Seam, ScopesNestAndRestoreAlsoWhenAnExceptionLeavesThem) {
  EXPECT_EQ(Current(), "real");
  {
    Seam<Greeting>::Scope outer({"outer"});
    EXPECT_EQ(Current(), "outer");
    try {
      Seam<Greeting>::Scope inner({"inner"});
      EXPECT_EQ(Current(), "inner");
      throw std::runtime_error("leaves the scope");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Current(), "outer");
  }
  EXPECT_EQ(Current(), "real");
}

}  // namespace
}  // namespace vk
