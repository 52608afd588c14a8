// Running the tavshoprpt program built beside this test program, and reading what it wrote.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace apptest {

inline std::filesystem::path programPath() {
  return std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() / "tavshoprpt";
}

inline std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A directory of its own for a test, removed at the end.
struct TempDir {
  std::filesystem::path path;
  explicit TempDir(const std::string& name)
      : path(std::filesystem::temp_directory_path() / ("tavapp-" + name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

struct CliResult {
  int code = -1;
  std::string out, err;
};

// Runs the program with `args` (shell words, already quoted) and stdin from /dev/null.
inline CliResult runCli(const std::string& args) {
  static int serial = 0;
  const auto base = std::filesystem::temp_directory_path() /
                    ("tavapp-cli-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
  const std::string command = "'" + programPath().string() + "' " + args + " < /dev/null > '" + base.string() +
                              ".out' 2> '" + base.string() + ".err'";
  const int status = std::system(command.c_str());
  CliResult r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = slurp(base.string() + ".out");
  r.err = slurp(base.string() + ".err");
  std::filesystem::remove(base.string() + ".out");
  std::filesystem::remove(base.string() + ".err");
  return r;
}

// The product codes in a text ("01.02.0003": two digits from 0, then groups of two, then four).
inline std::vector<std::string> productCodes(const std::string& text) {
  static const std::regex code(R"((?:^|[^0-9.])(0[0-9](?:\.[0-9]{2})+\.[0-9]{4})(?![0-9.]))");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), code); it != std::sregex_iterator(); ++it)
    found.push_back((*it)[1]);
  return found;
}

inline size_t lineCount(const std::string& text) {
  size_t n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

}  // namespace apptest
