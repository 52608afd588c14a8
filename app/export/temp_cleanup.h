// Temporary files beside an output: removed when SIGINT, SIGTERM or SIGHUP ends the program, and
// removed on a later run when the process that made them is gone.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace app {

// Keeps `path` on the list that the signal handler removes before the signal ends the program:
// every file first, then every (by then empty) directory. Installs the handler on first use.
// Raises app::Failure (kExitOutput) when the list is full.
class SignalCleanup {
 public:
  explicit SignalCleanup(const std::filesystem::path& path);
  ~SignalCleanup();  // takes the path off the list; does not remove it
  SignalCleanup(const SignalCleanup&) = delete;
  SignalCleanup& operator=(const SignalCleanup&) = delete;

 private:
  int slot_;
};

// The temporaries' names: "." + the target's file name + `tag` + "-" + the owner's process id,
// then "-" and a unique part (or nothing, as older versions wrote them).
std::string temporaryPrefix(const std::filesystem::path& target, std::string_view tag);

// Removes the temporaries of `target` with `tag` (files, or directories with what they hold)
// whose owner process no longer runs. Errors are ignored: a leftover is tried again next time.
// Returns how many were removed.
int removeStaleTemporaries(const std::filesystem::path& target, std::string_view tag);

}  // namespace app
