// A missing, foreign, damaged, incomplete or locked company database gives every service a
// plat::Error that says so, and leaves nothing half-written.
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
constexpr const char* kShopData = "TavMShopRpt.Data";

plat::Variant profileOf(const std::string& props) {
  return midtier::SystemProfile().GetProfile(props, "GL", "PeriodCount");
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(MidtierDatabaseErrors, MissingForeignAndDamagedFiles) {
  DatabaseCopy copy;
  const auto dir = std::filesystem::path(copy.path()).parent_path();
  const std::string missing = (dir / "no-such.db").string();
  ExpectError([&] { profileOf(midtier::makeProps(missing, 1, "u")); }, kProfile, {"找不到公司数据库文件", missing});
  ExpectError([&] { profileOf(midtier::makeProps(dir.string(), 1, "u")); }, kProfile, {"目录"});
  ExpectError([&] { profileOf("UserID=1;UserName=u;"); }, kProfile, {"DBFile"});
  ExpectError([&] { profileOf("DBFile={" + copy.path() + "};UserName=u;"); }, kProfile, {"UserID"});

  const std::string garbage = (dir / "garbage.db").string();
  writeFile(garbage, std::string(8192, '\x5a'));
  ExpectError([&] { profileOf(midtier::makeProps(garbage, 1, "u")); }, kProfile, {"不是公司数据库", garbage});

  // A SQLite file of somebody else's is refused, not filled with the company tables.
  const std::string foreign = (dir / "foreign.db").string();
  db::Database::create(foreign).exec("CREATE TABLE notes (x)");
  ExpectError([&] { profileOf(midtier::makeProps(foreign, 1, "u")); }, kProfile, {"不是公司数据库"});
  EXPECT_FALSE(db::Database::open(foreign).tableExists("t_SystemProfile"));

  // Every page after the first overwritten: the schema reads, the tables do not.
  {
    std::fstream file(copy.path(), std::ios::binary | std::ios::in | std::ios::out);
    const auto size = std::filesystem::file_size(copy.path());
    file.seekp(4096);
    file << std::string(size - 4096, '\xff');
  }
  ExpectError([&] { profileOf(copy.props()); }, kProfile, {"已损坏"});
  midtier::closeConnections();
  std::filesystem::remove(garbage);
  std::filesystem::remove(foreign);
}

TEST(MidtierDatabaseErrors, MissingTablesAreNamed) {
  DatabaseCopy copy;
  copy.login();
  copy.open().exec("DROP TABLE t_ICItem; DROP TABLE t_SystemProfile; DROP TABLE t_Log; DROP TABLE t_RptFilterScheme");
  midtier::ShopData data;
  int32_t qty = 0, price = 0;
  ExpectError([&] { data.GetDecimal(copy.props(), plat::Variant("01.01.0001"), qty, price); }, kShopData,
              {"缺少数据表 t_ICItem"});
  ExpectError([&] { data.GetCurrencyScale(copy.props()); }, kShopData, {"缺少数据表 t_SystemProfile"});
  std::string id = "SysRptLog0043", text = "查询";
  int16_t type = 3;
  ExpectError([&] { midtier::GLData().WriteLog(id, type, text); }, "TavEBCGLView.GLData", {"缺少数据表 t_Log"});
  ExpectError([&] { midtier::SchemeStore().List(400); }, "TAV_GRFC.SchemeStore", {"缺少数据表 t_RptFilterScheme"});
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
