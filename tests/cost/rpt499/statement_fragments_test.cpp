// The comprehensive report's statement fragments compared as whole texts, written out line by
// line: plain and class-level, per batch and per product, currency scales 2 and 4.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "cost/rpt499/statement_fragments.h"
#include "frame/sql/item_level.h"

namespace {

// Each line followed by CR LF.
std::string lines(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) out += p + "\r\n";
  return out;
}

std::string columnList(const std::string& s) {
  return lines({
      "     FNumber  varchar(355) null,",
      "     FItemID  varchar(355) null,",
      "     FName  varchar(355) null,",
      "     FModel  varchar(355) null,",
      "     FBatchNo  varchar(355) null,",
      "     FUnit  varchar(355) null,",
      "     FPeriodStartNum decimal(23,10) null,",
      "     FPeriodStartCost decimal(18," + s + ") null, ",
      "     FCurInNum decimal(23,10) null, ",
      "     FCurInCost decimal(18," + s + ")   null,",
      "     FCurOutNum decimal(23,10)  null,",
      "     FCurOutPrice decimal(23,10) null, ",
      "     FCurOutCost decimal(18," + s + ") null, ",
      "     FPeriodEndNum decimal(23,10)   null,",
      "     FPeriodEndPrice decimal(23,10)   null,",
      "     FPeriodEndCost decimal(18," + s + ") null, ",
      "     FSumSort smallint not null Default(0))",
  });
}

const std::string kSums =
    "sum(v1.FPeriodStartNum),sum(v1.FPeriodStartCost),sum(v1.FCurInNum),sum(v1.FCurInCost),sum(v1.FCurOutNum),"
    "(case when sum(v1.FCurOutNum)<>0 then Cast(sum(v1.FCurOutCost) as decimal(23,10))/Cast(sum(v1.FCurOutNum) as "
    "decimal(23,10)) else 0 end),sum(v1.FCurOutCost),sum(v1.FPeriodEndNum),(case when sum(v1.FPeriodEndNum)<>0 then "
    "sum(v1.FPeriodEndCost)/sum(v1.FPeriodEndNum) else 0 end),sum(v1.FPeriodEndCost),";
const std::string kPerBatchTotals = "'','','',v1.FBatchNo,''," + kSums;
const std::string kMergedTotals = "'','','','',''," + kSums;

lumo::DictionaryRef filterOf(int groupBy, int sumMode, int groupByBatchNo, int onlyShowSum, int bLevel = 1,
                             int eLevel = 1, const std::string& bItem = "", const std::string& eItem = "") {
  auto f = lumo::newDictionary();
  f->SetValue("GroupBy", static_cast<int16_t>(groupBy));
  f->SetValue("SumMode", int32_t{sumMode});
  f->SetValue("GroupByBatchNo", static_cast<int16_t>(groupByBatchNo));
  f->SetValue("OnlyShowSum", static_cast<int16_t>(onlyShowSum));
  f->SetValue("BLevel", std::to_string(bLevel));
  f->SetValue("ELevel", std::to_string(eLevel));
  f->SetValue("BItemNumber", bItem);
  f->SetValue("EItemNumber", eItem);
  return f;
}

void ExpectFragments(const lumo::Dictionary& fragments, const std::string& select, const std::string& groupBy,
                     const std::string& itemFilter, const std::string& endSel) {
  EXPECT_EQ(fragments.Count(), 6);
  EXPECT_EQ(fragments.Value("Select").text(), select);
  EXPECT_EQ(fragments.Value("GROUPBY").text(), groupBy);
  EXPECT_EQ(fragments.Value("ITEMFILTER").text(), itemFilter);
  EXPECT_EQ(fragments.Value("Filter").text(), "");
  EXPECT_EQ(fragments.Value("AppendFilter").text(), "");
  EXPECT_EQ(fragments.Value("EndSel").text(), endSel);
}

TEST(StatementParts, PreparedFromTheFilter) {
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filterOf(0, 1, 0, 0), 2);
  EXPECT_EQ(parts.columns, columnList("2"));
  EXPECT_EQ(parts.totals, kPerBatchTotals);
  EXPECT_EQ(parts.from, " FROM #T499 v1\r\n");
  EXPECT_EQ(parts.where, " WHERE 1=1 \r\n");

  cost::PrepareStatementParts(parts, *filterOf(1, 1, 1, 0), 4);
  EXPECT_EQ(parts.columns, columnList("4"));
  EXPECT_EQ(parts.totals, kMergedTotals);

  // A roll-up by anything but the product class keeps the clauses an earlier filter left.
  cost::StatementParts kept{"", "", " FROM earlier", " WHERE earlier"};
  cost::PrepareStatementParts(kept, *filterOf(1, 2, 0, 0), 2);
  EXPECT_EQ(kept.from, " FROM earlier");
  EXPECT_EQ(kept.where, " WHERE earlier");
  EXPECT_EQ(kept.totals, kPerBatchTotals);
}

TEST(StatementFragments, PlainPerBatchScale2) {
  auto filter = filterOf(0, 1, 0, 0);
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filter, 2);
  const std::string select = lines({"If Object_ID('tempdb..#Data') Is Not Null Drop Table #Data",
                                    "Create Table #Data("}) +
                             columnList("2") + "\r\n" +
                             lines({" Insert Into #Data ", "", " Select Case  When Grouping(v1.FNumber)=1 THEN '合计' ",
                                    " Else v1.FNumber END, ", kPerBatchTotals,
                                    " Case  When Grouping(v1.FNumber)=1 THEN 101 ", " Else 0 END  FROM #T499 v1",
                                    " WHERE 1=1 ", "", ""});
  ExpectFragments(*cost::PlainFragments(parts, *filter), select,
                  "Group by v1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(v1.FNumber)=1",
                  "", "Select * From #Data t\r\n\r\n");
}

TEST(StatementFragments, PlainPerProductScale4OnlySums) {
  auto filter = filterOf(0, 0, 1, 1);
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filter, 4);
  const std::string select = lines({"If Object_ID('tempdb..#Data') Is Not Null Drop Table #Data",
                                    "Create Table #Data("}) +
                             columnList("4") + "\r\n" +
                             lines({" Insert Into #Data ", "", " Select Case  When Grouping(v1.FNumber)=1 THEN '合计' ",
                                    " Else v1.FNumber END, ", kMergedTotals,
                                    " Case  When Grouping(v1.FNumber)=1 THEN 101 ", " Else 0 END  FROM #T499 v1",
                                    " WHERE 1=1 ", "", ""});
  ExpectFragments(*cost::PlainFragments(parts, *filter), select, "Group by v1.FNumber WITH ROLLUP ", "",
                  "Select * From #Data t\r\nWhere FSumSort>100\r\n");
}

// Levels 2 to 3 of the class tree, per batch, a product range with a quote, long numbers.
TEST(StatementFragments, ClassLevelsTwoToThreePerBatchScale2) {
  auto filter = filterOf(1, 1, 0, 0, 2, 3, "01.01", "02'x");
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filter, 2);
  // The level table's own text is checked whole with the item-level statements.
  const std::string itemLevels = frame::ItemLevelStatementsWith(true, 4, "", "01.01", "02'x", 2, 3, 0);
  const std::string select =
      lines({"SET NOCOUNT ON"}) + itemLevels + "\r\n" +
      lines({"If Object_ID('tempdb..#Data') Is Not Null Drop Table #Data", "Create Table #Data(",
             "FName2 Varchar(355) Null,", "FName3 Varchar(355) Null,"}) +
      columnList("2") + lines({"Insert Into #Data "}) + "Select tt1.FName2,tt1.FName3,v1.FNumber," + kPerBatchTotals +
      lines({"Case   When   Grouping(tt1.FName2)=1 THEN 107", "  When   Grouping(tt1.FName3)=1 THEN 108",
             "  When  Grouping(v1.FNumber)=1 THEN 109  Else   0 END ", " FROM #T499 v1", ",#ItemLevel tt1",
             " WHERE 1=1 ", ""}) +
      " AND v1.FItemID=tt1.FItemID";
  const std::string endSel = lines({"Update #Data Set  FName2=FName2+'(小计)'  Where FSumSort=108",
                                    "Update #Data Set  FName3=FName3+'(小计)'  Where FSumSort=109",
                                    "Update #Data Set FName2='合计' Where FSumSort=107",
                                    "Update #Data Set FSumSort=101 Where FSumSort=107", "",
                                    "Select * From #Data td", "Where 1=1", ""}) +
                             "Drop Table #ItemLevel";
  ExpectFragments(*cost::ClassLevelFragments(parts, *filter, true), select,
                  " Group By tt1.FName2,tt1.FName3,v1.FNumber,v1.FBatchNo  WITH ROLLUP having grouping(v1.FBatchNo)=0 "
                  "or grouping(v1.FNumber)=1",
                  " And exists (Select FItemID From #T499  Where #T499.FItemID=t_Item.FItemID)", endSel);
}

// One level, per product, only sums, scale 4, short numbers and an open product range.
TEST(StatementFragments, ClassLevelOneLevelPerProductScale4OnlySums) {
  auto filter = filterOf(1, 1, 1, 1, 1, 1);
  cost::StatementParts parts;
  cost::PrepareStatementParts(parts, *filter, 4);
  const std::string itemLevels = frame::ItemLevelStatementsWith(false, 4, "", "", "", 1, 1, 0);
  const std::string select =
      lines({"SET NOCOUNT ON"}) + itemLevels + "\r\n" +
      lines({"If Object_ID('tempdb..#Data') Is Not Null Drop Table #Data", "Create Table #Data(",
             "FName1 Varchar(355) Null,"}) +
      columnList("4") + lines({"Insert Into #Data "}) + "Select tt1.FName1,v1.FNumber," + kMergedTotals +
      lines({"Case   When   Grouping(tt1.FName1)=1 THEN 106", "  When  Grouping(v1.FNumber)=1 THEN 107  Else   0 END ",
             " FROM #T499 v1", ",#ItemLevel tt1", " WHERE 1=1 ", ""}) +
      " AND v1.FItemID=tt1.FItemID";
  const std::string endSel = lines({"Update #Data Set  FName1=FName1+'(小计)'  Where FSumSort=107",
                                    "Update #Data Set FName1='合计' Where FSumSort=106",
                                    "Update #Data Set FSumSort=101 Where FSumSort=106", "", "Select * From #Data td",
                                    "Where 1=1", " And td.FSumSort>100"}) +
                             "Drop Table #ItemLevel";
  ExpectFragments(*cost::ClassLevelFragments(parts, *filter, false), select, " Group By tt1.FName1,v1.FNumber WITH ROLLUP",
                  cost::kItemFilter, endSel);
}

}  // namespace
