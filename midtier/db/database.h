// One connection to a company's SQLite database file.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;

namespace db {

class Statement;

struct OpenOptions {
  // How long a statement waits for another connection's write lock before it fails
  // with "database is locked".
  std::chrono::milliseconds busyTimeout{5000};
  // Sorter threads for ORDER BY / GROUP BY / CREATE INDEX (PRAGMA threads).
  int sorterThreads = 2;
};

// RAII owner of a sqlite3 connection. Every failure throws db::Error (a plat::Error).
// Foreign keys are enforced on every connection.
class Database {
 public:
  // Opens an existing database file read-write. A missing file is an error naming the
  // path (it is never created here); a file that is not a SQLite database is refused at once.
  static Database open(const std::string& path, const OpenOptions& options = {});
  // Creates a new, empty database file. Fails when the file already exists.
  static Database create(const std::string& path, const OpenOptions& options = {});
  // A private in-memory database (tests, scratch work).
  static Database memory(const OpenOptions& options = {});

  Database(Database&& other) noexcept;
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // Runs one or more statements separated by ';' that return no rows of interest.
  void exec(std::string_view sql);
  // Prepares one statement.
  [[nodiscard]] Statement prepare(std::string_view sql);
  // Runs a query that yields one integer (e.g. "SELECT count(*) FROM t"); null gives 0.
  [[nodiscard]] int64_t queryInt(std::string_view sql);

  [[nodiscard]] bool tableExists(std::string_view name);
  [[nodiscard]] bool inTransaction() const;
  [[nodiscard]] int64_t lastInsertRowId() const;
  [[nodiscard]] int64_t changes() const;
  void setBusyTimeout(std::chrono::milliseconds timeout);
  // The pager's change counter of the main database: it moves with every change this
  // connection has seen, its own or another's.
  [[nodiscard]] uint32_t dataVersion() const;

  // The file this connection was opened on (":memory:" for memory databases).
  [[nodiscard]] const std::string& path() const { return path_; }
  // The raw connection, for layers that talk to SQLite directly (the SQL dialect layer).
  [[nodiscard]] sqlite3* handle() const { return handle_; }

 private:
  Database(sqlite3* handle, std::string path);
  static Database openWithFlags(const std::string& path, int flags, const OpenOptions& options);
  void configure(const OpenOptions& options);

  sqlite3* handle_ = nullptr;
  std::string path_;
};

}  // namespace db
