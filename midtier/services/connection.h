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

#include "midtier/db/database.h"
#include "midtier/db/statement.h"
#include "midtier/dbi/session.h"
#include "midtier/dialect/target.h"
#include "midtier/pg/connection.h"
#include "midtier/services/sql_forms.h"

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

// One open company database with what the services keep between calls: prepared
// statements and caches. Services are created for one call, so whatever should outlive a
// call lives here. A file holds a SQLite database, a "postgresql://" URL names a server
// database; the services see either through session() and the statements here. Used by one
// thread at a time.
class Connection {
 public:
  Connection(db::Database database, std::string file);
  Connection(pg::Connection server, std::string url);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  [[nodiscard]] dbi::Engine engine() const { return session_->engine(); }
  // The same database through the interface every engine offers.
  dbi::Session& session() { return *session_; }
  // The dialect layer's description of the engine, and the forms its services' SQL takes.
  [[nodiscard]] const dialect::Target& target() const;
  [[nodiscard]] const SqlForms& forms() const { return forms_; }
  // The SQLite database, for tuning only SQLite has; nullptr on a server.
  db::Database* sqlite() { return database_ ? &*database_ : nullptr; }
  // The server connection was lost: the connection is of no further use.
  [[nodiscard]] bool lost() const { return server_ && server_->broken(); }
  // The file, or the server URL without its password: how messages name the database.
  const std::string& file() const { return file_; }

  // Runs one statement with parameters ?1, ?2, ...; its rows are read through the result,
  // which must be let go before the next statement. On SQLite the statement is prepared on
  // first use and kept for the life of the connection (per-row lookups ask many times).
  // REQUIRES: the same text is not being read already further up the stack.
  [[nodiscard]] std::unique_ptr<dbi::Rows> query(const std::string& sql, const dbi::Values& params = {});
  // The same for a statement that returns no rows: the number of rows it changed.
  int64_t run(const std::string& sql, const dbi::Values& params = {});

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
  std::optional<db::Database> database_;
  std::optional<pg::Connection> server_;
  std::unique_ptr<dbi::Session> session_;
  SqlForms forms_;
  std::string file_;
  // Declared after database_, so that the statements are finalized before it closes.
  std::map<std::string, std::unique_ptr<db::Statement>, std::less<>> statements_;
  std::map<std::type_index, CacheSlot> caches_;
  std::chrono::steady_clock::time_point lastLook_{};
  // On a server: moved by this connection's writes and once a second (another client's
  // commits cannot be seen more cheaply).
  uint32_t serverStamp_ = 0;
};

// The connection for a login: opened on first use and kept per database file or server URL,
// with the login's busy timeout (SQLite). Opening refuses a missing file, a file that is not a
// SQLite database, a server that cannot be reached and a database without the company schema,
// and brings an older company schema up to date (SQLite).
// Every failure is a plat::Error (source `source`) described for the user (userError()).
Connection& connection(const Login& login, std::string_view source = "TavMShopRpt.Data");
// The connection for a properties text (connection(loginOf(props))).
Connection& connect(const std::string& props);
// Closes every kept connection (tests that replace or corrupt a file; the host at exit).
// REQUIRES: no rows or Connection& from before the call is still in use.
void closeConnections();

// Builds the connection-properties text the host hands the component.
std::string makeProps(const std::string& dbFile, int32_t userId, const std::string& userName);

}  // namespace midtier
