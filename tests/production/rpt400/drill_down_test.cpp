// The summary report's drill-down into Rpt400 on the demo company: for detail rows of the
// summary, graded by department and split by batch or not, the detail report's total row
// equals the summary row.
#include <gtest/gtest.h>

#include "production/common/production_harness.h"
#include "production/rpt401/rpt401.h"

namespace {

class DrillDownTest : public prodtest::ReportTest {};

TEST_F(DrillDownTest, DetailTotalsEqualTheSummaryRow) {
  for (int16_t byProduct : {int16_t{0}, int16_t{1}}) {
    auto filter = lumo::newDictionary();
    filter->SetValue("BDate", "2026-01-01");
    filter->SetValue("EDate", "2026-06-30");
    for (const char* key : {"BEmp", "EEmp", "BDept", "EDept", "BItemNumber", "EItemNumber", "BBatchNo"})
      filter->SetValue(key, "");
    filter->SetValue("GroupBy", int16_t{1});
    filter->SetValue("SumMode", int32_t{2});
    auto field = lumo::newDictionary();
    field->SetValue("FSQLColumnName", "FDeptID");
    filter->SetValue("SumField", field);
    filter->SetValue("GroupByBatchNo", byProduct);
    filter->SetValue("OnlyShowSum", int16_t{0});
    filter->SetValue("CheckState", int16_t{2});
    filter->SetValue("CheckClose", int16_t{2});
    filter->SetValue("Mode", int16_t{0});
    production::Rpt401 summary;
    summary.SetFilter(filter);
    summary.GetReportData();
    ASSERT_TRUE(summary.Ok()) << summary.ErrorText();
    ado::Recordset& rows = *summary.Rs();
    int checked = 0;
    for (int32_t r = 0; r < rows.RecordCount() && checked < 12; r += 7) {
      if (rows.NumberAt(static_cast<size_t>(r), static_cast<size_t>(rows.FieldIndex("FSumSort"))) != 0) continue;
      SCOPED_TRACE("summary row " + std::to_string(r) + (byProduct ? " by product" : " by batch"));
      auto detail = std::dynamic_pointer_cast<frame::Report>(summary.GetDetailReport(r));
      ASSERT_TRUE(detail);
      ASSERT_TRUE(detail->Ok()) << detail->ErrorText();
      const ado::Recordset& rs = *detail->Rs();
      ASSERT_GT(rs.RecordCount(), 1);
      const size_t total = static_cast<size_t>(rs.RecordCount() - 1);
      const auto row = static_cast<size_t>(r);
      for (const auto& [mine, theirs] : {std::pair{"FBSPlanQty", "FBaseQty"}, std::pair{"FCUPlanQty", "FStockQty"},
                                         std::pair{"FBSFinishQty", "FFinishBQty"},
                                         std::pair{"FCUFinishQty", "FFinishSQty"}})
        EXPECT_NEAR(prodtest::Field(rs, total, mine), prodtest::Field(rows, row, theirs), 1e-6) << mine;
      ++checked;
    }
    EXPECT_GT(checked, 3);
  }
}

}  // namespace
