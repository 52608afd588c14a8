// One connection to a PostgreSQL database through libpq.
#pragma once

#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "midtier/pg/result.h"

struct pg_conn;

namespace pg {

// Values for the parameters $1, $2, ... of a statement, sent in text form. Doubles are
// written in their shortest exact form, so a value reaches the server unchanged.
class Params {
 public:
  Params() = default;
  template <typename... Values>
  explicit Params(const Values&... values) {
    (add(values), ...);
  }
  Params& add(std::nullptr_t);
  Params& add(int64_t value);
  template <std::integral T>
    requires(!std::same_as<T, int64_t> && !std::same_as<T, bool>)
  Params& add(T value) {
    return add(static_cast<int64_t>(value));
  }
  Params& add(double value);
  Params& add(std::string_view value);
  Params& add(const char* value) { return add(std::string_view(value)); }
  Params& add(const std::string& value) { return add(std::string_view(value)); }
  template <typename T>
  Params& add(const std::optional<T>& value) {
    return value ? add(*value) : add(nullptr);
  }

  [[nodiscard]] int size() const { return static_cast<int>(values_.size()); }
  [[nodiscard]] const std::vector<std::optional<std::string>>& values() const { return values_; }

 private:
  std::vector<std::optional<std::string>> values_;
};

// RAII owner of a libpq connection, used by one thread at a time. Every failure throws
// pg::Error (a plat::Error); a lost server is pg::Error::connectionLost(). The session's
// client encoding is UTF-8; server notices (such as "table does not exist, skipping") are
// not printed.
class Connection {
 public:
  // Connects to `url` ("postgresql://user@host:port/dbname", or any libpq connection text).
  static Connection open(const std::string& url);
  // A new connection to the same database with the same parameters.
  [[nodiscard]] Connection openAnother() const { return open(url_); }

  Connection(Connection&& other) noexcept;
  Connection& operator=(Connection&& other) noexcept;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  // Runs one or more statements separated by ';' whose rows are of no interest.
  void exec(std::string_view sql);
  // Runs one statement with parameters $1, $2, ... and returns all its rows.
  [[nodiscard]] Result query(std::string_view sql, const Params& params = {});
  // Runs one statement with parameters that returns no rows; gives the rows it changed.
  int64_t execute(std::string_view sql, const Params& params) { return query(sql, params).affected(); }
  // A query yielding one integer; no row or null gives 0.
  [[nodiscard]] int64_t queryInt(std::string_view sql, const Params& params = {});
  // Sends `data` (COPY's text format: tab-separated, one row a line) to `copySql`, a
  // "COPY table (columns) FROM STDIN" statement. Returns the rows the server took.
  int64_t copyIn(std::string_view copySql, std::string_view data);

  [[nodiscard]] bool tableExists(std::string_view name);
  [[nodiscard]] bool inTransaction() const;
  // The server went away (or closed this session): nothing more can be sent on it.
  [[nodiscard]] bool broken() const;
  // The connection's database as given, with any password left out (for messages).
  [[nodiscard]] const std::string& name() const { return name_; }
  [[nodiscard]] pg_conn* handle() const { return conn_; }

 private:
  Connection(pg_conn* conn, std::string url, std::string name);
  Result checked(pg_result* result, std::string_view sql);

  pg_conn* conn_ = nullptr;
  std::string url_;  // as given, password and all: for openAnother() only
  std::string name_;
};

// A transaction on `connection`: rolled back when it goes out of scope uncommitted.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void commit();

 private:
  Connection& connection_;
  bool open_ = true;
};

}  // namespace pg
