// GROUP BY ... WITH ROLLUP on a target that has ROLLUP: written as GROUP BY ROLLUP (...), with
// what SQL Server adds around it.
#include "midtier/dialect/generator.h"
#include "midtier/dialect/rollup_plan.h"

namespace dialect {

RollupQuery writeNativeRollup(const Select& s, const Context& ctx, bool named, const StoredColumns* stores) {
  Scope scope = makeScope(s.from, ctx.catalog, nullptr);
  ExprWriter w(ctx, scope);
  w.allowGrouping();
  std::string out = s.distinct ? "SELECT DISTINCT " : "SELECT ";
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    out += (i ? ", " : "") + writeItem(s, i, w, stores);
    const std::string name = itemName(s.items[i]);
    if (named && !name.empty()) out += " AS " + ident(ctx.target, name);
  }
  if (!s.from.empty()) out += " FROM " + writeFrom(s.from, w);
  if (s.where) out += " WHERE " + w.write(*s.where);
  std::vector<std::string> keys;
  for (const ExprPtr& g : s.groupBy) keys.push_back(w.write(*g));
  // Only the levels HAVING can keep are aggregated: a level it rejects whatever the sums are is
  // left out of the grouping sets (GROUPING() says the same) instead of being computed and
  // filtered row by row.
  RollupPlan plan;
  if (s.having && !s.distinct && s.top < 0) plan = planRollup(s, ctx);
  // Every key must stay in some grouping set: the detail level holds them all.
  const bool detailKept = !plan.levels.empty() && plan.levels.front().kept == static_cast<int>(keys.size());
  if (!detailKept || plan.levels.size() == keys.size() + 1) {
    for (std::size_t i = 0; i < keys.size(); ++i) out += (i ? ", " : " GROUP BY ROLLUP (") + keys[i];
    out += ")";
  } else {
    out += " GROUP BY GROUPING SETS (";
    for (std::size_t l = 0; l < plan.levels.size(); ++l) {
      out += l ? ", (" : "(";
      for (int i = 0; i < plan.levels[l].kept; ++i) out += (i ? ", " : "") + keys[static_cast<std::size_t>(i)];
      out += ")";
    }
    out += ")";
  }
  // SQL Server's rollup of no rows has no grand total.
  out += " HAVING count(*) > 0";
  if (s.having) out += " AND (" + w.write(*s.having) + ")";
  if (!s.orderBy.empty()) {
    for (std::size_t i = 0; i < s.orderBy.size(); ++i) {
      out += (i ? ", " : " ORDER BY ") + w.write(*s.orderBy[i].expr) + orderDirection(ctx.target, s.orderBy[i].descending);
    }
  } else {
    // The order SQL Server streams a rollup in: groups sorted by their keys, each subtotal right
    // after its group, the grand total last.
    for (std::size_t i = 0; i < keys.size(); ++i) {
      std::string key = keys[i] + std::string(ctx.target.caselessOrder);
      if (!ctx.target.textOrder.empty() && w.typeOf(*s.groupBy[i]) == SqlType::Text) {
        key = ctx.target.textOrder;
        key.replace(key.find("{0}"), 3, keys[i]);
      }
      out += (i ? ", " : " ORDER BY ") + ("GROUPING(" + keys[i] + "), ") + key + orderDirection(ctx.target, false);
    }
  }
  if (s.top >= 0) out += " LIMIT " + std::to_string(s.top);
  return RollupQuery{"", out};
}

}  // namespace dialect
