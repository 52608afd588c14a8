// Rpt498 on the demo company: what it tells the host, its rows, subtotals and grand total
// against the cost tables, edge ranges, failures and a ledger without periods. One product and
// batch is what Rpt499's drill-down opens, checked there.
#include <gtest/gtest.h>

#include <map>

#include "cost/cost_support.h"
#include "platform/forms/controls.h"
#include "platform/grfc/report_filter.h"
#include "support/caption_format.h"
#include "support/dictionary_text.h"

namespace {

using namespace costtest;

class Rpt498Test : public CostTest {};

constexpr const char* kSummed[] = {"FInNum",           "FMarterialFee", "FAuxMarterialFee", "FWorkFee", "FMakingFee",
                                   "FDepreciationFee", "FWaterElecFee", "FOtherFee",        "FTotalFee"};

TEST_F(Rpt498Test, HeaderTitleAndPropertyThroughTheDialog) {
  frontEnd->onShow("frmFilter498", [](forms::Form& f) {
    const char* values[] = {"2026", "1", "2026", "2"};
    for (int i = 0; i < 4; ++i) f.get<forms::TextBox>("txtPeriod", i).SetText(values[i]);
    grfc::ReportFilter::of(f).Ok();
  });
  auto report = create<cost::Rpt498>(cost::kRpt498Class);
  EXPECT_EQ(support::dictionaryText(*report->Property()),
            "Name=\"产品成本明细表\"; RptProperty=1%; FrozenColumn=5%; "
            "mnuInfo=[{ToolName=\"iViewBillUp\"; Hiden=True}, {ToolName=\"iViewBillDown\"; Hiden=True}]");

  report->ShowFilter();
  ASSERT_TRUE(report->Ok());
  EXPECT_EQ(report->Filter()->Value("BatchNo").text(), "FBATCHNO");
  report->GetReportData();
  ASSERT_TRUE(report->Ok()) << report->ErrorText();

  const std::vector<support::Column> expected = {
      {"会计期间$", "", "1", "FCurPeriod"},  {"产品代码$", "", "1", "FNumber"},
      {"名称$", "", "1", "FName"},           {"规格型号$", "", "1", "FModel"},
      {"生产批号$", "", "1", "FBatchNo"},    {"单位$", "", "1", "FUnit"},
      {"产出数量$", "", "2", "FInNum"},      {"成本价$", "", "4", "FPrice"},
      {"金额+|+|+|+|+|+|+|", "直接材料", "6", "FMarterialFee"}, {"", "辅助材料", "6", "FAuxMarterialFee"},
      {"", "直接人工", "6", "FWorkFee"},     {"", "制造费", "6", "FMakingFee"},
      {"", "折旧费", "6", "FDepreciationFee"}, {"", "水电费", "6", "FWaterElecFee"},
      {"", "其它费用", "6", "FOtherFee"},    {"", "总成本", "6", "FTotalFee"},
  };
  EXPECT_EQ(support::columnRows(*report->Header()), support::columnRows(expected));
  support::ExpectCaptionFormat(*report->Header());

  EXPECT_EQ(support::titleLines(*report->Title()),
            (std::vector<std::string>{"0 起始期间：2026年 第1期", "1 截止期间：2026年 第2期", "2 产品代码范围：所有产品"}));
  const ado::Recordset& rs = *report->Rs();
  ASSERT_EQ(rs.FieldCount(), 19);
  EXPECT_EQ(rs.FieldAt(8).numericScale, 2);  // FMarterialFee: the currency scale
  EXPECT_EQ(rs.FieldAt(6).numericScale, 10);
  EXPECT_EQ(rs.FieldAt(16).name, "FSumSort");
  EXPECT_EQ(rs.FieldAt(16).type, ado::adVarChar);
}

// Period subtotals and the grand total against the detail rows and the cost tables.
TEST_F(Rpt498Test, TotalsAddUp) {
  auto filter = periodFilter(2025, 12, 2026, 2);
  filter->SetValue("BatchNo", "FBATCHNO");
  auto report = runWith<cost::Rpt498>(cost::kRpt498Class, filter);
  ASSERT_TRUE(report->Ok()) << report->ErrorText();
  ado::Recordset& rs = *report->Rs();
  EXPECT_EQ(rs.AbsolutePosition(), rs.RecordCount());  // left on the grand total

  auto outputs = database().prepare(
      "SELECT count(*), sum(FCurOutNum), sum(FCurOutCost) FROM cb_ProductPeriodCost "
      "WHERE FYear = ?1 AND FPeriod = ?2 AND FCurOutNum <> 0");
  auto decimals = database().prepare("SELECT FQtyDecimal, FPriceDecimal FROM t_ICItem WHERE FNumber = ?1");
  std::map<std::string, double> period, grand;
  std::string current;
  long detailRows = 0;
  std::vector<std::string> subtotals;
  for (long r = 0; r < rs.RecordCount(); ++r) {
    const std::string kind = textOf(rs, r, "FSumSort");
    if (kind == "0") {
      current = textOf(rs, r, "FCurPeriod");
      ++detailRows;
      double elements = 0;
      for (const char* field : kSummed) {
        period[field] += numberOf(rs, r, field);
        if (std::string(field) != "FInNum" && std::string(field) != "FTotalFee") elements += numberOf(rs, r, field);
      }
      EXPECT_NEAR(elements, numberOf(rs, r, "FTotalFee"), 0.005);
      EXPECT_NEAR(numberOf(rs, r, "FPrice") * numberOf(rs, r, "FInNum"), numberOf(rs, r, "FTotalFee"), 0.01);
      decimals.reset();
      decimals.bind(1, textOf(rs, r, "FNumber"));
      ASSERT_TRUE(decimals.step());
      EXPECT_EQ(numberOf(rs, r, "FQtyDecimal"), decimals.getInt64(0));
      EXPECT_EQ(numberOf(rs, r, "FPriceDecimal"), decimals.getInt64(1));
      continue;
    }
    EXPECT_EQ(textOf(rs, r, "FCurPeriod"), "");
    EXPECT_EQ(numberOf(rs, r, "FQtyDecimal"), 4);
    const std::map<std::string, double>& sums = kind == "107" ? period : grand;
    EXPECT_EQ(textOf(rs, r, "FNumber"), kind == "107" ? "小计" : "合计");
    for (const char* field : kSummed) EXPECT_NEAR(numberOf(rs, r, field), sums.at(field), 0.01) << kind << field;
    EXPECT_NEAR(numberOf(rs, r, "FPrice"), sums.at("FTotalFee") / sums.at("FInNum"), 1e-6);
    if (kind == "107") {
      subtotals.push_back(current);
      const auto dot = current.find('.');
      outputs.reset();
      outputs.bindAll(std::stoi(current.substr(0, dot)), std::stoi(current.substr(dot + 1)));
      ASSERT_TRUE(outputs.step());
      EXPECT_EQ(detailRows, outputs.getInt64(0)) << current;
      EXPECT_NEAR(sums.at("FInNum"), outputs.getDouble(1), 1e-6);
      EXPECT_NEAR(sums.at("FTotalFee"), outputs.getDouble(2), 0.01);
      for (const auto& [field, value] : period) grand[field] += value;
      period.clear();
      detailRows = 0;
    } else {
      EXPECT_EQ(r, rs.RecordCount() - 1);
    }
  }
  EXPECT_EQ(subtotals, (std::vector<std::string>{"2025.12", "2026.1", "2026.2"}));
}

struct EdgeRange {
  int bYear, bPeriod, eYear, ePeriod;
  size_t calls;
};

// Nothing read, or only a period without output: the grand total alone, all zero.
TEST_F(Rpt498Test, RangesWithoutRowsGiveTheGrandTotalAlone) {
  for (const EdgeRange& range : {EdgeRange{2026, 3, 2025, 3, 0}, EdgeRange{2026, 12, 2026, 12, 1}}) {
    RecordingShopData::calls.clear();
    auto report = runWith<cost::Rpt498>(cost::kRpt498Class,
                                        periodFilter(range.bYear, range.bPeriod, range.eYear, range.ePeriod));
    ASSERT_TRUE(report->Ok()) << report->ErrorText();
    EXPECT_EQ(RecordingShopData::calls.size(), range.calls);
    ado::Recordset& rs = *report->Rs();
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(textOf(rs, 0, "FNumber"), "合计");
    EXPECT_EQ(textOf(rs, 0, "FSumSort"), "101");
    for (const char* field : kSummed) EXPECT_EQ(numberOf(rs, 0, field), 0) << field;
    EXPECT_EQ(numberOf(rs, 0, "FPrice"), 0);
  }
}

TEST_F(Rpt498Test, FailuresEndTheRunWithoutRows) {
  RecordingShopData::failOnCall = 3;
  auto report = runWith<cost::Rpt498>(cost::kRpt498Class, periodFilter(2025, 11, 2026, 3));
  EXPECT_FALSE(report->Ok());
  EXPECT_EQ(report->ErrorText(), RecordingShopData::failure);
  EXPECT_EQ(report->Rs(), nullptr);
  EXPECT_EQ(RecordingShopData::calls, (std::vector<std::pair<int, int>>{{2025, 11}, {2025, 12}, {2026, 1}}));
  EXPECT_EQ(frontEnd->transcript(), "show frmProgBar \"\"\n");

  RecordingShopData::failOnCall = 0;
  auto filter = periodFilter(2026, 1, 2026, 2);
  filter->SetValue("BYear", "二〇二六");
  report = runWith<cost::Rpt498>(cost::kRpt498Class, filter);
  EXPECT_FALSE(report->Ok());
  EXPECT_NE(report->ErrorText().find("二〇二六"), std::string::npos) << report->ErrorText();
  EXPECT_EQ(report->Rs(), nullptr);
}

// A ledger without periods ends both reports quietly: no rows, Result as it stood, window closed.
TEST_F(Rpt498Test, NoPeriodCountEndsQuietly) {
  struct NoProfile : svc::SystemProfile {
    plat::Variant GetProfile(const std::string&, const std::string&, const std::string&) override {
      throw plat::Error(429, "TavEBSBase.SystemProfile", "system profile unavailable");
    }
  };
  plat::broker().Register(svc::kSystemProfile, [] { return std::make_shared<NoProfile>(); });
  auto detail = runWith<cost::Rpt498>(cost::kRpt498Class, periodFilter(2026, 1, 2026, 2));
  auto summary = runWith<cost::Rpt499>(cost::kRpt499Class, periodFilter(2026, 1, 2026, 2));
  const std::shared_ptr<frame::Report> reports[] = {detail, summary};
  for (const auto& report : reports) {
    EXPECT_TRUE(report->Ok());
    EXPECT_EQ(report->ErrorText(), "");
    EXPECT_EQ(report->Rs(), nullptr);
    EXPECT_EQ(report->Header(), nullptr);
  }
  EXPECT_TRUE(RecordingShopData::calls.empty());
  EXPECT_EQ(frontEnd->transcript(), "show frmProgBar \"\"\nshow frmProgBar \"\"\n");
}

}  // namespace
