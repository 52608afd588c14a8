// The services on a server database: a connection the server drops fails the call it ends as
// damage, names the server without its password, and the next call connects again; a scheme
// written there is read back whole.
#include <gtest/gtest.h>

#include "midtier/db/database.h"
#include "midtier/dbi/pg_session.h"
#include "midtier/dbi/sqlite_session.h"
#include "midtier/generator/generator.h"
#include "midtier/pg/connection.h"
#include "midtier/services/connection.h"
#include "midtier/services/database_errors.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/grid_services.h"
#include "midtier/services/login.h"
#include "midtier/services/sql_forms.h"
#include "platform/core/error.h"
#include "support/pg_server.h"

namespace {

// A generated company on its own server database, logged in as the demo administrator.
class ServerCompany {
 public:
  explicit ServerCompany(const std::string& server) : scratch_(server) {
    pg::Connection connection = pg::Connection::open(scratch_.url());
    gen::Options options;
    options.tasks = 200;
    options.seed = 3;
    gen::generate(connection, options);
    props_ = midtier::makeProps(scratch_.url(), 16394, "administrator");
    midtier::setLoginProperties(props_, "administrator");
  }
  ~ServerCompany() {
    midtier::closeConnections();
    midtier::clearLoginProperties();
  }
  const std::string& props() const { return props_; }
  // Ends every other session on the database, as a server restart or an administrator does.
  void dropClients() {
    pg::Connection::open(scratch_.url())
        .exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() "
              "AND pid <> pg_backend_pid()");
  }

 private:
  support::ScratchDatabase scratch_;
  std::string props_;
};

TEST(PgServices, ADroppedConnectionFailsOneCallAsDamageAndTheNextConnectsAgain) {
  TAV_NEED_POSTGRES(server);
  ServerCompany company(server);
  midtier::SystemProfile profile;
  EXPECT_EQ(profile.GetProfile(company.props(), "IC", "CurrentYear").text(), "2026");

  company.dropClients();
  midtier::clearLastFailure();
  try {
    (void)profile.GetProfile(company.props(), "IC", "CurrentYear");
    ADD_FAILURE() << "the dropped connection went unnoticed";
  } catch (const plat::Error& e) {
    EXPECT_NE(e.description().find("无法连接服务器上的公司数据库"), std::string::npos) << e.description();
    ASSERT_TRUE(midtier::lastFailure());
    EXPECT_EQ(midtier::lastFailure()->kind, midtier::FailureKind::Damaged);
  }
  EXPECT_EQ(profile.GetProfile(company.props(), "IC", "CurrentPeriod").text(), "11");
}

TEST(PgServices, SchemesAreTheUsersOwnAndSavedOncePerNameWhateverItsCase) {
  TAV_NEED_POSTGRES(server);
  ServerCompany company(server);
  midtier::SchemeStore store;
  lumo::Dictionary filter;
  filter.SetValue("GroupBy", int32_t{1});
  filter.SetValue("BItemNumber", "01.02");
  store.Save(401, "方案", filter);
  filter.SetValue("GroupBy", int32_t{0});
  store.Save(401, "Plan", filter);
  store.Save(401, "PLAN", filter);  // the same scheme, renamed
  EXPECT_EQ(store.List(401), (std::vector<std::string>{"PLAN", "方案"}));
  lumo::DictionaryRef back = store.Load(401, "方案");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Value("GroupBy").toInt32(), 1);
  EXPECT_EQ(back->Value("BItemNumber").text(), "01.02");
  store.SetLastUsed(401, "plan");
  EXPECT_EQ(store.LastUsed(401), "PLAN");
  EXPECT_THROW(store.SetLastUsed(401, "nothing"), plat::Error);
  EXPECT_EQ(store.LastUsed(401), "PLAN");  // the failed change left the last one as it was
  store.Remove(401, "Plan");
  EXPECT_EQ(store.List(401), (std::vector<std::string>{"方案"}));
  EXPECT_TRUE(store.List(406).empty());
}

// The rates the reports print with two decimals: the server writes what SQLite's printf writes,
// also for a double just below a tie, an exact tie, a negative value that rounds to zero, and
// doubles beside a power of ten, where the leading digit's place is easily taken one off.
TEST(PgServices, TwoDecimalsReadTheSameAsSqlitePrintsThem) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase scratch(server);
  pg::Connection connection = pg::Connection::open(scratch.url());
  dbi::PgSession onServer(connection);
  db::Database database = db::Database::memory();
  dbi::SqliteSession onSqlite(database);
  auto fixed = [](dbi::Session& session, double value) {
    const std::string sql = "SELECT " + midtier::SqlForms(session.engine()).fixed2("CAST(?1 AS DOUBLE PRECISION) * 1.0");
    auto rows = session.query(sql, {value});
    return rows->next() ? std::string(rows->text(0)) : std::string("(none)");
  };
  for (double value : {100.0 * 29.0 / 160.0, 18.125, 18.124999999999996, 2.675, 1.005, -1e-14, -0.004, 0.0,
                       100.0, 33.333333333333336, -12.345, 0.995, 99.99999999999999, 999.9999999999999,
                       1000.0000000000001, 0.09999999999999999, 0.1, -9.999999999999998})
    EXPECT_EQ(fixed(onServer, value), fixed(onSqlite, value)) << value;
}

}  // namespace
