// The filter grid's base-data lookups: codes of a class in code order, the dialogs' one
// condition recognised, everything else refused.
#include <gtest/gtest.h>

#include "midtier/db/statement.h"
#include "midtier/services/grid_services.h"
#include "service_test_support.h"

namespace {

using svctest::DatabaseCopy;

std::vector<std::string> numbersOf(const std::vector<grfc::LookupItem>& items) {
  std::vector<std::string> numbers;
  for (const auto& item : items) numbers.push_back(item.number);
  return numbers;
}

std::vector<std::string> expectedNumbers(db::Database& check, const std::string& sql) {
  auto rows = check.prepare(sql);
  std::vector<std::string> numbers;
  while (rows.step()) numbers.push_back(rows.getText(0));
  return numbers;
}

TEST(MidtierLookupSource, CodesOfAClassWithTheProductCondition) {
  DatabaseCopy copy;
  copy.login();
  midtier::LookupSource source;
  auto check = copy.open();

  const auto products = source.Codes(4, " x2.FErpClsID<>4");
  EXPECT_EQ(numbersOf(products), expectedNumbers(check, "SELECT FNumber FROM t_ICItem WHERE FErpClsID <> 4 ORDER BY FNumber"));
  ASSERT_FALSE(products.empty());
  auto name = check.prepare("SELECT FName FROM t_Item WHERE FItemClassID = 4 AND FNumber = ?1");
  ASSERT_TRUE(name.bind(1, products.back().number).step());
  EXPECT_EQ(products.back().name, name.getText(0));
  EXPECT_EQ(numbersOf(source.Codes(4, "")), expectedNumbers(check, "SELECT FNumber FROM t_ICItem ORDER BY FNumber"));
  EXPECT_EQ(numbersOf(source.Codes(2, "")), expectedNumbers(check, "SELECT FNumber FROM t_Department ORDER BY FNumber"));
  EXPECT_EQ(source.Codes(4, "X2.ferpclsid = 4").size(),
            static_cast<size_t>(check.queryInt("SELECT count(*) FROM t_ICItem WHERE FErpClsID = 4")));
  EXPECT_TRUE(source.Codes(12, "").empty());
}

TEST(MidtierLookupSource, RefusesConditionsItDoesNotKnow) {
  DatabaseCopy copy;
  copy.login();
  midtier::LookupSource source;
  for (const char* condition : {"1=1", " x2.FErpClsID<>4 OR 1=1", " x2.FErpClsID<>4; DROP TABLE t_Item",
                                "x1.FName Like '%'", "x2.FErpClsID<>'4'", "A'; DROP TABLE t_ICItem; --"}) {
    svctest::ExpectError([&] { source.Codes(4, condition); }, "TAV_GRFC.LookupSource", {"不支持"});
  }
  EXPECT_GT(copy.open().queryInt("SELECT count(*) FROM t_ICItem"), 0);
}

}  // namespace
