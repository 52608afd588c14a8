// Rpt499 on the demo company: what it tells the host, its rows against the cost table, the period
// walk and the drill-down into Rpt498. The class-level roll-up's rows are compared exactly with an
// independent computation in report_batches_test; a failing period, per-row decimals and the
// carry-over of work in progress are checked once, in rpt498_test and invariants_test.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "cost/filter/period_filter_dialog.h"
#include "cost/cost_support.h"
#include "platform/forms/controls.h"
#include "platform/grfc/report_filter.h"
#include "support/caption_format.h"
#include "support/dictionary_text.h"

namespace {

using namespace costtest;

class Rpt499Test : public CostTest {};

constexpr const char* kAmounts[] = {"FPeriodStartNum", "FPeriodStartCost", "FCurInNum",     "FCurInCost",
                                    "FCurOutNum",      "FCurOutCost",      "FPeriodEndNum", "FPeriodEndCost"};

struct Totals {
  long rows = 0;
  std::map<std::string, double> sums;
};

// The cost table's rows and sums of one period, straight from the database.
Totals costTable(db::Database& database, int year, int period) {
  auto q = database.prepare(
      "SELECT count(*), sum(FPeriodStartNum), sum(FPeriodStartCost), sum(FCurInNum), sum(FCurInCost), "
      "sum(FCurOutNum), sum(FCurOutCost), sum(FPeriodEndNum), sum(FPeriodEndCost) "
      "FROM cb_ProductPeriodCost WHERE FYear = ?1 AND FPeriod = ?2");
  q.bindAll(year, period);
  EXPECT_TRUE(q.step());
  Totals t;
  t.rows = q.getInt64(0);
  for (int i = 0; i < 8; ++i) t.sums[kAmounts[i]] = q.isNull(i + 1) ? 0 : q.getDouble(i + 1);
  return t;
}

TEST_F(Rpt499Test, TellsTheHostWhatItIs) {
  auto report = create<cost::Rpt499>(cost::kRpt499Class);
  EXPECT_EQ(support::dictionaryText(*report->Property()),
            "Name=\"产品成本综合表\"; FrozenColumn=5%; RptProperty=2%; DetailRptID=498%; "
            "mnuInfo=[{ToolName=\"iViewBillUp\"; Hiden=True}, {ToolName=\"iViewBillDown\"; Hiden=True}]");
  report->SetExtFirter("777");
  EXPECT_EQ(report->Property()->Value("Name").text(), "产品成本综合表");
  EXPECT_EQ(report->Result()->Value("OK"), plat::Variant(false));
}

// The dialog is scripted as a user fills it: levels 2 to 3 of the product classes.
TEST_F(Rpt499Test, ClassLevelHeaderAndTitleThroughTheDialog) {
  frontEnd->onShow("frmFilter499", [](forms::Form& f) {
    const char* values[] = {"2026", "3", "2026", "3"};
    for (int i = 0; i < 4; ++i) f.get<forms::TextBox>("txtPeriod", i).SetText(values[i]);
    f.get<forms::TextBox>("txtItem", 0).SetText("01");
    f.get<forms::TextBox>("txtItem", 1).SetText("02.99");
    f.get<forms::CheckBox>("chkGroupBy").SetValue(1);
    f.get<forms::TextBox>("txtlevel", 0).SetText("2");
    f.get<forms::TextBox>("txtlevel", 1).SetText("3");
    grfc::ReportFilter::of(f).Ok();
  });
  auto report = create<cost::Rpt499>(cost::kRpt499Class);
  report->ShowFilter();
  ASSERT_TRUE(report->Ok());
  EXPECT_EQ(report->Parts().from, " FROM #T499 v1\r\n");
  report->GetReportData();
  ASSERT_TRUE(report->Ok()) << report->ErrorText();
  EXPECT_EQ(frontEnd->transcript(), "show frmFilter499 \"产品成本综合表\"\nshow frmProgBar \"\"\n");

  const std::vector<support::Column> expected = {
      {"期间$", "", "1", "FCurPeriod"},       {"2级产品类别$", "", "1", "FName2"},
      {"3级产品类别$", "", "1", "FName3"},    {"产品代码$", "", "1", "FNumber"},
      {"名称$", "", "1", "FName"},            {"规格型号$", "", "1", "FModel"},
      {"生产批号$", "", "1", "FBatchNo"},     {"单位$", "", "1", "FUnit"},
      {"期初在产品+|", "数量", "2", "FPeriodStartNum"}, {"", "金额", "6", "FPeriodStartCost"},
      {"本期投入+|", "数量", "2", "FCurInNum"},       {"", "金额", "6", "FCurInCost"},
      {"本期产出+|+|", "数量", "2", "FCurOutNum"},    {"", "成本价", "4", "FCurOutPrice"},
      {"", "金额", "6", "FCurOutCost"},             {"期末在产品+|+|", "数量", "2", "FPeriodEndNum"},
      {"", "成本价", "4", "FPeriodEndPrice"},       {"", "金额", "6", "FPeriodEndCost"},
  };
  EXPECT_EQ(support::columnRows(*report->Header()), support::columnRows(expected));
  support::ExpectCaptionFormat(*report->Header());
  for (const auto& item : *report->Header()) {
    auto column = item.as<lumo::Dictionary>();
    EXPECT_EQ(column->Value("FVisible"), plat::Variant(int16_t{1}));
    EXPECT_FALSE(column->Lookup("FMergerType"));
  }

  EXPECT_EQ(support::titleLines(*report->Title()),
            (std::vector<std::string>{"0 起始期间：2026年 第3期", "1 截止期间：2026年 第3期", "2 产品代码范围：01  --  02.99",
                                      "4 汇总依据：2--3产品类别", "5 <none>", "7 "}));
  // Fields of its own layout, level fields last.
  const ado::Recordset& rs = *report->Rs();
  ASSERT_EQ(rs.FieldCount(), 21);
  EXPECT_EQ(rs.FieldAt(19).name, "FName2");
  EXPECT_EQ(rs.FieldAt(20).name, "FName3");
  EXPECT_EQ(rs.FieldAt(8).numericScale, 2);   // FCurInCost: the currency scale
  EXPECT_EQ(rs.FieldAt(5).numericScale, 10);  // FPeriodStartNum
  EXPECT_EQ(rs.FieldAt(17).type, ado::adInteger);
}

TEST_F(Rpt499Test, TitleOfOtherSummaryBases) {
  auto filter = summaryFilter(2026, 1, 2026, 2, 1, 0, 1, 2);
  filter->SetValue("SumMode", int32_t{2});
  auto report = runWith<cost::Rpt499>(cost::kRpt499Class, filter);
  auto line = report->Title()->Item(4).as<lumo::Dictionary>();
  EXPECT_EQ(line->Value("FCaption").text(), "汇总依据：1--2部门");
  // Cost rows carry no department: the service refuses, the run fails with its reason.
  EXPECT_FALSE(report->Ok());
  EXPECT_NE(report->ErrorText().find("物料类别"), std::string::npos) << report->ErrorText();
  EXPECT_EQ(report->Rs(), nullptr);

  filter = periodFilter(2026, 1, 2026, 1);
  auto plain = runWith<cost::Rpt499>(cost::kRpt499Class, filter);
  EXPECT_EQ(plain->Title()->Count(), 5);
  EXPECT_EQ(plain->Title()->Item(3).as<lumo::Dictionary>()->Value("FCaption").text(), "产品代码范围：所有产品");
}

// Across a year end, per product and batch: the cost table's rows, one total per period.
TEST_F(Rpt499Test, PlainRowsMatchTheCostTable) {
  auto report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2025, 11, 2026, 2, 0, 0));
  ASSERT_TRUE(report->Ok()) << report->ErrorText();
  EXPECT_EQ(RecordingShopData::calls, (std::vector<std::pair<int, int>>{{2025, 11}, {2025, 12}, {2026, 1}, {2026, 2}}));
  ado::Recordset& rs = *report->Rs();

  std::map<std::string, Totals> byPeriod;
  std::vector<std::string> order;
  for (long r = 0; r < rs.RecordCount(); ++r) {
    const std::string period = textOf(rs, r, "FCurPeriod");
    if (order.empty() || order.back() != period) order.push_back(period);
    if (textOf(rs, r, "FSumSort") == "101") {
      EXPECT_EQ(textOf(rs, r, "FNumber"), "合计");
      EXPECT_EQ(numberOf(rs, r, "FQtyDecimal"), 4);
      Totals& t = byPeriod[period];
      for (const char* field : kAmounts) EXPECT_NEAR(numberOf(rs, r, field), t.sums[field], 0.01) << period << field;
      EXPECT_TRUE(r + 1 == rs.RecordCount() || textOf(rs, r + 1, "FCurPeriod") != period) << "total ends the period";
      continue;
    }
    ASSERT_EQ(textOf(rs, r, "FSumSort"), "0");
    Totals& t = byPeriod[period];
    ++t.rows;
    for (const char* field : kAmounts) t.sums[field] += numberOf(rs, r, field);
    if (numberOf(rs, r, "FCurOutNum") != 0) {
      EXPECT_NEAR(numberOf(rs, r, "FCurOutPrice"), numberOf(rs, r, "FCurOutCost") / numberOf(rs, r, "FCurOutNum"), 1e-6);
    }
    EXPECT_FALSE(textOf(rs, r, "FName").empty());
    EXPECT_FALSE(textOf(rs, r, "FUnit").empty());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"2025.11", "2025.12", "2026.1", "2026.2"}));
  for (const auto& [year, period] : RecordingShopData::calls) {
    Totals expected = costTable(database(), year, period);
    Totals& got = byPeriod[label(year, period)];
    EXPECT_GT(expected.rows, 0);
    EXPECT_EQ(got.rows, expected.rows) << label(year, period);
    for (const char* field : kAmounts) EXPECT_NEAR(got.sums[field], expected.sums[field], 0.01) << field;
  }
}

// The class names a run shows follow the data: what a previous run read is not shown again after
// a class was renamed.
TEST_F(Rpt499Test, ClassNamesFollowARenameBetweenRuns) {
  const auto firstClass = [&] {
    auto report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 2, 2026, 3, 1, 1, 1, 1));
    EXPECT_TRUE(report->Ok()) << report->ErrorText();
    ado::Recordset& rs = *report->Rs();
    for (long r = 0; r < rs.RecordCount(); ++r)
      if (textOf(rs, r, "FSumSort") == "0") return textOf(rs, r, "FName1");
    return std::string();
  };
  const std::string before = firstClass();
  ASSERT_FALSE(before.empty());
  const auto rename = [&](const std::string& from, const std::string& to) {
    auto update = database().prepare("UPDATE t_Item SET FName = ?2 WHERE FItemClassID = 4 AND FDetail = 0 AND FName = ?1");
    update.bindAll(from, to);
    update.run();
  };
  rename(before, before + "改");
  const std::string after = firstClass();
  rename(before + "改", before);
  EXPECT_EQ(after, before + "改");
}

TEST_F(Rpt499Test, OnlySumsKeepsOneTotalPerPeriod) {
  auto report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 1, 2026, 3, 0, 0, 1, 3, 1));
  ASSERT_TRUE(report->Ok()) << report->ErrorText();
  ado::Recordset& rs = *report->Rs();
  ASSERT_EQ(rs.RecordCount(), 3);
  for (long r = 0; r < 3; ++r) {
    EXPECT_EQ(textOf(rs, r, "FNumber"), "合计");
    EXPECT_EQ(textOf(rs, r, "FCurPeriod"), label(2026, static_cast<int>(r) + 1));
  }
}

TEST_F(Rpt499Test, EmptyPeriodGivesNoRows) {
  auto report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 12, 2026, 12, 1, 0, 1, 2));
  EXPECT_TRUE(report->Ok()) << report->ErrorText();
  ASSERT_NE(report->Rs(), nullptr);
  EXPECT_EQ(report->Rs()->RecordCount(), 0);
}

// #T499, #Data and #ItemLevel live for one call on the kept connection, also when the batch fails
// (a first level after the last one gives an UPDATE without assignments).
TEST_F(Rpt499Test, TemporaryTablesDoNotOutliveACall) {
  auto tempTables = [this] { return midtier::connect(props).sqlite()->queryInt("SELECT count(*) FROM temp.sqlite_master"); };
  auto report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 3, 2026, 4, 1, 0, 1, 2));
  ASSERT_TRUE(report->Ok()) << report->ErrorText();
  EXPECT_EQ(tempTables(), 0);
  report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 3, 2026, 4, 1, 0, 3, 2));
  EXPECT_FALSE(report->Ok());
  EXPECT_EQ(report->Rs(), nullptr);
  EXPECT_EQ(tempTables(), 0);
  report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 3, 2026, 3, 0, 0));
  EXPECT_TRUE(report->Ok()) << report->ErrorText();
  EXPECT_EQ(tempTables(), 0);
}

// A single period, so that the detail report's totals are those of the row.
TEST_F(Rpt499Test, DrillDownGivesTheRowsDetailReport) {
  for (int merged : {0, 1}) {
    auto report = runWith<cost::Rpt499>(cost::kRpt499Class, summaryFilter(2026, 3, 2026, 3, 0, merged));
    ASSERT_TRUE(report->Ok()) << report->ErrorText();
    ado::Recordset& rs = *report->Rs();
    long row = -1;
    for (long r = 0; r < rs.RecordCount() && row < 0; ++r)
      if (numberOf(rs, r, "FCurOutNum") > 0 && textOf(rs, r, "FSumSort") == "0") row = r;
    ASSERT_GE(row, 0);
    const std::string number = textOf(rs, row, "FNumber"), batch = textOf(rs, row, "FBatchNo");
    const double outNum = numberOf(rs, row, "FCurOutNum"), outCost = numberOf(rs, row, "FCurOutCost");

    auto detail = std::dynamic_pointer_cast<cost::Rpt498>(report->GetDetailReport(static_cast<int32_t>(row)));
    ASSERT_NE(detail, nullptr);
    ASSERT_TRUE(detail->Ok()) << detail->ErrorText();
    EXPECT_EQ(detail->NumberText(), "498");
    EXPECT_EQ(detail->RptID(), 498);
    const lumo::Dictionary& f = *detail->Filter();
    EXPECT_EQ(f.Value("BItemNumber").text(), number);
    EXPECT_EQ(f.Value("EItemNumber").text(), number);
    EXPECT_EQ(f.Value("BatchNo").text(), merged ? "FBATCHNO" : batch);
    ado::Recordset& d = *detail->Rs();
    const long last = d.RecordCount() - 1;
    ASSERT_EQ(textOf(d, last, "FNumber"), "合计");
    EXPECT_NEAR(numberOf(d, last, "FInNum"), outNum, 1e-6);
    EXPECT_NEAR(numberOf(d, last, "FTotalFee"), outCost, 0.005);

    const long total = rs.RecordCount() - 1;
    ASSERT_EQ(textOf(rs, total, "FSumSort"), "101");
    frontEnd->clearLog();
    EXPECT_EQ(report->GetDetailReport(static_cast<int32_t>(total)), nullptr);
    EXPECT_TRUE(frontEnd->messages().empty());
  }
}

TEST_F(Rpt499Test, DrillDownBeforeAnyRunShowsTheError) {
  auto report = create<cost::Rpt499>(cost::kRpt499Class);
  EXPECT_EQ(report->GetDetailReport(0), nullptr);
  const auto messages = frontEnd->messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Ostrel提示");
  EXPECT_EQ(messages[0].style, forms::vbOKOnly);
  EXPECT_FALSE(messages[0].text.empty());
}

}  // namespace
