// The same small company on SQLite and on PostgreSQL: every report variant, the schemes, the
// key and report lists and a restricted user's view come out byte for byte the same.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_support.h"
#include "support/pg_server.h"

namespace {

using apptest::runCli;

// Both engines with the company of one seed; `run` gives what a command printed on each.
class TwoEngines {
 public:
  TwoEngines(const std::string& server, const std::string& name) : dir_(name), scratch_(server) {
    file_ = (dir_.path / "co.db").string();
    for (const std::string& db : {file_, scratch_.url()}) {
      const apptest::CliResult made = runCli("init --db '" + db + "' --tasks 400 --seed 11");
      EXPECT_EQ(made.code, 0) << made.err;
    }
  }
  const std::string& url() const { return scratch_.url(); }

  // Runs `args` on both and expects the same exit code, stdout and stderr (the database's name
  // aside).
  void expectSame(const std::string& args) {
    SCOPED_TRACE(args);
    const apptest::CliResult lite = runCli(args + " --db '" + file_ + "'");
    const apptest::CliResult server = runCli(args + " --db '" + scratch_.url() + "'");
    EXPECT_EQ(lite.code, 0) << lite.err;
    EXPECT_EQ(server.code, lite.code) << server.err;
    const bool quiet = args.starts_with("schemes save");
    EXPECT_EQ(lite.out.empty(), quiet) << lite.out;
    EXPECT_TRUE(lite.out == server.out) << firstDifference(lite.out, server.out);
  }

 private:
  static std::string firstDifference(const std::string& a, const std::string& b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    const size_t line = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
    return "SQLite:     " + a.substr(line, a.find('\n', at) - line) + "\nPostgreSQL: " +
           b.substr(line, b.find('\n', at) - line);
  }

  apptest::TempDir dir_;
  support::ScratchDatabase scratch_;
  std::string file_;
};

TEST(PgReports, EveryReportVariantWritesTheSameCsvOnBothEngines) {
  TAV_NEED_POSTGRES(server);
  TwoEngines engines(server, "pgreports");
  const std::vector<std::string> variants = {
      "401",
      "401 --set GroupByBatchNo=1",
      "401 --set GroupBy=1",
      "401 --set GroupBy=1 --set BLevel=2 --set ELevel=4 --set OnlyShowSum=1",
      "401 --set GroupBy=1 --set SumMode=2 --set GroupByListIndex=1",
      "401 --set Mode=1 --set ItemClassNumber=01.02 --set BBatchNo=p25",
      "499",
      "499 --set GroupBy=1",
      "499 --set GroupBy=1 --set GroupByBatchNo=1 --set BLevel=2 --set ELevel=3",
      "400",
      "400 --set BItemNumber=01.02 --set EItemNumber=01.03 --set CheckClose=1",
      "406",
      "410",
      "498",
      // A user restricted on customers and one restricted on suppliers.
      "401 --user 张明",
      "406 --user 李华",
  };
  for (const std::string& variant : variants) engines.expectSame("run " + variant + " --format csv");
}

TEST(PgReports, SchemesKeysAndListsReadTheSameOnBothEngines) {
  TAV_NEED_POSTGRES(server);
  TwoEngines engines(server, "pgschemes");
  for (const char* command : {"schemes save 401 分级 --set GroupBy=1 --set ELevel=3",
                              "schemes save 401 Zeta --set GroupByBatchNo=1", "schemes save 401 alpha",
                              "schemes save 401 ALPHA --set OnlyShowSum=1",  // the same name, ASCII case aside
                              "schemes list 401", "schemes show 401 alpha", "schemes show 401 分级",
                              "run 401 --scheme 分级 --format csv", "schemes delete 401 zeta", "schemes list 401",
                              "keys 401", "keys 499", "list"})
    engines.expectSame(command);
}

// `url` logging in as `user` instead.
std::string asUser(std::string url, const std::string& user) {
  const size_t from = url.find("://") + 3;
  return url.replace(from, url.find('@') - from, user);
}

TEST(PgReports, AReadOnlyRoleRunsEveryReportButStoresNoScheme) {
  TAV_NEED_POSTGRES(server);
  TwoEngines engines(server, "pgreader");
  const std::string reader = "tav_reader_" + std::to_string(::getpid());
  {
    pg::Connection owner = pg::Connection::open(engines.url());
    owner.exec("DROP ROLE IF EXISTS " + reader);
    owner.exec("CREATE ROLE " + reader + " LOGIN; GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + reader);
  }
  const std::string db = " --db '" + asUser(engines.url(), reader) + "'";
  for (const char* report : {"401 --set GroupBy=1", "499 --set GroupBy=1", "400", "406", "410", "498"}) {
    const apptest::CliResult owned = runCli(std::string("run ") + report + " --format csv --db '" + engines.url() + "'");
    const apptest::CliResult read = runCli(std::string("run ") + report + " --format csv" + db);
    EXPECT_EQ(read.code, 0) << report << ": " << read.err;
    EXPECT_TRUE(read.out == owned.out) << report;
  }
  const apptest::CliResult save = runCli("schemes save 401 mine" + db);
  EXPECT_EQ(save.code, 7) << save.err;
  EXPECT_NE(save.err.find("只读"), std::string::npos) << save.err;
  EXPECT_EQ(runCli("schemes list 401 --db '" + engines.url() + "'").out, "");
}

// A company made by an older program, whose functions differ from this one's: the first client
// that may replace them does, a read-only one runs with what is there.
TEST(PgReports, AnOlderCompanyGetsThisProgramsFunctions) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase company(server);
  ASSERT_EQ(runCli("init --db '" + company.url() + "' --tasks 200 --seed 5").code, 0);
  const std::string db = " --db '" + company.url() + "'";
  const apptest::CliResult before = runCli("run 401 --set GroupBy=1 --format csv" + db);
  ASSERT_EQ(before.code, 0) << before.err;
  pg::Connection owner = pg::Connection::open(company.url());
  const std::string digest = "SELECT FDigest FROM tav_functions";
  const std::string current(owner.query(digest).text(0, 0));

  const std::string reader = "tav_old_reader_" + std::to_string(::getpid());
  owner.exec("DROP ROLE IF EXISTS " + reader);
  owner.exec("CREATE ROLE " + reader + " LOGIN; GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + reader);
  owner.exec("UPDATE tav_functions SET FDigest = 'older'");
  const apptest::CliResult read = runCli("run 401 --set GroupBy=1 --format csv --db '" + asUser(company.url(), reader) + "'");
  EXPECT_EQ(read.code, 0) << read.err;
  EXPECT_TRUE(read.out == before.out);
  EXPECT_EQ(owner.query(digest).text(0, 0), "older");

  // The older program had no exact double sum: the owner's next report brings it back.
  owner.exec("DROP AGGREGATE tav_sum(double precision)");
  const apptest::CliResult after = runCli("run 401 --set GroupBy=1 --format csv" + db);
  EXPECT_EQ(after.code, 0) << after.err;
  EXPECT_TRUE(after.out == before.out);
  EXPECT_EQ(owner.query(digest).text(0, 0), current);
  owner.exec("DROP OWNED BY " + reader + "; DROP ROLE " + reader);
}

TEST(PgReports, AServerThatCannotBeUsedIsADatabaseFailureWithoutThePassword) {
  TAV_NEED_POSTGRES(server);
  std::string url = support::withDatabaseName(server, "tav_no_such_company");
  url.insert(url.find('@'), ":s3cret");
  const apptest::CliResult missing = runCli("run 401 --format csv --db '" + url + "'");
  EXPECT_EQ(missing.code, 5) << missing.err;
  EXPECT_NE(missing.err.find("tav_no_such_company"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.err.find("s3cret"), std::string::npos) << missing.err;

  // A database without the company schema is refused, not changed.
  support::ScratchDatabase empty(server);
  const apptest::CliResult bare = runCli("run 410 --format csv --db '" + empty.url() + "'");
  EXPECT_EQ(bare.code, 5) << bare.err;
  EXPECT_EQ(pg::Connection::open(empty.url()).queryInt("SELECT count(*) FROM pg_tables WHERE schemaname = 'public'"), 0);
}

// The report's connection is ended by the server while the report waits for a table another
// session holds: the command fails as a database failure and leaves no file behind.
TEST(PgReports, AConnectionLostInTheMiddleOfAReportIsExit5AndWritesNothing) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase company(server);
  ASSERT_EQ(runCli("init --db '" + company.url() + "' --tasks 200 --seed 3").code, 0);
  apptest::TempDir dir("pgdropped");
  const std::filesystem::path out = dir.path / "tasks.csv";
  pg::Connection holder = pg::Connection::open(company.url());
  holder.exec("BEGIN; LOCK TABLE ICMO IN ACCESS EXCLUSIVE MODE");

  apptest::CliResult result;
  std::thread report([&] { result = runCli("run 400 --format csv --out '" + out.string() + "' --db '" + company.url() + "'"); });
  pg::Connection admin = pg::Connection::open(company.url());
  int64_t ended = 0;
  for (int polls = 0; polls < 12000 && ended == 0; ++polls) {
    ended = admin.queryInt("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                           "WHERE datname = current_database() AND wait_event_type = 'Lock'");
    if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  report.join();
  holder.exec("ROLLBACK");

  ASSERT_EQ(ended, 1) << "the report never waited for the table";
  EXPECT_EQ(result.code, 5) << result.err;
  EXPECT_NE(result.err.find("无法连接服务器上的公司数据库"), std::string::npos) << result.err;
  EXPECT_TRUE(std::filesystem::is_empty(dir.path)) << "a file was left in " << dir.path;
}

}  // namespace
