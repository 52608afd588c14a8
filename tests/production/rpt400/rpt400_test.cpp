// Rpt400 driven as the host drives it, on the generated demo company: the dialog, the result
// containers, the rows against independent SQL, bad input, failures and the drill-down keys.
#include <gtest/gtest.h>

#include <set>

#include "frame/host/context.h"
#include "production/common/production_harness.h"
#include "support/dictionary_text.h"

namespace {

using prodtest::DetailIds;
using prodtest::Ids;

const std::vector<support::Column> kHeader400 = {
    {"日期$", "", "0", "Fdate"}, {"编号$", "", "1", "FMOBillNO"}, {"产品代码$", "", "1", "FNumber"},
    {"产品名称$", "", "1", "FName"}, {"规格型号$", "", "1", "FModel"}, {"辅助属性$", "", "1", "FAuxPropName"},
    {"生产批号$", "", "1", "FBatchNo"}, {"生产数量+|+|+|+|+|", "单位", "1", "FPlanUnitName"},
    {"", "数量", "2", "FPlanAuxQty"}, {"", "单位(基本)", "1", "FBSPlanUnitName"}, {"", "数量(基本)", "2", "FBSPlanQty"},
    {"", "单位(常用)", "1", "FCUPlanUnitName"}, {"", "数量(常用)", "2", "FCUPlanQty"},
    {"开工日期$", "", "1", "FBeginDate"}, {"完工数量+|+|+|+|+|", "单位", "1", "FFinishUnitName"},
    {"", "数量", "2", "FFinishAuxQty"}, {"", "单位(基本)", "1", "FBSFinishUnitName"},
    {"", "数量(基本)", "2", "FBSFinishQty"}, {"", "单位(常用)", "1", "FCUFinishUnitName"},
    {"", "数量(常用)", "2", "FCUFinishQty"}, {"计划完工日期$", "", "1", "FPlanFinishDate"},
    {"实际完工日期$", "", "1", "FFinishDate"}, {"生产进度(%)$", "", "1", "FFinishRate"},
    {"销售订单号$", "", "1", "FOrderBillNo"}, {"产品入库单号$", "", "1", "FStockBillNo"},
    {"入库日期$", "", "1", "FStockDate"}, {"入库数量+|+|+|+|+|", "单位", "1", "FStockUnitName"},
    {"", "数量", "2", "FStockAuxQty"}, {"", "单位(基本)", "1", "FBSStockUnitName"}, {"", "数量(基本)", "2", "FBSStockQty"},
    {"", "单位(常用)", "1", "FCUStockUnitName"}, {"", "数量(常用)", "2", "FCUStockQty"},
    {"未入库数量+|+|+|", "单位(基本)", "1", "FBSUnStockUnitName"}, {"", "数量(基本)", "2", "FBSUnStockQty"},
    {"", "单位(常用)", "1", "FCUUnStockUnitName"}, {"", "数量(常用)", "2", "FCUUnStockQty"},
    {"部门$", "", "1", "FDeptName"}, {"业务员$", "", "1", "FEmpName"}, {"摘要$", "", "1", "FExp"}};

class Rpt400Test : public prodtest::ReportTest {};

TEST_F(Rpt400Test, RunsThroughTheBrokerWithItsDialog) {
  auto rpt = create("TavShopRpt.Rpt400");
  fe->onShow("frmFilter400", [](forms::Form& f) {
    prodtest::SetDate(f, "DtpBDate", "2026-01-01");
    prodtest::SetDate(f, "DtpEDate", "2026-03-31");
    f.get<forms::ComboBox>("cmbCheckState").SetListIndex(2);  // 全部
    f.get<forms::TextBox>("txtItem", 5).SetText("SO-9");
    grfc::ReportFilter::of(f).Ok();
  });
  rpt->ShowFilter();
  ASSERT_TRUE(rpt->Ok());
  rpt->GetReportData();
  ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
  EXPECT_EQ(rpt->ErrorText(), "");

  EXPECT_EQ(support::dictionaryText(*rpt->Property()),
            "Name=\"生产任务执行情况明细表\"; RptProperty=1%");
  EXPECT_EQ(support::columnRows(*rpt->Header()), support::columnRows(kHeader400));
  support::ExpectCaptionFormat(*rpt->Header());
  for (const auto& c : *rpt->Header()) {
    EXPECT_EQ(c.as<lumo::Dictionary>()->Value("FVisible"), plat::Variant(int16_t{1}));
    EXPECT_EQ(c.as<lumo::Dictionary>()->Value("FMergerType"), plat::Variant(int16_t{0}));
  }
  EXPECT_EQ(support::titleLines(*rpt->Title()),
            (std::vector<std::string>{"0 起始日期：2026-01-01", "1 截止日期：2026-03-31", "2 产品代码范围：所有产品",
                                      "3 生产任务单编号范围：所有生产任务单", "4 销售订单编号范围:  -- SO-9"}));
  const lumo::Dictionary& sent = *rpt->Filter();
  EXPECT_EQ(sent.Value("RptID"), plat::Variant(400.0));
  EXPECT_EQ(sent.Value("bLongNumber"), plat::Variant(true));
  EXPECT_EQ(sent.Value("DataRightWhere"), plat::Variant(""));

  // The rows are the tasks of the quarter whose sales order is at most SO-9, with their quantities.
  const ado::Recordset& rs = *rpt->Rs();
  auto& db = database();
  EXPECT_EQ(DetailIds(rs), Ids(db,
                               "SELECT m.FInterID FROM ICMO m JOIN SEOrder s ON s.FInterID = m.FOrderInterID "
                               "WHERE m.FDate BETWEEN '2026-01-01' AND '2026-03-31' AND s.FBillNo <= 'SO-9' "
                               "ORDER BY m.FDate, m.FBillNo"));
  const size_t rows = DetailIds(rs).size();
  ASSERT_GT(rows, 10u);
  for (size_t r = 0; r < rows; ++r) {
    const std::string id = rs.ValueAt(r, static_cast<size_t>(rs.FieldIndex("FInterID"))).text();
    EXPECT_DOUBLE_EQ(prodtest::Field(rs, r, "FBSPlanQty"), prodtest::Number(db, "SELECT FQty FROM ICMO WHERE FInterID=" + id));
    EXPECT_DOUBLE_EQ(prodtest::Field(rs, r, "FBSStockQty"),
                     prodtest::Number(db, "SELECT ifnull(sum(e.FQty),0) FROM ICStockBillEntry e JOIN ICStockBill b "
                                          "ON b.FInterID=e.FInterID WHERE b.FTranType=2 AND e.FICMOInterID=" + id));
    EXPECT_NEAR(prodtest::Field(rs, r, "FCUFinishQty"),
                prodtest::Number(db, "SELECT m.FQtyFinish / u.FCoefficient FROM ICMO m JOIN t_ICItem i ON "
                                     "i.FItemID=m.FItemID JOIN t_MeasureUnit u ON u.FMeasureUnitID=i.FStoreUnitID "
                                     "WHERE m.FInterID=" + id), 1e-9);
  }
  // The total row closes the rows and sums them.
  ASSERT_EQ(static_cast<size_t>(rs.RecordCount()), rows + 1);
  EXPECT_EQ(rs.ValueAt(rows, static_cast<size_t>(rs.FieldIndex("FMOBillNO"))).text(), "合计");
  EXPECT_DOUBLE_EQ(prodtest::Field(rs, rows, "FBSFinishQty"),
                   prodtest::Number(db, "SELECT sum(m.FQtyFinish) FROM ICMO m JOIN SEOrder s ON s.FInterID = "
                                        "m.FOrderInterID WHERE m.FDate BETWEEN '2026-01-01' AND '2026-03-31' AND "
                                        "s.FBillNo <= 'SO-9'"));
  EXPECT_EQ(Ids(db, "SELECT count(*) FROM t_Log WHERE FLogID='SysRptLog0043' AND FText='生产任务执行情况明细表查询'")[0] > 0,
            true);
}

TEST_F(Rpt400Test, EveryFilterKeySelectsWhatItSays) {
  struct Case {
    std::vector<std::pair<const char*, plat::Variant>> keys;
    std::string where;  // over ICMO m, t_ICItem t1, t_Department td, t_Emp te
  };
  const std::string today = "'" + plat::Date::today().iso() + "'";
  const std::vector<Case> cases = {
      {{{"BItemNumber", "01.02"}, {"EItemNumber", "01.03"}}, "t1.FNumber BETWEEN '01.02' AND '01.03'"},
      {{{"BEmp", "0003"}, {"EEmp", "0005"}}, "te.FNumber BETWEEN '0003' AND '0005'"},
      {{{"BDept", "07"}, {"EDept", "07"}}, "td.FNumber = '07'"},
      {{{"BProductBillNo", "WORK000100"}, {"EProductBillNo", "WORK000199"}}, "m.FBillNo BETWEEN 'WORK000100' AND 'WORK000199'"},
      {{{"BBatchNo", "P2501-00001"}}, "m.FBatchNo = 'P2501-00001'"},
      {{{"CheckState", int16_t{0}}}, "m.FCheckerID <> 0"},
      {{{"CheckState", int16_t{1}}}, "m.FCheckerID = 0"},
      {{{"CheckClose", int16_t{0}}}, "m.FClosed <> 0"},
      {{{"CheckClose", int16_t{1}}}, "m.FClosed = 0"},
      // On time: finished on the planned day, or unfinished and not yet due; late: the opposite.
      {{{"ExecuteState", int16_t{1}}},
       "CASE WHEN m.FFinishDate IS NULL THEN m.FPlanFinishDate >= " + today + " ELSE m.FFinishDate = m.FPlanFinishDate END"},
      {{{"ExecuteState", int16_t{2}}}, "ifnull(m.FFinishDate < m.FPlanFinishDate, 0)"},
      {{{"ExecuteState", int16_t{3}}},
       "CASE WHEN m.FFinishDate IS NULL THEN m.FPlanFinishDate < " + today + " ELSE m.FFinishDate > m.FPlanFinishDate END"},
      {{{"BWorkDate", "2025-06-01"}, {"EWorkDate", "2025-06-30"}}, "m.FPlanCommitDate BETWEEN '2025-06-01' AND '2025-06-30'"},
      {{{"BPlanDate", "2025-06-01"}, {"EPlanDate", "2025-06-30"}}, "m.FPlanFinishDate BETWEEN '2025-06-01' AND '2025-06-30'"},
      {{{"chkFinish", int16_t{1}}, {"BFactDate", "2025-06-01"}, {"EFactDate", "2025-06-30"}},
       "m.FFinishDate BETWEEN '2025-06-01' AND '2025-06-30'"},
      {{{"chkFinish", int16_t{0}}, {"BFactDate", "2025-06-01"}, {"EFactDate", "2025-06-30"}}, "1 = 1"},
  };
  midtier::ShopData service;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    auto filter = lumo::newDictionary();
    filter->SetValue("BDate", "2025-01-01");
    filter->SetValue("EDate", "2026-12-31");
    for (const auto& [k, v] : c.keys) filter->SetValue(k, v);
    auto rs = service.GetRpt400Data(props, filter);
    const auto expected = Ids(database(),
                              "SELECT m.FInterID FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID LEFT JOIN "
                              "t_Department td ON td.FItemID = m.FDeptID LEFT JOIN t_Emp te ON te.FItemID = m.FEmpID "
                              "WHERE " + c.where + " ORDER BY m.FDate, m.FBillNo");
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(DetailIds(*rs), expected);
  }

  // Display type 1 drops the total row; the ordering text orders by report fields only.
  auto filter = lumo::newDictionary();
  filter->SetValue("DisplayType", int16_t{1});
  filter->SetValue("OrderBy", "FBSPlanQty DESC, t1.FMOBillNO");
  auto rs = service.GetRpt400Data(props, filter);
  EXPECT_EQ(DetailIds(*rs), Ids(database(), "SELECT FInterID FROM ICMO ORDER BY FQty DESC, FBillNo"));
  EXPECT_EQ(static_cast<size_t>(rs->RecordCount()), DetailIds(*rs).size());
  filter->SetValue("OrderBy", "FQty; DELETE FROM ICMO");
  EXPECT_THROW(service.GetRpt400Data(props, filter), plat::Error);
  filter->SetValue("OrderBy", "");
  filter->SetValue("DataRightWhere", " CharIndex('16395',ts.FRightUserID)>0  And  CharIndex('16395',tc.FRightUserID)>0 ");
  EXPECT_EQ(service.GetRpt400Data(props, filter)->RecordCount(), rs->RecordCount());  // no rights-bearing table here
  filter->SetValue("DataRightWhere", "1=1) OR (1=1");
  EXPECT_THROW(service.GetRpt400Data(props, filter), plat::Error);
}

// What the summary report's drill-down sends: one product, a batch or any batch, perhaps a
// department name; the detail rows are exactly those tasks and add up to the summary row.
TEST_F(Rpt400Test, DrillDownKeysSelectExactlyTheProductBatchAndDepartment) {
  auto& db = database();
  db::Statement pick = db.prepare(
      "SELECT t1.FNumber, m.FBatchNo, td.FName FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID "
      "JOIN t_Department td ON td.FItemID = m.FDeptID WHERE m.FDate BETWEEN '2025-01-01' AND '2026-12-31' "
      "GROUP BY 1, 2, 3 ORDER BY count(*) DESC LIMIT 1");
  ASSERT_TRUE(pick.step());
  const std::string product = pick.getText(0), batch = pick.getText(1), dept = pick.getText(2);
  struct Case {
    const char* batchKey;
    std::string batchValue;
    bool byDept;
    std::string where;
  };
  const std::vector<Case> cases = {
      {"BBatchNo", batch, false, "t1.FNumber = ?1 AND m.FBatchNo = ?2"},
      {"BatchNo", "FBATCHNO", false, "t1.FNumber = ?1 AND ?2 = ?2"},
      {"BatchNo", "FBATCHNO", true, "t1.FNumber = ?1 AND ?2 = ?2 AND td.FName = ?3"},
      {"BBatchNo", batch, true, "t1.FNumber = ?1 AND m.FBatchNo = ?2 AND td.FName = ?3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    auto filter = lumo::newDictionary();
    for (const char* key : {"BEmp", "EEmp", "BDept", "EDept"}) filter->SetValue(key, "");
    filter->SetValue("BDate", "2025-01-01");
    filter->SetValue("EDate", "2026-12-31");
    filter->SetValue("BItemNumber", product);
    filter->SetValue("EItemNumber", product);
    filter->SetValue("CheckState", int16_t{2});
    filter->SetValue("CheckClose", int16_t{2});
    if (c.byDept) filter->SetValue("Dept", dept);
    filter->SetValue(c.batchKey, c.batchValue);
    auto rpt = create("TavShopRpt.Rpt400");
    rpt->SetRptID(400);
    rpt->SetExtFirter("400");
    rpt->SetFilter(filter);
    rpt->GetReportData();
    ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
    const std::string from =
        " FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID JOIN t_Department td ON td.FItemID = m.FDeptID "
        "JOIN t_MeasureUnit u ON u.FMeasureUnitID = t1.FStoreUnitID WHERE m.FDate BETWEEN '2025-01-01' AND "
        "'2026-12-31' AND " + c.where + " AND ?3 = ?3";  // ?3 named even where the department is not
    const auto expected = Ids(db, "SELECT m.FInterID" + from + " ORDER BY m.FDate, m.FBillNo", {product, batch, dept});
    ASSERT_FALSE(expected.empty());
    const ado::Recordset& rs = *rpt->Rs();
    EXPECT_EQ(DetailIds(rs), expected);
    db::Statement sums = db.prepare("SELECT sum(m.FQty), sum(m.FQty / u.FCoefficient), sum(m.FQtyFinish), "
                                    "sum(m.FQtyFinish / u.FCoefficient)" + from);
    sums.bindAll(product, batch, dept);
    ASSERT_TRUE(sums.step());
    const size_t total = static_cast<size_t>(rs.RecordCount() - 1);
    EXPECT_NEAR(prodtest::Field(rs, total, "FBSPlanQty"), sums.getDouble(0), 1e-6);
    EXPECT_NEAR(prodtest::Field(rs, total, "FCUPlanQty"), sums.getDouble(1), 1e-6);
    EXPECT_NEAR(prodtest::Field(rs, total, "FBSFinishQty"), sums.getDouble(2), 1e-6);
    EXPECT_NEAR(prodtest::Field(rs, total, "FCUFinishQty"), sums.getDouble(3), 1e-6);
  }
}

TEST_F(Rpt400Test, TitleLinesFollowTheRanges) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> keys;
    std::vector<std::string> lines;  // lines 2 to 4
  };
  const std::vector<Case> cases = {
      {{}, {"2 产品代码范围：所有产品", "3 生产任务单编号范围：所有生产任务单", "4 销售订单编号范围：所有销售订单"}},
      {{{"BItemNumber", "01.01"}, {"BProductBillNo", " "}, {"EProductBillNo", " "}, {"BOrderBillNo", "A"}},
       {"2 产品代码范围：01.01  --  ", "3 生产任务单编号范围：所有生产任务单", "4 销售订单编号范围: A -- "}},
      {{{"EItemNumber", "01.09"}, {"BProductBillNo", " W1"}, {"EOrderBillNo", "SO-1 "}},
       {"2 产品代码范围：  --  01.09", "3 生产任务单编号范围:  W1 -- ", "4 销售订单编号范围:  -- SO-1 "}},
  };
  for (const Case& c : cases) {
    auto filter = lumo::newDictionary();
    filter->SetValue("BDate", "2026-02-01");
    filter->SetValue("EDate", "2026/2/28");
    for (const auto& [k, v] : c.keys) filter->SetValue(k, v);
    auto rpt = create("TavShopRpt.Rpt400");
    rpt->SetFilter(filter);
    rpt->GetReportData();
    std::vector<std::string> expected = {"0 起始日期：2026-02-01", "1 截止日期：2026-02-28"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(support::titleLines(*rpt->Title()), expected);
  }
}

TEST_F(Rpt400Test, ShortNumbersSwitchTheProductCodeColumnAndRange) {
  database().exec("UPDATE t_SystemProfile SET FValue = '1' WHERE FCategory = 'IC' AND FKey = 'UseShortNumber'");
  auto rpt = create("TavShopRpt.Rpt400");
  database().exec("UPDATE t_SystemProfile SET FValue = '0' WHERE FCategory = 'IC' AND FKey = 'UseShortNumber'");
  auto filter = lumo::newDictionary();
  filter->SetValue("BItemNumber", "0002");
  filter->SetValue("EItemNumber", "0002");
  rpt->SetFilter(filter);
  rpt->GetReportData();
  ASSERT_TRUE(rpt->Ok()) << rpt->ErrorText();
  EXPECT_EQ(support::columnsOf(*rpt->Header())[2].name, "FShortNumber");
  EXPECT_EQ(DetailIds(*rpt->Rs()),
            Ids(database(), "SELECT m.FInterID FROM ICMO m JOIN t_ICItem t1 ON t1.FItemID = m.FItemID "
                            "WHERE t1.FShortNumber = '0002' ORDER BY m.FDate, m.FBillNo"));
}

TEST_F(Rpt400Test, TextBoxesReachTheQueryAsValues) {
  prodtest::ExpectTextBoxesBound("TavShopRpt.Rpt400", "frmFilter400", *fe, {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}, {10}});
}

}  // namespace
