// The subcommands besides run: demo, init (generate), list, keys and schemes.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/cli/run_report.h"

namespace app {

struct InitOptions {
  std::string db;  // "" for the default database
  int64_t tasks = 2000;
  uint64_t seed = 20261206;
  bool force = false;  // replace an existing file
};

// Creates the company database (complete or not at all) and prints its table sizes.
void initDatabase(const InitOptions& options, std::ostream& out);
// The same in a PostgreSQL database (options.db a "postgresql://" URL): schema and demo company
// in one transaction; --force replaces a company that is there.
void initServerDatabase(const InitOptions& options, std::ostream& out);

// Creates the demo database when it is missing, then runs `run` (the showcase by default).
void runDemo(const InitOptions& init, RunOptions run, std::ostream& out);
// The showcase: the summary report graded by product-class levels 1 to 3, one row per product.
std::vector<std::string> showcaseFilter();

// --db (when given) is checked as every command checks it.
void listReports(const LoginOptions& login, std::ostream& out);
// The report's filter keys: type, default, allowed values and meaning of each.
void listKeys(const std::string& report, std::ostream& out);

struct SchemeOptions {
  std::string action;  // list, show, delete, save
  std::string report;
  std::string name;
  std::vector<std::string> sets;  // save: the filter values
  LoginOptions login;
};
void manageSchemes(const SchemeOptions& options, std::ostream& out);

}  // namespace app
