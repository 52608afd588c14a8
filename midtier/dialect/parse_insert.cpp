// INSERT [INTO] table [(columns)] SELECT ... | VALUES (...), (...)
#include "midtier/dialect/parser.h"

namespace dialect {

Insert Parser::parseInsert() {
  Insert insert;
  insert.pos = peek().pos;
  expectWord("INSERT");
  acceptWord("INTO");
  insert.table = expectTableName();
  if (atSymbol("(") && !atWord("SELECT", 1)) {
    next();
    do {
      insert.columns.push_back(expectName("a column name"));
    } while (acceptSymbol(","));
    expectSymbol(")");
  }
  if (atWord("SELECT")) {
    insert.select = parseSelect();
  } else if (atSymbol("(") && atWord("SELECT", 1)) {
    next();
    insert.select = parseSelect();
    expectSymbol(")");
  } else if (acceptWord("VALUES")) {
    do {
      expectSymbol("(");
      std::vector<ExprPtr> row;
      do {
        row.push_back(parseExpr());
      } while (acceptSymbol(","));
      expectSymbol(")");
      insert.rows.push_back(std::move(row));
    } while (acceptSymbol(","));
  } else if (atWord("EXEC") || atWord("EXECUTE") || atWord("DEFAULT")) {
    unsupported(peek());
  } else {
    unexpected("SELECT or VALUES");
  }
  return insert;
}

}  // namespace dialect
