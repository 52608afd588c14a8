// RAII transaction: whatever is not committed is rolled back.
#pragma once

#include <string>

namespace db {

class Database;

// Begins a transaction on construction (a savepoint when one is already open, so
// transactions nest) and rolls it back on destruction unless commit() succeeded.
// A failed commit rolls back too, so a failure never leaves a half-written change.
class Transaction {
 public:
  enum class Kind { Deferred, Immediate };

  explicit Transaction(Database& database, Kind kind = Kind::Immediate);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  void commit();
  void rollback();
  [[nodiscard]] bool active() const { return active_; }

 private:
  Database& database_;
  std::string savepoint_;  // empty for an outermost transaction
  bool active_ = false;
};

}  // namespace db
