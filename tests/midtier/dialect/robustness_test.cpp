// Truncated and damaged batches fail with plat::Error, never with a crash or a different error.
#include <gtest/gtest.h>
#include <sqlite3.h>


#include "midtier/dialect/dialect.h"
#include "midtier/dialect/report_batches.h"
#include "platform/core/error.h"

namespace dialect::testing {
namespace {

// Translates, accepting either statements or a plat::Error that names a position.
void translateOrFailCleanly(const std::string& batch) {
  try {
    (void)translate(batch);
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.number(), 102) << e.description();
    EXPECT_NE(e.description().find(" at line "), std::string::npos) << e.description();
  }
}

TEST(Robustness, EveryPrefixOfAReportBatchTranslatesOrFailsCleanly) {
  Options401 o{Grouping401::ClassLevel, 0, 1, 1, 3, "01", "02", " CharIndex('12',t1.FRightUserID)>0 "};
  for (const std::string& batch : {batch401(o), batch499(Options499{true, 0, 1, 4, 2, 4, "", "", false})}) {
    for (std::size_t length = 0; length <= batch.size(); length += 11) translateOrFailCleanly(batch.substr(0, length));
  }
}

// Bytes replaced at random are the fuzz test's; here input deep enough to exhaust a recursive parser.
TEST(Robustness, DeeplyNestedBatchesFailCleanly) {
  translateOrFailCleanly(std::string(5000, '('));
  std::string chain = "SELECT 1";
  for (int i = 0; i < 20000; ++i) chain += "+1";
  translateOrFailCleanly(chain);
  std::string signs;
  for (int i = 0; i < 5000; ++i) signs += "- ";
  translateOrFailCleanly("SELECT " + signs + "1");
}

TEST(Execute, ReportsColumnsOncePerResultAndRegistersFunctionsIdempotently) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  registerFunctions(db);
  registerFunctions(db);
  std::vector<std::string> events;
  execute(
      db, "SELECT CharIndex('b','abc') AS P WHERE 1=0\r\nSELECT CharIndex('b','abc') AS P, 'x' + 'y' AS S",
      [&](sqlite3_stmt* s) { events.push_back(std::string("columns ") + sqlite3_column_name(s, 0)); },
      [&](sqlite3_stmt* s) { events.push_back("row " + std::to_string(sqlite3_column_int(s, 0))); });
  EXPECT_EQ(events, (std::vector<std::string>{"columns P", "columns P", "row 2"}));
  sqlite3_close(db);
}

}  // namespace
}  // namespace dialect::testing
