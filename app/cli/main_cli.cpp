// The subcommands, their options and the mapping of failures to exit codes.
#include "app/cli/main_cli.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include "app/cli/commands.h"
#include "app/exit_codes.h"
#include "app/session.h"
#include "app/version.h"
#include "app/web/server.h"
#include "midtier/services/connection.h"
#include "midtier/services/database_errors.h"
#include "platform/core/error.h"

namespace app {
namespace {

// Curses and wide characters need a UTF-8 locale; the environment's when it is one.
void useUtf8Locale() {
  if (std::setlocale(LC_ALL, "") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "en_US.UTF-8");
}

// "--db ''" is a mistake, not a request for the default database.
const CLI::Validator kFileName(
    [](std::string& text) { return text.empty() ? std::string("needs a file name") : std::string(); }, "FILE");

// A whole number that fits 64 bits unsigned; CLI11 alone would let "-1" and overflows wrap.
const CLI::Validator kSeed(
    [](std::string& text) {
      uint64_t value = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::string("must be a whole number from 0 to 18446744073709551615");
      return std::string();
    },
    "UINT");

void addLogin(CLI::App* command, LoginOptions& login) {
  command->add_option("--db", login.db, "company database file (default: " + defaultDatabase() + ")")->check(kFileName);
  command->add_option("--user", login.user, "user name or id to log in as")->capture_default_str();
}

void addOutput(CLI::App* command, RunOptions& run) {
  command->add_option("--set", run.sets, "filter value KEY=VALUE (repeatable); dates YYYY-MM-DD")
      ->type_name("KEY=VALUE")
      ->allow_extra_args(false);
  command->add_option("--scheme", run.scheme, "use a saved filter scheme of the report's dialog");
  command->add_option("--drill", run.drill, "show the detail report of result row ROW (1-based)")->type_name("ROW");
  command->add_option("--format", run.format, "table, csv, xlsx, html or json")->capture_default_str();
  command->add_option("--out", run.out, "write to FILE (complete or not at all) instead of stdout");
  command->add_option("--width", run.width, "cells per table line (default: the terminal's)");
  command->add_flag("-q,--quiet", run.quiet, "no progress line on stderr");
  command->add_flag("--plain", run.plain, "print the text table on a terminal too, instead of the interactive grid");
  CLI::Option* dialog = command->add_flag_callback("--dialog", [&run] { run.source = FilterSource::Dialog; },
                                                   "open the report's filter dialog");
  CLI::Option* noDialog = command->add_flag_callback("--no-dialog", [&run] { run.source = FilterSource::NoDialog; },
                                                     "never open the dialog (default filter when no --set/--scheme)");
  dialog->excludes(noDialog);
}

bool stdoutClosed = false;

// A closed standard descriptor would be reused by the next file opened, the database among them,
// and output meant for the terminal would land there. Each is held by a harmless device instead;
// stdout by one that refuses writes, so that output into a closed stdout is reported.
void holdClosedStandardDescriptors() {
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int held = ::open(fd == STDOUT_FILENO ? "/dev/full" : "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (held >= 0 && held != fd) {
      ::dup2(held, fd);
      ::close(held);
    }
    if (fd == STDOUT_FILENO) stdoutClosed = true;
  }
}

// What went to stdout must have arrived: a full disk or a closed descriptor is exit 7, not 0.
void requireStdoutWritten() {
  errno = 0;
  std::cout.flush();
  const bool lost = !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout);
  if (lost) {
    const int error = errno;
    std::cout.clear();
    throw Failure{kExitOutput, std::string("cannot write to standard output: ") +
                                   (stdoutClosed ? "it is closed" : error != 0 ? std::strerror(error) : "writing failed (disk full?)")};
  }
}

}  // namespace

int runMain(int argc, char** argv) {
  holdClosedStandardDescriptors();
  midtier::clearLastFailure();
  useUtf8Locale();
  CLI::App cli{"tavshoprpt: run, show and export the shop-floor reports of the company database"};
  cli.require_subcommand(1);
  cli.set_version_flag("--version", std::string("tavshoprpt ") + kVersion, "print the version and exit");
  cli.set_help_all_flag("--help-all", "help for every subcommand");
  cli.footer(
      "Exit codes: 0 success, 2 bad arguments or filter values, 3 dialog cancelled, 4 report failed,\n"
      "5 database missing, damaged or incomplete, 6 row without detail, 7 output (file, stdout, database\n"
      "file, scheme) not written, 1 internal error.");

  InitOptions init;
  RunOptions run;
  SchemeOptions schemes;

  CLI::App* demo = cli.add_subcommand("demo", "create the demo database if missing and show a report");
  demo->add_option("--tasks", init.tasks, "production tasks when the database is created")->capture_default_str();
  demo->add_option("--seed", init.seed, "generator seed when the database is created")->capture_default_str()->check(kSeed);
  demo->add_option("--report", run.report, "report to show (default: Rpt401 graded by class levels 1-3)");
  demo->add_option("--db", init.db, "company database file (default: " + defaultDatabase() + ")")->check(kFileName);
  demo->add_option("--user", run.login.user, "user name or id to log in as")->capture_default_str();
  addOutput(demo, run);

  CLI::App* initCmd = cli.add_subcommand("init", "create a company database with generated data");
  initCmd->alias("generate");
  initCmd->add_option("--db", init.db, "database file to create (default: " + defaultDatabase() + ")")->check(kFileName);
  initCmd->add_option("--tasks", init.tasks, "production tasks; everything else scales with them")->capture_default_str();
  initCmd->add_option("--seed", init.seed, "the same seed gives the same data")->capture_default_str()->check(kSeed);
  initCmd->add_flag("--force", init.force, "replace an existing file");

  CLI::App* list = cli.add_subcommand("list", "the six reports: class name, number, name");
  LoginOptions listLogin;
  addLogin(list, listLogin);

  std::string keysReport;
  CLI::App* keysCmd = cli.add_subcommand("keys", "a report's filter keys: type, default, allowed values, meaning");
  keysCmd->add_option("REPORT", keysReport, "class name or number: Rpt401, 401")->required();
  LoginOptions keysLogin;
  addLogin(keysCmd, keysLogin);

  CLI::App* runCmd = cli.add_subcommand("run", "run a report and show or export it");
  runCmd->add_option("REPORT", run.report, "class name or number: Rpt401, 401")->required();
  addLogin(runCmd, run.login);
  addOutput(runCmd, run);

  CLI::App* schemeCmd = cli.add_subcommand("schemes", "list, show, save or delete saved filter schemes");
  schemeCmd->add_option("ACTION", schemes.action, "list, show, save or delete")
      ->required()
      ->check(CLI::IsMember({"list", "show", "save", "delete"}));
  schemeCmd->add_option("REPORT", schemes.report, "class name or number (all reports for list)");
  schemeCmd->add_option("NAME", schemes.name, "scheme name");
  schemeCmd->add_option("--set", schemes.sets, "save: filter value KEY=VALUE (repeatable)")->type_name("KEY=VALUE");
  addLogin(schemeCmd, schemes.login);

  web::ServeOptions serveOptions;
  CLI::App* serveCmd = cli.add_subcommand("serve", "the web viewer: reports, dialogs, charts and a JSON API");
  serveCmd->add_option("--db", serveOptions.db, "company database file (default: " + defaultDatabase() + ")");
  serveCmd->add_option("--bind", serveOptions.bind, "address to listen on")->capture_default_str();
  serveCmd->add_option("--port", serveOptions.port, "port to listen on (0: any free port)")
      ->capture_default_str()
      ->check(CLI::Range(0, 65535));

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = cli.exit(e);
    return code == 0 ? kExitOk : kExitUsage;
  }

  try {
    if (*demo) runDemo(init, run, std::cout);
    else if (*initCmd) initDatabase(init, std::cout);
    else if (*list) listReports(listLogin, std::cout);
    else if (*keysCmd) {
      if (!keysLogin.db.empty()) login(keysLogin);  // the keys are the same on every database; a given one is checked
      listKeys(keysReport, std::cout);
    }
    else if (*runCmd) runReport(run, std::cout);
    else if (*schemeCmd) manageSchemes(schemes, std::cout);
    else if (*serveCmd)
      web::serve(serveOptions, [](const std::string& address) { std::cout << "listening on " << address << std::endl; });
    requireStdoutWritten();
    midtier::closeConnections();
    return kExitOk;
  } catch (const Failure& f) {
    std::cout.flush();
    if (!f.message.empty()) std::cerr << "tavshoprpt: " << f.message << '\n';
    return f.code;
  } catch (const plat::Error& e) {
    // A database failure that reached here still gets its own code: 5 damaged, 7 not saved.
    std::cerr << "tavshoprpt: " << e.description() << '\n';
    return failureCode(e.description(), kExitInternal, kExitOutput);
  } catch (const std::exception& e) {
    std::cerr << "tavshoprpt: " << e.what() << '\n';
    return kExitInternal;
  }
}

}  // namespace app
