#include "platform/core/variant.h"

#include <gtest/gtest.h>

using plat::Variant;

TEST(Variant, ConversionsFollowThePlatformRules) {
  EXPECT_EQ(Variant("12").toInt16(), 12);
  EXPECT_EQ(Variant(" 7 ").toInt32(), 7);
  EXPECT_EQ(Variant(2.5).toInt16(), 2);  // half to even
  EXPECT_EQ(Variant(3.5).toInt16(), 4);
  EXPECT_DOUBLE_EQ(Variant("1.25").toDouble(), 1.25);
  EXPECT_EQ(Variant(true).toDouble(), -1);
  EXPECT_EQ(Variant(2024.0).text(), "2024");
  EXPECT_EQ(Variant(0.5).text(), "0.5");
  EXPECT_EQ(Variant::null().text(), "");
  EXPECT_EQ(Variant(plat::Date(2024, 3, 9)).text(), "2024-03-09");
  EXPECT_EQ(Variant("2024-3-9").toDate(), plat::Date(2024, 3, 9));
  EXPECT_TRUE(Variant("2024-12-31").isDateLike());
  EXPECT_FALSE(Variant("2024-13-01").isDateLike());
  EXPECT_EQ(plat::val("12ab"), 12);
  EXPECT_EQ(plat::val(""), 0);
}

TEST(Variant, ImpossibleConversionsRaise) {
  // A user id that is not a number must fail, never read as 0.
  EXPECT_THROW(Variant("abc").toInt16(), plat::Error);
  EXPECT_THROW(Variant("").toDouble(), plat::Error);
  EXPECT_THROW(Variant("70000").toInt16(), plat::Error);
  EXPECT_THROW(Variant::null().toInt32(), plat::Error);
  EXPECT_THROW(Variant("yesterday").toDate(), plat::Error);
  EXPECT_THROW(Variant(1).object(), plat::Error);
  try {
    (void)Variant("x1").toDouble();
    ADD_FAILURE() << "\"x1\" was read as a number";
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.number(), 13);
    EXPECT_NE(e.description().find("x1"), std::string::npos);
  }
}
