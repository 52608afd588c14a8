// SQL Server's exact numeric types (int & co, decimal(p,s)) worked out statically, so that an
// arithmetic result can be rounded to the scale SQL Server gives it.
#pragma once

#include "midtier/dialect/ast.h"
#include "midtier/dialect/catalog.h"
#include "midtier/dialect/scope.h"

namespace dialect {

// The exact type a value of a declared type has; None for float, real and text.
[[nodiscard]] ExactType declaredExactType(const TypeName& type);
// The exact type of an expression: literals, declared columns, casts, SUM/AVG/MIN/MAX, ISNULL,
// CASE, and + - * / by SQL Server's precision and scale rules. None when any part is unknown.
[[nodiscard]] ExactType exactTypeOf(const Expr& e, const Scope& scope, const Catalog& catalog);
// The type of `a op b` (op one of + - * /) for exact operands; None otherwise.
[[nodiscard]] ExactType arithmeticType(char op, ExactType a, ExactType b);

}  // namespace dialect
