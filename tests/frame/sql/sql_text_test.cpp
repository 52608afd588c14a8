#include <gtest/gtest.h>

#include <filesystem>

#include "frame/fake_services.h"
#include "frame/sql/data_right.h"
#include "frame/sql/item_level.h"
#include "frame/sql/literal.h"
#include "support/fragment_cases.h"

TEST(ItemLevel, LevelTablesAsWrittenOut) {
  const auto cases = support::readFragmentCases(std::filesystem::path(__FILE__).parent_path() / "item_level.cases");
  EXPECT_EQ(cases.size(), 3u);
  for (const support::FragmentCase& c : cases) {
    const std::string levels = c.arg("levels");  // "first-last"
    const std::string text = frame::ItemLevelStatementsWith(
        c.arg("longNumbers") == "1", 4, c.arg("classPrefix"), c.arg("begin"), c.arg("end"), std::stoi(levels),
        std::stoi(levels.substr(levels.find('-') + 1)), std::stoi(c.arg("nameStyle")));
    support::expectFragments(c, {{"ItemLevel", text}});
  }
}

TEST(SqlLiteral, QuotesDoubledTrimmedAndStripped) {
  EXPECT_EQ(frame::SqlLiteral("A'B", true, false), "'A''B'");
  EXPECT_EQ(frame::SqlLiteral("  x ", false, true), "x");
  EXPECT_EQ(frame::SqlLiteral(plat::Variant::null(), true, true), "''");
  EXPECT_EQ(frame::SqlLiteral(plat::Variant::null(), false, true), "");
  EXPECT_EQ(frame::SqlLiteralStripped(std::string("a\r\nb'\0c", 7), true, true, true), "'ab''c'");
  EXPECT_EQ(frame::DoubleQuotes("it's 'x'"), "it''s ''x''");
}

namespace {
lumo::VectorRef productionTables() {
  auto t = lumo::newVector();
  for (const char* n : {"T_ICItem", "t_Department", "t_Emp"}) t->Add(n);
  return t;
}
}  // namespace

TEST(DataRight, ProductionTablesNeverAskTheService) {
  fakes::install();
  auto rules = lumo::newVector();
  rules->Add(frame::DataRightRule("T_ICItem", "FItemID", "t1", "FItemID"));
  rules->Add(frame::DataRightRule("t_Department", "FItemID", "td", "FDeptID"));
  rules->Add(frame::DataRightRule("t_Emp", "FItemID", "te", "FEmpID"));
  rules->Add(frame::DataRightRule("t_AuxItem", "FItemID", "ta", "FAuxPropID"));
  std::string from, where;
  EXPECT_TRUE(frame::BuildDataRight(*productionTables(), *rules, from, where));
  EXPECT_TRUE(fakes::Rights::asked.empty());
  EXPECT_EQ(from, "");
  EXPECT_EQ(where, "");
}

TEST(DataRight, TwoRestrictedRulesJoinWithAnd) {
  fakes::install("UserID=16395;UserName=li;");
  fakes::Rights::restricted = {1, 4};
  auto tables = lumo::newVector();
  for (const char* n : {"t_Organization", "T_ICItem", "t_stock"}) tables->Add(n);
  auto rules = lumo::newVector();
  rules->Add(frame::DataRightRule("t_Organization", "FItemID", "o", "FCustID"));
  auto item = frame::DataRightRule("T_ICItem", "FItemID", "t1", "FItemID");
  rules->Add(item);
  auto stock = lumo::newDictionary();  // no alias of its own: the previous rule's alias holds
  stock->SetValue("DataTable", "t_stock");
  stock->SetValue("DataCol", "FItemID");
  rules->Add(stock);
  std::string from, where = "";
  frame::BuildDataRight(*tables, *rules, from, where);
  EXPECT_EQ(where, " CharIndex('16395',o.FRightUserID)>0  And  CharIndex('16395',t1.FRightUserID)>0 ");
  EXPECT_EQ(from, "");

  fakes::Rights::fail = true;
  EXPECT_THROW(frame::BuildDataRight(*tables, *rules, from, where), plat::Error);
}
