// GROUP BY ... WITH ROLLUP on a target that has ROLLUP: written as GROUP BY ROLLUP (...), with
// what SQL Server adds around it.
#include "midtier/dialect/generator.h"

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
  for (std::size_t i = 0; i < keys.size(); ++i) out += (i ? ", " : " GROUP BY ROLLUP (") + keys[i];
  // SQL Server's rollup of no rows has no grand total.
  out += ") HAVING count(*) > 0";
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
