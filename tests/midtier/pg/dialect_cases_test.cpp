// Every batch of the dialect case files gives the same rows on PostgreSQL as on SQLite: both
// targets translate the same statement model, so what SQL Server would return must not depend
// on the engine underneath.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "midtier/db/database.h"
#include "midtier/dbi/pg_session.h"
#include "midtier/dbi/sqlite_session.h"
#include "midtier/dialect/dialect.h"
#include "midtier/pg/schema.h"
#include "platform/core/error.h"
#include "support/pg_server.h"

namespace {

using Row = std::vector<std::string>;

std::filesystem::path casesDir() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "dialect" / "cases";
}

// The rows of every row-returning statement of a batch; cells as the engine writes them, NULL
// for Null.
std::vector<Row> run(dbi::Session& session, const std::string& batch) {
  std::vector<Row> rows;
  dialect::BatchSteps steps;
  steps.onRows = [&](dbi::Rows& result) {
    while (result.next()) {
      Row& row = rows.emplace_back();
      for (int c = 0; c < result.columnCount(); ++c)
        row.push_back(result.kind(c) == dbi::ValueKind::Null ? "NULL" : std::string(result.text(c)));
    }
  };
  dialect::execute(session, batch, steps);
  return rows;
}

// Numbers are equal when they agree to 9 significant digits (SQLite's float decimals against
// PostgreSQL's numeric); texts as the work tables compare them, without regard to case (which
// of a group's spellings a rollup shows is the engine's choice).
bool sameCell(const std::string& a, const std::string& b) {
  auto fold = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  if (fold(a) == fold(b)) return true;
  char* endA = nullptr;
  char* endB = nullptr;
  const double x = std::strtod(a.c_str(), &endA);
  const double y = std::strtod(b.c_str(), &endB);
  if (a.empty() || b.empty() || *endA || *endB) return false;
  return std::fabs(x - y) <= 1e-9 * std::max({1.0, std::fabs(x), std::fabs(y)});
}

std::string text(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) out += (i ? " | " : "") + row[i];
    out += "\n";
  }
  return out;
}

void expectSameRows(std::vector<Row> sqlite, std::vector<Row> postgres, bool rowsort) {
  if (rowsort) {
    std::sort(sqlite.begin(), sqlite.end());
    std::sort(postgres.begin(), postgres.end());
  }
  bool same = sqlite.size() == postgres.size();
  for (std::size_t r = 0; same && r < sqlite.size(); ++r) {
    same = sqlite[r].size() == postgres[r].size();
    for (std::size_t c = 0; same && c < sqlite[r].size(); ++c) same = sameCell(sqlite[r][c], postgres[r][c]);
  }
  EXPECT_TRUE(same) << "SQLite:\n" << text(sqlite) << "PostgreSQL:\n" << text(postgres);
}

// A case file's SQLite setup as PostgreSQL reads it: the same tables and rows.
std::string postgresSetup(std::string sql) {
  sql = std::regex_replace(sql, std::regex(R"(\[([^\]]*)\])"), "\"$1\"");
  sql = std::regex_replace(sql, std::regex(R"(\bREAL\b)"), "double precision");
  std::string out;
  for (char c : sql) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // Lower case outside the texts only.
  std::string result;
  bool quoted = false;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    if (sql[i] == '\'') quoted = !quoted;
    result += quoted || sql[i] == '\'' ? sql[i] : out[i];
  }
  return result;
}

std::vector<std::string> readLines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(PgDialectCases, EveryBatchGivesTheSameRowsAsOnSqlite) {
  TAV_NEED_POSTGRES(server);
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(casesDir())) {
    SCOPED_TRACE(entry.path().filename().string());
    support::ScratchDatabase scratch(server);
    pg::Connection connection = pg::Connection::open(scratch.url());
    connection.exec(pg::companySchema().prelude.front());
    connection.exec(dialect::postgresFunctions());
    dbi::PgSession postgres(connection);
    db::Database database = db::Database::memory();
    dbi::SqliteSession sqlite(database);

    const std::vector<std::string> lines = readLines(entry.path());
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
