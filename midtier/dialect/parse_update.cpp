// UPDATE target SET col = expr, ... [FROM tables] [WHERE ...] and DELETE [FROM] table [WHERE ...].
#include "midtier/dialect/parser.h"

namespace dialect {

Update Parser::parseUpdate() {
  Update update;
  update.pos = peek().pos;
  expectWord("UPDATE");
  update.target = expectTableName();
  if (atWord("WITH") && atSymbol("(", 1)) skipTableHints();
  expectWord("SET");
  do {
    Assignment set;
    set.pos = peek().pos;
    set.column = expectName("a column name");
    if (acceptSymbol(".")) {
      set.qualifier = set.column;
      set.column = expectName("a column name");
    }
    if (atSymbol("+") || atSymbol("-") || atSymbol("*") || atSymbol("/")) unsupported(peek());
    expectSymbol("=");
    set.value = parseExpr();
    update.sets.push_back(std::move(set));
  } while (acceptSymbol(","));
  if (acceptWord("FROM")) update.from = parseFromList();
  if (acceptWord("WHERE")) {
    if (atWord("CURRENT")) unsupported(peek());
    update.where = parseExpr();
  }
  return update;
}

Delete Parser::parseDelete() {
  Delete del;
  del.pos = peek().pos;
  expectWord("DELETE");
  acceptWord("FROM");
  del.table = expectTableName();
  if (atWord("FROM")) unsupported(peek());
  if (acceptWord("WHERE")) del.where = parseExpr();
  return del;
}

}  // namespace dialect
