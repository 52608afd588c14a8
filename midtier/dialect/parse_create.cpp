// CREATE TABLE with column types, NULL / NOT NULL, DEFAULT and PRIMARY KEY.
#include "midtier/dialect/parser.h"

namespace dialect {
namespace {

int parseSize(Parser& p) {
  const Token& t = p.peek();
  if (t.kind != TokenKind::Number || t.text.find_first_not_of("0123456789") != std::string::npos || t.text.size() > 6) {
    p.unexpected("a type size");
  }
  return std::stoi(p.next().text);
}

}  // namespace

TypeName Parser::parseType() {
  TypeName type;
  type.pos = peek().pos;
  if (peek().kind != TokenKind::Word && peek().kind != TokenKind::QuotedName) unexpected("a type name");
  type.name = lower(next().text);
  if (acceptSymbol("(")) {
    if (atWord("MAX")) {
      next();
      type.length = -2;
    } else {
      int first = parseSize(*this);
      type.length = first;
      type.precision = first;
      if (acceptSymbol(",")) type.scale = parseSize(*this);
    }
    expectSymbol(")");
  }
  return type;
}

CreateTable Parser::parseCreate() {
  CreateTable create;
  create.pos = peek().pos;
  expectWord("CREATE");
  if (!atWord("TABLE")) unsupported(peek());
  next();
  create.table = expectTableName();
  expectSymbol("(");
  do {
    if (atWord("CONSTRAINT") || atWord("PRIMARY") || atWord("UNIQUE") || atWord("INDEX")) unsupported(peek());
    ColumnDef column;
    column.name = expectName("a column name");
    column.type = parseType();
    for (;;) {
      if (acceptWord("NULL")) {
        column.notNull = false;
      } else if (atWord("NOT") && atWord("NULL", 1)) {
        next();
        next();
        column.notNull = true;
      } else if (acceptWord("DEFAULT")) {
        column.defaultValue = parseExpr();
      } else if (atWord("PRIMARY") && atWord("KEY", 1)) {
        next();
        next();
        column.primaryKey = true;
      } else if (atWord("IDENTITY") || atWord("CONSTRAINT") || atWord("COLLATE") || atWord("UNIQUE") ||
                 atWord("CHECK") || atWord("REFERENCES")) {
        unsupported(peek());
      } else {
        break;
      }
    }
    create.columns.push_back(std::move(column));
  } while (acceptSymbol(","));
  expectSymbol(")");
  return create;
}

}  // namespace dialect
