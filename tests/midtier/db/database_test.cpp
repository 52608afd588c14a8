// The SQLite wrapper: creating, statements, and the errors a user gets to read. A missing, damaged
// or locked file is tested through the services (database_errors_test) and the command line.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/db/temp_file.h"
#include "platform/core/error.h"

namespace {

using ::testing::HasSubstr;
using testing_db::TempFile;

// Runs `action`, expects a plat::Error and returns its description.
template <typename Action>
std::string errorOf(Action action) {
  try {
    action();
  } catch (const plat::Error& error) {
    return error.description();
  }
  ADD_FAILURE() << "no plat::Error was thrown";
  return {};
}

TEST(Database, CreateRefusesAnExistingFileAndOpenFindsTheNewOne) {
  TempFile file;
  { db::Database::create(file.path()).exec("CREATE TABLE t (a)"); }
  EXPECT_THAT(errorOf([&] { (void)db::Database::create(file.path()); }), HasSubstr("already exists"));
  db::Database database = db::Database::open(file.path());
  EXPECT_TRUE(database.tableExists("T"));  // names compare without regard to case
  EXPECT_EQ(database.queryInt("PRAGMA foreign_keys"), 1);
  EXPECT_EQ(database.queryInt("PRAGMA threads"), 2);
}

TEST(Database, MissingTableAndBadSqlNameTheProblemAndTheStatement) {
  db::Database database = db::Database::memory();
  const std::string missing = errorOf([&] { (void)database.prepare("SELECT FName FROM t_Missing"); });
  EXPECT_THAT(missing, HasSubstr("no such table: t_Missing"));
  EXPECT_THAT(missing, HasSubstr("SELECT FName FROM t_Missing"));
  EXPECT_THAT(errorOf([&] { database.exec("CREATE TABLE t (a); INSERT INTO nowhere VALUES (1)"); }),
              HasSubstr("no such table: nowhere"));
  EXPECT_THAT(errorOf([&] { (void)database.prepare("SELEKT 1"); }), HasSubstr("syntax error"));
}

TEST(Statement, NamesAndIndexesOutOfRangeAreNamed) {
  db::Database database = db::Database::memory();
  database.exec("CREATE TABLE t (FID INTEGER, FQty REAL, FName TEXT, FNote TEXT)");
  db::Statement insert = database.prepare("INSERT INTO t VALUES (:id, @qty, $name, ?4)");
  insert.bind("id", 7).bind("@qty", 2.5).bind("name", std::string("箱")).bind(4, nullptr).run();
  db::Statement select = database.prepare("SELECT fid, FQTY, FName, FNote FROM t ORDER BY FID");
  ASSERT_TRUE(select.step());
  EXPECT_EQ(select.getText("FNAME") + "/" + select.getText(3), "箱/") << "names without regard to case; Null as \"\"";
  EXPECT_TRUE(select.isNull("FNote"));
  EXPECT_THAT(errorOf([&] { (void)select.columnIndex("FMissing"); }), HasSubstr("no column named FMissing"));
  EXPECT_THAT(errorOf([&] { insert.bind(9, 1); }), HasSubstr("parameter 9 is out of range"));
  EXPECT_THAT(errorOf([&] { insert.bind("nope", 1); }), HasSubstr("no parameter named nope"));
}

TEST(Statement, EmptyTextIsTextNotNull) {
  db::Database database = db::Database::memory();
  database.exec("CREATE TABLE t (a TEXT NOT NULL)");
  database.prepare("INSERT INTO t VALUES (?)").bind(1, std::string_view()).run();
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM t WHERE a = ''"), 1);
}

}  // namespace
