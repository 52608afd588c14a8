// Rows made on a second thread and written on the calling one: order, values and failures.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
#include <thread>
#include <vector>

#include "midtier/db/database.h"
#include "midtier/db/schema.h"
#include "midtier/db/statement.h"
#include "midtier/db/transaction.h"
#include "midtier/generator/background_load.h"
#include "midtier/generator/generated.h"
#include "midtier/generator/world.h"
#include "platform/core/error.h"

namespace {

// Every row of every table as text: by rowid where the table has one (so that rows written in
// another order show), else by all columns.
std::string allRows(db::Database& database) {
  std::string text;
  for (const gen::TableRows& table : gen::countRows(database).tables) {
    const bool rowid = database.queryInt("SELECT count(*) FROM sqlite_schema WHERE name = '" + table.table +
                                         "' AND sql LIKE '%WITHOUT ROWID%'") == 0;
    db::Statement probe = database.prepare("SELECT * FROM " + table.table + " LIMIT 0");
    std::string order;
    for (int c = 1; c <= probe.columnCount(); ++c) order += (c > 1 ? "," : "") + std::to_string(c);
    db::Statement all = database.prepare(rowid ? "SELECT rowid, * FROM " + table.table + " ORDER BY 1"
                                               : "SELECT * FROM " + table.table + " ORDER BY " + order);
    text += table.table + "\n";
    while (all.step()) {
      for (int c = 0; c < all.columnCount(); ++c) text += all.isNull(c) ? std::string("NULL|") : all.getText(c) + "|";
      text += "\n";
    }
  }
  return text;
}

TEST(BackgroundLoad, WritesTheSameRowsAsMakingThemOnOneThread) {
  db::Database direct = db::Database::memory();
  db::migrate(direct);
  {
    db::Transaction transaction(direct);
    const std::unique_ptr<gen::BulkLoader> loader = gen::sqliteLoader(direct);
    gen::World world(*loader, {.tasks = 600, .seed = 3});
    gen::writeAll(world);
    transaction.commit();
  }
  EXPECT_EQ(allRows(testing_gen::generatedDatabase(600, 3)), allRows(direct));
}

// A scratch table written through the hand-over: texts of every length (empty stays empty, not
// Null; longer than a batch's text chunk), numbers and Nulls, in the order made; each progress
// report arrives on the calling thread once the rows made before it are in the table.
TEST(BackgroundLoad, KeepsValuesOrderAndProgressOnTheCallingThread) {
  db::Database database = db::Database::memory();
  database.exec("CREATE TABLE t (n INTEGER, r REAL, s TEXT)");
  const std::unique_ptr<gen::BulkLoader> loader = gen::sqliteLoader(database);
  const std::string longText(200'000, 'x');
  const auto caller = std::this_thread::get_id();
  std::vector<std::string> seen;
  gen::loadInBackground(
      *loader,
      [&](gen::BulkLoader& handoff, const gen::ProgressFn& progress) {
        const std::unique_ptr<gen::RowWriter> writer = handoff.open("t", "n,r,s");
        std::string text;
        for (int64_t i = 1; i <= 50'000; ++i) {
          text = i % 1000 == 0 ? longText : std::to_string(i);  // reused: the batch must keep its own copy
          const gen::Value row[] = {i, i % 7 == 0 ? gen::Value{} : gen::Value{0.5 * static_cast<double>(i)},
                                    i == 2 ? gen::Value{std::string_view()} : gen::Value{std::string_view(text)}};
          writer->write(row);
          if (i % 10'000 == 0) progress({"rows", i, 50'000});
        }
      },
      [&](const gen::Progress& p) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        seen.push_back(std::string(p.step) + " " + std::to_string(p.done) + "=" +
                       std::to_string(database.queryInt("SELECT count(*) FROM t")));
      });
  EXPECT_THAT(seen, ::testing::ElementsAre("rows 10000=10000", "rows 20000=20000", "rows 30000=30000",
                                           "rows 40000=40000", "rows 50000=50000"));
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE rowid <> n"), 0);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE r IS NULL"), 50'000 / 7);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE r IS NOT NULL AND r <> 0.5 * n"), 0);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE n % 1000 = 0 AND s = '" + longText + "'"), 50);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE n % 1000 <> 0 AND n <> 2 AND s <> CAST(n AS TEXT)"), 0);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE n = 2 AND s = ''"), 1);
}

// A failure while making stops the load with that failure; one while writing stops the maker.
TEST(BackgroundLoad, AFailureOnEitherSideEndsTheLoadWithIt) {
  db::Database database = db::Database::memory();
  database.exec("CREATE TABLE t (n INTEGER NOT NULL)");
  const std::unique_ptr<gen::BulkLoader> loader = gen::sqliteLoader(database);
  const auto make = [](int64_t failAt, int64_t nullAt) {
    return [=](gen::BulkLoader& handoff, const gen::ProgressFn&) {
      const std::unique_ptr<gen::RowWriter> writer = handoff.open("t", "n");
      for (int64_t i = 1; i <= 1'000'000; ++i) {
        if (i == failAt) throw plat::Error::invalidCall("test.make", "made up to here");
        const gen::Value row[] = {i == nullAt ? gen::Value{} : gen::Value{i}};
        writer->write(row);
      }
    };
  };
  try {
    gen::loadInBackground(*loader, make(20'000, 0), {});
    FAIL() << "a failed maker went unnoticed";
  } catch (const plat::Error& error) {
    EXPECT_EQ(error.description(), "made up to here");
  }
  database.exec("DELETE FROM t");
  try {
    gen::loadInBackground(*loader, make(0, 5'000), {});
    FAIL() << "a failed insert went unnoticed";
  } catch (const plat::Error& error) {
    EXPECT_THAT(error.description(), ::testing::HasSubstr("NOT NULL constraint failed"));
  }
  // Rows are written several to a statement: the failed one takes the rows it held with it.
  EXPECT_LT(database.queryInt("SELECT count(*) FROM t"), 5'000);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE rowid <> n"), 0);
}

}  // namespace
