// Writes expressions as the target's text: operators, the typed '+', mapped functions, CAST/CONVERT, CASE.
#include <sqlite3.h>

#include <cctype>

#include "midtier/dialect/errors.h"
#include "midtier/dialect/exact_types.h"
#include "midtier/dialect/generator.h"
#include "midtier/dialect/mappings.h"

namespace dialect {
namespace {

bool needsParentheses(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Unary:
    case ExprKind::Binary:
    case ExprKind::IsNull:
    case ExprKind::Like:
    case ExprKind::InList:
    case ExprKind::InQuery:
    case ExprKind::Between: return true;
    default: return false;
  }
}

// Fills {0}, {1}, ... and {*} of a mapping's pattern.
std::string fillPattern(std::string_view pattern, const std::vector<std::string>& args) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '{') {
      out += pattern[i];
      continue;
    }
    std::size_t close = pattern.find('}', i);
    std::string_view key = pattern.substr(i + 1, close - i - 1);
    if (key == "*") {
      for (std::size_t a = 0; a < args.size(); ++a) out += (a ? ", " : "") + args[a];
    } else {
      out += args[static_cast<std::size_t>(key[0] - '0')];
    }
    i = close;
  }
  return out;
}

}  // namespace

std::string ident(const Target& target, std::string_view name) {
  if (target.foldsNames) {
    std::string out = "\"";
    for (char c : lower(name)) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
  }
  bool plain = !name.empty() && (std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_');
  for (char c : name) plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
  if (plain && !sqlite3_keyword_check(name.data(), static_cast<int>(name.size()))) return std::string(name);
  // [..] is never taken for a string, unlike "..", but cannot hold a ']'.
  if (name.find(']') == std::string_view::npos) return std::string("[").append(name).append("]");
  std::string out = "\"";
  for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string quoteString(std::string_view value) {
  std::string out = "'";
  for (char c : value) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

plat::Error errorAt(const Context& ctx, SourcePos pos, const std::string& what) { return syntaxError(ctx.batch, pos, what); }

ExprWriter::ExprWriter(const Context& ctx, const Scope& scope, const RollupLevel* level)
    : ctx_(ctx), scope_(scope), level_(level) {}

ExprWriter ExprWriter::nested(const Scope& inner, const std::vector<TableRef>& from) const {
  ExprWriter writer(ctx_, inner, level_);
  writer.depth_ = depth_ + 1;
  writer.shadowed_ = shadowed_;
  for (const TableRef& ref : from) writer.shadowed_.push_back(lower(ref.refName()));
  return writer;
}

// A rollup level replaces GROUP BY expressions, GROUPING() and aggregate calls of its own query.
bool ExprWriter::replaced(const Expr& e, std::string& out) {
  if (!level_ || insideAggregate_) return false;
  bool ownLevel = depth_ == 0;
  bool outerColumn = e.kind == ExprKind::Column && !e.qualifier.empty();
  for (const std::string& s : shadowed_) outerColumn = outerColumn && s != lower(e.qualifier);
  if (ownLevel || outerColumn) {
    std::string key = canonical(e, level_->soleTable);
    for (std::size_t i = 0; i < level_->groupKeys.size(); ++i) {
      if (level_->groupKeys[i] == key) {
        if (level_->groupText[i].empty()) return false;
        out = level_->groupText[i];
        return true;
      }
    }
  }
  if (!ownLevel || e.kind != ExprKind::Call) return false;
  if (isCall(e, "grouping")) {
    std::string key = e.args.size() == 1 ? canonical(*e.args[0], level_->soleTable) : std::string();
    for (std::size_t i = 0; i < level_->groupKeys.size(); ++i) {
      if (level_->groupKeys[i] == key) {
        out = std::to_string(level_->grouping[i]);
        return true;
      }
    }
    throw errorAt(ctx_, e.pos, "GROUPING() needs one expression of the GROUP BY list");
  }
  auto it = level_->aggregates.find(canonical(e, level_->soleTable));
  if (it == level_->aggregates.end()) return false;
  out = it->second;
  return true;
}

std::string ExprWriter::write(const Expr& e) {
  std::string out;
  if (replaced(e, out)) return out;
  return writeNode(e);
}

std::string ExprWriter::writeOperand(const Expr& e) {
  std::string text = write(e);
  return needsParentheses(e) ? "(" + text + ")" : text;
}

std::string ExprWriter::writeNode(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Literal:
      if (e.literal == LiteralKind::String) return quoteString(e.text);
      return e.literal == LiteralKind::Null ? "NULL" : e.text;
    case ExprKind::Column: return e.qualifier.empty() ? ident(ctx_.target, e.text)
                                                  : ident(ctx_.target, e.qualifier) + "." + ident(ctx_.target, e.text);
    case ExprKind::Star: return writeStar(e);
    case ExprKind::Unary: return (e.text == "NOT" ? "NOT " : e.text) + writeOperand(*e.args[0]);
    case ExprKind::Binary: {
      std::string a = writeOperand(*e.args[0]);
      std::string b = writeOperand(*e.args[1]);
      if (e.text != "+") return roundedToScale(e, a + " " + e.text + " " + b);
      const SqlType left = typeOf(*e.args[0]);
      const SqlType right = typeOf(*e.args[1]);
      const bool leftNumber = left == SqlType::Number || left == SqlType::Null;
      const bool rightNumber = right == SqlType::Number || right == SqlType::Null;
      if (typeOf(e) == SqlType::Text) return a + " || " + b;
      if (leftNumber && rightNumber) return roundedToScale(e, a + " + " + b);
      // Text converted to a number, or operands whose types only the values tell.
      return "tav_add(" + a + ", " + b + ")";
    }
    case ExprKind::Call: return writeCall(e);
    case ExprKind::Cast: return writeCast(e);
    case ExprKind::Case: return writeCase(e);
    case ExprKind::IsNull: return writeOperand(*e.args[0]) + (e.negated ? " IS NOT NULL" : " IS NULL");
    case ExprKind::Like: {
      const Expr& pattern = *e.args[1];
      if (pattern.kind == ExprKind::Literal && pattern.text.find('[') != std::string::npos) {
        throw errorAt(ctx_, pattern.pos, "unsupported construct: LIKE pattern with [...]");
      }
      const char* like = e.negated ? " NOT LIKE " : " LIKE ";
      std::string subject = writeOperand(*e.args[0]);
      if (!ctx_.target.caselessLike) {
        like = e.negated ? " NOT ILIKE " : " ILIKE ";
        subject += " COLLATE \"default\"";
      }
      std::string out = subject + like + writeOperand(pattern);
      if (e.args.size() > 2) out += " ESCAPE " + writeOperand(*e.args[2]);
      return out;
    }
    case ExprKind::InList: {
      std::string out = writeOperand(*e.args[0]) + (e.negated ? " NOT IN (" : " IN (");
      for (std::size_t i = 1; i < e.args.size(); ++i) out += (i > 1 ? ", " : "") + write(*e.args[i]);
      return out + ")";
    }
    case ExprKind::InQuery:
      return writeOperand(*e.args[0]) + (e.negated ? " NOT IN (" : " IN (") + writeQuery(*e.query) + ")";
    case ExprKind::Between:
      return writeOperand(*e.args[0]) + (e.negated ? " NOT BETWEEN " : " BETWEEN ") + writeOperand(*e.args[1]) +
             " AND " + writeOperand(*e.args[2]);
    case ExprKind::Exists: return "EXISTS (" + writeQuery(*e.query) + ")";
    case ExprKind::Subquery: return std::string("(").append(writeQuery(*e.query)).append(")");
  }
  throw errorAt(ctx_, e.pos, "unsupported expression");
}

// Arithmetic on exact operands is rounded to the scale SQL Server gives its result (1.0 / 3 is
// 0.333333333333), where the target computes it in binary floating point or to its own scale.
std::string ExprWriter::roundedToScale(const Expr& e, std::string text) const {
  const ExactType type = exactTypeOf(e, scope_, ctx_.catalog);
  if (type.kind != ExactType::Decimal) return text;
  return "tav_round(" + text + ", " + std::to_string(type.scale) + ")";
}

// "*" or "t.*"; on a target that numbers the rows of work tables, their columns as declared.
std::string ExprWriter::writeStar(const Expr& e) {
  const Target& target = ctx_.target;
  auto columns = [&](const ScopeTable& table) {
    if (!table.sequenced) return ident(target, table.refName) + ".*";
    std::string out;
    for (const ColumnInfo& c : table.info->columns)
      out += (out.empty() ? "" : ", ") + ident(target, table.refName) + "." + ident(target, c.name);
    return out;
  };
  bool anySequenced = false;
  for (const ScopeTable& table : scope_.tables) anySequenced = anySequenced || table.sequenced;
  if (target.keepsInsertOrder || !anySequenced) return e.qualifier.empty() ? "*" : ident(target, e.qualifier) + ".*";
  std::string out;
  for (const ScopeTable& table : scope_.tables) {
    if (!e.qualifier.empty() && !sameName(table.refName, e.qualifier)) continue;
    out += (out.empty() ? "" : ", ") + columns(table);
  }
  return out.empty() ? ident(target, e.qualifier) + ".*" : out;
}

std::string ExprWriter::writeCall(const Expr& e) {
  std::string name = lower(e.text);
  if (name == "grouping" && nativeGrouping_ && e.args.size() == 1 && !e.starArg)
    return "GROUPING(" + write(*e.args[0]) + ")";
  if (name == "grouping") throw errorAt(ctx_, e.pos, "GROUPING() is only supported with GROUP BY ... WITH ROLLUP");
  const FunctionMapping* f = findFunction(name);
  if (!f) throw errorAt(ctx_, e.pos, "unsupported function '" + e.text + "'");
  int count = static_cast<int>(e.args.size());
  bool countStar = e.starArg && name == "count";
  if (e.starArg && !countStar) throw errorAt(ctx_, e.pos, "unsupported construct '" + e.text + "(*)'");
  if (!countStar && (count < f->minArgs || (f->maxArgs >= 0 && count > f->maxArgs))) {
    throw errorAt(ctx_, e.pos, "wrong number of arguments to '" + e.text + "'");
  }
  if (e.distinct && !f->aggregate) throw errorAt(ctx_, e.pos, "DISTINCT in a call of '" + e.text + "'");
  if (countStar) return "count(*)";
  bool wasInside = insideAggregate_;
  insideAggregate_ = insideAggregate_ || f->aggregate;
  std::vector<std::string> args;
  for (const ExprPtr& arg : e.args) args.push_back(write(*arg));
  insideAggregate_ = wasInside;
  if (e.distinct) args[0] = "DISTINCT " + args[0];
  if (name == "sum" && !e.distinct) {
    const std::string_view sum = exactTypeOf(*e.args[0], scope_, ctx_.catalog).kind == ExactType::Decimal
                                     ? ctx_.target.decimalSum
                                     : isFloating(*e.args[0], scope_) ? ctx_.target.floatSum : "";
    if (!sum.empty()) return fillPattern(sum, args);
  }
  const std::string_view own = functionPattern(ctx_.target, name);
  return fillPattern(own.empty() ? f->pattern : own, args);
}

std::string ExprWriter::writeCast(const Expr& e) {
  const TypeMapping* type = findType(e.type.name);
  if (!type) throw errorAt(ctx_, e.type.pos, "unsupported type '" + e.type.name + "'");
  std::string value = write(*e.args[0]);
  switch (type->family) {
    case TypeFamily::Text: {
      // SQL Server cuts the text to the declared length.
      int length = e.type.length == -1 ? type->defaultLength : e.type.length;
      std::string text = "CAST(" + value + " AS TEXT)";
      return length < 0 ? text : "substr(" + text + ", 1, " + std::to_string(length) + ")";
    }
    case TypeFamily::Integer:
      // SQL Server cuts a fraction; a text is converted as it is.
      if (ctx_.target.roundsIntegers) return "tav_int(" + value + ")";
      return "CAST(" + value + " AS INTEGER)";
    case TypeFamily::Decimal: {
      int scale = e.type.scale >= 0 ? e.type.scale : type->defaultLength;
      return "tav_round(" + value + ", " + std::to_string(scale) + ")";
    }
    case TypeFamily::Float: return "CAST(" + value + " AS " + std::string(ctx_.target.floatColumn) + ")";
  }
  return value;
}

std::string ExprWriter::writeCase(const Expr& e) {
  std::string out = "CASE";
  std::size_t i = 0;
  if (e.hasOperand) out.append(" ").append(write(*e.args[i++]));
  std::size_t end = e.args.size() - (e.hasElse ? 1 : 0);
  for (; i + 1 < end; i += 2) {
    out += " WHEN " + write(*e.args[i]) + " THEN " + write(*e.args[i + 1]);
  }
  if (e.hasElse) out += " ELSE " + write(*e.args.back());
  return out + " END";
}

std::string ExprWriter::writeQuery(const Select& s) {
  if (s.rollup) throw errorAt(ctx_, s.pos, "unsupported construct: WITH ROLLUP in a subquery");
  Scope inner = makeScope(s.from, ctx_.catalog, &scope_);
  ExprWriter writer = nested(inner, s.from);
  return writeSelect(s, writer);
}

}  // namespace dialect
