// Composes the summary and cost reports' batches from their fragment texts.
#include "midtier/dialect/report_batches.h"

namespace dialect::testing {
namespace {

const std::string CRLF = "\r\n";

std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

std::string n(int value) { return std::to_string(value); }

std::string columnList401() {
  const char* lines[] = {
      "FItemNumber varchar(355) null,",   "FItemShortNumber varchar(355) null,", "FItemName varchar(355) null,",
      "FModel varchar(355) null,",        "FBatchNo varchar(355) null,",         "FBaseUnitName varchar(355) null,",
      "FStockUnitName varchar(355) null,", "FBaseQty decimal(23,10) null,",      "FStockQty decimal(23,10) null,",
      "FFinishBUnitName varchar(355) null,", "FFinishSUnitName varchar(355) null,", "FFinishBQty decimal(23,10) null,",
      "FFinishSQty decimal(23,10) null,", "FUnFinishBUnitName varchar(355) null,", "FUnFinishSUnitName varchar(355) null,",
      "FUnFinishBQty decimal(23,10) null,", "FUnFinishSQty decimal(23,10) null,", "FQtyDecimal SmallInt,",
      "FPriceDecimal SmallInt,",          "FSumSort smallint not null Default(0))"};
  std::string out;
  for (const char* line : lines) out += std::string("     ") + line + CRLF;
  return out;
}

std::string aggregateList401(int groupByBatchNo) {
  std::string batch = groupByBatchNo == 0 ? "v1.FBatchNo" : "''";
  return "'','','' ," + batch +
         ",'','',sum(v1.FBaseQty),sum(v1.FStockQty),'','',sum(v1.FFinishBQty),sum(v1.FFinishSQty),'','',0,0,Null,Null,";
}

std::string itemRange(const Options401& o) {
  std::string range;
  if (!o.beginItem.empty()) range += " AND t1.FNumber>=" + quoted(o.beginItem);
  if (!o.endItem.empty()) range += " AND t1.FNumber<=" + quoted(o.endItem);
  return range;
}

std::string onlySum(int onlyShowSum) { return onlyShowSum == 1 ? "WHERE FSumSort>100" : ""; }

}  // namespace

std::string itemLevelStatements(const std::string& beginNumber, const std::string& endNumber, int beginLevel,
                                int endLevel) {
  const std::string classId = "4";
  std::string range;
  if (!beginNumber.empty()) range += " AND FNumber>=" + quoted(beginNumber);
  if (!endNumber.empty()) range += " AND FNumber<=" + quoted(endNumber);
  std::string p = "CharIndex('.',FFullNumber)";
  for (int level = 1; level < beginLevel; ++level) p = "CharIndex('.',FFullNumber," + p + "+1)";
  std::string c = "CREATE TABLE #ItemLevel( " + CRLF;
  std::string i = " Insert Into #ItemLevel SELECT  " + CRLF;
  std::string u = " Update t0 SET ";
  std::string r = " From #ItemLevel t0";
  for (int level = beginLevel; level <= endLevel; ++level) {
    std::string l = n(level);
    c += " FNumber" + l + " Varchar(355)," + CRLF + " FName" + l + " Varchar(355)," + CRLF;
    std::string x = level == 1 ? "FFullNumber" : "NULL";
    i += " Case When " + p + "-1= -1 or FLevel<" + n(level + 1) + " THEN " + x + " ELSE SUBSTRING(FNumber, 1," + p +
         "-1)  END, " + CRLF;
    i += " ''," + CRLF;
    p = "CharIndex('.',FFullNumber," + p + "+1)";
    u += "t0.FName" + l + "=t" + l + ".FName" + ",";
    r += " left join t_Item t" + l + " On t0.FNumber" + l + "=t" + l + ".FNumber " + " AND t" + l +
         ".FItemClassID=" + classId + " AND t" + l + ".FDetail=0 " + CRLF;
  }
  u.pop_back();
  u += CRLF + r;
  c += " FItemID int," + CRLF + " FNumber VARCHAR(355))" + CRLF;
  i += " FItemID,FNumber From t_Item" + CRLF + " Where FItemClassID=" + classId + CRLF + " AND FDetail=1" + range +
       " ##ITEMFILTER##";
  return c + CRLF + i + CRLF + u;
}

std::string batch401(const Options401& o) {
  const std::string from = o.grouping == Grouping401::Department
                               ? " FROM #T401 v1" + CRLF + " Left Join t_ICItem t1 On v1.FItemID=t1.FItemID" + CRLF +
                                     " Left Join t_emp te On v1.FEmpID=te.FItemID" + CRLF +
                                     " Left Join t_DepartMent td On v1.FDeptID=td.FItemID" + CRLF
                               : " FROM #T401 v1" + CRLF + "Join t_ICItem t1 On v1.FItemID=t1.FItemID" + CRLF;
  const std::string where = " WHERE 1=1 " + CRLF;
  const std::string aggregates = aggregateList401(o.groupByBatchNo);
  const std::string itemScope = " FItemID In (SELECT DISTINCT ##ITEMID## FROM #T401) ";
  std::string select, groupBy, endSel;
  switch (o.grouping) {
    case Grouping401::Plain:
      select = "SET NOCOUNT ON" + CRLF + "CREATE TABLE #DATA(" + CRLF + columnList401() + CRLF +
               "  INSERT INTO #DATA  SELECT CASE " + "  WHEN GROUPING(t1.FNumber)=1 THEN '" + "合计" + "' " + CRLF +
               " ELSE t1.FNumber END, " + CRLF + aggregates + CRLF + " CASE  WHEN GROUPING(t1.FNumber)=1 THEN 101 " +
               CRLF + " ELSE 0 END " + from + where + CRLF + itemRange(o) + CRLF;
      groupBy = o.groupByBatchNo == 0
                    ? "Group by t1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(t1.FNumber)=1"
                    : "Group by t1.FNumber WITH ROLLUP";
      endSel = "SELECT * FROM #DATA  " + onlySum(o.onlyShowSum) + CRLF + " order by  FSumSort,FItemNumber " + CRLF +
               "DROP TABLE #DATA  " + CRLF;
      break;
    case Grouping401::Department: {
      const std::string c = "FDeptID";
      select = "CREATE TABLE #DATA(" + CRLF + "  FPropName varchar(355) null, FPropNumber varchar(355) null," + CRLF +
               columnList401() + CRLF + " INSERT INTO #DATA  SELECT CASE " + " WHEN GROUPING(" + "v1." + c +
               ")=1 THEN '" + "合计" + "'" + CRLF + " WHEN GROUPING(v1.FItemID)=1 THEN " + " CONVERT(varchar(355)," +
               "v1." + c + ")+'(" + "小计" + ")' " + CRLF + " ELSE CONVERT(varchar(355)," + "v1." + c + ") END, " +
               CRLF + " (Select FNumber From t_DepartMent Where FItemID = v1.FDeptID)," +
               " (Select FNumber From t_ICItem Where FItemID = v1.FItemID)," + aggregates + " CASE WHEN GROUPING(" +
               "v1." + c + ")=1 THEN 101" + CRLF + " WHEN  GROUPING(v1.FItemID)=1 THEN 102 ELSE 0 END " + from + where +
               CRLF + itemRange(o);
      groupBy = " GROUP BY v1." + c +
                (o.groupByBatchNo == 0 ? ",v1.FItemID,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or "
                                         "grouping(v1.FItemID)=1 or grouping(v1.FDeptID)=1"
                                       : ",v1.FItemID WITH ROLLUP ") +
                CRLF +
                "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,'') +'(小计)' from #DATA Left Join "
                "t_DepartMent  on cast(t_DepartMent.FItemID as varchar(10))=replace(#DATA.FPropName,'(小计)','')" +
                " where #DATA.FSumSort = 102" + CRLF +
                "update #DATA  set #DATA.FPropName =isnull(t_DepartMent.fname,''),#DATA.FPropNumber "
                "=isnull(t_DepartMent.FNumber,'')  from #DATA Left Join t_DepartMent  On cast(t_DepartMent.FItemID as "
                "varchar(10))=#DATA.FPropName " +
                " Where FSumSort = 0 " + CRLF;
      endSel = "SELECT * FROM #DATA  " + onlySum(o.onlyShowSum) + CRLF + "DROP TABLE #DATA  " + CRLF;
      break;
    }
    case Grouping401::ClassLevel: {
      std::string levelColumns, levelKeys, cases, updates;
      for (int i = o.beginLevel; i <= o.endLevel; ++i) {
        levelColumns += "FName" + n(i) + " varchar(355) Null," + CRLF;
        levelKeys += "ItemLevel.FName" + n(i) + ",";
        cases += "  WHEN   Grouping(ItemLevel.FName" + n(i) + ")=1 THEN " + n(i + 105) + CRLF;
        updates += "Update #Data Set  FName" + n(i) + "=ISNULL(FName" + n(i) + ",'')+'(" + "小计" + ")' " +
                   " WHERE FSumSort=" + n(i + 106) + CRLF;
      }
      std::string levels = itemLevelStatements(o.beginItem, o.endItem, o.beginLevel, o.endLevel);
      levels = replaceAll(levels, "##ITEMFILTER##", "AND" + replaceAll(itemScope, "##ITEMID##", "FItemID"));
      select = "SET NOCOUNT ON" + CRLF + levels + CRLF + "CREATE TABLE #DATA(" + CRLF + levelColumns +
               columnList401() + "INSERT INTO #DATA " + CRLF + "SELECT " + levelKeys + "t1.FNumber" + "," + aggregates +
               "CASE" + cases + "  WHEN   Grouping(t1.FNumber)=1 THEN " + n(o.endLevel + 106) + "  ELSE   0 END " +
               CRLF + from + ",#ItemLevel ItemLevel " + CRLF + where + CRLF + " AND t1.FItemID=ItemLevel.FItemID";
      groupBy = " Group By " + levelKeys +
                (o.groupByBatchNo == 0
                     ? "t1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(t1.FNumber)=1"
                     : "t1.FNumber WITH ROLLUP ");
      const std::string b = n(o.beginLevel);
      endSel = updates + "Update #Data Set FName" + b + "='" + "合计" + "'" + " WHERE FSumSort=" +
               n(o.beginLevel + 105) + CRLF + "Update #Data Set FSumSort=101  " + " WHERE FSumSort=" +
               n(o.beginLevel + 105) + CRLF + CRLF + "SELECT * FROM #DATA  " + onlySum(o.onlyShowSum) + CRLF +
               "DROP TABLE #DATA  " + CRLF + "DROP TABLE #ItemLevel";
      break;
    }
  }
  // GROUPBY ends without a break in some variants ("WITH ROLLUP"), so a line break joins it to EndSel.
  std::string dataRight = o.dataRightWhere.empty() ? "" : " AND " + o.dataRightWhere;
  return select + dataRight + groupBy + CRLF + endSel;
}

std::string batch499(const Options499& o) {
  const std::string s = n(o.scale);
  const std::string columns = "     FNumber  varchar(355) null," + CRLF + "     FItemID  varchar(355) null," + CRLF +
                              "     FName  varchar(355) null," + CRLF + "     FModel  varchar(355) null," + CRLF +
                              "     FBatchNo  varchar(355) null," + CRLF + "     FUnit  varchar(355) null," + CRLF +
                              "     FPeriodStartNum decimal(23,10) null," + CRLF + "     FPeriodStartCost decimal(18," +
                              s + ") null, " + CRLF + "     FCurInNum decimal(23,10) null, " + CRLF +
                              "     FCurInCost decimal(18," + s + ")   null," + CRLF +
                              "     FCurOutNum decimal(23,10)  null," + CRLF + "     FCurOutPrice decimal(23,10) null, " +
                              CRLF + "     FCurOutCost decimal(18," + s + ") null, " + CRLF +
                              "     FPeriodEndNum decimal(23,10)   null," + CRLF +
                              "     FPeriodEndPrice decimal(23,10)   null," + CRLF + "     FPeriodEndCost decimal(18," +
                              s + ") null, " + CRLF + "     FSumSort smallint not null Default(0))" + CRLF;
  const std::string totals =
      std::string("'','','',") + (o.groupByBatchNo == 0 ? "v1.FBatchNo" : "''") +
      ",'',sum(v1.FPeriodStartNum),sum(v1.FPeriodStartCost),sum(v1.FCurInNum),sum(v1.FCurInCost),sum(v1.FCurOutNum),"
      "(case when sum(v1.FCurOutNum)<>0 then Cast(sum(v1.FCurOutCost) as decimal(23,10))/Cast(sum(v1.FCurOutNum) as "
      "decimal(23,10)) else 0 end),sum(v1.FCurOutCost),sum(v1.FPeriodEndNum),(case when sum(v1.FPeriodEndNum)<>0 then "
      "sum(v1.FPeriodEndCost)/sum(v1.FPeriodEndNum) else 0 end),sum(v1.FPeriodEndCost),";
  const std::string from = " FROM #T499 v1" + CRLF;
  const std::string where = " WHERE 1=1 " + CRLF;
  const std::string drop = "If Object_ID('tempdb..#Data') Is Not Null Drop Table #Data";
  std::string select, groupBy, endSel;
  if (!o.classLevel) {
    select = drop + CRLF + "Create Table #Data(" + CRLF + columns + CRLF + " Insert Into #Data " + CRLF + CRLF +
             " Select Case " + " When Grouping(v1.FNumber)=1 THEN '" + "合计" + "' " + CRLF + " Else v1.FNumber END, " +
             CRLF + totals + CRLF + " Case  When Grouping(v1.FNumber)=1 THEN 101 " + CRLF + " Else 0 END " + from +
             where + CRLF + CRLF;
    groupBy = o.groupByBatchNo == 0
                  ? "Group by v1.FNumber,v1.FBatchNo WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(v1.FNumber)=1"
                  : "Group by v1.FNumber WITH ROLLUP ";
    endSel = "Select * From #Data t" + CRLF + (o.onlyShowSum == 1 ? "Where FSumSort>100" : "") + CRLF;
  } else {
    const int b = o.beginLevel;
    const int e = o.endLevel;
    std::string levelColumns, levelKeys, cases, updates;
    for (int i = b; i <= e; ++i) {
      levelColumns += "FName" + n(i) + " Varchar(355) Null," + CRLF;
      levelKeys += "tt1.FName" + n(i) + ",";
      cases += "  When   Grouping(tt1.FName" + n(i) + ")=1 THEN " + n(i + 105) + CRLF;
      updates += "Update #Data Set  FName" + n(i) + "=FName" + n(i) + "+'(" + "小计" + ")' " + " Where FSumSort=" +
                 n(i + 106) + CRLF;
    }
    updates += "Update #Data Set FName" + n(b) + "='" + "合计" + "' Where FSumSort=" + n(b + 105) + CRLF;
    updates += "Update #Data Set FSumSort=101 Where FSumSort=" + n(b + 105) + CRLF;
    const std::string kind = "Case " + cases + "  When  Grouping(v1.FNumber)=1 THEN " + n(e + 106) + "  Else   0 END " + CRLF;
    std::string levels = itemLevelStatements(o.beginItem, o.endItem, b, e);
    levels = replaceAll(levels, "##ITEMFILTER##",
                        " And exists (Select FItemID From #T499  Where #T499.FItemID=t_Item.FItemID)");
    select = "SET NOCOUNT ON" + CRLF + levels + CRLF + drop + CRLF + "Create Table #Data(" + CRLF + levelColumns +
             columns + "Insert Into #Data " + CRLF + "Select " + levelKeys + "v1.FNumber" + "," + totals + kind + from +
             ",#ItemLevel tt1" + CRLF + where + CRLF + " AND v1.FItemID=tt1.FItemID";
    groupBy = " Group By " + levelKeys + (o.groupByBatchNo == 0 ? "v1.FNumber,v1.FBatchNo " : "v1.FNumber") +
              (o.groupByBatchNo == 0 ? " WITH ROLLUP having grouping(v1.FBatchNo)=0 or grouping(v1.FNumber)=1"
                                     : " WITH ROLLUP");
    endSel = updates + CRLF + "Select * From #Data td" + CRLF + "Where 1=1" + CRLF +
             (o.onlyShowSum == 1 ? " And td.FSumSort>100" : "") + CRLF + "Drop Table #ItemLevel";
  }
  const std::string between = o.separator ? CRLF : "";
  return select + between + groupBy + between + endSel;
}

}  // namespace dialect::testing
