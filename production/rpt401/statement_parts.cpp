// The statement parts prepared from an accepted filter, and the product condition of a run.
#include "frame/sql/item_level.h"
#include "frame/sql/literal.h"
#include "production/rpt401/filter_values.h"
#include "production/rpt401/statements.h"

namespace production::rpt401 {
namespace {

// The common #DATA columns in table order; the last one closes the CREATE TABLE.
constexpr const char* kColumns[] = {
    "FItemNumber varchar(355) null,",        "FItemShortNumber varchar(355) null,",
    "FItemName varchar(355) null,",          "FModel varchar(355) null,",
    "FBatchNo varchar(355) null,",           "FBaseUnitName varchar(355) null,",
    "FStockUnitName varchar(355) null,",     "FBaseQty decimal(23,10) null,",
    "FStockQty decimal(23,10) null,",        "FFinishBUnitName varchar(355) null,",
    "FFinishSUnitName varchar(355) null,",   "FFinishBQty decimal(23,10) null,",
    "FFinishSQty decimal(23,10) null,",      "FUnFinishBUnitName varchar(355) null,",
    "FUnFinishSUnitName varchar(355) null,", "FUnFinishBQty decimal(23,10) null,",
    "FUnFinishSQty decimal(23,10) null,",    "FQtyDecimal SmallInt,",
    "FPriceDecimal SmallInt,",               "FSumSort smallint not null Default(0))",
};

// One line per column, each closed by a line break (the last one too).
std::string columnList() {
  std::string out;
  for (const char* column : kColumns) out += std::string("     ") + column + frame::kCrLf;
  return out;
}

}  // namespace

void PrepareStatementParts(const lumo::Dictionary& filter, StatementParts& parts) {
  const std::string crlf = frame::kCrLf;
  parts.selectList = IntOf(filter, "GroupByBatchNo") == 0
                         ? "'','','' ,v1.FBatchNo,'','',sum(v1.FBaseQty),sum(v1.FStockQty),'','',sum(v1.FFinishBQty),"
                           "sum(v1.FFinishSQty),'','',0,0,Null,Null,"
                         : "'','','' ,'','','',sum(v1.FBaseQty),sum(v1.FStockQty),'','',sum(v1.FFinishBQty),"
                           "sum(v1.FFinishSQty),'','',0,0,Null,Null,";

  const bool graded = IntOf(filter, "GroupBy") == 1;
  const int sumMode = IntOf(filter, "SumMode");
  if (graded && sumMode == 2) {
    parts.from = " FROM #T401 v1" + crlf + " Left Join t_ICItem t1 On v1.FItemID=t1.FItemID" + crlf +
                 " Left Join t_emp te On v1.FEmpID=te.FItemID" + crlf +
                 " Left Join t_DepartMent td On v1.FDeptID=td.FItemID" + crlf;
    parts.where = " WHERE 1=1 " + crlf;
  } else if (!graded || sumMode == 1) {
    parts.from = " FROM #T401 v1" + crlf + "Join t_ICItem t1 On v1.FItemID=t1.FItemID" + crlf;
    parts.where = " WHERE 1=1 " + crlf;
  }

  parts.itemScope = " FItemID In (SELECT DISTINCT ##ITEMID## FROM #T401) ";
  parts.columns = columnList();
}

std::string ItemRangeCondition(const lumo::Dictionary& filter, bool longNumbers) {
  auto literal = [](const std::string& value) { return frame::SqlLiteralStripped(value, true, true, true); };
  std::string condition;
  if (IntOf(filter, "Mode") == 0) {
    const std::string column = longNumbers ? "FNumber" : "FShortNumber";
    const std::string begin = TextOf(filter, "BItemNumber");
    const std::string end = TextOf(filter, "EItemNumber");
    if (!begin.empty()) condition += " AND t1." + column + ">=" + literal(begin);
    if (!end.empty()) condition += " AND t1." + column + "<=" + literal(end);
  } else {
    const std::string classNumber = TextOf(filter, "ItemClassNumber");
    if (!classNumber.empty()) condition = " AND t1.FNumber Like " + literal(classNumber + ".%");
  }
  return condition;
}

}  // namespace production::rpt401
