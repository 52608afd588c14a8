// Transactions: savepoints, and a commit that fails. A failure halfway through a write is
// fault_injection_test's, through the command line.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <sqlite3.h>

#include "midtier/db/database.h"
#include "midtier/db/sqlite_error.h"
#include "midtier/db/statement.h"
#include "midtier/db/temp_file.h"
#include "midtier/db/transaction.h"

namespace {

using testing_db::TempFile;

db::Database tableWithKey() {
  db::Database database = db::Database::memory();
  database.exec("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT NOT NULL)");
  return database;
}

TEST(Transaction, NestedTransactionsAreSavepoints) {
  db::Database database = tableWithKey();
  db::Transaction outer(database);
  database.exec("INSERT INTO t VALUES (1, 'outer')");
  {
    db::Transaction inner(database);
    database.exec("INSERT INTO t VALUES (2, 'inner, rolled back')");
  }
  {
    db::Transaction inner(database);
    database.exec("INSERT INTO t VALUES (3, 'inner, kept')");
    inner.commit();
  }
  EXPECT_TRUE(database.inTransaction());
  outer.commit();
  EXPECT_EQ(database.queryInt("SELECT sum(id) FROM t"), 4);
}

// COMMIT itself can fail while a reader holds the file; the writer's change is then
// rolled back rather than left pending.
TEST(Transaction, AFailedCommitRollsBack) {
  TempFile file;
  { db::Database::create(file.path()).exec("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT); INSERT INTO t VALUES (1, 'x')"); }
  db::Database reader = db::Database::open(file.path());
  db::Database writer = db::Database::open(file.path(), {.busyTimeout = std::chrono::milliseconds(20)});
  db::Statement reading = reader.prepare("SELECT id FROM t");
  ASSERT_TRUE(reading.step());  // holds a shared lock until reset
  {
    db::Transaction transaction(writer);
    writer.exec("INSERT INTO t VALUES (2, 'y')");
    try {
      transaction.commit();
      FAIL() << "committed while another connection was reading";
    } catch (const db::Error& error) {
      EXPECT_EQ(error.primaryCode(), SQLITE_BUSY);
      EXPECT_THAT(error.description(), ::testing::HasSubstr("database is locked"));
    }
    EXPECT_FALSE(writer.inTransaction());
  }
  reading.reset();
  EXPECT_EQ(writer.queryInt("SELECT count(*) FROM t"), 1);
  EXPECT_EQ(reader.queryInt("SELECT count(*) FROM t"), 1);
}

}  // namespace
