// Analysis of a GROUP BY ... WITH ROLLUP query: its aggregates and which levels HAVING keeps.
#pragma once

#include <string>
#include <vector>

#include "midtier/dialect/ast.h"
#include "midtier/dialect/generator.h"

namespace dialect {

struct RollupAggregate {
  const Expr* call;
  std::string key;       // canonical text
  std::string function;  // lower case: sum, count, min, max, avg
  bool decomposable;     // can be re-aggregated from partial results of finer groups
};

// Level k keeps the first k GROUP BY expressions and rolls up the rest (k = n: the detail groups).
struct RollupLevelPlan {
  int kept;
  ExprPtr residualHaving;  // what HAVING still has to test at this level; nullptr: nothing
};

struct RollupPlan {
  std::string soleTable;  // the only table of FROM, whose name may qualify a column or not
  std::vector<std::string> groupKeys;
  std::vector<RollupAggregate> aggregates;
  std::vector<RollupLevelPlan> levels;  // the levels HAVING does not reject, finest first
  bool decomposable = true;
};

// Checks the query (every column outside an aggregate must be grouped, GROUPING() must name a
// GROUP BY expression) and folds HAVING per level. Throws plat::Error quoting the offending text.
[[nodiscard]] RollupPlan planRollup(const Select& s, const Context& ctx);

}  // namespace dialect
