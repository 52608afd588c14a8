// The summary (401) and cost (499) report batches, every variant, give the same rows in the
// same order on PostgreSQL as on SQLite, over one generated company.
#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/dbi/pg_session.h"
#include "midtier/dbi/sqlite_session.h"
#include "midtier/dialect/report_batches.h"
#include "midtier/dialect/report_data.h"
#include "midtier/pg/differential.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"
#include "support/pg_server.h"

namespace {

using namespace differential;
using namespace dialect::testing;

// Both engines with the same company; each batch runs in a transaction that is rolled back,
// so the next one finds #T401 and #T499 as loaded.
class Engines {
 public:
  explicit Engines(const std::string& url)
      : connection_(pg::Connection::open(url)), database_(db::Database::memory()), postgres_(connection_),
        sqlite_(database_) {
    const std::string sql = loadSql(generateReportData());
    connection_.exec(pg::companySchema().prelude.front());
    connection_.exec(dialect::postgresFunctions());
    connection_.exec(postgresSetup(sql));
    database_.exec(sql);
  }

  void compare(const std::string& batch) {
    std::vector<Row> onSqlite, onServer;
    try {
      dbi::Transaction a(sqlite_);
      onSqlite = run(sqlite_, batch);
      dbi::Transaction b(postgres_);
      onServer = run(postgres_, batch);
    } catch (const plat::Error& e) {
      ADD_FAILURE() << e.description();
      return;
    }
    EXPECT_FALSE(onSqlite.empty());
    expectSameRows(onSqlite, onServer, false);
  }

 private:
  pg::Connection connection_;
  db::Database database_;
  dbi::PgSession postgres_;
  dbi::SqliteSession sqlite_;
};

TEST(PgReportBatches, EverySummaryAndCostVariantGivesTheSameRows) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  Engines engines(scratch.url());
  const char* right = " CharIndex('12',t1.FRightUserID)>0 ";
  for (int batch : {0, 1}) {
    for (int only : {0, 1}) {
      for (Grouping401 grouping : {Grouping401::Plain, Grouping401::Department, Grouping401::ClassLevel}) {
        for (auto [b, e] : {std::pair{1, 1}, std::pair{1, 3}, std::pair{2, 4}}) {
          if (grouping != Grouping401::ClassLevel && b != 1) continue;
          SCOPED_TRACE("401 grouping " + std::to_string(static_cast<int>(grouping)) + " batch " +
                       std::to_string(batch) + " only " + std::to_string(only) + " levels " + std::to_string(b));
          engines.compare(batch401({grouping, batch, only, b, e, "", "", ""}));
        }
      }
      for (bool classLevel : {false, true}) {
        SCOPED_TRACE("499 class " + std::to_string(classLevel) + " batch " + std::to_string(batch) + " only " +
                     std::to_string(only));
        engines.compare(batch499({classLevel, batch, only, 2, 1, 3, "", "", true}));
      }
    }
  }
  engines.compare(batch401({Grouping401::ClassLevel, 0, 0, 1, 3, "01.01.01.002", "", right}));
  engines.compare(batch401({Grouping401::Department, 0, 0, 1, 5, "", "01.02.001", right}));
  engines.compare(batch499({true, 0, 0, 4, 2, 4, "01.02.001", "03.001", true}));
}

}  // namespace
