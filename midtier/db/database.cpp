// Opening, configuring and closing SQLite connections.
#include "midtier/db/database.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include <fmt/format.h>

#include "midtier/db/sqlite_error.h"
#include "midtier/db/statement.h"

namespace db {

namespace {

std::string databaseContext(const std::string& path) { return fmt::format("database {}", path); }

// TAV_SQL_LOG=1: every statement a connection finishes, with its time, on stderr, to see where a
// report's time goes.
int logStatement(unsigned, void*, void* statement, void* nanoseconds) {
  const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
  std::fprintf(stderr, "%10.3f ms  %s\n", static_cast<double>(*static_cast<sqlite3_int64*>(nanoseconds)) / 1e6,
               sql ? sql : "?");
  return 0;
}

}  // namespace

Database::Database(sqlite3* handle, std::string path) : handle_(handle), path_(std::move(path)) {}

Database::Database(Database&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), path_(std::move(other.path_)) {}

Database& Database::operator=(Database&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) sqlite3_close_v2(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

Database::~Database() {
  // close_v2 defers the close until stray statements are finalized instead of failing.
  if (handle_ != nullptr) sqlite3_close_v2(handle_);
}

Database Database::open(const std::string& path, const OpenOptions& options) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec))
    throw Error(SQLITE_CANTOPEN, fmt::format("database file not found: {}", path));
  if (std::filesystem::is_directory(path, ec))
    throw Error(SQLITE_CANTOPEN, fmt::format("cannot open database {}: it is a directory", path));
  return openWithFlags(path, SQLITE_OPEN_READWRITE, options);
}

Database Database::create(const std::string& path, const OpenOptions& options) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec))
    throw Error(SQLITE_CANTOPEN,
                fmt::format("cannot create database {}: the file already exists", path));
  return openWithFlags(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, options);
}

Database Database::memory(const OpenOptions& options) {
  return openWithFlags(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_MEMORY,
                       options);
}

Database Database::openWithFlags(const std::string& path, int flags, const OpenOptions& options) {
  // SQLite's memory statistics take a global mutex on every allocation, and nothing reads them.
  // The setting only takes before SQLite's first use in the process; later it is refused, harmlessly.
  static const int memoryStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  (void)memoryStatistics;
  sqlite3* handle = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &handle, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  Database database(handle, path);  // owns the handle even when the open failed
  if (rc != SQLITE_OK) throwSqlite(handle, rc, fmt::format("cannot open database {}", path));
  sqlite3_extended_result_codes(handle, 1);
  database.configure(options);
  return database;
}

void Database::configure(const OpenOptions& options) {
  setBusyTimeout(options.busyTimeout);
  // Reading the schema here makes a corrupt or foreign file fail at open time
  // ("file is not a database") rather than at the first query.
  int rc = sqlite3_exec(handle_, "PRAGMA schema_version", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throwSqlite(handle_, rc, fmt::format("cannot open database {}", path_));
  exec("PRAGMA foreign_keys = ON");
  exec(fmt::format("PRAGMA threads = {}", options.sorterThreads));
  if (const char* log = std::getenv("TAV_SQL_LOG"); log && *log && std::string_view(log) != "0")
    sqlite3_trace_v2(handle_, SQLITE_TRACE_PROFILE, logStatement, nullptr);
}

void Database::exec(std::string_view sql) {
  std::string text(sql);
  char* message = nullptr;
  int rc = sqlite3_exec(handle_, text.c_str(), nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    sqlite3_free(message);  // the connection keeps the same message for throwSqlite
    throwSqlite(handle_, rc,
                fmt::format("{}; statement: {}", databaseContext(path_), abbreviateSql(sql)));
  }
}

Statement Database::prepare(std::string_view sql) { return Statement(*this, sql); }

int64_t Database::queryInt(std::string_view sql) {
  Statement statement(*this, sql);
  if (!statement.step()) return 0;
  return statement.getInt64(0);
}

bool Database::tableExists(std::string_view name) {
  Statement statement(*this,
                      "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
  statement.bind(1, name);
  return statement.step();
}

bool Database::inTransaction() const { return sqlite3_get_autocommit(handle_) == 0; }

int64_t Database::lastInsertRowId() const { return sqlite3_last_insert_rowid(handle_); }

int64_t Database::changes() const { return sqlite3_changes64(handle_); }

uint32_t Database::dataVersion() const {
  unsigned version = 0;
  sqlite3_file_control(handle_, "main", SQLITE_FCNTL_DATA_VERSION, &version);
  return version;
}

void Database::setBusyTimeout(std::chrono::milliseconds timeout) {
  int rc = sqlite3_busy_timeout(handle_, static_cast<int>(timeout.count()));
  if (rc != SQLITE_OK) throwSqlite(handle_, rc, databaseContext(path_));
}

}  // namespace db
