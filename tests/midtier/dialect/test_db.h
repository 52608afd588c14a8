// A throw-away in-memory SQLite database for dialect tests, on the raw C API.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace dialect::testing {

using Row = std::vector<std::string>;

// A value as the tests print it: NULL, or SQLite's text of it (reals keep their ".0").
std::string cellText(sqlite3_stmt* stmt, int column);
// Cells joined with " | ".
std::string rowText(const Row& row);

// The folder of the dialect case files, and a case file's lines without their line endings.
std::filesystem::path caseFilesDir();
std::vector<std::string> caseFileLines(const std::filesystem::path& file);

class TestDb {
 public:
  TestDb();
  ~TestDb();
  TestDb(const TestDb&) = delete;
  TestDb& operator=(const TestDb&) = delete;

  sqlite3* handle() const { return db_; }
  // Plain SQLite statements; fails the test on error.
  void exec(std::string_view sql);
  // Rows of one plain SQLite query.
  std::vector<Row> query(std::string_view sql);
  // Rows of the row-returning statements of a T-SQL batch run through dialect::execute.
  std::vector<Row> run(std::string_view batch);

 private:
  sqlite3* db_ = nullptr;
};

// Lines joined with CR LF, the line break of the batches the reports compose.
std::string crlf(const std::vector<std::string>& lines);

}  // namespace dialect::testing
