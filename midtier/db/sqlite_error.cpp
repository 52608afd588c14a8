// Composes the descriptions of SQLite failures.
#include "midtier/db/sqlite_error.h"

#include <sqlite3.h>

#include <fmt/format.h>

namespace db {

Error::Error(int sqliteCode, std::string description)
    : plat::Error(plat::Error::database("SQLite", std::move(description))), code_(sqliteCode) {}

std::string abbreviateSql(std::string_view sql) {
  constexpr std::size_t kMax = 240;
  std::string text;
  text.reserve(std::min(sql.size(), kMax + 3));
  bool space = false;
  for (char c : sql) {  // collapse the layout of multi-line statements into one line
    if (c == '\n' || c == '\r' || c == '\t' || c == ' ') {
      space = !text.empty();
      continue;
    }
    if (space) text += ' ';
    space = false;
    text += c;
    if (text.size() >= kMax) {
      text += "...";
      break;
    }
  }
  return text;
}

void throwSqlite(sqlite3* handle, int rc, std::string_view where) {
  // The connection's message is more specific ("no such table: t_X") than the code's.
  const bool fromHandle = handle != nullptr && (sqlite3_errcode(handle) & 0xff) == (rc & 0xff);
  const std::string_view message = fromHandle ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
  const int code = fromHandle ? sqlite3_extended_errcode(handle) : rc;
  const bool busy = (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
  const std::string_view hint = busy ? "; another connection is writing to it, try again when it has finished" : "";
  if (where.empty()) throw Error(code, fmt::format("{}{}", message, hint));
  throw Error(code, fmt::format("{} ({}{})", message, where, hint));
}

}  // namespace db
