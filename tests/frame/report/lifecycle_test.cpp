// A model report driven through its lifecycle by the host, reaching every row of the Result
// outcomes: filter let, cancelled and accepted dialogs, a run, and failures.
#include <gtest/gtest.h>

#include "frame/fake_services.h"
#include "frame/host/settings.h"
#include "frame/progress/progress_window.h"
#include "frame/report/filter_dialog.h"
#include "frame/report/model_report.h"
#include "frame/sql/data_right.h"
#include "platform/forms/scripted_front_end.h"
#include "platform/grfc/register.h"

namespace {

struct DataService : svc::ShopRptData {
  static inline std::string failWith;
  static inline lumo::DictionaryRef received;
  ado::RecordsetRef rows(lumo::DictionaryRef& filter) {
    if (!failWith.empty()) throw plat::Error(-2147217865, "TavMShopRpt.Data", failWith);
    received = filter->clone();
    auto rs = ado::newRecordset();
    rs->Append("FNumber", ado::adVarChar, 355);
    rs->Append("FQty", ado::adDecimal, 23);
    rs->Open();
    rs->AddNew();
    rs->Fields("FNumber") = "01.01.0001";
    rs->Fields("FQty") = 5.0;
    auto replaced = filter->clone();
    replaced->SetValue("FromService", true);
    filter = replaced;
    return rs;
  }
  ado::RecordsetRef GetRpt400Data(const std::string&, lumo::DictionaryRef& f) override { return rows(f); }
  ado::RecordsetRef GetRpt410Data(const std::string&, lumo::DictionaryRef& f) override { return rows(f); }
  ado::RecordsetRef GetRpt406Data(const std::string&, lumo::DictionaryRef& f) override { return rows(f); }
  ado::RecordsetRef GetRpt401Data(const std::string&, lumo::DictionaryRef&, lumo::DictionaryRef& f) override {
    return rows(f);
  }
  ado::RecordsetRef Get499HappenData(const std::string&, plat::Variant&, plat::Variant&, lumo::DictionaryRef&,
                                     lumo::DictionaryRef& f) override {
    return rows(f);
  }
  ado::RecordsetRef Get498HappenData(const std::string&, plat::Variant&, plat::Variant&, plat::ObjectRef&,
                                     lumo::DictionaryRef& f) override {
    return rows(f);
  }
  int32_t GetCurrencyScale(const std::string&) override { return 2; }
  void GetDecimal(const std::string&, const plat::Variant&, int32_t&, int32_t&) override {}
  ado::RecordsetRef GetData(const std::string&, plat::Variant&) override { return nullptr; }
};

class frmFilterModel : public frame::FilterDialog {
 public:
  frmFilterModel() : FilterDialog("frmFilterModel", "过滤", 400) { addTextRange("产品代码:", "txtItem", 2, 3); }
  void onLoad() override {
    SetResultDictionary(lumo::newDictionary());
    Result()->SetValue("OK", false);
    InitGrid();
  }
  void SaveFilter(lumo::DictionaryRef& filter) override {
    filter->SetValue("BItemNumber", txtItem(2).Text());
    filter->SetValue("EItemNumber", txtItem(3).Text());
  }
  void FilterDone(bool& cancel) override {
    SetResultDictionary(grid().GetFilter() ? grid().GetFilter() : lumo::newDictionary());
    Result()->SetValue("OK", !cancel);
  }
};

class ModelRpt : public frame::ModelReport {
 public:
  ModelRpt() : ModelReport({"400", "SysRptLog0043", "生产任务执行情况明细表查询", {{"Name", "明细"}, {"RptProperty", int16_t{1}}}}) {}
  static inline bool dialogGivesNothing = false;

 protected:
  std::shared_ptr<frame::FilterDialog> CreateFilterDialog() override {
    if (dialogGivesNothing) {
      struct Silent : frame::FilterDialog {
        Silent() : FilterDialog("frmSilent", "过滤", 400) {}
      };
      return std::make_shared<Silent>();
    }
    return std::make_shared<frmFilterModel>();
  }
  void BuildTitle(lumo::Vector& title) override { AddTitle(title, 0, "产品代码范围：" + FilterText("BItemNumber")); }
  void AddColumns(lumo::Vector& header) override {
    AddColumn(header, "产品代码$", "", "1", "FNumber", frame::ColumnFlag::MergerType);
    AddColumn(header, "数量+|", "单位", "1", "FUnit", frame::ColumnFlag::MergerType);
    AddColumn(header, "", "数量", "2", "FQty", frame::ColumnFlag::MergerType);
  }
  lumo::VectorRef DataRightTables() const override {
    auto v = lumo::newVector();
    v->Add("t_stock");
    return v;
  }
  lumo::VectorRef DataRightRules() const override {
    auto v = lumo::newVector();
    v->Add(frame::DataRightRule("t_stock", "FItemID", "ts", "FStockID"));
    return v;
  }
  ado::RecordsetRef FetchRows(svc::ShopRptData& s, const std::string& props, lumo::DictionaryRef& f) override {
    return s.GetRpt400Data(props, f);
  }
};

class Lifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::install();
    grfc::registerReportFilter(plat::broker());
    plat::broker().Register(svc::kShopRptData, [] { return std::make_shared<DataService>(); });
    DataService::failWith.clear();
    ModelRpt::dialogGivesNothing = false;
  }
  std::shared_ptr<forms::ScriptedFrontEnd> fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope{fe};
};

}  // namespace

TEST_F(Lifecycle, EveryResultOutcome) {
  ModelRpt rpt;
  EXPECT_FALSE(rpt.Ok());  // creation
  EXPECT_EQ(rpt.ErrorText(), "");

  rpt.SetFilter(nullptr);
  EXPECT_FALSE(rpt.Ok());
  EXPECT_EQ(rpt.ErrorText(), "请选择过滤条件！");
  rpt.GetReportData();  // does nothing while "OK" is false
  EXPECT_EQ(rpt.Rs(), nullptr);
  EXPECT_EQ(rpt.ErrorText(), "请选择过滤条件！");

  ModelRpt::dialogGivesNothing = true;  // a dialog that never hands over a result
  rpt.ShowFilter();
  EXPECT_FALSE(rpt.Ok());
  EXPECT_EQ(rpt.ErrorText(), "过滤条件有误，请重新过滤！");

  ModelRpt::dialogGivesNothing = false;
  fe->onShow("frmFilterModel", [](forms::Form& f) { grfc::ReportFilter::of(f).Cancel(); });
  rpt.ShowFilter();
  EXPECT_FALSE(rpt.Ok());
  EXPECT_EQ(rpt.ErrorText(), "过滤条件有误，请重新过滤！");  // cancelling leaves "Error" unchanged

  fe->onShow("frmFilterModel", [](forms::Form& f) {
    f.get<forms::TextBox>("txtItem", 2).SetText("01.01");
    grfc::ReportFilter::of(f).Ok();
  });
  rpt.ShowFilter();
  EXPECT_TRUE(rpt.Ok());
  EXPECT_EQ(rpt.ErrorText(), "");
  EXPECT_EQ(rpt.Filter()->Value("BItemNumber").text(), "01.01");

  rpt.GetReportData();
  ASSERT_TRUE(rpt.Ok()) << rpt.ErrorText();
  ASSERT_NE(rpt.Rs(), nullptr);
  EXPECT_EQ(rpt.Rs()->RecordCount(), 1);
  EXPECT_TRUE(rpt.Filter()->Value("FromService").toBool());  // the filter the service handed back

  DataService::failWith = "Invalid object name 'ICMO'.";
  rpt.GetReportData();
  EXPECT_FALSE(rpt.Ok());
  EXPECT_EQ(rpt.ErrorText(), "Invalid object name 'ICMO'.");
  EXPECT_EQ(fe->modalStack().size(), 0u);  // the progress window was unloaded
}

TEST_F(Lifecycle, DataRightFailureAndNumberChange) {
  ModelRpt rpt;
  rpt.SetExtFirter("406");
  fe->onShow("frmFilterModel", [](forms::Form& f) {
    EXPECT_EQ(grfc::ReportFilter::of(f).RptID(), 406);  // the dialog opens under the new number
    grfc::ReportFilter::of(f).Ok();
  });
  rpt.ShowFilter();
  rpt.GetReportData();
  ASSERT_TRUE(rpt.Ok());
  EXPECT_EQ(DataService::received->Value("RptID").toDouble(), 406);

  fakes::Rights::restricted = {4};  // t_stock is restricted for this user
  rpt.GetReportData();
  EXPECT_EQ(DataService::received->Value("DataRightWhere").text(), " CharIndex('16394',ts.FRightUserID)>0 ");

  fakes::Rights::fail = true;
  rpt.GetReportData();
  EXPECT_FALSE(rpt.Ok());
  EXPECT_EQ(rpt.ErrorText(), "base-item service unavailable");
  EXPECT_TRUE(fe->modalStack().empty());
}

// Every report runs its worker in the bar's activation; here the worker that throws.
TEST(ProgressBar, AFailingWorkerStillUnloadsTheWindow) {
  auto fe = std::make_shared<forms::ScriptedFrontEnd>();
  forms::FrontEndScope scope(fe);
  frame::Bar bar;
  bar.Active = [&] { throw plat::Error(1, "worker", "boom"); };
  EXPECT_THROW(bar.Show(), plat::Error);
  EXPECT_TRUE(fe->modalStack().empty());
}
