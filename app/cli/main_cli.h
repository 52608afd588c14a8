// The tavshoprpt command line.
#pragma once

namespace app {

// Parses the command line, runs the subcommand and returns the exit code (exit_codes.h); a
// failure prints one line on stderr.
int runMain(int argc, char** argv);

}  // namespace app
