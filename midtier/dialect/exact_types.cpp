// Precision and scale of exact numeric results as SQL Server derives them: decimal(38,...) at
// most, with the scale given up before the integral digits.
#include "midtier/dialect/exact_types.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "midtier/dialect/mappings.h"

namespace dialect {
namespace {

constexpr int kMaxPrecision = 38;
// A division keeps at least six places; so does a product or quotient whose integral part
// needs more than 32 digits.
constexpr int kMinDivisionScale = 6;

ExactType integer(int precision) { return {ExactType::Integer, precision, 0}; }
ExactType decimal(int precision, int scale) { return {ExactType::Decimal, precision, scale}; }
bool known(ExactType t) { return t.kind != ExactType::None; }

// Sums, differences and unions keep the integral digits and give up places beyond 38 digits.
ExactType fitKeepingIntegral(int integral, int scale, int extra) {
  int precision = integral + scale + extra;
  if (precision <= kMaxPrecision) return decimal(precision, scale);
  return decimal(kMaxPrecision, std::max(0, std::min(scale, kMaxPrecision - integral)));
}

// Products and quotients: the scale shrinks to fit while the integral part is under 32 digits,
// and to six places (or less, if it was less) beyond.
ExactType fitProduct(int precision, int scale) {
  if (precision <= kMaxPrecision) return decimal(precision, scale);
  const int integral = precision - scale;
  if (integral < 32) return decimal(kMaxPrecision, std::min(scale, kMaxPrecision - integral));
  return decimal(kMaxPrecision, std::min(scale, kMinDivisionScale));
}

ExactType unionType(ExactType a, ExactType b) {
  if (!known(a) || !known(b)) return {};
  if (a.kind == ExactType::Integer && b.kind == ExactType::Integer) return integer(std::max(a.precision, b.precision));
  return fitKeepingIntegral(std::max(a.precision - a.scale, b.precision - b.scale), std::max(a.scale, b.scale), 0);
}

// 12 is an int, 12.50 a decimal(4,2); 1e3 is a float.
ExactType literalType(std::string_view text) {
  if (text.find_first_of("eE") != std::string_view::npos) return {};
  const std::size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  const int scale = point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  const int precision = std::max(1, static_cast<int>(whole.size()) + scale);
  if (precision > kMaxPrecision) return {};
  if (point == std::string_view::npos && (whole.size() < 10 || (whole.size() == 10 && whole <= "2147483647")))
    return integer(10);
  return decimal(precision, scale);
}

ExactType callType(const Expr& e, const Scope& scope, const Catalog& catalog) {
  const std::string name = lower(e.text);
  if (name == "count" || name == "len" || name == "charindex" || name == "grouping") return integer(10);
  if (e.args.empty()) return {};
  const ExactType first = exactTypeOf(*e.args[0], scope, catalog);
  if (name == "min" || name == "max" || name == "abs" || name == "round") return first;
  if (name == "sum") return first.kind == ExactType::Decimal ? decimal(kMaxPrecision, first.scale) : first;
  if (name == "avg") {
    return first.kind == ExactType::Decimal ? decimal(kMaxPrecision, std::max(first.scale, kMinDivisionScale)) : first;
  }
  if (name == "isnull") {
    const bool nullFirst = e.args[0]->kind == ExprKind::Literal && e.args[0]->literal == LiteralKind::Null;
    return nullFirst && e.args.size() > 1 ? exactTypeOf(*e.args[1], scope, catalog) : first;
  }
  if (name == "nullif") return first;
  if (name == "coalesce") {
    ExactType result = first;
    for (std::size_t i = 1; i < e.args.size(); ++i) result = unionType(result, exactTypeOf(*e.args[i], scope, catalog));
    return result;
  }
  return {};
}

ExactType caseType(const Expr& e, const Scope& scope, const Catalog& catalog) {
  std::optional<ExactType> result;
  auto add = [&](const Expr& branch) {
    if (branch.kind == ExprKind::Literal && branch.literal == LiteralKind::Null) return;
    const ExactType t = exactTypeOf(branch, scope, catalog);
    result = result ? unionType(*result, t) : t;
  };
  const std::size_t first = e.hasOperand ? 1 : 0;
  const std::size_t whens = (e.args.size() - first - (e.hasElse ? 1 : 0)) / 2;
  for (std::size_t i = 0; i < whens; ++i) add(*e.args[first + 2 * i + 1]);
  if (e.hasElse) add(*e.args.back());
  return result.value_or(ExactType{});
}

}  // namespace

ExactType declaredExactType(const TypeName& type) {
  const TypeMapping* mapping = findType(type.name);
  if (!mapping) return {};
  if (mapping->family == TypeFamily::Integer) {
    if (type.name == "bigint") return integer(19);
    if (type.name == "smallint") return integer(5);
    if (type.name == "tinyint") return integer(3);
    return integer(type.name == "bit" ? 1 : 10);
  }
  if (mapping->family != TypeFamily::Decimal) return {};
  if (type.name == "money") return decimal(19, 4);
  if (type.name == "smallmoney") return decimal(10, 4);
  const int precision = type.precision > 0 ? std::min(type.precision, kMaxPrecision) : 18;
  return decimal(precision, std::clamp(type.scale >= 0 ? type.scale : mapping->defaultLength, 0, precision));
}

ExactType arithmeticType(char op, ExactType a, ExactType b) {
  if (!known(a) || !known(b)) return {};
  if (a.kind == ExactType::Integer && b.kind == ExactType::Integer) return integer(std::max(a.precision, b.precision));
  const int p1 = a.precision, s1 = a.scale, p2 = b.precision, s2 = b.scale;
  switch (op) {
    case '+':
    case '-': return fitKeepingIntegral(std::max(p1 - s1, p2 - s2), std::max(s1, s2), 1);
    case '*': return fitProduct(p1 + p2 + 1, s1 + s2);
    case '/': {
      const int scale = std::max(kMinDivisionScale, s1 + p2 + 1);
      return fitProduct(p1 - s1 + s2 + scale, scale);
    }
    default: return {};
  }
}

ExactType exactTypeOf(const Expr& e, const Scope& scope, const Catalog& catalog) {
  switch (e.kind) {
    case ExprKind::Literal: return e.literal == LiteralKind::Number ? literalType(e.text) : ExactType{};
    case ExprKind::Column: {
      const ColumnInfo* column = findColumn(scope, e.qualifier, e.text);
      return column ? column->exact : ExactType{};
    }
    case ExprKind::Unary: return e.text == "NOT" ? ExactType{} : exactTypeOf(*e.args[0], scope, catalog);
    case ExprKind::Binary: {
      if (e.text != "+" && e.text != "-" && e.text != "*" && e.text != "/") return {};
      return arithmeticType(e.text[0], exactTypeOf(*e.args[0], scope, catalog), exactTypeOf(*e.args[1], scope, catalog));
    }
    case ExprKind::Cast: return declaredExactType(e.type);
    case ExprKind::Call: return callType(e, scope, catalog);
    case ExprKind::Case: return caseType(e, scope, catalog);
    case ExprKind::Subquery: {
      if (!e.query || e.query->items.empty()) return {};
      Scope inner = makeScope(e.query->from, catalog, &scope);
      return exactTypeOf(*e.query->items[0].expr, inner, catalog);
    }
    default: return {};
  }
}

}  // namespace dialect
