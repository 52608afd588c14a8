// Runs the dialect case files in cases/: T-SQL batches with the rows, SQLite text or error they
// must give on a real in-memory SQLite database.
//
// A file is a series of records separated by blank lines; each starts with a directive:
//   # ...            a comment line
//   setup            plain SQLite statements, run as they are
//   batch [rowsort]  T-SQL lines (joined with CR LF), "----", then the expected rows, cells " | "
//   translate        T-SQL lines, "----", then the expected SQLite statements, one per line
//   error            T-SQL lines, "----", then a text the error description must contain
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "midtier/dialect/dialect.h"
#include "midtier/dialect/test_db.h"
#include "platform/core/error.h"

namespace dialect::testing {
namespace {


class CaseFile {
 public:
  explicit CaseFile(const std::filesystem::path& file) : lines_(caseFileLines(file)) {}

  void run() {
    while (at_ < lines_.size()) {
      if (lines_[at_].empty()) {
        ++at_;
        continue;
      }
      std::size_t start = at_ + 1;
      std::string directive = lines_[at_++];
      SCOPED_TRACE("record at line " + std::to_string(start));
      if (directive.rfind("#", 0) == 0) {
        continue;
      } else if (directive == "setup") {
        std::string sql;
        for (const std::string& line : block()) sql += line + "\n";
        db_.exec(sql);
      } else if (directive == "batch" || directive == "batch rowsort") {
        std::string batch = crlf(untilSeparator());
        std::vector<std::string> expected = block();
        runBatch(batch, expected, directive == "batch rowsort");
      } else if (directive == "translate") {
        std::string batch = crlf(untilSeparator());
        std::vector<std::string> expected = block();
        std::vector<std::string> actual;
        try {
          for (const Statement& s : translate(batch)) actual.push_back(s.sql);
        } catch (const plat::Error& e) {
          ADD_FAILURE() << e.description();
        }
        EXPECT_EQ(actual, expected);
      } else if (directive == "error") {
        std::string batch = crlf(untilSeparator());
        std::vector<std::string> expected = block();
        ASSERT_EQ(expected.size(), 1u);
        try {
          db_.run(batch);
          ADD_FAILURE() << "no error; expected: " << expected[0];
        } catch (const plat::Error& e) {
          EXPECT_NE(e.description().find(expected[0]), std::string::npos) << e.description();
        }
      } else {
        FAIL() << "unknown directive: " << directive;
      }
    }
  }

 private:
  std::vector<std::string> untilSeparator() {
    std::vector<std::string> lines;
    while (at_ < lines_.size() && lines_[at_] != "----") lines.push_back(lines_[at_++]);
    ++at_;
    return lines;
  }

  std::vector<std::string> block() {
    std::vector<std::string> lines;
    while (at_ < lines_.size() && !lines_[at_].empty()) lines.push_back(lines_[at_++]);
    return lines;
  }

  void runBatch(const std::string& batch, std::vector<std::string> expected, bool sortRows) {
    std::vector<std::string> actual;
    try {
      for (const Row& row : db_.run(batch)) actual.push_back(rowText(row));
    } catch (const plat::Error& e) {
      ADD_FAILURE() << e.description();
      return;
    }
    if (sortRows) {
      std::sort(actual.begin(), actual.end());
      std::sort(expected.begin(), expected.end());
    }
    EXPECT_EQ(actual, expected);
  }

  std::vector<std::string> lines_;
  std::size_t at_ = 0;
  TestDb db_;
};

class DialectCases : public ::testing::TestWithParam<std::string> {};

TEST_P(DialectCases, GiveTheExpectedResults) { CaseFile(caseFilesDir() / GetParam()).run(); }

std::vector<std::string> caseFiles() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(caseFilesDir())) {
    if (entry.path().extension() == ".test") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Files, DialectCases, ::testing::ValuesIn(caseFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// Sums over a table made before the batch take the form its declared column types allow: the
// server's own sum of numerics, or of doubles cast to numeric, instead of tav_sum row by row.
TEST(ExistingTables, SumByTheirDeclaredTypes) {
  const TableLookup lookup = [](std::string_view) {
    return std::vector<DeclaredColumn>{{"F", "double precision"}, {"A", "numeric(23,10)"}, {"T", "text"}};
  };
  const std::vector<Statement> sql =
      translate("SELECT sum(F), sum(A), sum(A) / 3, sum(DISTINCT F), T + 'x' FROM #E GROUP BY T", postgresTarget(), lookup);
  ASSERT_EQ(sql.size(), 1u);
  EXPECT_EQ(sql[0].sql,
            "SELECT sum(CAST(\"f\" AS numeric)), sum(\"a\"), tav_round(sum(\"a\") / 3, 10), tav_sum(DISTINCT \"f\"), "
            "\"t\" || 'x' FROM \"#e\" GROUP BY \"t\"");
}

}  // namespace
}  // namespace dialect::testing
