// What the command line's tests of missing, damaged, incomplete and locked databases cannot reach:
// a folder or a foreign SQLite file as the company database, login properties without the file or
// the user, and a lock met on a kept connection and on a new one.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "midtier/services/erp_services.h"
#include "midtier/services/grid_services.h"
#include "midtier/services/shop_data.h"
#include "service_test_support.h"

namespace {

using svctest::DatabaseCopy;
using svctest::ExpectError;

constexpr const char* kProfile = "TavEBSBase.SystemProfile";

plat::Variant profileOf(const std::string& props) {
  return midtier::SystemProfile().GetProfile(props, "GL", "PeriodCount");
}

TEST(MidtierDatabaseErrors, FoldersForeignFilesAndIncompleteLogins) {
  DatabaseCopy copy;
  const auto dir = std::filesystem::path(copy.path()).parent_path();
  ExpectError([&] { profileOf(midtier::makeProps(dir.string(), 1, "u")); }, kProfile, {"目录"});
  ExpectError([&] { profileOf("UserID=1;UserName=u;"); }, kProfile, {"DBFile"});
  ExpectError([&] { profileOf("DBFile={" + copy.path() + "};UserName=u;"); }, kProfile, {"UserID"});

  // A SQLite file of somebody else's is refused, not filled with the company tables.
  const std::string foreign = (dir / "foreign.db").string();
  db::Database::create(foreign).exec("CREATE TABLE notes (x)");
  ExpectError([&] { profileOf(midtier::makeProps(foreign, 1, "u")); }, kProfile, {"不是公司数据库"});
  EXPECT_FALSE(db::Database::open(foreign).tableExists("t_SystemProfile"));
  midtier::closeConnections();
  std::filesystem::remove(foreign);
}

TEST(MidtierDatabaseErrors, ALockedDatabaseFailsQuicklyAndWritesNothing) {
  DatabaseCopy copy;
  const std::string props = copy.login(support::kAdministrator, "BusyTimeout=50;");
  EXPECT_EQ(profileOf(props).text(), "12");  // a kept connection from before the lock
  auto writer = copy.open();
  {
    writer.exec("BEGIN IMMEDIATE");  // another writer: reading goes on, writing waits and fails
    lumo::Dictionary filter;
    filter.SetValue("BDate", "2024-01-01");
    EXPECT_EQ(profileOf(props).text(), "12");
    ExpectError([&] { midtier::SchemeStore().Save(400, "锁定", filter); }, "TAV_GRFC.SchemeStore", {"已锁定"});
    std::string id = "SysRptLog0043", text = "查询";
    int16_t type = 3;
    ExpectError([&] { midtier::GLData().WriteLog(id, type, text); }, "TavEBCGLView.GLData", {"已锁定"});
    writer.exec("COMMIT");
  }
  EXPECT_EQ(writer.queryInt("SELECT count(*) FROM t_RptFilterScheme"), 0);

  writer.exec("BEGIN EXCLUSIVE");  // nobody may even read, on a kept or on a new connection
  ExpectError([&] { profileOf(props); }, kProfile, {"已锁定"});
  midtier::closeConnections();
  ExpectError([&] { profileOf(props); }, kProfile, {"已锁定"});
  writer.exec("ROLLBACK");
  EXPECT_EQ(profileOf(props).text(), "12");
}

}  // namespace
