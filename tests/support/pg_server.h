// The PostgreSQL server of a test run: scripts/with-postgres.sh starts a private cluster and
// hands its URL over in TAV_PG_URL; each test makes its own databases on it.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "midtier/pg/connection.h"

namespace support {

inline bool postgresInstalled() {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists("/usr/lib/postgresql", ec))
    for (const auto& version : fs::directory_iterator("/usr/lib/postgresql", ec))
      if (fs::exists(version.path() / "bin" / "initdb", ec)) return true;
  return false;
}

// The server's URL, or the reason there is none.
inline std::optional<std::string> postgresUrl() {
  const char* url = std::getenv("TAV_PG_URL");
  if (url && *url) return std::string(url);
  return std::nullopt;
}

// `url` with its database name replaced by `name`.
inline std::string withDatabaseName(const std::string& url, const std::string& name) {
  const std::size_t authority = url.find("://") + 3;
  const std::size_t path = url.find('/', authority);
  const std::size_t query = url.find('?', authority);
  const std::string tail = query == std::string::npos ? "" : url.substr(query);
  return url.substr(0, path == std::string::npos ? std::min(query, url.size()) : path) + "/" + name + tail;
}

// A database of its own for one test, dropped when the test ends.
class ScratchDatabase {
 public:
  explicit ScratchDatabase(const std::string& server) : server_(server) {
    static std::atomic<int> counter{0};
    name_ = "tav_t" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    pg::Connection admin = pg::Connection::open(server_);
    admin.exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    admin.exec("CREATE DATABASE " + name_);
    url_ = withDatabaseName(server_, name_);
  }
  ScratchDatabase(const ScratchDatabase&) = delete;
  ScratchDatabase& operator=(const ScratchDatabase&) = delete;
  ~ScratchDatabase() {
    try {
      pg::Connection::open(server_).exec("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (...) {
      // The cluster goes away with the run; a database left behind costs nothing.
    }
  }
  const std::string& url() const { return url_; }
  const std::string& name() const { return name_; }

 private:
  std::string server_, name_, url_;
};

}  // namespace support

// Opens a test that needs the server: it is skipped, with a message, only where PostgreSQL
// is not installed at all; installed but not started is a failure that says how to run it.
#define TAV_NEED_POSTGRES(url)                                                                               \
  std::string url;                                                                                           \
  if (auto found = support::postgresUrl()) {                                                                 \
    url = *found;                                                                                            \
  } else if (!support::postgresInstalled()) {                                                                \
    GTEST_SKIP() << "PostgreSQL is not installed (scripts/deps.sh installs it); server tests skipped";       \
  } else {                                                                                                   \
    FAIL() << "TAV_PG_URL is not set: run the tests through scripts/with-postgres.sh (scripts/test.sh does)"; \
  }
