// The fragments of the three summary variants: plain (per product, optionally per batch),
// graded by department, graded by product-class levels.
#include <string>

#include "frame/host/context.h"
#include "frame/sql/item_level.h"
#include "platform/core/error.h"
#include "production/rpt401/filter_values.h"
#include "production/rpt401/statements.h"

namespace production::rpt401 {
namespace {

const std::string kCrLf = frame::kCrLf;
const std::string kTotal = "合计";
const std::string kSubtotal = "小计";

std::string showOnlySums(const lumo::Dictionary& filter) {
  return IntOf(filter, "OnlyShowSum") == 1 ? "WHERE FSumSort>100" : "";
}

bool splitsBatches(const lumo::Dictionary& filter) { return IntOf(filter, "GroupByBatchNo") == 0; }

lumo::DictionaryRef fragments(std::string select, std::string itemFilter, std::string groupBy, std::string end) {
  auto out = lumo::newDictionary();
  out->SetValue(kSelectKey, std::move(select));
  out->SetValue(kItemFilterKey, std::move(itemFilter));
  out->SetValue(kGroupByKey, std::move(groupBy));
  out->SetValue(kEndKey, std::move(end));
  return out;
}

// The grouping column of the department variant, from the filter's SumField description.
std::string sumColumn(const lumo::Dictionary& filter) {
  auto sumField = filter.Value("SumField").tryAs<lumo::Dictionary>();
  if (!sumField)
    throw plat::Error::invalidCall("TavShopRpt.Rpt401", frame::Msg("过滤条件缺少汇总依据（SumField），无法按部门汇总"));
  return sumField->Value("FSQLColumnName").text();
}

}  // namespace

lumo::DictionaryRef BuildPlainStatement(const lumo::Dictionary& filter, const StatementParts& parts,
                                        const std::string& itemRange) {
  std::string select = "SET NOCOUNT ON" + kCrLf + "CREATE TABLE #DATA(" + kCrLf + parts.columns + kCrLf;
  select += "  INSERT INTO #DATA  SELECT CASE   WHEN GROUPING(t1.FNumber)=1 THEN '" + kTotal + "' " + kCrLf;
  select += " ELSE t1.FNumber END, " + kCrLf + parts.selectList + kCrLf;
  select += " CASE  WHEN GROUPING(t1.FNumber)=1 THEN 101 " + kCrLf + " ELSE 0 END ";
  select += parts.from + parts.where + kCrLf + itemRange + kCrLf;

  const std::string groupBy =
      splitsBatches(filter)
          ? "Group by t1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(t1.FNumber)=1"
          : "Group by t1.FNumber WITH ROLLUP";

  const std::string end = "SELECT * FROM #DATA  " + showOnlySums(filter) + kCrLf + " order by  FSumSort,FItemNumber " +
                          kCrLf + "DROP TABLE #DATA  " + kCrLf;
  return fragments(select, parts.itemScope, groupBy, end);
}

lumo::DictionaryRef BuildDeptStatement(const lumo::Dictionary& filter, const StatementParts& parts,
                                       const std::string& itemRange) {
  const std::string column = "v1." + sumColumn(filter);
  std::string select = "CREATE TABLE #DATA(" + kCrLf + "  FPropName varchar(355) null, FPropNumber varchar(355) null," +
                       kCrLf + parts.columns + kCrLf;
  select += " INSERT INTO #DATA  SELECT CASE  WHEN GROUPING(" + column + ")=1 THEN '" + kTotal + "'" + kCrLf;
  select += " WHEN GROUPING(v1.FItemID)=1 THEN  CONVERT(varchar(355)," + column + ")+'(" + kSubtotal + ")' " + kCrLf;
  select += " ELSE CONVERT(varchar(355)," + column + ") END, " + kCrLf;
  select += " (Select FNumber From t_DepartMent Where FItemID = v1.FDeptID),";
  select += " (Select FNumber From t_ICItem Where FItemID = v1.FItemID),";
  select += parts.selectList;
  select += " CASE WHEN GROUPING(" + column + ")=1 THEN 101" + kCrLf;
  select += " WHEN  GROUPING(v1.FItemID)=1 THEN 102 ELSE 0 END ";
  select += parts.from + parts.where + kCrLf + itemRange;

  std::string groupBy = " GROUP BY " + column;
  groupBy += splitsBatches(filter) ? ",v1.FItemID,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or "
                                     "grouping(v1.FItemID)=1 or grouping(v1.FDeptID)=1"
                                   : ",v1.FItemID WITH ROLLUP ";
  groupBy += kCrLf;
  groupBy += "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,'') +'(" + kSubtotal +
             ")' from #DATA Left Join t_DepartMent  on cast(t_DepartMent.FItemID as varchar(10))=replace(#DATA.FPropName,'(" +
             kSubtotal + ")','') where #DATA.FSumSort = 102" + kCrLf;
  groupBy += "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,''),#DATA.FPropNumber "
             "=isnull(t_DepartMent.FNumber,'')  from #DATA Left Join t_DepartMent  On cast(t_DepartMent.FItemID as "
             "varchar(10))=#DATA.FPropName  Where FSumSort = 0 " +
             kCrLf;

  const std::string end = "SELECT * FROM #DATA  " + showOnlySums(filter) + kCrLf + "DROP TABLE #DATA  " + kCrLf;
  return fragments(select, parts.itemScope, groupBy, end);
}

lumo::DictionaryRef BuildLevelStatement(int itemClassId, const lumo::Dictionary& filter, const StatementParts& parts) {
  const int first = IntOf(filter, "BLevel");
  const int last = IntOf(filter, "ELevel");
  if (first < 1 || last > kMaxClassLevel || first > last)
    throw plat::Error::invalidCall(
        "TavShopRpt.Rpt401", frame::Msg("类别级次范围有误：起始级次 " + std::to_string(first) + "，截止级次 " +
                                        std::to_string(last) + "；级次须在 1 至 " + std::to_string(kMaxClassLevel) +
                                        " 之间，且起始级次不能大于截止级次"));
  auto each = [&](auto&& piece) {
    std::string out;
    for (int level = first; level <= last; ++level) out += piece(std::to_string(level), level);
    return out;
  };

  const std::string levelTable = frame::ItemLevelStatements(itemClassId, "", TextOf(filter, "BItemNumber"),
                                                            TextOf(filter, "EItemNumber"), true, first, last, 0);
  std::string select = "SET NOCOUNT ON" + kCrLf + levelTable + kCrLf + "CREATE TABLE #DATA(" + kCrLf;
  select += each([&](const std::string& l, int) { return "FName" + l + " varchar(355) Null," + kCrLf; });
  select += parts.columns + "INSERT INTO #DATA " + kCrLf + "SELECT ";
  select += each([](const std::string& l, int) { return "ItemLevel.FName" + l + ","; });
  select += "t1.FNumber,";
  select += parts.selectList;
  select += "CASE";
  select += each([&](const std::string& l, int level) {
    return "  WHEN   Grouping(ItemLevel.FName" + l + ")=1 THEN " + std::to_string(level + 105) + kCrLf;
  });
  select += "  WHEN   Grouping(t1.FNumber)=1 THEN " + std::to_string(last + 106) + "  ELSE   0 END " + kCrLf;
  select += parts.from + ",#ItemLevel ItemLevel " + kCrLf + parts.where + kCrLf + " AND t1.FItemID=ItemLevel.FItemID";

  std::string itemFilter = parts.itemScope;
  const std::string marker = "##ITEMID##";
  if (auto at = itemFilter.find(marker); at != std::string::npos) itemFilter.replace(at, marker.size(), "FItemID");

  std::string groupBy = " Group By " + each([](const std::string& l, int) { return "ItemLevel.FName" + l + ","; });
  groupBy += splitsBatches(filter) ? "t1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(t1.FNumber)=1"
                                   : "t1.FNumber WITH ROLLUP ";

  std::string end = each([&](const std::string& l, int level) {
    return "Update #Data Set  FName" + l + "=ISNULL(FName" + l + ",'')+'(" + kSubtotal + ")'  WHERE FSumSort=" +
           std::to_string(level + 106) + kCrLf;
  });
  const std::string firstCode = std::to_string(first + 105);
  end += "Update #Data Set FName" + std::to_string(first) + "='" + kTotal + "' WHERE FSumSort=" + firstCode + kCrLf;
  end += "Update #Data Set FSumSort=101   WHERE FSumSort=" + firstCode + kCrLf + kCrLf;
  end += "SELECT * FROM #DATA  " + showOnlySums(filter) + kCrLf + "DROP TABLE #DATA  " + kCrLf + "DROP TABLE #ItemLevel";
  return fragments(select, itemFilter, groupBy, end);
}

}  // namespace production::rpt401
