// Command-line conventions: --version, --db on every command, NO_COLOR and TERM=dumb, an empty
// result explained, and scheme listings that name every report sharing a scheme store.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/exit_codes.h"
#include "cli_support.h"
#include "support/demo_company.h"

namespace app {
namespace {

using apptest::runCli;
using apptest::TempDir;

// Runs the program on a pseudo-terminal (script), so that it writes as to a user's screen.
std::string onTerminal(const std::string& environment, const std::string& args) {
  TempDir dir("pty");
  const auto out = dir.path / "typescript";
  const std::string inner = environment + " '" + apptest::programPath().string() + "' " + args;
  const std::string command = "script -qec \"" + inner + "\" '" + out.string() + "' < /dev/null > /dev/null 2>&1";
  (void)std::system(command.c_str());
  return apptest::slurp(out);
}

TEST(CliConventions, VersionAndDbOnEveryCommand) {
  const auto version = runCli("--version");
  EXPECT_EQ(version.code, kExitOk);
  EXPECT_EQ(version.out.rfind("tavshoprpt ", 0), 0u) << version.out;

  TempDir dir("dbeverywhere");
  const std::string missing = "--db '" + (dir.path / "none.db").string() + "'";
  EXPECT_EQ(runCli("list " + missing).code, kExitDatabase);
  const auto listed = runCli("list --db '" + support::demoDatabase() + "'");
  EXPECT_EQ(listed.code, kExitOk) << listed.err;
  EXPECT_NE(listed.out.find("TavShopRpt.Rpt499"), std::string::npos);
  EXPECT_EQ(runCli("schemes list " + missing).code, kExitDatabase);
  EXPECT_EQ(runCli("run 401 " + missing).code, kExitDatabase);
}

TEST(CliConventions, NoColorAndDumbTerminalsGetNoEscapeSequences) {
  if (std::system("command -v script > /dev/null 2>&1") != 0) GTEST_SKIP() << "script is not installed";
  const std::string args = "run 401 --db '" + support::demoDatabase() + "' --plain --set GroupBy=0";
  // On an ordinary terminal the total row is bold: the check below can see escapes.
  const std::string plain = onTerminal("TERM=xterm-256color", args);
  ASSERT_NE(plain.find("合计"), std::string::npos) << plain;
  EXPECT_NE(plain.find('\x1b'), std::string::npos);
  for (const char* environment : {"TERM=xterm-256color NO_COLOR=1", "TERM=dumb"}) {
    const std::string text = onTerminal(environment, args);
    EXPECT_NE(text.find("合计"), std::string::npos) << environment << "\n" << text;
    EXPECT_EQ(text.find('\x1b'), std::string::npos) << environment;
  }
}

TEST(CliConventions, AnEmptyResultSaysWhichRangeEmptiedIt) {
  if (std::system("command -v script > /dev/null 2>&1") != 0) GTEST_SKIP() << "script is not installed";
  const std::string text = onTerminal(
      "TERM=dumb", "run 401 --db '" + support::demoDatabase() + "' --set BDate=2099-01-01 --set EDate=2099-12-31");
  EXPECT_NE(text.find("nothing lies in BDate..EDate '2099-01-01'..'2099-12-31'; without that range there are "),
            std::string::npos)
      << text;
}

TEST(CliConventions, SchemeListingsNameEveryReportSharingAStore) {
  TempDir dir("sharedschemes");
  std::filesystem::copy_file(support::demoDatabase(), dir.path / "demo.db");
  const std::string at = " --db '" + (dir.path / "demo.db").string() + "'";
  ASSERT_EQ(runCli("schemes save 406 三月" + at + " --set BDate=2025-03-01").code, kExitOk);
  EXPECT_EQ(runCli("schemes list 400" + at).out, "Rpt400,Rpt406\t三月\n");
  EXPECT_EQ(runCli("schemes list" + at).out, "Rpt400,Rpt406\t三月\n");
  const auto removed = runCli("schemes delete 400 三月" + at);
  EXPECT_EQ(removed.out, "deleted scheme '三月' of Rpt400,Rpt406 (their dialogs share one scheme store)\n");
  EXPECT_EQ(runCli("schemes list 406" + at).out, "");
}

}  // namespace
}  // namespace app
