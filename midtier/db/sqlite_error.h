// SQLite failures turned into plat::Error with a description a user can act on.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/error.h"

struct sqlite3;

namespace db {

// A plat::Error that also keeps SQLite's extended result code, so callers can tell
// "database is locked" from "no such table" without parsing the text.
class Error : public plat::Error {
 public:
  Error(int sqliteCode, std::string description);

  int sqliteCode() const { return code_; }             // extended result code
  int primaryCode() const { return code_ & 0xff; }     // SQLITE_BUSY, SQLITE_NOTADB, ...

 private:
  int code_;
};

// Throws db::Error for result code `rc` on connection `handle` (may be null).
// `where` names what failed: the file, the statement, or both.
[[noreturn]] void throwSqlite(sqlite3* handle, int rc, std::string_view where);

// Shortens a statement to a readable length for error texts.
std::string abbreviateSql(std::string_view sql);

}  // namespace db
