// Bounded mutations of the batches in the case files, run on the case files' own tables: each
// mutated batch translates and runs, or fails with a plat::Error; nothing crashes, and under the
// sanitizers nothing reads or writes out of bounds.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "midtier/dialect/dialect.h"
#include "midtier/dialect/test_db.h"
#include "platform/core/error.h"

namespace dialect::testing {
namespace {

struct CaseBatches {
  std::string setup;                 // the file's plain SQLite statements
  std::vector<std::string> batches;  // its T-SQL batches, CR LF joined
};

// The setup statements and batches of a case file (the format sql_cases_test.cpp reads).
CaseBatches readCases(const std::filesystem::path& file) {
  const std::vector<std::string> lines = caseFileLines(file);
  CaseBatches found;
  for (std::size_t at = 0; at < lines.size(); ++at) {
    const std::string& directive = lines[at];
    if (directive == "setup") {
      while (++at < lines.size() && !lines[at].empty()) found.setup += lines[at] + "\n";
    } else if (directive.rfind("batch", 0) == 0 || directive == "translate" || directive == "error") {
      std::vector<std::string> batch;
      while (++at < lines.size() && lines[at] != "----") batch.push_back(lines[at]);
      found.batches.push_back(crlf(batch));
      while (at < lines.size() && !lines[at].empty()) ++at;
    }
  }
  return found;
}

// A small deterministic generator, so that a failing mutation can be reproduced from its number.
struct Lcg {
  std::uint32_t state;
  std::uint32_t next() { return state = state * 1103515245u + 12345u, state >> 8; }
  std::size_t below(std::size_t n) { return n == 0 ? 0 : next() % n; }
};

// One mutation: replace a byte, cut a span, repeat a span, or insert a fragment that the
// tokenizer and the statement model treat specially.
std::string mutate(const std::string& batch, Lcg& random) {
  static const char* const kFragments[] = {"(",      ")",     "'",          "[",          "]",      "--",
                                           "/*",     "*/",    " WITH ROLLUP", " GROUP BY ", " FROM ", " SELECT ",
                                           " INTO #", ",",    " UPDATE ",   " SET ",      "\r\n",   "\xE5\x90",
                                           " CASE ", " END ", " N'",        "\0",         " . ",    " AS "};
  std::string out = batch;
  const std::size_t at = random.below(out.size() + 1);
  switch (random.below(4)) {
    case 0:
      if (!out.empty()) out[std::min(at, out.size() - 1)] = static_cast<char>(random.below(256));
      break;
    case 1: out.erase(at, random.below(24) + 1); break;
    case 2: out.insert(at, out.substr(at, random.below(40) + 1)); break;
    default: {
      const char* fragment = kFragments[random.below(std::size(kFragments))];
      out.insert(at, *fragment ? std::string(fragment) : std::string(1, '\0'));
    }
  }
  return out;
}

TEST(DialectFuzz, MutatedCaseBatchesTranslateAndRunOrFailCleanly) {
  constexpr int kMutationsPerBatch = 24;  // about 2,000 runs over the case files
  const auto dir = caseFilesDir();
  int runs = 0, refused = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".test") continue;
    const CaseBatches cases = readCases(entry.path());
    TestDb db;
    if (!cases.setup.empty()) db.exec(cases.setup);
    Lcg random{static_cast<std::uint32_t>(entry.path().filename().string().size() * 7919u)};
    for (const std::string& batch : cases.batches) {
      for (int i = 0; i < kMutationsPerBatch; ++i) {
        std::string mutated = mutate(batch, random);
        if (i % 3 == 2) mutated = mutate(mutated, random);
        SCOPED_TRACE(entry.path().filename().string() + ": " + mutated);
        ++runs;
        // Each run in a transaction rolled back, so one batch's work tables and updates do not
        // change what the next one sees.
        sqlite3_exec(db.handle(), "SAVEPOINT fuzz", nullptr, nullptr, nullptr);
        try {
          execute(db.handle(), mutated, [](sqlite3_stmt*) {});
        } catch (const plat::Error& e) {
          ++refused;
          EXPECT_FALSE(e.description().empty());
        }
        // A mutated batch may have ended the savepoint itself; whatever is left open is undone.
        sqlite3_exec(db.handle(), "ROLLBACK TO fuzz; RELEASE fuzz", nullptr, nullptr, nullptr);
        if (!sqlite3_get_autocommit(db.handle())) sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
      }
    }
  }
  EXPECT_GT(runs, 500);
  EXPECT_GT(refused, runs / 10);  // the mutations do reach the error paths
  EXPECT_LT(refused, runs);       // and some still run
}

}  // namespace
}  // namespace dialect::testing
