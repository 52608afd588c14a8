// The generator: determinism, fixed settings and clean failure; the data itself is invariants_test's.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <string>
#include <vector>

#include "midtier/db/statement.h"
#include "midtier/db/temp_file.h"
#include "midtier/generator/generated.h"
#include "midtier/generator/world.h"
#include "platform/core/error.h"

namespace {

using testing_gen::generatedDatabase;

// FNV-1a over every value of every table, rows in the order of all their columns.
uint64_t contentHash(db::Database& database) {
  uint64_t hash = 1469598103934665603ULL;
  auto mix = [&](std::string_view text) {
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
    hash = (hash ^ 0xff) * 1099511628211ULL;
  };
  for (const gen::TableRows& table : gen::countRows(database).tables) {
    mix(table.table);
    db::Statement probe = database.prepare("SELECT * FROM " + table.table + " LIMIT 0");
    std::string order;
    for (int c = 1; c <= probe.columnCount(); ++c) order += (c > 1 ? "," : "") + std::to_string(c);
    db::Statement rows = database.prepare("SELECT * FROM " + table.table + " ORDER BY " + order);
    while (rows.step())
      for (int c = 0; c < rows.columnCount(); ++c) mix(rows.isNull(c) ? std::string_view("<null>") : rows.getTextView(c));
  }
  return hash;
}

TEST(Generator, SameSeedGivesTheSameDataAndAnotherSeedOtherData) {
  db::Database again = db::Database::memory();
  db::migrate(again);
  gen::generate(again, {.tasks = 400, .seed = 7});
  const uint64_t first = contentHash(generatedDatabase(400, 7));
  EXPECT_EQ(contentHash(again), first);
  EXPECT_NE(contentHash(generatedDatabase(400, 8)), first);
}

TEST(Generator, SettingsPeriodsAndUsersAreFixed) {
  db::Database& database = generatedDatabase();
  std::string profile;
  db::Statement rows = database.prepare("SELECT FCategory, FKey, FValue FROM t_SystemProfile ORDER BY 1, 2");
  while (rows.step()) profile += rows.getText(0) + "/" + rows.getText(1) + "=" + rows.getText(2) + ";";
  EXPECT_EQ(profile, "GL/CurrencyScale=2;GL/PeriodCount=12;IC/CurrentPeriod=11;IC/CurrentYear=2026;IC/UseShortNumber=0;");

  db::Statement periods = database.prepare(
      "SELECT count(*) || ': ' || group_concat(FPeriodStart || '..' || FPeriodEnd, ' ') FROM (SELECT * FROM"
      " t_PeriodDate WHERE (FYear = 2025 AND FPeriod = 2) OR (FYear = 2026 AND FPeriod = 12) OR FYear NOT IN"
      " (2025, 2026) ORDER BY FYear, FPeriod)");
  ASSERT_TRUE(periods.step());
  EXPECT_EQ(periods.getText(0), "2: 2025-02-01..2025-02-28 2026-12-01..2026-12-31");
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t_PeriodDate"), 24);

  // The users the data-right and journal tests log in as.
  std::string users;
  db::Statement named = database.prepare("SELECT FUserID || ' ' || FName FROM t_User ORDER BY FUserID");
  while (named.step()) users += named.getText(0) + ";";
  EXPECT_EQ(users, "16394 administrator;16395 张明;16396 李华;");
}

TEST(Generator, RefusesADatabaseThatIsNotMigratedOrAlreadyFilled) {
  db::Database empty = db::Database::memory();
  EXPECT_THROW(gen::generate(empty, {}), plat::Error);
  db::migrate(empty);
  EXPECT_THROW(gen::generate(empty, {.tasks = 0}), plat::Error);
  gen::generate(empty, {.tasks = 50});
  try {
    gen::generate(empty, {.tasks = 50});
    FAIL() << "generated twice into one database";
  } catch (const plat::Error& error) {
    EXPECT_THAT(error.description(), ::testing::HasSubstr("already holds data"));
  }
}

// A failure late in the load (the cost tables are written last) undoes everything,
// including the dropped report indexes.
TEST(Generator, AFailureLeavesTheDatabaseAsItWas) {
  db::Database database = db::Database::memory();
  db::migrate(database);
  database.exec("DROP TABLE cb_CostElement");
  const int64_t indexes = database.queryInt("SELECT count(*) FROM sqlite_schema WHERE type = 'index'");
  try {
    gen::generate(database, {.tasks = 100});
    FAIL() << "generated without a cost element table";
  } catch (const plat::Error& error) {
    EXPECT_THAT(error.description(), ::testing::HasSubstr("no such table: cb_CostElement"));
  }
  EXPECT_FALSE(database.inTransaction());
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t_Item"), 0);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM ICMO"), 0);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM sqlite_schema WHERE type = 'index'"), indexes);
  EXPECT_EQ(database.queryInt("PRAGMA foreign_keys"), 1);  // connection settings restored
}

TEST(Generator, CreateDemoDatabaseMakesAFileAndNeverOverwritesOne) {
  testing_db::TempFile file("demo");
  // Every step reports its progress in order and ends complete.
  std::vector<gen::Progress> seen;
  std::vector<std::string> steps;
  const auto record = [&](const gen::Progress& p) {
    if (steps.empty() || steps.back() != p.step) steps.emplace_back(p.step);
    seen.push_back(p);
  };
  const gen::Summary summary = gen::createDemoDatabase(file.path(), {.tasks = 5'000, .progress = record});
  EXPECT_THAT(steps, ::testing::ElementsAre("tasks", "stock bills", "costs", "indexes", "statistics"));
  for (size_t i = 1; i < seen.size(); ++i) {
    if (seen[i].step != seen[i - 1].step) {
      EXPECT_EQ(seen[i - 1].done, seen[i - 1].total) << seen[i - 1].step << " ended incomplete";
    } else {
      EXPECT_GT(seen[i].done, seen[i - 1].done) << seen[i].step;
      EXPECT_EQ(seen[i].total, seen[i - 1].total) << seen[i].step;
    }
  }
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().done, seen.back().total);
  EXPECT_EQ(seen.front().total, 5'000);  // tasks
  EXPECT_GT(seen.size(), 5u);             // the tasks step reports more than its end

  EXPECT_GT(summary.totalRows, 5'000);
  db::Database database = db::Database::open(file.path());
  // The summary's counts are the loader's; they must be what the file holds.
  const gen::Summary counted = gen::countRows(database);
  ASSERT_EQ(summary.tables.size(), counted.tables.size());
  for (std::size_t i = 0; i < counted.tables.size(); ++i) {
    EXPECT_EQ(summary.tables[i].table, counted.tables[i].table);
    EXPECT_EQ(summary.tables[i].rows, counted.tables[i].rows) << counted.tables[i].table;
  }
  EXPECT_EQ(summary.totalRows, counted.totalRows);
  EXPECT_EQ(db::schemaVersion(database), db::kSchemaVersion);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM ICMO"), 5'000);
  db::Statement journal = database.prepare("PRAGMA journal_mode");
  ASSERT_TRUE(journal.step());
  EXPECT_EQ(journal.getText(0), "delete");  // the load's setting is not kept
  // The planner's statistics are there for the report indexes.
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM sqlite_stat1 WHERE idx IN ('ix_ICMO_FDate', 'ix_ICMO_FPlanFinishDate')"), 2);
  EXPECT_THROW(gen::createDemoDatabase(file.path(), {.tasks = 100}), plat::Error);
  EXPECT_EQ(db::Database::open(file.path()).queryInt("SELECT count(*) FROM ICMO"), 5'000);
}

}  // namespace
