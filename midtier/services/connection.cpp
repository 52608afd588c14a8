// The connection-properties text, and the company databases kept open per file.
#include "midtier/services/connection.h"

#include <filesystem>
#include <system_error>

#include "midtier/db/schema.h"
#include "midtier/dbi/pg_session.h"
#include "midtier/dbi/sqlite_session.h"
#include "midtier/dialect/target.h"
#include "midtier/pg/helper_functions.h"
#include "midtier/pg/pg_error.h"
#include "midtier/pg/schema.h"
#include "midtier/pg/url.h"
#include "midtier/services/database_errors.h"
#include "platform/core/error.h"
#include "platform/core/variant.h"
#include "platform/lumo/dictionary.h"

namespace midtier {
namespace {

constexpr std::chrono::milliseconds kDefaultBusyTimeout{5000};
constexpr std::chrono::seconds kLookInterval{1};

// The kept connections by canonical file name, and the file names as callers spell them:
// the report services ask once per row, so the usual lookup costs no system call.
struct Pool {
  std::map<std::string, std::unique_ptr<Connection>> byFile;
  std::map<std::string, Connection*, std::less<>> bySpelling;
};

Pool& pool() {
  static Pool connections;
  return connections;
}

// Two spellings of one file share a connection.
std::string canonicalName(const std::string& file) {
  if (pg::isServerUrl(file)) return file;
  std::error_code ec;
  auto canonical = std::filesystem::weakly_canonical(file, ec);
  return ec ? file : canonical.string();
}

// A database other than the one this program writes is refused rather than migrated:
// creating the company tables in somebody else's file would be worse than failing.
void checkSchema(db::Database& database, const std::string& file, std::string_view source) {
  const int version = db::schemaVersion(database);
  if (version == 0)
    throw plat::Error::database(std::string(source), "文件“" + file + "”不是公司数据库：其中没有公司数据库的表结构。");
  if (version > db::kSchemaVersion)
    throw plat::Error::database(std::string(source), "公司数据库“" + file + "”由更新版本的程序创建（结构版本 " +
                                                         std::to_string(version) + "，本程序支持到 " +
                                                         std::to_string(db::kSchemaVersion) + "），请使用新版本程序。");
  if (version >= db::kSchemaVersion) return;
  try {
    db::migrate(database);  // each step in its own transaction
  } catch (const db::Error& e) {
    // A version number that does not match the tables (set by hand, or a foreign file).
    throw plat::Error::database(std::string(source), "公司数据库“" + file + "”的结构版本 " + std::to_string(version) +
                                                         " 与其中的表不符，无法升级到版本 " +
                                                         std::to_string(db::kSchemaVersion) + "（详细信息：" +
                                                         e.description() + "）");
  }
}

std::unique_ptr<Connection> openFile(const Login& login, std::string_view source) {
  try {
    db::OpenOptions options;
    options.busyTimeout = login.busyTimeout.value_or(kDefaultBusyTimeout);
    auto connection = std::make_unique<Connection>(db::Database::open(login.dbFile, options), login.dbFile);
    checkSchema(*connection->sqlite(), login.dbFile, source);
    return connection;
  } catch (const db::Error& e) {
    throw userError(source, login.dbFile, e);
  }
}

// A server database is made whole by `tavshoprpt init`; one without the company schema, or
// with another version of it, is refused rather than changed.
std::unique_ptr<Connection> openServer(const Login& login, std::string_view source) {
  const std::string name = pg::redactedUrl(login.dbFile);
  try {
    auto connection = std::make_unique<Connection>(pg::Connection::open(login.dbFile), name);
    auto& server = static_cast<dbi::PgSession&>(connection->session()).connection();
    const int version = pg::schemaVersion(server);
    if (version == 0)
      throw plat::Error::database(std::string(source), "服务器数据库“" + name + "”不是公司数据库：其中没有公司数据库的表结构。");
    if (version != db::kSchemaVersion)
      throw plat::Error::database(std::string(source), "服务器数据库“" + name + "”的结构版本 " + std::to_string(version) +
                                                           " 与本程序（版本 " + std::to_string(db::kSchemaVersion) +
                                                           "）不符，请用 tavshoprpt init 重建或使用对应版本的程序。");
    pg::refreshFunctions(server, dialect::postgresFunctions());
    // A report's statements are planned and run once: compiling a million-row plan to machine
    // code takes seconds that the run never wins back.
    server.exec("SET jit = off");
    return connection;
  } catch (const pg::Error& e) {
    throw userError(source, name, e);
  }
}

std::unique_ptr<Connection> open(const Login& login, std::string_view source) {
  return pg::isServerUrl(login.dbFile) ? openServer(login, source) : openFile(login, source);
}

// Reads the rows of a kept statement and resets it when let go, so that a read left
// half-stepped does not keep the database's shared lock.
class KeptRows final : public dbi::Rows {
 public:
  explicit KeptRows(db::Statement& statement) : statement_(statement), rows_(statement) {}
  ~KeptRows() override { statement_.reset(); }
  int columnCount() const override { return rows_.columnCount(); }
  std::string columnName(int column) const override { return rows_.columnName(column); }
  dbi::ColumnKind declared(int column) const override { return rows_.declared(column); }
  bool next() override { return rows_.next(); }
  dbi::ValueKind kind(int column) const override { return rows_.kind(column); }
  double number(int column) const override { return rows_.number(column); }
  std::string_view text(int column) const override { return rows_.text(column); }

 private:
  db::Statement& statement_;
  dbi::StatementRows rows_;
};

}  // namespace

std::map<std::string, std::string> parseProps(const std::string& props) {
  std::map<std::string, std::string> out;
  size_t pos = 0;
  while (pos < props.size()) {
    const size_t eq = props.find('=', pos);
    if (eq == std::string::npos) break;
    const std::string key = lumo::foldCase(plat::trim(props.substr(pos, eq - pos)));
    size_t v = eq + 1;
    while (v < props.size() && props[v] == ' ') ++v;
    std::string value;
    if (v < props.size() && props[v] == '{') {
      const size_t close = props.find('}', v + 1);
      value = props.substr(v + 1, close == std::string::npos ? std::string::npos : close - v - 1);
      const size_t semi = close == std::string::npos ? std::string::npos : props.find(';', close);
      pos = semi == std::string::npos ? props.size() : semi + 1;
    } else {
      const size_t semi = props.find(';', v);
      value = props.substr(v, semi == std::string::npos ? std::string::npos : semi - v);
      pos = semi == std::string::npos ? props.size() : semi + 1;
    }
    if (!key.empty()) out[key] = plat::trim(value);
  }
  return out;
}

Login loginOf(const std::string& props, std::string_view source) {
  // The same text comes with every call of a report run.
  static std::string lastProps;
  static Login lastLogin;
  if (!lastProps.empty() && props == lastProps) return lastLogin;
  auto values = parseProps(props);
  Login login;
  login.dbFile = values["dbfile"];
  if (login.dbFile.empty())
    throw plat::Error::invalidCall(std::string(source),
                                   "连接属性中没有公司数据库文件（DBFile={...}），无法连接数据库。");
  const plat::Variant user(values["userid"]);
  if (!user.isNumeric())
    throw plat::Error::invalidCall(std::string(source), "连接属性中没有有效的用户号（UserID），无法确定登录用户。");
  login.userId = user.toInt32();
  login.userName = values["username"];
  if (auto it = values.find("busytimeout"); it != values.end()) {
    const plat::Variant ms(it->second);
    if (!ms.isNumeric() || ms.toDouble() < 0)
      throw plat::Error::invalidCall(std::string(source),
                                     "连接属性 BusyTimeout 应为毫秒数，而不是“" + it->second + "”。");
    login.busyTimeout = std::chrono::milliseconds(ms.toInt32());
  }
  lastProps = props;
  lastLogin = login;
  return login;
}

Connection::Connection(db::Database database, std::string file)
    : database_(std::move(database)),
      session_(std::make_unique<dbi::SqliteSession>(*database_)),
      forms_(dbi::Engine::SQLite),
      file_(std::move(file)) {}

Connection::Connection(pg::Connection server, std::string url)
    : server_(std::move(server)),
      session_(std::make_unique<dbi::PgSession>(*server_)),
      forms_(dbi::Engine::PostgreSQL),
      file_(std::move(url)) {}

Connection::~Connection() {
  // The statements go before the database they were prepared on.
  statements_.clear();
  session_.reset();
}

const dialect::Target& Connection::target() const {
  return engine() == dbi::Engine::PostgreSQL ? dialect::postgresTarget() : dialect::sqliteTarget();
}

std::unique_ptr<dbi::Rows> Connection::query(const std::string& sql, const dbi::Values& params) {
  if (!database_) return session_->query(sql, params);
  auto it = statements_.find(sql);
  if (it == statements_.end()) it = statements_.emplace(sql, std::make_unique<db::Statement>(*database_, sql)).first;
  db::Statement& statement = *it->second;
  statement.reset();
  statement.clearBindings();
  dbi::bindValues(statement, params);
  return std::make_unique<KeptRows>(statement);
}

int64_t Connection::run(const std::string& sql, const dbi::Values& params) {
  if (!database_) {
    ++serverStamp_;
    return session_->change(sql, params);
  }
  std::unique_ptr<dbi::Rows> rows = query(sql, params);
  while (rows->next()) {
  }
  return database_->changes();
}

uint32_t Connection::changeStamp() {
  // Reading the file header under a lock costs system calls, so it is done at most once a
  // second; the pager's own counter is free and moves with every change it has seen.
  const auto now = std::chrono::steady_clock::now();
  if (now - lastLook_ >= kLookInterval) {
    lastLook_ = now;
    if (!database_) return ++serverStamp_;
    std::unique_ptr<dbi::Rows> look = query("PRAGMA data_version");
    look->next();
  }
  return database_ ? database_->dataVersion() : serverStamp_;
}

Connection& connection(const Login& login, std::string_view source) {
  Pool& connections = pool();
  auto known = connections.bySpelling.find(login.dbFile);
  // A server connection that was lost (the server restarted, the session was ended) is opened
  // anew by the next call; the call that met the loss has failed already.
  if (known != connections.bySpelling.end() && known->second->lost()) {
    const Connection* gone = known->second;
    std::erase_if(connections.bySpelling, [&](const auto& entry) { return entry.second == gone; });
    std::erase_if(connections.byFile, [&](const auto& entry) { return entry.second.get() == gone; });
    known = connections.bySpelling.end();
  }
  if (known == connections.bySpelling.end()) {
    const std::string key = canonicalName(login.dbFile);
    auto it = connections.byFile.find(key);
    if (it == connections.byFile.end()) it = connections.byFile.emplace(key, open(login, source)).first;
    known = connections.bySpelling.emplace(login.dbFile, it->second.get()).first;
  }
  Connection& c = *known->second;
  if (db::Database* database = c.sqlite()) {
    try {
      database->setBusyTimeout(login.busyTimeout.value_or(kDefaultBusyTimeout));
    } catch (const db::Error& e) {
      throw userError(source, login.dbFile, e);
    }
  }
  return c;
}

Connection& connect(const std::string& props) { return connection(loginOf(props)); }

void closeConnections() {
  pool().bySpelling.clear();
  pool().byFile.clear();
}

std::string makeProps(const std::string& dbFile, int32_t userId, const std::string& userName) {
  return "DBFile={" + dbFile + "};UserID=" + std::to_string(userId) + ";UserName=" + userName + ";";
}

}  // namespace midtier
