#include "midtier/db/temp_in_memory.h"

#include <sqlite3.h>

#include "midtier/db/database.h"

namespace db {

TempTablesInMemory::TempTablesInMemory(Database& database) : database_(database) {
  if (database_.inTransaction()) return;
  database_.exec("PRAGMA temp_store = MEMORY");
  switched_ = true;
}

TempTablesInMemory::~TempTablesInMemory() {
  if (!switched_ || database_.inTransaction()) return;
  // A destructor must not throw; should SQLite refuse, the connection only keeps its
  // temporary tables in memory, which changes no result.
  sqlite3_exec(database_.handle(), "PRAGMA temp_store = DEFAULT", nullptr, nullptr, nullptr);
}

}  // namespace db
