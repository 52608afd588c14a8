#include "platform/com/registry.h"

#include <gtest/gtest.h>

namespace {
struct Greeter : plat::Object {
  int calls = 0;
};
}  // namespace

TEST(Registry, CreatesByNameIgnoringCaseAndNamesTheUnknownClass) {
  plat::Registry r;
  r.Register("TavShopRpt.Rpt400", [] { return std::make_shared<Greeter>(); });
  auto a = r.CreateAs<Greeter>("tavshoprpt.rpt400");
  auto b = r.CreateAs<Greeter>("TavShopRpt.Rpt400");
  EXPECT_NE(a, b);  // a new object each time
  try {
    r.Create("TavShopRpt.Rpt999");
    FAIL();
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.number(), 429);
    EXPECT_NE(e.description().find("TavShopRpt.Rpt999"), std::string::npos);
  }
  struct Other : plat::Object {};
  r.Register("X.Other", [] { return std::make_shared<Other>(); });
  EXPECT_THROW(r.CreateAs<Greeter>("X.Other"), plat::Error);
  EXPECT_EQ(r.Names().size(), 2u);
}
