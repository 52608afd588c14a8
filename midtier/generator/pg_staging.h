// A schema of its own that a load fills on several connections of its own; its tables move into
// the company's schema at once, in the transaction of the connection the load was asked on.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "midtier/pg/connection.h"

namespace gen {

class Staging {
 public:
  // Opens `connections` more connections to `main`'s database, each with the new schema first
  // on its search path; drops the schemas of loads whose connection has gone (killed before
  // they were done); creates the schema with the case-insensitive collation. Throws pg::Error.
  Staging(pg::Connection& main, int connections);
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;
  // Unless moved in: rolls back what the connections hold open and drops the schema.
  ~Staging();

  [[nodiscard]] pg::Connection& connection(int index) { return connections_.at(static_cast<std::size_t>(index)); }

  // Moves `tables` and the collation into `main`'s current schema and drops the emptied
  // schema, inside `main`'s transaction. REQUIRES: the connections have committed.
  void moveInto(pg::Connection& main, const std::vector<std::string>& tables);

 private:
  std::vector<pg::Connection> connections_;
  std::string name_;
  bool moved_ = false;
};

}  // namespace gen
