// Copying the rows of a SQLite statement into a record set, column by declared or seen type.
#include "midtier/services/rowset.h"

#include <sqlite3.h>

#include <optional>
#include <vector>

#include "platform/forms/front_end.h"
#include "platform/lumo/dictionary.h"

namespace midtier {
namespace {

constexpr long kTextSize = 355;

// The field type a column's declared SQL type implies; 0 for an expression without one.
int declaredType(sqlite3_stmt* stmt, int column) {
  const char* decl = sqlite3_column_decltype(stmt, column);
  if (!decl) return 0;
  const std::string d = lumo::foldCase(decl);
  auto has = [&](const char* part) { return d.find(part) != std::string::npos; };
  if (has("char") || has("text") || has("clob") || has("date")) return ado::adVarChar;
  if (has("int")) return ado::adInteger;
  if (has("real") || has("dec") || has("num") || has("double") || has("float")) return ado::adDecimal;
  return 0;
}

// The field type a value implies, for expression columns; 0 for Null.
int valueType(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return ado::adDouble;
    case SQLITE_NULL: return 0;
    default: return ado::adVarChar;
  }
}

// A value held back while the type of its column is still unknown.
using Held = std::optional<plat::Variant>;

// A text field keeps SQLite's own text of a number, as copyValue() does.
Held holdValue(sqlite3_stmt* stmt, int column, bool asText) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL: return std::nullopt;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      if (!asText) return plat::Variant(sqlite3_column_double(stmt, column));
      [[fallthrough]];
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      return plat::Variant(std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt, column))));
    }
  }
}

void copyValue(ado::Recordset& rs, size_t row, size_t field, db::Statement& stmt, int column) {
  sqlite3_stmt* raw = stmt.handle();
  const int kind = sqlite3_column_type(raw, column);
  if (kind == SQLITE_NULL) return;  // new rows start Null
  switch (rs.FieldAt(field).storage()) {
    case ado::Storage::Text: return rs.SetText(row, field, stmt.getTextView(column));
    case ado::Storage::Number:
      if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) return rs.SetNumber(row, field, sqlite3_column_double(raw, column));
      return rs.SetValueAt(row, field, plat::Variant(stmt.getTextView(column)));  // converts or raises
    case ado::Storage::Date: return rs.SetValueAt(row, field, plat::Variant(stmt.getTextView(column)));
  }
}

}  // namespace

ado::RecordsetRef toRecordset(db::Statement& stmt, const FieldTypes& hints) {
  auto rs = ado::newRecordset();
  sqlite3_stmt* raw = stmt.handle();
  const int n = stmt.columnCount();
  std::map<std::string, int> folded;
  for (const auto& [name, type] : hints) folded[lumo::foldCase(name)] = type;

  std::vector<int> types(static_cast<size_t>(n), 0);
  int undecided = 0;
  for (int c = 0; c < n; ++c) {
    auto hint = folded.find(lumo::foldCase(stmt.columnName(c)));
    types[static_cast<size_t>(c)] = hint != folded.end() ? hint->second : declaredType(raw, c);
    if (types[static_cast<size_t>(c)] == 0) ++undecided;
  }

  // An expression column takes the type of its first non-null value, so the rows before that
  // value are held back; a column that stays Null to the end is text.
  std::vector<std::vector<Held>> held;
  bool hasRow = stmt.step();
  for (; hasRow && undecided > 0; hasRow = stmt.step()) {
    std::vector<Held>& row = held.emplace_back();
    for (int c = 0; c < n; ++c) {
      const int known = types[static_cast<size_t>(c)];
      row.push_back(holdValue(raw, c, known == ado::adVarChar || known == ado::adVarWChar));
      int& type = types[static_cast<size_t>(c)];
      if (type == 0 && (type = valueType(raw, c)) != 0) --undecided;
    }
  }
  for (int c = 0; c < n; ++c) {
    int& type = types[static_cast<size_t>(c)];
    if (type == 0) type = ado::adVarChar;
    rs->Append(stmt.columnName(c), type, type == ado::adVarChar ? kTextSize : 0);
  }
  rs->Open();

  for (const std::vector<Held>& values : held) {
    rs->AddNew();
    const size_t row = static_cast<size_t>(rs->RecordCount() - 1);
    for (size_t f = 0; f < values.size(); ++f)
      if (values[f]) rs->SetValueAt(row, f, *values[f]);
  }
  constexpr size_t kRowsPerNotice = 20000;
  for (; hasRow; hasRow = stmt.step()) {
    rs->AddNew();
    const size_t row = static_cast<size_t>(rs->RecordCount() - 1);
    for (int c = 0; c < n; ++c) copyValue(*rs, row, static_cast<size_t>(c), stmt, c);
    if ((row + 1) % kRowsPerNotice == 0) forms::RowsRead(static_cast<long>(row + 1));
  }
  if (rs->RecordCount() > 0) rs->MoveFirst();
  return rs;
}

}  // namespace midtier
