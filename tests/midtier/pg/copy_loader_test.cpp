// The COPY loader's binary rows reach the server as the same values its text rows give: edge
// integers and doubles, Nulls, texts with COPY's special characters, numbers in columns of the
// other kind; values a column cannot hold are refused with the table and column named.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "midtier/generator/pg_worker.h"
#include "midtier/generator/row_writer.h"
#include "midtier/pg/connection.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"
#include "support/pg_server.h"

namespace {

using gen::Value;

constexpr const char* kColumns = "FSmall, FInt, FBig, FReal, FText";

// Rows of every kind of value the generator sends, one row a case.
std::vector<std::array<Value, 5>> edgeRows() {
  const double inf = std::numeric_limits<double>::infinity();
  return {
      {int64_t{0}, int64_t{0}, int64_t{0}, 0.0, std::string_view("")},
      {int64_t{-32768}, int64_t{-2147483648}, std::numeric_limits<int64_t>::min(), -0.0, std::string_view("a\tb\\c\nd\re")},
      {int64_t{32767}, int64_t{2147483647}, std::numeric_limits<int64_t>::max(), 0.1, std::string_view("\\N")},
      {Value{}, Value{}, Value{}, Value{}, Value{}},
      {3.0, -7.0, 65536.0, int64_t{-42}, int64_t{-9}},  // integral doubles, integers where doubles and texts go
      {int64_t{1}, int64_t{2}, int64_t{3}, std::numeric_limits<double>::denorm_min(), 2.5},
      {int64_t{-1}, int64_t{-2}, int64_t{-3}, std::numeric_limits<double>::max(), std::string_view("生产任务 ü")},
      {int64_t{5}, int64_t{6}, int64_t{7}, -inf, std::string_view("'quoted' \"twice\"")},
      {int64_t{8}, int64_t{9}, int64_t{10}, 123456789.123456789, std::string_view(" ")},
  };
}

std::string rowsOf(pg::Connection& connection, const std::string& table) {
  const pg::Result r = connection.query("SELECT FID, " + std::string(kColumns) + " FROM " + table + " ORDER BY FID");
  std::string out;
  for (int row = 0; row < r.rows(); ++row) {
    for (int c = 0; c < r.columns(); ++c) out += (c ? "|" : "") + (r.isNull(row, c) ? "NULL" : std::string(r.text(row, c)));
    out += "\n";
  }
  return out;
}

// Loads `rows` into `table` (made in this transaction, as the loader requires) on a worker of
// the connection; gives the rows the server took.
int64_t load(pg::Connection& connection, const std::string& table, const std::vector<std::array<Value, 5>>& rows) {
  gen::Worker worker(connection);
  std::array<gen::Worker*, 1> workers = {&worker};
  const std::unique_ptr<gen::PostgresLoader> loader =
      gen::postgresLoader(workers, [](std::string_view) -> std::size_t { return 0; }, pg::columnTypes(connection));
  const std::unique_ptr<gen::RowWriter> writer = loader->open(table, std::string("FID, ") + kColumns);
  int64_t id = 0;
  for (const auto& row : rows) {
    std::array<Value, 6> values;
    values[0] = ++id;
    std::copy(row.begin(), row.end(), values.begin() + 1);
    writer->write(values);
  }
  return loader->finish().at(table);
}

TEST(PgCopyLoader, BinaryRowsGiveTheValuesTextRowsGive) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection connection = pg::Connection::open(scratch.url());
  connection.exec("BEGIN");
  // A varchar column keeps the second table in the text format, which the first is checked against.
  connection.exec(
      "CREATE TABLE Bin (FID integer, FSmall smallint, FInt integer, FBig bigint, FReal double precision, FText text);"
      "CREATE TABLE Txt (FID integer, FSmall smallint, FInt integer, FBig bigint, FReal double precision, "
      "FText varchar(40))");
  const auto rows = edgeRows();
  EXPECT_EQ(load(connection, "Bin", rows), static_cast<int64_t>(rows.size()));
  EXPECT_EQ(load(connection, "Txt", rows), static_cast<int64_t>(rows.size()));
  connection.exec("COMMIT");

  const std::string expected =
      "1|0|0|0|0|\n"
      "2|-32768|-2147483648|-9223372036854775808|-0|a\tb\\c\nd\re\n"
      "3|32767|2147483647|9223372036854775807|0.1|\\N\n"
      "4|NULL|NULL|NULL|NULL|NULL\n"
      "5|3|-7|65536|-42|-9\n"
      "6|1|2|3|5e-324|2.5\n"
      "7|-1|-2|-3|1.7976931348623157e+308|生产任务 ü\n"
      "8|5|6|7|-Infinity|'quoted' \"twice\"\n"
      "9|8|9|10|123456789.12345679| \n";
  EXPECT_EQ(rowsOf(connection, "Bin"), expected);
  EXPECT_EQ(rowsOf(connection, "Txt"), expected);
  EXPECT_EQ(connection.queryInt("SELECT count(*) FROM Bin WHERE FText IS NULL"), 1);  // "\N" stays a text
}

TEST(PgCopyLoader, RefusesValuesTheColumnCannotHold) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection connection = pg::Connection::open(scratch.url());
  const std::vector<std::pair<std::array<Value, 5>, std::string>> cases = {
      {{int64_t{32768}, int64_t{0}, int64_t{0}, 0.0, Value{}}, "column 2: 32768 is out of range"},
      {{int64_t{0}, int64_t{2147483648}, int64_t{0}, 0.0, Value{}}, "column 3: 2147483648 is out of range"},
      {{int64_t{0}, 1.5, int64_t{0}, 0.0, Value{}}, "column 3: 1.5 is not an integer"},
      {{int64_t{0}, int64_t{0}, 9.3e18, 0.0, Value{}}, "column 4: 9.3e+18 is not an integer"},
      {{int64_t{0}, int64_t{0}, std::nan(""), 0.0, Value{}}, "column 4: nan is not an integer"},
      {{int64_t{0}, int64_t{0}, int64_t{0}, std::string_view("1.5"), Value{}}, "column 5: a text where a number goes"},
      {{std::string_view("1"), int64_t{0}, int64_t{0}, 0.0, Value{}}, "column 2: a text where an integer goes"},
  };
  for (const auto& [row, message] : cases) {
    connection.exec("BEGIN; CREATE TABLE Bin (FID integer, FSmall smallint, FInt integer, FBig bigint, "
                    "FReal double precision, FText text)");
    try {
      load(connection, "Bin", {row});
      ADD_FAILURE() << "accepted: " << message;
    } catch (const plat::Error& error) {
      EXPECT_EQ(error.description(), "Bin, " + message);
    }
    connection.exec("ROLLBACK");
  }
}

}  // namespace
