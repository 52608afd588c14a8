// Parser cursor and the batch level: statements follow each other without separators.
#include <algorithm>
#include <array>
#include <cctype>

#include "midtier/dialect/errors.h"
#include "midtier/dialect/parser.h"

namespace dialect {
namespace {

constexpr int kMaxDepth = 400;

constexpr std::array kReserved = {
    "ALL",     "ALTER",  "AND",     "ANY",     "AS",       "ASC",      "BEGIN",  "BETWEEN", "BREAK",  "BY",
    "CASE",    "CLOSE",  "COMMIT",  "CONTINUE", "CREATE",  "CROSS",    "CUBE",   "DECLARE", "DELETE", "DESC",
    "DISTINCT", "DROP",  "ELSE",    "END",     "ESCAPE",   "EXCEPT",   "EXEC",   "EXECUTE", "EXISTS", "FETCH",
    "FOR",     "FROM",   "FULL",    "GO",      "GOTO",     "GRANT",    "GROUP",  "HAVING",  "IF",     "IN",
    "INNER",   "INSERT", "INTERSECT", "INTO",  "IS",       "JOIN",     "LEFT",   "LIKE",    "MERGE",  "NOT",
    "NULL",    "ON",     "OPEN",    "OPTION",  "OR",       "ORDER",    "OUTER",  "OVER",    "PIVOT",  "PRINT",
    "RETURN",  "RIGHT",  "ROLLBACK", "ROLLUP", "SELECT",   "SET",      "TABLE",  "THEN",    "TOP",    "TRUNCATE",
    "UNION",   "UNPIVOT", "UPDATE", "USE",     "VALUES",   "WHEN",     "WHERE",  "WHILE",   "WITH",
};

std::string describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::End: return "end of batch";
    case TokenKind::String: return "'" + token.text + "'";
    case TokenKind::QuotedName: return "[" + token.text + "]";
    default: return "'" + token.text + "'";
  }
}

}  // namespace

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool isReservedWord(const Token& token) {
  if (token.kind != TokenKind::Word) return false;
  std::string word = upper(token.text);
  return std::find(kReserved.begin(), kReserved.end(), word) != kReserved.end();
}

Parser::Parser(std::string_view batch, std::vector<Token> tokens) : batch_(batch), tokens_(std::move(tokens)) {}

void Parser::deeper() {
  if (++depth_ > kMaxDepth) failAt(peek(), "statement nested too deeply");
}

Parser::DepthGuard::DepthGuard(Parser& p) : parser_(p) { parser_.deeper(); }

const Token& Parser::peek(std::size_t ahead) const {
  std::size_t i = std::min(index_ + ahead, tokens_.size() - 1);
  return tokens_[i];
}

const Token& Parser::next() {
  const Token& token = tokens_[index_];
  if (index_ + 1 < tokens_.size()) ++index_;
  return token;
}

bool Parser::atWord(std::string_view keyword, std::size_t ahead) const {
  const Token& token = peek(ahead);
  return token.kind == TokenKind::Word && upper(token.text) == keyword;
}

bool Parser::atSymbol(std::string_view symbol, std::size_t ahead) const {
  const Token& token = peek(ahead);
  return token.kind == TokenKind::Symbol && token.text == symbol;
}

bool Parser::acceptWord(std::string_view keyword) {
  if (!atWord(keyword)) return false;
  next();
  return true;
}

bool Parser::acceptSymbol(std::string_view symbol) {
  if (!atSymbol(symbol)) return false;
  next();
  return true;
}

void Parser::expectWord(std::string_view keyword) {
  if (!acceptWord(keyword)) unexpected(std::string(keyword));
}

void Parser::expectSymbol(std::string_view symbol) {
  if (!acceptSymbol(symbol)) unexpected("'" + std::string(symbol) + "'");
}

bool Parser::atName(std::size_t ahead) const {
  const Token& token = peek(ahead);
  switch (token.kind) {
    case TokenKind::QuotedName:
    case TokenKind::TempName: return true;
    case TokenKind::Word: return !isReservedWord(token);
    default: return false;
  }
}

std::string Parser::expectName(const char* what) {
  if (!atName()) unexpected(what);
  return next().text;
}

std::string Parser::expectTableName() {
  std::string name = expectName("a table name");
  // dbo.t_Item and db.dbo.t_Item name the same table on one database.
  while (atSymbol(".")) {
    next();
    while (acceptSymbol(".")) {
    }
    name = expectName("a table name");
  }
  return name;
}

void Parser::failAt(const Token& token, const std::string& what) const { throw syntaxError(batch_, token.pos, what); }

void Parser::unexpected(const std::string& expected) const {
  failAt(peek(), "expected " + expected + " but found " + describe(peek()));
}

void Parser::unsupported(const Token& token) const {
  failAt(token, "unsupported construct " + describe(token));
}

std::vector<Stmt> Parser::parseBatch() {
  std::vector<Stmt> statements;
  for (;;) {
    while (acceptSymbol(";")) {
    }
    const Token& start = peek();
    if (start.kind == TokenKind::End) return statements;
    if (start.kind != TokenKind::Word) unsupported(start);
    std::string word = upper(start.text);
    if (word == "SELECT") {
      statements.emplace_back(SelectStatement{parseSelect()});
    } else if (word == "CREATE") {
      statements.emplace_back(parseCreate());
    } else if (word == "INSERT") {
      statements.emplace_back(parseInsert());
    } else if (word == "UPDATE") {
      statements.emplace_back(parseUpdate());
    } else if (word == "DELETE") {
      statements.emplace_back(parseDelete());
    } else if (word == "DROP") {
      statements.emplace_back(parseDrop());
    } else if (word == "IF") {
      if (auto stmt = parseIf()) statements.push_back(std::move(*stmt));
    } else if (word == "SET") {
      parseSet();
    } else {
      unsupported(start);
    }
  }
}

}  // namespace dialect
