// The SQL text of the schema's migration steps (internal to midtier/db).
#pragma once

#include <span>
#include <string_view>

#include "midtier/db/schema.h"

namespace db::schema {

extern const std::string_view kTablesV1;                 // version 1: tables and keys
std::span<const IndexDefinition> reportIndexesV2();      // version 2: report indexes
void makeTextCaseless(Database& database);               // version 3: text columns COLLATE NOCASE

}  // namespace db::schema
