// The rows of one statement read as the server sends them, so the client never holds them all.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "midtier/pg/connection.h"
#include "midtier/pg/result.h"

namespace pg {

// Runs one statement on `connection` and reads its rows forward, one at a time, each in a
// PGresult of its own (libpq's single-row mode): the rows wait in the socket, not in memory.
// The connection serves nothing else until the stream is gone; a stream let go before its end
// reads the rest and drops it, so the session stays usable. Columns are 0-based. Every
// failure, also one the server reports after some rows, throws pg::Error.
class RowStream {
 public:
  // Sends the statement and waits for its first row (or its end): a statement that fails at
  // once throws here.
  RowStream(Connection& connection, std::string_view sql, const Params& params = {});
  RowStream(const RowStream&) = delete;
  RowStream& operator=(const RowStream&) = delete;
  ~RowStream();

  [[nodiscard]] int columns() const { return columns_.columns(); }
  [[nodiscard]] std::string columnName(int column) const { return columns_.columnName(column); }
  [[nodiscard]] Kind kind(int column) const { return columns_.kind(column); }
  // Advances to the next row: false once there is none.
  bool next();
  // REQUIRES: next() returned true. Texts are valid until next().
  [[nodiscard]] bool isNull(int column) const { return row_.isNull(0, column); }
  [[nodiscard]] std::string_view text(int column) const { return row_.text(0, column); }
  [[nodiscard]] double getDouble(int column) const { return row_.getDouble(0, column); }

 private:
  // The server's next result: a row, or the statement's end (then `done_`).
  Result receive();
  void drain();

  Connection& connection_;
  std::string sql_;  // for messages
  Result columns_;   // the first result: the column descriptions
  Result row_;       // the current row
  Result waiting_;   // the first row, until next() takes it
  bool done_ = false;
};

}  // namespace pg
