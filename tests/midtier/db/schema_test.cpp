// The schema: migrations from older files, a newer file refused, report indexes. Every test
// database is migrated from empty.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "platform/core/error.h"

namespace {

std::vector<std::string> indexNames(db::Database& database) {
  std::vector<std::string> names;
  db::Statement list = database.prepare(
      "SELECT name FROM sqlite_schema WHERE type = 'index' AND name NOT LIKE 'sqlite_%' ORDER BY name");
  while (list.step()) names.push_back(list.getText(0));
  return names;
}

TEST(Schema, MigrationIsIdempotentAndUpgradesAnOlderFileKeepingItsRows) {
  db::Database database = db::Database::memory();
  db::migrateTo(database, 1);
  EXPECT_EQ(db::schemaVersion(database), 1);
  EXPECT_THAT(indexNames(database), ::testing::Not(::testing::Contains(std::string("ix_ICMO_FDate"))));
  database.exec("INSERT INTO t_User VALUES (16394, 'administrator')");
  db::migrate(database);
  EXPECT_EQ(db::schemaVersion(database), 3);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t_User WHERE FName = 'ADMINISTRATOR'"), 1);
  EXPECT_THAT(indexNames(database), ::testing::Contains(std::string("ix_ICMO_FDate")));
  const std::vector<std::string> before = indexNames(database);
  db::migrate(database);  // nothing left to do
  EXPECT_EQ(indexNames(database), before);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t_User"), 1);
}

TEST(Schema, FileFromANewerProgramIsRefused) {
  db::Database database = db::Database::memory();
  database.exec("PRAGMA user_version = 99");
  try {
    db::migrate(database);
    FAIL() << "migrated a newer schema";
  } catch (const plat::Error& error) {
    EXPECT_THAT(error.description(), ::testing::HasSubstr("schema version 99, newer than this program's 3"));
  }
}

TEST(Schema, ReportIndexesCanBeDroppedAndRebuilt) {
  db::Database database = db::Database::memory();
  db::migrate(database);
  const std::vector<std::string> all = indexNames(database);
  db::dropReportIndexes(database);
  EXPECT_EQ(indexNames(database).size(), all.size() - db::reportIndexes().size());
  db::createReportIndexes(database);
  db::createReportIndexes(database);  // tolerates existing ones
  EXPECT_EQ(indexNames(database), all);
}

}  // namespace
