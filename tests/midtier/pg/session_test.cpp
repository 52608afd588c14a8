// The services' database interface behaves alike on both engines: parameters, rows, nested
// transactions.
#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/dbi/pg_session.h"
#include "midtier/dbi/sqlite_session.h"
#include "support/pg_server.h"

namespace {

// What `session` sees of one small table after a committed insert, a rolled-back savepoint
// and a query whose text holds a "?" that is no parameter.
std::string exercise(dbi::Session& session) {
  session.exec("CREATE TABLE s (k integer, t text)");
  dbi::Transaction outer(session);
  (void)session.query("INSERT INTO s VALUES (?1, ?2), (?3, 'a ?1 b')", {int64_t{1}, std::string("x"), int64_t{2}})->next();
  {
    dbi::Transaction inner(session);
    (void)session.query("INSERT INTO s VALUES (?, ?)", {int64_t{3}, dbi::Value{}})->next();
  }  // rolled back
  outer.commit();
  std::string out;
  auto rows = session.query("SELECT k, t, k * 1.5 AS h FROM s WHERE k >= ?1 ORDER BY k", {int64_t{1}});
  while (rows->next()) {
    for (int c = 0; c < rows->columnCount(); ++c)
      out += (c ? "|" : "") + rows->columnName(c) + "=" +
             (rows->kind(c) == dbi::ValueKind::Null     ? std::string("NULL")
              : rows->kind(c) == dbi::ValueKind::Number ? std::to_string(rows->number(c))
                                                        : "'" + std::string(rows->text(c)) + "'");
    out += "\n";
  }
  return out;
}

TEST(DbiSession, BothEnginesAgreeOnParametersRowsAndTransactions) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection connection = pg::Connection::open(scratch.url());
  dbi::PgSession postgres(connection);
  db::Database database = db::Database::memory();
  dbi::SqliteSession sqlite(database);
  const std::string onServer = exercise(postgres);
  EXPECT_EQ(onServer, exercise(sqlite));
  EXPECT_NE(onServer.find("t='a ?1 b'"), std::string::npos) << onServer;
  EXPECT_EQ(dbi::dollarParameters("SELECT '?1', \"?2\", ?1 -- ?3\n, ?, ?"), "SELECT '?1', \"?2\", $1 -- ?3\n, $2, $3");
}

}  // namespace
