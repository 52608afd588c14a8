// Filter schemes in the company database: every value type round trips; schemes are kept
// per report and user; the last-used mark; damaged and unsavable schemes.
#include <bit>
#include <cstdint>

#include <gtest/gtest.h>

#include "midtier/services/grid_services.h"
#include "platform/lumo/vector.h"
#include "service_test_support.h"

namespace {

using svctest::DatabaseCopy;

constexpr const char* kInjection = "A'; DROP TABLE t_ICItem; --";

// Same keys in the same order and spelling, same value types and values, nested too.
void ExpectSameDictionary(const lumo::Dictionary& expected, const lumo::Dictionary& actual, const std::string& at = "") {
  ASSERT_EQ(actual.Count(), expected.Count()) << at;
  for (size_t i = 0; i < expected.entries().size(); ++i) {
    const auto& [key, value] = expected.entries()[i];
    const auto& [gotKey, got] = actual.entries()[i];
    EXPECT_EQ(gotKey, key) << at;
    ASSERT_EQ(got.type(), value.type()) << at << key;
    if (auto nested = value.tryAs<lumo::Dictionary>())
      ExpectSameDictionary(*nested, *got.as<lumo::Dictionary>(), at + key + ".");
    else if (value.type() == plat::VarType::Double)  // bit for bit, the sign of zero included
      EXPECT_EQ(std::bit_cast<uint64_t>(got.toDouble()), std::bit_cast<uint64_t>(value.toDouble())) << at << key;
    else
      EXPECT_EQ(got, value) << at << key;
  }
}

lumo::DictionaryRef everyValueType() {
  auto sum = lumo::newDictionary();
  sum->SetValue("FQty", int16_t{1});
  sum->SetValue("FAmount", 0.1);
  auto filter = lumo::newDictionary();
  filter->SetValue("Empty", plat::Variant());
  filter->SetValue("Null", plat::Variant::null());
  filter->SetValue("OK", true);
  filter->SetValue("chkFinish", false);
  filter->SetValue("CheckClose", int16_t{-32768});
  filter->SetValue("RptID", int32_t{2147483647});
  filter->SetValue("Third", 1.0 / 3);
  filter->SetValue("Tiny", -4.9e-324);
  filter->SetValue("NegZero", -0.0);
  filter->SetValue("BDate", plat::Date(2024, 2, 29));
  filter->SetValue("EDate", "2024-12-31");  // a date as text stays text
  filter->SetValue("BItemNumber", kInjection);
  filter->SetValue("产品名称", "红色;{}=\"'\n");
  filter->SetValue("EItemNumber", "");
  filter->SetValue("SumField", sum);
  return filter;
}

TEST(MidtierSchemeStore, EveryValueTypeRoundTrips) {
  DatabaseCopy copy;
  copy.login();
  midtier::SchemeStore store;
  auto filter = everyValueType();
  store.Save(400, "我的方案", *filter);
  auto loaded = store.Load(400, "我的方案");
  ASSERT_TRUE(loaded);
  ExpectSameDictionary(*filter, *loaded);
  EXPECT_NE(loaded, filter);
  EXPECT_GT(copy.open().queryInt("SELECT count(*) FROM t_ICItem"), 0);
}

TEST(MidtierSchemeStore, SchemesPerReportAndUserWithTheLastUsedMark) {
  DatabaseCopy copy;
  copy.login();
  midtier::SchemeStore store;
  lumo::Dictionary a, b;
  a.SetValue("BDate", "2024-01-01");
  b.SetValue("BDate", "2025-01-01");
  store.Save(400, "b方案", a);
  store.Save(400, "A方案", a);
  store.Save(400, kInjection, a);
  store.Save(401, "其它报表", a);
  EXPECT_EQ(store.List(400), (std::vector<std::string>{kInjection, "A方案", "b方案"}));

  store.Save(400, "a方案", b);  // same name in another case: replaced, new spelling kept
  EXPECT_EQ(store.List(400), (std::vector<std::string>{kInjection, "a方案", "b方案"}));
  EXPECT_EQ(store.Load(400, "A方案")->Value("BDate").text(), "2025-01-01");
  EXPECT_EQ(store.Load(400, "没有"), nullptr);

  EXPECT_EQ(store.LastUsed(400), "");
  store.SetLastUsed(400, "B方案");
  store.SetLastUsed(400, "a方案");
  EXPECT_EQ(store.LastUsed(400), "a方案");
  EXPECT_EQ(store.LastUsed(401), "");
  store.Save(400, "a方案", a);  // saving again keeps the mark
  EXPECT_EQ(store.LastUsed(400), "a方案");
  svctest::ExpectError([&] { store.SetLastUsed(400, "没有"); }, "TAV_GRFC.SchemeStore", {"没有", "400"});
  EXPECT_EQ(store.LastUsed(400), "a方案");  // the refused change left the mark alone

  copy.login(16395);  // another user sees none of them
  EXPECT_TRUE(store.List(400).empty());
  EXPECT_EQ(store.LastUsed(400), "");
  copy.login();

  store.Remove(400, "A方案");
  store.Remove(400, "没有");
  EXPECT_EQ(store.List(400), (std::vector<std::string>{kInjection, "b方案"}));
  EXPECT_EQ(store.LastUsed(400), "");  // removing the last-used scheme forgets the mark
  EXPECT_GT(copy.open().queryInt("SELECT count(*) FROM t_ICItem"), 0);
}

TEST(MidtierSchemeStore, DamagedAndUnsavableSchemesAreRefusedCleanly) {
  DatabaseCopy copy;
  copy.login();
  midtier::SchemeStore store;
  lumo::Dictionary filter;
  filter.SetValue("BDate", "2024-01-01");
  store.Save(498, "好的", filter);
  copy.open().exec("UPDATE t_RptFilterScheme SET FContent = 'TAVF1{3;' WHERE FName = '好的'");
  svctest::ExpectError([&] { store.Load(498, "好的"); }, "TAV_GRFC.SchemeStore", {"好的", "已损坏"});

  lumo::Dictionary unsavable;
  unsavable.SetValue("Rs", std::static_pointer_cast<plat::Object>(std::make_shared<lumo::Vector>()));
  unsavable.SetValue("Obj", std::make_shared<plat::Object>());
  EXPECT_THROW(store.Save(498, "坏的", unsavable), plat::Error);
  EXPECT_THROW(store.Save(498, " ", filter), plat::Error);
  EXPECT_EQ(store.List(498), std::vector<std::string>{"好的"});
}

}  // namespace
