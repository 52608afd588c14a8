// Rpt406 and frmFilter406 on the demo company: the result containers under report number 400,
// the variance per task and material against independent SQL, the display type, the dialog's
// keys, reset and schemes, bad input and failures.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "production/common/production_harness.h"
#include "production/rpt406/frm_filter406.h"
#include "support/dictionary_text.h"

namespace {

using prodtest::DetailIds;

class Rpt406Test : public prodtest::ReportTest {};

std::vector<support::Column> Header406() {
  std::vector<support::Column> h = {{"日期$", "", "0", "Fdate"},          {"任务单编号$", "", "1", "FMOBillNO"},
                                    {"产品代码$", "", "1", "FPNumber"},    {"产品名称$", "", "1", "FPName"},
                                    {"规格型号$", "", "1", "FPModel"},     {"辅助属性$", "", "1", "FPAuxPropName"},
                                    {"生产批号$", "", "1", "FBatchNo"}};
  auto group = [&h](const std::string& caption, const std::string& stem, const std::string& unit) {
    h.push_back({caption, "单位", "1", "F" + unit + "UnitName"});
    h.push_back({"", "数量", "2", "F" + stem + "AuxQty"});
    h.push_back({"", "单位(基本)", "1", "FBS" + unit + "UnitName"});
    h.push_back({"", "数量(基本)", "2", "FBS" + stem + "Qty"});
    h.push_back({"", "单位(常用)", "1", "FCU" + unit + "UnitName"});
    h.push_back({"", "数量(常用)", "2", "FCU" + stem + "Qty"});
  };
  group("生产数量+|+|+|+|+|", "Plan", "Plan");
  group("完工数量+|+|+|+|+|", "Finish", "Finish");
  h.push_back({"生产进度（%）$", "", "1", "FFinishRate"});
  h.push_back({"物料代码$", "", "1", "FItemNumber"});
  h.push_back({"物料名称$", "", "1", "FItemName"});
  group("标准用量+|+|+|+|+|", "Standard", "Standard");
  group("计划领料+|+|+|+|+|", "PlanD", "PlanD");
  group("实际领料+|+|+|+|+|", "fact", "fact");
  h.push_back({"领料情况$", "", "1", "FSituation"});
  group("领料差异数量+|+|+|+|+|", "Diff", "Diff");
  h.push_back({"领料差异率(%)$", "", "1", "FDiffRate"});
  h.push_back({"部门$", "", "1", "FDeptName"});
  h.push_back({"业务员$", "", "1", "FEmpName"});
  h.push_back({"摘要$", "", "1", "FExp"});
  return h;
}

TEST_F(Rpt406Test, RunsUnderNumber400WithItsDialog) {
  auto rpt = create("TavShopRpt.Rpt406");
  int32_t dialogId = 0;
  fe->onShow("frmFilter406", [&](forms::Form& f) {
    dialogId = grfc::ReportFilter::of(f).RptID();
    prodtest::SetDate(f, "DtpBDate", "2026-04-01");
    prodtest::SetDate(f, "DtpEDate", "2026-04-30");
    f.get<forms::ComboBox>("cmbCheckState").SetListIndex(2);
    f.get<forms::TextBox>("txtItem", 5).SetText("  ");
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  ASSERT_TRUE(rpt->Ok());
  rpt->GetReportData();
  ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
  EXPECT_EQ(dialogId, 400);
  EXPECT_EQ(rpt->Filter()->Value("RptID"), plat::Variant(400.0));
  EXPECT_EQ(support::dictionaryText(*rpt->Property()), "Name=\"生产任务领料差异分析表\"; RptProperty=1%");
  EXPECT_EQ(support::columnRows(*rpt->Header()), support::columnRows(Header406()));
  support::ExpectCaptionFormat(*rpt->Header());
  EXPECT_EQ(support::titleLines(*rpt->Title()),
            (std::vector<std::string>{"0 起始日期：2026-04-01", "1 截止日期：2026-04-30", "2 产品代码范围：所有产品",
                                      "3 生产任务单编号范围：所有生产任务单"}));

  // Every (task, material) planned or issued, with variance = issued - planned issue.
  struct Line {
    double standard = 0, must = 0, issued = 0;
  };
  std::map<std::pair<int64_t, int64_t>, Line> expected;
  auto& db = database();
  const std::string tasks = "SELECT FInterID FROM ICMO WHERE FDate BETWEEN '2026-04-01' AND '2026-04-30'";
  db::Statement planned = db.prepare("SELECT FICMOInterID, FItemID, FStandardQty, FQtyMust FROM PPBOM WHERE FICMOInterID IN (" + tasks + ")");
  while (planned.step()) {
    Line& l = expected[{planned.getInt64(0), planned.getInt64(1)}];
    l.standard += planned.getDouble(2);
    l.must += planned.getDouble(3);
  }
  db::Statement issued = db.prepare(
      "SELECT e.FICMOInterID, e.FItemID, e.FQty FROM ICStockBillEntry e JOIN ICStockBill b ON b.FInterID = "
      "e.FInterID WHERE b.FTranType = 24 AND e.FICMOInterID IN (" + tasks + ")");
  while (issued.step()) expected[{issued.getInt64(0), issued.getInt64(1)}].issued += issued.getDouble(2);

  const ado::Recordset& rs = *rpt->Rs();
  ASSERT_EQ(static_cast<size_t>(rs.RecordCount()), expected.size() + 1);  // and the total row
  ASSERT_GT(expected.size(), 20u);
  Line total;
  for (size_t r = 0; r + 1 < static_cast<size_t>(rs.RecordCount()); ++r) {
    const auto key = std::pair{static_cast<int64_t>(prodtest::Field(rs, r, "FInterID")),
                               static_cast<int64_t>(prodtest::Field(rs, r, "FMaterialID"))};
    ASSERT_TRUE(expected.count(key));
    const Line& l = expected[key];
    EXPECT_NEAR(prodtest::Field(rs, r, "FBSStandardQty"), l.standard, 1e-9);
    EXPECT_NEAR(prodtest::Field(rs, r, "FBSPlanDQty"), l.must, 1e-9);
    EXPECT_NEAR(prodtest::Field(rs, r, "FBSfactQty"), l.issued, 1e-9);
    EXPECT_NEAR(prodtest::Field(rs, r, "FBSDiffQty"), l.issued - l.must, 1e-9);
    const std::string situation(rs.TextAt(r, static_cast<size_t>(rs.FieldIndex("FSituation"))));
    EXPECT_EQ(situation, l.issued == 0 ? "未领料" : std::abs(l.issued - l.must) < 1e-9 ? "正常" : l.issued < l.must ? "少领" : "超领");
    total.must += l.must;
    total.issued += l.issued;
  }
  const size_t last = static_cast<size_t>(rs.RecordCount() - 1);
  EXPECT_EQ(rs.TextAt(last, static_cast<size_t>(rs.FieldIndex("FMOBillNO"))), "合计");
  EXPECT_NEAR(prodtest::Field(rs, last, "FBSDiffQty"), total.issued - total.must, 1e-6);
}

TEST_F(Rpt406Test, DialogKeysResetAndSchemes) {
  auto rpt = create("TavShopRpt.Rpt406");
  fe->onShow("frmFilter406", [](forms::Form& f) {
    prodtest::SetDate(f, "DtpBDate", "2026-05-02");  // after the end: accepted as it is
    prodtest::SetDate(f, "DtpEDate", "2026-05-01");
    f.get<forms::TextBox>("txtItem", 0).SetText("A'B");
    f.get<forms::ComboBox>("CmbDisplayType").SetListIndex(1);
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  ASSERT_TRUE(rpt->Ok());
  EXPECT_TRUE(fe->messages().empty());
  EXPECT_EQ(support::dictionaryText(*rpt->Filter()),
            "BMOBillNo=\"\"; EMOBillNO=\"\"; BDate=#2026-05-02#; EDate=#2026-05-01#; BItemNumber=\"A'B\"; "
            "EItemNumber=\"\"; BDeptNumber=\"\"; EDeptNumber=\"\"; BEmpNumber=\"\"; EEmpNumber=\"\"; "
            "DisplayType=1%; CheckState=0%; CheckClose=2%; OK=True");
  rpt->GetReportData();
  ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
  EXPECT_EQ(rpt->Rs()->RecordCount(), 0);  // no total row under "仅显示明细行"

  production::frmFilter406 dialog;
  dialog.Load();
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "全部");
  dialog.ResetControls();
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "已审核");
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "已关闭");
  EXPECT_EQ(dialog.get<forms::ComboBox>("CmbDisplayType").Text(), "全部");
  auto saved = lumo::newDictionary();
  saved->SetValue("DisplayType", int16_t{1});
  saved->SetValue("CheckState", "1");
  saved->SetValue("EMOBillNo", "WORK000010");
  dialog.get<forms::ComboBox>("cmbCheckClose").SetListIndex(2);
  dialog.LoadFilter(saved);
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "已关闭");  // a missing key chooses the first
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "未审核");
  EXPECT_EQ(dialog.get<forms::ComboBox>("CmbDisplayType").Text(), "仅显示明细行");
  EXPECT_EQ(dialog.get<forms::TextBox>("txtItem", 5).Text(), "WORK000010");

}

TEST_F(Rpt406Test, FilterKeysSelectTheirTasks) {
  midtier::ShopData service;
  const std::vector<std::pair<std::vector<std::pair<const char*, plat::Variant>>, std::string>> cases = {
      {{{"BDeptNumber", "06"}, {"EDeptNumber", "07"}}, "td.FNumber BETWEEN '06' AND '07'"},
      {{{"CheckClose", int16_t{1}}}, "m.FClosed = 0"},
      {{{"CheckState", int16_t{0}}, {"BMOBillNo", "WORK000300"}, {"EMOBillNO", "WORK000400"}},
       "m.FCheckerID <> 0 AND m.FBillNo BETWEEN 'WORK000300' AND 'WORK000400'"},
  };
  for (const auto& [keys, where] : cases) {
    SCOPED_TRACE(where);
    auto filter = lumo::newDictionary();
    filter->SetValue("DisplayType", int16_t{1});
    for (const auto& [k, v] : keys) filter->SetValue(k, v);
    std::set<int64_t> got;
    for (int64_t id : DetailIds(*service.GetRpt406Data(props, filter))) got.insert(id);
    const auto ids = prodtest::Ids(database(), "SELECT m.FInterID FROM ICMO m LEFT JOIN t_Department td ON td.FItemID = "
                                               "m.FDeptID WHERE m.FInterID IN (SELECT FICMOInterID FROM PPBOM) AND " + where);
    EXPECT_FALSE(ids.empty());
    EXPECT_EQ(got, std::set<int64_t>(ids.begin(), ids.end()));
  }
}

TEST_F(Rpt406Test, TextBoxesReachTheQueryAsValues) {
  prodtest::ExpectTextBoxesBound("TavShopRpt.Rpt406", "frmFilter406", *fe, {{0, 1}, {2, 3}, {4, 5}, {6, 7}});
}

}  // namespace
