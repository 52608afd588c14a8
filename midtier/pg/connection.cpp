// Connecting, running statements and sending COPY data through libpq.
#include "midtier/pg/connection.h"

#include <libpq-fe.h>

#include <utility>

#include <fmt/format.h>

#include "midtier/pg/pg_error.h"
#include "midtier/pg/url.h"

namespace pg {

namespace {

void ignoreNotice(void*, const char*) {}

}  // namespace

Params& Params::add(std::nullptr_t) {
  values_.emplace_back(std::nullopt);
  return *this;
}
Params& Params::add(int64_t value) {
  values_.emplace_back(std::to_string(value));
  return *this;
}
Params& Params::add(double value) {
  values_.emplace_back(fmt::format("{}", value));  // shortest text that reads back as the same double
  return *this;
}
Params& Params::add(std::string_view value) {
  values_.emplace_back(std::string(value));
  return *this;
}

Connection Connection::open(const std::string& url) {
  const char* keys[] = {"dbname", "client_encoding", "application_name", "connect_timeout", nullptr};
  const char* values[] = {url.c_str(), "UTF8", "tavshoprpt", "10", nullptr};
  pg_conn* conn = PQconnectdbParams(keys, values, 1);
  if (conn == nullptr) throw Error("08001", "out of memory while connecting to the database server");
  if (PQstatus(conn) != CONNECTION_OK) {
    Error error("08001", fmt::format("cannot connect to {}: {}", redactedUrl(url), [&] {
                  std::string m = PQerrorMessage(conn);
                  while (!m.empty() && (m.back() == '\n' || m.back() == ' ')) m.pop_back();
                  return m;
                }()));
    PQfinish(conn);
    throw error;
  }
  PQsetNoticeProcessor(conn, ignoreNotice, nullptr);
  return Connection(conn, url, redactedUrl(url));
}

Connection::Connection(pg_conn* conn, std::string url, std::string name)
    : conn_(conn), url_(std::move(url)), name_(std::move(name)) {}

Connection::Connection(Connection&& other) noexcept
    : conn_(std::exchange(other.conn_, nullptr)), url_(std::move(other.url_)), name_(std::move(other.name_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
  if (this != &other) {
    if (conn_) PQfinish(conn_);
    conn_ = std::exchange(other.conn_, nullptr);
    url_ = std::move(other.url_);
    name_ = std::move(other.name_);
  }
  return *this;
}

Connection::~Connection() {
  if (conn_) PQfinish(conn_);
}

Result Connection::checked(pg_result* raw, std::string_view sql) {
  Result result(raw);
  const ExecStatusType status = raw ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY)
    throwResult(conn_, raw, sql);
  return result;
}

void Connection::exec(std::string_view sql) {
  const std::string text(sql);
  (void)checked(PQexec(conn_, text.c_str()), sql);
}

Result Connection::query(std::string_view sql, const Params& params) {
  const std::string text(sql);
  std::vector<const char*> values;
  values.reserve(params.values().size());
  for (const auto& v : params.values()) values.push_back(v ? v->c_str() : nullptr);
  return checked(PQexecParams(conn_, text.c_str(), params.size(), nullptr, values.data(), nullptr, nullptr, 0), sql);
}

int64_t Connection::queryInt(std::string_view sql, const Params& params) {
  const Result result = query(sql, params);
  if (result.rows() == 0 || result.columns() == 0) return 0;
  return result.getInt64(0, 0);
}

int64_t Connection::copyIn(std::string_view copySql, std::string_view data) {
  const std::string text(copySql);
  Result start(PQexec(conn_, text.c_str()));
  if (!start.handle() || PQresultStatus(start.handle()) != PGRES_COPY_IN) throwResult(conn_, start.handle(), copySql);
  constexpr std::size_t kChunk = 1 << 20;
  for (std::size_t at = 0; at < data.size(); at += kChunk) {
    const std::size_t n = std::min(kChunk, data.size() - at);
    if (PQputCopyData(conn_, data.data() + at, static_cast<int>(n)) != 1)
      throwConnection(conn_, fmt::format("sending rows to the database server failed ({})", copySql));
  }
  if (PQputCopyEnd(conn_, nullptr) != 1)
    throwConnection(conn_, fmt::format("sending rows to the database server failed ({})", copySql));
  pg_result* outcome = PQgetResult(conn_);
  // The COPY's own result is followed by a null one that ends the command.
  while (pg_result* extra = PQgetResult(conn_)) PQclear(extra);
  return checked(outcome, copySql).affected();
}

bool Connection::tableExists(std::string_view name) {
  return queryInt("SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = current_schema() AND tablename = lower($1)",
                  Params(name)) > 0;
}

bool Connection::broken() const { return conn_ == nullptr || PQstatus(conn_) == CONNECTION_BAD; }

bool Connection::inTransaction() const {
  const PGTransactionStatusType status = PQtransactionStatus(conn_);
  return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

Transaction::Transaction(Connection& connection) : connection_(connection) { connection_.exec("BEGIN"); }

Transaction::~Transaction() {
  if (!open_) return;
  try {
    connection_.exec("ROLLBACK");
  } catch (...) {
    // The server ends a transaction whose connection is lost by itself; nothing is kept.
  }
}

void Transaction::commit() {
  connection_.exec("COMMIT");
  open_ = false;
}

}  // namespace pg
