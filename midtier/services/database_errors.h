// Database failures as the user reads them: the reports show a service's error description
// in "Error", so it says what is wrong with the company database in plain words, followed
// by SQLite's own detail for whoever has to fix it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "midtier/db/sqlite_error.h"
#include "midtier/pg/pg_error.h"
#include "midtier/services/connection.h"
#include "platform/core/error.h"

namespace midtier {

// The plat::Error (source `source`) describing `error`, met on the database file `file`: a
// missing file, a file that is not a database or is damaged, a missing table or column, a
// database locked by another writer, a read-only file, a full disk.
plat::Error userError(std::string_view source, const std::string& file, const db::Error& error);
// The same for a failure of the server database `name` (its URL without the password): one that
// cannot be reached or went away, a missing table or column, a read-only database or role, a
// row locked by another client.
plat::Error userError(std::string_view source, const std::string& name, const pg::Error& error);

// What a database failure means for whoever ran the work: the database is damaged or incomplete
// (a damaged page, a missing table or column, not a database at all), it cannot take changes now
// (locked, read-only, disk full, a failed write), or something else.
enum class FailureKind { Damaged, Unwritable, Other };

struct DatabaseFailure {
  int number = 0;         // SQLite's extended result code, or the server error's number
  FailureKind kind = FailureKind::Other;
  std::string description;  // userError()'s description
};

// The failure userError() described last in this process, for a host that chooses its exit code
// by it; clearLastFailure() forgets it.
std::optional<DatabaseFailure> lastFailure();
void clearLastFailure();

// A refusal by the service itself (an unknown query, a missing setting), numbered as an
// invalid call.
plat::Error refusal(std::string_view source, std::string description);

// Runs `work(connection, login)` on the database named by the connection-properties text,
// turning every database failure, on opening or while working, into userError(). Writes
// belong in a dbi::Transaction inside `work`, so that a failure leaves nothing half-written.
template <class Work>
decltype(auto) withConnection(std::string_view source, const std::string& props, Work&& work) {
  const Login login = loginOf(props, source);
  Connection& c = connection(login, source);
  try {
    return std::forward<Work>(work)(c, login);
  } catch (const db::Error& e) {
    throw userError(source, c.file(), e);
  } catch (const pg::Error& e) {
    throw userError(source, c.file(), e);
  }
}

}  // namespace midtier
