// The report data service's shared members: currency scale, item decimals and the bill query.
#include <gtest/gtest.h>

#include "midtier/db/statement.h"
#include "midtier/services/shop_data.h"
#include "service_test_support.h"

namespace {

using svctest::DatabaseCopy;

TEST(MidtierShopData, CurrencyScaleFromTheProfileWithDefault) {
  DatabaseCopy copy;
  midtier::ShopData data;
  auto check = copy.open();
  EXPECT_EQ(data.GetCurrencyScale(copy.props()),
            check.queryInt("SELECT FValue FROM t_SystemProfile WHERE FCategory = 'GL' AND FKey = 'CurrencyScale'"));
  check.exec("UPDATE t_SystemProfile SET FValue = '4' WHERE FKey = 'CurrencyScale'");
  EXPECT_EQ(data.GetCurrencyScale(copy.props()), 4);
  check.exec("DELETE FROM t_SystemProfile WHERE FKey = 'CurrencyScale'");
  EXPECT_EQ(data.GetCurrencyScale(copy.props()), 2);
  check.exec("INSERT INTO t_SystemProfile VALUES ('GL', 'CurrencyScale', 'two')");
  svctest::ExpectError([&] { data.GetCurrencyScale(copy.props()); }, "TavMShopRpt.Data", {"GL/CurrencyScale", "two"});
}

// The decimals of known items are checked row by row in the cost reports' tests.
TEST(MidtierShopData, DecimalsOfUnknownItemsAreLeftAloneAndChangesAreSeen) {
  DatabaseCopy copy;
  midtier::ShopData data;
  auto check = copy.open();
  for (const plat::Variant& unknown : {plat::Variant("no-such-item"), plat::Variant::null(), plat::Variant()}) {
    int32_t qty = 7, price = 8;
    data.GetDecimal(copy.props(), unknown, qty, price);
    EXPECT_EQ(qty, 7);
    EXPECT_EQ(price, 8);
  }

  // The decimals are kept between calls; a change made elsewhere is seen as soon as the
  // connection has read the database again (here: another call of the report run).
  auto first = check.prepare("SELECT FNumber FROM t_ICItem ORDER BY FItemID LIMIT 1");
  ASSERT_TRUE(first.step());
  const std::string item = first.getText(0);
  first.reset();
  auto update = check.prepare("UPDATE t_ICItem SET FQtyDecimal = 6, FPriceDecimal = 5 WHERE FNumber = ?1");
  update.bind(1, item).run();
  data.GetCurrencyScale(copy.props());
  int32_t qty = 0, price = 0;
  data.GetDecimal(copy.props(), plat::Variant(item), qty, price);
  EXPECT_EQ(qty, 6);
  EXPECT_EQ(price, 5);
}

TEST(MidtierShopData, GetDataRunsTheBillQueryWithABoundId) {
  DatabaseCopy copy;
  midtier::ShopData data;
  auto check = copy.open();
  for (const std::string table : {"ICMO", "SEOrder"}) {
    auto bill = check.prepare("SELECT FInterID, FBillNo FROM " + table + " ORDER BY FInterID DESC LIMIT 1");
    ASSERT_TRUE(bill.step()) << table;
    plat::Variant query("Select FBillNo From " + table + " Where FInterID=" + std::to_string(bill.getInt64(0)));
    auto rs = data.GetData(copy.props(), query);
    ASSERT_EQ(rs->RecordCount(), 1) << table;
    EXPECT_EQ(rs->Value("FBillNo").text(), bill.getText(1));
  }
  const int64_t task = check.queryInt("SELECT min(FInterID) FROM ICMO");
  plat::Variant relaxed("  select fbillno\tfrom icmo where  FINTERID = " + std::to_string(task) + " ");
  EXPECT_EQ(data.GetData(copy.props(), relaxed)->RecordCount(), 1);
  plat::Variant absent("Select FBillNo From ICMO Where FInterID=999999999");
  EXPECT_EQ(data.GetData(copy.props(), absent)->RecordCount(), 0);
}

TEST(MidtierShopData, GetDataRefusesEveryOtherText) {
  DatabaseCopy copy;
  midtier::ShopData data;
  const int64_t items = copy.open().queryInt("SELECT count(*) FROM t_ICItem");
  const std::vector<plat::Variant> refused = {
      plat::Variant("Select FBillNo From ICMO Where FInterID=1; DROP TABLE t_ICItem"),
      plat::Variant("Select FBillNo From ICMO Where FInterID=1 OR 1=1"),
      plat::Variant("Select FBillNo From ICMO Where FInterID='1'"),
      plat::Variant("Select FBillNo From t_User Where FInterID=1"),
      plat::Variant("Select FName From ICMO Where FInterID=1"),
      plat::Variant("Select FBillNo From ICMO Where FInterID=1 -- A'; DROP TABLE t_ICItem; --"),
      plat::Variant("A'; DROP TABLE t_ICItem; --"),
      plat::Variant("Select FBillNo From ICMO Where FInterID=1.5"),
      plat::Variant("Select FBillNo From ICMO Where FInterID=1e3"),
      plat::Variant("Select FBillNo From ICMOX Where FInterID=1"),
      plat::Variant("SelectFBillNo From ICMO Where FInterID=1"),
      plat::Variant("DELETE FROM ICMO"),
      plat::Variant(""),
      plat::Variant(int32_t{1}),
      plat::Variant::null(),
  };
  for (plat::Variant query : refused) {
    svctest::ExpectError([&] { data.GetData(copy.props(), query); }, "TavMShopRpt.Data", {"拒绝执行"});
  }
  EXPECT_EQ(copy.open().queryInt("SELECT count(*) FROM t_ICItem"), items);
}

}  // namespace
