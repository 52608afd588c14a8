// Every batch of the dialect case files gives the same rows on PostgreSQL as on SQLite: both
// targets translate the same statement model, so what SQL Server would return must not depend
// on the engine underneath.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "midtier/db/database.h"
#include "midtier/dbi/pg_session.h"
#include "midtier/dbi/sqlite_session.h"
#include "midtier/dialect/test_db.h"
#include "midtier/pg/differential.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"
#include "support/pg_server.h"

namespace {

using namespace differential;


TEST(PgDialectCases, EveryBatchGivesTheSameRowsAsOnSqlite) {
  TAV_NEED_POSTGRES(server);
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dialect::testing::caseFilesDir())) {
    SCOPED_TRACE(entry.path().filename().string());
    support::ScratchDatabase scratch(server);
    pg::Connection connection = pg::Connection::open(scratch.url());
    connection.exec(pg::companySchema().prelude.front());
    connection.exec(dialect::postgresFunctions());
    dbi::PgSession postgres(connection);
    db::Database database = db::Database::memory();
    dbi::SqliteSession sqlite(database);

    const std::vector<std::string> lines = dialect::testing::caseFileLines(entry.path());
    std::size_t at = 0;
    // To the next blank line, or (a batch, which may hold blank lines) to the "----" line.
    auto block = [&](bool toSeparator) {
      std::vector<std::string> out;
      for (; at < lines.size() && (toSeparator ? lines[at] != "----" : !lines[at].empty()); ++at)
        out.push_back(lines[at]);
      if (toSeparator && at < lines.size()) ++at;
      return out;
    };
    while (at < lines.size()) {
      if (lines[at].empty()) {
        ++at;
        continue;
      }
      const std::string directive = lines[at++];
      SCOPED_TRACE("record at line " + std::to_string(at));
      if (directive.rfind('#', 0) == 0) continue;
      if (directive == "setup") {
        std::string sql;
        for (const std::string& line : block(false)) sql += line + "\n";
        database.exec(sql);
        connection.exec(postgresSetup(sql));
        continue;
      }
      std::string batch;
      for (const std::string& line : block(true)) batch += line + "\r\n";
      block(false);  // the expectation, which speaks of SQLite
      // Batches that look into SQLite's own catalog have no counterpart.
      if (directive == "translate" || batch.find("sqlite_") != std::string::npos) continue;
      if (directive == "error") {
        EXPECT_THROW(run(postgres, batch), plat::Error) << batch;
        continue;
      }
      try {
        expectSameRows(run(sqlite, batch), run(postgres, batch), directive == "batch rowsort");
        ++compared;
      } catch (const plat::Error& e) {
        ADD_FAILURE() << e.description() << "\nin batch:\n" << batch;
      }
    }
  }
  EXPECT_GT(compared, 30);
}

}  // namespace
