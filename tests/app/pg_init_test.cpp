// `init --force` on a server replaces the company whole or not at all: a load that fails while
// building the new tables' indexes, or while moving them into the company's schema, leaves the
// old company as it was; a staging schema a dead load left is dropped by the next load.
#include <gtest/gtest.h>

#include <string>

#include "cli_support.h"
#include "support/pg_server.h"

namespace {

using apptest::runCli;

// An event trigger (in a schema of its own, which replacing the company leaves alone) that
// fails every DDL command of `tag` on an object whose identity matches `like`.
void injectFault(pg::Connection& c, const std::string& tag, const std::string& like) {
  c.exec("DROP EVENT TRIGGER IF EXISTS tav_fault; CREATE SCHEMA IF NOT EXISTS tav_fault");
  c.exec("CREATE OR REPLACE FUNCTION tav_fault.fail() RETURNS event_trigger LANGUAGE plpgsql AS $$ BEGIN "
         "IF EXISTS (SELECT 1 FROM pg_event_trigger_ddl_commands() WHERE object_identity LIKE '" + like + "') THEN "
         "RAISE EXCEPTION 'injected fault in %', tg_tag; END IF; END $$");
  c.exec("CREATE EVENT TRIGGER tav_fault ON ddl_command_end WHEN TAG IN ('" + tag +
         "') EXECUTE FUNCTION tav_fault.fail()");
}

TEST(PgInit, AFailedReplacementKeepsTheOldCompanyAndADeadLoadsSchemaGoes) {
  TAV_NEED_POSTGRES(server);
  support::ScratchDatabase company(server);
  const std::string db = " --db '" + company.url() + "'";
  ASSERT_EQ(runCli("init --tasks 300 --seed 3" + db).code, 0);
  const apptest::CliResult before = runCli("run 400 --format csv" + db);
  ASSERT_EQ(before.code, 0) << before.err;
  pg::Connection admin = pg::Connection::open(company.url());
  const auto loadSchemas = [&] {
    return admin.queryInt("SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'tav\\_load\\_%'");
  };

  // On a loading connection, after its rows went in; and on the command's own connection, with
  // the old tables dropped and some of the new ones moved in already.
  for (const auto& [tag, like] : {std::pair<std::string, std::string>{"CREATE INDEX", "tav\\_load\\_%"},
                                  std::pair<std::string, std::string>{"ALTER TABLE", "public.icmo"}}) {
    SCOPED_TRACE(tag);
    injectFault(admin, tag, like);
    const apptest::CliResult failed = runCli("init --force --tasks 500 --seed 4" + db);
    EXPECT_EQ(failed.code, 7) << failed.err;
    EXPECT_NE(failed.err.find("injected fault in " + tag), std::string::npos) << failed.err;
    const apptest::CliResult after = runCli("run 400 --format csv" + db);
    EXPECT_EQ(after.code, 0) << after.err;
    EXPECT_TRUE(after.out == before.out) << "the old company's rows changed";
    EXPECT_EQ(loadSchemas(), 0);
  }

  admin.exec("DROP EVENT TRIGGER tav_fault");
  // A process number no server process has: its load is dead.
  admin.exec("CREATE SCHEMA tav_load_0; CREATE TABLE tav_load_0.icmo (finterid integer)");
  const apptest::CliResult replaced = runCli("init --force --tasks 500 --seed 4" + db);
  EXPECT_EQ(replaced.code, 0) << replaced.err;
  EXPECT_EQ(loadSchemas(), 0);
  EXPECT_EQ(admin.queryInt("SELECT count(*) FROM ICMO"), 500);
}

}  // namespace
