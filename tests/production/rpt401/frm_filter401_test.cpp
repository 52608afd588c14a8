// frmFilter401 through the report filter grid: lists, the refused empty summary basis, the keys
// it writes, the defaults of a saved filter and reset.
#include <gtest/gtest.h>

#include "production/common/production_harness.h"
#include "production/rpt401/frm_filter401.h"
#include "rpt401_support.h"

namespace {

using namespace rpt401_test;

class FrmFilter401 : public prodtest::ReportTest {
 protected:
  // Shows the dialog and runs `step` while it is up; returns the dialog's result.
  lumo::DictionaryRef show(const std::function<void(production::frmFilter401&)>& step) {
    fe->onShow("frmFilter401", [&](forms::Form& f) { step(static_cast<production::frmFilter401&>(f)); });
    dialog_ = std::make_shared<production::frmFilter401>();
    dialog_->SetRptID(401);
    dialog_->Show();
    return dialog_->Result();
  }

  std::shared_ptr<production::frmFilter401> dialog_;
};

TEST_F(FrmFilter401, ListsAndTheRefusedEmptyBasis) {
  bool refused = false;
  auto result = show([&](production::frmFilter401& f) {
    auto& basis = f.get<forms::ComboBox>("cmbGroupBy");
    ASSERT_EQ(basis.ListCount(), 2);
    EXPECT_EQ(basis.List(0) + "=" + std::to_string(basis.ItemData(0)), "产品类别=1");
    EXPECT_EQ(basis.List(1) + "=" + std::to_string(basis.ItemData(1)), "部门=2");
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckState").List(1), "未审核");
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckClose").List(0), "已关闭");
    fill(f, Choice{});
    f.get<forms::CheckBox>("chkGroupBy").SetValue(1);
    refused = !grfc::ReportFilter::of(f).Ok();
    basis.SetListIndex(1);
    grfc::ReportFilter::of(f).Ok();
  });
  EXPECT_TRUE(refused);
  ASSERT_EQ(fe->messages().size(), 1u);
  EXPECT_EQ(fe->messages()[0].text, "汇总依据不能为空");
  EXPECT_EQ(fe->messages()[0].title, "Ostrel提示");
  EXPECT_EQ(fe->messages()[0].style, forms::vbInformation);
  EXPECT_EQ(result->Value("OK"), plat::Variant(true));
  EXPECT_EQ(result->Value("SumMode").text(), "2");
}

TEST_F(FrmFilter401, KeysWrittenOnAcceptance) {
  Choice c;
  c.bItem = "A'B", c.eItem = "C", c.bEmp = "E1", c.eEmp = "E2", c.bDept = "D'1", c.eDept = "D2", c.batch = "P'1";
  c.groupBy = 1, c.basis = 1, c.bLevel = "2", c.eLevel = "4", c.onlySum = 1, c.byProduct = 1;
  c.checkState = 0, c.checkClose = 1;
  auto result = show([&](production::frmFilter401& f) {
    fill(f, c);
    grfc::ReportFilter::of(f).Ok();
  });
  std::vector<std::string> keys;
  for (const auto& [key, value] : result->entries()) keys.push_back(key);
  const std::vector<std::string> saved = {"BDate", "EDate", "BEmp", "EEmp", "BItemNumber", "EItemNumber",
                                          "BDept", "EDept", "BLevel", "ELevel", "GroupBy", "OnlyShowSum",
                                          "GroupByListIndex", "CheckState", "CheckClose", "GroupByBatchNo", "BBatchNo"};
  ASSERT_GE(keys.size(), saved.size());
  EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + static_cast<long>(saved.size())), saved);
  const auto& r = *result;
  for (const auto& [key, value] : std::vector<std::pair<const char*, plat::Variant>>{
           {"BDate", "2025-07-01"}, {"BItemNumber", "A''B"}, {"BDept", "D''1"}, {"BBatchNo", "P''1"},
           {"BLevel", 2.0}, {"ELevel", 4.0}, {"GroupBy", int16_t{1}}, {"GroupByListIndex", int16_t{1}},
           {"CheckState", int16_t{0}}, {"CheckClose", int16_t{1}}, {"GroupByBatchNo", int16_t{1}}, {"OK", true},
           {"SumMode", int32_t{2}}, {"Mode", int16_t{0}}})
    EXPECT_EQ(r.Value(key), value) << key;
  auto field = r.Value("SumField").as<lumo::Dictionary>();
  EXPECT_EQ(field->Value("FSQLColumnName").text(), "FDeptID");
  EXPECT_EQ(field->Value("FItemClassID"), plat::Variant(int16_t{0}));
  EXPECT_EQ(field->Count(), 6);

  c.basis = 0;
  auto byClass = show([&](production::frmFilter401& f) {
    fill(f, c);
    grfc::ReportFilter::of(f).Ok();
  });
  auto classField = byClass->Value("SumField").as<lumo::Dictionary>();
  EXPECT_EQ(classField->Value("FSQLColumnName").text(), "FName");
  EXPECT_FALSE(classField->Lookup("FItemClassID"));

  c.groupBy = 0, c.basis = -1;
  auto plain = show([&](production::frmFilter401& f) {
    fill(f, c);
    grfc::ReportFilter::of(f).Ok();
  });
  EXPECT_EQ(plain->Value("SumMode"), plat::Variant(int16_t{0}));
  EXPECT_FALSE(plain->Lookup("SumField"));

  auto cancelled = show([](production::frmFilter401& f) { grfc::ReportFilter::of(f).Cancel(); });
  EXPECT_EQ(cancelled->Value("OK"), plat::Variant(false));
}

TEST_F(FrmFilter401, SavedFilterDefaultsAndReset) {
  show([](production::frmFilter401& f) {
    auto& events = static_cast<grfc::ReportFilterEvents&>(f);
    auto saved = lumo::newDictionary();
    saved->SetValue("BItemNumber", "X");
    events.LoadFilter(saved);
    EXPECT_EQ(f.get<forms::TextBox>("txtItem", 2).Text(), "X");
    EXPECT_EQ(f.get<forms::TextBox>("txtItem", 10).Text(), "");
    EXPECT_EQ(f.get<forms::CheckBox>("chkGroupBy").Value(), 1);
    EXPECT_EQ(f.get<forms::CheckBox>("chkOnlyShowSum").Value(), 1);
    EXPECT_EQ(f.get<forms::CheckBox>("chkGroupByBatchNo").Value(), 0);
    EXPECT_EQ(f.txtlevel(0).Text(), "1");
    EXPECT_EQ(f.txtlevel(1).Text(), "5");
    EXPECT_EQ(f.get<forms::ComboBox>("cmbGroupBy").ListIndex(), 0);
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckState").ListIndex(), 2);
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckClose").ListIndex(), 2);
    EXPECT_EQ(f.get<forms::DatePicker>("DtpBDate").Value(), plat::Date::today());

    f.get<forms::ComboBox>("cmbCheckState").SetListIndex(0);
    events.ResetControls();
    EXPECT_EQ(f.get<forms::ComboBox>("cmbCheckState").ListIndex(), 2);
    EXPECT_EQ(f.get<forms::CheckBox>("chkGroupBy").Value(), 0);
    EXPECT_EQ(f.get<forms::CheckBox>("chkOnlyShowSum").Value(), 0);
    grfc::ReportFilter::of(f).Cancel();
  });
}

}  // namespace
