// Turning the rows of a statement into an ADO-like record set: the one record-set builder of
// the services, whichever engine read the rows.
#pragma once

#include <map>
#include <string>

#include "midtier/dbi/rows.h"
#include "platform/ado/recordset.h"

namespace midtier {

// Field types by column name (compared without regard to case), for computed columns whose
// type the engine cannot declare.
using FieldTypes = std::map<std::string, int>;

// Reads `rows` to their end and returns them. A column's field type comes from `hints`,
// else from its declared type (text, integer, real/decimal), else from its first non-null
// value; text dates stay text.
ado::RecordsetRef toRecordset(dbi::Rows& rows, const FieldTypes& hints = {});

}  // namespace midtier
