// Helpers of the middle tier's service tests: private copies of the generated demo database
// (for tests that write, damage or lock it) and a second, independent connection to check
// what the services answer.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/services/connection.h"
#include "midtier/services/login.h"
#include "platform/core/error.h"
#include "support/demo_company.h"

namespace svctest {

// A copy of the demo database under a new name, closed and removed at the end of the test.
class DatabaseCopy {
 public:
  DatabaseCopy() {
    static std::atomic<int> serial{0};
    auto dir = std::filesystem::path(support::demoDatabase()).parent_path();
    path_ = (dir / ("copy-" + std::to_string(++serial) + ".db")).string();
    std::filesystem::copy_file(support::demoDatabase(), path_, std::filesystem::copy_options::overwrite_existing);
  }
  DatabaseCopy(const DatabaseCopy&) = delete;
  DatabaseCopy& operator=(const DatabaseCopy&) = delete;
  ~DatabaseCopy() {
    midtier::closeConnections();
    midtier::clearLoginProperties();
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }

  const std::string& path() const { return path_; }
  std::string props(int32_t user = support::kAdministrator, const std::string& extra = "") const {
    return midtier::makeProps(path_, user, "administrator") + extra;
  }
  // Makes this copy the login of the process.
  std::string login(int32_t user = support::kAdministrator, const std::string& extra = "") const {
    std::string p = props(user, extra);
    midtier::setLoginProperties(p, "administrator");
    return p;
  }
  // An independent connection, not the one the services keep.
  db::Database open() const { return db::Database::open(path_); }

 private:
  std::string path_;
};

// Runs `call`, expecting a plat::Error from `source` whose description holds every one of `parts`.
template <class Call>
void ExpectError(Call&& call, const std::string& source, std::initializer_list<std::string> parts) {
  try {
    call();
    ADD_FAILURE() << "no error raised; expected one from " << source;
  } catch (const plat::Error& e) {
    EXPECT_EQ(e.source(), source) << e.description();
    for (const std::string& part : parts) EXPECT_NE(e.description().find(part), std::string::npos)
                                              << "'" << part << "' not in: " << e.description();
  }
}

}  // namespace svctest
