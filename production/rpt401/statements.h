// The SQL Server statements of the production task execution summary: the work table #DATA,
// its GROUP BY ... WITH ROLLUP insert over the data service's task rows #T401 and the subtotal
// updates, handed to the data service as a dictionary of four fragments:
//   "SElECT"     opening part, up to and including the insert's WHERE clause
//   "ITEMFILTER" the item-scope condition (for the level table's "##ITEMFILTER##" marker)
//   "GROUPBY"    the rollup clause that completes the insert, then the variant's updates
//   "EndSel"     closing updates, "SELECT * FROM #DATA" and the DROP TABLE statements
// Row kinds in #DATA.FSumSort: 0 detail, 101 grand total, 102 department subtotal, i + 106
// subtotal of product-class level i.
#pragma once

#include <string>

#include "platform/lumo/dictionary.h"

namespace production::rpt401 {

// Parts prepared from an accepted filter and kept by the report until the next one.
struct StatementParts {
  std::string columns;     // the twenty common #DATA column declarations
  std::string selectList;  // the 18 aggregate values FItemShortNumber .. FPriceDecimal
  std::string from;        // " FROM #T401 v1" with its joins
  std::string where;       // " WHERE 1=1 "
  std::string itemScope;   // " FItemID In (SELECT DISTINCT ##ITEMID## FROM #T401) "
};

// Prepares the parts from the filter. With GroupBy 1 and a SumMode other than 1 or 2 the FROM
// and WHERE parts keep what an earlier filter left in them.
void PrepareStatementParts(const lumo::Dictionary& filter, StatementParts& parts);

// The product condition on alias t1, "" when no range is given: with Mode 0 " AND t1.FNumber>="
// (FShortNumber without long numbers) and/or "<=" the quoted, trimmed, control-stripped ends;
// otherwise " AND t1.FNumber Like " the class number + ".%".
std::string ItemRangeCondition(const lumo::Dictionary& filter, bool longNumbers);

// The fragments of the three variants. `itemRange` is the ItemRangeCondition of the run.
lumo::DictionaryRef BuildPlainStatement(const lumo::Dictionary& filter, const StatementParts& parts,
                                        const std::string& itemRange);
// Graded by SumField's FSQLColumnName ("FDeptID"); raises when the filter has no SumField.
lumo::DictionaryRef BuildDeptStatement(const lumo::Dictionary& filter, const StatementParts& parts,
                                       const std::string& itemRange);
// Graded by the levels BLevel..ELevel of the class tree of `itemClassId` (4: products). Raises
// a plat::Error when the levels are not 1 <= BLevel <= ELevel <= kMaxClassLevel.
lumo::DictionaryRef BuildLevelStatement(int itemClassId, const lumo::Dictionary& filter, const StatementParts& parts);

inline constexpr int kMaxClassLevel = 20;

// The fragment keys, spelt as the data service expects them.
inline constexpr const char* kSelectKey = "SElECT";
inline constexpr const char* kItemFilterKey = "ITEMFILTER";
inline constexpr const char* kGroupByKey = "GROUPBY";
inline constexpr const char* kEndKey = "EndSel";

}  // namespace production::rpt401
