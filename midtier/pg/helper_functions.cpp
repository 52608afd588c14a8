// Installing and refreshing the server-side functions of translated statements.
#include "midtier/pg/helper_functions.h"

#include <fmt/format.h>

#include "midtier/pg/connection.h"
#include "midtier/pg/pg_error.h"

namespace pg {
namespace {

bool upToDate(Connection& connection, std::string_view functions) {
  if (!connection.tableExists(kFunctionsTable)) return false;
  return connection.queryInt(fmt::format("SELECT count(*) FROM {} WHERE FDigest = md5($1)", kFunctionsTable),
                             Params().add(functions)) == 1;
}

}  // namespace

void installFunctions(Connection& connection, std::string_view functions) {
  connection.exec(functions);
  connection.exec(fmt::format("CREATE TABLE IF NOT EXISTS {0} (FDigest text NOT NULL); DELETE FROM {0}", kFunctionsTable));
  connection.execute(fmt::format("INSERT INTO {} VALUES (md5($1))", kFunctionsTable), Params().add(functions));
}

void refreshFunctions(Connection& connection, std::string_view functions) {
  try {
    if (upToDate(connection, functions)) return;
    Transaction transaction(connection);
    // One client at a time: concurrent CREATE OR REPLACE of one function fails.
    connection.exec("SELECT pg_advisory_xact_lock(hashtext('tav_functions'))");
    if (upToDate(connection, functions)) return;
    installFunctions(connection, functions);
    transaction.commit();
  } catch (const Error& e) {
    // Not allowed to read the digest, create functions or write: the functions stay as they
    // are, as they would without this refresh. Anything else is an error of the connection.
    if (e.sqlState() != "42501" && e.sqlState() != "25006") throw;
  }
}

}  // namespace pg
