// Reaching the company database from a connection-properties text such as
// "DBFile={/data/demo.db};UserID=16394;UserName=administrator;".
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>

#include "midtier/dbi/sqlite_session.h"
#include "midtier/db/database.h"
#include "midtier/db/statement.h"

namespace midtier {

// The key=value pairs of a connection-properties text; braces protect ";" inside a value.
// Keys are folded to lower case; a key that repeats keeps its last value.
std::map<std::string, std::string> parseProps(const std::string& props);

struct Login {
  std::string dbFile;
  int32_t userId = 0;
  std::string userName;
  // "BusyTimeout=<ms>": how long a statement waits for another connection's write lock;
  // the connection's default (5 s) when absent.
  std::optional<std::chrono::milliseconds> busyTimeout;
};
// Raises a plat::Error (source `source`) naming what is missing: "DBFile", a numeric "UserID".
Login loginOf(const std::string& props, std::string_view source = "TavMShopRpt.Data");

// Resets a kept statement when it goes out of scope, so that a read left half-stepped does
// not keep the database's shared lock; the bindings are cleared when it is handed out.
class KeptStatement {
 public:
  explicit KeptStatement(db::Statement& statement);
  KeptStatement(const KeptStatement&) = delete;
  KeptStatement& operator=(const KeptStatement&) = delete;
  ~KeptStatement();
  db::Statement* operator->() const { return statement_; }
  db::Statement& operator*() const { return *statement_; }

 private:
  db::Statement* statement_;
};

// One open company database with what the services keep between calls: prepared
// statements and caches. Services are created for one call, so whatever should outlive a
// call lives here. Used on the host's one thread only.
class Connection {
 public:
  Connection(db::Database database, std::string file);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  db::Database& database() { return database_; }
  // The same database through the interface every engine offers.
  dbi::Session& session() { return session_; }
  const std::string& file() const { return file_; }

  // A statement prepared on first use and kept for the life of the connection.
  // REQUIRES: the same text is not in use already further up the stack (the second use
  // would reset the first).
  KeptStatement statement(const std::string& sql);

  // A value that changes whenever the database changes as this connection sees it: at once
  // for its own writes, and for another connection's commit once this connection has read
  // the database after it (every service call that queries does) or at the latest a second
  // later. Cheap enough to ask once per report row.
  uint32_t changeStamp();

  // A cache of type T kept with the connection; it starts over (a new T) whenever the
  // change stamp moved since the cache was last handed out.
  template <class T>
  T& cache() {
    auto stamp = changeStamp();
    CacheSlot& slot = caches_[std::type_index(typeid(T))];
    if (!slot.value || slot.stamp != stamp) {
      slot.value = std::make_shared<T>();
      slot.stamp = stamp;
    }
    return *static_cast<T*>(slot.value.get());
  }

 private:
  struct CacheSlot {
    uint32_t stamp = 0;
    std::shared_ptr<void> value;
  };
  db::Database database_;
  dbi::SqliteSession session_{database_};
  std::string file_;
  // Declared after database_, so that the statements are finalized before it closes.
  std::map<std::string, std::unique_ptr<db::Statement>, std::less<>> statements_;
  std::map<std::type_index, CacheSlot> caches_;
  std::chrono::steady_clock::time_point lastLook_{};
};

// The connection for a login: opened on first use and kept per database file, with the
// login's busy timeout. Opening refuses a missing file, a file that is not a SQLite database
// and a database without the company schema, and brings an older company schema up to date.
// Every failure is a plat::Error (source `source`) described for the user (userError()).
Connection& connection(const Login& login, std::string_view source = "TavMShopRpt.Data");
// The database for a properties text (connection(loginOf(props)).database()).
db::Database& connect(const std::string& props);
// Closes every kept connection (tests that replace or corrupt a file; the host at exit).
// REQUIRES: no KeptStatement or Connection& from before the call is still in use.
void closeConnections();

// Builds the connection-properties text the host hands the component.
std::string makeProps(const std::string& dbFile, int32_t userId, const std::string& userName);

}  // namespace midtier
