// Rpt401 end to end on the demo database: containers, numbers against independent SQL and
// the detail report, drill-down, and failures.
#include <algorithm>

#include <gtest/gtest.h>

#include "frame/services/class_names.h"
#include "frame/services/services.h"
#include "midtier/services/register.h"
#include "production/common/production_harness.h"
#include "rpt401_support.h"

namespace {

using namespace rpt401_test;

constexpr double kEps = 1e-6;

class Rpt401Run : public prodtest::ReportTest {};

// The detail rows' sums, keyed by `key`; every other row kind is checked to be a sum of them.
std::map<std::string, Sums> detailSums(const std::vector<Row>& rows, const std::function<std::string(const Row&)>& key) {
  std::map<std::string, Sums> out;
  for (const Row& r : rows) {
    if (r.sort() != 0) continue;
    Sums& s = out[key(r)];
    s.base += r.number("FBaseQty");
    s.stock += r.number("FStockQty");
    s.finish += r.number("FFinishBQty");
    s.finishStock += r.number("FFinishSQty");
    EXPECT_NEAR(r.number("FUnFinishBQty"), r.number("FBaseQty") - r.number("FFinishBQty"), kEps);
    EXPECT_NEAR(r.number("FUnFinishSQty"), r.number("FStockQty") - r.number("FFinishSQty"), kEps);
  }
  return out;
}

void expectSums(const std::map<std::string, Sums>& expected, const std::map<std::string, Sums>& actual) {
  ASSERT_EQ(actual.size(), expected.size());
  for (const auto& [key, e] : expected) {
    ASSERT_TRUE(actual.count(key)) << key;
    const Sums& a = actual.at(key);
    EXPECT_NEAR(a.base, e.base, kEps) << key;
    EXPECT_NEAR(a.stock, e.stock, 1e-4) << key;
    EXPECT_NEAR(a.finish, e.finish, kEps) << key;
    EXPECT_NEAR(a.finishStock, e.finishStock, 1e-4) << key;
  }
}

Sums total(const std::map<std::string, Sums>& sums) {
  Sums t;
  for (const auto& [key, s] : sums) t.base += s.base, t.finish += s.finish, t.stock += s.stock;
  return t;
}

const Row& rowOfKind(const std::vector<Row>& rows, int kind) {
  for (const Row& r : rows)
    if (r.sort() == kind) return r;
  throw std::runtime_error("no row of kind " + std::to_string(kind));
}

TEST_F(Rpt401Run, ContainersOfTheDepartmentVariant) {
  Choice c;
  c.groupBy = 1, c.basis = 1;
  ReportRun r = runReport(c);
  ASSERT_TRUE(r.report->Ok()) << r.report->ErrorText();
  support::ExpectCaptionFormat(*r.report->Header());
  using support::Column;
  const std::vector<Column> expected = {
      {"部门代码$", "", "1", "FPropNumber"},       {"部门名称$", "", "1", "FPropName"},
      {"产品代码$", "", "1", "FItemNumber"},       {"产品名称$", "", "1", "FItemName"},
      {"规格型号$", "", "1", "FModel"},            {"生产批号$", "", "1", "FBatchNo"},
      {"生产任务数量+|+|+|", "单位（基本）", "1", "FBaseUnitName"}, {"", "数量(基本)", "2", "FBaseQty"},
      {"", "单位(常用)", "1", "FStockUnitName"},   {"", "数量(常用)", "2", "FStockQty"},
      {"完工数量+|+|+|", "单位（基本）", "1", "FFinishBUnitName"}, {"", "数量(基本)", "2", "FFinishBQty"},
      {"", "单位(常用)", "1", "FFinishSUnitName"}, {"", "数量(常用)", "2", "FFinishSQty"},
      {"未完工数量+|+|+|", "单位（基本）", "1", "FUnFinishBUnitName"}, {"", "数量(基本)", "2", "FUnFinishBQty"},
      {"", "单位(常用)", "1", "FUnFinishSUnitName"}, {"", "数量(常用)", "2", "FUnFinishSQty"}};
  EXPECT_EQ(support::columnRows(*r.report->Header()), support::columnRows(expected));
  auto first = r.report->Header()->Item(1).as<lumo::Dictionary>();
  EXPECT_EQ(first->Value("FForceHide"), plat::Variant(int16_t{0}));
  EXPECT_FALSE(first->Lookup("FMergerType"));

  const auto& p = *r.report->Property();
  EXPECT_EQ(p.Value("Name").text(), "生产任务执行情况汇总表");
  EXPECT_EQ(p.Value("RptProperty"), plat::Variant(int16_t{2}));
  EXPECT_EQ(p.Value("DetailRptID"), plat::Variant(int16_t{400}));

  const auto& f = *r.report->Filter();
  EXPECT_EQ(f.Value("DataRightFrom").text(), "");
  EXPECT_EQ(f.Value("DataRightWhere").text(), "");
  EXPECT_EQ(f.Value("bLongNumber"), plat::Variant(true));
  EXPECT_FALSE(f.Lookup("RptID"));

  EXPECT_EQ(support::titleLines(*r.report->Title()),
            (std::vector<std::string>{"0 起始日期：2025-07-01", "1 截止日期：2026-06-30", "2 产品代码范围：所有产品",
                                      "4 汇总依据：1--3部门", "5 <none>", "7 "}));
  EXPECT_EQ(r.fe->transcript(), "show frmFilter401 \"过滤\"\nshow frmProgBar \"\"\n") << "no window left to close";
}

TEST_F(Rpt401Run, PlainVariantMatchesTheDatabaseAndTheDetailReport) {
  Choice c;
  ReportRun byBatch = runReport(c);
  ASSERT_TRUE(byBatch.report->Ok()) << byBatch.report->ErrorText();
  EXPECT_EQ(support::titleLines(*byBatch.report->Title()),
            (std::vector<std::string>{"0 起始日期：2025-07-01", "1 截止日期：2026-06-30", "2 产品代码范围：所有产品",
                                      "5 <none>", "7 "}))
      << "no line 4 without grading";
  const auto rows = rowsOf(*byBatch.report->Rs());
  auto expected = sqlSums("t.FNumber || '|' || m.FBatchNo", c.bDate, c.eDate);
  expectSums(expected, detailSums(rows, [](const Row& r) { return r.text("FItemNumber") + "|" + r.text("FBatchNo"); }));
  const Row& sum = rows.back();
  EXPECT_EQ(sum.sort(), 101);
  EXPECT_EQ(sum.text("FItemNumber"), "合计");
  EXPECT_NEAR(sum.number("FBaseQty"), total(expected).base, 1e-4);
  EXPECT_NEAR(sum.number("FFinishBQty"), total(expected).finish, 1e-4);

  {  // Names, units and decimals of a detail row, from the item itself (closed before the next run).
    db::Database database = db::Database::open(support::demoDatabase());
    db::Statement item = database.prepare(
        "SELECT t.FShortNumber || '|' || t.FShortNumber || '|' || t.FName || '|' || t.FModel || '|' || b.FName"
        " || '|' || s.FName || '|' || t.FQtyDecimal FROM t_ICItem t JOIN t_MeasureUnit b ON b.FMeasureUnitID ="
        " t.FUnitID JOIN t_MeasureUnit s ON s.FMeasureUnitID = t.FStoreUnitID WHERE t.FNumber = ?");
    ASSERT_TRUE(item.bind(1, rows.front().text("FItemNumber")).step());
    std::string shown;
    for (const char* field : {"FItemShortNumber", "FShortNumber", "FItemName", "FModel", "FUnFinishBUnitName",
                              "FFinishSUnitName", "FQtyDecimal"})
      shown += (shown.empty() ? "" : "|") + rows.front().text(field);
    EXPECT_EQ(shown, item.getText(0));
  }

  // By product, only checked tasks: the same sums as the detail report under the same filter.
  c.byProduct = 1, c.checkState = 0;
  ReportRun byProduct = runReport(c);
  ASSERT_TRUE(byProduct.report->Ok()) << byProduct.report->ErrorText();
  const auto summary = detailSums(rowsOf(*byProduct.report->Rs()), [](const Row& r) {
    EXPECT_EQ(r.text("FBatchNo"), "");
    return r.text("FItemNumber");
  });
  expectSums(sqlSums("t.FNumber", c.bDate, c.eDate, "m.FCheckerID <> 0"), summary);
  auto detail = plat::broker().CreateAs<frame::Report>(production::kRpt400Class);
  auto filter = lumo::newDictionary();
  filter->SetValue("BDate", c.bDate);
  filter->SetValue("EDate", c.eDate);
  filter->SetValue("CheckState", int16_t{0});
  filter->SetValue("CheckClose", int16_t{2});
  detail->SetFilter(filter);
  detail->GetReportData();
  ASSERT_TRUE(detail->Ok()) << detail->ErrorText();
  std::map<std::string, Sums> fromDetail;
  for (const Row& r : rowsOf(*detail->Rs())) {
    if (r.sort() != 0) continue;
    fromDetail[r.text("FNumber")].base += r.number("FBSPlanQty");
    fromDetail[r.text("FNumber")].stock += r.number("FCUPlanQty");
    fromDetail[r.text("FNumber")].finish += r.number("FBSFinishQty");
    fromDetail[r.text("FNumber")].finishStock += r.number("FCUFinishQty");
  }
  expectSums(fromDetail, summary);

  c.onlySum = 1;
  ReportRun onlySums = runReport(c);
  const auto sums = rowsOf(*onlySums.report->Rs());
  ASSERT_EQ(sums.size(), 1u);
  EXPECT_EQ(sums[0].sort(), 101);
}

TEST_F(Rpt401Run, DepartmentVariantSubtotalsAndDrillDown) {
  Choice c;
  c.groupBy = 1, c.basis = 1;
  ReportRun r = runReport(c);
  ASSERT_TRUE(r.report->Ok()) << r.report->ErrorText();
  const auto rows = rowsOf(*r.report->Rs());
  auto key = [](const Row& row) { return row.text("FPropName") + "|" + row.text("FItemNumber") + "|" + row.text("FBatchNo"); };
  expectSums(sqlSums("d.FName || '|' || t.FNumber || '|' || m.FBatchNo", c.bDate, c.eDate), detailSums(rows, key));
  // The subtotal rows are compared exactly with an independent computation in report_batches_test.
  EXPECT_EQ(rowOfKind(rows, 101).text("FPropName"), "合计");

  // Drill-down: a detail row hands on its product, batch and department, whose tasks add up to it
  // (which tasks those keys select is rpt400_test's).
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    plat::ObjectRef detail = r.report->GetDetailReport(static_cast<int32_t>(i));
    if (row.sort() != 0) {
      EXPECT_EQ(detail, nullptr) << "row kind " << row.sort();
      continue;
    }
    if (i % 41 != 0) continue;  // a sample of the detail rows
    auto report = std::dynamic_pointer_cast<frame::Report>(detail);
    ASSERT_TRUE(report && report->Ok()) << i;
    const lumo::Dictionary& keys = *report->Filter();
    EXPECT_EQ(keys.Value("Dept").text() + "|" + keys.Value("BItemNumber").text() + "|" + keys.Value("BBatchNo").text(),
              row.text("FPropName") + "|" + row.text("FItemNumber") + "|" + row.text("FBatchNo"));
    const std::vector<Row> detailRows = rowsOf(*report->Rs());
    EXPECT_NEAR(detailRows.back().number("FBSPlanQty"), row.number("FBaseQty"), 1e-4) << i;
    EXPECT_NEAR(detailRows.back().number("FBSFinishQty"), row.number("FFinishBQty"), 1e-4) << i;
  }
  EXPECT_EQ(r.report->GetDetailReport(static_cast<int32_t>(rows.size())), nullptr);
  EXPECT_EQ(r.report->GetDetailReport(-1), nullptr);
}

// The class-level rows and sums are checked exactly in graded_exact_test; here what the variant
// hands on: the drill-down keys and the header of a single level.
TEST_F(Rpt401Run, ClassLevelDrillDownAndSingleLevelHeader) {
  Choice c;
  c.groupBy = 1, c.basis = 0, c.bLevel = "1", c.eLevel = "3";
  ReportRun r = runReport(c);
  ASSERT_TRUE(r.report->Ok()) << r.report->ErrorText();
  const auto rows = rowsOf(*r.report->Rs());
  // Drill-down from a class-level detail row resets the product to its long number.
  const auto detailRow = std::find_if(rows.begin(), rows.end(), [](const Row& row) { return row.sort() == 0; });
  ASSERT_NE(detailRow, rows.end());
  auto report = std::dynamic_pointer_cast<frame::Report>(
      r.report->GetDetailReport(static_cast<int32_t>(detailRow - rows.begin())));
  ASSERT_TRUE(report);
  EXPECT_EQ(report->Filter()->Value("BItemNumber").text(), detailRow->text("FItemNumber"));
  EXPECT_EQ(report->Filter()->Value("BBatchNo").text(), detailRow->text("FBatchNo"));

  c.bLevel = c.eLevel = "2";
  ReportRun single = runReport(c);
  ASSERT_TRUE(single.report->Ok()) << single.report->ErrorText();
  const auto columns = support::columnsOf(*single.report->Header());
  EXPECT_EQ(columns[0].caption, "2级产品类别$");
  EXPECT_EQ(columns[0].name, "FName2");
  EXPECT_EQ(columns[1].name, "FItemNumber");
  support::ExpectCaptionFormat(*single.report->Header());
}

// The system profile of a company that shows short item numbers.
struct ShortNumbers : svc::SystemProfile {
  plat::Variant GetProfile(const std::string&, const std::string& category, const std::string& key) override {
    return category == "IC" && key == "UseShortNumber" ? plat::Variant("1") : plat::Variant::null();
  }
};

TEST_F(Rpt401Run, ShortNumbersFromCreationToDrillDown) {
  plat::broker().Register(svc::kSystemProfile, [] { return std::make_shared<ShortNumbers>(); });
  Choice c;
  c.bItem = "0002", c.eItem = "0003", c.byProduct = 1;
  ReportRun r = runReport(c);
  midtier::registerServices(plat::broker());  // the real profile again; the report keeps what it read at creation
  ASSERT_TRUE(r.report->Ok()) << r.report->ErrorText();
  EXPECT_EQ(support::columnsOf(*r.report->Header())[0].name, "FShortNumber");
  EXPECT_EQ(r.report->ItemRange(), " AND t1.FShortNumber>='0002' AND t1.FShortNumber<='0003'");
  EXPECT_EQ(r.report->Filter()->Value("bLongNumber"), plat::Variant(false));
  const auto rows = rowsOf(*r.report->Rs());
  expectSums(sqlSums("t.FNumber", c.bDate, c.eDate, "t.FShortNumber BETWEEN '0002' AND '0003'"),
             detailSums(rows, [](const Row& row) {
               EXPECT_EQ(row.text("FShortNumber"), row.text("FItemShortNumber"));
               return row.text("FItemNumber");
             }));
  EXPECT_EQ(rows.back().text("FShortNumber"), "合计");
  auto detail = std::dynamic_pointer_cast<frame::Report>(r.report->GetDetailReport(0));
  ASSERT_TRUE(detail);
  EXPECT_EQ(detail->Filter()->Value("BItemNumber").text(), rows[0].text("FItemShortNumber"));
  EXPECT_EQ(detail->Filter()->Value("BatchNo").text(), "FBATCHNO");
  EXPECT_FALSE(detail->Filter()->Lookup("BBatchNo"));
}

}  // namespace
