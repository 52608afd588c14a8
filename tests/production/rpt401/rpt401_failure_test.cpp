// Rpt401 and GetRpt401Data on bad input and a failing batch: levels the wrong way round, quotes,
// wildcards, and work tables that do not outlive a failure.
#include <gtest/gtest.h>

#include "production/common/production_harness.h"
#include "rpt401_support.h"

namespace {

using namespace rpt401_test;

class Rpt401Failure : public prodtest::ReportTest {};

TEST_F(Rpt401Failure, LevelsTheWrongWayRoundAreRefused) {
  Choice c;
  c.groupBy = 1, c.basis = 0, c.bLevel = "3", c.eLevel = "2";
  ReportRun r = runReport(c);
  EXPECT_FALSE(r.report->Ok());
  EXPECT_NE(r.report->ErrorText().find("类别级次"), std::string::npos) << r.report->ErrorText();
  EXPECT_EQ(r.fe->transcript().find("close frmProgBar"), std::string::npos) << r.fe->transcript();
  EXPECT_EQ(r.report->Header()->Count(), 0);
}

TEST_F(Rpt401Failure, QuotesAndControlCharactersStayValues) {
  Choice c;
  c.bItem = "01'", c.bEmp = "0\r\n1", c.batch = "'; DROP TABLE ICMO; --";
  ReportRun hostile = runReport(c);
  ASSERT_TRUE(hostile.report->Ok()) << hostile.report->ErrorText();
  EXPECT_EQ(hostile.report->Rs()->RecordCount(), 0);
  EXPECT_EQ(hostile.report->Filter()->Value("BItemNumber").text(), "01''");

  c = Choice{};
  c.batch = "%";  // a LIKE wildcard typed in the box matches only itself
  ReportRun wildcard = runReport(c);
  ASSERT_TRUE(wildcard.report->Ok()) << wildcard.report->ErrorText();
  EXPECT_EQ(wildcard.report->Rs()->RecordCount(), 0);

  c.batch = "P2507";  // contained text
  ReportRun contained = runReport(c);
  ASSERT_TRUE(contained.report->Ok()) << contained.report->ErrorText();
  const auto rows = rowsOf(*contained.report->Rs());
  ASSERT_GT(rows.size(), 1u);
  for (const Row& row : rows)
    if (row.sort() == 0) {
      EXPECT_NE(row.text("FBatchNo").find("P2507"), std::string::npos);
    }
  db::Database database = db::Database::open(support::demoDatabase());
  EXPECT_TRUE(database.tableExists("ICMO"));
}

TEST_F(Rpt401Failure, ABatchThatFailsLeavesNoWorkTables) {
  production::Rpt401 report;
  auto filter = lumo::newDictionary();
  filter->SetValue("BDate", "2025-07-01");
  filter->SetValue("EDate", "2025-12-31");
  filter->SetValue("bLongNumber", true);
  report.SetFilter(filter);
  lumo::DictionaryRef good = report.BuildFragments();
  lumo::DictionaryRef bad = good->clone();
  bad->SetValue("EndSel", "SELECT * FROM #NoSuchTable");

  midtier::ShopData service;
  EXPECT_THROW(service.GetRpt401Data(props, bad, filter), plat::Error);
  db::Database& database = *midtier::connect(props).sqlite();
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM sqlite_temp_master"), 0);
  ado::RecordsetRef rows = service.GetRpt401Data(props, good, filter);
  ASSERT_TRUE(rows);
  EXPECT_GT(rows->RecordCount(), 1);
  EXPECT_EQ(database.queryInt("SELECT count(*) FROM sqlite_temp_master"), 0);

  // Data-right clauses: the builder's form passes, anything else is refused before any work.
  filter->SetValue("DataRightWhere", " CharIndex('16394',t1.FRightUserID)>0 ");
  EXPECT_EQ(service.GetRpt401Data(props, good, filter)->RecordCount(), rows->RecordCount());
  filter->SetValue("DataRightWhere", " 1=1) OR (1=1 ");
  EXPECT_THROW(service.GetRpt401Data(props, good, filter), plat::Error);
}

}  // namespace
