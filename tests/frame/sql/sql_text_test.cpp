#include <gtest/gtest.h>

#include "frame/fake_services.h"
#include "frame/sql/data_right.h"
#include "frame/sql/item_level.h"
#include "frame/sql/literal.h"

namespace {

// Dot positions worked out by hand: level n wraps level n-1 as CharIndex('.',FFullNumber,<p>+1).
const std::string P1 = "CharIndex('.',FFullNumber)";
const std::string P2 = "CharIndex('.',FFullNumber,CharIndex('.',FFullNumber)+1)";
const std::string P3 = "CharIndex('.',FFullNumber,CharIndex('.',FFullNumber,CharIndex('.',FFullNumber)+1)+1)";
const std::string P4 =
    "CharIndex('.',FFullNumber,CharIndex('.',FFullNumber,CharIndex('.',FFullNumber,CharIndex('.',FFullNumber)+1)+1)+"
    "1)";

std::string levelCase(const std::string& p, int level, const std::string& whole) {
  return " Case When " + p + "-1= -1 or FLevel<" + std::to_string(level + 1) + " THEN " + whole +
         " ELSE SUBSTRING(FNumber, 1," + p + "-1)  END, \r\n '',\r\n";
}

std::string join(int level) {
  const std::string l = std::to_string(level);
  return " left join t_Item t" + l + " On t0.FNumber" + l + "=t" + l + ".FNumber  AND t" + l +
         ".FItemClassID=4 AND t" + l + ".FDetail=0 \r\n";
}

}  // namespace

TEST(ItemLevel, OneLevelWholeText) {
  const std::string expected =
      "CREATE TABLE #ItemLevel( \r\n FNumber1 Varchar(355),\r\n FName1 Varchar(355),\r\n FItemID int,\r\n"
      " FNumber VARCHAR(355))\r\n"
      "\r\n"
      " Insert Into #ItemLevel SELECT  \r\n"
      " Case When CharIndex('.',FFullNumber)-1= -1 or FLevel<2 THEN FFullNumber ELSE SUBSTRING(FNumber, "
      "1,CharIndex('.',FFullNumber)-1)  END, \r\n"
      " '',\r\n"
      " FItemID,FNumber From t_Item\r\n Where FItemClassID=4\r\n AND FDetail=1 ##ITEMFILTER##"
      "\r\n"
      " Update t0 SET t0.FName1=t1.FName\r\n"
      " From #ItemLevel t0 left join t_Item t1 On t0.FNumber1=t1.FNumber  AND t1.FItemClassID=4 AND t1.FDetail=0 \r\n";
  EXPECT_EQ(frame::ItemLevelStatementsWith(true, 4, "", "", "", 1, 1, 0), expected);
}

TEST(ItemLevel, ThreeLevelsWithProductRange) {
  const std::string expected =
      "CREATE TABLE #ItemLevel( \r\n"
      " FNumber1 Varchar(355),\r\n FName1 Varchar(355),\r\n"
      " FNumber2 Varchar(355),\r\n FName2 Varchar(355),\r\n"
      " FNumber3 Varchar(355),\r\n FName3 Varchar(355),\r\n"
      " FItemID int,\r\n FNumber VARCHAR(355))\r\n\r\n"
      " Insert Into #ItemLevel SELECT  \r\n" +
      levelCase(P1, 1, "FFullNumber") + levelCase(P2, 2, "NULL") + levelCase(P3, 3, "NULL") +
      " FItemID,FNumber From t_Item\r\n Where FItemClassID=4\r\n AND FDetail=1"
      " AND FNumber>='01.01' AND FNumber<='O''Brien' ##ITEMFILTER##\r\n"
      " Update t0 SET t0.FName1=t1.FName,t0.FName2=t2.FName,t0.FName3=t3.FName\r\n From #ItemLevel t0" +
      join(1) + join(2) + join(3);
  EXPECT_EQ(frame::ItemLevelStatementsWith(true, 4, "", " 01.01 ", "O'Brien", 1, 3, 0), expected);
}

TEST(ItemLevel, StartingAtLevelThreeWrapsTwiceAndNamesWithNumbers) {
  const std::string expected =
      "CREATE TABLE #ItemLevel( \r\n"
      " FNumber3 Varchar(355),\r\n FName3 Varchar(355),\r\n"
      " FNumber4 Varchar(355),\r\n FName4 Varchar(355),\r\n"
      " FItemID int,\r\n FNumber VARCHAR(355))\r\n\r\n"
      " Insert Into #ItemLevel SELECT  \r\n" +
      levelCase(P3, 3, "NULL") + levelCase(P4, 4, "NULL") +
      " FItemID,FNumber From t_Item\r\n Where FItemClassID=4\r\n AND FDetail=1"
      " AND FNumber Like '01.%' AND FShortNumber>='0003' ##ITEMFILTER##\r\n"
      " Update t0 SET t0.FName3='[' + t3.FNumber + ']'+ t3.FName,t0.FName4='[' + t4.FNumber + ']'+ t4.FName\r\n"
      " From #ItemLevel t0" +
      join(3) + join(4);
  EXPECT_EQ(frame::ItemLevelStatementsWith(false, 4, "01", "0003", "", 3, 4, 1), expected);
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
