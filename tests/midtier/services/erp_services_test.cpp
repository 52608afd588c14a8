// The ERP client's services over the generated company database, as the component reaches
// them: through the broker by class name and through the frame's own helpers.
#include <unistd.h>

#include <gtest/gtest.h>

#include "frame/host/context.h"
#include "frame/host/settings.h"
#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "midtier/db/statement.h"
#include "midtier/services/erp_services.h"
#include "midtier/services/grid_services.h"
#include "midtier/services/register.h"
#include "midtier/services/shop_data.h"
#include "platform/core/date.h"
#include "platform/grfc/register.h"
#include "service_test_support.h"

namespace {

using svctest::DatabaseCopy;

TEST(MidtierLogin, SharedPropertiesRoundTripToTheComponent) {
  DatabaseCopy copy;
  midtier::registerServices(plat::broker());
  const std::string props = copy.props(16395) + "Extra={a;b};";
  midtier::setLoginProperties(props, "张明");

  // What the component reads through its own helpers; every report reads the rest.
  EXPECT_EQ(frame::PropsString(), props);
  frame::ParseProperties(frame::PropsString());
  EXPECT_EQ(frame::UserId(), 16395);
  auto share = plat::broker().CreateAs<svc::ShareProps>(svc::kShareProps);
  int32_t pid = static_cast<int32_t>(::getpid());
  std::string key = "NoSuchKey";
  EXPECT_TRUE(share->GetProperty(pid, key).isEmpty());
  int32_t otherProcess = pid + 1;
  key = "PropsString";
  EXPECT_TRUE(share->GetProperty(otherProcess, key).isEmpty());

  midtier::clearLoginProperties();
  EXPECT_TRUE(share->GetProperty(pid, key).isEmpty());
}

TEST(MidtierSystemProfile, AnswersEverySettingAndNullForAbsentOnes) {
  DatabaseCopy copy;
  copy.login();
  midtier::registerServices(plat::broker());
  auto profile = plat::broker().CreateAs<svc::SystemProfile>(svc::kSystemProfile);
  auto check = copy.open();
  auto rows = check.prepare("SELECT FCategory, FKey, FValue FROM t_SystemProfile");
  int settings = 0;
  while (rows.step()) {
    ++settings;
    EXPECT_EQ(profile->GetProfile(copy.props(), rows.getText(0), rows.getText(1)), plat::Variant(rows.getText(2)));
  }
  EXPECT_GE(settings, 5);
  EXPECT_TRUE(profile->GetProfile(copy.props(), "GL", "NoSuchSetting").isNull());

  // The frame's readers on top of it.
  EXPECT_EQ(frame::GetMaxPeriod(), check.queryInt("SELECT FValue FROM t_SystemProfile WHERE FKey = 'PeriodCount'"));
  EXPECT_EQ(frame::IsLongNumber(), check.queryInt("SELECT FValue FROM t_SystemProfile WHERE FKey = 'UseShortNumber'") == 0);
  check.exec("DELETE FROM t_SystemProfile WHERE FKey = 'UseShortNumber'");
  EXPECT_FALSE(frame::IsLongNumber());  // Null counts as short numbers
}

TEST(MidtierGLData, WriteLogRecordsTheLoginUserAndTime) {
  DatabaseCopy copy;
  copy.login(16396);
  auto gl = std::make_shared<midtier::GLData>();
  std::string id = "SysRptLog0043", text = "生产任务执行情况明细表查询";
  int16_t type = 3;
  gl->WriteLog(id, type, text);

  auto check = copy.open();
  // The time as "YYYY-MM-DD HH:MM:SS", today.
  auto row = check.prepare(
      "SELECT FTime GLOB date('now', 'localtime') || ' [0-2][0-9]:[0-5][0-9]:[0-5][0-9]', FUserID, FLogID, FType, FText"
      " FROM t_Log ORDER BY FID DESC LIMIT 1");
  ASSERT_TRUE(row.step());
  EXPECT_EQ(row.getText(0) + "|" + row.getText(1) + "|" + row.getText(2) + "|" + row.getText(3) + "|" + row.getText(4),
            "1|16396|SysRptLog0043|3|生产任务执行情况明细表查询");

  int16_t f = 1006, s = 3, r = 4;
  EXPECT_EQ(gl->AccessCheck(f, s, r), plat::Variant(true));
}

TEST(MidtierItemInfo, DataRightsFollowTheRightsTable) {
  DatabaseCopy copy;
  midtier::ItemInfo info;
  auto check = copy.open();
  auto rights = check.prepare("SELECT FUserID, FKind, FRestricted FROM t_DataRight");
  int restricted = 0;
  while (rights.step()) {
    std::string props = copy.props();
    int16_t user = static_cast<int16_t>(rights.getInt64(0));
    const bool expected = rights.getInt64(2) != 0;
    restricted += expected;
    EXPECT_EQ(info.GetDataRight(props, user, static_cast<int16_t>(rights.getInt64(1))), expected)
        << "user " << user << " kind " << rights.getInt64(1);
  }
  EXPECT_GT(restricted, 0);
  std::string props = copy.props();
  int16_t stranger = 999;
  EXPECT_FALSE(info.GetDataRight(props, stranger, 1));  // no row: not restricted
}

TEST(MidtierStockRptData, CurrentPeriodFromTheProfile) {
  DatabaseCopy copy;
  midtier::StockRptData stock;
  auto check = copy.open();
  auto period = stock.GetCurrenPeriodDate(copy.props());
  EXPECT_EQ(period->Value("CurrentYear"),
            plat::Variant(static_cast<int32_t>(check.queryInt("SELECT FValue FROM t_SystemProfile WHERE FKey = 'CurrentYear'"))));
  EXPECT_EQ(period->Value("CurrentPeriod"),
            plat::Variant(static_cast<int32_t>(check.queryInt("SELECT FValue FROM t_SystemProfile WHERE FKey = 'CurrentPeriod'"))));

  check.exec("DELETE FROM t_SystemProfile WHERE FKey = 'CurrentPeriod'");
  svctest::ExpectError([&] { stock.GetCurrenPeriodDate(copy.props()); }, "TavMStockRpt.Data", {"IC/CurrentPeriod"});
}

}  // namespace
