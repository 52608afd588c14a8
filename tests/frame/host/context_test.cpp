#include "frame/host/context.h"

#include <gtest/gtest.h>

#include "frame/fake_services.h"
#include "frame/host/settings.h"

TEST(PropertiesParser, WorkedExampleAndEdges) {
  ASSERT_TRUE(frame::ParseProperties("UserID=12; DBName = {a;b} ;X=1"));
  const auto& p = frame::ParsedProperties();
  EXPECT_EQ(p.Count(), 3);
  EXPECT_EQ(frame::PropertyValue("userid"), "12");
  EXPECT_EQ(frame::PropertyValue("DBName"), "a;b");
  EXPECT_EQ(frame::PropertyValue("X"), "1");
  EXPECT_EQ(frame::UserId(), 12);

  frame::ParseProperties("  lonely  ");  // no "=": one key, empty value
  EXPECT_EQ(frame::ParsedProperties().Count(), 1);
  EXPECT_EQ(frame::PropertyValue("lonely"), "");

  frame::ParseProperties("A=1;B=2;");  // a closing ";" stops cleanly
  EXPECT_EQ(frame::ParsedProperties().Count(), 2);

  frame::ParseProperties("A=1;DB={c:\\data;x}");  // braces at the very end, no ";"
  EXPECT_EQ(frame::PropertyValue("DB"), "c:\\data;x");

  EXPECT_THROW(frame::ParseProperties("A=1;a=2;"), plat::Error);  // a repeated key
  frame::ParseProperties("UserID=abc;");
  EXPECT_THROW(frame::UserId(), plat::Error);  // never 0 for a non-number
  frame::ParseProperties("X=1;");
  EXPECT_THROW(frame::UserId(), plat::Error);
  EXPECT_THROW(frame::PropertyValue("Nope"), plat::Error);
  EXPECT_EQ(frame::Msg(""), "");
}

TEST(HostContext, SharedPropertiesAndProfileSettings) {
  fakes::install("UserID=7;UserName=li;");
  EXPECT_EQ(frame::PropsString(), "UserID=7;UserName=li;");
  EXPECT_EQ(frame::UserName(), "tester");
  EXPECT_EQ(frame::GetMaxPeriod(), 12);
  EXPECT_TRUE(frame::IsLongNumber());
  fakes::Profile::fail = true;  // unreadable profile: no periods, long numbers
  EXPECT_EQ(frame::GetMaxPeriod(), 0);
  EXPECT_TRUE(frame::IsLongNumber());
  frame::WriteLog("SysRptLog0043", 3, "x");  // no log service registered: still no failure
  plat::broker().Unregister(svc::kShareProps);
  EXPECT_THROW(frame::PropsString(), plat::Error);
}
