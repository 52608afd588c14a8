// Copying the rows of a statement into a record set, column by declared or seen type.
#include "midtier/services/rowset.h"

#include <optional>
#include <vector>

#include "platform/forms/front_end.h"
#include "platform/lumo/dictionary.h"

namespace midtier {
namespace {

constexpr long kTextSize = 355;

int declaredType(const dbi::Rows& rows, int column) {
  switch (rows.declared(column)) {
    case dbi::ColumnKind::Text: return ado::adVarChar;
    case dbi::ColumnKind::Integer: return ado::adInteger;
    case dbi::ColumnKind::Decimal: return ado::adDecimal;
    case dbi::ColumnKind::Unknown: break;
  }
  return 0;
}

// The field type a value implies, for expression columns; 0 for Null.
int valueType(const dbi::Rows& rows, int column) {
  switch (rows.kind(column)) {
    case dbi::ValueKind::Number: return ado::adDouble;
    case dbi::ValueKind::Null: return 0;
    case dbi::ValueKind::Text: break;
  }
  return ado::adVarChar;
}

// A value held back while the type of its column is still unknown.
using Held = std::optional<plat::Variant>;

// A text field keeps the engine's own text of a number, as copyValue() does.
Held holdValue(const dbi::Rows& rows, int column, bool asText) {
  switch (rows.kind(column)) {
    case dbi::ValueKind::Null: return std::nullopt;
    case dbi::ValueKind::Number:
      if (!asText) return plat::Variant(rows.number(column));
      [[fallthrough]];
    case dbi::ValueKind::Text: break;
  }
  return plat::Variant(std::string(rows.text(column)));
}

void copyValue(ado::Recordset& rs, size_t row, size_t field, const dbi::Rows& rows, int column) {
  const dbi::ValueKind kind = rows.kind(column);
  if (kind == dbi::ValueKind::Null) return;  // new rows start Null
  switch (rs.FieldAt(field).storage()) {
    case ado::Storage::Text: return rs.SetText(row, field, rows.text(column));
    case ado::Storage::Number:
      if (kind == dbi::ValueKind::Number) return rs.SetNumber(row, field, rows.number(column));
      return rs.SetValueAt(row, field, plat::Variant(rows.text(column)));  // converts or raises
    case ado::Storage::Date: return rs.SetValueAt(row, field, plat::Variant(rows.text(column)));
  }
}

}  // namespace

ado::RecordsetRef toRecordset(dbi::Rows& rows, const FieldTypes& hints) {
  auto rs = ado::newRecordset();
  const int n = rows.columnCount();
  // A name in lower case takes the hint's spelling: a server folds unquoted names to lower case.
  std::map<std::string, std::pair<std::string, int>> folded;
  for (const auto& [name, type] : hints) folded[lumo::foldCase(name)] = {name, type};

  std::vector<int> types(static_cast<size_t>(n), 0);
  std::vector<std::string> names(static_cast<size_t>(n));
  int undecided = 0;
  for (int c = 0; c < n; ++c) {
    names[static_cast<size_t>(c)] = rows.columnName(c);
    auto hint = folded.find(lumo::foldCase(names[static_cast<size_t>(c)]));
    if (hint != folded.end() && names[static_cast<size_t>(c)] == hint->first) names[static_cast<size_t>(c)] = hint->second.first;
    types[static_cast<size_t>(c)] = hint != folded.end() ? hint->second.second : declaredType(rows, c);
    if (types[static_cast<size_t>(c)] == 0) ++undecided;
  }

  // An expression column takes the type of its first non-null value, so the rows before that
  // value are held back; a column that stays Null to the end is text.
  std::vector<std::vector<Held>> held;
  bool hasRow = rows.next();
  for (; hasRow && undecided > 0; hasRow = rows.next()) {
    std::vector<Held>& row = held.emplace_back();
    for (int c = 0; c < n; ++c) {
      const int known = types[static_cast<size_t>(c)];
      row.push_back(holdValue(rows, c, known == ado::adVarChar || known == ado::adVarWChar));
      int& type = types[static_cast<size_t>(c)];
      if (type == 0 && (type = valueType(rows, c)) != 0) --undecided;
    }
  }
  for (int c = 0; c < n; ++c) {
    int& type = types[static_cast<size_t>(c)];
    if (type == 0) type = ado::adVarChar;
    rs->Append(names[static_cast<size_t>(c)], type, type == ado::adVarChar ? kTextSize : 0);
  }
  rs->Open();

  for (const std::vector<Held>& values : held) {
    rs->AddNew();
    const size_t row = static_cast<size_t>(rs->RecordCount() - 1);
    for (size_t f = 0; f < values.size(); ++f)
      if (values[f]) rs->SetValueAt(row, f, *values[f]);
  }
  constexpr size_t kRowsPerNotice = 20000;
  for (; hasRow; hasRow = rows.next()) {
    rs->AddNew();
    const size_t row = static_cast<size_t>(rs->RecordCount() - 1);
    for (int c = 0; c < n; ++c) copyValue(*rs, row, static_cast<size_t>(c), rows, c);
    if ((row + 1) % kRowsPerNotice == 0) forms::RowsRead(static_cast<long>(row + 1));
  }
  if (rs->RecordCount() > 0) rs->MoveFirst();
  return rs;
}


}  // namespace midtier
