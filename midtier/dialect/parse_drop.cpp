// DROP TABLE, the IF OBJECT_ID(...) guard around DROP/CREATE, and SET NOCOUNT.
#include "midtier/dialect/parser.h"

namespace dialect {
namespace {

// 'tempdb..#Data' and 'dbo.t_Item' name the tables #Data and t_Item.
std::string objectName(const std::string& text) {
  std::size_t dot = text.find_last_of('.');
  return dot == std::string::npos ? text : text.substr(dot + 1);
}

}  // namespace

DropTable Parser::parseDrop() {
  DropTable drop;
  drop.pos = peek().pos;
  expectWord("DROP");
  if (!atWord("TABLE")) unsupported(peek());
  next();
  if (atWord("IF") && atWord("EXISTS", 1)) {
    next();
    next();
    drop.ifExists = true;
  }
  do {
    drop.tables.push_back(expectTableName());
  } while (acceptSymbol(","));
  return drop;
}

// Only the existence guard is supported: IF OBJECT_ID('name') IS NOT NULL DROP TABLE name,
// and IF OBJECT_ID('name') IS NULL CREATE TABLE name (...).
std::optional<Stmt> Parser::parseIf() {
  const Token& ifToken = next();
  if (!(atWord("OBJECT_ID") && atSymbol("(", 1))) {
    failAt(ifToken, "unsupported construct: IF other than IF OBJECT_ID('table') IS [NOT] NULL");
  }
  next();
  next();
  if (peek().kind != TokenKind::String) unexpected("a table name in quotes");
  const Token& nameToken = next();
  std::string table = objectName(nameToken.text);
  if (acceptSymbol(",")) {
    if (peek().kind != TokenKind::String) unexpected("an object type in quotes");
    next();
  }
  expectSymbol(")");
  expectWord("IS");
  bool notNull = acceptWord("NOT");
  expectWord("NULL");
  const Token& body = peek();
  if (notNull && atWord("DROP")) {
    DropTable drop = parseDrop();
    if (drop.tables.size() != 1 || !sameName(drop.tables[0], table)) {
      failAt(body, "unsupported construct: IF OBJECT_ID('" + nameToken.text + "') guards another table");
    }
    drop.ifExists = true;
    return drop;
  }
  if (!notNull && atWord("CREATE")) {
    CreateTable create = parseCreate();
    if (!sameName(create.table, table)) {
      failAt(body, "unsupported construct: IF OBJECT_ID('" + nameToken.text + "') guards another table");
    }
    create.ifNotExists = true;
    return create;
  }
  failAt(body, "unsupported construct: IF OBJECT_ID(...) IS " + std::string(notNull ? "NOT NULL" : "NULL") +
                   " must guard " + (notNull ? "DROP TABLE" : "CREATE TABLE"));
}

// SET NOCOUNT ON/OFF only silences row-count messages, which SQLite never sends.
void Parser::parseSet() {
  const Token& set = next();
  if (atWord("NOCOUNT") && (atWord("ON", 1) || atWord("OFF", 1))) {
    next();
    next();
    return;
  }
  failAt(set, "unsupported construct 'SET " + peek().text + "'");
}

}  // namespace dialect
