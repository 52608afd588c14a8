// translate(): tokens -> statement model -> SQLite statements.
#include "midtier/dialect/dialect.h"
#include "midtier/dialect/generator.h"
#include "midtier/dialect/parser.h"

namespace dialect {

void Generator::add(const Stmt& stmt) {
  std::visit([this](const auto& s) { emit(s); }, stmt);
}

std::vector<Statement> translate(std::string_view batch) { return translate(batch, sqliteTarget()); }

std::vector<Statement> translate(std::string_view batch, const Target& target) { return translate(batch, target, {}); }

std::vector<Statement> translate(std::string_view batch, const Target& target, const TableLookup& lookup) {
  Parser parser(batch, tokenize(batch));
  std::vector<Stmt> statements = parser.parseBatch();
  Generator generator(batch, target, lookup);
  for (const Stmt& stmt : statements) generator.add(stmt);
  return generator.take();
}

}  // namespace dialect
