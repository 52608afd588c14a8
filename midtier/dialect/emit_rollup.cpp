// GROUP BY ... WITH ROLLUP for SQLite, which has none: one SELECT per level that HAVING keeps,
// joined by UNION ALL. Rolled-up GROUP BY expressions read NULL and GROUPING() is a constant per
// level. When every aggregate can be re-aggregated (SUM, COUNT, MIN, MAX) the rows are grouped
// once at the finest level into a materialized table and the coarser levels are derived from it,
// each from the nearest finer level HAVING keeps, so only the first derivation reads as many rows
// as the finest level has; otherwise each level groups the base rows again.
#include <algorithm>

#include "midtier/dialect/generator.h"
#include "midtier/dialect/rollup_plan.h"

namespace dialect {
namespace {

constexpr const char* kTable = "tav_rollup";

// The materialized groups that keep the first `kept` keys; the finest level is kTable itself.
// Every level is read under the alias kTable, so its columns are named alike at every level.
std::string levelTable(std::size_t kept, std::size_t n) {
  return kept == n ? std::string(kTable) : std::string(kTable) + "_" + std::to_string(kept);
}

std::string keyColumn(std::size_t i) { return std::string(kTable) + ".tav_k" + std::to_string(i + 1); }
std::string partialColumn(std::size_t j) { return std::string(kTable) + ".tav_a" + std::to_string(j + 1); }

// A coarser group's aggregate from its finer groups' partial results.
std::string reaggregate(const std::string& function, const std::string& partial) {
  if (function == "min" || function == "max") return function + "(" + partial + ")";
  return "tav_sum(" + partial + ")";  // sums of sums, sums of counts
}

std::string joinConditions(const std::vector<std::string>& conditions) {
  std::string out;
  for (const std::string& c : conditions) out += (out.empty() ? "" : " AND ") + ("(" + c + ")");
  return out;
}

std::string orderByPositions(const Select& s, const Context& ctx, const std::string& soleTable) {
  std::string out;
  for (const OrderItem& order : s.orderBy) {
    const Expr& e = *order.expr;
    std::string position;
    if (e.kind == ExprKind::Literal && e.literal == LiteralKind::Number) position = e.text;
    for (std::size_t i = 0; i < s.items.size() && position.empty(); ++i) {
      bool sameExpr = canonical(*s.items[i].expr, soleTable) == canonical(e, soleTable);
      bool byName = e.kind == ExprKind::Column && e.qualifier.empty() && sameName(itemName(s.items[i]), e.text);
      if (sameExpr || byName) position = std::to_string(i + 1);
    }
    if (position.empty()) throw errorAt(ctx, e.pos, "ORDER BY of a ROLLUP query must name a select-list item");
    out += (out.empty() ? " ORDER BY " : ", ") + position + (order.descending ? " DESC" : "");
  }
  return out;
}

// The rollup's stream order: the groups sorted by their keys, each group's subtotal right after
// its last row, nested level by level, the grand total last. tav_g<i> is GROUPING() of key i and
// tav_o<i> its value; text keys sort without regard to case, as the tables compare them.
std::string streamOrdered(const Context& ctx, const Select& s, std::size_t keys, bool named, const std::string& arms) {
  std::string out = "SELECT ";
  for (std::size_t i = 0; i < s.items.size(); ++i) {
    out += (i ? ", " : "") + std::string("tav_c") + std::to_string(i + 1);
    std::string name = itemName(s.items[i]);
    if (named && !name.empty()) out += " AS " + ident(ctx.target, name);
  }
  out += " FROM (" + arms + ") ORDER BY ";
  for (std::size_t i = 0; i < keys; ++i) {
    const std::string k = std::to_string(i + 1);
    out += (i ? ", tav_g" : "tav_g") + k + ", tav_o" + k + " COLLATE NOCASE";
  }
  return out;
}

}  // namespace

RollupQuery writeRollup(const Select& s, const Context& ctx, bool named, const StoredColumns* stores) {
  if (ctx.target.nativeRollup) return writeNativeRollup(s, ctx, named, stores);
  RollupPlan plan = planRollup(s, ctx);
  const std::size_t n = s.groupBy.size();
  Scope scope = makeScope(s.from, ctx.catalog, nullptr);
  ExprWriter base(ctx, scope);
  std::string fromWhere;
  if (!s.from.empty()) fromWhere = " FROM " + writeFrom(s.from, base);
  if (s.where) fromWhere += " WHERE " + base.write(*s.where);
  std::vector<std::string> groupSql;
  for (const ExprPtr& g : s.groupBy) groupSql.push_back(base.write(*g));

  if (plan.levels.empty()) {
    // HAVING rejects every level: keep the finest, empty, for the result's shape.
    auto never = std::make_unique<Expr>();
    never->kind = ExprKind::Literal;
    never->literal = LiteralKind::Number;
    never->text = "0";
    plan.levels.push_back({static_cast<int>(n), std::move(never)});
  }
  const bool derive = plan.decomposable && plan.levels.size() > 1;
  // Without ORDER BY the rows come in the order SQL Server's rollup streams them, which is also
  // the order they are stored in (and read back from) a work table.
  const bool streamOrder = s.orderBy.empty() && plan.levels.size() > 1;

  RollupQuery query;
  std::vector<std::size_t> materialized;  // levels coarser than the finest with their own groups
  if (derive) {
    std::string stage = "SELECT ";
    for (std::size_t i = 0; i < n; ++i) stage += (i ? ", " : "") + groupSql[i] + " AS tav_k" + std::to_string(i + 1);
    for (std::size_t j = 0; j < plan.aggregates.size(); ++j) {
      stage += ", " + base.write(*plan.aggregates[j].call) + " AS tav_a" + std::to_string(j + 1);
    }
    stage += fromWhere + " GROUP BY ";
    for (std::size_t i = 0; i < n; ++i) stage += (i ? ", " : "") + groupSql[i];
    query.with = "WITH " + std::string(kTable) + " AS MATERIALIZED (" + stage + ")";
    // A kept level that a coarser kept level is derived from gets its own materialized groups,
    // which its arm then reads as they are; each is derived from the nearest finer one.
    std::size_t source = n;
    for (std::size_t p = 0; p + 1 < plan.levels.size(); ++p) {
      const std::size_t kept = static_cast<std::size_t>(plan.levels[p].kept);
      if (kept == n) continue;
      std::string level = "SELECT ";
      for (std::size_t i = 0; i < kept; ++i) level += (i ? ", " : "") + keyColumn(i) + " AS tav_k" + std::to_string(i + 1);
      for (std::size_t j = 0; j < plan.aggregates.size(); ++j) {
        level += std::string(kept || j ? ", " : "") + reaggregate(plan.aggregates[j].function, partialColumn(j)) +
                 " AS tav_a" + std::to_string(j + 1);
      }
      level += " FROM " + levelTable(source, n) + " AS " + kTable;
      for (std::size_t i = 0; i < kept; ++i) level += (i ? ", " : " GROUP BY ") + keyColumn(i);
      query.with += ", " + levelTable(kept, n) + " AS MATERIALIZED (" + level + ")";
      materialized.push_back(kept);
      source = kept;
    }
    query.with += " ";
  }

  for (const RollupLevelPlan& levelPlan : plan.levels) {
    const std::size_t kept = static_cast<std::size_t>(levelPlan.kept);
    // Read as they are from its own groups, or grouped from the nearest finer level's.
    const bool direct = kept == n || std::find(materialized.begin(), materialized.end(), kept) != materialized.end();
    std::size_t source = n;
    for (std::size_t m : materialized) source = m > kept ? m : source;
    RollupLevel level;
    level.soleTable = plan.soleTable;
    level.groupKeys = plan.groupKeys;
    for (std::size_t i = 0; i < n; ++i) {
      level.grouping.push_back(i < kept ? 0 : 1);
      level.groupText.push_back(i >= kept ? "NULL" : derive ? keyColumn(i) : "");
    }
    if (derive) {
      for (std::size_t j = 0; j < plan.aggregates.size(); ++j) {
        const RollupAggregate& a = plan.aggregates[j];
        level.aggregates[a.key] = direct ? partialColumn(j) : reaggregate(a.function, partialColumn(j));
      }
    }
    ExprWriter writer(ctx, scope, &level);

    std::string arm = "SELECT ";
    for (std::size_t i = 0; i < s.items.size(); ++i) {
      arm += (i ? ", " : "") + writeItem(s, i, writer, stores);
      std::string name = itemName(s.items[i]);
      if (streamOrder) {
        arm += " AS tav_c" + std::to_string(i + 1);
      } else if (named && query.body.empty() && !name.empty()) {
        arm += " AS " + ident(ctx.target, name);
      }
    }
    if (streamOrder) {
      for (std::size_t i = 0; i < n; ++i) {
        const std::string k = std::to_string(i + 1);
        const std::string key = i >= kept ? "NULL" : derive ? keyColumn(i) : groupSql[i];
        arm += ", " + std::string(i >= kept ? "1" : "0") + " AS tav_g" + k + ", " + key + " AS tav_o" + k;
      }
    }
    std::vector<std::string> having;
    if (kept == 0) having.push_back("count(*) > 0");  // no total row over no rows
    if (levelPlan.residualHaving) having.push_back(writer.write(*levelPlan.residualHaving));
    if (derive) {
      const std::size_t from = direct ? kept : source;
      arm += " FROM " + (from == n ? std::string(kTable) : levelTable(from, n) + " AS " + kTable);
      if (direct) {
        if (!having.empty()) arm += " WHERE " + joinConditions(having);
      } else {
        for (std::size_t i = 0; i < kept; ++i) arm += (i ? ", " : " GROUP BY ") + keyColumn(i);
        if (!having.empty()) arm += " HAVING " + joinConditions(having);
      }
    } else {
      arm += fromWhere;
      for (std::size_t i = 0; i < kept; ++i) arm += (i ? ", " : " GROUP BY ") + groupSql[i];
      if (!having.empty()) arm += " HAVING " + joinConditions(having);
    }
    query.body += (query.body.empty() ? "" : " UNION ALL ") + arm;
  }
  if (named && !s.orderBy.empty()) {
    query.body += orderByPositions(s, ctx, plan.soleTable);
  } else if (streamOrder) {
    query.body = streamOrdered(ctx, s, n, named, query.body);
  }
  return query;
}

}  // namespace dialect
