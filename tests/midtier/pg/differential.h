// Running the same T-SQL batch on SQLite and on PostgreSQL and comparing what comes back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "midtier/dbi/session.h"
#include "midtier/dialect/dialect.h"

namespace differential {

using Row = std::vector<std::string>;

// The rows of every row-returning statement of a batch; cells as the engine writes them, NULL
// for Null.
inline std::vector<Row> run(dbi::Session& session, const std::string& batch) {
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
inline bool sameCell(const std::string& a, const std::string& b) {
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

inline std::string text(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) out += (i ? " | " : "") + row[i];
    out += "\n";
  }
  return out;
}

inline void expectSameRows(std::vector<Row> sqlite, std::vector<Row> postgres, bool rowsort) {
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
inline std::string postgresSetup(std::string sql) {
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

}  // namespace differential
