// Begin / commit / roll back, outermost transactions and nested savepoints alike.
#include "midtier/db/transaction.h"

#include <sqlite3.h>

#include <atomic>

#include <fmt/format.h>

#include "midtier/db/database.h"

namespace db {

namespace {

std::string nextSavepointName() {
  static std::atomic<unsigned> counter{0};
  return fmt::format("tav_sp{}", ++counter);
}

}  // namespace

Transaction::Transaction(Database& database, Kind kind) : database_(database) {
  if (database_.inTransaction()) {
    savepoint_ = nextSavepointName();
    database_.exec("SAVEPOINT " + savepoint_);
  } else {
    database_.exec(kind == Kind::Immediate ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
  }
  active_ = true;
}

Transaction::~Transaction() {
  if (!active_) return;
  try {
    rollback();
  } catch (...) {
    // A destructor must not throw; SQLite has rolled back on its own when this fails.
  }
}

void Transaction::commit() {
  if (!active_) return;
  try {
    database_.exec(savepoint_.empty() ? std::string("COMMIT") : "RELEASE " + savepoint_);
  } catch (...) {
    // COMMIT can fail with the transaction still open (e.g. "database is locked"):
    // undo it before reporting, rather than leave it for some later statement to finish.
    try {
      rollback();
    } catch (...) {
    }
    throw;
  }
  active_ = false;
}

void Transaction::rollback() {
  if (!active_) return;
  active_ = false;
  if (savepoint_.empty()) {
    // Some errors (disk full, I/O) end the transaction by themselves.
    if (database_.inTransaction()) database_.exec("ROLLBACK");
  } else {
    database_.exec(fmt::format("ROLLBACK TO {0}; RELEASE {0}", savepoint_));
  }
}

}  // namespace db
