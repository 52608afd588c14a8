// Composes the descriptions of PostgreSQL failures.
#include "midtier/pg/pg_error.h"

#include <libpq-fe.h>

#include <fmt/format.h>

#include "midtier/db/sqlite_error.h"

namespace pg {

namespace {

constexpr std::string_view kConnectionFailure = "08006";

std::string trimmed(const char* text) {
  std::string s = text ? text : "";
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

Error::Error(std::string sqlState, std::string description)
    : plat::Error(plat::Error::database("PostgreSQL", std::move(description))), sqlState_(std::move(sqlState)) {}

bool Error::connectionLost() const {
  // Class 08 is a connection exception; 57P01-57P03 are the server shutting down or starting.
  return sqlState_.starts_with("08") || sqlState_ == "57P01" || sqlState_ == "57P02" || sqlState_ == "57P03";
}

void throwResult(pg_conn* conn, const pg_result* result, std::string_view sql) {
  const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  if (result == nullptr || (state == nullptr && PQstatus(conn) == CONNECTION_BAD)) {
    const std::string statement = sql.empty() ? "" : fmt::format(" ({})", db::abbreviateSql(sql));
    throw Error(std::string(kConnectionFailure),
                fmt::format("the connection to the database server was lost: {}{}", trimmed(PQerrorMessage(conn)), statement));
  }
  std::string text = trimmed(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY));
  if (text.empty()) text = trimmed(PQresultErrorMessage(result));
  if (text.empty()) text = fmt::format("unexpected result {}", PQresStatus(PQresultStatus(result)));
  for (const int field : {PG_DIAG_MESSAGE_DETAIL, PG_DIAG_MESSAGE_HINT}) {
    const std::string extra = trimmed(PQresultErrorField(result, field));
    if (!extra.empty()) text += "; " + extra;
  }
  if (!sql.empty()) text += fmt::format(" ({})", db::abbreviateSql(sql));
  throw Error(state ? state : "", std::move(text));
}

void throwConnection(pg_conn* conn, std::string_view what) {
  throw Error(std::string(kConnectionFailure), fmt::format("{}: {}", what, trimmed(PQerrorMessage(conn))));
}

}  // namespace pg
