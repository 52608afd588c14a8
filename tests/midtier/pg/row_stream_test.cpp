// Rows read as the server sends them: all of them in order, the columns known before the first,
// a failure after some rows thrown where it happens, and a stream let go early leaves the
// connection (and its transaction) usable.
#include "midtier/pg/row_stream.h"

#include <gtest/gtest.h>

#include "midtier/pg/pg_error.h"
#include "support/pg_server.h"

namespace {

TEST(PgRowStream, RowsArriveInOrderAndFailuresAfterSomeRowsAreThrown) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection c = pg::Connection::open(scratch.url());
  {
    pg::RowStream rows(c, "SELECT g AS n, 'r' || g AS t, NULL::numeric(9,2) AS z FROM generate_series(1, $1) g",
                       pg::Params(30000));
    ASSERT_EQ(rows.columns(), 3);
    EXPECT_EQ(rows.columnName(1), "t");
    EXPECT_EQ(rows.kind(0), pg::Kind::Integer);
    EXPECT_EQ(rows.kind(2), pg::Kind::Decimal);
    int64_t expected = 0;
    while (rows.next()) {
      ++expected;
      ASSERT_EQ(rows.getDouble(0), static_cast<double>(expected));
      ASSERT_EQ(rows.text(1), "r" + std::to_string(expected));
      ASSERT_TRUE(rows.isNull(2));
    }
    EXPECT_EQ(expected, 30000);
    EXPECT_FALSE(rows.next());
  }
  {
    pg::RowStream none(c, "SELECT 1 AS a, 'x' AS b WHERE false");
    EXPECT_EQ(none.columns(), 2);
    EXPECT_EQ(none.columnName(1), "b");
    EXPECT_FALSE(none.next());
  }

  // The server fails at its 1000th row, after sending the rows before it.
  int read = 0;
  try {
    pg::RowStream rows(c, "SELECT 1 / (1000 - g) FROM generate_series(1, 5000) g");
    while (rows.next()) ++read;
    FAIL() << "the division by zero was not reported";
  } catch (const pg::Error& e) {
    EXPECT_EQ(e.sqlState(), "22012") << e.description();
  }
  EXPECT_EQ(read, 999);
  EXPECT_THROW(pg::RowStream(c, "SELECT * FROM no_such_table"), pg::Error);

  // Left after one row of many, inside a transaction that still commits.
  c.exec("CREATE TABLE kept (n integer)");
  {
    pg::Transaction transaction(c);
    {
      pg::RowStream rows(c, "SELECT g FROM generate_series(1, 100000) g");
      ASSERT_TRUE(rows.next());
    }
    c.exec("INSERT INTO kept VALUES (1)");
    transaction.commit();
  }
  EXPECT_EQ(c.queryInt("SELECT count(*) FROM kept"), 1);
}

}  // namespace
