// Plans a rollup: collects aggregates, validates grouped columns, folds HAVING on GROUPING().
#include "midtier/dialect/rollup_plan.h"

#include <optional>

#include "midtier/dialect/mappings.h"

namespace dialect {
namespace {

constexpr int kMaxGroupColumns = 32;

int groupIndex(const RollupPlan& plan, const std::string& key) {
  for (std::size_t i = 0; i < plan.groupKeys.size(); ++i) {
    if (plan.groupKeys[i] == key) return static_cast<int>(i);
  }
  return -1;
}

bool isAggregate(const Expr& e) {
  if (e.kind != ExprKind::Call) return false;
  const FunctionMapping* f = findFunction(lower(e.text));
  return f && f->aggregate;
}

// Walks a select-list or HAVING expression of the rollup query itself (not its subqueries).
void inspect(const Expr& e, RollupPlan& plan, const Context& ctx) {
  if (groupIndex(plan, canonical(e, plan.soleTable)) >= 0) return;
  if (isAggregate(e)) {
    std::string key = canonical(e, plan.soleTable);
    for (const RollupAggregate& a : plan.aggregates) {
      if (a.key == key) return;
    }
    std::string name = lower(e.text);
    bool decomposable = (name == "sum" || name == "count" || name == "min" || name == "max") &&
                        (!e.distinct || name == "min" || name == "max");
    plan.aggregates.push_back(RollupAggregate{&e, key, name, decomposable});
    plan.decomposable = plan.decomposable && decomposable;
    return;
  }
  if (isCall(e, "grouping")) {
    if (e.args.size() != 1 || groupIndex(plan, canonical(*e.args[0], plan.soleTable)) < 0) {
      throw errorAt(ctx, e.pos, "GROUPING() needs one expression of the GROUP BY list");
    }
    return;
  }
  if (e.kind == ExprKind::Column || e.kind == ExprKind::Star) {
    std::string name = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
    if (e.kind == ExprKind::Star) name = e.qualifier.empty() ? "*" : e.qualifier + ".*";
    throw errorAt(ctx, e.pos,
                  "column '" + name + "' is neither in an aggregate function nor in the GROUP BY clause");
  }
  // Subqueries are checked by SQLite; only their operands belong to this query.
  for (const ExprPtr& arg : e.args) {
    if (arg) inspect(*arg, plan, ctx);
  }
}

ExprPtr makeBinary(const char* op, ExprPtr a, ExprPtr b) {
  auto e = std::make_unique<Expr>();
  e->kind = ExprKind::Binary;
  e->pos = a->pos;
  e->text = op;
  e->args.push_back(std::move(a));
  e->args.push_back(std::move(b));
  return e;
}

enum class Truth { True, False, Open };

struct Folded {
  Truth truth;
  ExprPtr residual;  // set when Open
};

std::optional<long long> constant(const Expr& e, const RollupPlan& plan, int kept) {
  if (e.kind == ExprKind::Literal && e.literal == LiteralKind::Number &&
      e.text.find_first_not_of("0123456789") == std::string::npos && e.text.size() < 18) {
    return std::stoll(e.text);
  }
  if (isCall(e, "grouping") && e.args.size() == 1) {
    int i = groupIndex(plan, canonical(*e.args[0], plan.soleTable));
    if (i >= 0) return i < kept ? 0 : 1;
  }
  if (e.kind == ExprKind::Unary && e.text == "-") {
    if (auto v = constant(*e.args[0], plan, kept)) return -*v;
  }
  return std::nullopt;
}

std::optional<bool> compare(const std::string& op, long long a, long long b) {
  if (op == "=") return a == b;
  if (op == "<>") return a != b;
  if (op == "<") return a < b;
  if (op == ">") return a > b;
  if (op == "<=") return a <= b;
  if (op == ">=") return a >= b;
  return std::nullopt;
}

// Evaluates what GROUPING() decides at this level; the rest stays as a residual filter.
Folded fold(const Expr& e, const RollupPlan& plan, int kept) {
  if (e.kind == ExprKind::Binary && (e.text == "AND" || e.text == "OR")) {
    bool isAnd = e.text == "AND";
    Folded a = fold(*e.args[0], plan, kept);
    Folded b = fold(*e.args[1], plan, kept);
    Truth absorbing = isAnd ? Truth::False : Truth::True;
    if (a.truth == absorbing || b.truth == absorbing) return {absorbing, nullptr};
    if (a.truth != Truth::Open) return b;
    if (b.truth != Truth::Open) return a;
    return {Truth::Open, makeBinary(isAnd ? "AND" : "OR", std::move(a.residual), std::move(b.residual))};
  }
  if (e.kind == ExprKind::Unary && e.text == "NOT") {
    Folded a = fold(*e.args[0], plan, kept);
    if (a.truth == Truth::True) return {Truth::False, nullptr};
    if (a.truth == Truth::False) return {Truth::True, nullptr};
    auto negated = std::make_unique<Expr>();
    negated->kind = ExprKind::Unary;
    negated->pos = e.pos;
    negated->text = "NOT";
    negated->args.push_back(std::move(a.residual));
    return {Truth::Open, std::move(negated)};
  }
  if (e.kind == ExprKind::Binary) {
    auto a = constant(*e.args[0], plan, kept);
    auto b = constant(*e.args[1], plan, kept);
    if (a && b) {
      if (auto result = compare(e.text, *a, *b)) return {*result ? Truth::True : Truth::False, nullptr};
    }
  }
  return {Truth::Open, clone(e)};
}

}  // namespace

RollupPlan planRollup(const Select& s, const Context& ctx) {
  if (s.distinct || s.top >= 0) throw errorAt(ctx, s.pos, "unsupported construct: DISTINCT or TOP with ROLLUP");
  if (s.groupBy.size() > kMaxGroupColumns) throw errorAt(ctx, s.pos, "too many GROUP BY expressions for ROLLUP");
  RollupPlan plan;
  if (s.from.size() == 1) plan.soleTable = s.from[0].refName();
  for (const ExprPtr& g : s.groupBy) {
    if (isAggregate(*g)) throw errorAt(ctx, g->pos, "aggregate function in GROUP BY");
    plan.groupKeys.push_back(canonical(*g, plan.soleTable));
  }
  for (const SelectItem& item : s.items) inspect(*item.expr, plan, ctx);
  if (s.having) inspect(*s.having, plan, ctx);

  int n = static_cast<int>(s.groupBy.size());
  for (int kept = n; kept >= 0; --kept) {
    if (!s.having) {
      plan.levels.push_back({kept, nullptr});
      continue;
    }
    Folded f = fold(*s.having, plan, kept);
    if (f.truth == Truth::True) plan.levels.push_back({kept, nullptr});
    if (f.truth == Truth::Open) plan.levels.push_back({kept, std::move(f.residual)});
  }
  return plan;
}

}  // namespace dialect
