// Copying, comparing and naming helpers of the statement model.
#include <cctype>
#include <cstdint>

#include "midtier/dialect/ast.h"

namespace dialect {

ExprPtr clone(const Expr& e) {
  auto copy = std::make_unique<Expr>();
  copy->kind = e.kind;
  copy->pos = e.pos;
  copy->literal = e.literal;
  copy->text = e.text;
  copy->qualifier = e.qualifier;
  copy->negated = e.negated;
  copy->distinct = e.distinct;
  copy->starArg = e.starArg;
  copy->hasOperand = e.hasOperand;
  copy->hasElse = e.hasElse;
  copy->type = e.type;
  copy->query = e.query;
  for (const ExprPtr& arg : e.args) copy->args.push_back(clone(*arg));
  return copy;
}

std::string canonical(const Expr& e, std::string_view soleTable) {
  std::string out;
  switch (e.kind) {
    case ExprKind::Literal:
      if (e.literal == LiteralKind::String) return "'" + e.text + "'";
      return e.literal == LiteralKind::Null ? "null" : e.text;
    case ExprKind::Column:
      if (e.qualifier.empty() || (!soleTable.empty() && sameName(e.qualifier, soleTable))) return lower(e.text);
      return lower(e.qualifier) + "." + lower(e.text);
    case ExprKind::Star:
      return e.qualifier.empty() ? "*" : lower(e.qualifier) + ".*";
    case ExprKind::Subquery:
    case ExprKind::Exists:
    case ExprKind::InQuery:
      // A query is only ever equal to itself.
      out = "query@" + std::to_string(reinterpret_cast<std::uintptr_t>(e.query.get()));
      break;
    case ExprKind::Cast:
      out = "cast:" + e.type.name + "," + std::to_string(e.type.length) + "," + std::to_string(e.type.precision) +
            "," + std::to_string(e.type.scale);
      break;
    default:
      break;
  }
  // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) on chains of string + in loops.
  out += '{';
  out += std::to_string(static_cast<int>(e.kind));
  out += ':';
  out += lower(e.text);
  if (e.negated) out += '!';
  if (e.distinct) out += 'd';
  if (e.starArg) out += '*';
  if (e.hasOperand) out += 'o';
  if (e.hasElse) out += 'e';
  for (const ExprPtr& arg : e.args) {
    out += '(';
    out += canonical(*arg, soleTable);
    out += ')';
  }
  out += '}';
  return out;
}

bool isCall(const Expr& e, std::string_view lowerName) { return e.kind == ExprKind::Call && lower(e.text) == lowerName; }

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool isTempName(std::string_view table) { return !table.empty() && table[0] == '#'; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace dialect
