// SELECT: select list, FROM with joins, WHERE, GROUP BY [WITH ROLLUP], HAVING, ORDER BY.
#include "midtier/dialect/parser.h"

namespace dialect {
namespace {

long long parseCount(const Token& t) {
  long long n = 0;
  for (char c : t.text) {
    if (c < '0' || c > '9' || n > 1'000'000'000'000LL) return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

SelectPtr Parser::parseSelect() {
  DepthGuard guard(*this);
  auto s = std::make_shared<Select>();
  s->pos = peek().pos;
  expectWord("SELECT");
  if (acceptWord("DISTINCT")) {
    s->distinct = true;
  } else {
    acceptWord("ALL");
  }
  if (atWord("TOP")) {
    const Token& top = next();
    bool parenthesized = acceptSymbol("(");
    if (peek().kind != TokenKind::Number || (s->top = parseCount(peek())) < 0) unexpected("a row count after TOP");
    next();
    if (parenthesized) expectSymbol(")");
    if (atWord("PERCENT") || atWord("WITH")) failAt(top, "unsupported construct TOP " + peek().text);
  }
  parseSelectItems(*s);
  if (atWord("INTO")) unsupported(peek());
  if (acceptWord("FROM")) s->from = parseFromList();
  if (acceptWord("WHERE")) s->where = parseExpr();
  if (atWord("GROUP")) {
    next();
    expectWord("BY");
    if (atWord("ROLLUP") && atSymbol("(", 1)) {
      next();
      next();
      s->rollup = true;
      do {
        s->groupBy.push_back(parseExpr());
      } while (acceptSymbol(","));
      expectSymbol(")");
    } else {
      if ((atWord("CUBE") || atWord("GROUPING")) && atSymbol("(", 1)) unsupported(peek());
      do {
        s->groupBy.push_back(parseExpr());
      } while (acceptSymbol(","));
      if (atWord("WITH")) {
        next();
        if (!atWord("ROLLUP")) unsupported(peek());
        next();
        s->rollup = true;
      }
    }
  }
  if (acceptWord("HAVING")) s->having = parseExpr();
  if (atWord("ORDER")) {
    next();
    expectWord("BY");
    do {
      OrderItem item;
      item.expr = parseExpr();
      if (acceptWord("DESC")) {
        item.descending = true;
      } else {
        acceptWord("ASC");
      }
      s->orderBy.push_back(std::move(item));
    } while (acceptSymbol(","));
  }
  if (atWord("UNION") || atWord("EXCEPT") || atWord("INTERSECT") || atWord("FOR") || atWord("OPTION")) {
    unsupported(peek());
  }
  return s;
}

void Parser::parseSelectItems(Select& s) {
  do {
    SelectItem item;
    if (atSymbol("*")) {
      auto star = std::make_unique<Expr>();
      star->kind = ExprKind::Star;
      star->pos = next().pos;
      item.expr = std::move(star);
    } else if (peek().kind != TokenKind::TempName && atName() && atSymbol("=", 1)) {
      item.alias = next().text;  // alias = expression
      next();
      item.expr = parseExpr();
    } else {
      item.expr = parseExpr();
      if (acceptWord("AS")) {
        if (peek().kind == TokenKind::String) {
          item.alias = next().text;
        } else {
          item.alias = expectName("an alias");
        }
      } else if (atName() && peek().kind != TokenKind::TempName) {
        item.alias = next().text;
      } else if (peek().kind == TokenKind::String) {
        item.alias = next().text;
      }
    }
    s.items.push_back(std::move(item));
  } while (acceptSymbol(","));
}

std::vector<TableRef> Parser::parseFromList() {
  std::vector<TableRef> refs;
  refs.push_back(parseTableRef(JoinKind::First));
  for (;;) {
    JoinKind join;
    if (acceptSymbol(",")) {
      join = JoinKind::Comma;
    } else if (atWord("JOIN") || (atWord("INNER") && atWord("JOIN", 1))) {
      acceptWord("INNER");
      join = JoinKind::Inner;
    } else if (atWord("LEFT") || atWord("RIGHT") || atWord("FULL")) {
      join = atWord("LEFT") ? JoinKind::Left : atWord("RIGHT") ? JoinKind::Right : JoinKind::Full;
      next();
      acceptWord("OUTER");
    } else if (atWord("CROSS") && atWord("JOIN", 1)) {
      next();
      join = JoinKind::Cross;
    } else if ((atWord("CROSS") || atWord("OUTER")) && atWord("APPLY", 1)) {
      unsupported(peek());
    } else {
      return refs;
    }
    if (join != JoinKind::Comma) expectWord("JOIN");
    TableRef ref = parseTableRef(join);
    if (join != JoinKind::Comma && join != JoinKind::Cross) {
      expectWord("ON");
      ref.on = parseExpr();
    }
    refs.push_back(std::move(ref));
  }
}

TableRef Parser::parseTableRef(JoinKind join) {
  TableRef ref;
  ref.join = join;
  ref.pos = peek().pos;
  if (atSymbol("(")) {
    DepthGuard guard(*this);
    next();
    if (!atWord("SELECT")) failAt(peek(), "unsupported construct: parenthesized joins");
    ref.derived = parseSelect();
    expectSymbol(")");
  } else {
    ref.table = expectTableName();
  }
  if (acceptWord("AS")) {
    ref.alias = expectName("an alias");
  } else if (atName() && peek().kind != TokenKind::TempName) {
    ref.alias = next().text;
  }
  if (ref.derived && ref.alias.empty()) unexpected("an alias for the derived table");
  skipTableHints();
  return ref;
}

// WITH (NOLOCK) and other locking hints do not change results on one connection.
void Parser::skipTableHints() {
  if (!(atWord("WITH") && atSymbol("(", 1))) return;
  next();
  next();
  while (!atSymbol(")")) {
    if (peek().kind != TokenKind::Word && !atSymbol(",")) unexpected("a table hint");
    next();
  }
  next();
}

}  // namespace dialect
