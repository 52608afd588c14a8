// Writes SQLite text from the statement model (internal to the dialect layer).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "midtier/dialect/ast.h"
#include "midtier/dialect/catalog.h"
#include "midtier/dialect/dialect.h"
#include "midtier/dialect/scope.h"
#include "midtier/dialect/target.h"
#include "platform/core/error.h"

namespace dialect {

struct Context {
  std::string_view batch;  // for error positions
  const Catalog& catalog;
  const Target& target;
};

// How one level of a rollup sees the query's expressions (built in emit_rollup.cpp).
struct RollupLevel {
  std::string soleTable;               // see canonical()
  std::vector<std::string> groupKeys;  // canonical GROUP BY expressions
  std::vector<std::string> groupText;  // replacement per GROUP BY expression; empty: write it as is
  std::vector<int> grouping;           // GROUPING() per GROUP BY expression
  std::map<std::string, std::string> aggregates;  // canonical aggregate call -> replacement; empty: as is
};

// Writes expressions of one query level. Inside subqueries of a rollup level only references
// to the rollup query's own tables are replaced.
class ExprWriter {
 public:
  ExprWriter(const Context& ctx, const Scope& scope, const RollupLevel* level = nullptr);

  [[nodiscard]] std::string write(const Expr& e);
  [[nodiscard]] SqlType typeOf(const Expr& e) const { return inferType(e, scope_, ctx_.catalog); }
  // A writer for a subquery whose FROM is given: same level, one query deeper.
  [[nodiscard]] ExprWriter nested(const Scope& inner, const std::vector<TableRef>& from) const;
  const Context& context() const { return ctx_; }
  // GROUPING(x) is written as it is: the query groups by the target's native ROLLUP.
  void allowGrouping() { nativeGrouping_ = true; }
  const Scope& scope() const { return scope_; }

 private:
  bool replaced(const Expr& e, std::string& out);
  std::string writeNode(const Expr& e);
  std::string writeOperand(const Expr& e);
  std::string roundedToScale(const Expr& e, std::string text) const;
  std::string writeCall(const Expr& e);
  std::string writeStar(const Expr& e);
  std::string writeCast(const Expr& e);
  std::string writeCase(const Expr& e);
  std::string writeQuery(const Select& s);

  const Context& ctx_;
  const Scope& scope_;
  const RollupLevel* level_;
  int depth_ = 0;                     // subquery depth below the rollup query
  std::vector<std::string> shadowed_;  // table names declared by those subqueries
  bool insideAggregate_ = false;
  bool nativeGrouping_ = false;
};

// An identifier of the target: on SQLite quoted when it is not a plain word or is a keyword;
// where names fold to lower case, always quoted, in lower case.
[[nodiscard]] std::string ident(const Target& target, std::string_view name);
[[nodiscard]] std::string quoteString(std::string_view value);
// "(" + text + ")", written so that GCC 12's false -Wrestrict alarm on literal + temporary stays quiet.
[[nodiscard]] inline std::string parenthesized(std::string_view text) {
  return std::string("(").append(text).append(")");
}
// " DESC" or nothing, with NULLs placed as SQL Server places them (first when ascending).
[[nodiscard]] std::string orderDirection(const Target& target, bool descending);

[[nodiscard]] plat::Error errorAt(const Context& ctx, SourcePos pos, const std::string& what);

// The columns an INSERT stores into, by position; nullptr entries store values as they are.
using StoredColumns = std::vector<const ColumnInfo*>;

// SELECT without ROLLUP; writer belongs to the select's own scope (emit_select.cpp). With
// stores, item i is converted for the column it is inserted into.
[[nodiscard]] std::string writeSelect(const Select& s, ExprWriter& writer, const StoredColumns* stores = nullptr);
[[nodiscard]] std::string writeSelect(const Select& s, const Context& ctx, const StoredColumns* stores = nullptr);
[[nodiscard]] std::string writeItem(const Select& s, std::size_t i, ExprWriter& writer, const StoredColumns* stores);
// computedJoinKeys: see writeKeyedJoin.
[[nodiscard]] std::string writeFrom(const std::vector<TableRef>& from, ExprWriter& writer, bool computedJoinKeys = false);
[[nodiscard]] const char* joinText(JoinKind join);
// Writes a joined table whose ON compares a value computed from that table alone with a value of
// the tables before it (join_keys.cpp): the value becomes a column of a derived table, computed
// once per row of the joined table instead of once per pair. False, writing nothing, otherwise.
// Only where no "*" could show the added columns.
bool writeKeyedJoin(const TableRef& ref, ExprWriter& writer, std::string& out);

// SELECT ... GROUP BY ... WITH ROLLUP as one SQLite query: an optional WITH prefix and the
// UNION ALL of the kept levels (emit_rollup.cpp). named: give result columns their T-SQL names
// and keep ORDER BY (a SELECT that returns rows).
struct RollupQuery {
  std::string with;
  std::string body;
};
[[nodiscard]] RollupQuery writeRollup(const Select& s, const Context& ctx, bool named,
                                      const StoredColumns* stores = nullptr);
// The same with the target's native GROUP BY ROLLUP (emit_native_rollup.cpp).
[[nodiscard]] RollupQuery writeNativeRollup(const Select& s, const Context& ctx, bool named,
                                            const StoredColumns* stores);

// One batch's statements, translated in order.
class Generator {
 public:
  Generator(std::string_view batch, const Target& target, TableLookup lookup = {})
      : catalog_(std::move(lookup)), ctx_{batch, catalog_, target} {}
  // ctx_ refers to this object's own catalog_: a copy would point into the original.
  Generator(const Generator&) = delete;
  Generator& operator=(const Generator&) = delete;
  void add(const Stmt& stmt);
  std::vector<Statement> take() { return std::move(out_); }

 private:
  void emit(const CreateTable& create);  // emit_schema.cpp
  void emit(const DropTable& drop);      // emit_schema.cpp
  void emit(const Insert& insert);       // emit_insert.cpp
  void emit(const Delete& del);          // emit_insert.cpp
  void emit(const Update& update);       // emit_update.cpp
  void emit(const SelectStatement& select);  // emit_select.cpp
  void push(std::string sql, bool returnsRows) { out_.push_back(Statement{std::move(sql), returnsRows}); }

  Catalog catalog_;
  Context ctx_;
  std::vector<Statement> out_;
};

}  // namespace dialect
