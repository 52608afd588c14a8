// I/O faults swept over a report run, a scheme save and init: the Nth read, write, sync or lock of
// any database file fails once. Every run must end with a documented exit code (or the report with
// "OK" false and a message), its progress window closed, no temporary file left behind, and the
// database intact with its previous contents.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "app/catalog.h"
#include "app/cli/main_cli.h"
#include "app/exit_codes.h"
#include "app/filter_values.h"
#include "app/session.h"
#include "cli_support.h"
#include "fault_vfs.h"
#include "frame/report/report.h"
#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/login.h"
#include "platform/com/registry.h"
#include "platform/forms/form.h"
#include "platform/forms/front_end.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using apptest::FaultOp;
using apptest::FaultVfs;

// Sampled points per operation: the first call, the last and evenly between.
constexpr long kPoints = 7;

struct Outcome {
  int code = 0;
  std::string err;
};

// The program's main in this process (so the VFS applies), with its output kept.
Outcome runProgram(const std::vector<std::string>& args) {
  std::vector<std::string> words = {"tavshoprpt"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  std::ostringstream out, err;
  std::streambuf* keptOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* keptErr = std::cerr.rdbuf(err.rdbuf());
  const int code = runMain(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(keptOut);
  std::cerr.rdbuf(keptErr);
  midtier::closeConnections();
  return Outcome{code, err.str()};
}

// Through the real file system, not the failing VFS.
std::string query(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string text;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, "unix") == SQLITE_OK) {
    sqlite3_exec(
        db, sql.c_str(),
        [](void* out, int n, char** values, char**) {
          for (int i = 0; i < n; ++i) *static_cast<std::string*>(out) += std::string(values[i] ? values[i] : "") + "|";
          return 0;
        },
        &text, nullptr);
  } else {
    text = sqlite3_errmsg(db);
  }
  sqlite3_close(db);
  return text;
}

std::set<std::string> entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// Runs `once` without a fault to count the calls, then once per sampled N and operation.
template <class Once>
void sweep(FaultVfs& vfs, Once once) {
  for (FaultOp op : apptest::kFaultOps) {
    vfs.arm(op, 0);
    once(op, 0L);
    const long total = vfs.calls(op);
    const long step = std::max(1L, total / (kPoints - 1));
    for (long n = 1; n <= total; n += step) {
      vfs.arm(op, n);
      once(op, n);
      EXPECT_TRUE(vfs.fired()) << nameOf(op) << " " << n;
    }
  }
}

// A front end that runs progress windows and notes one left open by the report.
struct WindowWatch : forms::FrontEnd {
  int windows = 0;
  bool leftOpen = false;
  void runModal(forms::Form& form) override {
    ++windows;
    form.Activate();
    if (form.visible()) {
      leftOpen = true;
      form.Unload();
    }
  }
  int msgBox(std::string_view, int style, std::string_view) override { return forms::firstAnswerOf(style); }
  void doEvents() override {}
};

class FaultInjection : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path / "db");
    database = dir.path / "db" / "co.db";
    gen::createDemoDatabase(database.string(), gen::Options{60, 5});
    contents = query(database, "SELECT count(*), total(FQty), total(FQtyFinish) FROM ICMO");
    registerClasses();
  }
  void TearDown() override { midtier::closeConnections(); }

  void expectIntact(const std::string& context) {
    EXPECT_EQ(query(database, "PRAGMA integrity_check"), "ok|") << context;
    EXPECT_EQ(query(database, "SELECT count(*), total(FQty), total(FQtyFinish) FROM ICMO"), contents) << context;
  }

  apptest::TempDir dir{"faults"};
  fs::path database;
  std::string contents;
};

TEST_F(FaultInjection, ReportRunEndsCleanly) {
  const ReportInfo& info = *findReport("Rpt401");
  const std::string props = midtier::makeProps(database.string(), 16394, "administrator");
  const fs::path out = dir.path / "r.csv";
  std::ofstream(out) << "previous";
  std::string complete;
  FaultVfs vfs;
  sweep(vfs, [&](FaultOp op, long n) {
    const std::string context = nameOf(op) + " " + std::to_string(n);
    // The report itself: "OK" false with a message, or rows; its progress window closed.
    midtier::setLoginProperties(props, "administrator");
    auto watch = std::make_shared<WindowWatch>();
    {
      forms::FrontEndScope scope(watch);
      auto report = plat::broker().CreateAs<frame::Report>(info.className());
      report->SetFilter(scriptFilter(info, parseSetPairs(info, {"GroupBy=1", "BLevel=1", "ELevel=2"}), {}));
      report->GetReportData();
      if (!report->Ok()) {
        EXPECT_FALSE(report->ErrorText().empty()) << context;
      }
    }
    midtier::closeConnections();
    EXPECT_EQ(watch->windows, 1) << context;
    EXPECT_FALSE(watch->leftOpen) << context;

    // The program: a documented exit code, the output complete or as it was.
    const Outcome r = runProgram({"run", "401", "--db", database.string(), "-q", "--set", "GroupBy=1", "--format",
                                  "csv", "--out", out.string()});
    if (n == 0) complete = apptest::slurp(out);
    EXPECT_TRUE(r.code == kExitOk || r.code == kExitReportFailed || r.code == kExitDatabase) << context << r.err;
    if (r.code != kExitOk) {
      EXPECT_EQ(apptest::lineCount(r.err), 1u) << context << r.err;
    }
    const std::string written = apptest::slurp(out);
    EXPECT_TRUE(written == complete || written == "previous") << context;
    std::ofstream(out) << "previous";
    EXPECT_EQ(entries(dir.path), (std::set<std::string>{"db", "r.csv"})) << context;
    EXPECT_EQ(entries(dir.path / "db"), std::set<std::string>{"co.db"}) << context;
    expectIntact(context);
  });
}

TEST_F(FaultInjection, SchemeSaveStoresAllOrNothing) {
  const std::string schemes = "SELECT FName, FContent FROM t_RptFilterScheme ORDER BY FName";
  ASSERT_EQ(runProgram({"schemes", "save", "401", "kept", "--db", database.string(), "--set", "GroupBy=1"}).code, kExitOk);
  FaultVfs vfs;
  int round = 0;
  sweep(vfs, [&](FaultOp op, long n) {
    const std::string context = nameOf(op) + " " + std::to_string(n);
    const std::string before = query(database, schemes);
    const std::string date = "BDate=2024-0" + std::to_string(1 + ++round % 9) + "-01";
    const Outcome r =
        runProgram({"schemes", "save", "401", "g", "--db", database.string(), "--set", "GroupBy=1", "--set", date});
    EXPECT_TRUE(r.code == kExitOk || r.code == kExitOutput || r.code == kExitDatabase) << context << r.err;
    if (r.code != kExitOk) {
      EXPECT_EQ(apptest::lineCount(r.err), 1u) << context << r.err;
    }
    const std::string after = query(database, schemes);
    if (r.code != kExitOk) {
      EXPECT_EQ(after, before) << context;
    }
    if (r.code == kExitOk) {
      EXPECT_NE(after.find(date.substr(6)), std::string::npos) << context;
    }
    EXPECT_NE(after.find("kept|"), std::string::npos) << context;
    EXPECT_EQ(entries(dir.path / "db"), std::set<std::string>{"co.db"}) << context;
    expectIntact(context);
  });
}

TEST_F(FaultInjection, InitReplacesTheDatabaseWholeOrNotAtAll) {
  const std::string tasks = "SELECT count(*) FROM ICMO";
  FaultVfs vfs;
  int round = 0;
  sweep(vfs, [&](FaultOp op, long n) {
    const std::string context = nameOf(op) + " " + std::to_string(n);
    const std::string before = query(database, tasks);
    const std::string size = std::to_string(40 + ++round % 2);  // tells the new file from the old
    const Outcome r = runProgram({"init", "--db", database.string(), "--tasks", size, "--seed", "5", "--force"});
    EXPECT_TRUE(r.code == kExitOk || r.code == kExitOutput) << context << r.err;
    if (r.code != kExitOk) {
      EXPECT_EQ(apptest::lineCount(r.err), 1u) << context << r.err;
    }
    EXPECT_EQ(query(database, tasks), r.code == kExitOk ? size + "|" : before) << context;
    EXPECT_EQ(query(database, "PRAGMA integrity_check"), "ok|") << context;
    EXPECT_EQ(entries(dir.path / "db"), std::set<std::string>{"co.db"}) << context;
  });
}

TEST_F(FaultInjection, SignalsDuringInitLeaveTheOldFileAndNothingElse) {
  for (int signal : {SIGTERM, SIGINT}) {
    const pid_t child = ::fork();
    if (child == 0) {
      FaultVfs vfs;
      vfs.armSignal(FaultOp::Write, 40, signal);  // in the middle of filling the new database
      runProgram({"init", "--db", database.string(), "--tasks", "80", "--force"});
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(entries(dir.path / "db"), std::set<std::string>{"co.db"});
    expectIntact("after signal " + std::to_string(signal));
  }
}

}  // namespace
}  // namespace app
