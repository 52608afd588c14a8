// Rpt410 and frmFilter410 on the demo company: the result containers, the overdue rule applied
// here to the stored tasks, ShowNoFilter, the refused date ranges, the dialog's keys and list orders,
// bad input and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>

#include "production/common/production_harness.h"
#include "production/rpt410/frm_filter410.h"
#include "support/dictionary_text.h"

namespace {

using prodtest::DetailIds;
using prodtest::Ids;

// A task as stored, read plainly: the overdue rule and the filter keys are applied to these in
// C++ below, not restated as SQL.
struct Task {
  int64_t id;
  std::string billNo, planCommit, planFinish, item, dept, emp;
  bool finished, closed, checked;
  double qty, qtyFinish, auxQty, coefficient;
};
using Pick = std::function<bool(const Task&)>;

class Rpt410Test : public prodtest::ReportTest {
 protected:
  std::map<int64_t, Task> Tasks() {
    db::Statement s = database().prepare(
        "SELECT m.FInterID, m.FBillNo, m.FPlanCommitDate, m.FPlanFinishDate, t1.FNumber, ifnull(td.FNumber, ''), "
        "ifnull(te.FNumber, ''), m.FFinishDate IS NOT NULL, m.FClosed, m.FCheckerID, m.FQty, m.FQtyFinish, m.FAuxQty, "
        "u.FCoefficient FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID JOIN t_MeasureUnit u ON "
        "u.FMeasureUnitID = m.FUnitID LEFT JOIN t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON "
        "te.FItemID = m.FEmpID");
    std::map<int64_t, Task> out;
    while (s.step())
      out[s.getInt64(0)] = {s.getInt64(0), s.getText(1), s.getText(2), s.getText(3), s.getText(4), s.getText(5),
                            s.getText(6), s.getInt64(7) != 0, s.getInt64(8) != 0, s.getInt64(9) != 0, s.getDouble(10),
                            s.getDouble(11), s.getDouble(12), s.getDouble(13)};
    return out;
  }
  // The overdue tasks that `also` keeps: unfinished, short of their quantity and past their planned
  // finish date today, by planned finish date and number.
  std::vector<int64_t> Overdue(const Pick& also) {
    const std::string today = plat::Date::today().iso();
    std::vector<Task> hits;
    for (const auto& [id, t] : Tasks())
      if (!t.finished && t.qtyFinish < t.qty && t.planFinish < today && also(t)) hits.push_back(t);
    std::sort(hits.begin(), hits.end(), [](const Task& a, const Task& b) {
      return std::tie(a.planFinish, a.billNo) < std::tie(b.planFinish, b.billNo);
    });
    std::vector<int64_t> ids;
    for (const Task& t : hits) ids.push_back(t.id);
    return ids;
  }
};

const std::vector<support::Column> kHeader410 = {
    {"日期$", "", "0", "FDate"},           {"生产任务单号$", "", "1", "FMOBillNO"}, {"单据状态$", "", "1", "FClosed"},
    {"物料代码$", "", "1", "FPNumber"},     {"物料名称$", "", "1", "FPName"},       {"规格型号$", "", "1", "FPModel"},
    {"生产批号$", "", "1", "FBatchNo"},     {"单位$", "", "1", "FPAuxUnitName"},    {"计划完工日期$", "", "7", "FPlanDate"},
    {"计划数量$", "", "2", "FAuxPlanQty"},  {"完工数量$", "", "2", "FAuxFinishQty"}, {"未完工数量$", "", "2", "FUnFinishAuxQty"},
    {"完工百分比%$", "", "8", "FFinishRateStr"}, {"未完工百分比%$", "", "8", "FUnFinishRateStr"},
    {"摘要$", "", "1", "FExp"},             {"部门$", "", "1", "FDept"},            {"业务员$", "", "1", "FEmp"}};

TEST_F(Rpt410Test, RunsThroughTheBrokerWithItsDialog) {
  auto rpt = create("TavShopRpt.Rpt410");
  fe->onShow("frmFilter410", [](forms::Form& f) {
    prodtest::SetDate(f, "DtpBFinishDate", "2025-06-01");
    f.get<forms::TextBox>("txtItem", 2).SetText("06");  // departments from 06
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  ASSERT_TRUE(rpt->Ok());
  rpt->GetReportData();
  ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();

  EXPECT_EQ(support::dictionaryText(*rpt->Property()),
            "Name=\"生产任务超期预警\"; RptProperty=1%; FrozenColumn=4%");
  EXPECT_EQ(support::columnRows(*rpt->Header()), support::columnRows(kHeader410));
  support::ExpectCaptionFormat(*rpt->Header());
  EXPECT_EQ(support::titleLines(*rpt->Title()),
            (std::vector<std::string>{"0 开工起始日期：1900-01-01", "1 开工截止日期：2100-01-01", "2 完工起始日期：2025-06-01",
                                      "3 ", "4 完工截止日期：2100-01-01", "5 部门代码范围：06  --  ", "6 ",
                                      "7 业务员代码范围：所有业务员"}));
  EXPECT_TRUE(rpt->Filter()->Value("BFinishDate").isDate());  // dates go as date values
  EXPECT_EQ(rpt->Filter()->Value("RptID"), plat::Variant(410.0));

  // "未关闭" is the dialog's default; a finish range ending in 2100 still means "overdue today".
  const ado::Recordset& rs = *rpt->Rs();
  EXPECT_EQ(DetailIds(rs),
            Overdue([](const Task& t) { return !t.closed && t.planFinish >= "2025-06-01" && t.dept >= "06"; }));
  ASSERT_GT(rs.RecordCount(), 5);
  const auto tasks = Tasks();
  for (size_t r = 0; r < static_cast<size_t>(rs.RecordCount()); ++r) {
    const Task& t = tasks.at(static_cast<int64_t>(prodtest::Field(rs, r, "FInterID")));
    EXPECT_DOUBLE_EQ(prodtest::Field(rs, r, "FAuxPlanQty"), t.auxQty);
    EXPECT_NEAR(prodtest::Field(rs, r, "FAuxFinishQty"), t.qtyFinish / t.coefficient, 1e-9);
    EXPECT_NEAR(prodtest::Field(rs, r, "FUnFinishAuxQty"), (t.qty - t.qtyFinish) / t.coefficient, 1e-9);
    // The finished share in percent with two places (a half may round either way).
    const std::string rate(rs.TextAt(r, static_cast<size_t>(rs.FieldIndex("FFinishRateStr"))));
    ASSERT_TRUE(rate.ends_with("%") && rate.find('.') == rate.size() - 4) << rate;
    EXPECT_NEAR(std::stod(rate), 100.0 * t.qtyFinish / t.qty, 0.005 + 1e-9) << rate;
    EXPECT_EQ(rs.TextAt(r, static_cast<size_t>(rs.FieldIndex("FClosed"))), "未关闭");
  }
  auto& db = database();
  EXPECT_EQ(Ids(db, "SELECT count(*) FROM t_Log WHERE FLogID='SysRptLog0047' AND FText='生产任务超期预警表查询'")[0] > 0, true);
}

TEST_F(Rpt410Test, ShowNoFilterSelectsEveryOpenOverdueTask) {
  auto rpt = create<production::Rpt410>("TavShopRpt.Rpt410");
  rpt->ShowNoFilter();
  ASSERT_TRUE(rpt->Ok());
  std::vector<std::string> keys;
  for (const auto& [key, value] : rpt->Filter()->entries()) keys.push_back(key + "=" + value.text());
  EXPECT_EQ(keys, (std::vector<std::string>{"BDeptNumber=", "BEmpNumber=", "BFinishDate=1900-01-01", "BItemNumber=",
                                            "BMOBillNo=", "BWorkDate=1900-01-01", "CheckClose=2", "CheckState=0",
                                            "EDeptNumber=", "EEmpNumber=", "EFinishDate=2100-01-01", "EItemNumber=",
                                            "EMOBillNO=", "EWorkDate=2100-01-01", "OK=True"}));
  EXPECT_EQ(fe->log().size(), 0u);  // no dialog
  rpt->GetReportData();
  ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
  EXPECT_EQ(support::titleLines(*rpt->Title()),
            (std::vector<std::string>{"0 开工起始日期：1900-01-01", "1 开工截止日期：2100-01-01", "2 完工起始日期：1900-01-01",
                                      "3 ", "4 完工截止日期：2100-01-01", "5 部门代码范围：所有部门", "6 ",
                                      "7 业务员代码范围：所有业务员"}));
  EXPECT_EQ(DetailIds(*rpt->Rs()), Overdue([](const Task& t) { return !t.closed; }));
}

TEST_F(Rpt410Test, FilterKeysAndListOrders) {
  midtier::ShopData service;
  struct Case {
    std::vector<std::pair<const char*, plat::Variant>> keys;
    Pick pick;
  };
  const auto between = [](const std::string& v, const char* b, const char* e) { return v >= b && v <= e; };
  const std::vector<Case> cases = {
      {{{"CheckState", int16_t{1}}}, [](const Task& t) { return t.checked; }},   // 已审核
      {{{"CheckState", int16_t{2}}}, [](const Task& t) { return !t.checked; }},  // 未审核
      {{{"CheckClose", int16_t{2}}}, [](const Task& t) { return !t.closed; }},   // 未关闭
      {{{"BWorkDate", plat::Date(2026, 1, 1)}, {"EWorkDate", plat::Date(2026, 6, 30)}},
       [&](const Task& t) { return between(t.planCommit, "2026-01-01", "2026-06-30"); }},
      {{{"EFinishDate", plat::Date(2025, 12, 31)}}, [](const Task& t) { return t.planFinish <= "2025-12-31"; }},
      {{{"BMOBillNo", "WORK000200"}, {"EMOBillNO", "WORK000900"}},
       [&](const Task& t) { return between(t.billNo, "WORK000200", "WORK000900"); }},
      {{{"BEmpNumber", "0004"}, {"EEmpNumber", "0009"}}, [&](const Task& t) { return between(t.emp, "0004", "0009"); }},
      {{{"BItemNumber", "01.02"}, {"EItemNumber", "01.03"}},
       [&](const Task& t) { return between(t.item, "01.02", "01.03"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys.front().first);
    auto filter = lumo::newDictionary();
    for (const auto& [k, v] : c.keys) filter->SetValue(k, v);
    const auto expected = Overdue(c.pick);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(DetailIds(*service.GetRpt410Data(props, filter)), expected);
  }
  auto closed = lumo::newDictionary();
  closed->SetValue("CheckClose", int16_t{1});  // 已关闭: a closed task is never overdue here
  EXPECT_EQ(DetailIds(*service.GetRpt410Data(props, closed)), Overdue([](const Task& t) { return t.closed; }));
  closed->SetValue("BWorkDate", "2026-13-01");
  EXPECT_THROW(service.GetRpt410Data(props, closed), plat::Error);
}

TEST_F(Rpt410Test, AStartDateAfterItsEndIsRefusedAndCorrected) {
  auto rpt = create("TavShopRpt.Rpt410");
  bool firstTry = true, secondTry = true, thirdTry = false;
  fe->onShow("frmFilter410", [&](forms::Form& f) {
    prodtest::SetDate(f, "DtpBWorkDate", "2026-02-02");
    prodtest::SetDate(f, "DtpEWorkDate", "2026-02-01");
    firstTry = grfc::ReportFilter::of(f).Ok();
    EXPECT_EQ(f.get<forms::DatePicker>("DtpBWorkDate").Value().iso(), "2026-02-01");
    prodtest::SetDate(f, "DtpBWorkDate", "2026-03-01");
    prodtest::SetDate(f, "DtpBFinishDate", "2026-04-02");
    prodtest::SetDate(f, "DtpEFinishDate", "2026-04-01");
    secondTry = grfc::ReportFilter::of(f).Ok();
    EXPECT_EQ(f.get<forms::DatePicker>("DtpBFinishDate").Value().iso(), "2026-04-01");
    thirdTry = grfc::ReportFilter::of(f).Ok();  // equal dates pass
  });
  rpt->ShowFilter();
  EXPECT_FALSE(firstTry);
  EXPECT_FALSE(secondTry);
  EXPECT_TRUE(thirdTry);
  ASSERT_EQ(fe->messages().size(), 3u);  // one, then two
  for (const auto& m : fe->messages()) {
    EXPECT_EQ(m.text, "起始日期不能大于截至日期");
    EXPECT_EQ(m.title, "Ostrel提示");
    EXPECT_EQ(m.style, forms::vbInformation);
  }
  EXPECT_TRUE(rpt->Ok());
  EXPECT_EQ(rpt->Filter()->Value("BWorkDate").toDate().iso(), "2026-02-01");
}

TEST_F(Rpt410Test, DialogKeysAndSchemes) {
  production::frmFilter410 dialog;
  dialog.Load();
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "全部");
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "未关闭");
  auto saved = lumo::newDictionary();
  saved->SetValue("CheckState", "1");
  saved->SetValue("CheckClose", int16_t{0});
  saved->SetValue("BWorkDate", "2025-02-03");
  saved->SetValue("EWorkDate", "soon");
  saved->SetValue("EMOBillNo", "W'9");
  dialog.LoadFilter(saved);
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckState").Text(), "已审核");
  EXPECT_EQ(dialog.get<forms::ComboBox>("cmbCheckClose").Text(), "未关闭");  // not restored
  EXPECT_EQ(dialog.get<forms::DatePicker>("DtpBWorkDate").Value().iso(), "2025-02-03");
  EXPECT_EQ(dialog.get<forms::DatePicker>("DtpEWorkDate").Value().iso(), "2100-01-01");  // kept
  EXPECT_EQ(dialog.get<forms::TextBox>("txtItem", 5).Text(), "W'9");

  // Dates as date values, typed text as typed.
  auto written = lumo::newDictionary();
  dialog.SaveFilter(written);
  EXPECT_EQ(support::dictionaryText(*written),
            "BMOBillNo=\"\"; EMOBillNO=\"W'9\"; BWorkDate=#2025-02-03#; EWorkDate=#2100-01-01#; "
            "BFinishDate=#1900-01-01#; EFinishDate=#2100-01-01#; BItemNumber=\"\"; EItemNumber=\"\"; "
            "BDeptNumber=\"\"; EDeptNumber=\"\"; BEmpNumber=\"\"; EEmpNumber=\"\"; CheckState=1%; CheckClose=2%");
}

TEST_F(Rpt410Test, TextBoxesReachTheQueryAsValues) {
  prodtest::ExpectTextBoxesBound("TavShopRpt.Rpt410", "frmFilter410", *fe, {{0, 1}, {2, 3}, {4, 5}, {6, 7}});
}

}  // namespace
