// PostgreSQL failures as plat::Error, keeping the server's SQLSTATE code.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/error.h"

struct pg_conn;
struct pg_result;

namespace pg {

// Numbered as every database failure (plat::Error::database), source "PostgreSQL"; the
// SQLSTATE ("23505", "08006", ...) tells kinds apart without parsing the text.
class Error : public plat::Error {
 public:
  Error(std::string sqlState, std::string description);

  const std::string& sqlState() const { return sqlState_; }
  // The server went away or could not be reached: the connection is of no further use.
  bool connectionLost() const;

 private:
  std::string sqlState_;
};

// Throws for a failed statement: the server's message, its detail and hint when it has
// them, and the statement (shortened). A result of null means the connection failed.
[[noreturn]] void throwResult(pg_conn* conn, const pg_result* result, std::string_view sql);
// Throws for a failure of the connection itself (connect, send, COPY), with `what` in front.
[[noreturn]] void throwConnection(pg_conn* conn, std::string_view what);

}  // namespace pg
