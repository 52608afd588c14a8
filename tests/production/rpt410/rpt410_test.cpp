// Rpt410 and frmFilter410 on the demo company: the result containers, the overdue rule against
// independent SQL, ShowNoFilter, the refused date ranges, the dialog's keys and list orders,
// bad input and failures.
#include <gtest/gtest.h>

#include "production/rpt410/frm_filter410.h"
#include "production/common/production_harness.h"

namespace {

using prodtest::DetailIds;
using prodtest::Ids;

class Rpt410Test : public prodtest::ReportTest {
 protected:
  // The overdue rule written out independently: unfinished, short of its quantity and past its
  // planned finish date today; `extra` narrows it further.
  std::vector<int64_t> Overdue(const std::string& extra) {
    return Ids(database(),
               "SELECT m.FInterID FROM ICMO m LEFT JOIN t_Department td ON td.FItemID = m.FDeptID "
               "WHERE m.FFinishDate IS NULL AND m.FQtyFinish < m.FQty AND m.FPlanFinishDate < ?1" +
                   extra + " ORDER BY m.FPlanFinishDate, m.FBillNo",
               {plat::Date::today().iso()});
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

  EXPECT_EQ(rpt->Property()->Count(), 3);
  EXPECT_EQ(rpt->Property()->Value("Name"), plat::Variant("生产任务超期预警"));
  EXPECT_EQ(rpt->Property()->Value("RptProperty"), plat::Variant(int16_t{1}));
  EXPECT_EQ(rpt->Property()->Value("FrozenColumn"), plat::Variant(int16_t{4}));
  EXPECT_EQ(prodtest::HeaderRows(*rpt->Header()), prodtest::HeaderRows(kHeader410));
  support::ExpectCaptionFormat(*rpt->Header());
  EXPECT_EQ(prodtest::TitleLines(*rpt->Title()),
            (std::vector<std::string>{"0 开工起始日期：1900-01-01", "1 开工截止日期：2100-01-01", "2 完工起始日期：2025-06-01",
                                      "3 ", "4 完工截止日期：2100-01-01", "5 部门代码范围：06  --  ", "6 ",
                                      "7 业务员代码范围：所有业务员"}));
  EXPECT_TRUE(rpt->Filter()->Value("BFinishDate").isDate());  // dates go as date values
  EXPECT_EQ(rpt->Filter()->Value("RptID"), plat::Variant(410.0));

  // "未关闭" is the dialog's default; a finish range ending in 2100 still means "overdue today".
  const ado::Recordset& rs = *rpt->Rs();
  EXPECT_EQ(DetailIds(rs), Overdue(" AND m.FClosed = 0 AND m.FPlanFinishDate >= '2025-06-01' AND td.FNumber >= '06'"));
  ASSERT_GT(rs.RecordCount(), 5);
  auto& db = database();
  for (size_t r = 0; r < static_cast<size_t>(rs.RecordCount()); ++r) {
    const std::string id = rs.ValueAt(r, static_cast<size_t>(rs.FieldIndex("FInterID"))).text();
    db::Statement s = db.prepare(
        "SELECT m.FAuxQty, m.FQtyFinish / u.FCoefficient, printf('%.2f%%', 100.0 * m.FQtyFinish / m.FQty) "
        "FROM ICMO m JOIN t_MeasureUnit u ON u.FMeasureUnitID = m.FUnitID WHERE m.FInterID = " + id);
    ASSERT_TRUE(s.step());
    EXPECT_DOUBLE_EQ(prodtest::Field(rs, r, "FAuxPlanQty"), s.getDouble(0));
    EXPECT_NEAR(prodtest::Field(rs, r, "FAuxFinishQty"), s.getDouble(1), 1e-9);
    EXPECT_NEAR(prodtest::Field(rs, r, "FUnFinishAuxQty"), s.getDouble(0) - s.getDouble(1), 1e-9);
    EXPECT_EQ(rs.TextAt(r, static_cast<size_t>(rs.FieldIndex("FFinishRateStr"))), s.getText(2));
    EXPECT_EQ(rs.TextAt(r, static_cast<size_t>(rs.FieldIndex("FClosed"))), "未关闭");
  }
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
  EXPECT_EQ(prodtest::TitleLines(*rpt->Title()),
            (std::vector<std::string>{"0 开工起始日期：1900-01-01", "1 开工截止日期：2100-01-01", "2 完工起始日期：1900-01-01",
                                      "3 ", "4 完工截止日期：2100-01-01", "5 部门代码范围：所有部门", "6 ",
                                      "7 业务员代码范围：所有业务员"}));
  EXPECT_EQ(DetailIds(*rpt->Rs()), Overdue(" AND m.FClosed = 0"));
}

TEST_F(Rpt410Test, FilterKeysAndListOrders) {
  midtier::ShopData service;
  struct Case {
    std::vector<std::pair<const char*, plat::Variant>> keys;
    std::string where;
  };
  const std::vector<Case> cases = {
      {{{"CheckState", int16_t{1}}}, " AND m.FCheckerID <> 0"},  // 已审核
      {{{"CheckState", int16_t{2}}}, " AND m.FCheckerID = 0"},   // 未审核
      {{{"CheckClose", int16_t{2}}}, " AND m.FClosed = 0"},      // 未关闭
      {{{"BWorkDate", plat::Date(2026, 1, 1)}, {"EWorkDate", plat::Date(2026, 6, 30)}},
       " AND m.FPlanCommitDate BETWEEN '2026-01-01' AND '2026-06-30'"},
      {{{"EFinishDate", plat::Date(2025, 12, 31)}}, " AND m.FPlanFinishDate <= '2025-12-31'"},
      {{{"BMOBillNo", "WORK000200"}, {"EMOBillNO", "WORK000900"}}, " AND m.FBillNo BETWEEN 'WORK000200' AND 'WORK000900'"},
      {{{"BEmpNumber", "0004"}, {"EEmpNumber", "0009"}},
       " AND m.FEmpID IN (SELECT FItemID FROM t_Emp WHERE FNumber BETWEEN '0004' AND '0009')"},
      {{{"BItemNumber", "01.02"}, {"EItemNumber", "01.03"}},
       " AND m.FItemID IN (SELECT FItemID FROM t_ICItem WHERE FNumber BETWEEN '01.02' AND '01.03')"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    auto filter = lumo::newDictionary();
    for (const auto& [k, v] : c.keys) filter->SetValue(k, v);
    const auto expected = Overdue(c.where);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(DetailIds(*service.GetRpt410Data(props, filter)), expected);
  }
  auto closed = lumo::newDictionary();
  closed->SetValue("CheckClose", int16_t{1});  // 已关闭: a closed task is never overdue here
  EXPECT_EQ(DetailIds(*service.GetRpt410Data(props, closed)), Overdue(" AND m.FClosed <> 0"));
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

TEST_F(Rpt410Test, DialogKeysSchemesAndLookups) {
  plat::broker().Register(svc::kListControl, [] { return std::make_shared<prodtest::Journal>(); });
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

  auto written = lumo::newDictionary();
  dialog.SaveFilter(written);
  std::vector<std::string> keys;
  for (const auto& [key, value] : written->entries()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"BMOBillNo", "EMOBillNO", "BWorkDate", "EWorkDate", "BFinishDate",
                                            "EFinishDate", "BItemNumber", "EItemNumber", "BDeptNumber", "EDeptNumber",
                                            "BEmpNumber", "EEmpNumber", "CheckState", "CheckClose"}));
  EXPECT_EQ(written->Value("EMOBillNO"), plat::Variant("W'9"));  // as typed
  EXPECT_TRUE(written->Value("BWorkDate").isDate());
  EXPECT_EQ(written->Value("CheckClose"), plat::Variant(int16_t{2}));

  for (const auto& [box, classId, condition] : std::vector<std::tuple<int, int32_t, std::string>>{
           {0, 4, " x2.FErpClsID<>4"}, {3, 2, ""}, {7, 3, ""}, {4, 0, ""}}) {
    forms::Control* target = &dialog.get<forms::TextBox>("txtItem", box);
    int32_t id = 0;
    std::string extra;
    dialog.GetLookupClass(target, id, extra, false);
    EXPECT_EQ(id, classId) << box;
    EXPECT_EQ(extra, condition) << box;
  }
  prodtest::Journal::SelectNext(*fe);
  forms::Control* target = &dialog.get<forms::TextBox>("txtItem", 4);
  int32_t id = 0;
  std::string extra;
  dialog.GetLookupClass(target, id, extra, true);
  EXPECT_EQ(dialog.get<forms::TextBox>("txtItem", 4).Text(), "WORK000005");
}

TEST_F(Rpt410Test, TextBoxesReachTheQueryAsValues) {
  prodtest::ExpectTextBoxesBound("TavShopRpt.Rpt410", "frmFilter410", *fe, {{0, 1}, {2, 3}, {4, 5}, {6, 7}});
}

TEST_F(Rpt410Test, FailuresEndInResult) {
  prodtest::ExpectFailuresEndInResult("TavShopRpt.Rpt410", *fe, [] {
    auto f = lumo::newDictionary();
    f->SetValue("CheckClose", int16_t{2});
    return f;
  });
}

}  // namespace
