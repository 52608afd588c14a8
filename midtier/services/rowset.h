// Turning the rows of a SQLite statement into an ADO-like record set.
#pragma once

#include <map>
#include <string>

#include "midtier/db/statement.h"
#include "platform/ado/recordset.h"

namespace midtier {

// Field types by column name (compared without regard to case), for computed columns whose
// type SQLite cannot declare.
using FieldTypes = std::map<std::string, int>;

// Steps `stmt` to its end and returns its rows. A column's field type comes from `hints`,
// else from its declared type (text, integer, real/decimal), else from its first non-null
// value; text dates stay text.
ado::RecordsetRef toRecordset(db::Statement& stmt, const FieldTypes& hints = {});

}  // namespace midtier
