// Statement model of the supported T-SQL subset: expressions, SELECT and the other statements.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "midtier/dialect/tokens.h"

namespace dialect {

struct Select;
struct Expr;
using ExprPtr = std::unique_ptr<Expr>;
using SelectPtr = std::shared_ptr<const Select>;

// A declared type: varchar(355), decimal(23,10), int. name is lower case.
struct TypeName {
  std::string name;
  int length = -1;  // character types; -1 when absent, -2 for max
  int precision = -1;
  int scale = -1;
  SourcePos pos;
};

enum class ExprKind {
  Literal,   // text holds the literal as written (numbers) or its value (strings)
  Column,    // [qualifier.]text
  Star,      // [qualifier.]*
  Unary,     // text is "-", "+" or "NOT"; args[0]
  Binary,    // text is + - * / % = <> < > <= >= AND OR; args[0], args[1]
  Call,      // text is the function name as written; args; distinct; starArg for count(*)
  Cast,      // CAST(args[0] AS type) and CONVERT(type, args[0])
  Case,      // [operand] (when then)* [else]
  IsNull,    // args[0] IS [NOT] NULL
  Like,      // args[0] [NOT] LIKE args[1] [ESCAPE args[2]]
  InList,    // args[0] [NOT] IN (args[1..])
  InQuery,   // args[0] [NOT] IN (query)
  Between,   // args[0] [NOT] BETWEEN args[1] AND args[2]
  Exists,    // EXISTS (query)
  Subquery,  // (query) used as a value
};

enum class LiteralKind { Number, String, Null };

struct Expr {
  ExprKind kind = ExprKind::Literal;
  SourcePos pos;
  LiteralKind literal = LiteralKind::Null;
  std::string text;
  std::string qualifier;
  bool negated = false;
  bool distinct = false;
  bool starArg = false;
  bool hasOperand = false;  // CASE x WHEN ...
  bool hasElse = false;
  TypeName type;
  std::vector<ExprPtr> args;
  SelectPtr query;
};

[[nodiscard]] ExprPtr clone(const Expr& e);
// A text equal for expressions that mean the same (names compared without regard to case).
// With soleTable, the query reads one table and a column qualified by its name equals the bare column.
[[nodiscard]] std::string canonical(const Expr& e, std::string_view soleTable = {});
[[nodiscard]] bool isCall(const Expr& e, std::string_view lowerName);

enum class JoinKind { First, Comma, Inner, Left, Right, Full, Cross };

struct TableRef {
  JoinKind join = JoinKind::First;
  std::string table;  // base table as written ("#DATA", "t_Item"); empty for a derived table
  SelectPtr derived;
  std::string alias;
  ExprPtr on;
  SourcePos pos;
  // The name that columns use to refer to this table.
  const std::string& refName() const { return alias.empty() ? table : alias; }
};

struct SelectItem {
  ExprPtr expr;
  std::string alias;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

struct Select {
  SourcePos pos;
  bool distinct = false;
  long long top = -1;
  std::vector<SelectItem> items;
  std::vector<TableRef> from;
  ExprPtr where;
  std::vector<ExprPtr> groupBy;
  bool rollup = false;
  ExprPtr having;
  std::vector<OrderItem> orderBy;
};

struct ColumnDef {
  std::string name;
  TypeName type;
  bool notNull = false;
  bool primaryKey = false;
  ExprPtr defaultValue;
};

struct CreateTable {
  SourcePos pos;
  std::string table;
  std::vector<ColumnDef> columns;
  bool ifNotExists = false;
};

struct DropTable {
  SourcePos pos;
  std::vector<std::string> tables;
  bool ifExists = false;
};

struct Insert {
  SourcePos pos;
  std::string table;
  std::vector<std::string> columns;
  SelectPtr select;                       // INSERT ... SELECT
  std::vector<std::vector<ExprPtr>> rows;  // INSERT ... VALUES
};

struct Assignment {
  SourcePos pos;
  std::string qualifier;
  std::string column;
  ExprPtr value;
};

struct Update {
  SourcePos pos;
  std::string target;  // table name or an alias declared in from
  std::vector<Assignment> sets;
  std::vector<TableRef> from;
  ExprPtr where;
};

struct Delete {
  SourcePos pos;
  std::string table;
  ExprPtr where;
};

struct SelectStatement {
  SelectPtr select;
};

using Stmt = std::variant<CreateTable, DropTable, Insert, Update, Delete, SelectStatement>;

[[nodiscard]] bool isTempName(std::string_view table);
[[nodiscard]] bool sameName(std::string_view a, std::string_view b);  // SQL Server names ignore case
[[nodiscard]] std::string lower(std::string_view s);                   // ASCII letters only, as names compare

}  // namespace dialect
