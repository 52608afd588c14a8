// Running one report from the command line: its filter from the dialog, from --set pairs or from
// a saved scheme; the run with a live progress line; an optional drill-down; the output.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/session.h"

namespace app {

enum class FilterSource { Auto, Dialog, NoDialog };

struct RunOptions {
  std::string report;              // class name or number
  std::vector<std::string> sets;   // "KEY=VALUE"
  std::string scheme;              // a saved scheme of the report's dialog
  FilterSource source = FilterSource::Auto;  // Auto: the dialog on a terminal without --set/--scheme
  std::optional<long> drill;       // 1-based row of the result
  std::string format = "table";
  std::string out;                 // "" for stdout
  size_t width = 0;                // cells per line of the table; 0: the terminal's, unlimited off a terminal
  bool quiet = false;              // no progress line
  bool plain = false;              // the text table even on a terminal, not the interactive grid
  LoginOptions login;
};

// Runs the report and writes its output to `out` (or the --out file). Raises app::Failure with
// the exit code and the one line to print; a cancelled dialog raises kExitCancelled with no line.
void runReport(const RunOptions& options, std::ostream& out);

}  // namespace app
