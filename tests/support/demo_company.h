// A generated company database shared by the tests of one test program, with the middle tier's
// services registered and a user logged in. Only for test programs that link the middle tier.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"

namespace support {

inline constexpr int32_t kAdministrator = 16394;

// Created once per test program (small, deterministic) in a folder of its own; removed at exit.
inline const std::string& demoDatabase() {
  static std::string dir;
  static pid_t creator = 0;
  static const std::string path = [] {
    // A name no other process has: a folder left by a killed run must not stand in the way.
    std::string pattern = (std::filesystem::temp_directory_path() / "tavshoprpt-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder for the demo database");
    dir = pattern;
    creator = ::getpid();
    auto file = (std::filesystem::path(dir) / "demo.db").string();
    gen::createDemoDatabase(file, gen::Options{1500, 7});
    // The connections close with their pool at exit; only the files are left to remove, by the
    // process that made them (not a forked child that exits).
    std::atexit([] {
      if (::getpid() != creator) return;
      std::error_code ignored;
      std::filesystem::remove_all(dir, ignored);
    });
    return file;
  }();
  return path;
}

// Registers the middle tier and logs `userId` in on the demo database; returns the
// connection-properties text.
inline std::string loginDemo(int32_t userId = kAdministrator, const std::string& userName = "administrator") {
  const std::string props = midtier::makeProps(demoDatabase(), userId, userName);
  midtier::registerServices(plat::broker());
  midtier::setLoginProperties(props, userName);
  return props;
}

}  // namespace support
