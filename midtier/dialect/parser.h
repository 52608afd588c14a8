// Recursive-descent parser of the supported T-SQL subset (internal to the dialect layer).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "midtier/dialect/ast.h"
#include "midtier/dialect/tokens.h"

namespace dialect {

class Parser {
 public:
  Parser(std::string_view batch, std::vector<Token> tokens);

  // The whole batch, statement by statement (parse_batch.cpp). Throws plat::Error.
  std::vector<Stmt> parseBatch();

  // Grammar pieces, one file per statement kind.
  ExprPtr parseExpr();                    // parse_expr.cpp
  SelectPtr parseSelect();                // parse_select.cpp; at SELECT
  std::vector<TableRef> parseFromList();  // parse_select.cpp; after FROM
  TypeName parseType();                   // parse_create.cpp
  CreateTable parseCreate();              // parse_create.cpp; at CREATE
  Insert parseInsert();                   // parse_insert.cpp; at INSERT
  Update parseUpdate();                   // parse_update.cpp; at UPDATE
  Delete parseDelete();                   // parse_update.cpp; at DELETE
  DropTable parseDrop();                  // parse_drop.cpp; at DROP
  std::optional<Stmt> parseIf();          // parse_drop.cpp; at IF
  void parseSet();                        // parse_drop.cpp; at SET

  // Cursor.
  const Token& peek(std::size_t ahead = 0) const;
  const Token& next();
  bool atWord(std::string_view keyword, std::size_t ahead = 0) const;  // keyword given in upper case
  bool atSymbol(std::string_view symbol, std::size_t ahead = 0) const;
  bool acceptWord(std::string_view keyword);
  bool acceptSymbol(std::string_view symbol);
  void expectWord(std::string_view keyword);
  void expectSymbol(std::string_view symbol);
  // A table, column or alias name: bare (not reserved), [quoted], "quoted" or #temp.
  bool atName(std::size_t ahead = 0) const;
  std::string expectName(const char* what);
  // A table name, dropping an owner prefix such as dbo.
  std::string expectTableName();

  [[noreturn]] void failAt(const Token& token, const std::string& what) const;
  [[noreturn]] void unexpected(const std::string& expected) const;  // "expected X but found 'Y'"
  [[noreturn]] void unsupported(const Token& token) const;          // "unsupported construct 'Y'"

  // Keeps malformed input from nesting without bound: parentheses, subqueries and operator
  // chains all count, since the tree's depth is what later recursion walks.
  void deeper();
  class DepthGuard {
   public:
    explicit DepthGuard(Parser& p);
    ~DepthGuard() { --parser_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    Parser& parser_;
  };

 private:
  ExprPtr parseOr();
  ExprPtr parseAnd();
  ExprPtr parseNot();
  ExprPtr parsePredicate();
  ExprPtr parseAdditive();
  ExprPtr parseMultiplicative();
  ExprPtr parseUnary();
  ExprPtr parsePrimary();
  ExprPtr parseNameOrCall();
  ExprPtr parseCase();
  ExprPtr parseCastOrConvert();
  ExprPtr parseParenthesized();
  void parseSelectItems(Select& s);
  TableRef parseTableRef(JoinKind join);
  void skipTableHints();

  std::string_view batch_;
  std::vector<Token> tokens_;
  std::size_t index_ = 0;
  int depth_ = 0;
};

// Words that never serve as a bare alias, so that a statement without a semicolon ends before them.
[[nodiscard]] bool isReservedWord(const Token& token);
[[nodiscard]] std::string upper(std::string_view s);

}  // namespace dialect
