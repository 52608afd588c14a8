// A generated company database shared by the tests of one test program, with the middle tier's
// services registered and a user logged in. Only for test programs that link the middle tier.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "midtier/generator/generator.h"
#include "midtier/services/connection.h"
#include "midtier/services/register.h"
#include "platform/com/registry.h"

namespace support {

inline constexpr int32_t kAdministrator = 16394;

// Created once per test program (small, deterministic); removed at exit.
inline const std::string& demoDatabase() {
  static const std::string path = [] {
    auto dir = std::filesystem::temp_directory_path() / ("tavshoprpt-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto file = (dir / "demo.db").string();
    gen::createDemoDatabase(file, gen::Options{1500, 7});
    // The connections close with their pool at exit; only the files are left to remove.
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(
          std::filesystem::temp_directory_path() / ("tavshoprpt-test-" + std::to_string(::getpid())), ignored);
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
