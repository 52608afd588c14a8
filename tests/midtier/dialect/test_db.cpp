// In-memory SQLite databases for the dialect tests.
#include "midtier/dialect/test_db.h"

#include <gtest/gtest.h>

#include <fstream>

#include "midtier/dialect/dialect.h"

namespace dialect::testing {

std::string cellText(sqlite3_stmt* stmt, int column) {
  if (sqlite3_column_type(stmt, column) == SQLITE_NULL) return "NULL";
  return reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
}

std::string rowText(const Row& row) {
  std::string out;
  for (std::size_t i = 0; i < row.size(); ++i) out += (i ? " | " : "") + row[i];
  return out;
}

TestDb::TestDb() {
  if (sqlite3_open(":memory:", &db_) != SQLITE_OK) ADD_FAILURE() << "cannot open an in-memory database";
}

TestDb::~TestDb() { sqlite3_close(db_); }

void TestDb::exec(std::string_view sql) {
  char* error = nullptr;
  std::string text(sql);
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    ADD_FAILURE() << "SQLite: " << (error ? error : "?") << "\n" << text;
    sqlite3_free(error);
  }
}

std::vector<Row> TestDb::query(std::string_view sql) {
  std::vector<Row> rows;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "SQLite: " << sqlite3_errmsg(db_) << "\n" << sql;
    return rows;
  }
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    Row row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) row.push_back(cellText(stmt, i));
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(stmt);
  return rows;
}

std::vector<Row> TestDb::run(std::string_view batch) {
  std::vector<Row> rows;
  execute(db_, batch, [&rows](sqlite3_stmt* stmt) {
    Row row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) row.push_back(cellText(stmt, i));
    rows.push_back(std::move(row));
  });
  return rows;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\r\n" : "") + lines[i];
  return out;
}

std::filesystem::path caseFilesDir() { return std::filesystem::path(__FILE__).parent_path() / "cases"; }

std::vector<std::string> caseFileLines(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace dialect::testing
