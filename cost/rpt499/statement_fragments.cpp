#include "cost/rpt499/statement_fragments.h"

#include "cost/filter/filter_values.h"
#include "frame/host/context.h"
#include "frame/sql/item_level.h"

namespace cost {
namespace {

using frame::Msg;
const std::string kCrLf = frame::kCrLf;

std::string columnList(const std::string& s) {
  const char* const lines[] = {
      "     FNumber  varchar(355) null,",
      "     FItemID  varchar(355) null,",
      "     FName  varchar(355) null,",
      "     FModel  varchar(355) null,",
      "     FBatchNo  varchar(355) null,",
      "     FUnit  varchar(355) null,",
      "     FPeriodStartNum decimal(23,10) null,",
  };
  std::string text;
  for (const char* line : lines) text += line + kCrLf;
  text += "     FPeriodStartCost decimal(18," + s + ") null, " + kCrLf;
  text += "     FCurInNum decimal(23,10) null, " + kCrLf;
  text += "     FCurInCost decimal(18," + s + ")   null," + kCrLf;
  text += "     FCurOutNum decimal(23,10)  null," + kCrLf;
  text += "     FCurOutPrice decimal(23,10) null, " + kCrLf;
  text += "     FCurOutCost decimal(18," + s + ") null, " + kCrLf;
  text += "     FPeriodEndNum decimal(23,10)   null," + kCrLf;
  text += "     FPeriodEndPrice decimal(23,10)   null," + kCrLf;
  text += "     FPeriodEndCost decimal(18," + s + ") null, " + kCrLf;
  text += "     FSumSort smallint not null Default(0))" + kCrLf;
  return text;
}

// Output price: cost over quantity, both cast; end price without the cast. Both 0 when the
// quantity total is 0.
std::string totalList(bool perBatch) {
  return std::string("'','','',") + (perBatch ? "v1.FBatchNo" : "''") +
         ",'',sum(v1.FPeriodStartNum),sum(v1.FPeriodStartCost),sum(v1.FCurInNum),sum(v1.FCurInCost),"
         "sum(v1.FCurOutNum),(case when sum(v1.FCurOutNum)<>0 then Cast(sum(v1.FCurOutCost) as decimal(23,10))/"
         "Cast(sum(v1.FCurOutNum) as decimal(23,10)) else 0 end),sum(v1.FCurOutCost),sum(v1.FPeriodEndNum),"
         "(case when sum(v1.FPeriodEndNum)<>0 then sum(v1.FPeriodEndCost)/sum(v1.FPeriodEndNum) else 0 end),"
         "sum(v1.FPeriodEndCost),";
}

const char* kDropData = "If Object_ID('tempdb..#Data') Is Not Null Drop Table #Data";

lumo::DictionaryRef fragments(std::string select, std::string groupBy, std::string itemFilter, std::string endSel) {
  auto d = lumo::newDictionary();
  d->SetValue("Select", std::move(select));
  d->SetValue("GROUPBY", std::move(groupBy));
  d->SetValue("ITEMFILTER", std::move(itemFilter));
  d->SetValue("Filter", "");
  d->SetValue("AppendFilter", "");
  d->SetValue("EndSel", std::move(endSel));
  return d;
}

}  // namespace

void PrepareStatementParts(StatementParts& parts, const lumo::Dictionary& filter, int32_t scale) {
  const std::string s = std::to_string(scale);
  parts.totals = totalList(FilterEquals(filter, "GroupByBatchNo", 0));
  if (!FilterEquals(filter, "GroupBy", 1) || FilterEquals(filter, "SumMode", 1)) {
    parts.from = " FROM #T499 v1" + kCrLf;
    parts.where = " WHERE 1=1 " + kCrLf;
  }
  parts.columns = columnList(s);
}

lumo::DictionaryRef PlainFragments(const StatementParts& parts, const lumo::Dictionary& filter) {
  std::string select = kDropData + kCrLf;
  select += "Create Table #Data(" + kCrLf;
  select += parts.columns + kCrLf;
  select += " Insert Into #Data " + kCrLf + kCrLf;
  select += " Select Case  When Grouping(v1.FNumber)=1 THEN '" + Msg("合计") + "' " + kCrLf;
  select += " Else v1.FNumber END, " + kCrLf;
  select += parts.totals + kCrLf;
  select += " Case  When Grouping(v1.FNumber)=1 THEN 101 " + kCrLf + " Else 0 END ";
  select += parts.from + parts.where + kCrLf + kCrLf;

  std::string groupBy = FilterEquals(filter, "GroupByBatchNo", 0)
                            ? "Group by v1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or "
                              "grouping(v1.FNumber)=1"
                            : "Group by v1.FNumber WITH ROLLUP ";
  std::string endSel = "Select * From #Data t" + kCrLf;
  if (FilterEquals(filter, "OnlyShowSum", 1)) endSel += "Where FSumSort>100";
  endSel += kCrLf;
  return fragments(std::move(select), std::move(groupBy), "", std::move(endSel));
}

lumo::DictionaryRef ClassLevelFragments(const StatementParts& parts, const lumo::Dictionary& filter,
                                        bool longNumbers) {
  const int32_t first = filter.Value("BLevel").toInt32();
  const int32_t last = filter.Value("ELevel").toInt32();
  const std::string itemLevels = frame::ItemLevelStatementsWith(longNumbers, 4, "", FilterText(filter, "BItemNumber"),
                                                                FilterText(filter, "EItemNumber"), first, last, 0);

  std::string levelColumns, levelKeys, kindCases, updates;
  int32_t level = first;
  for (; level <= last; ++level) {
    const std::string n = std::to_string(level);
    levelColumns += "FName" + n + " Varchar(355) Null," + kCrLf;
    levelKeys += "tt1.FName" + n + ",";
    kindCases += "  When   Grouping(tt1.FName" + n + ")=1 THEN " + std::to_string(level + 105) + kCrLf;
    updates += "Update #Data Set  FName" + n + "=FName" + n + "+'(" + Msg("小计") + ")' " + " Where FSumSort=" +
               std::to_string(level + 106) + kCrLf;
  }
  const std::string grandTotal = std::to_string(first + 105);
  updates += "Update #Data Set FName" + std::to_string(first) + "='" + Msg("合计") + "' Where FSumSort=" + grandTotal +
             kCrLf;
  updates += "Update #Data Set FSumSort=101 Where FSumSort=" + grandTotal + kCrLf;
  // After the loop `level` is one past the last level: the product's own roll-up.
  const std::string kind =
      "Case " + kindCases + "  When  Grouping(v1.FNumber)=1 THEN " + std::to_string(level + 105) + "  Else   0 END " + kCrLf;

  const bool perBatch = FilterEquals(filter, "GroupByBatchNo", 0);
  std::string grouping = " Group By " + levelKeys + (perBatch ? "v1.FNumber,v1.FBatchNo " : "v1.FNumber");

  std::string select = "SET NOCOUNT ON" + kCrLf;
  select += itemLevels + kCrLf;
  select += kDropData + kCrLf;
  select += "Create Table #Data(" + kCrLf;
  select += levelColumns + parts.columns;
  select += "Insert Into #Data " + kCrLf;
  select += "Select " + levelKeys + "v1.FNumber" + "," + parts.totals + kind;
  select += parts.from + ",#ItemLevel tt1" + kCrLf;
  select += parts.where + kCrLf + " AND v1.FItemID=tt1.FItemID";

  std::string groupBy =
      grouping + (perBatch ? " WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(v1.FNumber)=1" : " WITH ROLLUP");

  std::string endSel = updates + kCrLf;
  endSel += "Select * From #Data td" + kCrLf;
  endSel += "Where 1=1" + kCrLf;
  if (FilterEquals(filter, "OnlyShowSum", 1)) endSel += " And td.FSumSort>100";
  endSel += kCrLf + "Drop Table #ItemLevel";
  return fragments(std::move(select), std::move(groupBy), kItemFilter, std::move(endSel));
}

}  // namespace cost
