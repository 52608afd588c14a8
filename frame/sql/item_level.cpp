#include "frame/sql/item_level.h"

#include "frame/host/settings.h"
#include "frame/sql/literal.h"

namespace frame {

std::string ItemLevelStatementsWith(bool longNumbers, int32_t itemClassId, const std::string& classPrefix,
                                    const std::string& beginNumber, const std::string& endNumber, int beginLevel,
                                    int endLevel, int nameStyle) {
  const std::string crlf = kCrLf;
  const std::string classId = std::to_string(itemClassId);

  std::string range;
  if (!classPrefix.empty()) range = " AND FNumber Like " + SqlLiteral(classPrefix + ".%", true, true);
  const std::string numberColumn = longNumbers ? "FNumber" : "FShortNumber";
  if (!beginNumber.empty()) range += " AND " + numberColumn + ">=" + SqlLiteral(beginNumber, true, true);
  if (!endNumber.empty()) range += " AND " + numberColumn + "<=" + SqlLiteral(endNumber, true, true);

  // Position of the dot that ends the ancestor number at the current level.
  std::string dot = "CharIndex('.',FFullNumber)";
  auto nextDot = [](const std::string& p) { return "CharIndex('.',FFullNumber," + p + "+1)"; };
  for (int level = 1; level < beginLevel; ++level) dot = nextDot(dot);

  std::string create = "CREATE TABLE #ItemLevel( " + crlf;
  std::string insert = " Insert Into #ItemLevel SELECT  " + crlf;
  std::string update = " Update t0 SET ";
  std::string from = " From #ItemLevel t0";
  for (int level = beginLevel; level <= endLevel; ++level) {
    const std::string l = std::to_string(level);
    create += " FNumber" + l + " Varchar(355)," + crlf + " FName" + l + " Varchar(355)," + crlf;
    const std::string whole = level == 1 ? "FFullNumber" : "NULL";
    insert += " Case When " + dot + "-1= -1 or FLevel<" + std::to_string(level + 1) + " THEN " + whole +
              " ELSE SUBSTRING(FNumber, 1," + dot + "-1)  END, " + crlf;
    insert += " ''," + crlf;
    dot = nextDot(dot);
    const std::string name = nameStyle == 1 ? "='[' + t" + l + ".FNumber + ']'+ t" + l + ".FName" : "=t" + l + ".FName";
    update += "t0.FName" + l + name + ",";
    from += " left join t_Item t" + l + " On t0.FNumber" + l + "=t" + l + ".FNumber " + " AND t" + l +
            ".FItemClassID=" + classId + " AND t" + l + ".FDetail=0 " + crlf;
  }
  update.pop_back();
  update += crlf + from;
  create += " FItemID int," + crlf + " FNumber VARCHAR(355))" + crlf;
  insert += " FItemID,FNumber From t_Item" + crlf + " Where FItemClassID=" + classId + crlf + " AND FDetail=1" + range +
            " ##ITEMFILTER##";
  return create + crlf + insert + crlf + update;
}

std::string ItemLevelStatements(int32_t itemClassId, const std::string& classPrefix, const std::string& beginNumber,
                                const std::string& endNumber, bool /*flag*/, int beginLevel, int endLevel,
                                int nameStyle) {
  return ItemLevelStatementsWith(LongNumberFlag(), itemClassId, classPrefix, beginNumber, endNumber, beginLevel,
                                 endLevel, nameStyle);
}

}  // namespace frame
