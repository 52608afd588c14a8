// Filter schemes in the company database (stored as the scheme codec's text, whose round trip of
// every value type scheme_codec_test checks): schemes are kept per report and user; the last-used
// mark; damaged and unsavable schemes.
#include <gtest/gtest.h>

#include "midtier/services/grid_services.h"
#include "platform/lumo/vector.h"
#include "service_test_support.h"

namespace {

using svctest::DatabaseCopy;

constexpr const char* kInjection = "A'; DROP TABLE t_ICItem; --";

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
