#include <gtest/gtest.h>

#include "platform/lumo/dictionary.h"
#include "platform/lumo/globals.h"
#include "platform/lumo/vector.h"

TEST(Dictionary, KeysIgnoreCaseAndKeepTheirFirstSpelling) {
  lumo::Dictionary d;
  d.SetValue("EMOBillNO", "WORK0001");
  d.SetValue("EMOBILLNO", "WORK0002");
  EXPECT_EQ(d.Count(), 1);
  EXPECT_EQ(d.entries().front().first, "EMOBillNO");
  EXPECT_EQ(d.Value("EMOBillNo").text(), "WORK0002");
  EXPECT_TRUE(d.Value("absent").isEmpty());
  EXPECT_EQ(d.ValueOrDefault("absent", 2).toInt32(), 2);
  d.Remove("emobillno");
  d.Remove("never there");
  EXPECT_EQ(d.Count(), 0);
  d.Add("A", 1);
  EXPECT_THROW(d.Add("a", 2), plat::Error);
}

TEST(Dictionary, RemoveKeepsTheOtherKeysReachable) {
  lumo::Dictionary d;
  for (int i = 0; i < 5; ++i) d.SetValue("K" + std::to_string(i), i);
  d.Remove("k1");
  EXPECT_EQ(d.Value("K4").toInt32(), 4);
  EXPECT_EQ(d.Value("K2").toInt32(), 2);
  EXPECT_FALSE(d.Lookup("K1"));
}

TEST(Vector, IsOneBasedAndSharedByReference) {
  auto v = lumo::newVector();
  auto row = lumo::newDictionary();
  v->Add(row);
  v->Add("T_ICItem");
  row->SetValue("FCaption", "x");  // the vector holds the same dictionary, not a copy
  EXPECT_EQ(v->Item(1).as<lumo::Dictionary>()->Value("FCaption").text(), "x");
  EXPECT_THROW(v->Item(0), plat::Error);
  EXPECT_THROW(v->Item(3), plat::Error);
  EXPECT_EQ(lumo::globals().NullToDefault(plat::Variant::null(), 0).toInt32(), 0);
  EXPECT_EQ(lumo::globals().NullToDefault("a", "").text(), "a");
}
