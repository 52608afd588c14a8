// The summary report's statement fragments, compared whole with texts written out by hand.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "frame/host/settings.h"
#include "frame/sql/item_level.h"
#include "production/rpt401/statements.h"

namespace {

using namespace production::rpt401;
using Texts = std::map<std::string, std::string>;

const std::string kColumns =
    "     FItemNumber varchar(355) null,\r\n"
    "     FItemShortNumber varchar(355) null,\r\n"
    "     FItemName varchar(355) null,\r\n"
    "     FModel varchar(355) null,\r\n"
    "     FBatchNo varchar(355) null,\r\n"
    "     FBaseUnitName varchar(355) null,\r\n"
    "     FStockUnitName varchar(355) null,\r\n"
    "     FBaseQty decimal(23,10) null,\r\n"
    "     FStockQty decimal(23,10) null,\r\n"
    "     FFinishBUnitName varchar(355) null,\r\n"
    "     FFinishSUnitName varchar(355) null,\r\n"
    "     FFinishBQty decimal(23,10) null,\r\n"
    "     FFinishSQty decimal(23,10) null,\r\n"
    "     FUnFinishBUnitName varchar(355) null,\r\n"
    "     FUnFinishSUnitName varchar(355) null,\r\n"
    "     FUnFinishBQty decimal(23,10) null,\r\n"
    "     FUnFinishSQty decimal(23,10) null,\r\n"
    "     FQtyDecimal SmallInt,\r\n"
    "     FPriceDecimal SmallInt,\r\n"
    "     FSumSort smallint not null Default(0))\r\n";
const std::string kSumsByBatch =
    "'','','' ,v1.FBatchNo,'','',sum(v1.FBaseQty),sum(v1.FStockQty),'','',sum(v1.FFinishBQty),sum(v1.FFinishSQty),"
    "'','',0,0,Null,Null,";
const std::string kSumsByProduct =
    "'','','' ,'','','',sum(v1.FBaseQty),sum(v1.FStockQty),'','',sum(v1.FFinishBQty),sum(v1.FFinishSQty),"
    "'','',0,0,Null,Null,";
const std::string kScope = " FItemID In (SELECT DISTINCT ##ITEMID## FROM #T401) ";
const std::string kPlainFrom = " FROM #T401 v1\r\nJoin t_ICItem t1 On v1.FItemID=t1.FItemID\r\n WHERE 1=1 \r\n";

lumo::DictionaryRef filterOf(std::initializer_list<std::pair<const char*, plat::Variant>> values) {
  auto f = lumo::newDictionary();
  for (const auto& [key, value] : values) f->SetValue(key, value);
  return f;
}

Texts textsOf(const lumo::Dictionary& fragments) {
  Texts out;
  for (const auto& [key, value] : fragments.entries()) out[key] = value.text();
  return out;
}

Texts build(const lumo::DictionaryRef& filter, const std::string& itemRange = "") {
  StatementParts parts;
  PrepareStatementParts(*filter, parts);
  const bool graded = filter->Value("GroupBy").text() == "1";
  if (graded && filter->Value("SumMode").text() == "1") return textsOf(*BuildLevelStatement(4, *filter, parts));
  if (graded) return textsOf(*BuildDeptStatement(*filter, parts, itemRange));
  return textsOf(*BuildPlainStatement(*filter, parts, itemRange));
}

TEST(Rpt401Statements, PlainVariantByBatchAndByProduct) {
  const Texts byBatch = {
      {"SElECT",
       "SET NOCOUNT ON\r\nCREATE TABLE #DATA(\r\n" + kColumns +
           "\r\n  INSERT INTO #DATA  SELECT CASE   WHEN GROUPING(t1.FNumber)=1 THEN '合计' \r\n"
           " ELSE t1.FNumber END, \r\n" +
           kSumsByBatch + "\r\n CASE  WHEN GROUPING(t1.FNumber)=1 THEN 101 \r\n ELSE 0 END " + kPlainFrom +
           "\r\n AND t1.FNumber>='01.01'\r\n"},
      {"ITEMFILTER", kScope},
      {"GROUPBY",
       "Group by t1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(t1.FNumber)=1"},
      {"EndSel", "SELECT * FROM #DATA  \r\n order by  FSumSort,FItemNumber \r\nDROP TABLE #DATA  \r\n"}};
  EXPECT_EQ(build(filterOf({{"GroupBy", int16_t{0}}, {"GroupByBatchNo", int16_t{0}}, {"OnlyShowSum", int16_t{0}}}),
                  " AND t1.FNumber>='01.01'"),
            byBatch);

  const Texts byProduct = {
      {"SElECT",
       "SET NOCOUNT ON\r\nCREATE TABLE #DATA(\r\n" + kColumns +
           "\r\n  INSERT INTO #DATA  SELECT CASE   WHEN GROUPING(t1.FNumber)=1 THEN '合计' \r\n"
           " ELSE t1.FNumber END, \r\n" +
           kSumsByProduct + "\r\n CASE  WHEN GROUPING(t1.FNumber)=1 THEN 101 \r\n ELSE 0 END " + kPlainFrom +
           "\r\n\r\n"},
      {"ITEMFILTER", kScope},
      {"GROUPBY", "Group by t1.FNumber WITH ROLLUP"},
      {"EndSel", "SELECT * FROM #DATA  WHERE FSumSort>100\r\n order by  FSumSort,FItemNumber \r\nDROP TABLE #DATA  \r\n"}};
  EXPECT_EQ(build(filterOf({{"GroupByBatchNo", int16_t{1}}, {"OnlyShowSum", int16_t{1}}})), byProduct);
}

TEST(Rpt401Statements, DepartmentVariant) {
  auto sumField = filterOf({{"FSQLColumnName", "FDeptID"}});
  const Texts expected = {
      {"SElECT",
       "CREATE TABLE #DATA(\r\n  FPropName varchar(355) null, FPropNumber varchar(355) null,\r\n" + kColumns +
           "\r\n INSERT INTO #DATA  SELECT CASE  WHEN GROUPING(v1.FDeptID)=1 THEN '合计'\r\n"
           " WHEN GROUPING(v1.FItemID)=1 THEN  CONVERT(varchar(355),v1.FDeptID)+'(小计)' \r\n"
           " ELSE CONVERT(varchar(355),v1.FDeptID) END, \r\n"
           " (Select FNumber From t_DepartMent Where FItemID = v1.FDeptID),"
           " (Select FNumber From t_ICItem Where FItemID = v1.FItemID)," +
           kSumsByBatch +
           " CASE WHEN GROUPING(v1.FDeptID)=1 THEN 101\r\n WHEN  GROUPING(v1.FItemID)=1 THEN 102 ELSE 0 END "
           " FROM #T401 v1\r\n Left Join t_ICItem t1 On v1.FItemID=t1.FItemID\r\n"
           " Left Join t_emp te On v1.FEmpID=te.FItemID\r\n Left Join t_DepartMent td On v1.FDeptID=td.FItemID\r\n"
           " WHERE 1=1 \r\n\r\n AND t1.FNumber<='03'"},
      {"ITEMFILTER", kScope},
      {"GROUPBY",
       " GROUP BY v1.FDeptID,v1.FItemID,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or "
       "grouping(v1.FItemID)=1 or grouping(v1.FDeptID)=1\r\n"
       "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,'') +'(小计)' from #DATA Left Join t_DepartMent  "
       "on cast(t_DepartMent.FItemID as varchar(10))=replace(#DATA.FPropName,'(小计)','') where #DATA.FSumSort = 102\r\n"
       "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,''),#DATA.FPropNumber =isnull(t_DepartMent.FNumber,'')"
       "  from #DATA Left Join t_DepartMent  On cast(t_DepartMent.FItemID as varchar(10))=#DATA.FPropName  Where "
       "FSumSort = 0 \r\n"},
      {"EndSel", "SELECT * FROM #DATA  WHERE FSumSort>100\r\nDROP TABLE #DATA  \r\n"}};
  EXPECT_EQ(build(filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{2}}, {"SumField", sumField},
                            {"OnlyShowSum", int16_t{1}}, {"GroupByBatchNo", int16_t{0}}}),
                  " AND t1.FNumber<='03'"),
            expected);

  // By product: no batch in the select list, the rollup stops at the product.
  const Texts byProduct = build(filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{2}}, {"SumField", sumField},
                                          {"GroupByBatchNo", int16_t{1}}}));
  EXPECT_TRUE(byProduct.at("GROUPBY").starts_with(" GROUP BY v1.FDeptID,v1.FItemID WITH ROLLUP \r\nupdate #DATA"));
  EXPECT_NE(byProduct.at("SElECT").find(kSumsByProduct), std::string::npos);
  EXPECT_EQ(byProduct.at("EndSel"), "SELECT * FROM #DATA  \r\nDROP TABLE #DATA  \r\n");
}

TEST(Rpt401Statements, ClassLevelOneToOneWrittenOut) {
  const std::string levelTable = frame::ItemLevelStatementsWith(frame::LongNumberFlag(), 4, "", "", "", 1, 1, 0);
  const Texts expected = {
      {"SElECT", "SET NOCOUNT ON\r\n" + levelTable + "\r\nCREATE TABLE #DATA(\r\nFName1 varchar(355) Null,\r\n" +
                     kColumns + "INSERT INTO #DATA \r\nSELECT ItemLevel.FName1,t1.FNumber," + kSumsByProduct +
                     "CASE  WHEN   Grouping(ItemLevel.FName1)=1 THEN 106\r\n  WHEN   Grouping(t1.FNumber)=1 THEN 107"
                     "  ELSE   0 END \r\n FROM #T401 v1\r\nJoin t_ICItem t1 On v1.FItemID=t1.FItemID\r\n"
                     ",#ItemLevel ItemLevel \r\n WHERE 1=1 \r\n\r\n AND t1.FItemID=ItemLevel.FItemID"},
      {"ITEMFILTER", " FItemID In (SELECT DISTINCT FItemID FROM #T401) "},
      {"GROUPBY", " Group By ItemLevel.FName1,t1.FNumber WITH ROLLUP "},
      {"EndSel",
       "Update #Data Set  FName1=ISNULL(FName1,'')+'(小计)'  WHERE FSumSort=107\r\n"
       "Update #Data Set FName1='合计' WHERE FSumSort=106\r\nUpdate #Data Set FSumSort=101   WHERE FSumSort=106\r\n\r\n"
       "SELECT * FROM #DATA  \r\nDROP TABLE #DATA  \r\nDROP TABLE #ItemLevel"}};
  EXPECT_EQ(build(filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{1}}, {"BLevel", 1.0}, {"ELevel", 1.0},
                            {"GroupByBatchNo", int16_t{1}}, {"OnlyShowSum", int16_t{0}}})),
            expected);
}

TEST(Rpt401Statements, ClassLevelRanges) {
  // Levels 1-3 by batch with only the sums, the product range going to the level table.
  const std::string col = frame::LongNumberFlag() ? "FNumber" : "FShortNumber";
  Texts oneToThree = build(filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{1}}, {"BLevel", 1.0},
                                     {"ELevel", 3.0}, {"GroupByBatchNo", int16_t{0}}, {"OnlyShowSum", int16_t{1}},
                                     {"BItemNumber", "01"}, {"EItemNumber", "02"}}));
  const std::string levels13 = frame::ItemLevelStatementsWith(frame::LongNumberFlag(), 4, "", "01", "02", 1, 3, 0);
  EXPECT_NE(levels13.find(" AND FDetail=1 AND " + col + ">='01' AND " + col + "<='02' ##ITEMFILTER##"),
            std::string::npos);
  EXPECT_EQ(oneToThree.at("SElECT"),
            "SET NOCOUNT ON\r\n" + levels13 +
                "\r\nCREATE TABLE #DATA(\r\nFName1 varchar(355) Null,\r\nFName2 varchar(355) Null,\r\n"
                "FName3 varchar(355) Null,\r\n" +
                kColumns + "INSERT INTO #DATA \r\nSELECT ItemLevel.FName1,ItemLevel.FName2,ItemLevel.FName3,t1.FNumber," +
                kSumsByBatch +
                "CASE  WHEN   Grouping(ItemLevel.FName1)=1 THEN 106\r\n  WHEN   Grouping(ItemLevel.FName2)=1 THEN 107\r\n"
                "  WHEN   Grouping(ItemLevel.FName3)=1 THEN 108\r\n  WHEN   Grouping(t1.FNumber)=1 THEN 109  ELSE   0 END "
                "\r\n FROM #T401 v1\r\nJoin t_ICItem t1 On v1.FItemID=t1.FItemID\r\n,#ItemLevel ItemLevel \r\n"
                " WHERE 1=1 \r\n\r\n AND t1.FItemID=ItemLevel.FItemID");
  EXPECT_EQ(oneToThree.at("GROUPBY"),
            " Group By ItemLevel.FName1,ItemLevel.FName2,ItemLevel.FName3,t1.FNumber,v1.FBatchNo WITH ROLLUP having "
            "grouping(v1.FBatchNo)=0 or grouping(t1.FNumber)=1");
  EXPECT_EQ(oneToThree.at("EndSel"),
            "Update #Data Set  FName1=ISNULL(FName1,'')+'(小计)'  WHERE FSumSort=107\r\n"
            "Update #Data Set  FName2=ISNULL(FName2,'')+'(小计)'  WHERE FSumSort=108\r\n"
            "Update #Data Set  FName3=ISNULL(FName3,'')+'(小计)'  WHERE FSumSort=109\r\n"
            "Update #Data Set FName1='合计' WHERE FSumSort=106\r\nUpdate #Data Set FSumSort=101   WHERE FSumSort=106\r\n"
            "\r\nSELECT * FROM #DATA  WHERE FSumSort>100\r\nDROP TABLE #DATA  \r\nDROP TABLE #ItemLevel");

  // Levels 2-4 by product: codes start at 107, the total is recoded from 107.
  Texts twoToFour = build(filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{1}}, {"BLevel", 2.0},
                                    {"ELevel", 4.0}, {"GroupByBatchNo", int16_t{1}}}));
  const std::string levels24 = frame::ItemLevelStatementsWith(frame::LongNumberFlag(), 4, "", "", "", 2, 4, 0);
  EXPECT_TRUE(twoToFour.at("SElECT").starts_with("SET NOCOUNT ON\r\n" + levels24 + "\r\nCREATE TABLE #DATA(\r\n"
                                                 "FName2 varchar(355) Null,\r\nFName3 varchar(355) Null,\r\n"
                                                 "FName4 varchar(355) Null,\r\n" + kColumns + "INSERT INTO #DATA"));
  EXPECT_NE(twoToFour.at("SElECT").find("SELECT ItemLevel.FName2,ItemLevel.FName3,ItemLevel.FName4,t1.FNumber," +
                                        kSumsByProduct +
                                        "CASE  WHEN   Grouping(ItemLevel.FName2)=1 THEN 107\r\n"
                                        "  WHEN   Grouping(ItemLevel.FName3)=1 THEN 108\r\n"
                                        "  WHEN   Grouping(ItemLevel.FName4)=1 THEN 109\r\n"
                                        "  WHEN   Grouping(t1.FNumber)=1 THEN 110  ELSE   0 END \r\n"),
            std::string::npos);
  EXPECT_EQ(twoToFour.at("GROUPBY"), " Group By ItemLevel.FName2,ItemLevel.FName3,ItemLevel.FName4,t1.FNumber WITH ROLLUP ");
  EXPECT_EQ(twoToFour.at("EndSel"),
            "Update #Data Set  FName2=ISNULL(FName2,'')+'(小计)'  WHERE FSumSort=108\r\n"
            "Update #Data Set  FName3=ISNULL(FName3,'')+'(小计)'  WHERE FSumSort=109\r\n"
            "Update #Data Set  FName4=ISNULL(FName4,'')+'(小计)'  WHERE FSumSort=110\r\n"
            "Update #Data Set FName2='合计' WHERE FSumSort=107\r\nUpdate #Data Set FSumSort=101   WHERE FSumSort=107\r\n"
            "\r\nSELECT * FROM #DATA  \r\nDROP TABLE #DATA  \r\nDROP TABLE #ItemLevel");
}

TEST(Rpt401Statements, RefusesBadLevelsAndMissingSumField) {
  StatementParts parts;
  for (auto [first, last] : {std::pair{3.0, 2.0}, std::pair{0.0, 2.0}, std::pair{1.0, 99.0}}) {
    auto f = filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{1}}, {"BLevel", first}, {"ELevel", last}});
    EXPECT_THROW(BuildLevelStatement(4, *f, parts), plat::Error) << first << "-" << last;
  }
  auto noField = filterOf({{"GroupBy", int16_t{1}}, {"SumMode", int32_t{2}}});
  EXPECT_THROW(BuildDeptStatement(*noField, parts, ""), plat::Error);
}

TEST(Rpt401Statements, ItemRangeCondition) {
  struct Case {
    int mode;
    const char *begin, *end, *classNumber;
    bool longNumbers;
    const char* expected;
  };
  const Case cases[] = {
      {0, "", "", "", true, ""},
      {0, "", "03", "", true, " AND t1.FNumber<='03'"},
      {0, " 01 ", "02", "", false, " AND t1.FShortNumber>='01' AND t1.FShortNumber<='02'"},
      {0, "A''B\r\n", "", "", true, " AND t1.FNumber>='A''''B'"},
      {1, "01", "02", "01.02", true, " AND t1.FNumber Like '01.02.%'"},
      {1, "01", "02", "", true, ""},
  };
  for (const Case& c : cases) {
    auto f = filterOf({{"Mode", int16_t(c.mode)}, {"BItemNumber", c.begin}, {"EItemNumber", c.end},
                       {"ItemClassNumber", c.classNumber}});
    EXPECT_EQ(ItemRangeCondition(*f, c.longNumbers), c.expected) << c.begin << ".." << c.end;
  }
}

}  // namespace
