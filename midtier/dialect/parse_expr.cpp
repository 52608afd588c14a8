// Expressions: operators by T-SQL precedence, predicates, calls, CASE, CAST/CONVERT, subqueries.
#include "midtier/dialect/parser.h"

namespace dialect {
namespace {

ExprPtr makeExpr(ExprKind kind, SourcePos pos, std::string text = {}) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  e->pos = pos;
  e->text = std::move(text);
  return e;
}

ExprPtr makeBinary(std::string op, ExprPtr left, ExprPtr right) {
  auto e = makeExpr(ExprKind::Binary, left->pos, std::move(op));
  e->args.push_back(std::move(left));
  e->args.push_back(std::move(right));
  return e;
}

bool isComparison(const Token& t) {
  if (t.kind != TokenKind::Symbol) return false;
  return t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "<" || t.text == ">" || t.text == "<=" ||
         t.text == ">=" || t.text == "!<" || t.text == "!>";
}

// Comparisons are kept in the common spelling.
std::string normalizedComparison(const std::string& op) {
  if (op == "!=") return "<>";
  if (op == "!<") return ">=";
  if (op == "!>") return "<=";
  return op;
}

}  // namespace

ExprPtr Parser::parseExpr() {
  DepthGuard guard(*this);
  return parseOr();
}

ExprPtr Parser::parseOr() {
  ExprPtr left = parseAnd();
  int chain = 0;
  for (; atWord("OR"); ++chain) {
    next();
    deeper();
    left = makeBinary("OR", std::move(left), parseAnd());
  }
  depth_ -= chain;
  return left;
}

ExprPtr Parser::parseAnd() {
  ExprPtr left = parseNot();
  int chain = 0;
  for (; atWord("AND"); ++chain) {
    next();
    deeper();
    left = makeBinary("AND", std::move(left), parseNot());
  }
  depth_ -= chain;
  return left;
}

ExprPtr Parser::parseNot() {
  if (atWord("NOT")) {
    DepthGuard guard(*this);
    auto e = makeExpr(ExprKind::Unary, next().pos, "NOT");
    e->args.push_back(parseNot());
    return e;
  }
  return parsePredicate();
}

ExprPtr Parser::parsePredicate() {
  ExprPtr left = parseAdditive();
  if (isComparison(peek())) {
    std::string op = normalizedComparison(next().text);
    return makeBinary(std::move(op), std::move(left), parseAdditive());
  }
  if (atWord("IS")) {
    next();
    auto e = makeExpr(ExprKind::IsNull, left->pos);
    e->negated = acceptWord("NOT");
    expectWord("NULL");
    e->args.push_back(std::move(left));
    return e;
  }
  bool negated = atWord("NOT") && (atWord("LIKE", 1) || atWord("IN", 1) || atWord("BETWEEN", 1));
  if (negated) next();
  if (acceptWord("LIKE")) {
    auto e = makeExpr(ExprKind::Like, left->pos);
    e->negated = negated;
    e->args.push_back(std::move(left));
    e->args.push_back(parseAdditive());
    if (acceptWord("ESCAPE")) e->args.push_back(parseAdditive());
    return e;
  }
  if (acceptWord("BETWEEN")) {
    auto e = makeExpr(ExprKind::Between, left->pos);
    e->negated = negated;
    e->args.push_back(std::move(left));
    e->args.push_back(parseAdditive());
    expectWord("AND");
    e->args.push_back(parseAdditive());
    return e;
  }
  if (acceptWord("IN")) {
    expectSymbol("(");
    ExprPtr e;
    if (atWord("SELECT")) {
      e = makeExpr(ExprKind::InQuery, left->pos);
      e->query = parseSelect();
    } else {
      e = makeExpr(ExprKind::InList, left->pos);
      e->args.push_back(nullptr);  // placeholder for the tested value
      do {
        e->args.push_back(parseExpr());
      } while (acceptSymbol(","));
    }
    expectSymbol(")");
    e->negated = negated;
    if (e->kind == ExprKind::InList) {
      e->args[0] = std::move(left);
    } else {
      e->args.push_back(std::move(left));
    }
    return e;
  }
  return left;
}

ExprPtr Parser::parseAdditive() {
  ExprPtr left = parseMultiplicative();
  int chain = 0;
  for (; atSymbol("+") || atSymbol("-"); ++chain) {
    std::string op = next().text;
    deeper();
    left = makeBinary(std::move(op), std::move(left), parseMultiplicative());
  }
  depth_ -= chain;
  return left;
}

ExprPtr Parser::parseMultiplicative() {
  ExprPtr left = parseUnary();
  int chain = 0;
  for (; atSymbol("*") || atSymbol("/") || atSymbol("%"); ++chain) {
    std::string op = next().text;
    deeper();
    left = makeBinary(std::move(op), std::move(left), parseUnary());
  }
  depth_ -= chain;
  return left;
}

ExprPtr Parser::parseUnary() {
  if (atSymbol("-") || atSymbol("+")) {
    DepthGuard guard(*this);
    const Token& op = next();
    auto e = makeExpr(ExprKind::Unary, op.pos, op.text);
    e->args.push_back(parseUnary());
    return e;
  }
  return parsePrimary();
}

ExprPtr Parser::parsePrimary() {
  const Token& t = peek();
  switch (t.kind) {
    case TokenKind::Number: {
      auto e = makeExpr(ExprKind::Literal, t.pos, next().text);
      e->literal = LiteralKind::Number;
      return e;
    }
    case TokenKind::String: {
      auto e = makeExpr(ExprKind::Literal, t.pos, next().text);
      e->literal = LiteralKind::String;
      return e;
    }
    case TokenKind::Symbol:
      if (t.text == "(") return parseParenthesized();
      unexpected("an expression");
    case TokenKind::End: unexpected("an expression");
    default: break;
  }
  if (atWord("NULL")) {
    auto e = makeExpr(ExprKind::Literal, next().pos);
    e->literal = LiteralKind::Null;
    return e;
  }
  if (atWord("CASE")) return parseCase();
  if ((atWord("CAST") || atWord("CONVERT")) && atSymbol("(", 1)) return parseCastOrConvert();
  if (atWord("EXISTS")) {
    auto e = makeExpr(ExprKind::Exists, next().pos);
    expectSymbol("(");
    e->query = parseSelect();
    expectSymbol(")");
    return e;
  }
  if (!atName()) {
    if (isReservedWord(t)) unsupported(t);
    unexpected("an expression");
  }
  return parseNameOrCall();
}

ExprPtr Parser::parseParenthesized() {
  DepthGuard guard(*this);
  SourcePos pos = next().pos;
  ExprPtr e;
  if (atWord("SELECT")) {
    e = makeExpr(ExprKind::Subquery, pos);
    e->query = parseSelect();
  } else {
    e = parseExpr();
  }
  expectSymbol(")");
  return e;
}

ExprPtr Parser::parseNameOrCall() {
  const Token& first = next();
  if (first.kind == TokenKind::Word && atSymbol("(")) {
    DepthGuard guard(*this);
    auto call = makeExpr(ExprKind::Call, first.pos, first.text);
    next();
    if (acceptSymbol("*")) {
      call->starArg = true;
    } else if (!atSymbol(")")) {
      if (acceptWord("DISTINCT")) {
        call->distinct = true;
      } else {
        acceptWord("ALL");
      }
      do {
        call->args.push_back(parseExpr());
      } while (acceptSymbol(","));
    }
    expectSymbol(")");
    if (atWord("OVER")) unsupported(peek());
    return call;
  }
  // a, t.a, owner.t.a: the last two parts are the table and the column.
  std::vector<std::string> parts{first.text};
  while (atSymbol(".")) {
    next();
    if (atSymbol("*")) {
      auto star = makeExpr(ExprKind::Star, first.pos);
      next();
      star->qualifier = parts.back();
      return star;
    }
    parts.push_back(expectName("a column name"));
  }
  auto column = makeExpr(ExprKind::Column, first.pos, parts.back());
  if (parts.size() > 1) column->qualifier = parts[parts.size() - 2];
  return column;
}

ExprPtr Parser::parseCase() {
  DepthGuard guard(*this);
  auto e = makeExpr(ExprKind::Case, next().pos);
  if (!atWord("WHEN")) {
    e->hasOperand = true;
    e->args.push_back(parseExpr());
  }
  if (!atWord("WHEN")) unexpected("WHEN");
  while (acceptWord("WHEN")) {
    e->args.push_back(parseExpr());
    expectWord("THEN");
    e->args.push_back(parseExpr());
  }
  if (acceptWord("ELSE")) {
    e->hasElse = true;
    e->args.push_back(parseExpr());
  }
  expectWord("END");
  return e;
}

ExprPtr Parser::parseCastOrConvert() {
  DepthGuard guard(*this);
  bool isCast = atWord("CAST");
  auto e = makeExpr(ExprKind::Cast, next().pos, isCast ? "CAST" : "CONVERT");
  expectSymbol("(");
  if (isCast) {
    e->args.push_back(parseExpr());
    expectWord("AS");
    e->type = parseType();
  } else {
    e->type = parseType();
    expectSymbol(",");
    e->args.push_back(parseExpr());
    if (atSymbol(",")) failAt(peek(), "unsupported construct CONVERT with a style");
  }
  expectSymbol(")");
  return e;
}

}  // namespace dialect
