// Reading a statement's rows in single-row mode.
#include "midtier/pg/row_stream.h"

#include <libpq-fe.h>

#include <vector>

#include "midtier/pg/pg_error.h"

namespace pg {

RowStream::RowStream(Connection& connection, std::string_view sql, const Params& params)
    : connection_(connection), sql_(sql) {
  pg_conn* conn = connection_.handle();
  std::vector<const char*> values;
  values.reserve(params.values().size());
  for (const auto& v : params.values()) values.push_back(v ? v->c_str() : nullptr);
  if (PQsendQueryParams(conn, sql_.c_str(), params.size(), nullptr, values.data(), nullptr, nullptr, 0) != 1)
    throwResult(conn, nullptr, sql_);
  // Without single-row mode the whole result would gather in one PGresult.
  PQsetSingleRowMode(conn);
  waiting_ = receive();
  // A row's PGresult carries the column descriptions as the final one does; keep a copy that
  // outlives the rows.
  columns_ = Result(PQcopyResult(waiting_.handle(), PG_COPYRES_ATTRS));
  if (done_) waiting_ = Result();
}

RowStream::~RowStream() { drain(); }

Result RowStream::receive() {
  pg_conn* conn = connection_.handle();
  Result result(PQgetResult(conn));
  switch (result.handle() ? PQresultStatus(result.handle()) : PGRES_FATAL_ERROR) {
    case PGRES_SINGLE_TUPLE:
      return result;
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
    case PGRES_EMPTY_QUERY:
      done_ = true;
      drain();
      return result;
    default:
      done_ = true;
      drain();
      throwResult(conn, result.handle(), sql_);
  }
}

bool RowStream::next() {
  if (waiting_.handle()) {
    row_ = std::move(waiting_);
    return true;
  }
  if (done_) {
    row_ = Result();
    return false;
  }
  row_ = receive();
  return !done_;
}

void RowStream::drain() {
  done_ = true;
  pg_conn* conn = connection_.handle();
  if (conn == nullptr) return;
  // The null result ends the statement; a lost connection gives it at once.
  while (pg_result* rest = PQgetResult(conn)) PQclear(rest);
}

}  // namespace pg
