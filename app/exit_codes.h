// The exit codes of tavshoprpt, for scripts: each failure kind has its own.
#pragma once

#include <string>

namespace app {

enum ExitCode : int {
  kExitOk = 0,
  kExitInternal = 1,       // an unexpected failure of the program itself
  kExitUsage = 2,          // bad arguments: unknown report, key, scheme or user; a bad filter value
  kExitCancelled = 3,      // the user cancelled the filter dialog
  kExitReportFailed = 4,   // the report ended with "OK" false
  kExitDatabase = 5,       // the database is missing, damaged or incomplete (tables, columns, settings)
  kExitNoDetail = 6,       // --drill on a row without detail (a total or subtotal row)
  kExitOutput = 7,         // output not written: a file, stdout, init's database, a scheme
};

// An error that ends the program with a given code and one line on stderr.
struct Failure {
  int code;
  std::string message;
};

}  // namespace app
