// Output files against what a file system holds at the target: links, devices, FIFOs, modes,
// directories, leftovers of dead processes, signals; and output that cannot reach stdout.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "app/exit_codes.h"
#include "app/export/atomic_file.h"
#include "app/export/temp_cleanup.h"
#include "cli_support.h"
#include "support/demo_company.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using apptest::runCli;
using apptest::slurp;
using apptest::TempDir;

size_t entries(const fs::path& dir) { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }

mode_t modeOf(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st.st_mode;
}

// A process id that no longer runs: a child that has exited and been reaped.
pid_t deadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

void write(const fs::path& target, const std::string& text) {
  AtomicFile file(target);
  file.stream() << text;
  file.commit();
}

TEST(OutputFile, KeepsModeLinksAndWhatIsNotARegularFile) {
  TempDir dir("outfile");
  // An existing file keeps its permission bits.
  const auto kept = dir.path / "kept.csv";
  std::ofstream(kept) << "old";
  ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
  write(kept, "new");
  EXPECT_EQ(slurp(kept), "new");
  EXPECT_EQ(modeOf(kept) & 07777, 0640u);

  // A symbolic link stays a link; the file it points to gets the content.
  const auto real = dir.path / "real.csv";
  std::ofstream(real) << "old";
  fs::create_symlink("real.csv", dir.path / "link.csv");
  write(dir.path / "link.csv", "through the link");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path / "link.csv")));
  EXPECT_EQ(slurp(real), "through the link");
  // A dangling link is completed, not replaced.
  fs::create_symlink("later.csv", dir.path / "dangling.csv");
  write(dir.path / "dangling.csv", "made");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path / "dangling.csv")));
  EXPECT_EQ(slurp(dir.path / "later.csv"), "made");

  // A hard link elsewhere keeps the old content; the name written gets the new.
  fs::create_hard_link(kept, dir.path / "hard.csv");
  write(kept, "newer");
  EXPECT_EQ(slurp(kept), "newer");
  EXPECT_EQ(slurp(dir.path / "hard.csv"), "new");

  // A character device is written into, never replaced: a pseudo-terminal's reader gets the text.
  // (A terminal rather than /dev/null: were this broken, the test must not replace a system file.)
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const fs::path terminal = ::ptsname(master);
  const int slave = ::open(terminal.c_str(), O_RDWR | O_NOCTTY);  // keeps the text readable after the write
  write(terminal, "to the terminal");
  EXPECT_TRUE(S_ISCHR(modeOf(terminal)));
  char echoed[64] = {};
  EXPECT_GT(::read(master, echoed, sizeof echoed - 1), 0);
  EXPECT_EQ(std::string(echoed), "to the terminal");
  ::close(slave);
  ::close(master);

  // A FIFO is written into: its reader gets the whole content.
  const auto fifo = dir.path / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = slurp(fifo); });
  write(fifo, "through the pipe");
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
  EXPECT_EQ(entries(dir.path), 7u) << "a temporary file was left";
}

TEST(OutputFile, LeftoversOfDeadProcessesGoAndSignalsLeaveNone) {
  TempDir dir("leftover");
  const auto target = dir.path / "r.csv";
  const std::string dead = std::to_string(deadPid());
  const std::string alive = std::to_string(::getppid());
  for (const std::string& name : {".r.csv.tmp-" + dead, ".r.csv.tmp-" + dead + "-a1B2c3", ".r.csv.tmp-" + alive + "-x"})
    std::ofstream(dir.path / name) << "half";
  std::ofstream(dir.path / ".other.csv.tmp-1") << "someone else's";
  write(target, "done");
  EXPECT_FALSE(fs::exists(dir.path / (".r.csv.tmp-" + dead)));
  EXPECT_FALSE(fs::exists(dir.path / (".r.csv.tmp-" + dead + "-a1B2c3")));
  EXPECT_TRUE(fs::exists(dir.path / (".r.csv.tmp-" + alive + "-x"))) << "a running process's file was taken";
  EXPECT_TRUE(fs::exists(dir.path / ".other.csv.tmp-1"));
  EXPECT_EQ(slurp(target), "done");

  // SIGTERM and SIGINT in the middle of writing: the signal still ends the process, the
  // temporary goes, the target stays as it was.
  for (int signal : {SIGTERM, SIGINT}) {
    const pid_t child = ::fork();
    if (child == 0) {
      AtomicFile file(target);
      file.stream() << "interrupted" << std::flush;
      ::raise(signal);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(slurp(target), "done");
    EXPECT_EQ(entries(dir.path), 3u);
  }
}

TEST(OutputFile, CommandLineRefusesADirectoryAndReportsLostOutput) {
  TempDir dir("cliout");
  const std::string db = "--db '" + support::demoDatabase() + "' ";
  const auto r = runCli("run 410 " + db + "-q --format csv --out '" + dir.path.string() + "'");
  EXPECT_EQ(r.code, kExitOutput) << r.err;
  EXPECT_NE(r.err.find("it is a directory"), std::string::npos) << r.err;

  // Output that cannot reach stdout: a full device, a closed descriptor.
  for (const std::string redirect : {"> /dev/full", ">&-"}) {
    const std::string command = "'" + apptest::programPath().string() + "' run 410 " + db + "-q --format csv " +
                                redirect + " 2> '" + (dir.path / "err").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), kExitOutput) << redirect;
    EXPECT_NE(slurp(dir.path / "err").find("cannot write to standard output"), std::string::npos) << redirect;
  }
  EXPECT_EQ(entries(dir.path), 1u) << "a temporary file was left";
}

TEST(OutputFile, InitBuildsAsideAndLeavesNothingBehind) {
  TempDir dir("initout");
  const auto target = dir.path / "q.db";
  const std::string dead = std::to_string(deadPid());
  fs::create_directory(dir.path / (".q.db.new-" + dead + "-Zz9yX8"));
  std::ofstream(dir.path / (".q.db.new-" + dead + "-Zz9yX8") / "q.db") << "half";
  std::ofstream(dir.path / (".q.db.new-" + dead)) << "half, as older versions left it";
  std::ofstream(dir.path / (".q.db.new-" + dead + "-journal")) << "journal";
  std::ofstream(target) << "not yet a database";
  ASSERT_EQ(::chmod(target.c_str(), 0604), 0);

  auto r = runCli("init --db '" + target.string() + "' --tasks 20");
  EXPECT_EQ(r.code, kExitUsage) << r.err;
  EXPECT_EQ(slurp(target), "not yet a database");
  r = runCli("init --db '" + target.string() + "' --tasks 20 --force");
  EXPECT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(modeOf(target) & 07777, 0604u);
  EXPECT_EQ(entries(dir.path), 1u) << "leftovers of the dead process or of this run remain";

  r = runCli("init --db '" + dir.path.string() + "' --force");
  EXPECT_EQ(r.code, kExitOutput) << r.err;
  EXPECT_NE(r.err.find("it is a directory"), std::string::npos) << r.err;
  const auto fifo = dir.path / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  r = runCli("init --db '" + fifo.string() + "' --force");
  EXPECT_EQ(r.code, kExitOutput) << r.err;
  EXPECT_TRUE(S_ISFIFO(modeOf(fifo)));
  EXPECT_EQ(runCli("init --db '' --tasks 20").code, kExitUsage);
  fs::remove(fifo);
  EXPECT_EQ(runCli("init --db '" + target.string() + "' --seed -1 --force").code, kExitUsage);
  EXPECT_EQ(runCli("init --db '" + target.string() + "' --seed 99999999999999999999 --force").code, kExitUsage);
  EXPECT_EQ(entries(dir.path), 1u);
}

}  // namespace
}  // namespace app
